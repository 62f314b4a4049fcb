#include "model/edit_history.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace quorvale {
namespace {

// The lengths of the common start and the common end of two sequences of `a_size` and
// `b_size` items whose items `equal` compares, the end not reaching into the start.
template <typename Equal>
std::pair<std::size_t, std::size_t> CommonEnds(std::size_t a_size, std::size_t b_size, Equal equal) {
  std::size_t head = 0;
  while (head < a_size && head < b_size && equal(head, head)) ++head;
  std::size_t tail = 0;
  while (tail < a_size - head && tail < b_size - head && equal(a_size - 1 - tail, b_size - 1 - tail)) ++tail;
  return {head, tail};
}

template <typename Container>
auto Slice(const Container& items, std::size_t first, std::size_t last) {
  return std::vector<typename Container::value_type>(items.begin() + static_cast<std::ptrdiff_t>(first),
                                                     items.begin() + static_cast<std::ptrdiff_t>(last));
}

std::vector<Picture> PictureSlice(const PictureMap& pictures, std::size_t first, std::size_t last) {
  return std::vector<Picture>(pictures.begin() + static_cast<std::ptrdiff_t>(first),
                              pictures.begin() + static_cast<std::ptrdiff_t>(last));
}

}  // namespace

void EditHistory::Reset(ProjectContent content) {
  content_ = std::move(content);
  steps_.clear();
  current_ = 0;
  clean_ = 0;
  merge_open_ = false;
  merge_key_.clear();
}

EditHistory::Step EditHistory::Difference(const ProjectContent& from, const std::vector<Album>& albums,
                                          const ProjectSettings& settings) {
  Step step;
  if (!(from.settings == settings)) {
    step.settings_before = from.settings;
    step.settings_after = settings;
  }
  const std::vector<Album>& old_albums = from.albums;
  const auto [head, tail] = CommonEnds(old_albums.size(), albums.size(),
                                              [&](std::size_t i, std::size_t j) { return old_albums[i] == albums[j]; });
  const std::size_t old_end = old_albums.size() - tail;
  const std::size_t new_end = albums.size() - tail;
  if (head == old_end && head == new_end) return step;  // the albums are as they were
  if (old_end - head == 1 && new_end - head == 1) {
    // One album changed in place: only its title and the run of pictures that differs.
    const Album& before = old_albums[head];
    const Album& after = albums[head];
    const auto [first, same_end] =
        CommonEnds(static_cast<std::size_t>(before.pictures.Count()),
                            static_cast<std::size_t>(after.pictures.Count()), [&](std::size_t i, std::size_t j) {
                              return before.pictures.At(static_cast<int>(i)) == after.pictures.At(static_cast<int>(j));
                            });
    PicturesChange change;
    change.album = head;
    change.title_before = before.title;
    change.title_after = after.title;
    change.first = first;
    change.before = PictureSlice(before.pictures, first, static_cast<std::size_t>(before.pictures.Count()) - same_end);
    change.after = PictureSlice(after.pictures, first, static_cast<std::size_t>(after.pictures.Count()) - same_end);
    step.albums = std::move(change);
    return step;
  }
  step.albums = AlbumsChange{head, Slice(old_albums, head, old_end), Slice(albums, head, new_end)};
  return step;
}

void EditHistory::Apply(ProjectContent& content, const Step& step, bool forward) {
  if (const auto* change = std::get_if<AlbumsChange>(&step.albums)) {
    const std::vector<Album>& out = forward ? change->before : change->after;
    const std::vector<Album>& in = forward ? change->after : change->before;
    const auto first = content.albums.begin() + static_cast<std::ptrdiff_t>(change->first);
    content.albums.erase(first, first + static_cast<std::ptrdiff_t>(out.size()));
    content.albums.insert(content.albums.begin() + static_cast<std::ptrdiff_t>(change->first), in.begin(), in.end());
  } else if (const auto* pictures = std::get_if<PicturesChange>(&step.albums)) {
    Album& album = content.albums[pictures->album];
    album.title = forward ? pictures->title_after : pictures->title_before;
    const std::vector<Picture>& out = forward ? pictures->before : pictures->after;
    album.pictures.Replace(static_cast<int>(pictures->first), static_cast<int>(out.size()),
                           forward ? pictures->after : pictures->before);
  }
  if (step.settings_before) content.settings = forward ? *step.settings_after : *step.settings_before;
}

void EditHistory::Record(const std::vector<Album>& albums, const ProjectSettings& settings,
                         Selection selection_before, Selection selection_after, const std::string& merge_key) {
  if (settings == content_.settings && albums == content_.albums) return;
  // A merged edit replaces the step on top: that step is taken back and the whole run
  // of typing recorded as one. Saving, undoing and redoing close the run, so typing
  // after a save stays undoable back to the saved state.
  const bool merge = merge_open_ && !merge_key.empty() && merge_key == merge_key_ && current_ > 0;
  if (merge) {
    Apply(content_, steps_.back(), false);
    selection_before = steps_.back().selection_before;
    steps_.pop_back();
    --current_;
  }
  Step step = Difference(content_, albums, settings);
  if (step.Empty()) {  // the typing ended where it began
    merge_open_ = false;
    return;
  }
  step.selection_before = selection_before;
  step.selection_after = selection_after;
  Apply(content_, step, true);
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(current_), steps_.end());
  if (clean_ && *clean_ > current_) clean_.reset();  // the saved state was undone and is now gone
  steps_.push_back(std::move(step));
  ++current_;
  if (steps_.size() > kMaxSteps) {
    steps_.pop_front();
    --current_;
    if (clean_) clean_ = *clean_ == 0 ? std::nullopt : std::optional<std::size_t>(*clean_ - 1);
  }
  merge_key_ = merge_key;
  merge_open_ = !merge_key.empty();
}

std::optional<RestoredState> EditHistory::Undo() {
  if (!CanUndo()) return std::nullopt;
  merge_open_ = false;
  --current_;
  const Step& step = steps_[current_];
  Apply(content_, step, false);
  return RestoredState{content_, step.selection_before};
}

std::optional<RestoredState> EditHistory::Redo() {
  if (!CanRedo()) return std::nullopt;
  merge_open_ = false;
  const Step& step = steps_[current_];
  ++current_;
  Apply(content_, step, true);
  return RestoredState{content_, step.selection_after};
}

void EditHistory::MarkClean() {
  clean_ = current_;
  merge_open_ = false;
}

std::size_t EditHistory::StoredPictures() const {
  std::size_t total = 0;
  for (const Step& step : steps_) {
    if (const auto* change = std::get_if<AlbumsChange>(&step.albums)) {
      for (const auto* albums : {&change->before, &change->after}) {
        for (const Album& album : *albums) total += static_cast<std::size_t>(album.pictures.Count());
      }
    } else if (const auto* pictures = std::get_if<PicturesChange>(&step.albums)) {
      total += pictures->before.size() + pictures->after.size();
    }
  }
  return total;
}

}  // namespace quorvale
