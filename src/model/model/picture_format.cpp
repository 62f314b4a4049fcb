#include "model/picture_format.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "platform/file_system.h"

namespace quorvale {
namespace {

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// An ISO media file (HEIF, AVIF) opens with its 'ftyp' box: a major brand, a version
// and a list of compatible brands. AVIF wins over HEIF: an AVIF file often names the
// generic HEIF brand "mif1" too.
PictureFormat RecognizeFileTypeBox(std::string_view head) {
  if (head.size() < 16 || head.substr(4, 4) != "ftyp") return PictureFormat::kNone;
  const std::size_t box_size = std::min<std::size_t>(BigEndian32(head, 0), head.size());
  std::vector<std::string_view> brands = {head.substr(8, 4)};
  for (std::size_t at = 16; at + 4 <= box_size; at += 4) brands.push_back(head.substr(at, 4));
  const auto names = [&brands](std::initializer_list<std::string_view> wanted) {
    return std::any_of(brands.begin(), brands.end(), [&wanted](std::string_view brand) {
      return std::find(wanted.begin(), wanted.end(), brand) != wanted.end();
    });
  };
  if (names({"avif", "avis"})) return PictureFormat::kAvif;
  if (names({"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1"})) return PictureFormat::kHeif;
  return PictureFormat::kNone;
}

}  // namespace

PictureFormat RecognizePictureFormat(std::string_view head) {
  using namespace std::string_view_literals;
  if (head.starts_with("\xFF\xD8\xFF"sv)) return PictureFormat::kJpeg;
  if (head.starts_with("GIF87a"sv) || head.starts_with("GIF89a"sv)) return PictureFormat::kGif;
  if (head.starts_with("\x89PNG\r\n\x1A\n"sv)) return PictureFormat::kPng;
  if (head.size() >= 12 && head.starts_with("RIFF"sv) && head.substr(8, 4) == "WEBP"sv) return PictureFormat::kWebp;
  // Classic and big TIFF, in either byte order.
  if (head.starts_with("II*\0"sv) || head.starts_with("MM\0*"sv) || head.starts_with("II+\0"sv) ||
      head.starts_with("MM\0+"sv)) {
    return PictureFormat::kTiff;
  }
  return RecognizeFileTypeBox(head);
}

PictureFormat PictureFormatOfFile(const std::string& path) {
  const auto head = ReadFileStart(path, kPictureFormatHeadBytes);
  return head ? RecognizePictureFormat(*head) : PictureFormat::kNone;
}

const char* PictureFormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::kJpeg: return "JPEG";
    case PictureFormat::kGif: return "GIF";
    case PictureFormat::kPng: return "PNG";
    case PictureFormat::kWebp: return "WebP";
    case PictureFormat::kHeif: return "HEIC";
    case PictureFormat::kAvif: return "AVIF";
    case PictureFormat::kTiff: return "TIFF";
    case PictureFormat::kNone: break;
  }
  return "unknown";
}

bool TorvexaShows(PictureFormat format) {
  return format == PictureFormat::kJpeg || format == PictureFormat::kGif || format == PictureFormat::kPng;
}

const std::vector<std::string>& PictureFilePatterns() {
  static const std::vector<std::string> patterns = {"*.jpg",  "*.jpeg", "*.gif",  "*.heic", "*.heif", "*.hif",
                                                    "*.avif", "*.webp", "*.png",  "*.tif",  "*.tiff"};
  return patterns;
}

std::vector<std::string> NonPictureFiles(const std::vector<std::string>& paths) {
  std::vector<std::string> refused;
  for (const std::string& path : paths) {
    if (FileExists(path) && PictureFormatOfFile(path) == PictureFormat::kNone) refused.push_back(path);
  }
  return refused;
}

}  // namespace quorvale
