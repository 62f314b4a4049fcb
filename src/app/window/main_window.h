#pragma once

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/user_dialogs.h"
#include "window/content_editor.h"
#include "window/drop_rules.h"
#include "window/project_session.h"
#include "window/publishing_settings.h"
#include "window/run_controller.h"
#include "window/upload_controller.h"
#include "window/window_state.h"

namespace quorvale {

// The main window's logic, free of any toolkit. It owns the project and its four
// pieces: the Content page's editor, the publishing settings, the project session and
// the run controller. The view calls each piece's commands directly; here are the
// commands that span pieces (start-up, the tabs, drops, closing, undo while a run
// goes on) and the state the pieces share.
class MainWindowLogic final : private ProjectSession::SessionHost {
 public:
  enum Page { kContentPage = 0, kGeneratePage = 1 };

  // `documents_folder` is the user's documents folder, where the project dialogs start
  // the first time; an installed program cannot write its own folder.
  MainWindowLogic(UserDialogs& dialogs, const Clock& clock, std::string program_folder,
                  std::string documents_folder = std::string());
  MainWindowLogic(const MainWindowLogic&) = delete;
  MainWindowLogic& operator=(const MainWindowLogic&) = delete;

  void SetObserver(WindowObserver* observer) { state_.observer = observer; }
  // How pictures' own captions and dates are read (for pictures that arrive and Sort by
  // Date Taken); the program hands in its own, which must outlive the window's logic.
  void SetMetadataReading(MetadataReading* reading) { state_.metadata_reading = reading; }

  // Start-up in its order: directories, the Torvexa viewer, then New.
  void Startup();
  // The project file named on the command line, opened as Open opens it (a file that
  // is no project is refused with Open's message).
  void OpenFromCommandLine(const std::string& path);

  ContentEditor& content() { return content_; }
  const ContentEditor& content() const { return content_; }
  PublishingSettings& publishing() { return publishing_; }
  const PublishingSettings& publishing() const { return publishing_; }
  ProjectSession& session() { return session_; }
  const ProjectSession& session() const { return session_; }
  RunController& run() { return run_; }
  const RunController& run() const { return run_; }
  RecentProjects& recent() { return state_.recent; }  // Project > Recent Projects
  const RecentProjects& recent() const { return state_.recent; }
  UploadController& upload() { return upload_; }
  const UploadController& upload() const { return upload_; }

  // --- Drops from outside ---
  // What dropping `paths` on `target` would do; the view refuses what this refuses.
  // During a run every drop is refused: the project waits for the run.
  DropAction DropActionFor(DropTarget target, const std::vector<std::string>& paths) const;
  // Picture files add to the selected album as Add Pictures does, in natural name
  // order; folders add one album each as the folder import does; a project file opens
  // after Open's save question.
  void DropPaths(DropTarget target, std::vector<std::string> paths);

  // The close question, asked when the window is about to close by any means. During a
  // generation run it asks to cancel the run; the window closes once the run has
  // stopped (CloseRequested). Otherwise it is the project's save question.
  bool ConfirmClose();
  // mnuEditUndo, mnuEditRedo: nothing is undone while a run or an upload goes on.
  bool CanUndo() const { return session_.CanUndo() && !run_.GenerationRunning() && !upload_.UploadRunning(); }
  bool CanRedo() const { return session_.CanRedo() && !run_.GenerationRunning() && !upload_.UploadRunning(); }
  // btnCancelGeneration, Escape: stops the run or the upload that goes on.
  void Cancel();

  // mnuEditFindMoved: relinks missing pictures to files of the same name below a folder.
  void FindMovedPictures();
  bool FindMovedPicturesEnabled() const { return state_.Editable() && state_.project.AlbumCount() > 0; }

  void OnTabChanged(int page);  // SSTab1 click
  void ShowAbout();             // mnuAbout
  // Image1 to Image5: the quick help box of working step 1 to 5; other steps show nothing.
  void ShowQuickHelp(int step);

  // State the view shows.
  const Project& project() const { return state_.project; }
  const ProjectSettings& settings() const { return state_.settings; }
  const ProgramDirectories& directories() const { return state_.directories; }
  int CurrentPage() const { return current_page_; }  // SSTab1
  // The status line: how many pictures of the project just opened are missing.
  const std::string& StatusNote() const { return status_note_; }

 private:
  // ProjectSession::SessionHost
  void ProjectCleared() override;
  void ProjectLoaded() override;
  void ProjectRestored() override;
  void ShowContentPage() override;

  WindowState state_;
  int current_page_ = kContentPage;
  std::string status_note_;
  ContentEditor content_{state_};
  PublishingSettings publishing_{state_};
  ProjectSession session_{state_, *this};
  // Last, so that a run or an upload still going is stopped before anything it reads
  // goes away.
  RunController run_;
  UploadController upload_;
};

}  // namespace quorvale
