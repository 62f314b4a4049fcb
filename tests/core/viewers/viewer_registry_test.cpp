#include <gtest/gtest.h>

#include "core/generate/generation_fixture.h"
#include "core/support/scripted_dialogs.h"
#include "generate/clear_publishing_directory.h"
#include "generate/generation_context.h"
#include "viewers/startup_settings.h"
#include "viewers/viewer_registry.h"
#include "window/main_window.h"

namespace quorvale::testing {
namespace {

// A viewer the program does not ship: one page per album and a home page, written
// through the run's context like any viewer's.
class SketchPages final : public Viewer {
 public:
  void BeginSite(GenerationContext&) override {}
  void GenerateAlbum(GenerationContext& context, int album_number) override {
    context.WritePage(JoinPath(context.publish_directory(), "sketch-" + std::to_string(album_number) + ".htm"),
                      context.project().AlbumTitles(album_number));
  }
  void FinishSite(GenerationContext& context) override {
    context.WritePage(JoinPath(context.publish_directory(), "sketch.htm"), "home");
  }
};

ViewerDescriptor Sketch() {
  ViewerDescriptor viewer;
  viewer.id = static_cast<ViewerId>(7);
  viewer.name = "Sketch";
  viewer.label = "SKETCH";
  viewer.option_name = "optionSketch";
  viewer.command_word = "sketch";
  viewer.folder = "Sketch";
  viewer.files = {"sketch.js"};
  viewer.owned = {{"SketchSite"}, "sketch.htm", ".htm"};
  viewer.originals_optional = true;
  viewer.make_pages = [] { return std::make_unique<SketchPages>(); };
  return viewer;
}

// Adding a viewer is one registry entry: the window offers it and lets it decide the
// originals, its files come from its own folder, the run copies them and has it write
// its pages, and Clear removes what it owns.
TEST_F(GenerationTest, AViewerIsOneRegistryEntry) {
  const ViewerRegistration registration(Sketch());
  ASSERT_EQ(Viewers().size(), 3u);
  EXPECT_EQ(ViewerForCommandWord("SKETCH")->name, "Sketch");

  ScriptedDialogs dialogs;
  MainWindowLogic window(dialogs, clock_, root_);
  window.Startup();
  window.publishing().OnViewerOptionChosen(Sketch().id);
  EXPECT_EQ(window.settings().ApplicationSourceDirectory, JoinPath(JoinPath(root_, "Applications"), "Sketch"));
  EXPECT_TRUE(window.publishing().PublishPicturesEnabled());

  WriteFile(JoinPath(source_, "sketch.js"), "sketch");
  settings_.ViewerType = Sketch().id;
  AddAlbum("Lake");
  const std::string& text = Generate();
  EXPECT_EQ(captions_.front(), "Copying PhotoAlbum Sketch Application ...");
  EXPECT_NE(text.find("Sketch Home Page and Index Files created."), std::string::npos);
  EXPECT_EQ(Read(In("PhotoAlbum/sketch.js")), "sketch");
  EXPECT_EQ(Read(In("sketch-0.htm")), "Lake");

  fs::create_directories(In("SketchSite"));
  dialogs_.answers.push_back(Answer::kOk);
  EXPECT_EQ(ClearPublishingDirectory(publish_, dialogs_, clock_, OwnedByAnyViewer()), ClearOutcome::kCleared);
  EXPECT_FALSE(fs::exists(In("SketchSite")) || fs::exists(In("sketch.htm")) || fs::exists(In("sketch-0.htm")));
}

}  // namespace
}  // namespace quorvale::testing
