#include "platform/file_system.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/path.h"
#include "platform/windows/contained_files.h"
#include "platform/windows/handle.h"
#include "platform/windows/wide_text.h"

namespace quorvale {
namespace {

using windows::CheckParentBelow;
using windows::CheckReplaceable;
using windows::ContainedParent;
using windows::Entry;
using windows::EntryKind;
using windows::Handle;
using windows::kShareAll;
using windows::SystemPath;

DWORD AttributesOf(const std::string& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(SystemPath(path).c_str());
}

// The content goes to a temporary file in the target's folder, which then replaces the
// target in one step. With `sync`, the content reaches the disk before it does.
std::optional<std::string> ReplaceFile(const ContainedParent& parent, const std::string& target,
                                       const BytePieces& pieces, std::string_view prefix, bool sync) {
  auto created = windows::CreateTemporaryIn(parent.folder, prefix);
  if (auto* reason = std::get_if<std::string>(&created)) return *reason;
  auto [file, temporary] = std::get<std::pair<Handle, std::string>>(std::move(created));
  std::string write_failure;
  const auto source_failure = pieces([&](std::string_view piece) {
    if (windows::WriteAll(file.get(), piece.data(), piece.size())) return true;
    write_failure = LastSystemReason();
    return false;
  });
  if (source_failure && write_failure.empty()) write_failure = *source_failure;
  if (write_failure.empty() && sync && !FlushFileBuffers(file.get())) write_failure = LastSystemReason();
  const bool written = write_failure.empty();
  // Closed before the move: the file is shared with nobody while it is open.
  if (!file.Close() || !written) {
    const std::string reason = written ? LastSystemReason() : write_failure;
    DeleteFileW(SystemPath(temporary).c_str());
    return reason;
  }
  return windows::ReplaceWithTemporary(temporary, target);
}

// Whether the file at `path`, checked to be a regular file, holds exactly the `pieces`
// (of `size` bytes, when known): then writing them would change nothing, and the file,
// its time included, is left as it is. A file that cannot be read is written as ever.
bool HoldsExactly(const std::string& path, const BytePieces& pieces, std::optional<std::uintmax_t> size) {
  Handle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER file_size{};
  if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &file_size) ||
      (size && static_cast<std::uint64_t>(file_size.QuadPart) != *size)) {
    return false;
  }
  return PiecesMatchRead(pieces, [&](char* buffer, std::size_t capacity) -> std::ptrdiff_t {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30)), &got, nullptr)) {
      return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
  });
}

// WriteFileBelow and WritePiecesBelow: `size` is the content's, when known.
std::optional<std::string> WriteBelow(const std::string& root, const std::string& path, const BytePieces& pieces,
                                      std::optional<std::uintmax_t> size) {
  auto checked = CheckParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&checked)) return *reason;
  std::optional<Entry> existing;
  if (auto reason = CheckReplaceable(path, existing)) return reason;
  if (existing && existing->read_only) return windows::SystemReason(ERROR_ACCESS_DENIED);
  if (existing && HoldsExactly(path, pieces, size)) return std::nullopt;
  return ReplaceFile(std::get<ContainedParent>(checked), path, pieces, kWriteTemporaryPrefix, false);
}

// The file a symbolic link ends at, as the system resolves it; the path itself when it
// is no link or its target cannot be opened.
std::string FollowLinks(const std::string& path) {
  auto entry = windows::EntryAt(path);
  const auto* found = std::get_if<Entry>(&entry);
  if (found == nullptr || found->kind != EntryKind::kLink) return path;
  Handle file(CreateFileW(SystemPath(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                          nullptr));
  if (!file.valid()) return path;
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return path;
    if (length < name.size()) {
      std::wstring target(name.data(), length);
      if (target.starts_with(L"\\\\?\\UNC\\")) {
        target = L"\\\\" + target.substr(8);
      } else if (target.starts_with(L"\\\\?\\")) {
        target = target.substr(4);
      }
      return windows::Narrow(target);
    }
    name.resize(length + 1);
  }
}

}  // namespace

std::string LastSystemReason() { return windows::LastErrorText(); }

bool FolderExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit, std::string* reason) {
  Handle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  std::string failure;
  if (!file.valid()) {
    failure = LastSystemReason();
  } else if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    failure = NotRegularRefusal(path);
  } else {
    std::string content;
    char buffer[65536];
    for (;;) {
      DWORD got = 0;
      // No more than the caller wants: a format check reads a file's first bytes only.
      const auto wanted = static_cast<DWORD>(std::min(sizeof buffer, limit - content.size()));
      if (!ReadFile(file.get(), buffer, wanted, &got, nullptr)) {
        failure = LastSystemReason();
        break;
      }
      content.append(buffer, got);
      if (got == 0 || content.size() == limit) return content;
    }
  }
  if (reason) *reason = failure;
  return std::nullopt;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* reason) {
  return ReadFileStart(path, std::string::npos, reason);
}

std::optional<std::string> WriteFileBelow(const std::string& root, const std::string& path, std::string_view bytes) {
  return WriteBelow(root, path, WholePieces(bytes), bytes.size());
}

std::optional<std::string> WritePiecesBelow(const std::string& root, const std::string& path, const BytePieces& pieces) {
  return WriteBelow(root, path, pieces, std::nullopt);
}

void RemoveLeftoverWrites(const std::string& root, const std::string& folder) {
  auto checked = CheckParentBelow(root, JoinPath(folder, kWriteTemporaryPrefix));
  if (std::holds_alternative<std::string>(checked)) return;
  for (const std::string_view prefix : {kWriteTemporaryPrefix, kCopyTemporaryPrefix}) {
    windows::RemoveTemporaries(folder, prefix);
  }
}

std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes) {
  return WriteFileBelow(std::string(), path, bytes);
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
  // State: the file the path stands for: a link is saved through, and stays a link.
  const std::string target = FollowLinks(path);
  auto checked = CheckParentBelow(std::string(), target);
  if (auto* reason = std::get_if<std::string>(&checked)) return *reason;
  const ContainedParent& parent = std::get<ContainedParent>(checked);
  std::optional<Entry> existing;
  if (auto reason = CheckReplaceable(target, existing)) return reason;
  if (existing && existing->read_only) return std::string(kReadOnlyReason);
  // State: what a killed save of this target left behind is gone; the temporary file
  // of a save still under way is open and cannot be deleted.
  const std::string prefix = SaveTemporaryPrefix(parent.name);
  windows::RemoveTemporaries(parent.folder, prefix);
  return ReplaceFile(parent, target, WholePieces(bytes), prefix, true);
}

std::optional<std::string> AppendToFileBelow(const std::string& root, const std::string& path,
                                             std::string_view bytes) {
  auto checked = CheckParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&checked)) return *reason;
  auto entry = windows::EntryAt(path);
  if (auto* reason = std::get_if<std::string>(&entry)) return *reason;
  const EntryKind kind = std::get<Entry>(entry).kind;
  if (kind == EntryKind::kLink) return LinkRefusal(path);
  if (kind == EntryKind::kFolder) return NotRegularRefusal(path);
  Handle file(CreateFileW(SystemPath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) return LastSystemReason();
  // Opened as itself, a link swapped in since the check above is seen here.
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.get(), &info)) return LastSystemReason();
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return LinkRefusal(path);
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return NotRegularRefusal(path);
  if (!windows::WriteAll(file.get(), bytes.data(), bytes.size())) return LastSystemReason();
  if (!file.Close()) return LastSystemReason();
  return std::nullopt;
}

}  // namespace quorvale
