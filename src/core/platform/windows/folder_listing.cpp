#include "platform/folder_listing.h"

#include "platform/path.h"
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

}  // namespace quorvale
