#include "platform/file_lock.h"

#include <memory>
#include <variant>

#include "platform/windows/contained_files.h"
#include "platform/windows/handle.h"
#include "platform/windows/wide_text.h"

namespace quorvale {

struct FileLock::OpenFile {
  windows::Handle handle;
};

FileLock::~FileLock() = default;

FileLock::FileLock(const std::string& root, const std::string& path, bool create) {
  auto checked = windows::CheckParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&checked)) {
    reason_ = *reason;
    return;
  }
  auto entry = windows::EntryAt(path);
  if (auto* reason = std::get_if<std::string>(&entry)) {
    reason_ = *reason;
    return;
  }
  switch (std::get<windows::Entry>(entry).kind) {
    case windows::EntryKind::kLink: reason_ = LinkRefusal(path); return;
    case windows::EntryKind::kFolder: reason_ = NotRegularRefusal(path); return;
    case windows::EntryKind::kMissing:
    case windows::EntryKind::kFile: break;
  }
  // Shared for deletion too, so that Clear can remove the folder the lock file is in
  // while it holds the lock.
  windows::Handle file(CreateFileW(windows::SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   create ? OPEN_ALWAYS : OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) {
    reason_ = windows::LastErrorText();
    return;
  }
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    reason_ = NotRegularRefusal(path);
    return;
  }
  // A lock on the whole file through this handle: another handle, in this process or
  // another, is refused it until this one is closed.
  OVERLAPPED whole_file{};
  if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                  &whole_file)) {
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION) {
      state_ = State::kBusy;
    } else {
      reason_ = windows::SystemReason(error);
    }
    return;
  }
  file_ = std::make_unique<OpenFile>(OpenFile{std::move(file)});
  state_ = State::kHeld;
}

}  // namespace quorvale
