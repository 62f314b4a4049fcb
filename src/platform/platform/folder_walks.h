#pragma once

#include <string>

namespace quorvale {

// While one lives on a thread, the walks below `root` that reach a folder without
// following a link (WriteFileBelow, FolderBelow, ListFolderBelow and the others) keep
// the last few folders they opened and start from the deepest one that holds the next
// path, instead of from `root` again: a run's many files in a few folders then cost no
// walk each. A remembered folder was reached without a link when it was opened, and
// stays that folder whatever is put in its place later. Meant for one run, whose
// folders below `root` are its own; a folder removed by a removal below the root
// meanwhile makes them all forgotten. Another thread's walks are not affected. On
// Windows, which checks the folders of each path by their handles, it keeps nothing.
class FolderWalkMemory {
 public:
  explicit FolderWalkMemory(const std::string& root);
  ~FolderWalkMemory();
  FolderWalkMemory(const FolderWalkMemory&) = delete;
  FolderWalkMemory& operator=(const FolderWalkMemory&) = delete;

 private:
  [[maybe_unused]] bool active_ = false;  // false for one made while another lives on the thread
};

}  // namespace quorvale
