#include "window/run_controller.h"

#include <utility>

#include "generate/generation_job.h"
#include "platform/path.h"
#include "viewers/viewer_registry.h"

namespace quorvale {
namespace {

constexpr const char* kCancelRunQuestion = "Generation is still running. Cancel it and close Quorvale?";
constexpr const char* kCancelRunCaption = "Close";
// The page a browser opens a generated site at, in the Publishing Directory.
constexpr const char* kSiteHomePage = "PhotoAlbum.htm";

}  // namespace

// The run's events as the window takes them: the caption and the transcript become the
// window's own, the view is told at once, and message boxes go to the dialogs port.
class RunController::RunEvents final : public GenerationEvents {
 public:
  explicit RunEvents(RunController& run) : run_(run) {}

  void StatusChanged(const std::string& caption) override { run_.SetStatusCaption(caption); }
  void TranscriptAppended(std::string_view text) override { run_.status_text_.AppendText(text); }
  void TranscriptReplaced(std::string_view text) override { run_.status_text_.Replace(std::string(text)); }
  void ProgressChanged(const GenerationProgress& progress) override {
    run_.generation_progress_ = progress;
    run_.progress_bar_ = ProgressBarFor(progress);
    if (run_.state_.observer) run_.state_.observer->GenerationProgressed(progress);
  }
  Answer ShowMessage(const MessageRequest& request) override { return run_.state_.dialogs.ShowMessage(request); }

 private:
  RunController& run_;
};

RunController::~RunController() = default;

void RunController::RunGenerationInBackground(GenerationRunner::Post post) {
  runner_.reset();  // a run still going is stopped first
  state_.generation_running = false;
  close_after_run_ = false;
  if (post) runner_ = std::make_unique<GenerationRunner>(std::move(post));
}

void RunController::GenerateCommand() {
  if (GenerationRunning() || state_.upload_running) return;
  FollowTranscript(true);
  status_text_.Clear();
  generation_progress_ = {};
  progress_bar_ = ProgressBarFor(generation_progress_);

  // The job is a copy: nothing the window does can reach the running job.
  GenerationJob job = MakeGenerationJob(state_.project, state_.settings, state_.project.ProjectPath, clock_,
                                        ViewerFor(state_.settings.ViewerType));
  job.imaging = imaging_;
  if (!run_events_) run_events_ = std::make_unique<RunEvents>(*this);
  if (!runner_) {
    FinishGeneration(GenerateAlbums(std::move(job), *run_events_));
    return;
  }
  state_.generation_running = true;
  runner_->Start(std::move(job), *run_events_, [this](const GenerationResult& result) { FinishGeneration(result); });
  state_.Notify();  // the view disables what must wait for the run
}

void RunController::CancelGeneration() {
  if (GenerationRunning() && runner_) runner_->RequestStop();
}

void RunController::FinishGeneration(const GenerationResult& result) {
  state_.generation_running = false;
  // An empty Publishing Directory runs nothing and leaves the last run's counters.
  if (result.outcome != GenerationOutcome::kNotRun) generation_counters_ = result.counters;
  if (result.outcome == GenerationOutcome::kCompleted) {
    site_home_page_ = JoinPath(state_.settings.PublishDirectory, kSiteHomePage);
  }
  // Editing waits for the run, so this is still the project the run was made from.
  state_.project.PictureCountTipPending = result.PictureCountTipPending;
  FollowTranscript(false);
  state_.Notify();
  if (close_after_run_) {
    close_after_run_ = false;
    if (state_.observer) state_.observer->CloseRequested();
  }
}

bool RunController::AskToCancelRunBeforeClosing() {
  const bool yes =
      state_.Message(kCancelRunQuestion, kCancelRunCaption, Buttons::kYesNo, Icon::kQuestion) == Answer::kYes;
  // The run may have ended while the question was open: then there is nothing to wait
  // for, and a flag set now would close the window at the end of some later run.
  const bool still_running = GenerationRunning();
  if (yes && still_running) {
    close_after_run_ = true;
    CancelGeneration();
  }
  state_.Notify();
  return yes && !still_running;
}

void RunController::FollowTranscript(bool follow) {
  if (!follow) {
    status_text_.SetHandlers(nullptr, nullptr);
    return;
  }
  status_text_.SetHandlers(
      [this](std::string_view appended) {
        if (state_.observer) state_.observer->TranscriptAppended(appended);
      },
      [this] {
        if (state_.observer) state_.observer->TranscriptReplaced();
      });
}

void RunController::SetStatusCaption(const std::string& caption) {
  status_caption_ = caption;
  if (state_.observer) state_.observer->StatusCaptionChanged();
}

void RunController::BeginOtherTask(const std::string& caption) {
  FollowTranscript(true);
  if (!status_text_.Text().empty()) status_text_.AppendLineEnd();
  progress_bar_ = FileProgressBar(0, 0);
  SetStatusCaption(caption);
}

void RunController::AppendStatusLine(const std::string& line) {
  status_text_.CutIfLong();
  // The transcript starts without a line end; each later line brings its own.
  if (status_text_.Text().empty()) {
    status_text_.AppendText(line);
  } else {
    status_text_.AppendLine(line);
  }
}

void RunController::ShowFileProgress(std::size_t done, std::size_t total) {
  progress_bar_ = FileProgressBar(done, total);
  if (state_.observer) state_.observer->ProgressBarChanged();
}

void RunController::EndOtherTask(const std::string& caption) {
  FollowTranscript(false);
  SetStatusCaption(caption);
}

ClearOutcome RunController::ClearPublishingDirectory() {
  if (state_.upload_running) return ClearOutcome::kCouldNotRun;  // the upload reads the site
  // The box's text is the Publishing Directory as typed or browsed, placeholder included.
  return quorvale::ClearPublishingDirectory(state_.settings.PublishDirectory, state_.dialogs, clock_, OwnedByAnyViewer());
}

void RunController::ClearStatus() {
  site_home_page_.clear();
  status_caption_.clear();
  status_text_.Clear();
  if (state_.observer) state_.observer->TranscriptReplaced();
}

}  // namespace quorvale
