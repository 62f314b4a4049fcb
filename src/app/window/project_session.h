#pragma once

#include <string>

#include "window/window_state.h"

namespace quorvale {

struct LoadedProject;

// The project as a whole: New, Open, Save, Save As, the close question, undo and redo,
// and the title that names the project. The rest of the window follows through
// `SessionHost` when the project is replaced or put back.
class ProjectSession {
 public:
  // What the other pieces of the window do when the session changes the project.
  class SessionHost {
   public:
    virtual ~SessionHost() = default;
    // The project was emptied: the lists, captions, comment box and status start empty.
    virtual void ProjectCleared() = 0;
    // A project file was read in: its settings and first album show.
    virtual void ProjectLoaded() = 0;
    // Undo or redo put back albums, settings and the selection.
    virtual void ProjectRestored() = 0;
    virtual void ShowContentPage() = 0;
  };

  ProjectSession(WindowState& state, SessionHost& host) : state_(state), host_(host) {}

  void NewProject();     // mnuFileNew; also the last step of start-up
  void OpenProject();    // mnuFileOpen, btnOpenProject
  void SaveProject();    // mnuFileSave, btnSaveProject
  void SaveProjectAs();  // mnuFileSaveAs, btnSaveAs
  // A project file dropped on the window: Open's save question, then the file.
  void OpenDroppedFile(const std::string& path);
  // An entry of Project > Recent Projects: Open's save question, then that file; one
  // that is gone or refused is reported and leaves the list.
  void OpenRecentProject(const std::string& path);
  // The close question, asked when the window is about to close by any means. Returns
  // whether the window may close: a Yes whose save did not happen (the dialog was
  // cancelled or the write failed) keeps it open, so unsaved work is never dropped.
  bool ConfirmClose();

  // Every change of the project is one step: albums and pictures added, renamed,
  // removed or moved, one picture's comment typed, the Publishing Directory or the
  // viewer changed. New and Open start an empty history; saving marks the clean state.
  void Undo();  // mnuEditUndo
  void Redo();  // mnuEditRedo
  bool CanUndo() const { return state_.history.CanUndo(); }
  bool CanRedo() const { return state_.history.CanRedo(); }

  std::string WindowCaption() const;
  const std::string& ProjectName() const { return state_.project.ProjectPath; }  // sProjectName

 private:
  enum class SaveOutcome { kSaved, kNothingToSave, kCancelled, kFailed };
  SaveOutcome Save();
  // Writes the project to `path`; a failure is shown and gives false.
  bool WriteProjectFile(const std::string& path);
  // The project was written to `path`: it is named so and has nothing left to save.
  void Saved(const std::string& path);
  // The save question of New and Open; false when the user's save failed.
  bool SaveBeforeReplacing();
  // Reads the project file at `path` into the window, or names a new project
  // "untitled.qs1" when there is no such file. A refused file is reported and changes
  // nothing; returns whether the project was replaced.
  bool LoadProjectFile(const std::string& path);
  void InstallLoadedProject(LoadedProject loaded);
  void ClearProject();
  // Open after the file is chosen: the extension check, then the load.
  void OpenChosenFile(const std::string& path);
  void Restore(const RestoredState& restored);
  // The Open and Save dialogs' start folder, created when it is the user's own and missing.
  const std::string& ProjectDialogFolder();

  WindowState& state_;
  SessionHost& host_;
  Project& project_ = state_.project;
};

}  // namespace quorvale
