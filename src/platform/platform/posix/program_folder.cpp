#include "platform/program_folder.h"

#include <filesystem>
#include <system_error>

#ifndef QUORVALE_DATA_SUBDIR
#define QUORVALE_DATA_SUBDIR "share/quorvale"
#endif

namespace quorvale {

std::string ExecutableFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::string();
  return exe.parent_path().string();
}

std::string ProgramFolder() {
  namespace fs = std::filesystem;
  const fs::path exe_folder = ExecutableFolder();
  std::error_code error;
  if (fs::is_directory(exe_folder / "Applications", error)) return exe_folder.string();
  const fs::path installed = exe_folder.parent_path() / QUORVALE_DATA_SUBDIR;
  if (fs::is_directory(installed / "Applications", error)) return installed.string();
  return exe_folder.string();
}

}  // namespace quorvale
