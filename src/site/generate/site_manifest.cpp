#include "generate/site_manifest.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <utility>

#include "platform/number_text.h"
#include "platform/path.h"

namespace quorvale {
namespace {

constexpr std::string_view kManifestHeader = "Quorvale site manifest 1\n";
constexpr const char* kScratchReadFailure = "its lines could not be read back from the scratch file";

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
constexpr std::size_t kMergedPieceBytes = 64 * 1024;

// The path a manifest line names, and the line itself with its end, from the start of
// `text`.
struct Line {
  std::string_view path;
  std::string_view whole;
};
Line FirstLine(std::string_view text) {
  const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
  const std::string_view whole = text.substr(0, end);
  const std::size_t path_at = std::min(whole.find('\t', whole.find('\t') + 1), whole.size() - 1) + 1;
  return {whole.substr(path_at, whole.size() - path_at - (whole.back() == '\n' ? 1 : 0)), whole};
}

}  // namespace

SiteManifest::SiteManifest(std::string publish_directory) : publish_directory_(std::move(publish_directory)) {}

SiteManifest::~SiteManifest() = default;

void SiteManifest::Published(const std::string& path, std::optional<FileStamp> stamp) {
  const std::size_t from = publish_directory_.size() + 1;
  if (path.size() <= from || !path.starts_with(publish_directory_) || path[from - 1] != kPathSeparator) return;
  Entry entry{paths_.size(), static_cast<std::uint32_t>(path.size() - from), static_cast<std::uint32_t>(entries_.size())};
  paths_.append(path, from);
  std::replace(paths_.begin() + static_cast<std::ptrdiff_t>(entry.path_at), paths_.end(), kPathSeparator, '/');
  if (stamp) {
    entry.size = stamp->size;
    entry.seconds = stamp->modified_seconds;
    entry.nanoseconds = static_cast<std::int32_t>(stamp->modified_nanoseconds);
    entry.stamped = true;
  }
  entries_.push_back(entry);
}

void SiteManifest::SetAside() {
  if (entries_.empty()) return;
  // The files in the manifest's order, a file published twice in the order published.
  std::vector<const Entry*> order;
  order.reserve(entries_.size());
  for (const Entry& entry : entries_) order.push_back(&entry);
  std::sort(order.begin(), order.end(), [this](const Entry* a, const Entry* b) {
    const int by_path = PathOf(*a).compare(PathOf(*b));
    return by_path < 0 || (by_path == 0 && a->sequence < b->sequence);
  });

  std::string text;
  text.reserve(paths_.size() + order.size() * kLineBytesBesidePath);
  Chunk chunk;
  std::string_view last_path;
  std::string open_folder;
  std::optional<FolderBelow> folder;
  for (std::size_t i = 0; i < order.size();) {
    const std::string_view relative = PathOf(*order[i]);
    std::optional<FileStamp> stamp;  // the last one given, when the file came more than once
    for (; i < order.size() && PathOf(*order[i]) == relative; ++i) {
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
    if (!stamp) continue;  // gone again, or never written
    if (text.empty()) chunk.first_path = relative;
    last_path = relative;
    AppendFileLine(text, relative, *stamp);
  }
  if (!text.empty()) {
    chunk.last_path = last_path;
    chunk.size = text.size();
    if (!scratch_) scratch_ = std::make_unique<ScratchFile>();
    chunk.offset = scratch_->size();
    // Kept here when the scratch file cannot take it: more memory, nothing lost.
    if (!scratch_->valid() || !scratch_->Append(text)) chunk.text = std::move(text);
    chunks_.push_back(std::move(chunk));
  }
  entries_.clear();
  paths_.clear();
}

std::optional<std::string_view> SiteManifest::ChunkText(const Chunk& chunk, std::string& buffer) const {
  if (!chunk.text.empty()) return chunk.text;
  if (!scratch_->Read(chunk.offset, chunk.size, buffer)) return std::nullopt;
  return buffer;
}

std::optional<std::string> SiteManifest::MergeChunks(const std::vector<std::size_t>& members,
                                                     const PieceConsumer& consume, bool& going) const {
  std::vector<std::string> buffers(members.size());
  std::vector<std::string_view> left(members.size());  // each chunk's lines not yet merged
  struct Head {
    Line line;
    std::size_t member;  // later set aside, higher
  };
  // The head of the smallest path on top; of one path, the one set aside last.
  const auto after = [](const Head& a, const Head& b) {
    const int by_path = a.line.path.compare(b.line.path);
    return by_path > 0 || (by_path == 0 && a.member < b.member);
  };
  std::vector<Head> heads;
  for (std::size_t m = 0; m < members.size(); ++m) {
    const auto text = ChunkText(chunks_[members[m]], buffers[m]);
    if (!text) return kScratchReadFailure;
    left[m] = *text;
    heads.push_back({FirstLine(left[m]), m});
  }
  std::make_heap(heads.begin(), heads.end(), after);
  std::string merged;
  const auto advance = [&](const Head& head) {
    left[head.member].remove_prefix(head.line.whole.size());
    if (left[head.member].empty()) return;
    heads.push_back({FirstLine(left[head.member]), head.member});
    std::push_heap(heads.begin(), heads.end(), after);
  };
  while (!heads.empty()) {
    std::pop_heap(heads.begin(), heads.end(), after);
    const Head chosen = heads.back();
    heads.pop_back();
    merged.append(chosen.line.whole);
    // The same path in chunks set aside before: published earlier, so left out.
    while (!heads.empty() && heads.front().line.path == chosen.line.path) {
      std::pop_heap(heads.begin(), heads.end(), after);
      const Head earlier = heads.back();
      heads.pop_back();
      advance(earlier);
    }
    advance(chosen);
    if (merged.size() >= kMergedPieceBytes || heads.empty()) {
      if (!(going = consume(merged))) return std::nullopt;
      merged.clear();
    }
  }
  return std::nullopt;
}

BytePieces SiteManifest::Pieces() {
  SetAside();
  return [this](const PieceConsumer& consume) -> std::optional<std::string> {
    if (!consume(kManifestHeader)) return std::nullopt;
    // Chunks whose paths fall between each other's are merged; the others (an album's
    // files, in a folder of their own) come whole, one after the other.
    std::vector<std::size_t> by_first(chunks_.size());
    std::iota(by_first.begin(), by_first.end(), std::size_t{0});
    std::sort(by_first.begin(), by_first.end(),
              [this](std::size_t a, std::size_t b) { return chunks_[a].first_path < chunks_[b].first_path; });
    std::vector<std::size_t> group;
    std::string_view group_last;
    std::string buffer;
    bool going = true;
    const auto emit = [&]() -> std::optional<std::string> {
      if (group.size() == 1) {
        const auto text = ChunkText(chunks_[group.front()], buffer);
        if (!text) return kScratchReadFailure;
        going = consume(*text);
        return std::nullopt;
      }
      std::sort(group.begin(), group.end());
      return MergeChunks(group, consume, going);
    };
    for (const std::size_t k : by_first) {
      if (!group.empty() && chunks_[k].first_path > group_last) {
        if (auto failure = emit()) return failure;
        if (!going) return std::nullopt;
        group.clear();
      }
      if (group.empty() || chunks_[k].last_path > group_last) group_last = chunks_[k].last_path;
      group.push_back(k);
    }
    if (!group.empty()) return emit();
    return std::nullopt;
  };
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
