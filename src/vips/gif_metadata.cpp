#include "vips/gif_metadata.h"

#include <array>
#include <cstddef>

namespace quorvale {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kScreenDescriptorSize = 7;
constexpr std::size_t kImageDescriptorSize = 10;  // with its 0x2C introducer
constexpr std::size_t kApplicationIdSize = 11;
constexpr unsigned char kExtension = 0x21;
constexpr unsigned char kImage = 0x2C;
constexpr unsigned char kTrailer = 0x3B;
constexpr unsigned char kApplicationLabel = 0xFF;

// Application blocks that carry no metadata and that a viewer needs: the loop count of
// an animation (two spellings) and the ICC colour profile.
constexpr std::array<std::string_view, 3> kKeptApplications = {"NETSCAPE2.0", "ANIMEXTS1.0", "ICCRGBG1012"};

unsigned char At(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }

// The size of a colour table announced by a packed field, 0 when there is none.
std::size_t ColourTableSize(unsigned char packed) {
  return (packed & 0x80) != 0 ? 3 * (std::size_t{2} << (packed & 0x07)) : 0;
}

// The end of the data sub-blocks that start at `at`, past their zero terminator; or
// nothing when they run past the file.
std::optional<std::size_t> SubBlocksEnd(std::string_view bytes, std::size_t at) {
  while (at < bytes.size()) {
    const std::size_t size = At(bytes, at);
    ++at;
    if (size == 0) return at;
    at += size;
  }
  return std::nullopt;
}

}  // namespace

bool IsGif(std::string_view bytes) { return bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a"); }

std::optional<std::string> GifWithoutMetadata(std::string_view bytes) {
  if (!IsGif(bytes) || bytes.size() < kHeaderSize + kScreenDescriptorSize) return std::nullopt;
  std::size_t at = kHeaderSize + kScreenDescriptorSize + ColourTableSize(At(bytes, kHeaderSize + 4));
  if (at > bytes.size()) return std::nullopt;
  std::string kept(bytes.substr(0, at));
  while (at < bytes.size()) {
    const std::size_t start = at;
    const unsigned char introducer = At(bytes, at);
    if (introducer == kTrailer) {
      kept.push_back(static_cast<char>(kTrailer));
      return kept;
    }
    bool keep = true;
    if (introducer == kImage) {
      if (at + kImageDescriptorSize + 1 > bytes.size()) return std::nullopt;
      at += kImageDescriptorSize + ColourTableSize(At(bytes, at + 9)) + 1;  // + the LZW code size
    } else if (introducer == kExtension) {
      if (at + 2 > bytes.size()) return std::nullopt;
      const unsigned char label = At(bytes, at + 1);
      at += 2;
      if (label == kApplicationLabel) {
        const std::string_view id = at + 1 + kApplicationIdSize <= bytes.size() && At(bytes, at) == kApplicationIdSize
                                        ? bytes.substr(at + 1, kApplicationIdSize)
                                        : std::string_view();
        keep = false;
        for (const std::string_view allowed : kKeptApplications) keep = keep || id == allowed;
      }
    } else {
      return std::nullopt;
    }
    const auto end = at <= bytes.size() ? SubBlocksEnd(bytes, at) : std::nullopt;
    if (!end) return std::nullopt;
    if (keep) kept.append(bytes.substr(start, *end - start));
    at = *end;
  }
  return std::nullopt;  // no trailer: cut short
}

}  // namespace quorvale
