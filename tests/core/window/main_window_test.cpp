#include "window/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/window/window_fixture.h"

namespace quorvale {
namespace {

using testing::kPics;
using testing::kProgram;
using testing::kSep;
using testing::MainWindowTest;
using testing::Messages;
using testing::Repeat;
using testing::Warning;

TEST_F(MainWindowTest, StartupShowsAnEmptyUntitledProject) {
  EXPECT_EQ(logic.session().WindowCaption(), "Quorvale 1.0.0 - untitled.qs1");
  EXPECT_EQ(Seen(), "|     Albums:||     Pictures: 0||");
  EXPECT_FALSE(logic.run().GenerateEnabled());
  EXPECT_EQ(logic.settings().ApplicationSourceDirectory, kProgram + kSep + "Applications" + kSep + "Torvexa");
  EXPECT_EQ(logic.directories().ProjectDirectory, kProgram + kSep + "Projects");
  EXPECT_EQ(logic.publishing().AccessUrl(), "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>/PhotoAlbum.htm");
  // The Torvexa viewer is chosen: pictures are published and that choice is locked.
  EXPECT_EQ(logic.publishing().ChosenViewer(), ViewerId::kTorvexa);
  EXPECT_EQ(logic.settings().PublishPictures, 1);
  EXPECT_FALSE(logic.publishing().PublishPicturesEnabled() || logic.publishing().PublishLabelsEnabled() || logic.publishing().KeepLocationEnabled());
  EXPECT_EQ(logic.publishing().KeepLocationToolTip(),
               "The JAVA viewer publishes the original pictures unchanged, location included; choose HTML to "
               "publish them without it");
  logic.publishing().OnKeepLocationClicked(true);
  logic.publishing().OnPublishPicturesClicked(false);
  logic.publishing().OnSiteTitleEdited("Trips");
  EXPECT_FALSE(logic.settings().KeepLocation || logic.project().Modified || logic.publishing().SiteTextsEnabled());
  EXPECT_EQ(logic.settings().SiteTitle, "");
  EXPECT_EQ(logic.settings().PublishPictures, 1);

  // Choosing HTML names its own files, keeps pictures published but makes that (and the
  // location) a choice, and is a change to save; choosing JAVA again goes back, ticked.
  logic.publishing().OnViewerOptionChosen(ViewerId::kHtml);
  EXPECT_EQ(logic.publishing().ChosenViewer(), ViewerId::kHtml);
  EXPECT_EQ(logic.settings().ApplicationSourceDirectory, kProgram + kSep + "Applications" + kSep + "Html");
  EXPECT_EQ(logic.settings().PublishPictures, 1);
  EXPECT_TRUE(logic.publishing().PublishPicturesEnabled() && logic.publishing().PublishLabelsEnabled() && logic.publishing().KeepLocationEnabled());
  EXPECT_EQ(logic.publishing().KeepLocationToolTip(),
               "Leave the GPS position in the display copies and published originals of pictures that hold one "
               "(serial numbers and owner names never stay)");
  EXPECT_EQ(logic.publishing().AccessUrl(), "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>/PhotoAlbum.htm");
  EXPECT_TRUE(logic.project().Modified);
  logic.publishing().OnPublishPicturesClicked(false);
  EXPECT_EQ(logic.settings().PublishPictures, 0);
  // Its pages take a site title and a language; English, the first, is stored as none.
  logic.publishing().OnSiteTitleEdited("Trips");
  logic.publishing().OnSiteLanguageChosen(1);
  EXPECT_EQ(logic.settings().SiteTitle, "Trips");
  EXPECT_EQ(logic.settings().SiteLanguage, "pl");
  EXPECT_EQ(logic.publishing().SiteLanguageIndex(), 1);
  logic.publishing().OnSiteLanguageChosen(0);
  EXPECT_EQ(logic.settings().SiteLanguage, "");
  logic.publishing().OnViewerOptionChosen(ViewerId::kTorvexa);
  EXPECT_EQ(logic.settings().PublishPictures, 1);
  EXPECT_FALSE(logic.publishing().PublishPicturesEnabled() || logic.publishing().KeepLocationEnabled());
  EXPECT_EQ(logic.settings().ViewerType, ViewerId::kTorvexa);
  EXPECT_EQ(logic.settings().ApplicationSourceDirectory, kProgram + kSep + "Applications" + kSep + "Torvexa");
}

TEST_F(MainWindowTest, AccessUrlFollowsThePublishingDirectory) {
  dialogs.paths.push_back(std::nullopt);
  logic.publishing().BrowseForDirectory();
  EXPECT_EQ(dialogs.folder_dialog_titles, std::vector<std::string>{"Select the Publishing Directory ..."});
  EXPECT_EQ(dialogs.folder_dialog_starts, std::vector<std::string>{"<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>"});
  EXPECT_FALSE(logic.project().Modified);

  logic.publishing().OnPublishDirectoryEdited("\\\\server\\share\\site");
  EXPECT_EQ(logic.publishing().AccessUrl(), "//server/share/site/PhotoAlbum.htm");
  EXPECT_TRUE(logic.project().Modified);
  logic.publishing().OnAccessUrlEdited("typed over");
  EXPECT_EQ(logic.publishing().AccessUrl(), "//server/share/site/PhotoAlbum.htm");
  dialogs.paths.push_back(kSep + "srv" + kSep + "www");
  logic.publishing().BrowseForDirectory();
  EXPECT_EQ(logic.publishing().AccessUrl(), "/srv/www/PhotoAlbum.htm");
}

TEST_F(MainWindowTest, TabChangeReevaluatesTheButtons) {
  logic.OnTabChanged(MainWindowLogic::kGeneratePage);
  EXPECT_FALSE(logic.run().GenerateEnabled());
  AddAlbum("One");
  EXPECT_FALSE(logic.run().GenerateEnabled());  // only the tab change looks again
  logic.OnTabChanged(MainWindowLogic::kGeneratePage);
  EXPECT_TRUE(logic.run().GenerateEnabled());

  logic.content().OnAlbumClicked(-1);
  logic.OnTabChanged(MainWindowLogic::kContentPage);
  EXPECT_FALSE(logic.content().AddPictureEnabled());
  EXPECT_EQ(logic.content().SelectedAlbumLabel(), "");
}

TEST_F(MainWindowTest, AboutBox) {
  logic.ShowAbout();
  const MessageRequest about{
      "Quorvale 1.0.0\r\n\r\nFor updates visit internet:\r\n\r\nhttps://quorvale.example/updates\r\n\r\n"
      "Copyright (C) 2026 The Quorvale authors. Distributed under the MIT License.",
      "Quorvale 1.0.0 - About", Buttons::kOk, Icon::kNone};
  EXPECT_EQ(TakeMessages(), Messages{about});
}

}  // namespace
}  // namespace quorvale
