#include "generate/clear_publishing_directory.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "generate/generation_log.h"
#include "generate/publish_directory_messages.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/folder_removal.h"
#include "platform/native_path.h"
#include "platform/path.h"
#include "platform/product.h"
#include "platform/text_codec.h"
#include "layout/site_layout.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

constexpr const char* kClearCaption = "Clear Publishing Directory";
constexpr const char* kSelectDirectory = "Please select the Publishing Directory";
constexpr const char* kWarningCaption = "!!!! DELETE Publishing Directory WARNING !!!!!";
constexpr const char* kNoLogCaption = "Deletion Warning !!!";
constexpr const char* kPurgeFailed = "There was an error while purging PhotoAlbum data from publish driectory.";
constexpr const char* kCheckReadOnly = "Check for Read Only files in the directory tree.";

std::string WipeWarning(const std::string& pd) {
  return "THIS WILL WIPE OUT (DELETE) EVERYTHING UNDER " + SiteFolderPath(pd) + " DIRECTORY AND " +
         JoinPath(pd, std::string("*") + kPageExtension) + " FILES.";
}

std::string NoLogQuestion(const std::string& pd) {
  return "This does not seem to be proper publishing directory. Are you sure you want to delete all the data in " +
         pd + "?";
}

// The failure box names the cause: the read-only advice where a read-only entry
// stopped the purge, what could not be done to which entry and the system's reason
// otherwise.
std::string PurgeFailedMessage(const RemovalFailure& failure, const char* action) {
  const std::string cause = failure.read_only
                                ? kCheckReadOnly
                                : "Could not " + std::string(action) + " " + failure.entry + ": " + failure.reason + ".";
  return std::string(kPurgeFailed) + "\r\n\r\n" + cause;
}

// Read-only means the owner may not write. The system alone would not stop a privileged
// user from deleting such an entry, so the attribute is honoured here for everybody, as
// a deletion without force would.
bool IsReadOnly(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (error) return false;
  return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

RemovalFailure ReadOnlyEntry(const fs::path& path) { return {PathText(path.filename()), std::string(), true}; }

// Removes one entry that is not a folder (a file, or a link as itself).
std::optional<RemovalFailure> RemoveEntry(const fs::path& path, const fs::file_status& status) {
  if (!fs::is_symlink(status) && IsReadOnly(path)) return ReadOnlyEntry(path);
  std::error_code error;
  if (fs::remove(path, error) || !error) return std::nullopt;
  return RemovalFailure{PathText(path.filename()), error.message(), false};
}

// True when the name ends in `extension` in any letter case and has more before it
// (".html" does not end in ".htm").
bool HasExtension(const std::string& name, const std::string& extension) {
  return name.size() > extension.size() &&
         AsciiLower(std::string_view(name).substr(name.size() - extension.size())) == AsciiLower(extension);
}

// Deletes every page directly in the folder: files and links to files, never a folder,
// nothing below it. Stops at the first failure.
std::optional<RemovalFailure> RemovePages(const std::string& pd, const std::string& extension) {
  std::string reason;
  const auto entries = ListFolder(pd, &reason);
  if (!entries) return RemovalFailure{pd, reason, false};
  std::vector<std::string> pages;
  for (const FolderEntry& entry : *entries) {
    if (HasExtension(entry.name, extension)) pages.push_back(entry.name);
  }
  std::sort(pages.begin(), pages.end());
  std::error_code error;
  for (const std::string& name : pages) {
    const fs::path page = NativePath(JoinPath(pd, name));
    const fs::file_status status = fs::symlink_status(page, error);
    if (error) return RemovalFailure{name, error.message(), false};
    if (fs::is_directory(status)) continue;
    if (fs::is_symlink(status) && fs::is_directory(page, error)) continue;  // a link to a folder is no page
    if (auto failure = RemoveEntry(page, status)) return failure;
  }
  return std::nullopt;
}

// Deletes one owned folder of the Publishing Directory. A folder that is a link is
// removed as a link; its target stays.
std::optional<RemovalFailure> RemoveOwnedFolder(const std::string& folder) {
  std::error_code error;
  const fs::path native = NativePath(folder);
  const fs::file_status status = fs::symlink_status(native, error);
  if (fs::is_symlink(status)) {
    if (!fs::is_directory(native, error)) return std::nullopt;
    return RemoveEntry(native, status);
  }
  if (!fs::is_directory(status)) return std::nullopt;
  return RemoveFolderTree(folder);
}

// Deletes what the viewers own; the first entry that cannot be deleted stops it.
std::optional<RemovalFailure> DeleteGeneratedContent(const std::string& pd, const std::vector<OwnedEntries>& viewers) {
  for (const OwnedEntries& owned : viewers) {
    for (const std::string& folder : owned.folders) {
      if (auto failure = RemoveOwnedFolder(JoinPath(pd, folder))) return failure;
    }
    if (FileExists(JoinPath(pd, owned.marker_page))) {
      if (auto failure = RemovePages(pd, owned.page_extension)) return failure;
    }
  }
  return std::nullopt;
}

// The log on the failure path: appended to only when it is there and writable; it is
// never created here, and a failure to write it is not a second error.
void AppendPurgeEntryIfPossible(const std::string& pd, const Clock& clock) {
  const std::string log = GenerationLogPath(pd);
  if (!FileExists(log) || IsReadOnly(NativePath(log))) return;
  AppendLogEntry(pd, clock.NowText(), kLogPurged);
}

}  // namespace

