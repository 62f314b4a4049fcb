#include "platform/file_copy.h"

#include <system_error>

namespace quorvale {

namespace fs = std::filesystem;

std::optional<FileStamp> StampOf(const std::string& path, std::string* reason) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::is_regular_file(status)) {
    if (reason) *reason = error && error != std::errc::no_such_file_or_directory ? error.message() : std::string();
    return std::nullopt;
  }
  FileStamp stamp;
  stamp.size = fs::file_size(path, error);
  if (!error) stamp.modified = fs::last_write_time(path, error);
  if (error) {
    if (reason) *reason = error.message();
    return std::nullopt;
  }
  return stamp;
}

std::optional<std::string> CopyFileKeepingTime(const std::string& source, const std::string& destination) {
  std::error_code error;
  const fs::file_time_type modified = fs::last_write_time(source, error);
  if (error) return error.message();
  fs::copy_file(source, destination, fs::copy_options::overwrite_existing, error);
  if (error) return error.message();
  fs::last_write_time(destination, modified, error);
  if (error) return error.message();
  return std::nullopt;
}

std::optional<std::string> CreateFolder(const std::string& path) {
  std::error_code error;
  if (fs::create_directory(path, error) || !error) return std::nullopt;
  return error.message();
}

}  // namespace quorvale
