#include "platform/windows/contained_files.h"

#include <random>

#include "platform/folder_walks.h"
#include "platform/path.h"
#include "platform/windows/wide_text.h"

namespace quorvale::windows {
namespace {

bool IsMissingError(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_BAD_NETPATH ||
         error == ERROR_BAD_NET_NAME;
}

// Opens a folder between the root and a target so that it cannot be renamed, removed
// or replaced while the handle is open, and checks that it is a real folder. The
// handle asks to list the folder: a handle with attribute access alone would not have
// its sharing enforced.
std::variant<Handle, std::string> PinFolder(const std::string& folder) {
  Handle handle(CreateFileW(SystemPath(folder).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle.valid()) {
    const DWORD error = GetLastError();
    return SystemReason(IsMissingError(error) ? ERROR_PATH_NOT_FOUND : error);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle.get(), &info)) return LastErrorText();
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsLinkReparsePoint(folder)) {
    return LinkRefusal(folder);
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return NotFolderRefusal(folder);
  return handle;
}

}  // namespace

std::string SystemReason(DWORD error) { return ErrorText(error); }

bool IsLinkReparsePoint(const std::string& path) {
  WIN32_FIND_DATAW data{};
  const HANDLE found = FindFirstFileExW(SystemPath(path).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                        nullptr, 0);
  if (found == INVALID_HANDLE_VALUE) return true;  // cannot tell: not followed
  FindClose(found);
  return data.dwReserved0 == IO_REPARSE_TAG_SYMLINK || data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT;
}

std::variant<Entry, std::string> EntryAt(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (IsMissingError(error)) return Entry{};
    return SystemReason(error);
  }
  Entry entry;
  entry.read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsLinkReparsePoint(path)) {
    entry.kind = EntryKind::kLink;
  } else {
    entry.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::kFolder : EntryKind::kFile;
  }
  return entry;
}

std::variant<ContainedParent, std::string> CheckParentBelow(const std::string& root, const std::string& path) {
  const bool below_root = !root.empty() && path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                          IsPathSeparator(path[root.size()]);
  std::size_t last = path.size();
  while (last > PathRootLength(path) && !IsPathSeparator(path[last - 1])) --last;
  if (last == path.size()) return NotRegularRefusal(path);  // the path names a folder

  // Every component between the root and the last one must be a real folder.
  ContainedParent parent{FolderOf(path), path.substr(last), {}};
  for (std::size_t begin = below_root ? root.size() : last; begin < last;) {
    while (begin < last && IsPathSeparator(path[begin])) ++begin;
    std::size_t end = begin;
    while (end < last && !IsPathSeparator(path[end])) ++end;
    if (end == begin) break;
    auto pinned = PinFolder(path.substr(0, end));
    if (auto* reason = std::get_if<std::string>(&pinned)) return *reason;
    parent.pinned.push_back(std::get<Handle>(std::move(pinned)));
    begin = end;
  }
  return parent;
}

std::variant<ContainedParent, std::string> CheckFolderBelow(const std::string& root, const std::string& folder) {
  auto checked = CheckParentBelow(root, folder);
  if (auto* reason = std::get_if<std::string>(&checked)) return *reason;
  ContainedParent parent = std::get<ContainedParent>(std::move(checked));
  parent.folder = folder;
  parent.name.clear();
  if (folder != root) {
    auto pinned = PinFolder(folder);
    if (auto* reason = std::get_if<std::string>(&pinned)) return *reason;
    parent.pinned.push_back(std::get<Handle>(std::move(pinned)));
  }
  return parent;
}

std::optional<std::string> CheckReplaceable(const std::string& path, std::optional<Entry>& existing) {
  auto entry = EntryAt(path);
  if (auto* reason = std::get_if<std::string>(&entry)) return *reason;
  const Entry& found = std::get<Entry>(entry);
  switch (found.kind) {
    case EntryKind::kMissing: return std::nullopt;
    case EntryKind::kLink: return LinkRefusal(path);
    case EntryKind::kFolder: return NotRegularRefusal(path);
    case EntryKind::kFile: existing = found; return std::nullopt;
  }
  return std::nullopt;
}

std::variant<std::pair<Handle, std::string>, std::string> CreateTemporaryIn(const std::string& folder,
                                                                            std::string_view prefix) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";  // names ignore case here
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name(prefix);
    for (int i = 0; i < kTemporaryRandomLength; ++i) name += kLetters[pick(random)];
    std::string path = folder.empty() ? name : JoinPath(folder, name);
    Handle file(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (file.valid()) return std::pair<Handle, std::string>(std::move(file), std::move(path));
    if (GetLastError() != ERROR_FILE_EXISTS) return LastErrorText();
  }
  return SystemReason(ERROR_FILE_EXISTS);
}

std::optional<std::string> ReplaceWithTemporary(const std::string& temporary, const std::string& target) {
  const std::wstring from = SystemPath(temporary);
  // A plain rename refuses an existing target on Windows; this one replaces it, and
  // returns only when the move has reached the disk.
  if (MoveFileExW(from.c_str(), SystemPath(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return std::nullopt;
  }
  const std::string reason = LastErrorText();
  DeleteFileW(from.c_str());
  return reason;
}

void RemoveTemporaries(const std::string& folder, std::string_view prefix) {
  WIN32_FIND_DATAW data{};
  const std::string pattern = JoinPath(folder, std::string(prefix) + "*");
  const HANDLE found = FindFirstFileExW(SystemPath(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                        nullptr, 0);
  if (found == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Narrow(data.cFileName);
    const bool plain_file = (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    if (plain_file && name.size() == prefix.size() + kTemporaryRandomLength && name.starts_with(prefix)) {
      DeleteFileW(SystemPath(JoinPath(folder, name)).c_str());
    }
  } while (FindNextFileW(found, &data));
  FindClose(found);
}

}  // namespace quorvale::windows

namespace quorvale {

// Windows checks the folders of each path by their handles; nothing is kept.
FolderWalkMemory::FolderWalkMemory(const std::string&) {}
FolderWalkMemory::~FolderWalkMemory() = default;

}  // namespace quorvale
