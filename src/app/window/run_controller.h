#pragma once

#include <memory>
#include <string>

#include "generate/clear_publishing_directory.h"
#include "generate/generation_job.h"
#include "generate/transcript.h"
#include "platform/clock.h"
#include "window/generation_runner.h"
#include "window/progress_text.h"
#include "window/window_state.h"

namespace quorvale {

// Generation from the window: the run and its cancelling, Clear, the error and warning
// counters, the status caption, transcript and progress, and the close question while
// a run goes on.
class RunController {
 public:
  RunController(WindowState& state, const Clock& clock) : state_(state), clock_(clock) {}
  // A run still going is stopped and waited for.
  ~RunController();
  RunController(const RunController&) = delete;
  RunController& operator=(const RunController&) = delete;

  // What makes thumbnails and display copies in a run; the program hands in its own
  // (the core has none). It must outlive the window's runs.
  void SetPictureImaging(PictureImaging* imaging) { imaging_ = imaging; }
  PictureImaging* picture_imaging() const { return imaging_; }
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
  bool GenerationRunning() const { return state_.generation_running; }
  // The close question during a run: Yes cancels it and closes once it has stopped
  // (CloseRequested), and the window stays open for now. When the run ended while the
  // question was open, a Yes gives true: nothing is left to cancel and closing goes on.
  bool AskToCancelRunBeforeClosing();
  // btnClearDir: clears the Publishing Directory named by txtPublishDirectory.
  ClearOutcome ClearPublishingDirectory();

  // A project started empty: the status caption and transcript are emptied.
  void ClearStatus();
  // The Generate page was shown, or the albums changed under it: Generate needs an album.
  void GeneratePageShown() { generate_enabled_ = state_.project.AlbumCount() > 0; }

  // State the page shows.
  bool GenerateEnabled() const { return generate_enabled_; }                // btnGenerate
  const std::string& StatusCaption() const { return status_caption_; }     // lblStatus
  const std::string& StatusText() const { return status_text_.Text(); }    // txtStatus
  const GenerationProgress& Progress() const { return generation_progress_; }
  const ProgressBarState& ProgressBar() const { return progress_bar_; }  // prgGeneration
  long long ErrorCount() const { return generation_counters_.ErrorCount; }
  long long WarningCount() const { return generation_counters_.WarningCount; }
  // The home page of the site the last completed run made, for Open Site; empty before
  // one has completed for this project.
  const std::string& SiteHomePage() const { return site_home_page_; }
  bool OpenSiteEnabled() const { return !site_home_page_.empty() && !GenerationRunning(); }  // btnOpenSite

  // An upload reports in the same caption, status box and progress bar as a run. The
  // transcript goes on after the run's, from an empty line.
  void BeginOtherTask(const std::string& caption);
  void AppendStatusLine(const std::string& line);
  void ShowFileProgress(std::size_t done, std::size_t total);
  void EndOtherTask(const std::string& caption);

 private:
  // How a generation run reaches the window.
  class RunEvents;
  void FinishGeneration(const GenerationResult& result);
  // While a run or an upload goes on, the view follows the transcript piece by piece.
  void FollowTranscript(bool follow);
  void SetStatusCaption(const std::string& caption);

  WindowState& state_;
  const Clock& clock_;
  bool generate_enabled_ = false;
  std::string status_caption_;
  Transcript status_text_;
  GenerationCounters generation_counters_;
  PictureImaging* imaging_ = nullptr;
  GenerationProgress generation_progress_;
  ProgressBarState progress_bar_ = ProgressBarFor(GenerationProgress{});
  // The run's sink outlives the worker that feeds it: the runner is destroyed first.
  std::unique_ptr<GenerationEvents> run_events_;
  std::unique_ptr<GenerationRunner> runner_;
  bool close_after_run_ = false;
  std::string site_home_page_;
};

}  // namespace quorvale
