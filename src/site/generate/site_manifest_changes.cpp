#include "generate/site_manifest_changes.h"

#include "layout/site_layout.h"
#include "platform/content_hash.h"
#include "platform/file_reading.h"
#include "platform/number_text.h"

namespace quorvale {
namespace {

constexpr std::string_view kChangesFormat = "Quorvale site manifest changes 1";
constexpr std::string_view kGoneFields = "-\t-\t";

// The path a manifest line (without its end) names: what follows its second tab; empty
// when it has none.
std::string_view PathOfLine(std::string_view line) {
  const std::size_t tab = line.find('\t');
  const std::size_t second_tab = tab == std::string_view::npos ? tab : line.find('\t', tab + 1);
  return second_tab == std::string_view::npos ? std::string_view() : line.substr(second_tab + 1);
}

// The changes file's first line for the manifest file `manifest`.
std::string ChangesHeader(std::string_view manifest) {
  std::string header(kChangesFormat);
  header += '\t';
  AppendNumber(header, manifest.size()) += '\t';
  return header.append(WordContentHash(manifest)) += '\n';
}

// The lines of a manifest file after its first, one at a time, each path after the one
// before it; `broken` once a line names no path or breaks the order.
class ManifestLines {
 public:
  explicit ManifestLines(std::string_view lines) : left_(lines) { Advance(); }
  bool at_end() const { return at_end_; }
  bool broken() const { return broken_; }
  std::string_view line() const { return line_; }
  std::string_view path() const { return path_; }
  void Advance() {
    if (left_.empty()) {
      at_end_ = true;
      return;
    }
    const std::size_t end = left_.find('\n');
    const std::string_view before = path_;
    line_ = left_.substr(0, end);
    left_.remove_prefix(end == std::string_view::npos ? left_.size() : end + 1);
    path_ = PathOfLine(line_);
    if (end == std::string_view::npos || path_.empty() || (started_ && path_ <= before)) {
      broken_ = at_end_ = true;
    }
    started_ = true;
  }

 private:
  std::string_view left_;
  std::string_view line_;
  std::string_view path_;
  bool started_ = false;
  bool at_end_ = false;
  bool broken_ = false;
};

}  // namespace

std::optional<std::string> SiteManifestChanges(std::string_view manifest, const BytePieces& lines, std::size_t limit,
                                               std::string& failure) {
  if (!manifest.starts_with(kSiteManifestHeader)) return std::nullopt;
  ManifestLines old(manifest.substr(kSiteManifestHeader.size()));
  std::string changes;
  const auto gone = [&changes](std::string_view path) { changes.append(kGoneFields).append(path) += '\n'; };
  // Each new line against the old ones up to its path: the old ones before it are gone,
  // the one of its path is kept when it is the same.
  const auto compare = [&](std::string_view line) {
    const std::string_view path = PathOfLine(line);
    for (; !old.at_end() && old.path() < path; old.Advance()) gone(old.path());
    const bool listed = !old.at_end() && old.path() == path;
    if (!listed || old.line() != line) changes.append(line) += '\n';
    if (listed) old.Advance();
    return !old.broken() && changes.size() <= limit;
  };
  std::size_t header_left = kSiteManifestHeader.size();
  std::string cut;  // a line the pieces split, as far as it came
  bool over = false;
  const auto reason = lines([&](std::string_view piece) {
    const std::size_t header = std::min(header_left, piece.size());
    piece.remove_prefix(header);
    header_left -= header;
    while (!piece.empty()) {
      const std::size_t end = piece.find('\n');
      if (end == std::string_view::npos) {
        cut.append(piece);
        return true;
      }
      const bool fits = cut.empty() ? compare(piece.substr(0, end)) : compare(cut.append(piece.substr(0, end)));
      cut.clear();
      piece.remove_prefix(end + 1);
      if (!fits) {
        over = true;
        return false;
      }
    }
    return true;
  });
  if (reason) {
    failure = *reason;
    return std::nullopt;
  }
  if (over) return std::nullopt;
  for (; !old.at_end(); old.Advance()) gone(old.path());
  if (old.broken() || changes.size() > limit) return std::nullopt;
  if (changes.empty()) return changes;
  return ChangesHeader(manifest) + changes;
}

std::optional<std::vector<SiteFile>> ParseSiteManifest(std::string_view manifest,
                                                       std::optional<std::string_view> changes) {
  std::optional<std::vector<SiteFile>> files = ParseSiteManifest(manifest);
  if (!files || !changes) return files;
  const std::string header = ChangesHeader(manifest);
  if (!changes->starts_with(header)) return std::nullopt;
  ManifestLines changed(changes->substr(header.size()));
  std::vector<SiteFile> merged;
  merged.reserve(files->size());
  auto file = files->begin();
  for (; !changed.at_end(); changed.Advance()) {
    const std::string_view path = changed.path();
    for (; file != files->end() && file->path < path; ++file) merged.push_back(std::move(*file));
    if (file != files->end() && file->path == path) ++file;
    if (changed.line().substr(0, kGoneFields.size()) == kGoneFields) continue;
    std::optional<SiteFile> now = ParseSiteManifestLine(changed.line());
    if (!now) return std::nullopt;
    merged.push_back(std::move(*now));
  }
  if (changed.broken()) return std::nullopt;
  for (; file != files->end(); ++file) merged.push_back(std::move(*file));
  return merged;
}

std::optional<std::vector<SiteFile>> ReadSiteManifest(const std::string& publish_directory, std::string* reason) {
  const auto manifest = ReadFileBelow(publish_directory, SiteManifestPath(publish_directory), kMaxSiteManifestBytes, reason);
  if (!manifest) return std::nullopt;
  std::string why;
  const auto changes =
      ReadFileBelow(publish_directory, SiteManifestChangesPath(publish_directory), kMaxSiteManifestBytes, &why);
  if (!changes && !why.empty()) {
    if (reason) *reason = why;
    return std::nullopt;
  }
  return ParseSiteManifest(*manifest, changes ? std::optional<std::string_view>(*changes) : std::nullopt);
}

}  // namespace quorvale
