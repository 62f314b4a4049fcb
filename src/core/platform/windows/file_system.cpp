#include "platform/file_system.h"

#include <atomic>

#include "platform/path.h"
#include "platform/windows/handle.h"
#include "platform/windows/wide_text.h"

namespace quorvale {
namespace {

using windows::Handle;
using windows::SystemPath;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::optional<std::string> WriteAndClose(Handle& file, std::string_view bytes) {
  if (!file.valid()) return LastSystemReason();
  if (!windows::WriteAll(file.get(), bytes.data(), bytes.size())) return LastSystemReason();
  if (!file.Close()) return LastSystemReason();
  return std::nullopt;
}

DWORD AttributesOf(const std::string& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(SystemPath(path).c_str());
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

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* reason) {
  Handle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) {
    if (reason) *reason = LastSystemReason();
    return std::nullopt;
  }
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      if (reason) *reason = LastSystemReason();
      return std::nullopt;
    }
    if (got == 0) return content;
    content.append(buffer, got);
  }
}

std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes) {
  Handle file(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return WriteAndClose(file, bytes);
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
  // State: write everything into a fresh temporary file in the target's folder. Its
  // name is short, so a target whose own name is as long as the system allows still
  // gets one; CREATE_NEW never takes over a file that is there.
  static std::atomic<unsigned> counter{0};
  const std::string folder = FolderOf(path);
  std::string temp;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    const unsigned long long tag =
        (static_cast<unsigned long long>(GetCurrentProcessId()) << 20) ^ GetTickCount64() ^ (counter++ * 7919u);
    const std::string name = ".quorvale-save-" + std::to_string(tag % 1000000u);
    temp = folder.empty() ? name : JoinPath(folder, name);
    created = CreateFileW(SystemPath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return LastSystemReason();
  }
  Handle file(created);
  if (!file.valid()) return LastSystemReason();
  const std::wstring wide_temp = SystemPath(temp);
  const bool written = windows::WriteAll(file.get(), bytes.data(), bytes.size()) && FlushFileBuffers(file.get());
  const std::string write_reason = written ? std::string() : LastSystemReason();
  if (!file.Close() || !written) {
    const std::string reason = written ? LastSystemReason() : write_reason;
    DeleteFileW(wide_temp.c_str());
    return reason;
  }
  // State: the temporary file is complete; replace the target in one step. A plain
  // rename refuses an existing target on Windows, so the second Save would fail.
  if (!MoveFileExW(wide_temp.c_str(), SystemPath(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const std::string reason = LastSystemReason();
    DeleteFileW(wide_temp.c_str());
    return reason;
  }
  return std::nullopt;
}

std::optional<std::string> AppendToFile(const std::string& path, std::string_view bytes) {
  Handle file(CreateFileW(SystemPath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return WriteAndClose(file, bytes);
}

}  // namespace quorvale
