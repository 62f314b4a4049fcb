#include "platform/file_copy.h"

#include <cwctype>
#include <vector>

#include "platform/file_system.h"
#include "platform/windows/contained_files.h"
#include "platform/windows/handle.h"
#include "platform/windows/wide_text.h"

namespace quorvale {
namespace {

using windows::CheckParentBelow;
using windows::Entry;
using windows::EntryKind;
using windows::Handle;
using windows::kShareAll;
using windows::SystemPath;

// FILETIME counts 100 ns steps from 1601-01-01; the stamp counts from 1970-01-01.
constexpr std::int64_t kStepsFrom1601To1970 = 116'444'736'000'000'000;
constexpr std::int64_t kStepsPerSecond = 10'000'000;
constexpr std::int64_t kWindowsTimeResolution = 100;

// The volume's file system decides how finely it keeps times: FAT12/16/32 and exFAT in
// 2-second steps, NTFS, ReFS and the rest in the system's own 100 ns steps.
std::int64_t TimeResolutionOf(HANDLE file) {
  wchar_t name[MAX_PATH + 1] = {};
  if (!GetVolumeInformationByHandleW(file, nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1)) {
    return kWindowsTimeResolution;
  }
  std::wstring type(name);
  for (wchar_t& c : type) c = static_cast<wchar_t>(std::towupper(c));
  return type.starts_with(L"FAT") || type == L"EXFAT" ? kFatTimeResolution : kWindowsTimeResolution;
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
         error == ERROR_BAD_NETPATH || error == ERROR_DIRECTORY;
}

// Copies every byte as it is: no text mode, so CR LF and 0x1A pass unchanged.
bool CopyContent(HANDLE from, HANDLE to) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
    if (got == 0) return true;
    if (!windows::WriteAll(to, buffer.data(), got)) return false;
  }
}

}  // namespace

std::optional<FileStamp> StampOf(const std::string& path, std::string* reason) {
  if (reason) reason->clear();
  if (path.empty()) return std::nullopt;
  // Opened for no access at all: only the attributes, times and volume are read.
  Handle file(CreateFileW(SystemPath(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                          nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) {
    const DWORD error = GetLastError();
    if (reason && !IsMissing(error)) *reason = windows::ErrorText(error);
    return std::nullopt;
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  const std::int64_t steps =
      static_cast<std::int64_t>((static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                info.ftLastWriteTime.dwLowDateTime) -
      kStepsFrom1601To1970;
  std::int64_t seconds = steps / kStepsPerSecond;
  std::int64_t rest = steps % kStepsPerSecond;
  if (rest < 0) {
    rest += kStepsPerSecond;
    --seconds;
  }
  const std::uintmax_t size = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return FileStamp{size, seconds, rest * 100, TimeResolutionOf(file.get())};
}

std::optional<FileStamp> StampBelow(const std::string& root, const std::string& path) {
  auto checked = CheckParentBelow(root, path);
  if (std::holds_alternative<std::string>(checked)) return std::nullopt;
  auto entry = windows::EntryAt(path);
  const auto* found = std::get_if<Entry>(&entry);
  if (found == nullptr || found->kind != EntryKind::kFile) return std::nullopt;
  return StampOf(path);
}

std::optional<std::string> CopyFileBelow(const std::string& root, const std::string& source,
                                         const std::string& destination) {
  // The source is the user's and may be reached through links; only a file on a disk
  // is read.
  Handle from(CreateFileW(SystemPath(source).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!from.valid()) return LastSystemReason();
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(from.get(), &info)) return LastSystemReason();
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || GetFileType(from.get()) != FILE_TYPE_DISK) {
    return NotRegularRefusal(source);
  }

  auto checked = CheckParentBelow(root, destination);
  if (auto* reason = std::get_if<std::string>(&checked)) return *reason;
  std::optional<Entry> existing;
  if (auto reason = windows::CheckReplaceable(destination, existing)) return reason;
  if (existing && existing->read_only) return windows::SystemReason(ERROR_ACCESS_DENIED);

  auto created = windows::CreateTemporaryIn(std::get<windows::ContainedParent>(checked).folder, kCopyTemporaryPrefix);
  if (auto* reason = std::get_if<std::string>(&created)) return *reason;
  auto [to, temporary] = std::get<std::pair<Handle, std::string>>(std::move(created));
  const auto fail = [&, temporary = temporary](std::string reason) -> std::optional<std::string> {
    DeleteFileW(SystemPath(temporary).c_str());
    return reason;
  };
  if (!CopyContent(from.get(), to.get())) return fail(LastSystemReason());
  // Creation and access times are left alone; the last-write time becomes the
  // source's, to the 100 ns.
  if (!SetFileTime(to.get(), nullptr, nullptr, &info.ftLastWriteTime)) return fail(LastSystemReason());
  if (!to.Close()) return fail(LastSystemReason());
  return windows::ReplaceWithTemporary(temporary, destination);
}

std::optional<std::string> CopyFileKeepingTime(const std::string& source, const std::string& destination) {
  return CopyFileBelow(std::string(), source, destination);
}

std::optional<std::string> CreateFolderBelow(const std::string& root, const std::string& path) {
  auto checked = CheckParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&checked)) return *reason;
  if (CreateDirectoryW(SystemPath(path).c_str(), nullptr)) return std::nullopt;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    auto entry = windows::EntryAt(path);
    if (const auto* found = std::get_if<Entry>(&entry)) {
      if (found->kind == EntryKind::kFolder) return std::nullopt;
      if (found->kind == EntryKind::kLink) return LinkRefusal(path);
      return NotFolderRefusal(path);
    }
  }
  return windows::SystemReason(error);
}

std::optional<std::string> CreateFolder(const std::string& path) { return CreateFolderBelow(std::string(), path); }

}  // namespace quorvale
