#pragma once

#include <stop_token>
#include <string>
#include <string_view>

#include "imaging/picture_imaging.h"
#include "generate/viewer.h"
#include "model/project.h"
#include "platform/clock.h"
#include "platform/user_dialogs.h"

namespace quorvale {

// The counters of a generation run: every run starts them at 0; they are wide enough
// never to wrap.
struct GenerationCounters {
  long long ErrorCount = 0;
  long long WarningCount = 0;
  bool operator==(const GenerationCounters&) const = default;
};

// Everything one run reads, taken by value when the run starts, so the window may go on
// editing (or the run may go on another thread) without either seeing the other.
struct GenerationJob {
  Project project;
  ProjectSettings settings;     // PublishDirectory, ViewerType, ApplicationSourceDirectory
  std::string project_name;     // the project name caption, used in page titles
  std::string access_url;       // shown in the final message
  const Clock* clock = nullptr; // must outlive the run
  ViewerDescriptor viewer;      // the viewer of `settings.ViewerType`, handed over by whoever starts the run
  // Makes thumbnails and display copies for a viewer whose pages show them; set by the
  // program (the core has no imaging of its own) and must outlive the run.
  PictureImaging* imaging = nullptr;
  int imaging_jobs = 0;         // at most this many pictures at once; 0: one per processor core
};


// The one way the window and the command line build a job: the project (a copy, or the
// command line's own, handed over), copies of its settings and its viewer, and the
// access URL of the Publishing Directory.
GenerationJob MakeGenerationJob(Project project, const ProjectSettings& settings,
                                const std::string& project_name, const Clock& clock, const ViewerDescriptor& viewer);

struct GenerationProgress {
  int pictures_done = 0;   // pictures handled so far, whatever became of them
  int pictures_total = 0;  // pictures of every album of the run
  int album_number = -1;   // the album being written; -1 before the first
  std::string album_title;
  bool operator==(const GenerationProgress&) const = default;
};

// What a run tells whoever drives it, in the order it happens. The run calls these from
// the thread it runs on; a front-end that shows them elsewhere passes them on.
class GenerationEvents {
 public:
  virtual ~GenerationEvents() = default;
  // The status caption (lblStatus) changed.
  virtual void StatusChanged(const std::string& caption) = 0;
  // `text` was appended to the transcript (each piece starts with its CR LF).
  virtual void TranscriptAppended(std::string_view text) = 0;
  // The transcript was cut; `text` is all of it now.
  virtual void TranscriptReplaced(std::string_view text) = 0;
  virtual void ProgressChanged(const GenerationProgress& progress) = 0;
  // A message box to show. The run waits for the answer before it goes on, so boxes,
  // transcript lines and log entries keep their order.
  virtual Answer ShowMessage(const MessageRequest& request) = 0;
};

enum class GenerationOutcome {
  kNotRun,         // an empty Publishing Directory: nothing at all was done
  kFolderMissing,  // the Publishing Directory does not exist: refused with a message
  kBusy,           // another run is writing to the Publishing Directory: refused with a message
  kCompleted,      // the run went through; the counters tell how well
  kStopped,        // stopped through its stop token; what was written stays whole
};

struct GenerationResult {
  GenerationOutcome outcome = GenerationOutcome::kNotRun;
  GenerationCounters counters;
  GenerationProgress progress;
  // False once the picture-count tip was shown; the window keeps it for the next run.
  bool PictureCountTipPending = true;
};

// One generation run into the job's Publishing Directory: the folder layout, the
// viewer's files, its pages with every album's pictures, the transcript, the log entry
// and the final message with the access URL. The stop token is checked between files.
GenerationResult GenerateAlbums(GenerationJob job, GenerationEvents& events, std::stop_token stop = {});

}  // namespace quorvale
