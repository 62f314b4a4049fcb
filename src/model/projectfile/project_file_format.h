#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/project.h"

namespace quorvale {

// A project file (.qs1) is a line-oriented file: every line is one record, a tag byte,
// the separator "~" and the record's value, ended by CR LF. The tag bytes lie outside
// 7-bit ASCII, so they are the same single bytes whichever text encoding the values use.
enum class ProjectTag : unsigned char {
  kMagic = 0x80,
  kFormatVersion = 0x81,
  kEncodingType = 0x82,
  kPublishDirectory = 0x83,
  kPublishPictures = 0x84,
  kViewerType = 0x85,
  kApplicationSourceDirectory = 0x86,
  kAlbumCount = 0x87,
  kAlbumPosition = 0x88,
  kAlbumTitle = 0x89,
  kPictureCount = 0x8A,
  kPicturePath = 0x8B,
  kPictureComment = 0x8C,
  // Written after 0x86, and only when the setting is on, so a project that leaves it
  // off is the file it always was; earlier releases skip the unknown tag.
  kKeepLocation = 0x8D,
  // The same for the HTML site's title and its language code: written only when set.
  kSiteTitle = 0x8E,
  kSiteLanguage = 0x8F,
  // Where the site is uploaded to; written after 0x8F, only when one is set.
  kUploadAddress = 0x90,
};

inline constexpr char kRecordSeparator = '~';
inline constexpr const char* kProjectMagic = "QS";
inline constexpr const char* kProjectFormatVersion = "1.0";
// The viewer-type record's value: "JAVA" for the Torvexa applet, "HTML" for the HTML
// viewer. Read back, "HTML" in any letter case names the HTML viewer and every other
// value, as in the files of earlier releases, the Torvexa applet.
std::string ViewerTypeValue(ViewerId viewer);
ViewerId ViewerFromTypeValue(std::string_view value);
inline constexpr std::int16_t kWrittenEncodingType = 0;

// The per-value hooks every value after the header passes through: the encoding type
// of the header selects the transformation, and the identity is the only one defined,
// so both give the text back unchanged whatever the type.
std::string EncodeValue(std::int16_t encoding_type, std::string_view text);
std::string DecodeValue(std::int16_t encoding_type, std::string_view text);

// A value read as a whole number: optional blanks around it, an optional sign and
// decimal digits. Anything else, or a number too large to hold, is not a number.
std::optional<long long> ToWholeNumber(std::string_view text);

}  // namespace quorvale
