// The commands on the project as a whole: New, Open, Save, Save As and the question
// asked before the window closes.
#include <filesystem>
#include <system_error>
#include <utility>
#include <variant>

#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/path.h"
#include "platform/text_codec.h"
#include "projectfile/project_file.h"
#include "window/main_window.h"

namespace quorvale {
namespace {

constexpr const char* kSaveQuestion = "Save current project?";
constexpr const char* kSaveProjectCaption = "Save Project";
constexpr const char* kNoChangesToSave = "No changes to save";
constexpr const char* kOverwriteQuestion = "Overwrite existing project?";
constexpr const char* kOverwriteCaption = "Save Project: Overwrite confirmation";
constexpr const char* kSaveFailedCaption = "Save Project: ERROR";

constexpr const char* kProjectExtension = "qs1";
constexpr const char* kOpenDialogTitle = "Open Quorvale Project File";
constexpr const char* kOpenDialogFilter = "Quorvale Project (*.qs1)|*.qs1";
constexpr const char* kSaveDialogTitle = "Save Quorvale Project File As ..";
constexpr const char* kSaveDialogFilter = "Quorvale Project File (*.qs1)|*.qs1";
constexpr const char* kUntitledSaveFileName = "*.qs1";

constexpr const char* kUseSaveAs = " Use Save As to save the project under another name.";

// A read-only project file is left as it is; the message points to Save As.
std::string SaveFailedMessage(const std::string& path, const std::string& reason) {
  return "Could not save the project file (" + path + ").\r\n\r\n" + reason +
         (reason == kReadOnlyReason ? kUseSaveAs : "");
}

// A project that has never been saved carries the bare name "untitled.qs1" (in any
// letter case); a project loaded from a file of that name has a full path.
bool IsUntitled(const std::string& path) { return AsciiLower(path) == kUntitledProjectName; }

// The text after the last "."; the whole path when it holds none.
std::string ExtensionOf(const std::string& path) {
  const auto dot = path.rfind('.');
  return dot == std::string::npos ? path : path.substr(dot + 1);
}

FileDialogRequest SaveDialog(std::string file_name, std::string initial_folder, bool confirm_overwrite) {
  FileDialogRequest request;
  request.title = kSaveDialogTitle;
  request.file_name = std::move(file_name);
  request.default_ext = kProjectExtension;
  request.filter = kSaveDialogFilter;
  request.initial_folder = std::move(initial_folder);
  request.confirm_overwrite = confirm_overwrite;
  request.confirm_create = true;
  return request;
}

}  // namespace

void MainWindowLogic::NewProject() {
  if (!SaveBeforeReplacing()) {
    Notify();
    return;
  }
  // An "untitled.qs1" in the working folder is read for its settings; a refused one
  // is reported. Either way the new project starts without albums.
  LoadProjectFile(kUntitledProjectName);
  ResetProject();
  project_.ProjectPath = kUntitledProjectName;
  StartHistory();
  ShowContentPage();
  Notify();
}

void MainWindowLogic::OpenProject() {
  if (!SaveBeforeReplacing()) {
    Notify();
    return;
  }
  FileDialogRequest request;
  request.title = kOpenDialogTitle;
  request.default_ext = kProjectExtension;
  request.filter = kOpenDialogFilter;
  request.initial_folder = ProjectDialogFolder();
  const auto chosen = dialogs_.ChooseOpenFile(request);
  if (chosen) OpenChosenFile(*chosen);
  Notify();
}

void MainWindowLogic::OpenChosenFile(const std::string& path) {
  if (ExtensionOf(path) != kProjectExtension) {  // case matters
    dialogs_.ShowMessage(ProjectFileMessage(ProjectFileProblem::kNotAProjectFile));
    return;
  }
  directories_.ProjectDirectory = FolderOf(path);
  if (LoadProjectFile(path)) ShowContentPage();
}

void MainWindowLogic::SaveProject() {
  Save();
  Notify();
}

void MainWindowLogic::SaveProjectAs() {
  // The dialog leaves replacing an existing file to the question below.
  const auto chosen = dialogs_.ChooseSaveFile(SaveDialog(std::string(), ProjectDialogFolder(), false));
  if (!chosen) return;
  directories_.ProjectDirectory = FolderOf(*chosen);
  if (FileExists(*chosen) &&
      Message(kOverwriteQuestion, kOverwriteCaption, Buttons::kYesNo, Icon::kNone) != Answer::kYes) {
    Notify();
    return;
  }
  if (WriteProjectFile(*chosen)) {
    project_.ProjectPath = *chosen;
    project_.Modified = false;
    history_.MarkClean();
  }
  Notify();
}

bool MainWindowLogic::ConfirmClose() {
  if (GenerationRunning()) return AskToCancelRunBeforeClosing();
  bool may_close = true;
  if (project_.Modified &&
      Message(kSaveQuestion, kSaveProjectCaption, Buttons::kYesNo, Icon::kNone) == Answer::kYes) {
    // The user asked to keep the work: unless it was saved (the dialog was cancelled or
    // the write failed) the window stays open with the project as it was.
    may_close = Save() == SaveOutcome::kSaved;
  }
  Notify();
  return may_close;
}

MainWindowLogic::SaveOutcome MainWindowLogic::Save() {
  if (!project_.Modified) {
    Message(kNoChangesToSave, kSaveProjectCaption, Buttons::kOk, Icon::kExclamation);
    return SaveOutcome::kNothingToSave;
  }
  std::string path = project_.ProjectPath;
  if (IsUntitled(path)) {
    // No question of our own here: the dialog confirms before replacing a file.
    const auto chosen = dialogs_.ChooseSaveFile(SaveDialog(kUntitledSaveFileName, ProjectDialogFolder(), true));
    if (!chosen) return SaveOutcome::kCancelled;
    path = *chosen;
  }
  if (!WriteProjectFile(path)) return SaveOutcome::kFailed;
  project_.ProjectPath = path;
  project_.Modified = false;
  history_.MarkClean();
  return SaveOutcome::kSaved;
}

bool MainWindowLogic::WriteProjectFile(const std::string& path) {
  if (const auto reason = SaveProjectFile(path, project_, settings_)) {
    Message(SaveFailedMessage(path, *reason), kSaveFailedCaption, Buttons::kOk, Icon::kCritical);
    return false;
  }
  return true;
}

bool MainWindowLogic::SaveBeforeReplacing() {
  if (!project_.Modified) return true;
  if (Message(kSaveQuestion, kSaveProjectCaption, Buttons::kYesNo, Icon::kNone) != Answer::kYes) return true;
  // Saved where the project belongs, without a dialog; an untitled project goes to
  // "untitled.qs1" in the working folder.
  if (!WriteProjectFile(project_.ProjectPath)) return false;
  project_.Modified = false;
  history_.MarkClean();
  return true;
}

bool MainWindowLogic::LoadProjectFile(const std::string& path) {
  if (IsUntitled(path) && !FileExists(path)) {
    ResetProject();
    project_.ProjectPath = path;
    return true;
  }
  auto result = ReadProjectFile(path, settings_);
  if (const auto* refusal = std::get_if<ProjectFileRefusal>(&result)) {
    dialogs_.ShowMessage(refusal->message);
    return false;
  }
  InstallLoadedProject(std::get<LoadedProject>(std::move(result)));
  return true;
}

void MainWindowLogic::InstallLoadedProject(LoadedProject loaded) {
  ResetProject();  // the lists, captions, comment box and status start empty
  project_ = std::move(loaded.project);
  settings_ = std::move(loaded.settings);
  FollowViewerSourceFolder();  // the file's viewer brings its own files
  UpdateAccessUrl();
  if (project_.AlbumCount() > 0) {
    // The first album shows as after the user selects it, its first picture's
    // comment in the comment box.
    project_.SelectAlbum(0);
    AlbumSelected();
  }
  project_.Modified = false;
  StartHistory();
}

const std::string& MainWindowLogic::ProjectDialogFolder() {
  const std::string& folder = directories_.ProjectDirectory;
  if (!directories_.UserProjectsFolder.empty() && folder == directories_.UserProjectsFolder) {
    std::error_code ignored;  // a folder that cannot be made leaves the dialog where it starts by itself
    std::filesystem::create_directories(NativePath(folder), ignored);
  }
  return folder;
}

}  // namespace quorvale
