#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generate/clear_publishing_directory.h"
#include "generate/generation_job.h"
#include "generate/transcript.h"
#include "model/edit_history.h"
#include "model/project.h"
#include "platform/clock.h"
#include "platform/product.h"
#include "platform/user_dialogs.h"
#include "window/drop_rules.h"
#include "window/generation_runner.h"

namespace quorvale {

struct LoadedProject;

// The caption of chkPublishPictures: with the HTML viewer the box decides whether the
// originals are published beside their thumbnails and display copies.
inline constexpr const char* kPublishPicturesCaption = "Publish the original pictures for download";

// The view of the main window listens here. After every command it re-reads the
// state it shows (StateChanged); the status transcript is passed on as it grows, so a
// long generation run never re-sends the whole text.
class WindowObserver {
 public:
  virtual ~WindowObserver() = default;
  virtual void StateChanged() = 0;
  // `appended` was added to the end of the transcript.
  virtual void TranscriptAppended(std::string_view appended) = 0;
  // The transcript was replaced as a whole (emptied or cut); re-read it.
  virtual void TranscriptReplaced() = 0;
  // A generation run set a new status caption; show it now.
  virtual void StatusCaptionChanged() = 0;
  // A generation run handled another picture or began another album.
  virtual void GenerationProgressed(const GenerationProgress&) {}
  // The user asked to close while a run went on and it has now stopped: close again.
  virtual void CloseRequested() {}
};

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

// The main window's logic, free of any toolkit: it owns the project, the settings, the
// selection and every caption the window shows. Its public functions are the window's
// commands and events; the view forwards to them and renders the state they leave.
class MainWindowLogic {
 public:
  enum Page { kContentPage = 0, kGeneratePage = 1 };

  // `documents_folder` is the user's documents folder, where the project dialogs start
  // the first time; an installed program cannot write its own folder.
  MainWindowLogic(UserDialogs& dialogs, const Clock& clock, std::string program_folder,
                  std::string documents_folder = std::string());
  // A run still going is stopped and waited for.
  ~MainWindowLogic();
  MainWindowLogic(const MainWindowLogic&) = delete;
  MainWindowLogic& operator=(const MainWindowLogic&) = delete;

  void SetObserver(WindowObserver* observer) { observer_ = observer; }

  // Start-up in its order: directories, the Torvexa viewer, then New.
  void Startup();
  // What makes thumbnails and display copies in a run; the program hands in its own
  // (the core has none). It must outlive the window's runs.
  void SetPictureImaging(PictureImaging* imaging) { imaging_ = imaging; }

  // --- Album editing ---
  void AddAlbumCommand();                // btnAddNew
  void EditAlbumTitle();                 // AlbumList double-click
  void RemoveAlbumCommand();             // btnDelete
  void OnAlbumClicked(int position);     // AlbumList click

  // --- Picture editing ---
  void AddPicturesCommand();             // btnAddpic
  void RemovePictureCommand();           // btnRemovepic
  void OnPictureClicked(int position);   // PicList click
  void OnCommentEdited(const std::string& text);  // txtPictureComment change by the user

  // --- Reordering (reorder_commands.cpp) ---
  // btnUp, btnDown and Ctrl+Up/Ctrl+Down in AlbumList: the selected album one place
  // up or down. The moved album stays selected.
  void MoveAlbumUp() { MoveSelectedAlbum(-1); }
  void MoveAlbumDown() { MoveSelectedAlbum(+1); }
  // Drag and drop within AlbumList: album `from` dropped before row `before` (the row
  // count to drop it at the end).
  void MoveAlbumBefore(int from, int before);
  // The same for the pictures of the selected album (btnPicUp, btnPicDown, PicList).
  void MovePictureUp() { MoveSelectedPicture(-1); }
  void MovePictureDown() { MoveSelectedPicture(+1); }
  void MovePictureBefore(int from, int before);
  bool MoveAlbumUpEnabled() const;
  bool MoveAlbumDownEnabled() const;
  bool MovePictureUpEnabled() const;
  bool MovePictureDownEnabled() const;

  // --- Undo and redo (undo_commands.cpp) ---
  // Every change of the project is one step: albums and pictures added, renamed,
  // removed or moved, one picture's comment typed, the Publishing Directory or the
  // viewer changed. New and Open start an empty history; saving marks the clean state.
  void Undo();  // mnuEditUndo
  void Redo();  // mnuEditRedo
  bool CanUndo() const { return history_.CanUndo() && !GenerationRunning(); }
  bool CanRedo() const { return history_.CanRedo() && !GenerationRunning(); }

