// An album's images as a generation run makes them: transcript lines in album order,
// errors counted, progress per picture, paths from the site layout.
#include "generate/album_images_step.h"

#include <fstream>

#include "core/generate/generation_fixture.h"
#include "core/support/fake_imaging.h"
#include "generate/generation_context.h"

namespace quorvale::testing {
namespace {

TEST_F(GenerationTest, AlbumImagesAreReportedInAlbumOrderAndUndecodablePicturesCounted) {
  const std::string pd = publish_;
  const std::string pictures = JoinPath(root_, "pictures");
  fs::create_directories(pd + "/PhotoAlbum");
  fs::create_directories(pictures);
  for (const char* name : {"lake.jpg", "bad.jpg", "garden.gif"}) std::ofstream(pictures + "/" + name) << name;
  const std::vector<PublishedPicture> album = {{pictures + "/lake.jpg", "lake.jpg", {}},
                                               {pictures + "/bad.jpg", "bad.jpg", {}},
                                               {pictures + "/gone.jpg", "gone.jpg", {}},
                                               {pictures + "/garden.gif", "garden.gif", {}}};
  FakeImaging imaging;
  settings_.KeepLocation = true;
  GenerationJob job = Job(pd);
  job.imaging = &imaging;

  const auto run = [&] {
    progress_.clear();
    GenerationContext context(job, *this, {});
    const auto results = MakeAlbumImages(context, 3, album).pictures;
    EXPECT_EQ(results.size(), album.size());
    EXPECT_EQ(context.counters().ErrorCount, 1);
    return context.transcript().Text();
  };
  const std::string t = JoinPath(pd, JoinPath("PhotoAlbum", JoinPath("thumbnails", JoinPath("album-3", ""))));
  const std::string d = JoinPath(pd, JoinPath("PhotoAlbum", JoinPath("display", JoinPath("album-3", ""))));
  EXPECT_EQ(run(),
            "\r\n        Made thumbnails " + t + "lake.jpg-256/512/768 and display copies " + d +
                "lake.jpg-1024/1600/2048 of picture " + pictures + "/lake.jpg (JPEG and WebP)." +
                "\r\n        ERROR: Making the thumbnail of picture " + pictures + "/bad.jpg failed: not a picture." +
                "\r\n        Made thumbnails " + t + "garden.gif-256/512/768 and display copies " + d +
                "garden.gif-1024/1600/2048 of picture " + pictures + "/garden.gif (JPEG and WebP).");
  // Every picture counts once, the missing one included.
  ASSERT_EQ(progress_.size(), 4u);
  EXPECT_EQ(progress_.back().pictures_done, 4);
  EXPECT_TRUE(fs::exists(pd + "/PhotoAlbum/thumbnails/album-3.record"));

  EXPECT_EQ(run(),
            "\r\n        Skipping images of picture " + pictures + "/lake.jpg (" + t + "lake.jpg) UNCHANGED." +
                "\r\n        ERROR: Making the thumbnail of picture " + pictures + "/bad.jpg failed: not a picture." +
                "\r\n        Skipping images of picture " + pictures + "/garden.gif (" + t + "garden.gif) UNCHANGED.");
  EXPECT_EQ(imaging.TakeOpened(), (std::set<std::string>{"lake.jpg", "bad.jpg", "garden.gif"}));
}

TEST_F(GenerationTest, ImagesOfAlbumsThatNoLongerExistAreRemoved) {
  const std::string pd = publish_;
  for (const char* made : {"thumbnails/album-0", "thumbnails/album-1", "display/album-1"}) {
    fs::create_directories(pd + "/PhotoAlbum/" + made);
  }
  std::ofstream(pd + "/PhotoAlbum/thumbnails/album-1.record") << "x";
  AddAlbum("Only");
  const GenerationJob job = Job(pd);
  GenerationContext context(job, *this, {});
  RemoveImagesOfRemovedAlbums(context);
  EXPECT_TRUE(fs::exists(pd + "/PhotoAlbum/thumbnails/album-0"));
  for (const char* gone : {"thumbnails/album-1", "display/album-1", "thumbnails/album-1.record"}) {
    EXPECT_FALSE(fs::exists(pd + "/PhotoAlbum/" + gone)) << gone;
  }
}

}  // namespace
}  // namespace quorvale::testing
