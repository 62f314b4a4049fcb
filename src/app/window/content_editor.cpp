// The Content page's commands: albums, pictures, comments, reordering and drops.
#include "window/content_editor.h"

#include <algorithm>
#include <utility>

#include "platform/path.h"
#include "platform/product.h"
#include "platform/text_codec.h"
#include "imaging/picture_metadata.h"
#include "model/picture_format.h"
#include "projectfile/folder_import.h"

namespace quorvale {
namespace {

constexpr const char* kAlbumsCaptionEmpty = "     Albums:";
constexpr const char* kPicturesCaptionEmpty = "     Pictures:";
constexpr const char* kPicturesCaptionPrefix = "     Pictures: ";

// Album editing.
constexpr const char* kAddAlbumPrompt = "Enter the title for new album";
constexpr const char* kAddAlbumCaption = "Add New Album";
constexpr const char* kEditAlbumPrompt = "Edit title for current album";
constexpr const char* kEditAlbumCaption = "Edit Album Title";
constexpr const char* kTitleTooLong =
    "Title length is greater than 200 characters. Input truncated!!";
constexpr const char* kTitleTooLongCaption = "Album Title Length Error";
constexpr const char* kSelectAlbumToRemove = "Please select an Album Index to REMOVE!!!";
constexpr const char* kRemoveAlbumCaption = "Remove Album";

// Picture editing.
constexpr const char* kAddPictureCaption = "Add Picture";
constexpr const char* kSelectAlbumForPicture = "Please select an album to add picture!!!";
constexpr const char* kAddAlbumFirst = "Please add an album first!!!";
constexpr const char* kPictureDialogTitle = "Select Picture File";
const std::string kNotPictures =
    "These files cannot be added: they are not JPEG, GIF, HEIC, AVIF, WebP, PNG or TIFF pictures.";
const std::string kLineBreakInName =
    "These files cannot be added: their names hold a line break, which a project file cannot store.";
constexpr const char* kSelectPictureToRemove = "Please select a Picture to REMOVE!!!";
constexpr const char* kRemovePictureCaption = "Remove Picture";
constexpr const char* kCommentTooLong =
    "Comment length is greater than 200 characters. Input truncated!!";
constexpr const char* kCommentTooLongCaption = "Edit Picture Comment: Length Error";

// Pictures' own captions and dates.
constexpr const char* kReadingCaptions = "Reading the pictures' own captions...";
constexpr const char* kSortByDateCaption = "Sort by Date Taken";
constexpr const char* kReadingDates = "Reading when the pictures were taken...";
constexpr const char* kNoDatesTaken =
    "None of these pictures holds the date it was taken: the album keeps its order.";

// Drops.
constexpr const char* kFoldersLeftOut = "Some of the dropped folders or pictures were left out:";

// "Image File (*.jpg, *.jpeg, ...)|*.jpg;*.jpeg;...": the dialog offers every picture
// file extension.
std::string PictureDialogFilter() {
  std::string shown;
  std::string patterns;
  for (const std::string& pattern : PictureFilePatterns()) {
    shown += (shown.empty() ? "" : ", ") + pattern;
    patterns += (patterns.empty() ? "" : ";") + pattern;
  }
  return "Image File (" + shown + ")|" + patterns;
}

// "     Albums: 3 of 5" for the third of five albums.
std::string AlbumCounter(int selected, int count) {
  return "     Albums: " + std::to_string(selected + 1) + " of " + std::to_string(count);
}

std::string AlbumFullMessage() {
  const std::string limit = std::to_string(MaxPicturesPerAlbum);
  return "A maximum of " + limit + " pictures can be added to an album. Your current album already contains " +
         limit + " pictures.";
}

std::string LimitReachedMessage(int added, int chosen) {
  return "The limit of " + std::to_string(MaxPicturesPerAlbum) + " pictures in an album is reached. " +
         std::to_string(added) + " of selected " + std::to_string(chosen) +
         " pictures have been added in your current album.";
}

// The position a row takes when dropped before row `before`: the rows after its old
// place move up by one.
int DropPosition(int from, int before) { return before > from ? before - 1 : before; }

}  // namespace

// ---------------------------------------------------------------------------
// Albums

std::string ContentEditor::PromptForText(const std::string& prompt, const std::string& default_text,
                                         const std::string& caption) {
  const auto answer = state_.dialogs.AskText({prompt, WindowTitle(caption), default_text});
  std::string text = TrimBlanks(answer.value_or(std::string()));
  if (CharCount(text) > MaxTextLength) {
    state_.Message(kTitleTooLong, kTitleTooLongCaption, Buttons::kOk, Icon::kExclamation);
    text = FirstChars(text, MaxTextLength);
  }
  return text;
}

void ContentEditor::AddAlbumCommand() {
  std::string title = PromptForText(kAddAlbumPrompt, std::string(), kAddAlbumCaption);
  if (title.empty()) return;
  const Selection before = state_.CurrentSelection();
  project_.AddAlbum(std::move(title));
  AlbumSelected();
  state_.RecordEdit(before);
  state_.Notify();
}

void ContentEditor::EditAlbumTitle() {
  const int selected = project_.SelectedAlbum();
  if (selected < 0) return;
  std::string title = PromptForText(kEditAlbumPrompt, project_.AlbumTitles(selected), kEditAlbumCaption);
  if (title.empty()) return;
  const Selection before = state_.CurrentSelection();
  project_.RenameAlbum(selected, std::move(title));
  selected_album_label_ = project_.AlbumTitles(selected);
  state_.RecordEdit(before);
  state_.Notify();
}

void ContentEditor::RemoveAlbumCommand() {
  const int selected = project_.SelectedAlbum();
  if (selected < 0) {
    if (project_.AlbumCount() > 0) {
      state_.Message(kSelectAlbumToRemove, kRemoveAlbumCaption, Buttons::kOk, Icon::kExclamation);
    }
    return;
  }
  const Selection before = state_.CurrentSelection();
  selected_album_label_.clear();
  project_.RemoveAlbum(selected);
  if (project_.SelectedAlbum() < 0) {
    // No album is left: the picture side empties and the album counter goes back to
    // its empty caption rather than naming an album that no longer exists.
    album_frame_caption_ = kAlbumsCaptionEmpty;
    SetCommentBox(std::string());
  }
  AlbumSelected();
  state_.RecordEdit(before);
  state_.Notify();
}

void ContentEditor::OnAlbumClicked(int position) {
  state_.history.CloseMerge();
  project_.SelectAlbum(position);
  AlbumSelected();
  state_.Notify();
}

void ContentEditor::AlbumSelected() {
  picture_selection_.clear();
  if (project_.SelectedAlbum() >= 0) ShowAlbum();
  SetPictureFrameCount();
  picture_buttons_enabled_ = project_.SelectedAlbum() >= 0;
}

void ContentEditor::ShowAlbum() {
  const int selected = project_.SelectedAlbum();
  album_frame_caption_ = AlbumCounter(selected, project_.AlbumCount());
  project_.SelectPicture(0);  // no picture when the album is empty
  PictureSelected();
  selected_album_label_ = project_.AlbumTitles(selected);
}

void ContentEditor::ShowSelection() {
  picture_selection_.clear();
  const int album = project_.SelectedAlbum();
  const int picture = project_.SelectedPicture();
  if (album >= 0) {
    album_frame_caption_ = AlbumCounter(album, project_.AlbumCount());
    selected_album_label_ = project_.AlbumTitles(album);
  } else {
    if (project_.AlbumCount() == 0) album_frame_caption_ = kAlbumsCaptionEmpty;
    selected_album_label_.clear();
  }
  comment_box_ = album >= 0 && picture >= 0 ? project_.AlbumPictures(album).At(picture).comment : std::string();
  SetPictureFrameCount();
  picture_buttons_enabled_ = album >= 0;
}

void ContentEditor::Clear() {
  picture_selection_.clear();
  album_frame_caption_ = kAlbumsCaptionEmpty;
  selected_album_label_.clear();
  picture_frame_caption_ = kPicturesCaptionEmpty;
  comment_box_.clear();
}

void ContentEditor::PageShown() {
  const int album = project_.SelectedAlbum();
  selected_album_label_ = album >= 0 ? project_.AlbumTitles(album) : std::string();
  SetPictureFrameCount();
  picture_buttons_enabled_ = album >= 0;
}

std::vector<std::string> ContentEditor::AlbumRows() const {
  std::vector<std::string> rows;
  rows.reserve(static_cast<std::size_t>(project_.AlbumCount()));
  for (int i = 0; i < project_.AlbumCount(); ++i) rows.push_back(project_.AlbumTitles(i));
  return rows;
}

std::string ContentEditor::SelectedPicturePath() const {
  const int picture = project_.SelectedPicture();
  if (project_.SelectedAlbum() < 0 || picture < 0) return std::string();
  return project_.AlbumPictures(project_.SelectedAlbum()).At(picture).path;
}

std::vector<std::string> ContentEditor::PictureRows() const {
  std::vector<std::string> rows;
  if (project_.SelectedAlbum() < 0) return rows;
  for (const Picture& picture : project_.AlbumPictures(project_.SelectedAlbum())) rows.push_back(picture.path);
  return rows;
}

// ---------------------------------------------------------------------------
// Picture editing

void ContentEditor::SetPictureFrameCount() {
  const int rows = project_.SelectedAlbum() >= 0 ? project_.AlbumPictures(project_.SelectedAlbum()).Count() : 0;
  picture_frame_caption_ = kPicturesCaptionPrefix + std::to_string(rows);
}

void ContentEditor::PictureSelected() {
  const int album = project_.SelectedAlbum();
  const int picture = project_.SelectedPicture();
  if (album >= 0 && picture >= 0) {
    SetCommentBox(project_.AlbumPictures(album).At(picture).comment);
  } else {
    SetCommentBox(std::string());
  }
}

void ContentEditor::SetCommentBox(const std::string& text) {
  if (text == comment_box_) return;  // an unchanged text changes nothing
  comment_box_ = text;
  // Without a selected picture there is nothing to comment on: the box empties.
  if (project_.SelectedAlbum() < 0 || project_.SelectedPicture() < 0) {
    comment_box_.clear();
    return;
  }
  const std::string& stored = project_.AlbumPictures(project_.SelectedAlbum()).At(project_.SelectedPicture()).comment;
  // The limit is on what the user types. A longer comment read from a project file is
  // shown and kept whole: showing a picture never cuts its stored comment.
  if (comment_box_ != stored && CharCount(comment_box_) > MaxTextLength) {
    state_.Message(kCommentTooLong, kCommentTooLongCaption, Buttons::kOk, Icon::kExclamation);
    comment_box_ = FirstChars(comment_box_, MaxTextLength);
  }
  // Showing a picture's own comment is no edit: only a different text is stored.
  if (comment_box_ != stored) project_.SetPictureComment(project_.SelectedPicture(), comment_box_);
}

void ContentEditor::AddPictureToAlbum(std::string path, const std::string& caption) {
  project_.AddPicture(std::move(path));
  // A picture arrives with its own caption as its comment; one the user already wrote
  // for it (the file added again) stays.
  const int picture = project_.SelectedPicture();
  if (!caption.empty() && project_.AlbumPictures(project_.SelectedAlbum()).At(picture).comment.empty()) {
    project_.SetPictureComment(picture, caption);
  }
  PictureSelected();
  SetPictureFrameCount();
}

std::vector<std::string> ContentEditor::CaptionsOf(const std::vector<std::string>& paths) {
  std::vector<std::string> captions(paths.size());
  if (state_.metadata_reading == nullptr || paths.empty()) return captions;
  // Stopped early, the pictures read so far keep their captions.
  const MetadataReads reads = state_.metadata_reading->ReadAll({paths, WindowTitle(kAddPictureCaption), kReadingCaptions});
  for (std::size_t k = 0; k < captions.size() && k < reads.metadata.size(); ++k) {
    if (reads.metadata[k]) captions[k] = CaptionOf(*reads.metadata[k]);
  }
  return captions;
}

bool ContentEditor::MayAddPictures() {
  if (project_.SelectedAlbum() < 0) {
    state_.Message(project_.AlbumCount() > 0 ? kSelectAlbumForPicture : kAddAlbumFirst, kAddPictureCaption,
            Buttons::kOk, Icon::kExclamation);
    return false;
  }
  if (project_.IsAlbumFull()) {
    state_.Message(AlbumFullMessage(), kAddPictureCaption, Buttons::kOk, Icon::kExclamation);
    return false;
  }
  return true;
}

bool ContentEditor::LeaveOutUnstorablePaths(std::vector<std::string>& paths) {
  // A project file keeps one value per line, so a path holding a line break could not
  // be saved and read back; such files are named and left out.
  std::string unstorable;
  std::erase_if(paths, [&unstorable](const std::string& path) {
    if (path.find_first_of("\r\n") == std::string::npos) return false;
    unstorable += "\r\n" + path;
    return true;
  });
  if (!unstorable.empty()) {
    state_.Message(kLineBreakInName + unstorable, kAddPictureCaption, Buttons::kOk, Icon::kExclamation);
  }
  // A picture is known by its content, whatever its name says.
  const std::vector<std::string> refused = NonPictureFiles(paths);
  if (!refused.empty()) {
    std::string names;
    for (const std::string& path : refused) names += "\r\n" + path;
    std::erase_if(paths, [&refused](const std::string& path) {
      return std::find(refused.begin(), refused.end(), path) != refused.end();
    });
    state_.Message(kNotPictures + names, kAddPictureCaption, Buttons::kOk, Icon::kExclamation);
  }
  return !paths.empty();
}

void ContentEditor::AddPicturePaths(const std::vector<std::string>& paths, int chosen) {
  const std::vector<std::string> captions = CaptionsOf(paths);
  int added = 0;
  for (std::size_t k = 0; k < paths.size(); ++k) {
    if (project_.IsAlbumFull()) {
      state_.Message(LimitReachedMessage(added, chosen), kAddPictureCaption, Buttons::kOk, Icon::kExclamation);
      break;
    }
    AddPictureToAlbum(paths[k], captions[k]);
    ++added;
  }
}

void ContentEditor::AddPicturesCommand() {
  if (!MayAddPictures()) return;
  FileDialogRequest request;
  request.title = kPictureDialogTitle;
  request.default_ext = "jpg";
  request.filter = PictureDialogFilter();
  request.initial_folder = state_.directories.LastPictureDirectory;
  auto chosen = state_.dialogs.ChooseOpenFiles(request);
  if (!chosen || chosen->empty()) return;
  const int total = static_cast<int>(chosen->size());
  if (!LeaveOutUnstorablePaths(*chosen)) return;

  const Selection before = state_.CurrentSelection();
  if (total == 1) {
    AddPicturePaths(*chosen, total);
    state_.directories.LastPictureDirectory = FolderOf(chosen->front());
  } else {
    // Several files come from one folder; it is kept with its trailing separator.
    const std::string folder = CollapseDoubledSeparators(FolderOf(chosen->front()) + kPathSeparator);
    for (std::string& path : *chosen) path = folder + FileNameOf(path);
    AddPicturePaths(*chosen, total);
    state_.directories.LastPictureDirectory = folder;
  }
  state_.RecordEdit(before);
  state_.Notify();
}

void ContentEditor::RemovePictureCommand() {
  const int album = project_.SelectedAlbum();
  const int picture = project_.SelectedPicture();
  if (picture < 0) {
    if (album >= 0 && project_.AlbumPictures(album).Count() > 0) {
      state_.Message(kSelectPictureToRemove, kRemovePictureCaption, Buttons::kOk, Icon::kExclamation);
    }
    return;
  }
  const Selection before{album, picture};
  const std::vector<int> rows = SelectedPictureRows();
  picture_selection_.clear();
  if (rows.size() > 1) {
    project_.RemovePictures(rows);
    PictureSelected();
  } else {
    const int count = project_.AlbumPictures(album).Count();
    // The picture that follows is selected before the removal and shows its comment.
    const int next = picture + 1 < count ? picture + 1 : picture - 1;
    if (next >= 0) {
      project_.SelectPicture(next);
      PictureSelected();
      project_.SelectPicture(picture);
    } else {
      SetCommentBox(std::string());
    }
    project_.RemovePicture(picture);
  }
  SetPictureFrameCount();
  state_.RecordEdit(before);
  state_.Notify();
}

void ContentEditor::OnPictureClicked(int position) {
  state_.history.CloseMerge();
  picture_selection_.clear();
  project_.SelectPicture(position);
  PictureSelected();
  state_.Notify();
}

void ContentEditor::OnPictureSelectionChanged(std::vector<int> rows, int current) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  const int album = project_.SelectedAlbum();
  const int count = album >= 0 ? project_.AlbumPictures(album).Count() : 0;
  std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
  if (rows.empty()) {
    // A Ctrl+click took the last selected row away: the current picture stays selected.
    state_.Notify();
    return;
  }
  if (!std::binary_search(rows.begin(), rows.end(), current)) current = rows.front();
  if (current != project_.SelectedPicture()) {
    state_.history.CloseMerge();
    project_.SelectPicture(current);
    PictureSelected();
  }
  picture_selection_ = std::move(rows);
  state_.Notify();
}

