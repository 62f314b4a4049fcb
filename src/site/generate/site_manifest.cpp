#include "generate/site_manifest.h"

#include <algorithm>
#include <charconv>

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

}  // namespace

void SiteManifest::Published(const std::string& path, std::optional<FileStamp> stamp) {
  const std::size_t from = publish_directory_.size() + 1;
  if (path.size() <= from || !path.starts_with(publish_directory_) || path[from - 1] != kPathSeparator) return;
  const std::size_t at = paths_.size();
  paths_.append(path, from);
  for (std::size_t i = at; i < paths_.size(); ++i) paths_[i] = paths_[i] == kPathSeparator ? '/' : paths_[i];
  files_.push_back({at, paths_.size() - at, stamp});
}

std::string SiteManifest::Bytes() const {
  // The files in the manifest's order, a file published twice in the order published.
  std::vector<const Entry*> order;
  order.reserve(files_.size());
  for (const Entry& file : files_) order.push_back(&file);
  std::stable_sort(order.begin(), order.end(), [this](const Entry* a, const Entry* b) { return PathOf(*a) < PathOf(*b); });

  std::size_t size = kManifestHeader.size();
  for (const Entry* file : order) size += file->size + kLineBytesBesidePath;
  std::string bytes;
  bytes.reserve(size);
  bytes.append(kManifestHeader);
  std::string open_folder;
  std::optional<FolderBelow> folder;
  for (std::size_t i = 0; i < order.size();) {
    const std::string_view relative = PathOf(*order[i]);
    std::optional<FileStamp> stamp;  // the last one given, when the file came more than once
    for (; i < order.size() && PathOf(*order[i]) == relative; ++i) {
      if (order[i]->stamp) stamp = order[i]->stamp;
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
