#include "imaging/picture_facts.h"

#include <cstdio>

namespace quorvale {
namespace {

// A TIFF block (the body of a JPEG's Exif segment) read with its own byte order; every
// read is bounds-checked and an out-of-range one gives 0 or an empty text.
class TiffReader {
 public:
  explicit TiffReader(std::string_view data) : data_(data), little_(data.substr(0, 2) == "II") {}

  bool Valid() const { return (data_.substr(0, 2) == "II" || data_.substr(0, 2) == "MM") && U16(2) == 42; }

  std::uint32_t U16(std::size_t at) const { return Unsigned(at, 2); }
  std::uint32_t U32(std::size_t at) const { return Unsigned(at, 4); }

  // The offset of the value of the entry of `tag` in the directory at `ifd`, and its
  // type and count; nullopt when the directory has no such entry.
  struct Entry {
    std::uint32_t type = 0;
    std::uint32_t count = 0;
    std::size_t value = 0;
  };
  std::optional<Entry> Find(std::size_t ifd, std::uint32_t tag) const {
    const std::uint32_t entries = U16(ifd);
    for (std::uint32_t i = 0; i < entries; ++i) {
      const std::size_t at = ifd + 2 + 12 * static_cast<std::size_t>(i);
      if (at + 12 > data_.size()) return std::nullopt;
      if (U16(at) != tag) continue;
      Entry entry{U16(at + 2), U32(at + 4), at + 8};
      const std::size_t unit = entry.type == 5 ? 8 : entry.type == 4 ? 4 : entry.type == 3 ? 2 : 1;
      if (unit * entry.count > 4) entry.value = U32(at + 8);
      return entry;
    }
    return std::nullopt;
  }

  std::string Text(std::size_t ifd, std::uint32_t tag) const {
    const auto entry = Find(ifd, tag);
    if (!entry || entry->type != 2 || entry->value >= data_.size()) return {};
    std::string text(data_.substr(entry->value, entry->count));
    while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.pop_back();
    return text.substr(0, text.find('\0'));
  }

  std::uint32_t Number(std::size_t ifd, std::uint32_t tag) const {
    const auto entry = Find(ifd, tag);
    if (!entry) return 0;
    return entry->type == 3 ? U16(entry->value) : entry->type == 4 ? U32(entry->value) : 0;
  }

  // Degrees, minutes and seconds as three rationals, in degrees; nullopt when absent.
  std::optional<double> Degrees(std::size_t ifd, std::uint32_t tag) const {
    const auto entry = Find(ifd, tag);
    if (!entry || entry->type != 5 || entry->count != 3) return std::nullopt;
    double degrees = 0;
    double unit = 1;
    for (std::size_t i = 0; i < 3; ++i) {
      const std::uint32_t denominator = U32(entry->value + 8 * i + 4);
      if (denominator == 0) return std::nullopt;
      degrees += static_cast<double>(U32(entry->value + 8 * i)) / denominator / unit;
      unit *= 60;
    }
    return degrees;
  }

 private:
  std::uint32_t Unsigned(std::size_t at, std::size_t size) const {
    if (at + size > data_.size()) return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
      const auto byte = static_cast<unsigned char>(data_[little_ ? at + size - 1 - i : at + i]);
      value = (value << 8) | byte;
    }
    return value;
  }

  std::string_view data_;
  bool little_;
};

constexpr std::uint32_t kModel = 0x0110;
constexpr std::uint32_t kOrientation = 0x0112;
constexpr std::uint32_t kExifDirectory = 0x8769;
constexpr std::uint32_t kGpsDirectory = 0x8825;
constexpr std::uint32_t kDateTimeOriginal = 0x9003;

// "2026:05:01 14:26:09" as "2026-05-01 14:26"; anything else as nothing.
std::string IsoDateTime(const std::string& exif) {
  if (exif.size() < 16 || exif[4] != ':' || exif[7] != ':' || exif.substr(0, 4) == "0000") return {};
  return exif.substr(0, 4) + "-" + exif.substr(5, 2) + "-" + exif.substr(8, 2) + " " + exif.substr(11, 5);
}

// Reads the Exif block; returns the orientation (1 when absent).
std::uint32_t ReadExif(std::string_view tiff, PictureFacts& facts) {
  const TiffReader reader(tiff);
  if (!reader.Valid()) return 1;
  const std::size_t ifd0 = reader.U32(4);
  facts.camera = reader.Text(ifd0, kModel);
  if (const std::size_t exif = reader.Number(ifd0, kExifDirectory); exif != 0) {
    facts.taken = IsoDateTime(reader.Text(exif, kDateTimeOriginal));
  }
  if (const std::size_t gps = reader.Number(ifd0, kGpsDirectory); gps != 0) {
    const auto latitude = reader.Degrees(gps, 2);
    const auto longitude = reader.Degrees(gps, 4);
    if (latitude && longitude) {
      const double north = reader.Text(gps, 1) == "S" ? -*latitude : *latitude;
      const double east = reader.Text(gps, 3) == "W" ? -*longitude : *longitude;
      char text[64];
      std::snprintf(text, sizeof text, "%.5f, %.5f", north, east);
      facts.location = text;
    }
  }
  const std::uint32_t orientation = reader.Number(ifd0, kOrientation);
  return orientation == 0 ? 1 : orientation;
}

void ReadJpeg(std::string_view bytes, PictureFacts& facts) {
  std::uint32_t orientation = 1;
  std::size_t at = 2;
  while (at + 4 <= bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) {
    const auto marker = static_cast<unsigned char>(bytes[at + 1]);
    const std::size_t length = (static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
                               static_cast<unsigned char>(bytes[at + 3]);
    if (marker == 0xDA || length < 2) break;  // the image data begins
    const std::string_view body = bytes.substr(at + 4, length - 2);
    if (marker == 0xE1 && body.substr(0, 6) == std::string_view("Exif\0\0", 6)) {
      orientation = ReadExif(body.substr(6), facts);
    }
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && body.size() >= 5) {
      facts.height = (static_cast<unsigned char>(body[1]) << 8) | static_cast<unsigned char>(body[2]);
      facts.width = (static_cast<unsigned char>(body[3]) << 8) | static_cast<unsigned char>(body[4]);
    }
    at += 2 + length;
  }
  if (orientation >= 5 && orientation <= 8) std::swap(facts.width, facts.height);
}

}  // namespace

PictureFacts ReadPictureFacts(std::string_view bytes) {
  PictureFacts facts;
  facts.bytes = bytes.size();
  if (bytes.substr(0, 2) == "\xFF\xD8") {
    ReadJpeg(bytes, facts);
  } else if ((bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a") && bytes.size() >= 10) {
    facts.width = static_cast<unsigned char>(bytes[6]) | (static_cast<unsigned char>(bytes[7]) << 8);
    facts.height = static_cast<unsigned char>(bytes[8]) | (static_cast<unsigned char>(bytes[9]) << 8);
  }
  return facts;
}

}  // namespace quorvale
