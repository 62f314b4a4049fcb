#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/picture_map.h"

namespace quorvale {

inline constexpr int MaxPicturesPerAlbum = 100;
inline constexpr int MaxTextLength = 200;  // characters, not bytes
// Pictures per album above which the Torvexa album index gets crowded on a 1024x768
// screen: the help advises it and generation shows its one-time tip above it.
inline constexpr int kAdvisedPicturesPerAlbum = 40;

inline constexpr const char* kUntitledProjectName = "untitled.qs1";
inline constexpr const char* kPublishDirectoryPlaceholder =
    "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>";

struct Album {
  std::string title;
  PictureMap pictures;
  bool operator==(const Album&) const = default;
};

// Which viewer a project's site uses. The values are the viewers the program ships;
// what each one is and does is in the viewer registry, and the project file names
// them at its edge. The type is open: a viewer sketched in a test takes a further value.
enum class ViewerId : std::uint8_t { kTorvexa = 0, kHtml = 1 };

// The settings a generation run reads. Only PublishDirectory is edited by the user;
// the others are fixed at start-up and may be set again by a project file.
struct ProjectSettings {
  std::string PublishDirectory = kPublishDirectoryPlaceholder;
  int PublishPictures = 1;
  ViewerId ViewerType = ViewerId::kTorvexa;
  std::string ApplicationSourceDirectory;
  // "Keep location data in published pictures": the display copies keep the GPS
  // position of their sources. Off unless the user asks.
  bool KeepLocation = false;
  // The HTML viewer's site title (empty: the project file's name) and the language of
  // its pages' own words (empty: English). Set on the Generate page.
  std::string SiteTitle;
  std::string SiteLanguage;
  // Where the site is uploaded to (sftp://USER@HOST/PATH, or a folder); never a password.
  std::string UploadAddress;
  bool operator==(const ProjectSettings&) const = default;
};

// The one catalogue the program edits: albums in order, each a title and its pictures,
// plus the editing selection that every insertion is relative to. Positions are
// 0-based; -1 means "none selected".
class Project {
 public:
  // Queries.
  int AlbumCount() const { return static_cast<int>(albums_.size()); }
  const Album& AlbumAt(int i) const { return albums_[static_cast<std::size_t>(i)]; }
  const std::vector<Album>& Albums() const { return albums_; }
  // The positional views read by the file and generation code.
  const std::string& AlbumTitles(int i) const { return AlbumAt(i).title; }
  const PictureMap& AlbumPictures(int i) const { return AlbumAt(i).pictures; }
  int SelectedAlbum() const { return selected_album_; }
  int SelectedPicture() const { return selected_picture_; }
  // True when the selected album holds MaxPicturesPerAlbum or more pictures.
  bool IsAlbumFull() const;

  // Selection. Selecting an album clears the picture selection.
  void SelectAlbum(int i);
  void SelectPicture(int j);

  // Operations. Each sets Modified, except ResetProject which clears it.
  void ResetProject();
  void AddAlbum(std::string title);
  void RenameAlbum(int i, std::string title);
  void RemoveAlbum(int i);
  // Requires a selected album. A path the album already holds keeps its place and its
  // comment: adding a file again by mistake must not erase the caption typed for it.
  void AddPicture(std::string path);
  void RemovePicture(int j);
  void SetPictureComment(int j, std::string text);
  // Moves album `from` to position `to`, the albums between closing up. The moved album
  // becomes the selection; when it was selected already, its picture selection stays.
  void MoveAlbum(int from, int to);
  // Moves picture `from` of the selected album to position `to`; it becomes the
  // selected picture.
  void MovePicture(int from, int to);
  // Several pictures of the selected album at once; `rows` are ascending positions.
  // Removes them; the picture after the last one removed (or else the new last one)
  // becomes the selected one.
  void RemovePictures(const std::vector<int>& rows);
  // Takes them out and puts them back together, in their order, before the picture now
  // at `before` (the count: at the end). Gives their new positions; the selected picture
  // is the one that was selected, at its new place.
  std::vector<int> MovePictures(const std::vector<int>& rows, int before);
  // Puts the selected album's pictures in the order of `order` (old positions, each
  // once); the selected picture stays selected at its new place.
  void ReorderPictures(const std::vector<int>& order);
  // Points picture `position` of album `album` to `path`, keeping its place and comment;
  // the album must not hold `path` yet (a moved file found again).
  void RelinkPicture(int album, int position, std::string path);
  // Puts back albums and selection as an earlier state had them (undo and redo).
  void ReplaceAlbums(std::vector<Album> albums, int selected_album, int selected_picture);

  bool Modified = false;
  bool PictureCountTipPending = true;
  std::string ProjectPath = kUntitledProjectName;

 private:
  Album& SelectedAlbumRef() { return albums_[static_cast<std::size_t>(selected_album_)]; }

  std::vector<Album> albums_;
  int selected_album_ = -1;
  int selected_picture_ = -1;
};

}  // namespace quorvale
