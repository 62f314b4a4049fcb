#pragma once

#include <filesystem>
#include <system_error>

namespace quorvale::testing {

// Whether the tests may make symbolic links to files and folders in `folder`: Windows
// grants that to administrators and in developer mode only, and Wine may lack it.
inline bool CanMakeLinks(const std::filesystem::path& folder) {
  std::error_code file_error, folder_error, ignored;
  std::filesystem::create_symlink(folder / "nowhere", folder / "probe-file-link", file_error);
  std::filesystem::create_directory_symlink(folder, folder / "probe-folder-link", folder_error);
  std::filesystem::remove(folder / "probe-file-link", ignored);
  std::filesystem::remove(folder / "probe-folder-link", ignored);
  return !file_error && !folder_error;
}

}  // namespace quorvale::testing
