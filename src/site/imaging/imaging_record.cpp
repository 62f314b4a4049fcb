#include "imaging/imaging_record.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/number_text.h"
#include "platform/record_text.h"

namespace quorvale {
namespace {

constexpr std::string_view kFormatLine = "quorvale-images 4";
constexpr std::string_view kFormatLineWithoutFolders = "quorvale-images 3";
constexpr std::string_view kFormatLineWithoutStamps = "quorvale-images 2";
constexpr std::string_view kSettingsWord = "settings";
constexpr std::string_view kFoldersWord = "folders";
constexpr std::string_view kNoStamp = "-";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kPictureFields = 12;

bool ReadFlag(std::string_view text, bool& flag) {
  if (text != "0" && text != "1") return false;
  flag = text == "1";
  return true;
}

// Items separated by commas, each read by `read_item`; an empty text is none.
template <typename Item, typename ReadItem>
bool ReadList(std::string_view text, std::vector<Item>& items, ReadItem read_item) {
  items.clear();
  if (text.empty()) return true;
  for (std::size_t from = 0; from <= text.size();) {
    const std::size_t cut = std::min(text.find(',', from), text.size());
    Item item{};
    if (!read_item(text.substr(from, cut - from), item)) return false;
    items.push_back(item);
    from = cut + 1;
  }
  return true;
}

// Appends the items, each written by `append_item`, separated by commas.
template <typename Item, typename AppendItem>
std::string& AppendList(std::string& text, const std::vector<Item>& items, AppendItem append_item) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += ',';
    append_item(text, items[i]);
  }
  return text;
}

// "256,512,768": positive numbers, at least one.
bool ReadNumbers(std::string_view text, std::vector<int>& numbers) {
  return !text.empty() && ReadList(text, numbers, [](std::string_view part, int& number) {
           return ReadWholeNumber(part, number) && number > 0;
         });
}

std::string& AppendNumbers(std::string& text, const std::vector<int>& numbers) {
  return AppendList(text, numbers, [](std::string& out, int number) { AppendNumber(out, number); });
}

// "256x256,512x512": image sizes; an empty text is no image.
bool ReadSizes(std::string_view text, std::vector<ImageSize>& sizes) {
  return ReadList(text, sizes, [](std::string_view part, ImageSize& size) {
    const auto pair = SplitFields<2>(part, 'x');
    return pair && ReadWholeNumber((*pair)[0], size.width) && ReadWholeNumber((*pair)[1], size.height);
  });
}

std::string& AppendSizes(std::string& text, const std::vector<ImageSize>& sizes) {
  return AppendList(text, sizes, [](std::string& out, const ImageSize& size) {
    AppendNumber(AppendNumber(out, size.width) += 'x', size.height);
  });
}

// "3926.1796653463.489580466,2608.1796653463.5": stamps as size, seconds, nanoseconds.
bool ReadStampFields(std::string_view text, FileStamp& stamp) {
  const auto parts = SplitFields<3>(text, '.');
  return parts && ReadWholeNumber((*parts)[0], stamp.size) && ReadWholeNumber((*parts)[1], stamp.modified_seconds) &&
         ReadWholeNumber((*parts)[2], stamp.modified_nanoseconds);
}

// A record holds three stamps a picture: the usual ones (no sign, up to 18 digits a
// number) are read in one pass; any other text goes to ReadStampFields, which reads
// what else may be written and refuses damage.
bool ReadStamp(std::string_view text, FileStamp& stamp) {
  constexpr std::size_t kMostDigits = 18;  // below 10^18, well inside 64 bits
  std::uint64_t parts[2] = {0, 0};  // the two before the last dot
  std::size_t part = 0;
  std::uint64_t value = 0;  // the number being read, in a register of its own
  std::size_t digits = 0;
  for (const char c : text) {
    const auto digit = static_cast<unsigned char>(c - '0');
    if (digit <= 9 && digits < kMostDigits) {
      value = value * 10 + digit;
      ++digits;
    } else if (c == '.' && digits > 0 && part < 2) {
      parts[part++] = value;
      value = 0;
      digits = 0;
    } else {
      return ReadStampFields(text, stamp);
    }
  }
  if (part != 2 || digits == 0) return ReadStampFields(text, stamp);
  stamp.size = parts[0];
  stamp.modified_seconds = static_cast<std::int64_t>(parts[1]);
  stamp.modified_nanoseconds = static_cast<std::int64_t>(value);
  return true;
}

