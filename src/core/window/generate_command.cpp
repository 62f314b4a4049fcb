#include "generate/generation_run.h"
#include "window/main_window.h"

namespace quorvale {

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

  const GenerationContext context{
      .project = project_,
      .settings = settings_,
      .project_name = ProjectName(),
      .access_url = access_url_,
      .dialogs = dialogs_,
      .clock = clock_,
      .transcript = status_text_,
      .status_caption = [this](const std::string& caption) { status_caption_ = caption; },
      .counters = generation_counters_,
  };
  GenerateAlbums(context, settings_.PublishDirectory);

  status_text_.SetHandlers(nullptr, nullptr);
  Notify();
}

}  // namespace quorvale
