#include "projectfile/folder_import.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/path.h"
#include "platform/text_codec.h"
#include "model/picture_format.h"

namespace quorvale {
namespace {

constexpr const char* kNotAPicture = "it is not a JPEG, GIF, HEIC, AVIF, WebP, PNG or TIFF picture";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A line break would split the value's line in a project file and change the project
// when it is read back, so such a name cannot be stored.
bool HoldsLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// A file name as a warning can show it: a line break as "\n" or "\r", a byte that is
// not part of valid UTF-8 as "\x" and two hex digits; everything else as it is.
std::string ShownName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (std::size_t i = 0; i < name.size();) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte == '\n' || byte == '\r') {
      shown += byte == '\n' ? "\\n" : "\\r";
      ++i;
      continue;
    }
    const std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    if (i + length <= name.size() && IsValidUtf8(name.substr(i, length))) {
      shown += name.substr(i, length);
      i += length;
    } else {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
      ++i;
    }
  }
  return shown;
}

// Why a picture file cannot be stored in a project file, or nothing when it can. A
// line break would split the value's line; a name that is not valid UTF-8 would be
// read back as another text.
std::optional<std::string> UnstorableBecause(const std::string& name) {
  if (HoldsLineBreak(name)) return "its file name holds a line break";
  if (!IsValidUtf8(name)) return "its file name is not valid UTF-8";
  return std::nullopt;
}

// The folder's own name, also when the argument ends in separators.
std::string FolderName(std::string folder) {
  while (folder.size() > PathRootLength(folder) && IsPathSeparator(folder.back())) folder.pop_back();
  return FileNameOf(folder);
}

std::string AbsoluteFolder(const std::string& folder) {
  std::string text = AbsolutePath(folder);
  while (text.size() > PathRootLength(text) && IsPathSeparator(text.back())) text.pop_back();
  return text;
}

}  // namespace

bool IsPictureFileName(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string pattern = "*." + AsciiLower(name.substr(dot + 1));
  const auto& patterns = PictureFilePatterns();
  return std::find(patterns.begin(), patterns.end(), pattern) != patterns.end();
}

bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      // Compare the digit runs as numbers: skip leading zeros, then length, then digits.
      std::size_t i_end = i;
      std::size_t j_end = j;
      while (i_end < a.size() && IsDigit(a[i_end])) ++i_end;
      while (j_end < b.size() && IsDigit(b[j_end])) ++j_end;
      std::size_t i_sig = i;
      std::size_t j_sig = j;
      while (i_sig + 1 < i_end && a[i_sig] == '0') ++i_sig;
      while (j_sig + 1 < j_end && b[j_sig] == '0') ++j_sig;
      const std::string_view run_a(a.data() + i_sig, i_end - i_sig);
      const std::string_view run_b(b.data() + j_sig, j_end - j_sig);
      if (run_a.size() != run_b.size()) return run_a.size() < run_b.size();
      if (run_a != run_b) return run_a < run_b;
      i = i_end;
      j = j_end;
      continue;
    }
    const char ca = AsciiLower(a[i]);
    const char cb = AsciiLower(b[j]);
    if (ca != cb) return ca < cb;
    ++i;
    ++j;
  }
  if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
  return a < b;  // names equal but for case or zeros: a stable, exact tie-break
}

FolderImport ImportFolders(const std::vector<std::string>& folders) {
  FolderImport result;
  result.project.ResetProject();
  for (const std::string& folder : folders) {
    if (!FolderExists(folder)) {
      result.errors.push_back("The folder \"" + folder + "\" does not exist.");
      continue;
    }
    const std::string title = FirstChars(TrimBlanks(FolderName(folder)), MaxTextLength);
    if (title.empty() || HoldsLineBreak(title) || !IsValidUtf8(title)) {
      result.errors.push_back("The name of the folder \"" + folder + "\" cannot be an album title.");
      continue;
    }
    std::vector<std::string> names;
    std::vector<std::string> left_out;  // the warnings for pictures that cannot be stored
    std::string listing_failure;
    const auto entries = ListFolder(folder, &listing_failure);
    if (!entries) {
      result.errors.push_back("The folder \"" + folder + "\" cannot be read: " + listing_failure + ".");
      continue;
    }
    for (const FolderEntry& entry : *entries) {
      const std::string& name = entry.name;
      // A link counts when it leads to a file.
      const bool file = entry.kind == FolderEntry::Kind::kFile ||
                        (entry.kind == FolderEntry::Kind::kLink && FileExists(JoinPath(folder, name)));
      if (!file || !IsPictureFileName(name)) continue;
      if (const auto reason = UnstorableBecause(name)) {
        left_out.push_back("picture \"" + ShownName(name) + "\" left out; " + *reason + ".");
        continue;
      }
      if (PictureFormatOfFile(JoinPath(folder, name)) == PictureFormat::kNone) {
        left_out.push_back("file \"" + ShownName(name) + "\" left out; " + kNotAPicture + ".");
        continue;
      }
      names.push_back(name);
    }
    if (names.empty()) {
      result.errors.push_back("The folder \"" + folder + "\" holds no picture.");
      continue;
    }
    std::sort(names.begin(), names.end(), NaturalLess);

    result.project.AddAlbum(title);
    const std::string absolute = AbsoluteFolder(folder);
    std::size_t added = 0;
    for (const std::string& name : names) {
      if (result.project.IsAlbumFull()) break;
      result.project.AddPicture(JoinPath(absolute, name));
      ++added;
    }
    if (added < names.size()) {
      result.warnings.push_back("Album \"" + title + "\": " + std::to_string(names.size() - added) + " of " +
                                std::to_string(names.size()) + " pictures left out; an album holds at most " +
                                std::to_string(MaxPicturesPerAlbum) + " pictures.");
    }
    // Named in name order, whatever order the folder lists them in.
    std::sort(left_out.begin(), left_out.end());
    for (const std::string& warning : left_out) result.warnings.push_back("Album \"" + title + "\": " + warning);
  }
  result.project.SelectAlbum(result.project.AlbumCount() > 0 ? 0 : -1);
  return result;
}

}  // namespace quorvale
