#include "platform/file_reading.h"

#include <algorithm>

#include "platform/windows/contained_files.h"
#include "platform/windows/handle.h"
#include "platform/windows/wide_text.h"

namespace quorvale {

namespace {

// The whole file when `start` is 0 (refused above `limit`), else its first `start`
// bytes; `size` gets the whole file's size.
std::optional<std::string> ReadBelow(const std::string& root, const std::string& path, std::uintmax_t limit,
                                     std::size_t start, std::uintmax_t& size, std::string* reason) {
  const auto fail = [reason](std::string why) -> std::optional<std::string> {
    if (reason) *reason = std::move(why);
    return std::nullopt;
  };
  // The folders on the way stay pinned while the file is read.
  auto checked = windows::CheckParentBelow(root, path);
  if (auto* why = std::get_if<std::string>(&checked)) return fail(*why);
  auto entry = windows::EntryAt(path);
  if (auto* why = std::get_if<std::string>(&entry)) return fail(*why);
  switch (std::get<windows::Entry>(entry).kind) {
    case windows::EntryKind::kMissing: return fail(std::string());
    case windows::EntryKind::kLink: return fail(LinkRefusal(path));
    case windows::EntryKind::kFolder: return fail(NotRegularRefusal(path));
    case windows::EntryKind::kFile: break;
  }
  windows::Handle file(CreateFileW(windows::SystemPath(path).c_str(), GENERIC_READ, windows::kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) return fail(windows::LastErrorText());
  // Opened as itself, a link swapped in since the check above is seen here.
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.get(), &info)) return fail(windows::LastErrorText());
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return fail(LinkRefusal(path));
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return fail(NotRegularRefusal(path));
  size = (std::uintmax_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  if (start == 0 && size > limit) return fail(TooLargeReason(path, limit));

  std::string content;
  // Room for what the file holds: a header reader asks for more than most files have.
  content.reserve(static_cast<std::size_t>(start == 0 ? size : std::min<std::uintmax_t>(start, size)));
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return fail(windows::LastErrorText());
    if (got == 0) return content;
    if (start != 0) {
      content.append(buffer, std::min(static_cast<std::size_t>(got), start - content.size()));
      if (content.size() == start) return content;
      continue;
    }
    // A file that grew since its size was asked is still held to the limit.
    if (content.size() + got > limit) return fail(TooLargeReason(path, limit));
    content.append(buffer, got);
  }
}

}  // namespace

std::optional<std::string> ReadFileBelow(const std::string& root, const std::string& path, std::uintmax_t limit,
                                         std::string* reason) {
  std::uintmax_t size = 0;
  return ReadBelow(root, path, limit, 0, size, reason);
}

std::optional<std::string> ReadFileStartBelow(const std::string& root, const std::string& path, std::size_t count,
                                              std::uintmax_t& size, std::string* reason) {
  return ReadBelow(root, path, 0, std::max<std::size_t>(count, 1), size, reason);
}

}  // namespace quorvale