std::string& AppendStamp(std::string& text, const FileStamp& stamp) {
  return AppendNumber(AppendNumber(AppendNumber(text, stamp.size) += '.', stamp.modified_seconds) += '.',
                      stamp.modified_nanoseconds);
}

bool ReadStamps(std::string_view text, std::vector<FileStamp>& stamps) { return ReadList(text, stamps, ReadStamp); }

std::string& AppendStamps(std::string& text, const std::vector<FileStamp>& stamps) {
  return AppendList(text, stamps, AppendStamp);
}

// "folders 8192.1796684553.410744537 -": the folders' stamps, "-" where there is none.
bool ReadFolders(std::string_view line, ImagingRecord& record) {
  const auto fields = SplitFields<3>(line, ' ');
  if (!fields || (*fields)[0] != kFoldersWord) return false;
  const auto read = [](std::string_view text, std::optional<FileStamp>& stamp) {
    if (text == kNoStamp) return true;
    stamp.emplace();
    return ReadStamp(text, *stamp);
  };
  return read((*fields)[1], record.thumbnail_folder) && read((*fields)[2], record.display_folder);
}

std::string& AppendFolders(std::string& text, const ImagingRecord& record) {
  text.append(kFoldersWord);
  for (const auto* stamp : {&record.thumbnail_folder, &record.display_folder}) {
    text += ' ';
    if (*stamp) {
      AppendStamp(text, **stamp);
    } else {
      text.append(kNoStamp);
    }
  }
  return text;
}

std::optional<ImagingSettings> ParseSettings(std::string_view line) {
  const auto split = SplitFields<8>(line, ' ');
  if (!split) return std::nullopt;
  const auto& fields = *split;
  ImagingSettings settings;
  if (fields[0] != kSettingsWord || !ReadNumbers(fields[1], settings.thumbnail_sides) ||
      !ReadNumbers(fields[2], settings.display_boxes) || !ReadWholeNumber(fields[3], settings.thumbnail_quality) ||
      !ReadWholeNumber(fields[4], settings.display_quality) || !ReadWholeNumber(fields[5], settings.webp_quality) ||
      !ReadFlag(fields[6], settings.keep_location) || !ReadFlag(fields[7], settings.original_published)) {
    return std::nullopt;
  }
  return settings;
}

// One picture's line; a line of the format before has no stamps' field.
template <std::size_t Count>
std::optional<RecordedPicture> ParsePicture(std::string_view line) {
  const auto split = SplitFields<Count>(line, '\t');
  if (!split) return std::nullopt;
  const auto& fields = *split;
  RecordedPicture picture;
  PreparedPicture& sizes = picture.sizes;
  constexpr std::size_t kPaths = Count - 3;
  if (!ReadWholeNumber(fields[0], picture.source_stamp.size) ||
      !ReadWholeNumber(fields[1], picture.source_stamp.modified_seconds) ||
      !ReadWholeNumber(fields[2], picture.source_stamp.modified_nanoseconds) ||
      !ReadSizes(fields[3], sizes.thumbnails) ||
      !ReadSizes(fields[4], sizes.displays) || !ReadFlag(fields[5], sizes.display_is_original) ||
      !ReadFlag(fields[6], sizes.thumbnails_webp) || !ReadFlag(fields[7], sizes.displays_webp) ||
      (Count == kPictureFields && !ReadStamps(fields[8], picture.image_stamps)) || fields[kPaths].empty() ||
      fields[kPaths + 1].empty()) {
    return std::nullopt;
  }
  picture.source = fields[kPaths];
  picture.thumbnail = fields[kPaths + 1];
  picture.display = fields[kPaths + 2];
  return picture;
}

}  // namespace