  // --- Drops from outside (drop_commands.cpp) ---
  // What dropping `paths` on `target` would do; the view refuses what this refuses.
  DropAction DropActionFor(DropTarget target, const std::vector<std::string>& paths) const;
  // Picture files add to the selected album as Add Pictures does, in natural name
  // order; folders add one album each as the folder import does; a project file opens
  // after Open's save question.
  void DropPaths(DropTarget target, std::vector<std::string> paths);

  // --- Publishing settings ---
  void OnPublishDirectoryEdited(const std::string& text);  // txtPublishDirectory change
  // optionJava or optionHTML selected by the user: kJavaViewerType or kHtmlViewerType.
  void OnViewerOptionChosen(const std::string& viewer_type);
  void OnAccessUrlEdited(const std::string& text);         // lblApplicationURL change
  void OnKeepLocationClicked(bool checked);                // chkKeepLocation click
  void OnPublishPicturesClicked(bool checked);             // chkPublishPictures click
  void BrowseForDirectory();                               // btnPubDir

  // --- Window ---
  void OnTabChanged(int page);  // SSTab1 click
  void ShowAbout();             // mnuAbout

  // --- Project commands (project_commands.cpp) ---
  void NewProject();     // mnuFileNew; also the last step of start-up
  void OpenProject();    // mnuFileOpen, btnOpenProject
  void SaveProject();    // mnuFileSave, btnSaveProject
  void SaveProjectAs();  // mnuFileSaveAs, btnSaveAs
  // The close question, asked when the window is about to close by any means. Returns
  // whether the window may close: a Yes whose save did not happen (the dialog was
  // cancelled or the write failed) keeps it open, so unsaved work is never dropped.
  // During a generation run it first asks to cancel the run; the window closes once
  // the run has stopped (CloseRequested).
  bool ConfirmClose();

  // --- Generation (generate_command.cpp) ---
  // Lets runs go on a worker thread: `post` queues a task on the window's thread. Without
  // it (or with an empty one, which also stops a run still going) a run keeps the
  // calling thread until it ends.
  void RunGenerationInBackground(GenerationRunner::Post post);
  // btnGenerate: empties the status transcript and runs generation into the Publishing
  // Directory. The view follows the run through StatusCaptionChanged, GenerationProgressed
  // and TranscriptAppended/TranscriptReplaced; its message boxes come through the dialogs
  // port on the window's thread, in the run's order.
  void GenerateCommand();
  // btnCancelGeneration: the run stops after the file in hand.
  void CancelGeneration();
  // While a run goes on, every command that edits the project or starts another command
  // is disabled; the view greys them out and refuses drops.
  bool GenerationRunning() const { return runner_ && runner_->Running(); }
  const GenerationProgress& Progress() const { return generation_progress_; }
  long long ErrorCount() const { return generation_counters_.ErrorCount; }
  long long WarningCount() const { return generation_counters_.WarningCount; }

  // --- Clearing and help (clear_command.cpp, help_commands.cpp) ---
  // btnClearDir: clears the Publishing Directory named by txtPublishDirectory.
  ClearOutcome ClearPublishingDirectory();
  // Image1 to Image5: the quick help box of working step 1 to 5; other steps show nothing.
  void ShowQuickHelp(int step);

  // State the view shows.
  const Project& project() const { return project_; }
  const ProjectSettings& settings() const { return settings_; }
  const ProgramDirectories& directories() const { return directories_; }
  std::string WindowCaption() const { return WindowTitle(project_.ProjectPath); }
  const std::string& ProjectName() const { return project_.ProjectPath; }  // sProjectName
  const std::string& AlbumFrameCaption() const { return album_frame_caption_; }      // frmAlbum
  const std::string& PictureFrameCaption() const { return picture_frame_caption_; }  // frmPictures
  const std::string& SelectedAlbumLabel() const { return selected_album_label_; }    // lblAlbum
  const std::string& CommentText() const { return comment_box_; }                    // txtPictureComment
  std::vector<std::string> AlbumRows() const;    // AlbumList
  std::vector<std::string> PictureRows() const;  // PicList
  bool AddPictureEnabled() const { return picture_buttons_enabled_; }     // btnAddpic
  bool RemovePictureEnabled() const { return picture_buttons_enabled_; }  // btnRemovepic
  bool GenerateEnabled() const { return generate_enabled_; }              // btnGenerate
  int CurrentPage() const { return current_page_; }                       // SSTab1
  const std::string& AccessUrl() const { return access_url_; }            // lblApplicationURL
  // Publishing the originals is a choice with the HTML viewer only.
  bool PublishPicturesEnabled() const { return HtmlOptionSelected(); }  // chkPublishPictures
  bool PublishLabelsEnabled() const { return HtmlOptionSelected(); }    // Label3, Label8
  bool KeepLocationEnabled() const { return HtmlOptionSelected(); }     // chkKeepLocation
  const char* KeepLocationToolTip() const;                              // chkKeepLocation
  bool JavaOptionSelected() const { return !HtmlOptionSelected(); }          // optionJava
  bool HtmlOptionSelected() const { return IsHtmlViewerType(settings_.ViewerType); }  // optionHTML
  bool HtmlOptionEnabled() const { return html_enabled_; }
  const std::string& StatusCaption() const { return status_caption_; }      // lblStatus
  const std::string& StatusText() const { return status_text_.Text(); }     // txtStatus

