#include "platform/scratch_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/posix/descriptor.h"

namespace quorvale {

struct ScratchFile::Native {
  Descriptor file;
};

namespace {

// A file without a name from the start where the file system allows it, else one
// unlinked as soon as it is made.
Descriptor MakeNameless() {
  std::error_code error;
  const std::string folder = std::filesystem::temp_directory_path(error).string();
  if (error) return Descriptor();
#ifdef O_TMPFILE
  Descriptor nameless(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
  if (nameless.valid()) return nameless;
#endif
  std::string name = folder + "/quorvale-scratch-XXXXXX";
  Descriptor named(::mkostemp(name.data(), O_CLOEXEC));
  if (named.valid()) ::unlink(name.c_str());
  return named;
}

}  // namespace

ScratchFile::ScratchFile() : native_(std::make_unique<Native>(Native{MakeNameless()})) {}

ScratchFile::~ScratchFile() = default;

bool ScratchFile::valid() const { return native_->file.valid(); }

bool ScratchFile::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::pwrite(native_->file.get(), bytes.data(), bytes.size(), static_cast<off_t>(size_));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    size_ += static_cast<std::uint64_t>(put);
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

bool ScratchFile::Read(std::uint64_t offset, std::size_t size, std::string& into) const {
  into.resize(size);
  for (std::size_t done = 0; done < size;) {
    const ssize_t got = ::pread(native_->file.get(), into.data() + done, size - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace quorvale