std::string ImagingRecordBytes(const ImagingRecord& record) {
  const ImagingSettings& s = record.settings;
  std::string bytes;
  std::size_t size = 64;
  for (const RecordedPicture& p : record.pictures) size += p.source.size() + p.thumbnail.size() + p.display.size() + 160;
  bytes.reserve(size);
  bytes.append(kFormatLine).append(kLineEnd);
  bytes.append(kSettingsWord) += ' ';
  AppendNumbers(bytes, s.thumbnail_sides) += ' ';
  AppendNumbers(bytes, s.display_boxes) += ' ';
  AppendNumber(bytes, s.thumbnail_quality) += ' ';
  AppendNumber(bytes, s.display_quality) += ' ';
  AppendNumber(bytes, s.webp_quality).append(s.keep_location ? " 1" : " 0").append(s.original_published ? " 1" : " 0");
  bytes.append(kLineEnd);
  AppendFolders(bytes, record).append(kLineEnd);
  const auto flag = [](bool value) { return value ? "1\t" : "0\t"; };
  for (const RecordedPicture& p : record.pictures) {
    if (!IsOneField(p.source) || !IsOneField(p.thumbnail) || !IsOneField(p.display)) continue;
    const PreparedPicture& z = p.sizes;
    AppendNumber(bytes, p.source_stamp.size) += '\t';
    AppendNumber(bytes, p.source_stamp.modified_seconds) += '\t';
    AppendNumber(bytes, p.source_stamp.modified_nanoseconds) += '\t';
    AppendSizes(bytes, z.thumbnails) += '\t';
    AppendSizes(bytes, z.displays) += '\t';
    bytes.append(flag(z.display_is_original)).append(flag(z.thumbnails_webp)).append(flag(z.displays_webp));
    AppendStamps(bytes, p.image_stamps) += '\t';
    bytes.append(p.source).append("\t").append(p.thumbnail).append("\t").append(p.display).append(kLineEnd);
  }
  return bytes;
}

std::optional<ImagingRecord> ParseImagingRecord(std::string_view bytes) {
  if (bytes.size() > kMaxImagingRecordBytes) return std::nullopt;
  std::optional<ImagingRecord> record;
  bool with_stamps = true;
  std::size_t first_picture = 3;  // the number of the first picture's line
  const bool whole = ReadRecordLines(bytes, [&](std::size_t number, std::string_view line) {
    if (line.size() > kMaxImagingRecordLineBytes) return false;
    if (number == 0) {
      with_stamps = line != kFormatLineWithoutStamps;
      if (line != kFormatLine) first_picture = 2;
      return line == kFormatLine || line == kFormatLineWithoutFolders || line == kFormatLineWithoutStamps;
    }
    if (number == 1) {
      const auto settings = ParseSettings(line);
      if (!settings) return false;
      record = ImagingRecord{*settings, {}, std::nullopt, std::nullopt};
      // A line per picture from here on, counted by finding each line's end (a byte by
      // byte count took a third of the parse).
      std::size_t lines = 0;
      for (std::size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1)) ++lines;
      record->pictures.reserve(lines > first_picture ? lines - first_picture : 0);
      return true;
    }
    if (number < first_picture) return ReadFolders(line, *record);
    auto picture = with_stamps ? ParsePicture<kPictureFields>(line) : ParsePicture<kPictureFields - 1>(line);
    if (!picture) return false;
    record->pictures.push_back(std::move(*picture));
    return true;
  });
  if (!whole) return std::nullopt;
  return record;  // moved, as a conditional expression would copy it
}

}  // namespace quorvale
