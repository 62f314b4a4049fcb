#include "platform/file_copy.h"

#include <cwctype>
#include <vector>

#include "platform/file_reading.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/windows/contained_files.h"
#include "platform/windows/handle.h"
#include "platform/windows/wide_text.h"

namespace quorvale {
namespace {

using windows::CheckParentBelow;
using windows::Entry;
using windows::EntryKind;
using windows::Handle;
using windows::kShareAll;
using windows::SystemPath;

// FILETIME counts 100 ns steps from 1601-01-01; the stamp counts from 1970-01-01.
constexpr std::int64_t kStepsFrom1601To1970 = 116'444'736'000'000'000;
constexpr std::int64_t kStepsPerSecond = 10'000'000;
constexpr std::int64_t kWindowsTimeResolution = 100;

// The volume's file system decides how finely it keeps times: FAT12/16/32 and exFAT in
// 2-second steps, NTFS, ReFS and the rest in the system's own 100 ns steps.
std::int64_t TimeResolutionOf(HANDLE file) {
  wchar_t name[MAX_PATH + 1] = {};
  if (!GetVolumeInformationByHandleW(file, nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1)) {
    return kWindowsTimeResolution;
  }
  std::wstring type(name);
  for (wchar_t& c : type) c = static_cast<wchar_t>(std::towupper(c));
  return type.starts_with(L"FAT") || type == L"EXFAT" ? kFatTimeResolution : kWindowsTimeResolution;
}

// The stamp of a file's last-write time and size; `resolution` gives the volume's time
// step, asked only when the time could come from a coarse volume.
template <typename Resolution>
FileStamp StampFrom(const FILETIME& written, DWORD size_high, DWORD size_low, Resolution&& resolution) {
  const std::int64_t steps =
      static_cast<std::int64_t>((static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime) -
      kStepsFrom1601To1970;
  std::int64_t seconds = steps / kStepsPerSecond;
  std::int64_t rest = steps % kStepsPerSecond;
  if (rest < 0) {
    rest += kStepsPerSecond;
    --seconds;
  }
  const std::uintmax_t size = (static_cast<std::uintmax_t>(size_high) << 32) | size_low;
  const std::int64_t nanoseconds = rest * 100;
  return FileStamp{size, seconds, nanoseconds, MayBeCoarseTime(nanoseconds) ? resolution() : kWindowsTimeResolution};
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
         error == ERROR_BAD_NETPATH || error == ERROR_DIRECTORY;
}

// Copies every byte as it is: no text mode, so CR LF and 0x1A pass unchanged.
bool CopyContent(HANDLE from, HANDLE to) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
    if (got == 0) return true;
    if (!windows::WriteAll(to, buffer.data(), got)) return false;
  }
}

}  // namespace

