// The libvips imaging on pictures drawn here: sizes, turning, location data, damaged
// files and GIFs.
#include "vips/vips_picture_imaging.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <variant>
#include <vector>

#include <sys/resource.h>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>
#include <vips/vips.h>

#include "support/temp_folder.h"

namespace quorvale {
namespace {

struct ImageUnref {
  void operator()(VipsImage* image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, ImageUnref>;

// A picture of `width` x `height` in mid grey with a red square in its top-left
// corner, so the corner shows which way up it came out.
Image Drawn(int width, int height) {
  VipsImage* black = nullptr;
  VipsImage* grey = nullptr;
  EXPECT_EQ(vips_black(&black, width, height, "bands", 3, nullptr), 0);
  EXPECT_EQ(vips_linear1(black, &grey, 1.0, 128.0, nullptr), 0);
  g_object_unref(black);
  VipsImage* pixels = nullptr;
  EXPECT_EQ(vips_cast_uchar(grey, &pixels, nullptr), 0);
  g_object_unref(grey);
  Image image(vips_image_copy_memory(pixels));
  g_object_unref(pixels);
  double red[] = {255.0, 0.0, 0.0};
  EXPECT_EQ(vips_draw_rect(image.get(), red, 3, 0, 0, width / 5, height / 5, "fill", TRUE, nullptr), 0);
  return image;
}

void SaveJpeg(VipsImage* image, const std::string& path) {
  ASSERT_EQ(vips_jpegsave(image, path.c_str(), "Q", 90, nullptr), 0) << vips_error_buffer();
}

Image Load(const std::string& path) {
  Image image(vips_image_new_from_file(path.c_str(), nullptr));
  EXPECT_TRUE(image) << vips_error_buffer();
  return image;
}

std::string LoaderOf(VipsImage* image) {
  const char* loader = nullptr;
  EXPECT_EQ(vips_image_get_string(image, VIPS_META_LOADER, &loader), 0);
  return loader != nullptr ? loader : "";
}

bool HasField(VipsImage* image, const char* prefix) {
  gchar** fields = vips_image_get_fields(image);
  bool found = false;
  for (gchar** field = fields; *field != nullptr; ++field) found = found || std::string(*field).starts_with(prefix);
  g_strfreev(fields);
  return found;
}

// The red channel at a point: high in the drawn corner, mid grey elsewhere.
double RedAt(VipsImage* image, int x, int y) {
  double* values = nullptr;
  int count = 0;
  EXPECT_EQ(vips_getpoint(image, &values, &count, x, y, nullptr), 0);
  const double red = values[0];
  g_free(values);
  return red;
}

// The widest thumbnail and display copy of a picture, and whether the original serves.
struct Widest {
  int thumbnail_width = 0;
  int thumbnail_height = 0;
  int display_width = 0;
  int display_height = 0;
  bool display_is_original = false;
  bool operator==(const Widest&) const = default;
};

class VipsPictureImagingTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (folder_.path() / name).string(); }

  // The widest thumbnail and display copy of `source` written to thumb.jpg and
  // display.jpg (its WebP to display.webp), as a run writes them; all sizes in `last_`.
  std::variant<Widest, std::string> Prepare(const std::string& source, const ImagingSettings& settings = {}) {
    auto prepared = imaging_.Prepare(Path(source), settings);
    if (auto* reason = std::get_if<std::string>(&prepared)) return *reason;
    const PreparedImages& images = std::get<PreparedImages>(prepared);
    last_ = images.sizes;
    std::ofstream(Path("thumb.jpg"), std::ios::binary) << images.thumbnails.back().jpeg;
    if (!images.sizes.display_is_original) {
      std::ofstream(Path("display.jpg"), std::ios::binary) << images.displays.back().jpeg;
    }
    if (images.sizes.displays_webp) std::ofstream(Path("display.webp"), std::ios::binary) << images.displays.back().webp;
    const ImageSize& thumbnail = last_.thumbnails.back();
    const ImageSize& display = last_.displays.back();
    return Widest{thumbnail.width, thumbnail.height, display.width, display.height, last_.display_is_original};
  }

