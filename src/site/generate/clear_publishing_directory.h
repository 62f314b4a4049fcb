#pragma once

#include <string>
#include <vector>

#include "generate/viewer.h"
#include "platform/clock.h"
#include "platform/user_dialogs.h"

namespace quorvale {

// How a Clear command ended, so a caller without a window can tell it apart.
enum class ClearOutcome {
  kCleared,      // everything generated was deleted and the purge was logged
  kDeclined,     // the user answered Cancel or No; nothing was touched
  kFailed,       // a deletion failed; the error box was shown, what was deleted stays deleted
  kCouldNotRun,  // no Publishing Directory given, it names no existing folder, or a run is writing to it
};

// Deletes what generation put into `publish_directory`: what any of `viewers` owns (the
// PhotoAlbum folder with everything below it and, when PhotoAlbum.htm is there, every
// .htm page directly in the folder). Asks before it deletes, appends the purge entry to the log, and reports
// every problem in a message box. Symbolic links are removed as links, never followed;
// a read-only file or folder is not deleted and makes the command fail.
ClearOutcome ClearPublishingDirectory(const std::string& publish_directory, UserDialogs& dialogs,
                                      const Clock& clock, const std::vector<OwnedEntries>& viewers);

}  // namespace quorvale
