#include "platform/folder_removal.h"

#include <algorithm>
#include <variant>
#include <vector>

#include "platform/folder_listing.h"
#include "platform/path.h"
#include "platform/windows/contained_files.h"
#include "platform/windows/wide_text.h"

namespace quorvale {
namespace {

using windows::SystemPath;

// The entries of a folder in byte order of their names.
std::variant<std::vector<FolderEntry>, std::string> SortedEntries(const std::string& folder) {
  std::string reason;
  auto entries = ListFolder(folder, &reason);
  if (!entries) return reason;
  std::sort(entries->begin(), entries->end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return std::move(*entries);
}

RemovalFailure Failed(std::string entry, DWORD error) { return {std::move(entry), windows::SystemReason(error), false}; }
RemovalFailure Failed(std::string entry, std::string reason) { return {std::move(entry), std::move(reason), false}; }
RemovalFailure ReadOnly(std::string entry) {
  return {std::move(entry), windows::SystemReason(ERROR_ACCESS_DENIED), true};
}

// Read-only is an attribute of the file on Windows; the system refuses to delete such
// a file, and the user is told to look for it.
bool IsReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Deletes a file by first moving it out of the tree into `aside` (the folder that holds
// the tree) and deleting it there. A file that another handle holds open, shared for
// deletion (a run's lock file, which Clear itself holds), is only marked for deletion
// until that handle closes, and a folder that still lists it cannot be removed; moved
// aside, it no longer stands in the way.
bool DeleteMovingAside(const std::string& file, const std::string& aside) {
  const std::wstring path = SystemPath(file);
  auto temporary = windows::CreateTemporaryIn(aside, ".quorvale-delete-");
  if (auto* created = std::get_if<std::pair<windows::Handle, std::string>>(&temporary)) {
    created->first.Close();
    const std::wstring moved = SystemPath(created->second);
    if (MoveFileExW(path.c_str(), moved.c_str(), MOVEFILE_REPLACE_EXISTING)) return DeleteFileW(moved.c_str()) != 0;
    DeleteFileW(moved.c_str());
  }
  return DeleteFileW(path.c_str()) != 0;
}

// One folder being emptied: its path, its entries and how far the removal has come.
struct Level {
  std::string path;
  std::vector<FolderEntry> entries;
  std::size_t next = 0;
};

// Deletes the regular file (or, with `folder`, the empty folder) at `path` below `root`;
// a link or another kind of entry stays, and a missing one is no failure.
std::optional<std::string> RemoveEntryBelow(const std::string& root, const std::string& path, bool folder) {
  auto checked = windows::CheckParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&checked)) return *reason;
  auto entry = windows::EntryAt(path);
  if (auto* reason = std::get_if<std::string>(&entry)) return *reason;
  switch (std::get<windows::Entry>(entry).kind) {
    case windows::EntryKind::kMissing: return std::nullopt;
    case windows::EntryKind::kLink: return LinkRefusal(path);
    case windows::EntryKind::kFolder:
      if (!folder) return NotRegularRefusal(path);
      break;
    case windows::EntryKind::kFile:
      if (folder) return NotFolderRefusal(path);
      break;
  }
  const std::wstring system_path = SystemPath(path);
  if (!(folder ? RemoveDirectoryW(system_path.c_str()) : DeleteFileW(system_path.c_str())) &&
      GetLastError() != ERROR_FILE_NOT_FOUND) {
    return windows::LastErrorText();
  }
  return std::nullopt;
}

}  // namespace

// Walks with an explicit stack rather than recursion, so a deep tree cannot exhaust the
// thread's stack; each level holds only its own folder's names.
std::optional<RemovalFailure> RemoveFolderTree(const std::string& path) {
  std::vector<Level> levels;
  const auto descend = [&levels](const std::string& folder) -> std::optional<RemovalFailure> {
    auto listed = SortedEntries(folder);
    if (auto* reason = std::get_if<std::string>(&listed)) return Failed(FileNameOf(folder), *reason);
    levels.push_back({folder, std::get<std::vector<FolderEntry>>(std::move(listed))});
    return std::nullopt;
  };
  const std::string aside = FolderOf(path);
  if (auto failure = descend(path)) return failure;
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.next == level.entries.size()) {
      const std::string done = level.path;
      levels.pop_back();
      if (!RemoveDirectoryW(SystemPath(done).c_str())) return Failed(FileNameOf(done), GetLastError());
      continue;
    }
    const FolderEntry entry = level.entries[level.next++];
    const std::string child = JoinPath(level.path, entry.name);
    if (entry.kind == FolderEntry::Kind::kLink) {
      // A link to a folder goes as a folder entry, a link to a file as a file entry.
      const std::wstring link = SystemPath(child);
      if (!RemoveDirectoryW(link.c_str()) && !DeleteFileW(link.c_str())) return Failed(entry.name, GetLastError());
    } else if (entry.kind == FolderEntry::Kind::kFolder) {
      if (auto failure = descend(child)) return failure;
    } else if (IsReadOnly(child)) {
      return ReadOnly(entry.name);
    } else if (!DeleteMovingAside(child, aside)) {
      return Failed(entry.name, GetLastError());
    }
  }
  return std::nullopt;
}

std::optional<RemovalFailure> RemoveFolderTreeBelow(const std::string& root, const std::string& path) {
  // The folders on the way stay pinned, so none of them becomes a link meanwhile.
  auto checked = windows::CheckParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&checked)) return Failed(FileNameOf(path), *reason);
  auto entry = windows::EntryAt(path);
  if (auto* reason = std::get_if<std::string>(&entry)) return Failed(FileNameOf(path), *reason);
  const windows::EntryKind kind = std::get<windows::Entry>(entry).kind;
  if (kind == windows::EntryKind::kLink) return Failed(FileNameOf(path), LinkRefusal(path));
  if (kind != windows::EntryKind::kFolder) return Failed(FileNameOf(path), NotFolderRefusal(path));
  return RemoveFolderTree(path);
}

std::optional<std::string> RemoveFileBelow(const std::string& root, const std::string& path) {
  return RemoveEntryBelow(root, path, false);
}

std::optional<std::string> RemoveEmptyFolderBelow(const std::string& root, const std::string& path) {
  return RemoveEntryBelow(root, path, true);
}

}  // namespace quorvale
