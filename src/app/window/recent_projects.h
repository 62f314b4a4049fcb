#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorvale {

// The project files opened or saved last, newest first, each once, at most eight: what
// Project > Recent Projects offers. The window keeps them between sessions in the
// user's settings and hands them back with Assign.
class RecentProjects {
 public:
  static constexpr std::size_t kLimit = 8;

  // The list as it was kept: blank and repeated entries dropped, the newest eight kept.
  void Assign(const std::vector<std::string>& paths);
  // `path` was opened or saved: it moves to the top.
  void Add(const std::string& path);
  // `path` could not be opened again: it leaves the list.
  void Remove(const std::string& path);
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
};

}  // namespace quorvale
