#include "platform/scratch_file.h"

#include <algorithm>

#include "platform/windows/handle.h"

namespace quorvale {

struct ScratchFile::Native {
  windows::Handle file;
};

namespace {

// A file of the temporary folder that the system deletes when its last handle closes,
// the process's end included; marked temporary, so the system keeps it in memory while
// it can.
windows::Handle MakeNameless() {
  wchar_t folder[MAX_PATH + 1];
  wchar_t name[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"qvs", 0, name) == 0) return windows::Handle();
  windows::Handle file(CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!file.valid()) DeleteFileW(name);
  return file;
}

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

}  // namespace

ScratchFile::ScratchFile() : native_(std::make_unique<Native>(Native{MakeNameless()})) {}

ScratchFile::~ScratchFile() = default;

bool ScratchFile::valid() const { return native_->file.valid(); }

bool ScratchFile::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    OVERLAPPED at = At(size_);
    DWORD put = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!WriteFile(native_->file.get(), bytes.data(), chunk, &put, &at) || put == 0) return false;
    size_ += put;
    bytes.remove_prefix(put);
  }
  return true;
}

bool ScratchFile::Read(std::uint64_t offset, std::size_t size, std::string& into) const {
  into.resize(size);
  for (std::size_t done = 0; done < size;) {
    OVERLAPPED at = At(offset + done);
    DWORD got = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
    if (!ReadFile(native_->file.get(), into.data() + done, chunk, &got, &at) || got == 0) return false;
    done += got;
  }
  return true;
}

}  // namespace quorvale