std::optional<FileStamp> StampOf(const std::string& path, std::string* reason) {
  if (reason) reason->clear();
  if (path.empty()) return std::nullopt;
  // Opened for no access at all: only the attributes, times and volume are read.
  Handle file(CreateFileW(SystemPath(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                          nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) {
    const DWORD error = GetLastError();
    if (reason && !IsMissing(error)) *reason = windows::ErrorText(error);
    return std::nullopt;
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  return StampFrom(info.ftLastWriteTime, info.nFileSizeHigh, info.nFileSizeLow,
                   [&file] { return TimeResolutionOf(file.get()); });
}

// Windows finds a file by its whole path in any case: each file is looked up as
// StampOf does.
struct SourceStamps::State {};

SourceStamps::SourceStamps() : state_(std::make_unique<State>()) {}
SourceStamps::SourceStamps(SourceStamps&& other) noexcept = default;
SourceStamps& SourceStamps::operator=(SourceStamps&& other) noexcept = default;
SourceStamps::~SourceStamps() = default;

std::optional<FileStamp> SourceStamps::Of(const std::string& path, std::string* reason) {
  return StampOf(path, reason);
}

std::optional<FileStamp> StampBelow(const std::string& root, const std::string& path) {
  auto checked = CheckParentBelow(root, path);
  if (std::holds_alternative<std::string>(checked)) return std::nullopt;
  auto entry = windows::EntryAt(path);
  const auto* found = std::get_if<Entry>(&entry);
  if (found == nullptr || found->kind != EntryKind::kFile) return std::nullopt;
  return StampOf(path);
}

namespace {

// A copy's source, opened for reading, with its attributes and times.
struct OpenedSource {
  Handle file;
  BY_HANDLE_FILE_INFORMATION info;
};

// The source is the user's and may be reached through links; only a file on a disk
// is read.
std::variant<OpenedSource, std::string> OpenSource(const std::string& source) {
  OpenedSource opened{Handle(CreateFileW(SystemPath(source).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr)),
                      {}};
  if (!opened.file.valid()) return LastSystemReason();
  if (!GetFileInformationByHandle(opened.file.get(), &opened.info)) return LastSystemReason();
  if ((opened.info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || GetFileType(opened.file.get()) != FILE_TYPE_DISK) {
    return NotRegularRefusal(source);
  }
  return opened;
}

// Copies the opened source over `destination` in `folder`, whose folders are pinned.
std::optional<std::string> CopyInto(const std::string& folder, const std::string& destination,
                                    const OpenedSource& source) {
  std::optional<Entry> existing;
  if (auto reason = windows::CheckReplaceable(destination, existing)) return reason;
  if (existing && existing->read_only) return windows::SystemReason(ERROR_ACCESS_DENIED);

  auto created = windows::CreateTemporaryIn(folder, kCopyTemporaryPrefix);
  if (auto* reason = std::get_if<std::string>(&created)) return *reason;
  auto [to, temporary] = std::get<std::pair<Handle, std::string>>(std::move(created));
  const auto fail = [&, temporary = temporary](std::string reason) -> std::optional<std::string> {
    DeleteFileW(SystemPath(temporary).c_str());
    return reason;
  };
  if (!CopyContent(source.file.get(), to.get())) return fail(LastSystemReason());
  // Creation and access times are left alone; the last-write time becomes the
  // source's, to the 100 ns.
  if (!SetFileTime(to.get(), nullptr, nullptr, &source.info.ftLastWriteTime)) return fail(LastSystemReason());
  if (!to.Close()) return fail(LastSystemReason());
  return windows::ReplaceWithTemporary(temporary, destination);
}

}  // namespace

std::optional<std::string> CopyFileBelow(const std::string& root, const std::string& source,
                                         const std::string& destination) {
  auto from = OpenSource(source);
  if (auto* reason = std::get_if<std::string>(&from)) return *reason;
  auto checked = CheckParentBelow(root, destination);
  if (auto* reason = std::get_if<std::string>(&checked)) return *reason;
  return CopyInto(std::get<windows::ContainedParent>(checked).folder, destination, std::get<OpenedSource>(from));
}

struct FolderBelow::State {
  std::string root;
  std::string path;
  std::optional<windows::ContainedParent> checked;  // the folder's folders pinned; none when refused
  std::optional<std::int64_t> resolution;           // asked once, when first needed
};

std::optional<FileStamp> SettledFolderStampBelow(const std::string& /*root*/, const std::string& /*path*/) {
  // Not every Windows file system keeps a folder's times as its entries change (FAT
  // does not): its folders are always listed.
  return std::nullopt;
}

FolderBelow::FolderBelow(const std::string& root, const std::string& folder)
    : state_(std::make_unique<State>(State{root, folder, std::nullopt, std::nullopt})) {
  auto checked = windows::CheckFolderBelow(root, folder);
  if (auto* parent = std::get_if<windows::ContainedParent>(&checked)) state_->checked = std::move(*parent);
}
FolderBelow::FolderBelow(FolderBelow&& other) noexcept = default;
FolderBelow& FolderBelow::operator=(FolderBelow&& other) noexcept = default;
FolderBelow::~FolderBelow() = default;

std::optional<FileStamp> FolderBelow::Stamp(const std::string& name) {
  State& state = *state_;
  const std::string file = JoinPath(state.path, name);
  if (!state.checked || !IsPlainName(name)) return StampBelow(state.root, file);
  // One call for kind, size and time, without following the entry.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(SystemPath(file).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && windows::IsLinkReparsePoint(file)) {
    return std::nullopt;
  }
  return StampFrom(data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow, [&state] {
    if (!state.resolution) {
      Handle folder(CreateFileW(SystemPath(state.path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
      state.resolution = folder.valid() ? TimeResolutionOf(folder.get()) : kWindowsTimeResolution;
    }
    return *state.resolution;
  });
}

std::optional<std::string> FolderBelow::Copy(const std::string& source, const std::string& name) {
  const State& state = *state_;
  const std::string destination = JoinPath(state.path, name);
  if (!state.checked || !IsPlainName(name)) return CopyFileBelow(state.root, source, destination);
  auto from = OpenSource(source);
  if (auto* reason = std::get_if<std::string>(&from)) return *reason;
  return CopyInto(state.path, destination, std::get<OpenedSource>(from));
}

// Read by path, each folder from the root checked again as ReadFileStartBelow does: the
// facts of a picture are read once per run, so the pinned folder is not worth a second
// reader here.
std::optional<std::string> FolderBelow::ReadStart(const std::string& name, std::size_t count, std::uintmax_t& size) {
  return ReadFileStartBelow(state_->root, JoinPath(state_->path, name), count, size);
}

std::optional<std::string> CreateFolderBelow(const std::string& root, const std::string& path) {
  auto checked = CheckParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&checked)) return *reason;
  if (CreateDirectoryW(SystemPath(path).c_str(), nullptr)) return std::nullopt;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    auto entry = windows::EntryAt(path);
    if (const auto* found = std::get_if<Entry>(&entry)) {
      if (found->kind == EntryKind::kFolder) return std::nullopt;
      if (found->kind == EntryKind::kLink) return LinkRefusal(path);
      return NotFolderRefusal(path);
    }
  }
  return windows::SystemReason(error);
}

}  // namespace quorvale