void ContentEditor::SelectAllPictures() {
  if (!SelectAllEnabled()) return;
  const int count = project_.AlbumPictures(project_.SelectedAlbum()).Count();
  std::vector<int> rows(static_cast<std::size_t>(count));
  for (int j = 0; j < count; ++j) rows[static_cast<std::size_t>(j)] = j;
  OnPictureSelectionChanged(std::move(rows), std::max(project_.SelectedPicture(), 0));
}

void ContentEditor::SortPicturesByName() {
  if (!SelectAllEnabled()) return;
  const PictureMap& pictures = project_.AlbumPictures(project_.SelectedAlbum());
  std::vector<int> order(static_cast<std::size_t>(pictures.Count()));
  for (int j = 0; j < pictures.Count(); ++j) order[static_cast<std::size_t>(j)] = j;
  std::stable_sort(order.begin(), order.end(), [&pictures](int a, int b) {
    return NaturalLess(FileNameOf(pictures.At(a).path), FileNameOf(pictures.At(b).path));
  });
  const Selection before = state_.CurrentSelection();
  project_.ReorderPictures(order);
  picture_selection_.clear();
  state_.RecordEdit(before);
  state_.Notify();
}

void ContentEditor::SortPicturesByDateTaken() {
  if (!SortByDateEnabled()) return;
  const int album = project_.SelectedAlbum();
  std::vector<std::string> paths;
  for (const Picture& picture : project_.AlbumPictures(album)) paths.push_back(picture.path);
  const MetadataReads reads =
      state_.metadata_reading->ReadAll({paths, WindowTitle(kSortByDateCaption), kReadingDates});
  // A stopped reading sorts nothing; nor does one that ended on an album changed meanwhile.
  if (reads.stopped || reads.metadata.size() != paths.size() || PictureRows() != paths) return;
  std::vector<std::string> dates(paths.size());
  for (std::size_t k = 0; k < paths.size(); ++k) {
    if (reads.metadata[k]) dates[k] = DateTakenOf(*reads.metadata[k]);
  }
  if (std::all_of(dates.begin(), dates.end(), [](const std::string& date) { return date.empty(); })) {
    state_.Message(kNoDatesTaken, kSortByDateCaption, Buttons::kOk, Icon::kInformation);
    return;
  }
  std::vector<int> order(paths.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int>(k);
  // Dates sort as text; an undated picture goes after every dated one.
  std::stable_sort(order.begin(), order.end(), [&dates](int a, int b) {
    const std::string& date_a = dates[static_cast<std::size_t>(a)];
    const std::string& date_b = dates[static_cast<std::size_t>(b)];
    if (date_a.empty() || date_b.empty()) return !date_a.empty() && date_b.empty();
    return date_a < date_b;
  });
  const Selection before = state_.CurrentSelection();
  project_.ReorderPictures(order);
  picture_selection_.clear();
  state_.RecordEdit(before);
  state_.Notify();
}

std::vector<int> ContentEditor::SelectedPictureRows() const {
  const int current = project_.SelectedPicture();
  if (current < 0) return {};
  const int count = project_.AlbumPictures(project_.SelectedAlbum()).Count();
  const bool valid = !picture_selection_.empty() && picture_selection_.back() < count &&
                     std::binary_search(picture_selection_.begin(), picture_selection_.end(), current);
  return valid ? picture_selection_ : std::vector<int>{current};
}

bool ContentEditor::RemovePictureEnabled() const {
  const int album = project_.SelectedAlbum();
  return album >= 0 && project_.AlbumPictures(album).Count() > 0;
}

void ContentEditor::OnCommentEdited(const std::string& text) {
  // The box showing the editor's own text again is no edit.
  if (text == comment_box_) return;
  const Selection before = state_.CurrentSelection();
  SetCommentBox(text);
  // Typing on in one picture's comment is one step.
  const int picture = project_.SelectedPicture();
  state_.RecordEdit(before, picture < 0 ? std::string()
                                 : "comment\n" + std::to_string(project_.SelectedAlbum()) + "\n" +
                                       project_.AlbumPictures(project_.SelectedAlbum()).At(picture).path);
  state_.Notify();
}

// ---------------------------------------------------------------------------
// Reordering

void ContentEditor::MoveSelectedAlbum(int step) {
  const int selected = project_.SelectedAlbum();
  if (selected >= 0) MoveAlbum(selected, selected + step);
}

void ContentEditor::MoveAlbumBefore(int from, int before) { MoveAlbum(from, DropPosition(from, before)); }

void ContentEditor::MoveAlbum(int from, int to) {
  const int count = project_.AlbumCount();
  if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  const Selection before = state_.CurrentSelection();
  const bool was_selected = from == project_.SelectedAlbum();
  project_.MoveAlbum(from, to);
  if (was_selected) {
    ShowSelection();  // the same album and picture, at a new place
  } else {
    AlbumSelected();
  }
  state_.RecordEdit(before);
  state_.Notify();
}

void ContentEditor::MoveSelectedPicture(int step) {
  const std::vector<int> rows = SelectedPictureRows();
  if (rows.empty()) return;
  // Up: before the picture above the first; down: before the one two below the last.
  MovePicturesBefore(rows, step < 0 ? rows.front() - 1 : rows.back() + 2);
}

void ContentEditor::MovePicturesBefore(std::vector<int> rows, int before) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  const int album = project_.SelectedAlbum();
  const int count = album >= 0 ? project_.AlbumPictures(album).Count() : 0;
  if (rows.empty() || rows.front() < 0 || rows.back() >= count || before < 0 || before > count) return;
  // Rows that stand together, dropped on themselves or just beside, stay where they are.
  const bool together = rows.back() - rows.front() + 1 == static_cast<int>(rows.size());
  if (together && before >= rows.front() && before <= rows.back() + 1) return;
  const Selection before_selection = state_.CurrentSelection();
  const bool current_moves = std::binary_search(rows.begin(), rows.end(), project_.SelectedPicture());
  std::vector<int> moved = project_.MovePictures(rows, before);
  // The moved pictures are the selection; the comment box stays on the current one
  // when it moved with them, and goes to the first of them otherwise.
  if (!current_moves) project_.SelectPicture(moved.front());
  PictureSelected();
  picture_selection_ = std::move(moved);
  state_.RecordEdit(before_selection);
  state_.Notify();
}

