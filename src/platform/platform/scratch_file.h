#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quorvale {

// A nameless file in the system's temporary folder, for data a run sets aside until it
// needs it again: gone when closed, and, where the system allows, when its process dies.
// Not for sharing between threads.
class ScratchFile {
 public:
  ScratchFile();
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Whether the file could be made; a caller keeps its data itself when not.
  bool valid() const;
  // Appends `bytes`; false when they could not all be written.
  bool Append(std::string_view bytes);
  // The `size` bytes from `offset` in place of `into`'s content; false when they could
  // not all be read.
  bool Read(std::uint64_t offset, std::size_t size, std::string& into) const;
  std::uint64_t size() const { return size_; }

 private:
  struct Native;
  std::unique_ptr<Native> native_;
  std::uint64_t size_ = 0;
};

}  // namespace quorvale
