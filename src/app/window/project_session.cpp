// The commands on the project as a whole: New, Open, Save, Save As and the question
// asked before the window closes.
#include <filesystem>
#include <system_error>
#include <utility>
#include <variant>

#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/path.h"
#include "platform/product.h"
#include "platform/text_codec.h"
#include "projectfile/project_file.h"
#include "window/project_session.h"

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

void ProjectSession::NewProject() {
  if (!SaveBeforeReplacing()) {
    state_.Notify();
    return;
  }
  // An "untitled.qs1" in the working folder is read for its settings; a refused one
  // is reported. Either way the new project starts without albums.
  LoadProjectFile(kUntitledProjectName);
  ClearProject();
  project_.ProjectPath = kUntitledProjectName;
  state_.StartHistory();
  host_.ShowContentPage();
  state_.Notify();
}

void ProjectSession::OpenProject() {
  if (!SaveBeforeReplacing()) {
    state_.Notify();
    return;
  }
  FileDialogRequest request;
  request.title = kOpenDialogTitle;
  request.default_ext = kProjectExtension;
  request.filter = kOpenDialogFilter;
  request.initial_folder = ProjectDialogFolder();
  const auto chosen = state_.dialogs.ChooseOpenFile(request);
  if (chosen) OpenChosenFile(*chosen);
  state_.Notify();
}

void ProjectSession::OpenChosenFile(const std::string& path) {
  if (ExtensionOf(path) != kProjectExtension) {  // case matters
    state_.dialogs.ShowMessage(ProjectFileMessage(ProjectFileProblem::kNotAProjectFile));
    return;
  }
  state_.directories.ProjectDirectory = FolderOf(path);
  if (!LoadProjectFile(path)) return;
  if (FileExists(path)) state_.recent.Add(path);
  host_.ShowContentPage();
}

void ProjectSession::SaveProject() {
  Save();
  state_.Notify();
}

void ProjectSession::SaveProjectAs() {
  // The dialog leaves replacing an existing file to the question below.
  const auto chosen = state_.dialogs.ChooseSaveFile(SaveDialog(std::string(), ProjectDialogFolder(), false));
  if (!chosen) return;
  state_.directories.ProjectDirectory = FolderOf(*chosen);
  if (FileExists(*chosen) &&
      state_.Message(kOverwriteQuestion, kOverwriteCaption, Buttons::kYesNo, Icon::kNone) != Answer::kYes) {
    state_.Notify();
    return;
  }
  if (WriteProjectFile(*chosen)) Saved(*chosen);
  state_.Notify();
}

bool ProjectSession::ConfirmClose() {
  bool may_close = true;
  if (project_.Modified &&
      state_.Message(kSaveQuestion, kSaveProjectCaption, Buttons::kYesNo, Icon::kNone) == Answer::kYes) {
    // The user asked to keep the work: unless it was saved (the dialog was cancelled or
    // the write failed) the window stays open with the project as it was.
    may_close = Save() == SaveOutcome::kSaved;
  }
  state_.Notify();
  return may_close;
}

ProjectSession::SaveOutcome ProjectSession::Save() {
  if (!project_.Modified) {
    state_.Message(kNoChangesToSave, kSaveProjectCaption, Buttons::kOk, Icon::kExclamation);
    return SaveOutcome::kNothingToSave;
  }
  std::string path = project_.ProjectPath;
  if (IsUntitled(path)) {
    // No question of our own here: the dialog confirms before replacing a file.
    const auto chosen = state_.dialogs.ChooseSaveFile(SaveDialog(kUntitledSaveFileName, ProjectDialogFolder(), true));
    if (!chosen) return SaveOutcome::kCancelled;
    path = *chosen;
  }
  if (!WriteProjectFile(path)) return SaveOutcome::kFailed;
  Saved(path);
  return SaveOutcome::kSaved;
}

bool ProjectSession::WriteProjectFile(const std::string& path) {
  if (const auto reason = SaveProjectFile(path, project_, state_.settings)) {
    state_.Message(SaveFailedMessage(path, *reason), kSaveFailedCaption, Buttons::kOk, Icon::kCritical);
    return false;
  }
  return true;
}

bool ProjectSession::SaveBeforeReplacing() {
  if (!project_.Modified) return true;
  if (state_.Message(kSaveQuestion, kSaveProjectCaption, Buttons::kYesNo, Icon::kNone) != Answer::kYes) return true;
  // Saved where the project belongs, without a dialog; an untitled project goes to
  // "untitled.qs1" in the working folder.
  if (!WriteProjectFile(project_.ProjectPath)) return false;
  Saved(project_.ProjectPath);
  return true;
}

void ProjectSession::Saved(const std::string& path) {
  project_.ProjectPath = path;
  project_.Modified = false;
  state_.history.MarkClean();
  state_.recent.Add(path);
}

void ProjectSession::OpenDroppedFile(const std::string& path) {
  if (SaveBeforeReplacing()) OpenChosenFile(path);
}

void ProjectSession::OpenRecentProject(const std::string& path) {
  if (!FileExists(path)) {
    state_.Message("The project " + path + " is no longer there.", "Recent Projects", Buttons::kOk, Icon::kExclamation);
    state_.recent.Remove(path);
  } else if (SaveBeforeReplacing()) {
    OpenChosenFile(path);
    if (project_.ProjectPath != path) state_.recent.Remove(path);  // refused: the reason was shown
  }
  state_.Notify();
}

bool ProjectSession::LoadProjectFile(const std::string& path) {
  if (IsUntitled(path) && !FileExists(path)) {
    ClearProject();
    project_.ProjectPath = path;
    return true;
  }
  auto result = ReadProjectFile(path, state_.settings);
  if (const auto* refusal = std::get_if<ProjectFileRefusal>(&result)) {
    state_.dialogs.ShowMessage(refusal->message);
    return false;
  }
  InstallLoadedProject(std::get<LoadedProject>(std::move(result)));
  return true;
}

void ProjectSession::InstallLoadedProject(LoadedProject loaded) {
  ClearProject();
  project_ = std::move(loaded.project);
  state_.settings = std::move(loaded.settings);
  // The first album shows as after the user selects it, its first picture's comment
  // in the comment box.
  if (project_.AlbumCount() > 0) project_.SelectAlbum(0);
  host_.ProjectLoaded();
  project_.Modified = false;
  state_.StartHistory();
}

void ProjectSession::ClearProject() {
  project_.ResetProject();
  host_.ProjectCleared();
}

std::string ProjectSession::WindowCaption() const { return WindowTitle(project_.ProjectPath); }

const std::string& ProjectSession::ProjectDialogFolder() {
  const std::string& folder = state_.directories.ProjectDirectory;
  if (!state_.directories.UserProjectsFolder.empty() && folder == state_.directories.UserProjectsFolder) {
    std::error_code ignored;  // a folder that cannot be made leaves the dialog where it starts by itself
    std::filesystem::create_directories(NativePath(folder), ignored);
  }
  return folder;
}

void ProjectSession::Undo() {
  if (const auto restored = state_.history.Undo()) Restore(*restored);
  state_.Notify();
}

void ProjectSession::Redo() {
  if (const auto restored = state_.history.Redo()) Restore(*restored);
  state_.Notify();
}

void ProjectSession::Restore(const RestoredState& restored) {
  project_.ReplaceAlbums(restored.content.albums, restored.selection.album, restored.selection.picture);
  state_.settings = restored.content.settings;
  // Back at the saved state there is nothing left to save.
  project_.Modified = !state_.history.AtClean();
  host_.ProjectRestored();
}

}  // namespace quorvale
