// Moving albums and pictures: the up and down buttons, their keys, and drag and drop
// within a list.
#include "window/main_window.h"

namespace quorvale {
namespace {

// The position a row takes when dropped before row `before`: the rows after its old
// place move up by one.
int DropPosition(int from, int before) { return before > from ? before - 1 : before; }

}  // namespace

void MainWindowLogic::MoveSelectedAlbum(int step) {
  const int selected = project_.SelectedAlbum();
  if (selected >= 0) MoveAlbum(selected, selected + step);
}

void MainWindowLogic::MoveAlbumBefore(int from, int before) { MoveAlbum(from, DropPosition(from, before)); }

void MainWindowLogic::MoveAlbum(int from, int to) {
  const int count = project_.AlbumCount();
  if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  const Selection before = CurrentSelection();
  const bool was_selected = from == project_.SelectedAlbum();
  project_.MoveAlbum(from, to);
  if (was_selected) {
    ShowSelection();  // the same album and picture, at a new place
  } else {
    AlbumSelected();
  }
  RecordEdit(before);
  Notify();
}

void MainWindowLogic::MoveSelectedPicture(int step) {
  const int selected = project_.SelectedPicture();
  if (selected >= 0) MovePicture(selected, selected + step);
}

void MainWindowLogic::MovePictureBefore(int from, int before) { MovePicture(from, DropPosition(from, before)); }

void MainWindowLogic::MovePicture(int from, int to) {
  const int album = project_.SelectedAlbum();
  const int count = album >= 0 ? project_.AlbumPictures(album).Count() : 0;
  if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  const Selection before = CurrentSelection();
  const bool was_selected = from == project_.SelectedPicture();
  project_.MovePicture(from, to);
  if (!was_selected) PictureSelected();
  RecordEdit(before);
  Notify();
}

bool MainWindowLogic::MoveAlbumUpEnabled() const { return project_.SelectedAlbum() > 0; }

bool MainWindowLogic::MoveAlbumDownEnabled() const {
  const int selected = project_.SelectedAlbum();
  return selected >= 0 && selected + 1 < project_.AlbumCount();
}

bool MainWindowLogic::MovePictureUpEnabled() const { return project_.SelectedPicture() > 0; }

bool MainWindowLogic::MovePictureDownEnabled() const {
  const int album = project_.SelectedAlbum();
  const int selected = project_.SelectedPicture();
  return album >= 0 && selected >= 0 && selected + 1 < project_.AlbumPictures(album).Count();
}

}  // namespace quorvale
