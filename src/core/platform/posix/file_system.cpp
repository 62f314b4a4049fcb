#include "platform/file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvale {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::optional<std::string> WriteAndClose(std::FILE* file, std::string_view bytes) {
  if (file == nullptr) return LastSystemReason();
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                       std::fflush(file) == 0;
  const std::string reason = written ? std::string() : LastSystemReason();
  if (std::fclose(file) != 0 && written) return LastSystemReason();
  if (!written) return reason;
  return std::nullopt;
}

}  // namespace

std::string LastSystemReason() { return std::strerror(errno); }

bool FolderExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* reason) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    if (reason) *reason = LastSystemReason();
    return std::nullopt;
  }
  std::string content;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  if (failed && reason) *reason = LastSystemReason();
  std::fclose(file);
  if (failed) return std::nullopt;
  return content;
}

std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes) {
  return WriteAndClose(std::fopen(path.c_str(), "wb"), bytes);
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
  // State: write everything into a fresh temporary file in the target's folder. Its
  // name is short, so a target whose own name is as long as the system allows still
  // gets one.
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  std::string temp = (folder / ".quorvale-save-XXXXXX").string();
  const int fd = mkstemp(temp.data());
  if (fd < 0) return LastSystemReason();
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    const std::string reason = LastSystemReason();
    close(fd);
    unlink(temp.c_str());
    return reason;
  }
  if (auto reason = WriteAndClose(file, bytes)) {
    unlink(temp.c_str());
    return reason;
  }
  // State: the temporary file is complete; keep the old file's permissions if any.
  struct stat old_stat {};
  if (stat(path.c_str(), &old_stat) == 0) {
    chmod(temp.c_str(), old_stat.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    chmod(temp.c_str(), 0666 & ~mask);
  }
  // State: replace the target in one step.
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string reason = LastSystemReason();
    unlink(temp.c_str());
    return reason;
  }
  return std::nullopt;
}

std::optional<std::string> AppendToFile(const std::string& path, std::string_view bytes) {
  return WriteAndClose(std::fopen(path.c_str(), "ab"), bytes);
}

}  // namespace quorvale
