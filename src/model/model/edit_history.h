#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/project.h"

namespace quorvale {

// What an edit of the project can change and undo brings back: the albums with their
// pictures and comments, and the publishing settings.
struct ProjectContent {
  std::vector<Album> albums;
  ProjectSettings settings;
  bool operator==(const ProjectContent&) const = default;
};

// Where the selection stood; undo and redo put it back with the content.
struct Selection {
  int album = -1;
  int picture = -1;
  bool operator==(const Selection&) const = default;
};

// A state for the window to put back.
struct RestoredState {
  const ProjectContent& content;
  Selection selection;
};

// The undo history of one project. It keeps the content as it is now and, for every edit
// since the project was started or opened, only what that edit changed: the albums it
// added, removed or replaced, or within one album its title and the run of pictures it
// touched, and the settings when they changed. Typing a comment thus costs the history
// one picture, not the project. Undo goes back one edit and selects what was selected
// before it; redo goes forward again and selects what the edit left selected. The state
// that was last saved is the clean one: being at it means nothing is left to save.
class EditHistory {
 public:
  // The oldest edits are forgotten beyond this many, so a long session stays small.
  static constexpr std::size_t kMaxSteps = 200;

  // A new history whose only state, the clean one, is `content`.
  void Reset(ProjectContent content);

  // Records the edit that led from the current state to `albums` and `settings`;
  // nothing when they equal it. An edit with the same non-empty `merge_key` as the one
  // just before it (typing on in the same box) joins that step instead of making a new
  // one; a joined step that ends where it began is dropped. Redo is no longer possible
  // afterwards.
  void Record(const std::vector<Album>& albums, const ProjectSettings& settings, Selection selection_before,
              Selection selection_after, const std::string& merge_key = std::string());
  void Record(const ProjectContent& after, Selection selection_before, Selection selection_after,
              const std::string& merge_key = std::string()) {
    Record(after.albums, after.settings, selection_before, selection_after, merge_key);
  }
  // Ends the current run of merged edits: the next edit is a step of its own.
  void CloseMerge() { merge_open_ = false; }

  bool CanUndo() const { return current_ > 0; }
  bool CanRedo() const { return current_ < steps_.size(); }
  std::optional<RestoredState> Undo();
  std::optional<RestoredState> Redo();

  const ProjectContent& Current() const { return content_; }
  // The current state is the one saved last.
  void MarkClean();
  bool AtClean() const { return clean_ == current_; }

  // The pictures the steps hold between them: what the history costs beyond the project.
  std::size_t StoredPictures() const;

 private:
  // Albums [first, first + before.size()) gave way to `after`.
  struct AlbumsChange {
    std::size_t first = 0;
    std::vector<Album> before, after;
  };
  // One album changed in place: its title, and its pictures [first, first + before.size())
  // gave way to `after`.
  struct PicturesChange {
    std::size_t album = 0;
    std::string title_before, title_after;
    std::size_t first = 0;
    std::vector<Picture> before, after;
  };
  struct Step {
    std::variant<std::monostate, AlbumsChange, PicturesChange> albums;
    std::optional<ProjectSettings> settings_before, settings_after;  // only when they changed
    Selection selection_before;  // when the edit began
    Selection selection_after;   // when it ended
    bool Empty() const { return albums.index() == 0 && !settings_before; }
  };

  // What leads from `from` to `albums` and `settings`.
  static Step Difference(const ProjectContent& from, const std::vector<Album>& albums,
                         const ProjectSettings& settings);
  // Applies `step` to `content`: forward is redo, backward undo.
  static void Apply(ProjectContent& content, const Step& step, bool forward);

  ProjectContent content_;
  std::deque<Step> steps_;
  std::size_t current_ = 0;  // the steps applied to reach content_
  // Steps applied at the saved state; none when it was forgotten or replaced by a new branch.
  std::optional<std::size_t> clean_ = 0;
  std::string merge_key_;
  bool merge_open_ = false;
};

}  // namespace quorvale
