// A whole HTML run on real HEIC files through libvips: a good one is published as JPEG
// images, and a broken one or one that claims too many pixels is one counted error each
// (with the originals not published; a published original that cannot be cleaned is an
// error of its own).
#include <gtest/gtest.h>
#include <vips/vips.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/generate/generation_fixture.h"
#include "viewers/html/html_viewer.h"
#include "vips/vips_picture_imaging.h"

namespace quorvale::testing {
namespace {

class HeicRun : public GenerationTest {
 protected:
  void SetUp() override {
    GenerationTest::SetUp();
    ASSERT_EQ(VIPS_INIT("formats_run_test"), 0);
    for (const std::string& file : HtmlViewerDescriptor().files) WriteFile(JoinPath(source_, file), "viewer " + file);
    settings_.ViewerType = ViewerId::kHtml;
    settings_.PublishPictures = 0;
  }

  // A grey HEIC of 600 x 900 pixels; its bytes.
  std::string Heic() {
    VipsImage* grey = nullptr;
    EXPECT_EQ(vips_black(&grey, 600, 900, "bands", 3, nullptr), 0);
    void* buffer = nullptr;
    std::size_t length = 0;
    EXPECT_EQ(vips_heifsave_buffer(grey, &buffer, &length, nullptr), 0) << vips_error_buffer();
    g_object_unref(grey);
    std::string bytes(static_cast<const char*>(buffer), length);
    g_free(buffer);
    return bytes;
  }

  VipsPictureImaging imaging_;
};

// The image spatial extent ("ispe") property states a HEIC's size before anything is
// decoded: set to 20000 x 15000, 300 megapixels, the file is refused unread.
std::string ClaimingSize(std::string heic) {
  for (std::size_t at = heic.find("ispe"); at != std::string::npos; at = heic.find("ispe", at + 1)) {
    const char claimed[] = {0, 0, 0x4E, 0x20, 0, 0, 0x3A, static_cast<char>(0x98)};  // 20000, 15000, big-endian
    heic.replace(at + 8, sizeof claimed, claimed, sizeof claimed);
  }
  return heic;
}

TEST_F(HeicRun, ABrokenOrOversizedHeicIsOneCountedErrorEach) {
  const std::string good = Heic();
  AddAlbum("Phone", {{Picture("p", "good.heic", good), ""},
                     {Picture("p", "cut.heic", good.substr(0, good.size() / 2)), ""},
                     {Picture("p", "huge.heic", ClaimingSize(good)), ""}});
  GenerationJob job = Job(publish_);
  job.imaging = &imaging_;
  const GenerationResult result = GenerateAlbums(std::move(job), *this);

  EXPECT_EQ(result.counters, (GenerationCounters{2, 0}));
  const std::string& text = transcript_.Text();
  for (const char* refused : {"cut.heic", "huge.heic"}) {
    EXPECT_NE(text.find("ERROR: Making the thumbnail of picture " + JoinPath(JoinPath(root_, "pictures/p"), refused)), std::string::npos)
        << refused;
  }
  const std::string thumbnail = Read(In("PhotoAlbum/thumbnails/album-0/good.heic-256.jpg"));
  EXPECT_TRUE(thumbnail.starts_with("\xFF\xD8\xFF")) << thumbnail.substr(0, 16);
}

}  // namespace
}  // namespace quorvale::testing
