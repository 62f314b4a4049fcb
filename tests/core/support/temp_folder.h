#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace quorvale::testing {

// A fresh, empty folder for one test, removed with everything in it afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("quorvale-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace quorvale::testing