ClearOutcome ClearPublishingDirectory(const std::string& publish_directory, UserDialogs& dialogs,
                                      const Clock& clock, const std::vector<OwnedEntries>& viewers) {
  const std::string& pd = publish_directory;
  const auto message = [&](const std::string& text, const char* caption, Buttons buttons, Icon icon) {
    return dialogs.ShowMessage({text, WindowTitle(caption), buttons, icon});
  };

  if (pd.empty()) {
    message(kSelectDirectory, kClearCaption, Buttons::kOk, Icon::kCritical);
    return ClearOutcome::kCouldNotRun;
  }
  if (!FolderExists(pd)) {
    message(PublishFolderMissingMessage(pd), kClearCaption, Buttons::kOk, Icon::kCritical);
    return ClearOutcome::kCouldNotRun;
  }
  // While a run writes the site, nothing of it is deleted. Holding the run's lock keeps
  // a run from starting until the purge is over; without a lock file no run is there.
  const FileLock lock(pd, RunLockPath(pd), false);
  if (lock.GetState() == FileLock::State::kBusy) {
    message(PublishDirectoryBusyMessage(pd), kClearCaption, Buttons::kOk, Icon::kCritical);
    return ClearOutcome::kCouldNotRun;
  }
  // An OK and Cancel box has Cancel as its default: a stray Enter must not delete a site.
  if (message(WipeWarning(pd), kWarningCaption, Buttons::kOkCancel, Icon::kNone) != Answer::kOk) {
    return ClearOutcome::kDeclined;
  }
  const std::string log = GenerationLogPath(pd);
  if (!FileExists(log) &&
      message(NoLogQuestion(pd), kNoLogCaption, Buttons::kYesNo, Icon::kQuestion) != Answer::kYes) {
    return ClearOutcome::kDeclined;
  }

  // The log is written like the system would: a read-only log refuses the entry.
  const char* action = "delete";
  std::optional<RemovalFailure> failure = DeleteGeneratedContent(pd, viewers);
  if (!failure && FileExists(log) && IsReadOnly(NativePath(log))) failure = ReadOnlyEntry(NativePath(log));
  if (!failure) {
    const auto reason = AppendLogEntry(pd, clock.NowText(), kLogPurged);
    if (!reason) return ClearOutcome::kCleared;
    failure = RemovalFailure{kGenerationLogName, *reason, false};
    action = "write";
  }

  AppendPurgeEntryIfPossible(pd, clock);
  message(PurgeFailedMessage(*failure, action), kClearCaption, Buttons::kOk, Icon::kCritical);
  return ClearOutcome::kFailed;
}

}  // namespace quorvale
