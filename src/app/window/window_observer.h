#pragma once

#include <string_view>

#include "generate/generation_job.h"

namespace quorvale {

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
  // An upload sent or looked at another file: the progress bar changed.
  virtual void ProgressBarChanged() {}
  // The user asked to close while a run went on and it has now stopped: close again.
  virtual void CloseRequested() {}
};

}  // namespace quorvale
