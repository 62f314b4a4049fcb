#include "model/picture_format.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvale {
namespace {

using namespace std::string_literals;

// The first bytes of each kind of file, as cameras, phones and editors write them.
TEST(PictureFormat, KnownByItsFirstBytes) {
  const auto ftyp = [](const std::string& major, const std::string& compatible) {
    const std::string size(1, static_cast<char>(16 + compatible.size()));
    return "\0\0\0"s + size + "ftyp" + major + "\0\0\0\0"s + compatible;
  };
  const struct {
    std::string head;
    PictureFormat format;
  } cases[] = {
      {"\xFF\xD8\xFF\xE1\0\0Exif"s, PictureFormat::kJpeg},
      {"GIF89a\x01\0\x01\0"s, PictureFormat::kGif},
      {"GIF87a"s, PictureFormat::kGif},
      {"\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s, PictureFormat::kPng},
      {"RIFF\x24\0\0\0WEBPVP8 "s, PictureFormat::kWebp},
      {"RIFF\x24\0\0\0WAVEfmt "s, PictureFormat::kNone},  // a sound file
      {"II*\0\x08\0\0\0"s, PictureFormat::kTiff},
      {"MM\0*\0\0\0\x08"s, PictureFormat::kTiff},
      {ftyp("heic", "mif1heicmiaf"), PictureFormat::kHeif},
      {ftyp("mif1", "heic"), PictureFormat::kHeif},
      {ftyp("avif", "avifmif1miaf"), PictureFormat::kAvif},
      {ftyp("mif1", "mif1avif"), PictureFormat::kAvif},  // the generic brand first, AVIF among the rest
      {ftyp("isom", "isomiso2mp41"), PictureFormat::kNone},  // a video
      {"\0\0\0\x18" "ftypheic"s, PictureFormat::kNone},     // cut short
      {"\xFF\xD8"s, PictureFormat::kNone},
      {"hello, world"s, PictureFormat::kNone},
      {""s, PictureFormat::kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RecognizePictureFormat(c.head), c.format) << &c - cases;
  }
}

}  // namespace
}  // namespace quorvale
