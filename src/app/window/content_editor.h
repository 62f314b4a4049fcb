#pragma once

#include <string>
#include <vector>

#include "window/picture_rows.h"
#include "window/window_state.h"

namespace quorvale {

// The Content page: albums and pictures added, renamed, removed and moved, each
// picture's comment, and pictures and folders dropped from outside. It keeps the
// captions, label and comment box the page shows for the current selection.
class ContentEditor {
 public:
  explicit ContentEditor(WindowState& state) : state_(state) {}

  // --- Albums ---
  void AddAlbumCommand();             // btnAddNew
  void EditAlbumTitle();              // AlbumList double-click
  void RemoveAlbumCommand();          // btnDelete
  void OnAlbumClicked(int position);  // AlbumList click

  // --- Pictures ---
  void AddPicturesCommand();             // btnAddpic
  // btnRemovepic, Delete in PicList: the selected pictures, as one step.
  void RemovePictureCommand();
  void OnPictureClicked(int position);   // PicList click
  // PicList's selection changed (Shift or Ctrl with a click or a key): `rows` are
  // selected and `current` has the focus; the comment box follows the current one.
  void OnPictureSelectionChanged(std::vector<int> rows, int current);
  void SelectAllPictures();  // mnuEditSelectAll
  // mnuEditSortByName: the selected album's pictures in natural order of their file
  // names ("img-2" before "img-10"), as one step.
  void SortPicturesByName();
  // mnuEditSortByDate: the selected album's pictures in the order they were taken, by
  // the dates the files hold (read off the window's thread); pictures without a date
  // follow in the order they had. One step.
  void SortPicturesByDateTaken();
  void OnCommentEdited(const std::string& text);  // txtPictureComment change by the user

  // --- Reordering ---
  // btnUp, btnDown and Ctrl+Up/Ctrl+Down in AlbumList: the selected album one place
  // up or down. The moved album stays selected.
  void MoveAlbumUp() { MoveSelectedAlbum(-1); }
  void MoveAlbumDown() { MoveSelectedAlbum(+1); }
  // Drag and drop within AlbumList: album `from` dropped before row `before` (the row
  // count to drop it at the end).
  void MoveAlbumBefore(int from, int before);
  // The same for the selected pictures of the selected album (btnPicUp, btnPicDown,
  // PicList): they move together, as one step, and stay selected.
  void MovePictureUp() { MoveSelectedPicture(-1); }
  void MovePictureDown() { MoveSelectedPicture(+1); }
  void MovePictureBefore(int from, int before) { MovePicturesBefore({from}, before); }
  // Pictures `rows` dragged before row `before`.
  void MovePicturesBefore(std::vector<int> rows, int before);
  bool MoveAlbumUpEnabled() const;
  bool MoveAlbumDownEnabled() const;
  bool MovePictureUpEnabled() const;
  bool MovePictureDownEnabled() const;

  // --- Drops from outside, in the order they are to be added ---
  // Picture files go to the selected album as Add Pictures adds them.
  void AddDroppedPictures(std::vector<std::string> paths);
  // One album per folder, as the folder import makes them.
  void AddDroppedFolders(const std::vector<std::string>& folders);

  // --- What the rest of the window asks of the page ---
  // A project started empty: no albums, no pictures, no comment.
  void Clear();
  // "Album selected": run after every change of the album selection.
  void AlbumSelected();
  // The captions, label and comment for the current selection, without raising
  // "Comment changed" (after undo, redo or a move).
  void ShowSelection();
  // The page was shown again: its label, picture count and buttons are re-read.
  void PageShown();

  // State the page shows.
  const std::string& AlbumFrameCaption() const { return album_frame_caption_; }      // frmAlbum
  const std::string& PictureFrameCaption() const { return picture_frame_caption_; }  // frmPictures
  const std::string& SelectedAlbumLabel() const { return selected_album_label_; }    // lblAlbum
  const std::string& CommentText() const { return comment_box_; }                    // txtPictureComment
  std::vector<std::string> AlbumRows() const;    // AlbumList
  std::vector<std::string> PictureRows() const;  // PicList: the pictures' paths
  // PicList as it shows: name, thumbnail path, comment mark and missing badge.
  std::vector<PictureRowView> PictureRowDetails() const { return PictureRowViews(project_, project_.SelectedAlbum()); }
  std::string SelectedPicturePath() const;       // picPreview: empty when no picture is selected
  // The selected pictures, ascending; the current one alone when no other is selected.
  std::vector<int> SelectedPictureRows() const;  // PicList
  bool AddPictureEnabled() const { return picture_buttons_enabled_; }     // btnAddpic
  // Removing takes something to remove.
  bool RemoveAlbumEnabled() const { return project_.AlbumCount() > 0; }   // btnDelete
  bool RemovePictureEnabled() const;                                      // btnRemovepic
  bool SelectAllEnabled() const { return RemovePictureEnabled(); }        // mnuEditSelectAll
  // Dates can be read only where the window has a way to read pictures' metadata; no
  // album is reordered while a run goes on.
  bool SortByDateEnabled() const {
    return RemovePictureEnabled() && state_.metadata_reading != nullptr && state_.Editable();
  }

 private:
  void ShowAlbum();
  // "Picture selected": the comment box follows the selected picture.
  void PictureSelected();
  // Add Pictures' checks before anything is chosen: an album is selected and not full.
  bool MayAddPictures();
  // Names and leaves out the paths that a project file could not store, and the files
  // that hold no picture Quorvale takes; false when none is left.
  bool LeaveOutUnstorablePaths(std::vector<std::string>& paths);
  // Adds `paths` in order after the selected picture until the album is full, each
  // with its own caption; `chosen` is the number of files the user chose, for the limit
  // message.
  void AddPicturePaths(const std::vector<std::string>& paths, int chosen);
  // Adds `path` after the selected picture; an empty comment takes `caption`.
  void AddPictureToAlbum(std::string path, const std::string& caption);
  // The captions the pictures at `paths` bring with them, one per path (empty for a
  // picture without one), read through the window's metadata reading; all empty when
  // the window has none.
  std::vector<std::string> CaptionsOf(const std::vector<std::string>& paths);
  // Sets the comment box and stores it as the selected picture's comment.
  void SetCommentBox(const std::string& text);
  void SetPictureFrameCount();
  std::string PromptForText(const std::string& prompt, const std::string& default_text,
                            const std::string& caption);
  void MoveSelectedAlbum(int step);
  void MoveSelectedPicture(int step);
  void MoveAlbum(int from, int to);

  WindowState& state_;
  Project& project_ = state_.project;
  std::string album_frame_caption_;
  std::string picture_frame_caption_;
  std::string selected_album_label_;
  std::string comment_box_;
  bool picture_buttons_enabled_ = false;
  // The selected pictures of the selected album; SelectedPictureRows() checks them
  // against the current picture, so a stale list falls back to it.
  std::vector<int> picture_selection_;
};

}  // namespace quorvale
