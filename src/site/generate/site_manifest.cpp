#include "generate/site_manifest.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "platform/number_text.h"
#include "platform/path.h"

namespace quorvale {
namespace {

constexpr std::string_view kManifestHeader = "Quorvale site manifest 1\n";

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

void AppendStampTime(std::string& text, const FileStamp& stamp) {
  AppendNumber(text, stamp.modified_seconds) += '.';
  const std::size_t digits_at = text.size();
  AppendNumber(text, stamp.modified_nanoseconds);
  const std::size_t digits = text.size() - digits_at;
  if (digits < 9) text.insert(digits_at, 9 - digits, '0');
}

// One file's line: size, a tab, seconds.nanoseconds, a tab, the path.
void AppendFileLine(std::string& bytes, std::string_view path, const FileStamp& stamp) {
  AppendNumber(bytes, stamp.size) += '\t';
  AppendStampTime(bytes, stamp);
  bytes.append(1, '\t').append(path).append(1, '\n');
}

constexpr std::size_t kLineBytesBesidePath = 40;  // two numbers, two tabs, a line end
constexpr std::size_t kPathBlockBytes = 64 * 1024;
constexpr std::size_t kEntryBlockCount = 4096;

}  // namespace

void SiteManifest::Published(const std::string& path, std::optional<FileStamp> stamp) {
  const std::size_t from = publish_directory_.size() + 1;
  if (path.size() <= from || !path.starts_with(publish_directory_) || path[from - 1] != kPathSeparator) return;
  const std::size_t size = path.size() - from;
  if (size > path_block_left_) {
    path_block_left_ = std::max(size, kPathBlockBytes);
    path_blocks_.emplace_back(new char[path_block_left_]);
    path_next_ = path_blocks_.back().get();
  }
  char* const copy = std::exchange(path_next_, path_next_ + size);
  path_block_left_ -= size;
  std::replace_copy(path.begin() + static_cast<std::ptrdiff_t>(from), path.end(), copy, kPathSeparator, '/');
  if (entry_blocks_.empty() || entry_blocks_.back().size() == kEntryBlockCount) {
    entry_blocks_.emplace_back().reserve(kEntryBlockCount);
  }
  Entry entry{copy, static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(count_++)};
  if (stamp) {
    entry.size = stamp->size;
    entry.seconds = stamp->modified_seconds;
    entry.nanoseconds = static_cast<std::int32_t>(stamp->modified_nanoseconds);
    entry.stamped = true;
  }
  entry_blocks_.back().push_back(entry);
}

std::string SiteManifest::Bytes() const {
  // The files in the manifest's order, a file published twice in the order published.
  std::vector<const Entry*> order;
  order.reserve(count_);
  for (const std::vector<Entry>& block : entry_blocks_) {
    for (const Entry& file : block) order.push_back(&file);
  }
  std::sort(order.begin(), order.end(), [](const Entry* a, const Entry* b) {
    const int by_path = a->Path().compare(b->Path());
    return by_path < 0 || (by_path == 0 && a->sequence < b->sequence);
  });

  std::size_t size = kManifestHeader.size();
  for (const Entry* file : order) size += file->path_size + kLineBytesBesidePath;
  std::string bytes;
  bytes.reserve(size);
  bytes.append(kManifestHeader);
  std::string open_folder;
  std::optional<FolderBelow> folder;
  for (std::size_t i = 0; i < order.size();) {
    const std::string_view relative = order[i]->Path();
    std::optional<FileStamp> stamp;  // the last one given, when the file came more than once
    for (; i < order.size() && order[i]->Path() == relative; ++i) {
      const Entry& file = *order[i];
      if (file.stamped) stamp = FileStamp{file.size, file.seconds, file.nanoseconds};
    }
    // The files of a folder come together, so each folder is opened once for the stamps
    // not yet known.
    if (!stamp) {
      std::string native(relative);
      for (char& c : native) c = c == '/' ? kPathSeparator : c;
      const std::string path = JoinPath(publish_directory_, native);
      const std::size_t cut = path.rfind(kPathSeparator);
      std::string parent = path.substr(0, cut);
      if (!folder || parent != open_folder) {
        folder.emplace(publish_directory_, parent);
        open_folder = std::move(parent);
      }
      stamp = folder->Stamp(path.substr(cut + 1));
    }
    if (stamp) AppendFileLine(bytes, relative, *stamp);  // else gone again, or never written
  }
  return bytes;
}

std::string StampTimeText(const FileStamp& stamp) {
  std::string text;
  AppendStampTime(text, stamp);
  return text;
}

std::optional<std::vector<SiteFile>> ParseSiteManifest(std::string_view bytes) {
  if (!bytes.starts_with(kManifestHeader)) return std::nullopt;
  bytes.remove_prefix(kManifestHeader.size());
  std::vector<SiteFile> files;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end + 1);
    const std::size_t tab = line.find('\t');
    const std::size_t second_tab = line.find('\t', tab + 1);
    const std::size_t dot = line.find('.');
    if (tab == std::string_view::npos || second_tab == std::string_view::npos || dot > second_tab || dot < tab) {
      return std::nullopt;
    }
    SiteFile file;
    file.path = std::string(line.substr(second_tab + 1));
    if (file.path.empty() || !ParseNumber(line.substr(0, tab), file.stamp.size) ||
        !ParseNumber(line.substr(tab + 1, dot - tab - 1), file.stamp.modified_seconds) ||
        !ParseNumber(line.substr(dot + 1, second_tab - dot - 1), file.stamp.modified_nanoseconds)) {
      return std::nullopt;
    }
    files.push_back(std::move(file));
  }
  return files;
}

}  // namespace quorvale
