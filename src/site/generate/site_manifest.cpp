#include "generate/site_manifest.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <utility>

#include "platform/number_text.h"
#include "platform/path.h"

namespace quorvale {
namespace {

constexpr const char* kScratchReadFailure = "its lines could not be read back from the scratch file";

// Writes the stamp's time as seconds.nanoseconds, the nanoseconds in at least nine
// digits (zeros first), into [out, end), which holds the 41 characters it may take;
// returns where it ends. A manifest line is written with no string of its own.
char* WriteStampTime(char* out, char* end, const FileStamp& stamp) {
  out = std::to_chars(out, end, stamp.modified_seconds).ptr;
  *out++ = '.';
  auto nanoseconds = stamp.modified_nanoseconds;
  if (nanoseconds < 0 || nanoseconds >= 1'000'000'000) {
    char digits[24];
    char* const digits_end = std::to_chars(digits, digits + sizeof digits, nanoseconds).ptr;
    const auto count = digits_end - digits;
    if (count < 9) out = std::fill_n(out, 9 - count, '0');
    return std::copy(digits, digits_end, out);
  }
  for (std::size_t k = 9; k-- > 0; nanoseconds /= 10) out[k] = static_cast<char>('0' + nanoseconds % 10);
  return out + 9;
}

void AppendStampTime(std::string& text, const FileStamp& stamp) {
  char buffer[64];
  text.append(buffer, WriteStampTime(buffer, buffer + sizeof buffer, stamp));
}

// One file's line: size, a tab, seconds.nanoseconds, a tab, the path.
void AppendFileLine(std::string& bytes, std::string_view path, const FileStamp& stamp) {
  char buffer[96];
  char* out = std::to_chars(buffer, buffer + sizeof buffer, stamp.size).ptr;
  *out++ = '\t';
  out = WriteStampTime(out, buffer + sizeof buffer, stamp);
  *out++ = '\t';
  bytes.append(buffer, out).append(path) += '\n';
}

constexpr std::size_t kLineBytesBesidePath = 40;  // two numbers, two tabs, a line end
constexpr std::size_t kSetAsideBytesBesidePath = 28;  // five numbers, unformatted

// Spreads every bit of `value` over all of the result's, so that the digest of each
// setting aside depends on the ones before it.
std::uint64_t Mixed(std::uint64_t value) {
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
  return value ^ (value >> 31);
}

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

SiteManifest::SiteManifest(std::string publish_directory)
    : publish_directory_(std::move(publish_directory)), digest_(std::hash<std::string_view>{}(kSiteManifestHeader)) {}

SiteManifest::~SiteManifest() = default;

void SiteManifest::Published(const std::string& path, std::optional<FileStamp> stamp) {
  const std::size_t from = publish_directory_.size() + 1;
  if (path.size() <= from || !path.starts_with(publish_directory_) || path[from - 1] != kPathSeparator) return;
  Entry entry{paths_.size(), static_cast<std::uint32_t>(path.size() - from), static_cast<std::uint32_t>(entries_.size())};
  paths_.append(path, from);
  if constexpr (kPathSeparator != '/') {
    std::replace(paths_.begin() + static_cast<std::ptrdiff_t>(entry.path_at), paths_.end(), kPathSeparator, '/');
  }
  // Its folder, found once for every later look.
  entry.folder_size = static_cast<std::uint32_t>(std::string_view(paths_).substr(entry.path_at).rfind('/') + 1);
  if (stamp) {
    entry.size = stamp->size;
    entry.seconds = stamp->modified_seconds;
    entry.nanoseconds = static_cast<std::int32_t>(stamp->modified_nanoseconds);
    entry.stamped = true;
  }
  entries_.push_back(entry);
}

std::vector<const SiteManifest::Entry*> SiteManifest::InManifestOrder() const {
  const auto before = [this](const Entry* a, const Entry* b) {
    const int by_path = PathOf(*a).compare(PathOf(*b));
    return by_path < 0 || (by_path == 0 && a->sequence < b->sequence);
  };
  // The files of each folder, in the order published: a step publishes a folder's files
  // together, mostly in name order already, so each folder's are sorted apart (after a
  // look that they are not in order yet), where paths differ only in their names. The
  // runs set aside are one per folder, so the folders' order among them is free.
  struct Folder {
    std::string_view path;  // up to its last "/"; empty for the Publishing Directory's own files
    std::vector<const Entry*> files;
  };
  std::vector<Folder> folders;
  for (const Entry& entry : entries_) {
    const std::string_view folder = PathOf(entry).substr(0, entry.folder_size);
    auto found = std::find_if(folders.rbegin(), folders.rend(), [&](const Folder& f) { return f.path == folder; });
    if (found == folders.rend()) {
      folders.push_back({folder, {}});
      found = folders.rbegin();
    }
    found->files.push_back(&entry);
  }
  for (Folder& folder : folders) {
    if (!std::is_sorted(folder.files.begin(), folder.files.end(), before)) {
      std::sort(folder.files.begin(), folder.files.end(), before);
    }
  }
  // Then folder after folder: each becomes a run of its own below, and the runs are
  // merged in path order as the manifest is written.
  std::vector<const Entry*> order;
  order.reserve(entries_.size());
  for (const Folder& folder : folders) order.insert(order.end(), folder.files.begin(), folder.files.end());
  return order;
}

void SiteManifest::SetAside() {
  if (entries_.empty()) return;
  // Each file as it will become a line, in the order published: the sizes of its path
  // and folder, its size and time, then the path.
  std::string bytes;
  bytes.reserve(paths_.size() + entries_.size() * kSetAsideBytesBesidePath);
  const auto append = [&bytes](auto number) {
    char at[sizeof number];
    std::memcpy(at, &number, sizeof number);
    bytes.append(at, sizeof number);
  };
  std::string open_folder;
  std::optional<FolderBelow> folder;
  std::string_view last_path;  // and the stamp it was set aside with
  FileStamp last_stamp;
  for (const Entry& entry : entries_) {
    const std::string_view relative = PathOf(entry);
    FileStamp stamp{entry.size, entry.seconds, entry.nanoseconds};
    if (!entry.stamped) {
      // A step's files come together, so a folder is opened once for those of its
      // files whose stamps are not known yet.
      std::string native(relative);
      for (char& c : native) c = c == '/' ? kPathSeparator : c;
      const std::string path = JoinPath(publish_directory_, native);
      const std::size_t cut = path.rfind(kPathSeparator);
      std::string parent = path.substr(0, cut);
      if (!folder || parent != open_folder) {
        folder.emplace(publish_directory_, parent);
        open_folder = std::move(parent);
      }
      const std::optional<FileStamp> found = folder->Stamp(path.substr(cut + 1));
      if (!found) continue;  // gone again, or never written
      stamp = *found;
    }
    // A file published again right after, as it was (a page written, then published
    // with the stamp it was left with), is the same line: it is set aside once, so the
    // digest does not depend on how many steps published it.
    if (relative == last_path && stamp == last_stamp) continue;
    last_path = relative;
    last_stamp = stamp;
    append(entry.path_size);
    append(entry.folder_size);
    append(static_cast<std::uint64_t>(stamp.size));
    append(static_cast<std::int64_t>(stamp.modified_seconds));
    append(static_cast<std::int32_t>(stamp.modified_nanoseconds));
    bytes.append(relative);
    ++digest_files_;
  }
  entries_.clear();
  paths_.clear();
  if (bytes.empty()) return;
  digest_ = Mixed(digest_ ^ std::hash<std::string_view>{}(bytes));
  digest_bytes_ += bytes.size();
  set_aside_.push_back(Store(std::move(bytes)));
}

std::string SiteManifest::Digest() {
  SetAside();
  std::string text;
  AppendNumber(text, digest_files_) += ' ';
  AppendNumber(text, digest_bytes_) += ' ';
  char hex[16];
  const auto end = std::to_chars(hex, hex + sizeof hex, digest_, 16).ptr;
  return text.append(sizeof hex - static_cast<std::size_t>(end - hex), '0').append(hex, end);
}

SiteManifest::Stored SiteManifest::Store(std::string bytes) {
  if (!scratch_) scratch_ = std::make_unique<ScratchFile>();
  const std::uint64_t at = scratch_->size();
  // Kept here when the scratch file cannot take them: more memory, nothing lost.
  if (scratch_->valid() && scratch_->Append(bytes)) return Stored{at, bytes.size(), kNotKept};
  kept_.push_back(std::move(bytes));
  return Stored{0, kept_.back().size(), kept_.size() - 1};
}

std::optional<std::string_view> SiteManifest::StoredBytes(const Stored& stored, std::string& buffer) const {
  if (stored.kept != kNotKept) {
    return std::string_view(kept_[stored.kept]).substr(static_cast<std::size_t>(stored.offset), stored.size);
  }
  if (!scratch_->Read(stored.offset, stored.size, buffer)) return std::nullopt;
  return buffer;
}

void SiteManifest::WriteRuns(std::string_view bytes, std::uint32_t order) {
  const auto take = [&bytes](auto& number) {
    std::memcpy(&number, bytes.data(), sizeof number);
    bytes.remove_prefix(sizeof number);
  };
  while (!bytes.empty()) {
    Entry entry;
    std::uint64_t size = 0;
    take(entry.path_size);
    take(entry.folder_size);
    take(size);
    take(entry.seconds);
    take(entry.nanoseconds);
    entry.size = size;
    entry.path_at = paths_.size();
    entry.sequence = static_cast<std::uint32_t>(entries_.size());
    paths_.append(bytes.substr(0, entry.path_size));
    bytes.remove_prefix(entry.path_size);
    entries_.push_back(entry);
  }
  const std::vector<const Entry*> order_of_lines = InManifestOrder();

  std::string text;
  text.reserve(paths_.size() + order_of_lines.size() * kLineBytesBesidePath);
  const std::size_t first_run = runs_.size();
  std::size_t run_at = 0;
  std::string_view run_folder;
  std::string_view last_path;
  const auto end_run = [&] {
    Run& run = runs_.back();
    run.lines.size = text.size() - run_at;
    run.last_path = last_path;
  };
  for (std::size_t i = 0; i < order_of_lines.size();) {
    const Entry* file = order_of_lines[i];
    const std::string_view relative = PathOf(*file);
    // Of a file published more than once, the last stamp it was given.
    for (; i < order_of_lines.size() && PathOf(*order_of_lines[i]) == relative; ++i) file = order_of_lines[i];
    // A run per folder: an album's folders fall between other albums' folders, but the
    // lines of two folders of its own never do.
    const std::string_view in_folder = relative.substr(0, file->folder_size);
    if (runs_.size() == first_run || in_folder != run_folder) {
      if (runs_.size() > first_run) end_run();
      run_at = text.size();
      run_folder = in_folder;
      runs_.push_back(Run{{run_at, 0, kNotKept}, order, std::string(relative), {}});
    }
    last_path = relative;
    AppendFileLine(text, relative, FileStamp{file->size, file->seconds, file->nanoseconds});
  }
  if (runs_.size() > first_run) {
    end_run();
    const Stored stored = Store(std::move(text));
    for (std::size_t r = first_run; r < runs_.size(); ++r) {
      Stored& lines = runs_[r].lines;
      lines.kept = stored.kept;
      lines.offset += stored.offset;
    }
  }
  entries_.clear();
  paths_.clear();
}

std::optional<std::string> SiteManifest::Merge(const PieceConsumer& consume) const {
  std::vector<const Run*> runs;
  runs.reserve(runs_.size());
  for (const Run& run : runs_) runs.push_back(&run);
  std::sort(runs.begin(), runs.end(), [](const Run* a, const Run* b) {
    const int by_path = a->first_path.compare(b->first_path);
    return by_path < 0 || (by_path == 0 && a->order < b->order);
  });

  // The runs begun and not yet through, the one whose next line comes first on top; of
  // one path, the run set aside last.
  struct Cursor {
    const Run* run = nullptr;
    std::string buffer;
    std::string_view left;
    Line head;
    bool Advance() {
      left.remove_prefix(head.whole.size());
      if (left.empty()) return false;
      head = FirstLine(left);
      return true;
    }
  };
  const auto after = [](const std::unique_ptr<Cursor>& a, const std::unique_ptr<Cursor>& b) {
    const int by_path = a->head.path.compare(b->head.path);
    return by_path > 0 || (by_path == 0 && a->run->order < b->run->order);
  };
  std::vector<std::unique_ptr<Cursor>> begun;
  std::vector<std::unique_ptr<Cursor>> spare;  // their buffers serve again
  const auto take_top = [&] {
    std::pop_heap(begun.begin(), begun.end(), after);
    std::unique_ptr<Cursor> top = std::move(begun.back());
    begun.pop_back();
    return top;
  };
  const auto put_back = [&](std::unique_ptr<Cursor> cursor) {
    if (cursor->left.empty()) return spare.push_back(std::move(cursor));
    begun.push_back(std::move(cursor));
    std::push_heap(begun.begin(), begun.end(), after);
  };

  // Small pieces are gathered; a run's whole lines go as they are.
  std::string gathered;
  const auto emit = [&](std::string_view text) {
    if (gathered.size() + text.size() <= kMergedPieceBytes) return gathered.append(text), true;
    if (!gathered.empty() && !consume(std::exchange(gathered, {}))) return false;
    if (text.size() >= kMergedPieceBytes) return consume(text);
    return gathered.append(text), true;
  };

  for (std::size_t next = 0; next < runs.size() || !begun.empty();) {
    // Every run whose first line comes no later than the first line begun.
    while (next < runs.size() && (begun.empty() || runs[next]->first_path <= begun.front()->head.path)) {
      std::unique_ptr<Cursor> cursor = spare.empty() ? std::make_unique<Cursor>() : std::move(spare.back());
      if (!spare.empty()) spare.pop_back();
      cursor->run = runs[next++];
      const auto text = StoredBytes(cursor->run->lines, cursor->buffer);
      if (!text) return kScratchReadFailure;
      cursor->left = *text;
      cursor->head = FirstLine(cursor->left);
      put_back(std::move(cursor));
    }
    std::unique_ptr<Cursor> first = take_top();
    // The same path in runs set aside before: published earlier, so left out.
    while (!begun.empty() && begun.front()->head.path == first->head.path) {
      std::unique_ptr<Cursor> earlier = take_top();
      earlier->Advance();
      put_back(std::move(earlier));
    }
    // Its lines that come before any other run's go together: all that is left of it
    // when its last one does (an album's folder, whole).
    std::optional<std::string_view> bound;
    if (!begun.empty()) bound = begun.front()->head.path;
    if (next < runs.size() && (!bound || runs[next]->first_path < *bound)) bound = runs[next]->first_path;
    if (!bound || first->run->last_path < *bound) {
      if (!emit(first->left)) return std::nullopt;
      first->left = {};
    } else {
      do {
        if (!emit(first->head.whole)) return std::nullopt;
      } while (first->Advance() && first->head.path < *bound);
    }
    put_back(std::move(first));
  }
  if (!gathered.empty()) consume(gathered);
  return std::nullopt;
}

BytePieces SiteManifest::Pieces() {
  SetAside();
  std::string buffer;
  for (; set_aside_in_runs_ < set_aside_.size(); ++set_aside_in_runs_) {
    const std::optional<std::string_view> bytes = StoredBytes(set_aside_[set_aside_in_runs_], buffer);
    if (!bytes) return [](const PieceConsumer&) -> std::optional<std::string> { return kScratchReadFailure; };
    WriteRuns(*bytes, static_cast<std::uint32_t>(set_aside_in_runs_));
  }
  return [this](const PieceConsumer& consume) -> std::optional<std::string> {
    if (!consume(kSiteManifestHeader)) return std::nullopt;
    return Merge(consume);
  };
}

std::string StampTimeText(const FileStamp& stamp) {
  std::string text;
  AppendStampTime(text, stamp);
  return text;
}

std::optional<SiteFile> ParseSiteManifestLine(std::string_view line) {
  const std::size_t tab = line.find('\t');
  const std::size_t second_tab = line.find('\t', tab + 1);
  const std::size_t dot = line.find('.');
  if (tab == std::string_view::npos || second_tab == std::string_view::npos || dot > second_tab || dot < tab) {
    return std::nullopt;
  }
  SiteFile file;
  file.path = std::string(line.substr(second_tab + 1));
  if (file.path.empty() || !ReadWholeNumber(line.substr(0, tab), file.stamp.size) ||
      !ReadWholeNumber(line.substr(tab + 1, dot - tab - 1), file.stamp.modified_seconds) ||
      !ReadWholeNumber(line.substr(dot + 1, second_tab - dot - 1), file.stamp.modified_nanoseconds)) {
    return std::nullopt;
  }
  return file;
}

std::optional<std::vector<SiteFile>> ParseSiteManifest(std::string_view bytes) {
  if (!bytes.starts_with(kSiteManifestHeader)) return std::nullopt;
  bytes.remove_prefix(kSiteManifestHeader.size());
  std::vector<SiteFile> files;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    std::optional<SiteFile> file = ParseSiteManifestLine(bytes.substr(0, end));
    if (!file) return std::nullopt;
    bytes.remove_prefix(end + 1);
    files.push_back(std::move(*file));
  }
  return files;
}

}  // namespace quorvale
