#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvale {

// The picture formats Quorvale takes, told by a file's first bytes whatever its name.
enum class PictureFormat { kNone, kJpeg, kGif, kPng, kWebp, kHeif, kAvif, kTiff };

// How many bytes of a file RecognizePictureFormat needs to see.
inline constexpr std::size_t kPictureFormatHeadBytes = 64;

// The format whose signature `head` (the first bytes of a file) begins with; kNone
// for anything else, an empty or cut-short file included.
PictureFormat RecognizePictureFormat(std::string_view head);

// The format of the file at `path`, read from its first bytes; kNone when it is none
// of them or cannot be read.
PictureFormat PictureFormatOfFile(const std::string& path);

// Its name in messages and transcript lines: "JPEG", "HEIC", ...
const char* PictureFormatName(PictureFormat format);

// Whether the Torvexa applet shows the format: JPEG, GIF and PNG.
bool TorvexaShows(PictureFormat format);

// The file name patterns the Add Pictures dialog offers ("*.jpg", ...); a file is still
// judged by its content, so a PNG named .jpg is taken as a PNG.
const std::vector<std::string>& PictureFilePatterns();

// The files among `paths` that hold no picture Quorvale takes, in the order given. A
// path where no file is (any more) is not judged: a run reports a missing picture.
std::vector<std::string> NonPictureFiles(const std::vector<std::string>& paths);

}  // namespace quorvale
