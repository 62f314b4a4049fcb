// An album's images as a generation run makes them: transcript lines in album order,
// errors counted, progress per picture, paths from the site layout.
#include "platform/path.h"
#include "generate/album_images_step.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "generate/generation_context.h"
#include "platform/clock.h"
#include "support/fake_imaging.h"
#include "support/temp_folder.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

class FixedNow : public Clock {
 public:
  std::string NowText() const override { return "now"; }
  std::string NowIsoText() const override { return "now"; }
};

class RecordingEvents : public GenerationEvents {
 public:
  void StatusChanged(const std::string&) override {}
  void TranscriptAppended(std::string_view) override {}
  void TranscriptReplaced(const std::string&) override {}
  void ProgressChanged(const GenerationProgress& progress) override { done.push_back(progress.pictures_done); }
  Answer ShowMessage(const MessageRequest&) override { return Answer::kOk; }
  std::vector<int> done;
};

TEST(AlbumImagesStep, ReportsEachPictureInAlbumOrderAndCountsUndecodablePictures) {
  testing::TempFolder folder;
  const std::string pd = folder.str() + "/site";
  const std::string pictures = folder.str() + "/pictures";
  fs::create_directories(pd + "/PhotoAlbum");
  fs::create_directories(pictures);
  for (const char* name : {"lake.jpg", "bad.jpg", "garden.gif"}) std::ofstream(pictures + "/" + name) << name;
  const std::vector<PublishedPicture> album = {{pictures + "/lake.jpg", "lake.jpg"},
                                               {pictures + "/bad.jpg", "bad.jpg"},
                                               {pictures + "/gone.jpg", "gone.jpg"},
                                               {pictures + "/garden.gif", "garden.gif"}};
  FixedNow clock;
  testing::FakeImaging imaging;
  GenerationJob job;
  job.settings.PublishDirectory = pd;
  job.settings.KeepLocation = true;
  job.clock = &clock;
  job.imaging = &imaging;

  const auto run = [&](RecordingEvents& events) {
    GenerationContext context(job, events, {});
    const auto results = MakeAlbumImages(context, 3, album);
    EXPECT_EQ(results.size(), album.size());
    EXPECT_EQ(context.counters().ErrorCount, 1);
    return context.transcript().Text();
  };
  RecordingEvents first_events;
  const std::string t = JoinPath(pd, JoinPath("PhotoAlbum", JoinPath("thumbnails", JoinPath("album-3", ""))));
  const std::string d = JoinPath(pd, JoinPath("PhotoAlbum", JoinPath("display", JoinPath("album-3", ""))));
  EXPECT_EQ(run(first_events),
            "\r\n        Made thumbnail " + t + "lake.jpg.jpg and display copy " + d + "lake.jpg.jpg of picture " + pictures +
                "/lake.jpg." +
                "\r\n        ERROR: Making the thumbnail of picture " + pictures + "/bad.jpg failed: not a picture." +
                "\r\n        Made thumbnail " + t + "garden.gif.jpg and display copy " + d +
                "garden.gif.jpg of picture " + pictures + "/garden.gif.");
  // Every picture counts once, the missing one included.
  ASSERT_FALSE(first_events.done.empty());
  EXPECT_EQ(first_events.done.back(), 4);
  EXPECT_EQ(first_events.done.size(), 4u);
  EXPECT_TRUE(fs::exists(pd + "/PhotoAlbum/thumbnails/album-3.record"));

  RecordingEvents second_events;
  EXPECT_EQ(run(second_events),
            "\r\n        Skipping images of picture " + pictures + "/lake.jpg (" + t + "lake.jpg.jpg) UNCHANGED." +
                "\r\n        ERROR: Making the thumbnail of picture " + pictures + "/bad.jpg failed: not a picture." +
                "\r\n        Skipping images of picture " + pictures + "/garden.gif (" + t + "garden.gif.jpg) UNCHANGED.");
  EXPECT_EQ(imaging.TakeOpened(), (std::set<std::string>{"lake.jpg", "bad.jpg", "garden.gif"}));
}

TEST(AlbumImagesStep, ImagesOfAlbumsThatNoLongerExistAreRemoved) {
  testing::TempFolder folder;
  const std::string pd = folder.str();
  for (const char* made : {"thumbnails/album-0", "thumbnails/album-1", "display/album-1"}) {
    fs::create_directories(pd + "/PhotoAlbum/" + made);
  }
  std::ofstream(pd + "/PhotoAlbum/thumbnails/album-1.record") << "x";
  FixedNow clock;
  GenerationJob job;
  job.settings.PublishDirectory = pd;
  job.project.AddAlbum("Only");
  job.clock = &clock;
  RecordingEvents events;
  GenerationContext context(job, events, {});
  RemoveImagesOfRemovedAlbums(context);
  EXPECT_TRUE(fs::exists(pd + "/PhotoAlbum/thumbnails/album-0"));
  for (const char* gone : {"thumbnails/album-1", "display/album-1", "thumbnails/album-1.record"}) {
    EXPECT_FALSE(fs::exists(pd + "/PhotoAlbum/" + gone)) << gone;
  }
}

}  // namespace
}  // namespace quorvale
