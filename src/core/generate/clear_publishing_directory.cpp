#include "generate/clear_publishing_directory.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "generate/generation_log.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/product.h"
#include "platform/text_codec.h"
#include "site/site_layout.h"
#include "viewers/viewer_registry.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

constexpr const char* kClearCaption = "Clear Publishing Directory";
constexpr const char* kSelectDirectory = "Please select the Publishing Directory";
constexpr const char* kWarningCaption = "!!!! DELETE Publishing Directory WARNING !!!!!";
constexpr const char* kNoLogCaption = "Deletion Warning !!!";
constexpr const char* kPurgeFailed =
    "There was an error while purging PhotoAlbum data from publish driectory.\r\n\r\n"
    "Check for Read Only files in the directory tree.";

std::string MissingFolderMessage(const std::string& pd) { return "Publishing Folder (" + pd + ") does not exist."; }

std::string WipeWarning(const std::string& pd) {
  return "THIS WILL WIPE OUT (DELETE) EVERYTHING UNDER " + SiteFolderPath(pd) + " DIRECTORY AND " +
         JoinPath(pd, std::string("*") + kPageExtension) + " FILES.";
}

std::string NoLogQuestion(const std::string& pd) {
  return "This does not seem to be proper publishing directory. Are you sure you want to delete all the data in " +
         pd + "?";
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

// Removes one entry that is not a folder (a file, or a link as itself). False on failure.
bool RemoveEntry(const fs::path& path, const fs::file_status& status) {
  if (!fs::is_symlink(status) && IsReadOnly(path)) return false;
  std::error_code error;
  return fs::remove(path, error) && !error;
}

// Deletes a folder and everything below it, depth first. Links are removed as links;
// what they point to is never entered. Stops at the first failure and leaves what it
// deleted so far deleted.
bool RemoveFolderTree(const fs::path& folder) {
  if (IsReadOnly(folder)) return false;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return false;
  std::vector<fs::path> entries;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    entries.push_back(it->path());
  }
  if (error) return false;
  std::sort(entries.begin(), entries.end());  // a failure always stops at the same place
  for (const fs::path& entry : entries) {
    const fs::file_status status = fs::symlink_status(entry, error);
    if (error) return false;
    const bool removed = fs::is_directory(status) ? RemoveFolderTree(entry) : RemoveEntry(entry, status);
    if (!removed) return false;
  }
  return fs::remove(folder, error) && !error;
}

// True when the name ends in `extension` in any letter case and has more before it
// (".html" does not end in ".htm").
bool HasExtension(const std::string& name, const std::string& extension) {
  return name.size() > extension.size() &&
         AsciiLower(std::string_view(name).substr(name.size() - extension.size())) == AsciiLower(extension);
}

// Deletes every page directly in the folder: files and links to files, never a folder,
// nothing below it. Stops at the first failure.
bool RemovePages(const std::string& pd, const std::string& extension) {
  std::error_code error;
  fs::directory_iterator it(pd, error);
  if (error) return false;
  std::vector<std::string> pages;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (HasExtension(name, extension)) pages.push_back(name);
  }
  if (error) return false;
  std::sort(pages.begin(), pages.end());
  for (const std::string& name : pages) {
    const fs::path page = JoinPath(pd, name);
    const fs::file_status status = fs::symlink_status(page, error);
    if (error) return false;
    if (fs::is_directory(status)) continue;
    if (fs::is_symlink(status) && fs::is_directory(page, error)) continue;  // a link to a folder is no page
    if (!RemoveEntry(page, status)) return false;
  }
  return true;
}

// Deletes one owned folder of the Publishing Directory. A folder that is a link is
// removed as a link; its target stays.
bool RemoveOwnedFolder(const fs::path& folder) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(folder, error);
  if (fs::is_symlink(status)) return !fs::is_directory(folder, error) || RemoveEntry(folder, status);
  return !fs::is_directory(status) || RemoveFolderTree(folder);
}

// Deletes what the viewers own. False as soon as something cannot be deleted.
bool DeleteGeneratedContent(const std::string& pd) {
  for (const OwnedEntries& owned : OwnedByAnyViewer()) {
    for (const std::string& folder : owned.folders) {
      if (!RemoveOwnedFolder(JoinPath(pd, folder))) return false;
    }
    if (FileExists(JoinPath(pd, owned.marker_page)) && !RemovePages(pd, owned.page_extension)) return false;
  }
  return true;
}

// The log on the failure path: appended to only when it is there and writable; it is
// never created here, and a failure to write it is not a second error.
void AppendPurgeEntryIfPossible(const std::string& pd, const Clock& clock) {
  const std::string log = GenerationLogPath(pd);
  if (!FileExists(log) || IsReadOnly(log)) return;
  AppendLogEntry(pd, clock.NowText(), kLogPurged);
}

}  // namespace

ClearOutcome ClearPublishingDirectory(const std::string& publish_directory, UserDialogs& dialogs,
                                      const Clock& clock) {
  const std::string& pd = publish_directory;
  const auto message = [&](const std::string& text, const char* caption, Buttons buttons, Icon icon) {
    return dialogs.ShowMessage({text, WindowTitle(caption), buttons, icon});
  };

  if (pd.empty()) {
    message(kSelectDirectory, kClearCaption, Buttons::kOk, Icon::kCritical);
    return ClearOutcome::kCouldNotRun;
  }
  if (!FolderExists(pd)) {
    message(MissingFolderMessage(pd), kClearCaption, Buttons::kOk, Icon::kCritical);
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
  const bool cleared = DeleteGeneratedContent(pd) && !(FileExists(log) && IsReadOnly(log)) &&
                       !AppendLogEntry(pd, clock.NowText(), kLogPurged);
  if (cleared) return ClearOutcome::kCleared;

  AppendPurgeEntryIfPossible(pd, clock);
  message(kPurgeFailed, kClearCaption, Buttons::kOk, Icon::kCritical);
  return ClearOutcome::kFailed;
}

}  // namespace quorvale
