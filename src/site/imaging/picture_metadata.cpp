// The rules that turn a picture's own metadata fields into its comment and its date.
#include "imaging/picture_metadata.h"

#include <array>
#include <string_view>

#include "model/project.h"
#include "platform/text_codec.h"

namespace quorvale {
namespace {

// What cameras and programs write into the caption fields when nobody wrote a caption:
// a caption equal to one of these (in any letter case) says nothing.
constexpr std::array<std::string_view, 11> kPlaceholderCaptions = {
    "OLYMPUS DIGITAL CAMERA", "SONY DSC",         "default",
    "DIGITAL CAMERA",         "KODAK Digital Still Camera",
    "MINOLTA DIGITAL CAMERA", "SAMSUNG DIGITAL CAMERA",
    "PENTAX DIGITAL CAMERA",  "Exif_JPEG_PICTURE", "LEAD Technologies Inc. V1.01",
    "Created with GIMP"};

bool IsPlaceholder(std::string_view caption) {
  const std::string lower = AsciiLower(caption);
  for (const std::string_view placeholder : kPlaceholderCaptions) {
    if (lower == AsciiLower(placeholder)) return true;
  }
  return false;
}

// One line: every run of control characters (line breaks, tabs, the zeros that pad
// fixed-size fields, the C1 controls of a mis-decoded text) becomes one blank, and
// blanks around the text go. UTF-8 in, UTF-8 out.
std::string OneLine(std::string_view text) {
  std::string line;
  bool in_break = false;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const auto byte = static_cast<unsigned char>(text[k]);
    const bool c1 = byte == 0xC2 && k + 1 < text.size() && static_cast<unsigned char>(text[k + 1]) < 0xA0;
    if (byte < 0x20 || byte == 0x7F || c1) {
      if (!in_break) line += ' ';
      in_break = true;
      if (c1) ++k;
      continue;
    }
    in_break = false;
    line += text[k];
  }
  return TrimBlanks(line);
}

bool ReadDigits(std::string_view text, std::size_t at, std::size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (std::size_t k = at; k < at + count; ++k) {
    if (text[k] < '0' || text[k] > '9') return false;
    value = value * 10 + (text[k] - '0');
  }
  return true;
}

void AppendPadded(std::string& text, int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  text += digits;
}

// "2024:05:01 14:26:03" (Exif) or "2024-05-01T14:26:03.25+02:00", "2024-05-01T14:26",
// "2024-05-01" (XMP) as "2024-05-01 14:26:03"; empty for anything else, such as the
// "0000:00:00 00:00:00" or blanks that cameras without a clock write.
std::string NormalDate(std::string_view text) {
  const std::string trimmed = OneLine(text);
  const std::string_view date = trimmed;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!ReadDigits(date, 0, 4, year) || date.size() < 10 || (date[4] != ':' && date[4] != '-') ||
      date[7] != date[4] || !ReadDigits(date, 5, 2, month) || !ReadDigits(date, 8, 2, day)) {
    return std::string();
  }
  if (date.size() > 10) {
    if ((date[10] != ' ' && date[10] != 'T') || !ReadDigits(date, 11, 2, hour) || date.size() < 16 ||
        date[13] != ':' || !ReadDigits(date, 14, 2, minute)) {
      return std::string();
    }
    if (date.size() > 16 && date[16] == ':' && !ReadDigits(date, 17, 2, second)) return std::string();
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) {
    return std::string();
  }
  std::string normal;
  AppendPadded(normal, year, 4);
  normal += '-';
  AppendPadded(normal, month, 2);
  normal += '-';
  AppendPadded(normal, day, 2);
  normal += ' ';
  AppendPadded(normal, hour, 2);
  normal += ':';
  AppendPadded(normal, minute, 2);
  normal += ':';
  AppendPadded(normal, second, 2);
  return normal;
}

}  // namespace

std::string CaptionOf(const PictureMetadata& metadata) {
  for (const std::string& field : metadata.captions) {
    std::string caption = OneLine(IsValidUtf8(field) ? field : Windows1252ToUtf8(field));
    if (caption.empty() || IsPlaceholder(caption)) continue;
    if (CharCount(caption) > static_cast<std::size_t>(MaxTextLength)) {
      caption = TrimBlanks(FirstChars(caption, static_cast<std::size_t>(MaxTextLength)));
    }
    return caption;
  }
  return std::string();
}

std::string DateTakenOf(const PictureMetadata& metadata) {
  for (const std::string& field : metadata.dates) {
    std::string date = NormalDate(field);
    if (!date.empty()) return date;
  }
  return std::string();
}

}  // namespace quorvale
