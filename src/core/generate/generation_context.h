#pragma once

#include <functional>
#include <string>

#include "generate/transcript.h"
#include "model/project.h"
#include "platform/clock.h"
#include "platform/user_dialogs.h"

namespace quorvale {

// The counters of the last generation run. They live between runs and every run starts
// them at 0; they are wide enough never to wrap.
struct GenerationCounters {
  long long ErrorCount = 0;
  long long WarningCount = 0;
};

// Everything a generation run reads and writes, handed in by whoever drives it (the
// main window or the command line), so both run the same code.
struct GenerationContext {
  Project& project;                  // read; its PictureCountTipPending is written
  const ProjectSettings& settings;   // ApplicationSourceDirectory is read
  const std::string& project_name;   // the project name caption, used in page titles
  const std::string& access_url;     // shown in the final message
  UserDialogs& dialogs;
  const Clock& clock;
  Transcript& transcript;
  std::function<void(const std::string&)> status_caption;  // receives each new status caption
  GenerationCounters& counters;

  // A new status caption, repainted at once: the run keeps the user-interface thread.
  void SetStatus(const std::string& caption) const {
    if (status_caption) status_caption(caption);
    dialogs.RepaintStatus();
  }

  // A file-system failure: one transcript line (the step's indentation, "ERROR: ", what
  // failed with its path, the system's reason) and one more error. The run goes on.
  void ReportFailure(const std::string& indentation, const std::string& what, const std::string& reason) const {
    transcript.AppendLine(indentation + "ERROR: " + what + " failed: " + reason + ".");
    ++counters.ErrorCount;
  }
};

}  // namespace quorvale
