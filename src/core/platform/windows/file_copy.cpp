#include "platform/file_copy.h"

#include <cwctype>
#include <vector>

#include "platform/file_system.h"
#include "platform/windows/handle.h"
#include "platform/windows/wide_text.h"

namespace quorvale {
namespace {

using windows::Handle;
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
  Handle file(CreateFileW(SystemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
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

std::optional<std::string> CopyFileKeepingTime(const std::string& source, const std::string& destination) {
  Handle from(CreateFileW(SystemPath(source).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!from.valid()) return LastSystemReason();
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(from.get(), &info)) return LastSystemReason();
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::string("not a regular file");
  Handle to(CreateFileW(SystemPath(destination).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!to.valid()) return LastSystemReason();
  if (!CopyContent(from.get(), to.get())) return LastSystemReason();
  // Creation and access times are left alone; the last-write time becomes the
  // source's, to the 100 ns.
  if (!SetFileTime(to.get(), nullptr, nullptr, &info.ftLastWriteTime)) return LastSystemReason();
  if (!to.Close()) return LastSystemReason();
  return std::nullopt;
}

std::optional<std::string> CreateFolder(const std::string& path) {
  const std::wstring wide = SystemPath(path);
  if (CreateDirectoryW(wide.c_str(), nullptr)) return std::nullopt;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS && FolderExists(path)) return std::nullopt;
  return windows::ErrorText(error);
}

}  // namespace quorvale
