#include "generate/generation_run.h"
#include "window/main_window.h"

namespace quorvale {
namespace {

constexpr const char* kCancelRunQuestion = "Generation is still running. Cancel it and close Quorvale?";
constexpr const char* kCancelRunCaption = "Close";

}  // namespace

// The run's events as the window takes them: the caption and the transcript become the
// window's own, the view is told at once, and message boxes go to the dialogs port.
class MainWindowLogic::RunEvents final : public GenerationEvents {
 public:
  explicit RunEvents(MainWindowLogic& window) : window_(window) {}

  void StatusChanged(const std::string& caption) override {
    window_.status_caption_ = caption;
    if (window_.observer_) window_.observer_->StatusCaptionChanged();
  }
  void TranscriptAppended(std::string_view text) override { window_.status_text_.AppendText(text); }
  void TranscriptReplaced(const std::string& text) override { window_.status_text_.Replace(text); }
  void ProgressChanged(const GenerationProgress& progress) override {
    window_.generation_progress_ = progress;
    if (window_.observer_) window_.observer_->GenerationProgressed(progress);
  }
  Answer ShowMessage(const MessageRequest& request) override { return window_.dialogs_.ShowMessage(request); }

 private:
  MainWindowLogic& window_;
};

MainWindowLogic::~MainWindowLogic() = default;

void MainWindowLogic::RunGenerationInBackground(GenerationRunner::Post post) {
  runner_.reset();  // a run still going is stopped first
  if (post) runner_ = std::make_unique<GenerationRunner>(std::move(post));
}

void MainWindowLogic::GenerateCommand() {
  if (GenerationRunning()) return;
  // While the run lasts the view follows the transcript piece by piece.
  status_text_.SetHandlers(
      [this](std::string_view appended) {
        if (observer_) observer_->TranscriptAppended(appended);
      },
      [this] {
        if (observer_) observer_->TranscriptReplaced();
      });
  status_text_.Clear();
  generation_progress_ = {};

  // The job is a copy: nothing the window does can reach the running job.
  GenerationJob job = MakeGenerationJob(project_, settings_, ProjectName(), clock_);
  job.imaging = imaging_;
  if (!run_events_) run_events_ = std::make_unique<RunEvents>(*this);
  if (!runner_) {
    FinishGeneration(GenerateAlbums(std::move(job), *run_events_));
    return;
  }
  runner_->Start(std::move(job), *run_events_, [this](const GenerationResult& result) { FinishGeneration(result); });
  Notify();  // the view disables what must wait for the run
}

void MainWindowLogic::CancelGeneration() {
  if (GenerationRunning()) runner_->RequestStop();
}

void MainWindowLogic::FinishGeneration(const GenerationResult& result) {
  // An empty Publishing Directory runs nothing and leaves the last run's counters.
  if (result.outcome != GenerationOutcome::kNotRun) generation_counters_ = result.counters;
  // Editing waits for the run, so this is still the project the run was made from.
  project_.PictureCountTipPending = result.PictureCountTipPending;
  status_text_.SetHandlers(nullptr, nullptr);
  Notify();
  if (close_after_run_) {
    close_after_run_ = false;
    if (observer_) observer_->CloseRequested();
  }
}

bool MainWindowLogic::AskToCancelRunBeforeClosing() {
  if (Message(kCancelRunQuestion, kCancelRunCaption, Buttons::kYesNo, Icon::kQuestion) == Answer::kYes) {
    close_after_run_ = true;
    CancelGeneration();
  }
  Notify();
  return false;
}

}  // namespace quorvale
