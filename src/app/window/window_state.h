#pragma once

#include <string>

#include "model/edit_history.h"
#include "model/project.h"
#include "platform/user_dialogs.h"
#include "window/metadata_reading.h"
#include "window/recent_projects.h"
#include "window/window_observer.h"

namespace quorvale {

// Where the window's program folders point. Start-up derives them from the program
// folder; tests pass folders of their own.
struct ProgramDirectories {
  std::string ProgramFolder;
  std::string DocumentsFolder;        // the user's documents folder; empty when unknown
  std::string ApplicationsDirectory;  // program folder + "Applications"
  // Where the Open and Save dialogs start: "Quorvale Projects" in the documents folder
  // (program folder + "Projects" when there is none), then the folder last chosen.
  std::string ProjectDirectory;
  std::string UserProjectsFolder;     // "Quorvale Projects" in the documents folder, or empty
  std::string LastPictureDirectory;   // program folder, then the folder of the last pictures added
};

// What the pieces of the main window share: the project with its settings and undo
// history, the program's folders, the dialogs port and the view that listens. The
// window owns one and hands it to each piece.
struct WindowState {
  explicit WindowState(UserDialogs& user_dialogs) : dialogs(user_dialogs) {}

  // A message box titled with the product's name and `caption`.
  Answer Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon);
  // Tells the view to show the state the last command left.
  void Notify();

  Selection CurrentSelection() const { return {project.SelectedAlbum(), project.SelectedPicture()}; }
  // Records what the command that began at `before` changed; `merge_key` joins typing
  // in one box into one step.
  void RecordEdit(Selection before, const std::string& merge_key = std::string());
  // A fresh history for a project just started or opened.
  void StartHistory() { history.Reset({project.Albums(), settings}); }
  // Nothing edits the project or its settings while a generation run goes on: the run
  // reads them, and what it publishes must be what the window shows.
  bool Editable() const { return !generation_running; }
  // The Generate page's settings also wait for an upload: it sends what the last run
  // wrote to the address the page shows.
  bool SettingsEditable() const { return Editable() && !upload_running; }

  UserDialogs& dialogs;
  WindowObserver* observer = nullptr;
  Project project;
  ProjectSettings settings;
  ProgramDirectories directories;
  EditHistory history;
  // How pictures' own captions and dates are read; none in a window that cannot read them.
  MetadataReading* metadata_reading = nullptr;
  RecentProjects recent;
  bool generation_running = false;  // kept by the run controller
  bool upload_running = false;      // kept by the upload controller
};

}  // namespace quorvale