  PreparedPicture last_;
  testing::TempFolder folder_;
  VipsPictureImaging imaging_;
};

TEST_F(VipsPictureImagingTest, MakesEverySizeUpToThePictureTurnedUprightAndReusesOriginalsThatNeedNothing) {
  struct Case {
    const char* name;
    int width, height, orientation;
    std::vector<int> thumbnail_sides;
    std::vector<ImageSize> displays;
    bool original;
  };
  const Case cases[] = {
      // A camera picture: every size of both sets, aspect kept.
      {"camera.jpg", 4000, 3000, 1, {256, 512, 768}, {{1024, 768}, {1600, 1200}, {2048, 1536}}, false},
      // A portrait shot stored landscape: it comes out upright, its sizes swapped.
      {"portrait.jpg", 3000, 2000, 6, {256, 512, 768}, {{683, 1024}, {1066, 1600}, {1365, 2048}}, false},
      // A panorama: its square tiles are cut from its height at the widest display size.
      {"panorama.jpg", 6000, 1000, 1, {256, 341}, {{1024, 171}, {1600, 266}, {2048, 341}}, false},
      // Small and upright already: the original is the widest display copy, nothing is
      // scaled up and no size is made twice.
      {"small.jpg", 1200, 900, 1, {256, 512, 768}, {{1024, 768}, {1200, 900}}, true},
      {"tiny.jpg", 300, 200, 1, {200}, {{300, 200}}, true},
      // Small but lying on its side: it still needs a turned display copy.
      {"small-turned.jpg", 800, 600, 6, {256, 512, 600}, {{600, 800}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(Path("display.jpg"));
    Image picture = Drawn(c.width, c.height);
    vips_image_set_int(picture.get(), "orientation", c.orientation);
    SaveJpeg(picture.get(), Path(c.name));
    const auto result = Prepare(c.name);
    ASSERT_TRUE(std::holds_alternative<Widest>(result)) << std::get<std::string>(result);
    std::vector<int> sides;
    for (const ImageSize& size : last_.thumbnails) {
      EXPECT_EQ(size.width, size.height);
      sides.push_back(size.width);
    }
    EXPECT_EQ(sides, c.thumbnail_sides);
    EXPECT_EQ(last_.displays, c.displays);
    EXPECT_EQ(last_.display_is_original, c.original);
    EXPECT_EQ(std::filesystem::exists(Path("display.jpg")), !c.original);

    Image thumbnail = Load(Path("thumb.jpg"));
    EXPECT_EQ(vips_image_get_width(thumbnail.get()), c.thumbnail_sides.back());
    EXPECT_EQ(vips_image_get_height(thumbnail.get()), c.thumbnail_sides.back());
    EXPECT_EQ(vips_image_get_orientation(thumbnail.get()), 1);
    EXPECT_FALSE(HasField(thumbnail.get(), "exif-"));
    if (c.orientation == 6) {
      // Turned clockwise: the stored top-left corner is now the top-right one.
      EXPECT_GT(RedAt(thumbnail.get(), c.thumbnail_sides.back() - 5, 5), 200);
      EXPECT_LT(RedAt(thumbnail.get(), 5, 5), 160);
    } else {
      EXPECT_GT(RedAt(thumbnail.get(), 5, 5), 200);
    }
  }
}

TEST_F(VipsPictureImagingTest, LocationAndCameraDetailsAreLeftOutUnlessTheLocationIsKept) {
  Image picture = Drawn(2400, 1600);
  vips_image_set_string(picture.get(), "exif-ifd0-Make", "Quorvale Test Camera");
  vips_image_set_string(picture.get(), "exif-ifd3-GPSLatitudeRef", "N");
  vips_image_set_string(picture.get(), "exif-ifd3-GPSLatitude", "51/1 30/1 0/1");
  SaveJpeg(picture.get(), Path("gps.jpg"));
  // Small enough to serve as it is, but for its location.
  Image small = Drawn(640, 480);
  vips_image_set_string(small.get(), "exif-ifd3-GPSLatitude", "51/1 30/1 0/1");
  SaveJpeg(small.get(), Path("gps-small.jpg"));

  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "kept" : "left out");
    ImagingSettings settings;
    settings.keep_location = keep;
    ASSERT_TRUE(std::holds_alternative<Widest>(Prepare("gps.jpg", settings)));
    Image display = Load(Path("display.jpg"));
    EXPECT_EQ(HasField(display.get(), "exif-ifd3-GPSLatitude"), keep);
    EXPECT_FALSE(HasField(display.get(), "exif-ifd0-Make"));
    EXPECT_FALSE(HasField(Load(Path("thumb.jpg")).get(), "exif-"));

    const auto small_result = Prepare("gps-small.jpg", settings);
    ASSERT_TRUE(std::holds_alternative<Widest>(small_result));
    EXPECT_EQ(std::get<Widest>(small_result).display_is_original, keep);
  }
  // A site without its originals has nothing to show in their place.
  ImagingSettings without_originals;
  without_originals.keep_location = true;
  without_originals.original_published = false;
  const auto small_result = Prepare("gps-small.jpg", without_originals);
  ASSERT_TRUE(std::holds_alternative<Widest>(small_result));
  EXPECT_FALSE(std::get<Widest>(small_result).display_is_original);
}

// From the start-of-scan marker on: the compressed pixels, which cleaning must not touch.
std::string ScanData(const std::string& jpeg) {
  const std::size_t scan = jpeg.find("\xFF\xDA");
  EXPECT_NE(scan, std::string::npos);
  return jpeg.substr(scan);
}

TEST_F(VipsPictureImagingTest, PublishedOriginalsLoseSerialsOwnerAndUnlessKeptTheirLocation) {
  SaveJpeg(Drawn(320, 240).get(), Path("camera.jpg"));
  {
    auto image = Exiv2::ImageFactory::open(Path("camera.jpg"));
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    exif["Exif.Image.Make"] = "Quorvale Test Camera";
    exif["Exif.Image.Copyright"] = "The photographer";
    exif["Exif.Image.Artist"] = "Camera Owner";
    exif["Exif.Photo.CameraOwnerName"] = "Camera Owner";
    exif["Exif.Photo.BodySerialNumber"] = "SN-12345";
    exif["Exif.Photo.LensSerialNumber"] = "LENS-678";
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    exif["Exif.GPSInfo.GPSLatitude"] = "51/1 30/1 0/1";
    image->xmpData()["Xmp.aux.SerialNumber"] = "SN-12345";
    image->xmpData()["Xmp.photoshop.City"] = "Lakeside";
    image->iptcData()["Iptc.Application2.City"] = "Lakeside";
    image->writeMetadata();
  }
  // The same metadata in a HEIC, whose Exif and XMP items are rewritten in place.
  ASSERT_EQ(vips_heifsave(Load(Path("camera.jpg")).get(), Path("camera.heic").c_str(), nullptr), 0);
  struct Case {
    const char* name;
    bool keep_location;
    bool location_left;
  };
  for (const Case& c : {Case{"camera.jpg", false, false}, Case{"camera.jpg", true, true},
                        Case{"camera.heic", false, false}, Case{"camera.heic", true, true}}) {
    SCOPED_TRACE(std::string(c.name) + (c.keep_location ? ", location kept" : ", location left out"));
    std::ifstream file(Path(c.name), std::ios::binary);
    const std::string source{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_NE(source.find("SN-12345"), std::string::npos);
    const bool heic = std::string(c.name).ends_with(".heic");
    const auto cleaned = imaging_.CleanOriginal(source, c.keep_location);
    ASSERT_TRUE(std::holds_alternative<CleanedOriginal>(cleaned)) << std::get<std::string>(cleaned);
    const std::string& bytes = std::get<CleanedOriginal>(cleaned).bytes;
    if (heic) {
      // Nothing moved: the image data is where it was, and the picture reads as before.
      EXPECT_EQ(bytes.size(), source.size());
      Image decoded(vips_image_new_from_buffer(bytes.data(), bytes.size(), "", nullptr));
      ASSERT_TRUE(decoded);
      EXPECT_GT(RedAt(decoded.get(), 2, 2), 200);
    } else {
      EXPECT_EQ(ScanData(bytes), ScanData(source));
    }
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(bytes.data()),
                                           static_cast<long>(bytes.size()));
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    EXPECT_EQ(exif.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSLatitude")) != exif.end(), c.location_left);
    EXPECT_EQ(image->xmpData().findKey(Exiv2::XmpKey("Xmp.photoshop.City")) != image->xmpData().end(),
              c.location_left);
    if (!heic) {  // a HEIC holds no IPTC
      EXPECT_EQ(image->iptcData().findKey(Exiv2::IptcKey("Iptc.Application2.City")) != image->iptcData().end(),
                c.location_left);
    }
    for (const char* gone : {"Exif.Image.Artist", "Exif.Photo.CameraOwnerName", "Exif.Photo.BodySerialNumber",
                             "Exif.Photo.LensSerialNumber"}) {
      EXPECT_EQ(exif.findKey(Exiv2::ExifKey(gone)), exif.end()) << gone;
    }
    EXPECT_EQ(image->xmpData().findKey(Exiv2::XmpKey("Xmp.aux.SerialNumber")), image->xmpData().end());
    EXPECT_NE(exif.findKey(Exiv2::ExifKey("Exif.Image.Copyright")), exif.end());
    EXPECT_EQ(bytes.find("SN-12345"), std::string::npos);
  }

  // A GIF loses its XMP block and keeps its animation loop and its pixels; a file of no
  // known format is refused.
  const std::string head("GIF89a\x01\x00\x01\x00\x00\x00\x00", 13);
  const std::string loop("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
  const std::string xmp("\x21\xFF\x0BXMP DataXMP\x04GPS!\x00", 20);
  const std::string pixels("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3B", 16);
  const auto gif = imaging_.CleanOriginal(head + loop + xmp + pixels, true);
  ASSERT_TRUE(std::holds_alternative<CleanedOriginal>(gif));
  EXPECT_EQ(std::get<CleanedOriginal>(gif).bytes, head + loop + pixels);
  EXPECT_TRUE(std::holds_alternative<std::string>(imaging_.CleanOriginal("not a picture at all", false)));
}

TEST_F(VipsPictureImagingTest, APictureInAnotherColourSpaceGetsAnSrgbDisplayCopy) {
  struct Case {
    const char* profile;
    bool original_serves;
  };
  for (const Case& c : {Case{"p3", false}, Case{"srgb", true}}) {
    SCOPED_TRACE(c.profile);
    Image picture = Drawn(800, 600);
    VipsImage* tagged = nullptr;
    ASSERT_EQ(vips_icc_transform(picture.get(), &tagged, c.profile, "input_profile", "srgb", nullptr), 0)
        << vips_error_buffer();
    SaveJpeg(tagged, Path("tagged.jpg"));
    g_object_unref(tagged);
    const auto result = Prepare("tagged.jpg");
    ASSERT_TRUE(std::holds_alternative<Widest>(result));
    EXPECT_EQ(std::get<Widest>(result).display_is_original, c.original_serves);
    if (!c.original_serves) {
      Image display = Load(Path("display.jpg"));
      EXPECT_FALSE(HasField(display.get(), VIPS_META_ICC_NAME));
      // The red corner, stored in P3 numbers, is sRGB red again (untransformed it would be ~234).
      EXPECT_GT(RedAt(display.get(), 5, 5), 250);
    }
  }
}

TEST_F(VipsPictureImagingTest, PicturesThatCannotBeDecodedAreReportedWithAReason) {
  Image picture = Drawn(1600, 1200);
  SaveJpeg(picture.get(), Path("whole.jpg"));
  const auto size = std::filesystem::file_size(Path("whole.jpg"));
  std::filesystem::copy_file(Path("whole.jpg"), Path("truncated.jpg"));
  std::filesystem::resize_file(Path("truncated.jpg"), size / 2);
  std::ofstream(Path("notes.jpg")) << "Shopping list: bread, milk, film for the camera.\n";

  for (const char* name : {"truncated.jpg", "notes.jpg", "missing.jpg"}) {
    SCOPED_TRACE(name);
    const auto result = Prepare(name);
    ASSERT_TRUE(std::holds_alternative<std::string>(result));
    EXPECT_FALSE(std::get<std::string>(result).empty());
    EXPECT_EQ(std::get<std::string>(result).find('\n'), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Path("thumb.jpg")));
    EXPECT_FALSE(std::filesystem::exists(Path("display.jpg")));
  }
}

TEST_F(VipsPictureImagingTest, AGifGetsAThumbnailOfItsFirstFrameAndAnAnimatedOneStaysTheDisplayCopy) {
  // Three frames of 600 x 400 stacked into one tall image: the first one red.
  Image frames = Drawn(600, 1200);
  double red[] = {255.0, 0.0, 0.0};
  ASSERT_EQ(vips_draw_rect(frames.get(), red, 3, 0, 0, 600, 400, "fill", TRUE, nullptr), 0);
  vips_image_set_int(frames.get(), "page-height", 400);
  ASSERT_EQ(vips_gifsave(frames.get(), Path("animated.gif").c_str(), nullptr), 0) << vips_error_buffer();
  Image still = Drawn(3000, 1000);
  ASSERT_EQ(vips_gifsave(still.get(), Path("still.gif").c_str(), nullptr), 0) << vips_error_buffer();

  const auto animated = Prepare("animated.gif");
  ASSERT_TRUE(std::holds_alternative<Widest>(animated)) << std::get<std::string>(animated);
  EXPECT_EQ(std::get<Widest>(animated), (Widest{400, 400, 600, 400, true}));
  EXPECT_GT(RedAt(Load(Path("thumb.jpg")).get(), 256, 300), 200);
  EXPECT_FALSE(std::filesystem::exists(Path("display.jpg")));

  const auto still_result = Prepare("still.gif");
  ASSERT_TRUE(std::holds_alternative<Widest>(still_result));
  EXPECT_EQ(std::get<Widest>(still_result), (Widest{683, 683, 2048, 683, false}));
  EXPECT_EQ(LoaderOf(Load(Path("display.jpg")).get()), "jpegload");
}

// A value of band `band` at a point.
double BandAt(VipsImage* image, int x, int y, int band) {
  double* values = nullptr;
  int count = 0;
  EXPECT_EQ(vips_getpoint(image, &values, &count, x, y, nullptr), 0);
  const double value = band < count ? values[band] : -1;
  g_free(values);
  return value;
}

// Pictures of every format taken, made here: each gets a JPEG thumbnail and display
// copy (or, animated, serves itself), upright, 8-bit sRGB, transparency on white; the
// Torvexa stand-in is a full-size JPEG; a damaged HEIC is one reason.
TEST_F(VipsPictureImagingTest, EveryFormatTakenGetsUprightSrgbJpegImages) {
  const auto save = [this](VipsImage* image, const std::string& name, const char* saver) {
    const std::string path = Path(name);
    const int failed = std::string(saver) == "png" ? vips_pngsave(image, path.c_str(), nullptr)
                                                   : vips_image_write_to_file(image, path.c_str(), nullptr);
    ASSERT_EQ(failed, 0) << name << ": " << vips_error_buffer();
  };
  const auto with = [](Image image, auto make) {
    VipsImage* out = nullptr;
    EXPECT_EQ(make(image.get(), &out), 0) << vips_error_buffer();
    return Image(out);
  };
  // Two pages of 900 x 600, the first with the red corner, the second all red.
  const auto two_pages = [](int page_height) {
    Image pages = Drawn(900, 2 * page_height);
    double red[] = {255.0, 0.0, 0.0};
    vips_draw_rect(pages.get(), red, 3, 0, page_height, 900, page_height, "fill", TRUE, nullptr);
    vips_image_set_int(pages.get(), "page-height", page_height);
    return pages;
  };
  save(Drawn(600, 900).get(), "portrait.heic", "");
  save(Drawn(900, 600).get(), "photo.avif", "");
  save(Drawn(900, 600).get(), "photo.webp", "");
  save(Drawn(900, 600).get(), "png-inside.jpg", "png");
  // Transparent on its right half.
  save(with(Drawn(900, 600), [](VipsImage* in, VipsImage** out) {
         VipsImage* alpha = nullptr;
         vips_black(&alpha, 900, 600, nullptr);
         double opaque[] = {255.0};
         vips_draw_rect(alpha, opaque, 1, 0, 0, 450, 600, "fill", TRUE, nullptr);
         VipsImage* cast = nullptr;
         vips_cast_uchar(alpha, &cast, nullptr);
         const int failed = vips_bandjoin2(in, cast, out, nullptr);
         g_object_unref(alpha);
         g_object_unref(cast);
         return failed;
       }).get(),
       "clear.png", "png");
  save(with(Drawn(900, 600), [](VipsImage* in, VipsImage** out) { return vips_colourspace(in, out, VIPS_INTERPRETATION_RGB16, nullptr); }).get(),
       "deep.tif", "");
  save(two_pages(600).get(), "pages.tif", "");
  save(two_pages(600).get(), "animated.webp", "");
  {
    std::ofstream(Path("text.heic")) << "not a picture";
    std::ifstream whole(Path("photo.avif"), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(whole), {}};
    std::ofstream(Path("cut.heic"), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  }

  const struct {
    const char* name;
    Widest expected;
    bool transparent_right = false;
  } cases[] = {
      {"portrait.heic", {600, 600, 600, 900, false}},
      {"photo.avif", {600, 600, 900, 600, false}},
      {"photo.webp", {600, 600, 900, 600, false}},
      {"png-inside.jpg", {600, 600, 900, 600, false}},
      {"clear.png", {600, 600, 900, 600, false}, true},
      {"deep.tif", {600, 600, 900, 600, false}},
      {"pages.tif", {600, 600, 900, 600, false}},      // its first page
      {"animated.webp", {600, 600, 900, 600, true}},  // shown as it is, as an animated GIF
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(Path("display.jpg"));
    const auto result = Prepare(c.name);
    ASSERT_TRUE(std::holds_alternative<Widest>(result)) << std::get<std::string>(result);
    EXPECT_EQ(std::get<Widest>(result), c.expected);
    for (const char* made : {"thumb.jpg", "display.jpg"}) {
      if (std::string(made) == "display.jpg" && c.expected.display_is_original) continue;
      Image image = Load(Path(made));
      const int width = vips_image_get_width(image.get());
      EXPECT_EQ(LoaderOf(image.get()), "jpegload");
      EXPECT_EQ(vips_image_get_bands(image.get()), 3);
      EXPECT_EQ(vips_image_get_format(image.get()), VIPS_FORMAT_UCHAR);
      EXPECT_GT(RedAt(image.get(), 2, 2), 200);                   // the red corner, top left: upright
      EXPECT_NEAR(BandAt(image.get(), width / 3, width / 3, 1), 128, 12);  // mid grey, not clipped
      if (c.transparent_right) {
        EXPECT_GT(BandAt(image.get(), width - 3, 3, 1), 250);  // on white
      }
    }
    // The window's preview of the same file: small, upright, 8-bit RGBA, the whole size told.
    const auto decoded = imaging_.DecodePreview(Path(c.name), 64);
    ASSERT_TRUE(std::holds_alternative<PreviewPicture>(decoded)) << std::get<std::string>(decoded);
    const PreviewPicture& preview = std::get<PreviewPicture>(decoded);
    EXPECT_EQ(std::pair(preview.picture_width, preview.picture_height),
              std::pair(c.expected.display_width, c.expected.display_height));
    EXPECT_EQ(std::max(preview.width, preview.height), 64);
    ASSERT_EQ(preview.rgba.size(), std::size_t(preview.width) * std::size_t(preview.height) * 4);
    EXPECT_GT(static_cast<unsigned char>(preview.rgba[(2 * std::size_t(preview.width) + 2) * 4]), 200);
  }
  EXPECT_EQ(std::get<std::string>(Prepare("cut.heic")).empty(), false);

  const auto stand_in = imaging_.MakeStandIn(Path("portrait.heic"));
  ASSERT_TRUE(std::holds_alternative<StandInJpeg>(stand_in));
  std::ofstream(Path("stand-in.jpg"), std::ios::binary) << std::get<StandInJpeg>(stand_in).bytes;
  Image jpeg = Load(Path("stand-in.jpg"));
  EXPECT_EQ(LoaderOf(jpeg.get()), "jpegload");
  EXPECT_EQ(vips_image_get_width(jpeg.get()), 600);
  EXPECT_EQ(vips_image_get_height(jpeg.get()), 900);
  EXPECT_GT(RedAt(jpeg.get(), 2, 2), 200);
  for (const char* refused : {"cut.heic", "text.heic"}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(imaging_.MakeStandIn(Path(refused)))) << refused;
    EXPECT_TRUE(std::holds_alternative<std::string>(imaging_.DecodePreview(Path(refused), 64))) << refused;
  }
}

// The bytes of a JPEG of `width` x `height` whose frame header (SOF) claims
// `claimed` x `claimed` pixels.
std::string JpegClaiming(int width, int height, int claimed) {
  Image picture = Drawn(width, height);
  void* buffer = nullptr;
  std::size_t length = 0;
  EXPECT_EQ(vips_jpegsave_buffer(picture.get(), &buffer, &length, nullptr), 0);
  std::string bytes(static_cast<const char*>(buffer), length);
  g_free(buffer);
  for (std::size_t i = 2; i + 9 < bytes.size(); ++i) {
    if (bytes[i] == '\xFF' && (bytes[i + 1] == '\xC0' || bytes[i + 1] == '\xC2')) {
      for (const std::size_t at : {i + 5, i + 7}) {
        bytes[at] = static_cast<char>(claimed >> 8);
        bytes[at + 1] = static_cast<char>(claimed & 0xFF);
      }
      break;
    }
  }
  return bytes;
}

// A GIF of a few bytes: a `screen` x `screen` logical screen with one frame that claims
// `frame` x `frame` pixels and holds almost no data.
std::string GifClaiming(int screen, int frame) {
  std::string gif = "GIF89a";
  const auto word = [&gif](int value) {
    gif += static_cast<char>(value & 0xFF);
    gif += static_cast<char>(value >> 8);
  };
  word(screen);
  word(screen);
  gif += std::string("\x80\x00\x00", 3);              // a global table of two colours
  gif += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
  gif += '\x2C';                                        // the frame
  word(0);
  word(0);
  word(frame);
  word(frame);
  gif += std::string("\x00\x02\x02\x4C\x01\x00\x3B", 7);  // LZW data, end of frame, trailer
  return gif;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

TEST_F(VipsPictureImagingTest, HostilePicturesAreRefusedInBoundedMemory) {
  const std::vector<std::pair<std::string, std::string>> hostile = {
      {"frame-claims.gif", GifClaiming(1, 60000)},
      {"screen-claims.gif", GifClaiming(60000, 60000)},
      {"header-claims.jpg", JpegClaiming(64, 64, 60000)},
      {"lying-header.jpg", JpegClaiming(64, 64, 4000)},
  };
  for (const auto& [name, bytes] : hostile) std::ofstream(Path(name), std::ios::binary) << bytes;
  SaveJpeg(Drawn(1600, 1200).get(), Path("whole.jpg"));
  // Stray bytes before a marker, as some cameras write: libjpeg warns, the picture is whole.
  std::string stray = JpegClaiming(1200, 1200, 1200);  // its header claims what it holds
  stray.insert(stray.find("\xFF\xC0"), "\x01\x02\x03");
  std::ofstream(Path("stray-bytes.jpg"), std::ios::binary) << stray;

  // In a fresh process under a memory limit, so a picture that makes the library
  // allocate gigabytes shows as a killed process rather than a stalled machine.
  const auto prepare_all = [&] {
    // AddressSanitizer reserves terabytes of address space for itself; under it the
    // sanitizer's own allocation limit stands in for this one.
    if (!kUnderAddressSanitizer) {
      const rlimit limit{std::size_t{2} << 30, std::size_t{2} << 30};
      ::setrlimit(RLIMIT_AS, &limit);
    }
    int failed = 0;
    for (std::size_t i = 0; i < hostile.size(); ++i) {
      const auto result = imaging_.Prepare(Path(hostile[i].first), {});
      const std::string* reason = std::get_if<std::string>(&result);
      std::fprintf(stderr, "%s: %s\n", hostile[i].first.c_str(), reason ? reason->c_str() : "made");
      if (reason == nullptr || reason->empty()) failed |= 1 << i;
    }
    // The next pictures are made as ever.
    if (!std::holds_alternative<PreparedImages>(imaging_.Prepare(Path("whole.jpg"), {}))) failed |= 1 << 7;
    if (!std::holds_alternative<PreparedImages>(imaging_.Prepare(Path("stray-bytes.jpg"), {}))) failed |= 1 << 8;
    std::exit(failed);
  };
  ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
  EXPECT_EXIT(prepare_all(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace quorvale
