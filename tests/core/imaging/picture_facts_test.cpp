// The facts the lightbox's information panel shows, read from a published file's bytes.
#include <gtest/gtest.h>

#include <string>

#include "imaging/picture_facts.h"

namespace quorvale {
namespace {

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

// A 40x30 JPEG's head (start, Exif segment, frame header; no image data): big-endian
// Exif with the model, DateTimeOriginal 2026:05:01 14:26:09, a southern latitude,
// an eastern longitude and orientation 6 (turned a quarter).
const std::string kCameraJpeg = FromHex(
    "ffd8ffe1015e4578696600004d4d002a00000008000801100002000000100000006e0112000300000001000600000"
    "11a0005000000010000007e011b0005000000010000008601280003000000010001000002130003000000010001000"
    "087690004000000010000008e8825000400000001000000e4000000004c756d697820444d432d545a3130300000000"
    "00100000001000000010000000100059000000700000004303233329003000200000014000000d09101000700000004"
    "01020300a00000070000000430313030a001000300000001ffff000000000000323032363a30353a30312031343a3236"
    "3a303900000500000001000000040203000000010002000000025300000000020005000000030000012600030002000"
    "000024500000000040005000000030000013e0000000000000021000000010000003400000001000000c00000001900"
    "000097000000010000000c000000010000034500000019ffc0001108001e002803011100021101031101");

TEST(PictureFacts, ReadsWhatTheFileHolds) {
  struct Case {
    const char* what;
    std::string bytes;
    PictureFacts expected;
  };
  const Case cases[] = {
      {"camera JPEG, shown upright", kCameraJpeg,
       {"2026-05-01 14:26", "Lumix DMC-TZ100", "-33.86880, 151.20930", 30, 40, kCameraJpeg.size()}},
      {"Exif cut short", kCameraJpeg.substr(0, 60), {"", "", "", 0, 0, 60}},
      {"GIF", std::string("GIF89a\x40\x01\xF0\x00", 10) + "rest", {"", "", "", 320, 240, 14}},
      {"not a picture", "hello", {"", "", "", 0, 0, 5}},
  };
  for (const Case& c : cases) {
    const PictureFacts facts = ReadPictureFacts(c.bytes);
    EXPECT_EQ(facts.taken, c.expected.taken) << c.what;
    EXPECT_EQ(facts.camera, c.expected.camera) << c.what;
    EXPECT_EQ(facts.location, c.expected.location) << c.what;
    EXPECT_EQ(facts.width, c.expected.width) << c.what;
    EXPECT_EQ(facts.height, c.expected.height) << c.what;
    EXPECT_EQ(facts.bytes, c.expected.bytes) << c.what;
  }
}

}  // namespace
}  // namespace quorvale
