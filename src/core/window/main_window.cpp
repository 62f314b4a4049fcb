#include "window/main_window.h"

#include <utility>

#include "generate/access_url.h"
#include "generate/startup_settings.h"
#include "platform/path.h"
#include "platform/product.h"
#include "platform/text_codec.h"

namespace quorvale {
namespace {

constexpr const char* kAlbumsCaptionEmpty = "     Albums:";
constexpr const char* kUserProjectsFolder = "Quorvale Projects";
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
constexpr const char* kPictureDialogFilter = "Image File (*.jpg, *.jpeg, *.gif)|*.jpg;*.jpeg;*.gif";
const std::string kLineBreakInName =
    "These files cannot be added: their names hold a line break, which a project file cannot store.";
constexpr const char* kSelectPictureToRemove = "Please select a Picture to REMOVE!!!";
constexpr const char* kRemovePictureCaption = "Remove Picture";
constexpr const char* kCommentTooLong =
    "Comment length is greater than 200 characters. Input truncated!!";
constexpr const char* kCommentTooLongCaption = "Edit Picture Comment: Length Error";

// Publishing settings.
constexpr const char* kBrowsePublishTitle = "Select the Publishing Directory ...";
constexpr const char* kKeepLocationTip = "Leave the GPS position in the display copies and published originals of "
                                         "pictures that hold one (serial numbers and owner names never stay)";
constexpr const char* kKeepLocationJavaTip =
    "The JAVA viewer publishes the original pictures unchanged, location included; choose HTML to publish them "
    "without it";

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

}  // namespace

MainWindowLogic::MainWindowLogic(UserDialogs& dialogs, const Clock& clock, std::string program_folder,
                                 std::string documents_folder)
    : dialogs_(dialogs), clock_(clock) {
  directories_.ProgramFolder = std::move(program_folder);
  directories_.DocumentsFolder = std::move(documents_folder);
}

void MainWindowLogic::Startup() {
  const std::string& folder = directories_.ProgramFolder;
  directories_.ApplicationsDirectory = ApplicationsFolder(folder);
  // An installed program cannot write its own folder: the project dialogs start in the
  // user's documents folder when there is one.
  if (!directories_.DocumentsFolder.empty()) {
    directories_.UserProjectsFolder = JoinPath(directories_.DocumentsFolder, kUserProjectsFolder);
  }
  directories_.ProjectDirectory =
      directories_.UserProjectsFolder.empty() ? ProjectsFolder(folder) : directories_.UserProjectsFolder;
  directories_.LastPictureDirectory = folder;
  settings_ = StartupSettings(folder);

  // The Torvexa option is selected first, which runs SelectViewerType; a project file
  // or the user may choose the HTML viewer from then on.
  settings_.ViewerType = kJavaViewerType;
  SelectViewerType();
  html_enabled_ = true;

  NewProject();
}

// ---------------------------------------------------------------------------
// Album editing

std::string MainWindowLogic::PromptForText(const std::string& prompt, const std::string& default_text,
                                           const std::string& caption) {
  const auto answer = dialogs_.AskText({prompt, WindowTitle(caption), default_text});
  std::string text = TrimBlanks(answer.value_or(std::string()));
  if (CharCount(text) > MaxTextLength) {
    Message(kTitleTooLong, kTitleTooLongCaption, Buttons::kOk, Icon::kExclamation);
    text = FirstChars(text, MaxTextLength);
  }
  return text;
}

void MainWindowLogic::AddAlbumCommand() {
  std::string title = PromptForText(kAddAlbumPrompt, std::string(), kAddAlbumCaption);
  if (title.empty()) return;
  const Selection before = CurrentSelection();
  project_.AddAlbum(std::move(title));
  AlbumSelected();
  RecordEdit(before);
  Notify();
}

void MainWindowLogic::EditAlbumTitle() {
  const int selected = project_.SelectedAlbum();
  if (selected < 0) return;
  std::string title = PromptForText(kEditAlbumPrompt, project_.AlbumTitles(selected), kEditAlbumCaption);
  if (title.empty()) return;
  const Selection before = CurrentSelection();
  project_.RenameAlbum(selected, std::move(title));
  selected_album_label_ = project_.AlbumTitles(selected);
  RecordEdit(before);
  Notify();
}

void MainWindowLogic::RemoveAlbumCommand() {
  const int selected = project_.SelectedAlbum();
  if (selected < 0) {
    if (project_.AlbumCount() > 0) {
      Message(kSelectAlbumToRemove, kRemoveAlbumCaption, Buttons::kOk, Icon::kExclamation);
    }
    return;
  }
  const Selection before = CurrentSelection();
  selected_album_label_.clear();
  project_.RemoveAlbum(selected);
  if (project_.SelectedAlbum() < 0) {
    // No album is left: the picture side empties and the album counter goes back to
    // its empty caption rather than naming an album that no longer exists.
    album_frame_caption_ = kAlbumsCaptionEmpty;
    SetCommentBox(std::string());
  }
  AlbumSelected();
  RecordEdit(before);
  Notify();
}

void MainWindowLogic::OnAlbumClicked(int position) {
  history_.CloseMerge();
  project_.SelectAlbum(position);
  AlbumSelected();
  Notify();
}

void MainWindowLogic::AlbumSelected() {
  if (project_.SelectedAlbum() >= 0) ShowAlbum();
  SetPictureFrameCount();
  picture_buttons_enabled_ = project_.SelectedAlbum() >= 0;
}

void MainWindowLogic::ShowAlbum() {
  const int selected = project_.SelectedAlbum();
  album_frame_caption_ = AlbumCounter(selected, project_.AlbumCount());
  project_.SelectPicture(0);  // no picture when the album is empty
  PictureSelected();
  selected_album_label_ = project_.AlbumTitles(selected);
}

void MainWindowLogic::ShowSelection() {
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

// ---------------------------------------------------------------------------
// Picture editing

void MainWindowLogic::SetPictureFrameCount() {
  const int rows = project_.SelectedAlbum() >= 0 ? project_.AlbumPictures(project_.SelectedAlbum()).Count() : 0;
  picture_frame_caption_ = kPicturesCaptionPrefix + std::to_string(rows);
}

void MainWindowLogic::PictureSelected() {
  const int album = project_.SelectedAlbum();
  const int picture = project_.SelectedPicture();
  if (album >= 0 && picture >= 0) {
    SetCommentBox(project_.AlbumPictures(album).At(picture).comment);
  } else {
    SetCommentBox(std::string());
  }
}

void MainWindowLogic::SetCommentBox(const std::string& text) {
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
    Message(kCommentTooLong, kCommentTooLongCaption, Buttons::kOk, Icon::kExclamation);
    comment_box_ = FirstChars(comment_box_, MaxTextLength);
  }
  project_.SetPictureComment(project_.SelectedPicture(), comment_box_);
}

void MainWindowLogic::AddPictureToAlbum(std::string path) {
  project_.AddPicture(std::move(path));
  PictureSelected();
  SetPictureFrameCount();
}

bool MainWindowLogic::MayAddPictures() {
  if (project_.SelectedAlbum() < 0) {
    Message(project_.AlbumCount() > 0 ? kSelectAlbumForPicture : kAddAlbumFirst, kAddPictureCaption,
            Buttons::kOk, Icon::kExclamation);
    return false;
  }
  if (project_.IsAlbumFull()) {
    Message(AlbumFullMessage(), kAddPictureCaption, Buttons::kOk, Icon::kExclamation);
    return false;
  }
  return true;
}

bool MainWindowLogic::LeaveOutUnstorablePaths(std::vector<std::string>& paths) {
  // A project file keeps one value per line, so a path holding a line break could not
  // be saved and read back; such files are named and left out.
  std::string unstorable;
  std::erase_if(paths, [&unstorable](const std::string& path) {
    if (path.find_first_of("\r\n") == std::string::npos) return false;
    unstorable += "\r\n" + path;
    return true;
  });
  if (!unstorable.empty()) {
    Message(kLineBreakInName + unstorable, kAddPictureCaption, Buttons::kOk, Icon::kExclamation);
  }
  return !paths.empty();
}

void MainWindowLogic::AddPicturePaths(const std::vector<std::string>& paths, int chosen) {
  int added = 0;
  for (const std::string& path : paths) {
    if (project_.IsAlbumFull()) {
      Message(LimitReachedMessage(added, chosen), kAddPictureCaption, Buttons::kOk, Icon::kExclamation);
      break;
    }
    AddPictureToAlbum(path);
    ++added;
  }
}

void MainWindowLogic::AddPicturesCommand() {
  if (!MayAddPictures()) return;
  FileDialogRequest request;
  request.title = kPictureDialogTitle;
  request.default_ext = "jpg";
  request.filter = kPictureDialogFilter;
  request.initial_folder = directories_.LastPictureDirectory;
  auto chosen = dialogs_.ChooseOpenFiles(request);
  if (!chosen || chosen->empty()) return;
  const int total = static_cast<int>(chosen->size());
  if (!LeaveOutUnstorablePaths(*chosen)) return;

  const Selection before = CurrentSelection();
  if (total == 1) {
    AddPictureToAlbum(chosen->front());
    directories_.LastPictureDirectory = FolderOf(chosen->front());
  } else {
    // Several files come from one folder; it is kept with its trailing separator.
    const std::string folder = CollapseDoubledSeparators(FolderOf(chosen->front()) + kPathSeparator);
    for (std::string& path : *chosen) path = folder + FileNameOf(path);
    AddPicturePaths(*chosen, total);
    directories_.LastPictureDirectory = folder;
  }
  RecordEdit(before);
  Notify();
}

void MainWindowLogic::RemovePictureCommand() {
  const int album = project_.SelectedAlbum();
  const int picture = project_.SelectedPicture();
  if (picture < 0) {
    if (album >= 0 && project_.AlbumPictures(album).Count() > 0) {
      Message(kSelectPictureToRemove, kRemovePictureCaption, Buttons::kOk, Icon::kExclamation);
    }
    return;
  }
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
  const Selection before{album, picture};
  project_.RemovePicture(picture);
  SetPictureFrameCount();
  RecordEdit(before);
  Notify();
}

void MainWindowLogic::OnPictureClicked(int position) {
  history_.CloseMerge();
  project_.SelectPicture(position);
  PictureSelected();
  Notify();
}

void MainWindowLogic::OnCommentEdited(const std::string& text) {
  const Selection before = CurrentSelection();
  SetCommentBox(text);
  // Typing on in one picture's comment is one step.
  const int picture = project_.SelectedPicture();
  RecordEdit(before, picture < 0 ? std::string()
                                 : "comment\n" + std::to_string(project_.SelectedAlbum()) + "\n" +
                                       project_.AlbumPictures(project_.SelectedAlbum()).At(picture).path);
  Notify();
}

// ---------------------------------------------------------------------------
// Publishing settings

void MainWindowLogic::SelectViewerType() {
  // The Torvexa run publishes every original as it is, so its box is ticked and locked;
  // with the HTML viewer publishing the originals is the user's choice, ticked to start.
  settings_.PublishPictures = 1;
  FollowViewerSourceFolder();
  UpdateAccessUrl();
}

void MainWindowLogic::FollowViewerSourceFolder() {
  // A source folder outside the program folder is the user's own and stays.
  const std::string& folder = directories_.ProgramFolder;
  if (settings_.ApplicationSourceDirectory.find(folder) != std::string::npos) {
    settings_.ApplicationSourceDirectory = ViewerSourceFolder(folder, settings_.ViewerType);
  }
}

void MainWindowLogic::OnViewerOptionChosen(const std::string& viewer_type) {
  if (IsHtmlViewerType(viewer_type) == IsHtmlViewerType(settings_.ViewerType)) return;
  settings_.ViewerType = IsHtmlViewerType(viewer_type) ? kHtmlViewerType : kJavaViewerType;
  SelectViewerType();
  project_.Modified = true;
  Notify();
}

void MainWindowLogic::UpdateAccessUrl() { access_url_ = AccessUrlFor(settings_.PublishDirectory); }

void MainWindowLogic::SetPublishDirectory(const std::string& text) {
  if (text == settings_.PublishDirectory) return;  // an unchanged text raises no change
  settings_.PublishDirectory = text;
  UpdateAccessUrl();
  project_.Modified = true;
}

void MainWindowLogic::OnPublishDirectoryEdited(const std::string& text) {
  const Selection before = CurrentSelection();
  SetPublishDirectory(text);
  RecordEdit(before, "publish directory");
  Notify();
}

void MainWindowLogic::OnKeepLocationClicked(bool checked) {
  if (KeepLocationEnabled() && checked != settings_.KeepLocation) {
    settings_.KeepLocation = checked;
    project_.Modified = true;  // the setting is saved with the project
  }
  Notify();
}

void MainWindowLogic::OnPublishPicturesClicked(bool checked) {
  const int value = checked ? 1 : 0;
  if (PublishPicturesEnabled() && value != settings_.PublishPictures) {
    settings_.PublishPictures = value;
    project_.Modified = true;  // the setting is saved with the project
  }
  Notify();
}

const char* MainWindowLogic::KeepLocationToolTip() const {
  return KeepLocationEnabled() ? kKeepLocationTip : kKeepLocationJavaTip;
}

void MainWindowLogic::OnAccessUrlEdited(const std::string&) {
  // The box always shows the URL of the Publishing Directory: typing is undone at once.
  UpdateAccessUrl();
  Notify();
}

void MainWindowLogic::BrowseForDirectory() {
  const auto folder = dialogs_.ChooseFolder(kBrowsePublishTitle, settings_.PublishDirectory);
  if (!folder) return;
  const Selection before = CurrentSelection();
  SetPublishDirectory(*folder);
  RecordEdit(before);
  Notify();
}

// ---------------------------------------------------------------------------
// Window

void MainWindowLogic::ResetProject() {
  project_.ResetProject();
  album_frame_caption_ = kAlbumsCaptionEmpty;
  selected_album_label_.clear();
  picture_frame_caption_ = kPicturesCaptionEmpty;
  comment_box_.clear();
  status_caption_.clear();
  status_text_.Clear();
  if (observer_) observer_->TranscriptReplaced();
}

void MainWindowLogic::ShowContentPage() {
  current_page_ = kContentPage;
  OnTabChanged(kContentPage);
}

void MainWindowLogic::OnTabChanged(int page) {
  current_page_ = page;
  const int album = project_.SelectedAlbum();
  if (page == kContentPage) {
    selected_album_label_ = album >= 0 ? project_.AlbumTitles(album) : std::string();
    SetPictureFrameCount();
    picture_buttons_enabled_ = album >= 0;
  } else {
    generate_enabled_ = project_.AlbumCount() > 0;
  }
  Notify();
}

void MainWindowLogic::ShowAbout() {
  const std::string gap = "\r\n\r\n";
  Message(ProductTitle() + gap + "For updates visit internet:" + gap + kUpdatePage + gap + kLegalNotice, "About",
          Buttons::kOk, Icon::kNone);
}

std::vector<std::string> MainWindowLogic::AlbumRows() const {
  std::vector<std::string> rows;
  rows.reserve(static_cast<std::size_t>(project_.AlbumCount()));
  for (int i = 0; i < project_.AlbumCount(); ++i) rows.push_back(project_.AlbumTitles(i));
  return rows;
}

std::vector<std::string> MainWindowLogic::PictureRows() const {
  std::vector<std::string> rows;
  if (project_.SelectedAlbum() < 0) return rows;
  for (const Picture& picture : project_.AlbumPictures(project_.SelectedAlbum())) rows.push_back(picture.path);
  return rows;
}

Answer MainWindowLogic::Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) {
  return dialogs_.ShowMessage({text, WindowTitle(caption), buttons, icon});
}

void MainWindowLogic::Notify() {
  if (observer_) observer_->StateChanged();
}

}  // namespace quorvale
