#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvale {

// What a visitor may learn of a picture in the lightbox's information panel, read from
// the very file the site publishes for it, so the panel never tells more than that file
// carries (a published original keeps its date and camera, and its location only when
// the project keeps locations; a display copy keeps nothing but a kept location).
struct PictureFacts {
  std::string taken;     // "2026-05-01 14:26", from Exif DateTimeOriginal
  std::string camera;    // Exif Model
  std::string location;  // "52.22970, 21.01220" (south and west negative), from Exif GPS
  int width = 0;         // as shown: upright after the Exif orientation
  int height = 0;
  std::uintmax_t bytes = 0;
  bool operator==(const PictureFacts&) const = default;
};

// How much of a file's start its facts are read from: its Exif block and frame header
// lie there (Exif is at most 64 KB), so no picture is read whole for them.
inline constexpr std::size_t kPictureFactsBytes = 128 * 1024;

// The facts of a JPEG or GIF file's bytes; a field the file does not hold stays empty
// (or 0), and damaged or foreign bytes give no facts but their size.
PictureFacts ReadPictureFacts(std::string_view bytes);

}  // namespace quorvale
