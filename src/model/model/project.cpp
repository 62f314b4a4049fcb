#include "model/project.h"

#include <cassert>
#include <optional>

#include "platform/text_codec.h"
#include "model/move_element.h"

namespace quorvale {

bool Project::IsAlbumFull() const {
  return selected_album_ >= 0 && AlbumPictures(selected_album_).Count() >= MaxPicturesPerAlbum;
}

void Project::SelectAlbum(int i) {
  selected_album_ = (i >= 0 && i < AlbumCount()) ? i : -1;
  selected_picture_ = -1;
}

void Project::SelectPicture(int j) {
  const bool valid = selected_album_ >= 0 && j >= 0 && j < AlbumPictures(selected_album_).Count();
  selected_picture_ = valid ? j : -1;
}

void Project::ResetProject() {
  albums_.clear();
  selected_album_ = -1;
  selected_picture_ = -1;
  Modified = false;
  PictureCountTipPending = true;
}

void Project::AddAlbum(std::string title) {
  Modified = true;
  const int position = selected_album_ >= 0 ? selected_album_ + 1 : AlbumCount();
  albums_.insert(albums_.begin() + position, Album{std::move(title), {}});
  SelectAlbum(position);
}

void Project::RenameAlbum(int i, std::string title) {
  Modified = true;
  albums_[static_cast<std::size_t>(i)].title = std::move(title);
}

void Project::RemoveAlbum(int i) {
  albums_.erase(albums_.begin() + i);
  if (i < AlbumCount()) {
    SelectAlbum(i);
  } else {
    SelectAlbum(AlbumCount() - 1);  // the new last album, or none
  }
  Modified = true;
}

void Project::AddPicture(std::string path) {
  assert(selected_album_ >= 0);
  Modified = true;
  PictureMap& pictures = SelectedAlbumRef().pictures;
  int position = pictures.Find(path);
  if (position < 0) {
    position = selected_picture_ >= 0 ? selected_picture_ + 1 : pictures.Count();
    pictures.Insert(position, std::move(path), std::string());
  }
  selected_picture_ = position;
}

void Project::RemovePicture(int j) {
  PictureMap& pictures = SelectedAlbumRef().pictures;
  pictures.Remove(j);
  // The next picture took position j; after the last one, the one before it follows.
  selected_picture_ = j < pictures.Count() ? j : j - 1;
  Modified = true;
}

void Project::MoveAlbum(int from, int to) {
  MoveElement(albums_, from, to);
  if (selected_album_ == from) {
    selected_album_ = to;
  } else {
    SelectAlbum(to);
  }
  Modified = true;
}

void Project::MovePicture(int from, int to) {
  SelectedAlbumRef().pictures.Move(from, to);
  selected_picture_ = to;
  Modified = true;
}

void Project::RemovePictures(const std::vector<int>& rows) {
  if (rows.empty()) return;
  PictureMap& pictures = SelectedAlbumRef().pictures;
  const int after = rows.back() + 1 - static_cast<int>(rows.size());  // where the next picture lands
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) pictures.Remove(*row);
  selected_picture_ = after < pictures.Count() ? after : pictures.Count() - 1;
  Modified = true;
}

std::vector<int> Project::MovePictures(const std::vector<int>& rows, int before) {
  PictureMap& pictures = SelectedAlbumRef().pictures;
  std::vector<Picture> moved;
  std::vector<Picture> others;
  std::vector<bool> taken(static_cast<std::size_t>(pictures.Count()), false);
  for (const int row : rows) taken[static_cast<std::size_t>(row)] = true;
  std::optional<std::string> selected_path;
  if (selected_picture_ >= 0) selected_path = pictures.At(selected_picture_).path;
  int insert_at = 0;  // the place in `others` of the picture at `before`
  for (int j = 0; j < pictures.Count(); ++j) {
    if (j == before) insert_at = static_cast<int>(others.size());
    (taken[static_cast<std::size_t>(j)] ? moved : others).push_back(pictures.At(j));
  }
  if (before >= pictures.Count()) insert_at = static_cast<int>(others.size());
  std::vector<int> positions;
  for (std::size_t k = 0; k < moved.size(); ++k) positions.push_back(insert_at + static_cast<int>(k));
  others.insert(others.begin() + insert_at, moved.begin(), moved.end());
  pictures.Replace(0, pictures.Count(), std::move(others));
  if (selected_path) selected_picture_ = pictures.Find(*selected_path);
  Modified = true;
  return positions;
}

void Project::ReorderPictures(const std::vector<int>& order) {
  PictureMap& pictures = SelectedAlbumRef().pictures;
  std::vector<Picture> arranged;
  arranged.reserve(order.size());
  for (const int position : order) arranged.push_back(pictures.At(position));
  const std::optional<std::string> selected =
      selected_picture_ >= 0 ? std::optional<std::string>(pictures.At(selected_picture_).path) : std::nullopt;
  pictures.Replace(0, pictures.Count(), std::move(arranged));
  if (selected) selected_picture_ = pictures.Find(*selected);
  Modified = true;
}

void Project::RelinkPicture(int album, int position, std::string path) {
  PictureMap& pictures = albums_[static_cast<std::size_t>(album)].pictures;
  std::string comment = pictures.At(position).comment;
  pictures.Replace(position, 1, {Picture{std::move(path), std::move(comment)}});
  Modified = true;
}

void Project::ReplaceAlbums(std::vector<Album> albums, int selected_album, int selected_picture) {
  albums_ = std::move(albums);
  SelectAlbum(selected_album);
  SelectPicture(selected_picture);
}

void Project::SetPictureComment(int j, std::string text) {
  SelectedAlbumRef().pictures.SetComment(j, std::move(text));
  Modified = true;
}

}  // namespace quorvale
