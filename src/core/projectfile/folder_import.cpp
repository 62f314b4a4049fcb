#include "projectfile/folder_import.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/path.h"
#include "platform/text_codec.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A line break would split the value's line in a project file and change the project
// when it is read back, so such a name cannot be stored.
bool HoldsLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// The folder's own name, also when the argument ends in separators.
std::string FolderName(std::string folder) {
  while (folder.size() > 1 && folder.back() == kPathSeparator) folder.pop_back();
  return FileNameOf(folder);
}

std::string AbsoluteFolder(const std::string& folder) {
  std::string text = AbsolutePath(folder);
  while (text.size() > 1 && text.back() == kPathSeparator) text.pop_back();
  return text;
}

}  // namespace

bool IsPictureFileName(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = AsciiLower(name.substr(dot + 1));
  return ext == "jpg" || ext == "jpeg" || ext == "gif";
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
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
      result.errors.push_back("The folder \"" + folder + "\" does not exist.");
      continue;
    }
    const std::string title = FirstChars(TrimBlanks(FolderName(folder)), MaxTextLength);
    if (title.empty() || HoldsLineBreak(title)) {
      result.errors.push_back("The name of the folder \"" + folder + "\" cannot be an album title.");
      continue;
    }
    std::vector<std::string> names;
    std::size_t unstorable = 0;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      std::error_code kind_error;
      if (!it->is_regular_file(kind_error)) continue;
      const std::string name = it->path().filename().string();
      if (!IsPictureFileName(name)) continue;
      if (HoldsLineBreak(name)) {
        ++unstorable;
        continue;
      }
      names.push_back(name);
    }
    if (error) {
      result.errors.push_back("The folder \"" + folder + "\" cannot be read: " + error.message() + ".");
      continue;
    }
    if (names.empty()) {
      result.errors.push_back("The folder \"" + folder + "\" holds no .jpg, .jpeg or .gif picture.");
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
    if (unstorable > 0) {
      result.warnings.push_back("Album \"" + title + "\": " + std::to_string(unstorable) +
                                " pictures left out; their file names hold a line break.");
    }
  }
  result.project.SelectAlbum(result.project.AlbumCount() > 0 ? 0 : -1);
  return result;
}

}  // namespace quorvale
