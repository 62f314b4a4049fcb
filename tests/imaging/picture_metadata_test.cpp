// Pictures' own captions and dates, read by libexiv2 in the imaging module from pictures
// drawn here and tagged with libexiv2.
#include "vips/module_picture_metadata.h"

#include <functional>
#include <initializer_list>
#include <string>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>
#include <vips/vips.h>

#include "support/temp_folder.h"

namespace quorvale {
namespace {

// A small grey JPEG, then its metadata set by `tag` and written with libexiv2.
void TaggedJpeg(const std::string& path, const std::function<void(Exiv2::Image&)>& tag) {
  VipsImage* black = nullptr;
  ASSERT_EQ(vips_black(&black, 48, 32, "bands", 3, nullptr), 0);
  ASSERT_EQ(vips_jpegsave(black, path.c_str(), nullptr), 0) << vips_error_buffer();
  g_object_unref(black);
  auto image = Exiv2::ImageFactory::open(path);
  image->readMetadata();
  tag(*image);
  image->writeMetadata();
}

// An XMP description in several languages, each given as "lang=LANGUAGE TEXT".
void SetXmpDescription(Exiv2::Image& image, std::initializer_list<const char*> languages) {
  auto description = Exiv2::Value::create(Exiv2::langAlt);
  for (const char* language : languages) description->read(language);
  image.xmpData().add(Exiv2::XmpKey("Xmp.dc.description"), description.get());
}

TEST(PictureMetadataTest, CaptionsAndDatesComeFromTheFieldsThatSaySomething) {
  testing::TempFolder folder;
  ModulePictureMetadata reader;
  const std::string long_text(250, 'x');
  const struct {
    const char* name;
    std::function<void(Exiv2::Image&)> tag;
    std::string caption;
    std::string taken;
  } cases[] = {
      {"every-field.jpg",
       [](Exiv2::Image& image) {
         SetXmpDescription(image, {"lang=de Sonnenuntergang", "lang=x-default Sunset over the lake"});
         image.iptcData()["Iptc.Application2.Caption"] = "From IPTC";
         image.exifData()["Exif.Image.ImageDescription"] = "From Exif";
         image.exifData()["Exif.Photo.UserComment"] = "charset=Ascii From the comment";
         image.exifData()["Exif.Photo.DateTimeOriginal"] = "2024:05:01 14:26:03";
         image.exifData()["Exif.Photo.DateTimeDigitized"] = "2024:05:02 08:00:00";
       },
       "Sunset over the lake", "2024-05-01 14:26:03"},
      {"iptc.jpg",
       [](Exiv2::Image& image) {
         image.iptcData()["Iptc.Application2.Caption"] = "Harbour at dawn";
         image.exifData()["Exif.Image.ImageDescription"] = "From Exif";
         image.exifData()["Exif.Photo.DateTimeDigitized"] = "2023:01:02 03:04:05";
       },
       "Harbour at dawn", "2023-01-02 03:04:05"},
      // The camera's placeholder says nothing: the comment after it does, in UTF-16.
      {"placeholder.jpg",
       [](Exiv2::Image& image) {
         image.exifData()["Exif.Image.ImageDescription"] = "OLYMPUS DIGITAL CAMERA         ";
         image.exifData()["Exif.Photo.UserComment"] = "charset=Unicode Żółw na plaży";
         image.xmpData()["Xmp.photoshop.DateCreated"] = "2022-07-04T09:30+02:00";
       },
       "Żółw na plaży", "2022-07-04 09:30:00"},
      {"two-lines.jpg",
       [](Exiv2::Image& image) { image.exifData()["Exif.Image.ImageDescription"] = "  Two\r\nlines  "; },
       "Two lines", ""},
      {"long.jpg",
       [&long_text](Exiv2::Image& image) { image.exifData()["Exif.Image.ImageDescription"] = long_text; },
       std::string(200, 'x'), ""},
      {"nothing.jpg",
       [](Exiv2::Image& image) {
         image.exifData()["Exif.Image.ImageDescription"] = "SONY DSC";
         image.exifData()["Exif.Photo.UserComment"] = "charset=Ascii    ";
         image.exifData()["Exif.Photo.DateTimeOriginal"] = "0000:00:00 00:00:00";
         image.xmpData()["Xmp.exif.DateTimeOriginal"] = "2021-12-24T18:00:00";
       },
       "", "2021-12-24 18:00:00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (folder.path() / c.name).string();
    TaggedJpeg(path, c.tag);
    const auto metadata = reader.Read(path);
    ASSERT_TRUE(metadata) << reader.Failure();
    EXPECT_EQ(CaptionOf(*metadata), c.caption);
    EXPECT_EQ(DateTakenOf(*metadata), c.taken);
  }
  EXPECT_FALSE(reader.Read((folder.path() / "missing.jpg").string()));
}

// PNG, WebP and TIFF are tagged by libexiv2 itself; HEIC and AVIF, which it does not
// write, take the Exif of a tagged JPEG when libvips converts it.
TEST(PictureMetadataTest, EveryFormatTakenBringsItsCaptionAndDate) {
  testing::TempFolder folder;
  ModulePictureMetadata reader;
  const auto path = [&folder](const std::string& name) { return (folder.path() / name).string(); };
  const auto tag = [](Exiv2::Image& image) {
    image.exifData()["Exif.Image.ImageDescription"] = "Harbour at dawn";
    image.exifData()["Exif.Photo.DateTimeOriginal"] = "2024:05:01 06:12:00";
  };
  TaggedJpeg(path("source.jpg"), tag);
  VipsImage* source = vips_image_new_from_file(path("source.jpg").c_str(), nullptr);
  ASSERT_NE(source, nullptr) << vips_error_buffer();
  for (const char* name : {"photo.png", "photo.webp", "photo.tif", "photo.heic", "photo.avif"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(vips_image_write_to_file(source, path(name).c_str(), nullptr), 0) << vips_error_buffer();
    if (!std::string(name).ends_with(".heic") && !std::string(name).ends_with(".avif")) {
      auto image = Exiv2::ImageFactory::open(path(name));
      image->readMetadata();
      image->exifData().clear();
      tag(*image);
      image->writeMetadata();
    }
    const auto metadata = reader.Read(path(name));
    ASSERT_TRUE(metadata) << reader.Failure();
    EXPECT_EQ(CaptionOf(*metadata), "Harbour at dawn");
    EXPECT_EQ(DateTakenOf(*metadata), "2024-05-01 06:12:00");
  }
  g_object_unref(source);
}

}  // namespace
}  // namespace quorvale