bool ContentEditor::MoveAlbumUpEnabled() const { return project_.SelectedAlbum() > 0; }

bool ContentEditor::MoveAlbumDownEnabled() const {
  const int selected = project_.SelectedAlbum();
  return selected >= 0 && selected + 1 < project_.AlbumCount();
}

bool ContentEditor::MovePictureUpEnabled() const {
  const std::vector<int> rows = SelectedPictureRows();
  return !rows.empty() && rows.front() > 0;
}

bool ContentEditor::MovePictureDownEnabled() const {
  const std::vector<int> rows = SelectedPictureRows();
  return !rows.empty() && rows.back() + 1 < project_.AlbumPictures(project_.SelectedAlbum()).Count();
}

// ---------------------------------------------------------------------------
// Drops from outside

void ContentEditor::AddDroppedPictures(std::vector<std::string> paths) {
  if (!MayAddPictures()) return;
  const int total = static_cast<int>(paths.size());
  if (!LeaveOutUnstorablePaths(paths)) return;
  const Selection before = state_.CurrentSelection();
  AddPicturePaths(paths, total);
  state_.RecordEdit(before);
}

void ContentEditor::AddDroppedFolders(const std::vector<std::string>& folders) {
  const FolderImport imported = ImportFolders(folders);
  std::vector<std::string> paths;
  for (const Album& album : imported.project.Albums()) {
    for (const Picture& picture : album.pictures) paths.push_back(picture.path);
  }
  const std::vector<std::string> captions = CaptionsOf(paths);
  const Selection before = state_.CurrentSelection();
  // Each album goes in after the selected one and becomes the selection, as Add Album.
  std::size_t next_caption = 0;
  for (const Album& album : imported.project.Albums()) {
    project_.AddAlbum(album.title);
    for (const Picture& picture : album.pictures) {
      project_.AddPicture(picture.path);
      const std::string& caption = captions[next_caption++];
      if (!caption.empty()) project_.SetPictureComment(project_.SelectedPicture(), caption);
    }
  }
  if (imported.project.AlbumCount() > 0) AlbumSelected();
  state_.RecordEdit(before);

  std::string left_out;
  for (const auto* list : {&imported.errors, &imported.warnings}) {
    for (const std::string& line : *list) left_out += "\r\n" + line;
  }
  if (!left_out.empty()) {
    state_.Message(kFoldersLeftOut + left_out, kAddAlbumCaption, Buttons::kOk, Icon::kExclamation);
  }
}

}  // namespace quorvale
