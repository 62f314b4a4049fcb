#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "help/help_browser.h"
#include "help/help_topics.h"
#include "help/quick_help.h"
#include "core/support/golden.h"
#include "core/support/scripted_dialogs.h"
#include "window/main_window.h"

namespace quorvale {
namespace {

// The five quick-help texts in badge order (Image1 to Image5), then the nine original
// help topics in link order.
struct HelpTextCase {
  const char* name;
  std::string (*function)();
  const char* shown_as;  // the quick-help box's title, or the topic's link caption
  const char* heading;   // the topic's heading; none for quick help
};

// A help text exactly as the program gives it, kept as a file under golden/ (CR LF
// line ends, blanks at line ends and all).
std::string Expected(const HelpTextCase& c) { return testing::GoldenFile("help/golden/" + std::string(c.name) + ".txt"); }

const HelpTextCase kHelpTexts[] = {
    {"GetAlbumHelpText", &GetAlbumHelpText, "Quorvale 1.0.0 - Quick Help: Add/Edit/Remove Album", nullptr},
    {"GetPictureHelpText", &GetPictureHelpText, "Quorvale 1.0.0 - Quick Help: Add/Edit/Remove Pictures", nullptr},
    {"GetPublishingDirHelpText", &GetPublishingDirHelpText, "Quorvale 1.0.0 - Quick Help: SELECT PUBLISHING DIRECTORY", nullptr},
    {"GetGenerationHelpText", &GetGenerationHelpText, "Quorvale 1.0.0 - Quick Help: GENERATE ALBUMS", nullptr},
    {"GetViewAlbumHelpText", &GetViewAlbumHelpText, "Quorvale 1.0.0 - Quick Help: VIEW ALBUMS", nullptr},
    {"GetIntroHelpText", &GetIntroHelpText, "Introduction", "INTRODUCTION"},
    {"GetQuickHelpText", &GetQuickHelpText, "Quick Help", "QUICK HELP"},
    {"GetStartHelpText1", &GetStartHelpText1, "Start", "START"},
    {"GetOrganizationHelpText", &GetOrganizationHelpText, "Organize Project", "ORGANIZE PROJECT"},
    {"GetGenerateHelpText", &GetGenerateHelpText, "Generate Albums", "GENERATE ALBUMS"},
    {"GetViewerStartHelpText", &GetViewerStartHelpText, "Start Viewer Application", "START VIEWER APPLICATION"},
    {"GetNavigationHelpText", &GetNavigationHelpText, "Viewing and Navigating", "VIEWING AND NAVIGATING"},
    {"GetDistributionHelpText", &GetDistributionHelpText, "Distributing on CD & Web", "DISTRIBUTING CONTENT"},
    {"GetSupportHelpText", &GetSupportHelpText, "Support", "SUPPORT"},
};

TEST(HelpTexts, EachFunctionGivesItsLinesExactly) {
  for (const HelpTextCase& c : kHelpTexts) EXPECT_EQ(c.function(), Expected(c)) << c.name;
}

TEST(HelpTexts, TopicsInLinkOrderWithTheirTexts) {
  ASSERT_EQ(kOriginalHelpTopics, 9);
  for (std::size_t i = 0; i < 9; ++i) {
    const HelpTextCase& want = kHelpTexts[5 + i];
    EXPECT_STREQ(HelpTopics()[i].link_caption, want.shown_as) << want.name;
    EXPECT_STREQ(HelpTopics()[i].heading, want.heading) << want.name;
    const std::string body = (i == 0 ? "Welcome to Quorvale 1.0\r\n\r\n" : "") + Expected(want);
    EXPECT_EQ(HelpTopicBody(static_cast<int>(i)), body) << want.name;
  }
  // The later features' topics follow, each with a text of its own.
  const std::vector<std::string_view> later = {"The HTML Viewer", "Pictures and Formats", "Editing, Undo and Keys",
                                               "Generating and Opening", "Uploading", "Captions from the Photos",
                                               "Sorting an Album"};
  ASSERT_EQ(HelpTopics().size(), 9 + later.size());
  for (std::size_t i = 0; i < later.size(); ++i) {
    const HelpTopic& topic = HelpTopics()[9 + i];
    EXPECT_EQ(topic.link_caption, later[i]);
    EXPECT_TRUE(HelpTopicBody(static_cast<int>(9 + i)).starts_with(topic.heading)) << topic.heading;
  }
  HelpBrowser browser;  // links outside the topics go nowhere
  EXPECT_FALSE(browser.ShowTopic(-1));
  EXPECT_FALSE(browser.ShowTopic(kHelpTopicCount));
  EXPECT_EQ(browser.CurrentTopic(), 0);
}

TEST(QuickHelp, EachBadgeShowsItsInformationBoxInAnyWindowState) {
  for (const bool with_album : {false, true}) {
    testing::ScriptedDialogs dialogs;
    testing::FixedClock clock;
    MainWindowLogic window(dialogs, clock, "/nowhere");
    window.Startup();
    if (with_album) {
      dialogs.texts.push_back("Holidays");
      window.content().AddAlbumCommand();
      window.OnTabChanged(MainWindowLogic::kGeneratePage);
    }
    const bool modified = window.project().Modified;
    dialogs.messages.clear();
    for (int step = 0; step <= 6; ++step) window.ShowQuickHelp(step);  // 0 and 6 show nothing

    std::vector<MessageRequest> expected;
    for (std::size_t i = 0; i < 5; ++i) {
      expected.push_back({Expected(kHelpTexts[i]), kHelpTexts[i].shown_as, Buttons::kOk, Icon::kInformation});
    }
    EXPECT_EQ(dialogs.messages, expected) << "with album: " << with_album;
    EXPECT_EQ(window.project().Modified, modified);
  }
}

}  // namespace
}  // namespace quorvale