 private:
  // Project commands (project_commands.cpp).
  enum class SaveOutcome { kSaved, kNothingToSave, kCancelled, kFailed };
  SaveOutcome Save();
  // Writes the project to `path`; a failure is shown and gives false.
  bool WriteProjectFile(const std::string& path);
  // The save question of New and Open; false when the user's save failed.
  bool SaveBeforeReplacing();
  // Reads the project file at `path` into the window, or names a new project
  // "untitled.qs1" when there is no such file. A refused file is reported and changes
  // nothing; returns whether the project was replaced.
  bool LoadProjectFile(const std::string& path);
  void InstallLoadedProject(LoadedProject loaded);

  // The Content page and the publishing settings (main_window.cpp).
  // Part of ResetProject that concerns the window: lists, captions, comment, status.
  void ResetProject();
  // "Album selected": run after every change of the album selection.
  void AlbumSelected();
  void ShowAlbum();
  // "Picture selected": the comment box follows the selected picture.
  void PictureSelected();
  // Add Pictures' checks before anything is chosen: an album is selected and not full.
  bool MayAddPictures();
  // Names and leaves out the paths that a project file could not store; false when none
  // is left.
  bool LeaveOutUnstorablePaths(std::vector<std::string>& paths);
  // Adds `paths` in order after the selected picture until the album is full; `chosen`
  // is the number of files the user chose, for the limit message.
  void AddPicturePaths(const std::vector<std::string>& paths, int chosen);
  void AddDroppedFolders(const std::vector<std::string>& folders);
  // Open after the file is chosen: the extension check, then the load.
  void OpenChosenFile(const std::string& path);
  void MoveSelectedAlbum(int step);
  void MoveSelectedPicture(int step);
  void MoveAlbum(int from, int to);
  void MovePicture(int from, int to);

  // The undo history (undo_commands.cpp).
  ProjectContent CurrentContent() const { return {project_.Albums(), settings_}; }
  Selection CurrentSelection() const { return {project_.SelectedAlbum(), project_.SelectedPicture()}; }
  // Records what the command that began at `before` changed; `merge_key` joins typing
  // in one box into one step.
  void RecordEdit(Selection before, const std::string& merge_key = std::string());
  // A fresh history for a project just started or opened.
  void StartHistory();
  void Restore(const RestoredState& state);
  // The Content page's captions, label and comment for the current selection, without
  // raising "Comment changed".
  void ShowSelection();
  // The Open and Save dialogs' start folder, created when it is the user's own and missing.
  const std::string& ProjectDialogFolder();

  // Sets the comment box and stores it as the selected picture's comment.
  void SetCommentBox(const std::string& text);
  void SetPictureFrameCount();
  void AddPictureToAlbum(std::string path);
  void SelectViewerType();
  // The Application Source Directory names the current viewer's folder in the program
  // folder, unless it lies elsewhere.
  void FollowViewerSourceFolder();
  void UpdateAccessUrl();
  void SetPublishDirectory(const std::string& text);
  void ShowContentPage();
  std::string PromptForText(const std::string& prompt, const std::string& default_text,
                            const std::string& caption);
  Answer Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon);
  void Notify();

  // How a generation run reaches the window (generate_command.cpp).
  class RunEvents;
  void FinishGeneration(const GenerationResult& result);
  // The close question during a run: Yes cancels it and closes once it has stopped. The
  // window stays open for now in either case.
  bool AskToCancelRunBeforeClosing();

  UserDialogs& dialogs_;
  const Clock& clock_;
  WindowObserver* observer_ = nullptr;

  Project project_;
  ProjectSettings settings_;
  ProgramDirectories directories_;

  std::string album_frame_caption_;
  std::string picture_frame_caption_;
  std::string selected_album_label_;
  std::string comment_box_;
  bool picture_buttons_enabled_ = false;
  bool generate_enabled_ = false;
  int current_page_ = kContentPage;
  std::string access_url_;
  bool html_enabled_ = true;
  std::string status_caption_;
  Transcript status_text_;
  GenerationCounters generation_counters_;
  PictureImaging* imaging_ = nullptr;
  GenerationProgress generation_progress_;
  EditHistory history_;
  // The run's sink outlives the worker that feeds it: the runner is destroyed first.
  std::unique_ptr<GenerationEvents> run_events_;
  std::unique_ptr<GenerationRunner> runner_;
  bool close_after_run_ = false;
};

}  // namespace quorvale
