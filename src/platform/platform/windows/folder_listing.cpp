#include "platform/folder_listing.h"

#include "platform/path.h"
#include "platform/windows/contained_files.h"
#include "platform/windows/wide_text.h"

namespace quorvale {

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path, std::string* reason) {
  WIN32_FIND_DATAW data{};
  const HANDLE found = FindFirstFileExW(windows::SystemPath(JoinPath(path, "*")).c_str(), FindExInfoBasic, &data,
                                        FindExSearchNameMatch, nullptr, 0);
  if (found == INVALID_HANDLE_VALUE) {
    if (reason) *reason = windows::LastErrorText();
    return std::nullopt;
  }
  std::vector<FolderEntry> entries;
  do {
    std::string name = windows::Narrow(data.cFileName);
    if (name == "." || name == "..") continue;
    const DWORD attributes = data.dwFileAttributes;
    FolderEntry::Kind kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FolderEntry::Kind::kFolder
                                                                        : FolderEntry::Kind::kFile;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        (data.dwReserved0 == IO_REPARSE_TAG_SYMLINK || data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT)) {
      kind = FolderEntry::Kind::kLink;
    }
    entries.push_back({std::move(name), kind});
  } while (FindNextFileW(found, &data));
  const DWORD error = GetLastError();
  FindClose(found);
  if (error != ERROR_NO_MORE_FILES) {
    if (reason) *reason = windows::ErrorText(error);
    return std::nullopt;
  }
  return entries;
}

std::optional<std::vector<FolderEntry>> ListFolderBelow(const std::string& root, const std::string& path,
                                                        std::string* reason) {
  // The check of a name inside the folder pins the folder itself and every folder on the
  // way while it is listed.
  auto checked = windows::CheckParentBelow(root, JoinPath(path, "*"));
  if (auto* why = std::get_if<std::string>(&checked)) {
    if (reason) *reason = *why;
    return std::nullopt;
  }
  return ListFolder(path, reason);
}

}  // namespace quorvale
