#pragma once

#include <memory>
#include <string>

namespace quorvale {

// An advisory lock on a lock file, held for as long as the object lives. The system
// drops it when the process ends, however it ends, so a crash never leaves a folder
// locked. Two locks on one file exclude each other also within one process.
class FileLock {
 public:
  enum class State {
    kHeld,         // this object holds the lock
    kBusy,         // somebody else holds it
    kUnavailable,  // the lock file cannot be had (see Reason); nothing is held
  };

  // Tries once and never waits. The lock file at `path` below `root` is reached without
  // following a link (see WriteFileBelow) and created when missing, unless `create` is
  // false: then a missing lock file, which nobody can hold, leaves the state kUnavailable.
  FileLock(const std::string& root, const std::string& path, bool create = true);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  State GetState() const { return state_; }
  const std::string& Reason() const { return reason_; }

 private:
  struct OpenFile;  // the system's handle on the lock file, while the lock is held
  std::unique_ptr<OpenFile> file_;
  State state_ = State::kUnavailable;
  std::string reason_;
};

}  // namespace quorvale
