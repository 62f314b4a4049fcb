#include "window/recent_projects.h"

#include <algorithm>

namespace quorvale {

void RecentProjects::Assign(const std::vector<std::string>& paths) {
  paths_.clear();
  for (const std::string& path : paths) {
    if (paths_.size() == kLimit) break;
    if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end()) paths_.push_back(path);
  }
}

void RecentProjects::Add(const std::string& path) {
  Remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kLimit) paths_.resize(kLimit);
}

void RecentProjects::Remove(const std::string& path) { std::erase(paths_, path); }

}  // namespace quorvale
