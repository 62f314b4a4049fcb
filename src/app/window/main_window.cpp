#include "window/main_window.h"

#include <algorithm>
#include <utility>

#include "viewers/startup_settings.h"
#include "help/quick_help.h"
#include "platform/path.h"
#include "platform/product.h"
#include "projectfile/folder_import.h"
#include "window/moved_pictures.h"
#include "window/picture_rows.h"

namespace quorvale {
namespace {

constexpr const char* kUserProjectsFolder = "Quorvale Projects";

}  // namespace

MainWindowLogic::MainWindowLogic(UserDialogs& dialogs, const Clock& clock, std::string program_folder,
                                 std::string documents_folder)
    : state_(dialogs), run_(state_, clock), upload_(state_, clock, run_) {
  state_.directories.ProgramFolder = std::move(program_folder);
  state_.directories.DocumentsFolder = std::move(documents_folder);
}

void MainWindowLogic::Startup() {
  ProgramDirectories& directories = state_.directories;
  const std::string& folder = directories.ProgramFolder;
  directories.ApplicationsDirectory = ApplicationsFolder(folder);
  // An installed program cannot write its own folder: the project dialogs start in the
  // user's documents folder when there is one.
  if (!directories.DocumentsFolder.empty()) {
    directories.UserProjectsFolder = JoinPath(directories.DocumentsFolder, kUserProjectsFolder);
  }
  directories.ProjectDirectory =
      directories.UserProjectsFolder.empty() ? ProjectsFolder(folder) : directories.UserProjectsFolder;
  directories.LastPictureDirectory = folder;
  publishing_.Start();
  session_.NewProject();
}

void MainWindowLogic::OpenFromCommandLine(const std::string& path) {
  session_.OpenDroppedFile(path);
  state_.Notify();
}

DropAction MainWindowLogic::DropActionFor(DropTarget target, const std::vector<std::string>& paths) const {
  if (run_.GenerationRunning()) return DropAction::kRefuse;  // the project waits for the run
  return ClassifyDrop(target, paths);
}

void MainWindowLogic::DropPaths(DropTarget target, std::vector<std::string> paths) {
  // A drop comes in no useful order: files and folders are taken in natural name order,
  // so "peak-2" comes before "peak-10".
  std::sort(paths.begin(), paths.end(), NaturalLess);
  switch (DropActionFor(target, paths)) {
    case DropAction::kRefuse:
      break;
    case DropAction::kAddPictures:
      content_.AddDroppedPictures(std::move(paths));
      break;
    case DropAction::kAddAlbums:
      content_.AddDroppedFolders(paths);
      break;
    case DropAction::kOpenProject:
      session_.OpenDroppedFile(paths.front());
      break;
  }
  state_.Notify();
}

bool MainWindowLogic::ConfirmClose() {
  // A Yes given after the run had already ended goes on to the project's save question.
  if (run_.GenerationRunning() && !run_.AskToCancelRunBeforeClosing()) return false;
  return session_.ConfirmClose();
}

void MainWindowLogic::Cancel() {
  run_.CancelGeneration();
  upload_.CancelUpload();
}

void MainWindowLogic::OnTabChanged(int page) {
  current_page_ = page;
  if (page == kContentPage) {
    content_.PageShown();
  } else {
    run_.GeneratePageShown();
  }
  state_.Notify();
}

void MainWindowLogic::ShowContentPage() {
  current_page_ = kContentPage;
  OnTabChanged(kContentPage);
}

void MainWindowLogic::ShowAbout() {
  const std::string gap = "\r\n\r\n";
  state_.Message(ProductTitle() + gap + "For updates visit internet:" + gap + kUpdatePage + gap + kLegalNotice,
                 "About", Buttons::kOk, Icon::kNone);
}

void MainWindowLogic::ShowQuickHelp(int step) {
  const QuickHelpBox* box = QuickHelpForStep(step);
  if (box == nullptr) return;
  state_.Message(box->text(), box->caption, Buttons::kOk, Icon::kInformation);
}

void MainWindowLogic::FindMovedPictures() {
  if (!FindMovedPicturesEnabled()) return;
  if (quorvale::FindMovedPictures(state_) > 0) content_.ShowSelection();
  if (!status_note_.empty()) status_note_ = MissingPicturesNote(MissingPictureCount(state_.project));
  state_.Notify();
}

void MainWindowLogic::ProjectCleared() {
  status_note_.clear();
  content_.Clear();
  run_.ClearStatus();
}

void MainWindowLogic::ProjectLoaded() {
  publishing_.SettingsLoaded();  // the file's viewer brings its own files
  // Pictures moved since the project was saved are named at once, not one by one as
  // each is selected.
  status_note_ = MissingPicturesNote(MissingPictureCount(state_.project));
  if (state_.project.SelectedAlbum() >= 0) content_.AlbumSelected();
}

void MainWindowLogic::ProjectRestored() {
  content_.ShowSelection();
  // Undo can take the last album away (or bring one back) while the Generate page shows.
  if (current_page_ == kGeneratePage) run_.GeneratePageShown();
}

}  // namespace quorvale
