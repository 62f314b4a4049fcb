#include "generate/generation_run.h"
#include "window/main_window.h"

namespace quorvale {

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
    if (window_.observer_) window_.observer_->GenerationProgressed(progress);
  }
  Answer ShowMessage(const MessageRequest& request) override { return window_.dialogs_.ShowMessage(request); }

 private:
  MainWindowLogic& window_;
};

void MainWindowLogic::GenerateCommand() {
  // While the run lasts the view follows the transcript piece by piece.
  status_text_.SetHandlers(
      [this](std::string_view appended) {
        if (observer_) observer_->TranscriptAppended(appended);
      },
      [this] {
        if (observer_) observer_->TranscriptReplaced();
      });
  status_text_.Clear();

  RunEvents events(*this);
  const GenerationResult result = GenerateAlbums(MakeGenerationJob(project_, settings_, ProjectName(), clock_), events);
  // An empty Publishing Directory runs nothing and leaves the last run's counters.
  if (result.outcome != GenerationOutcome::kNotRun) generation_counters_ = result.counters;
  project_.PictureCountTipPending = result.PictureCountTipPending;

  status_text_.SetHandlers(nullptr, nullptr);
  Notify();
}

}  // namespace quorvale
