#include "generate/clear_publishing_directory.h"
#include "viewers/viewer_registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/support/scripted_dialogs.h"
#include "core/support/links.h"
#include "core/support/temp_folder.h"
#include "platform/path.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

const std::string kOldEntry = "\r\n1/4/2026 9:00:00 PM    Generated Successfully.\r\n\r\n";
const std::string kPurgeEntry = "\r\n12/5/2026 6:15:42 AM    PhotoAlbum data purged from this directory.\r\n\r\n";

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

void MakeReadOnly(const fs::path& path) {
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

// What a generation run leaves in root/pd, plus the user's own files that a Clear must
// not touch: an images folder, an .html page and an .htm page in a folder whose own name ends in .htm.
void MakeSite(const fs::path& root) {
  const fs::path pd = root / "pd";
  Write(pd / "Generation_Log.txt", kOldEntry);
  Write(pd / "PhotoAlbum" / "Torvexa.jar", "jar");
  Write(pd / "PhotoAlbum" / "images" / "album-0" / "a.jpg", "jpeg");
  fs::create_directories(pd / "images");
  for (const char* page : {"PhotoAlbum.htm", "album-0.htm", "ALBUM-1.HTM", "notes.html", "sub.htm/x.htm"}) {
    Write(pd / page, page);
  }
}

// Space-separated entries as a set.
std::set<std::string> Entries(const std::string& list) {
  std::istringstream in(list);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// Everything under the folder; folders end in '/', links show their target's name and
// are never entered.
std::set<std::string> Tree(const fs::path& root) {
  std::set<std::string> entries;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const std::string kind = it->is_symlink()     ? "->" + fs::read_symlink(it->path()).filename().string()
                             : it->is_directory() ? "/"
                                                  : "";
    entries.insert(fs::relative(it->path(), root).generic_string() + kind);
  }
  return entries;
}

// The site after a successful Clear, what Clear deletes, and the whole site.
const std::string kClearedSite = "pd/ pd/Generation_Log.txt pd/images/ pd/notes.html pd/sub.htm/ pd/sub.htm/x.htm ";
const std::string kPhotoAlbum =
    "pd/PhotoAlbum/ pd/PhotoAlbum/Torvexa.jar pd/PhotoAlbum/images/ pd/PhotoAlbum/images/album-0/ "
    "pd/PhotoAlbum/images/album-0/a.jpg ";
const std::string kPages = "pd/PhotoAlbum.htm pd/album-0.htm pd/ALBUM-1.HTM ";
const std::string kFullSite = kClearedSite + kPhotoAlbum + kPages;

enum class Shown { kWarning, kNoLogQuestion, kFailure, kSelect, kMissing, kLinkedLogFailure };

// The boxes a Clear can show, in Shown order, for the Publishing Directory text pd.
MessageRequest Expected(Shown shown, const std::string& pd) {
  const std::string clear = "Quorvale 1.0.0 - Clear Publishing Directory";
  const MessageRequest boxes[] = {
      {"THIS WILL WIPE OUT (DELETE) EVERYTHING UNDER " + JoinPath(pd, "PhotoAlbum") + " DIRECTORY AND " +
           JoinPath(pd, "*.htm") + " FILES.",
       "Quorvale 1.0.0 - !!!! DELETE Publishing Directory WARNING !!!!!", Buttons::kOkCancel, Icon::kNone},
      {"This does not seem to be proper publishing directory. Are you sure you want to delete all the data in " +
           pd + "?",
       "Quorvale 1.0.0 - Deletion Warning !!!", Buttons::kYesNo, Icon::kQuestion},
      {"There was an error while purging PhotoAlbum data from publish driectory.\r\n\r\n"
       "Check for Read Only files in the directory tree.",
       clear, Buttons::kOk, Icon::kCritical},
      {"Please select the Publishing Directory", clear, Buttons::kOk, Icon::kCritical},
      {"Publishing Folder (" + pd + ") does not exist.", clear, Buttons::kOk, Icon::kCritical},
      {"There was an error while purging PhotoAlbum data from publish driectory.\r\n\r\n"
       "Could not write Generation_Log.txt: " + pd + "/Generation_Log.txt is a link; not followed.",
       clear, Buttons::kOk, Icon::kCritical},
  };
  return boxes[static_cast<int>(shown)];
}

struct ClearCase {
  const char* name;
  std::function<void(const fs::path& root)> change;  // made to the generated site in root/pd
  const char* pd_text;                               // nullptr: the site's path
  std::vector<Answer> answers;
  std::vector<Shown> shown;
  ClearOutcome outcome;
  std::string left;                // entries under the test folder
  std::optional<std::string> log;  // bytes of pd/Generation_Log.txt; nullopt: no log
  bool makes_links = false;        // the change makes symbolic links
};

const auto kNoChange = [](const fs::path&) {};
const auto kRemove = [](const char* name) { return [name](const fs::path& root) { fs::remove(root / "pd" / name); }; };
// A folder outside the site that a link inside it points to.
fs::path Outside(const fs::path& root) {
  Write(root / "outside" / "precious.jpg", "keep");
  return root / "outside";
}

std::vector<ClearCase> Cases() {
  using enum Shown;
  using enum Answer;
  using enum ClearOutcome;
  const std::vector<Shown> warning = {kWarning};
  const std::string cleared_and_outside = kClearedSite + "outside/ outside/precious.jpg";
  const std::string logged = kOldEntry + kPurgeEntry;
  return {
      {"GeneratedSite", kNoChange, nullptr, {kOk}, warning, kCleared, kClearedSite, logged},
      {"NoLogYesCreatesLogWithPurgeFirst", kRemove("Generation_Log.txt"), nullptr, {kOk, kYes},
       {kWarning, kNoLogQuestion}, kCleared, kClearedSite, kPurgeEntry},
      {"NoLogNoDeletesNothing", kRemove("Generation_Log.txt"), nullptr, {kOk, kNo}, {kWarning, kNoLogQuestion},
       kDeclined, kPhotoAlbum + kPages + "pd/ pd/images/ pd/notes.html pd/sub.htm/ pd/sub.htm/x.htm", std::nullopt},
      {"NoHomePageKeepsPages", kRemove("PhotoAlbum.htm"), nullptr, {kOk}, warning, kCleared,
       kClearedSite + "pd/album-0.htm pd/ALBUM-1.HTM", logged},
      {"NoPhotoAlbumFolderStillDeletesPages", [](const fs::path& root) { fs::remove_all(root / "pd/PhotoAlbum"); },
       nullptr, {kOk}, warning, kCleared, kClearedSite, logged},
      {"PlaceholderIsNoFolder", kNoChange, "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>", {}, {kMissing},
       kCouldNotRun, kFullSite, kOldEntry},
      {"EmptyText", kNoChange, "", {}, {kSelect}, kCouldNotRun, kFullSite, kOldEntry},
      {"CancelAtWarningTouchesNothing", kNoChange, nullptr, {kCancel}, warning, kDeclined, kFullSite, kOldEntry},
      // Entries go in name order: Torvexa.jar is gone, the read-only picture stops the rest.
      {"ReadOnlyFileFailsAndLogsPurge",
       [](const fs::path& root) { MakeReadOnly(root / "pd/PhotoAlbum/images/album-0/a.jpg"); }, nullptr, {kOk},
       {kWarning, kFailure}, kFailed,
       kClearedSite + kPages + "pd/PhotoAlbum/ pd/PhotoAlbum/images/ pd/PhotoAlbum/images/album-0/ "
                           "pd/PhotoAlbum/images/album-0/a.jpg",
       logged},
      {"FailureWithoutLogCreatesNoLog",
       [](const fs::path& root) {
         fs::remove(root / "pd/Generation_Log.txt");
         MakeReadOnly(root / "pd/PhotoAlbum.htm");
       },
       nullptr, {kOk, kYes}, {kWarning, kNoLogQuestion, kFailure}, kFailed,
       "pd/ pd/images/ pd/notes.html pd/sub.htm/ pd/sub.htm/x.htm pd/PhotoAlbum.htm pd/album-0.htm", std::nullopt},
      {"ReadOnlyLogRefusesEntryAndReportsIt",
       [](const fs::path& root) { MakeReadOnly(root / "pd/Generation_Log.txt"); }, nullptr, {kOk},
       {kWarning, kFailure}, kFailed, kClearedSite, kOldEntry},
      {"LinksAreRemovedNeverFollowed",
       [](const fs::path& root) {
         const fs::path target = Outside(root);
         fs::create_directory_symlink(target, root / "pd/PhotoAlbum/images/album-1");
         fs::create_symlink(target / "precious.jpg", root / "pd/PhotoAlbum/picture-link.jpg");
         fs::create_symlink(target / "precious.jpg", root / "pd/link.htm");
       },
       nullptr, {kOk}, warning, kCleared, cleared_and_outside, logged, true},
      // Anything but a read-only entry is named with the real reason.
      {"LinkedLogIsNotWrittenThrough",
       [](const fs::path& root) {
         fs::remove(root / "pd/Generation_Log.txt");
         fs::create_symlink(root / "nowhere", root / "pd/Generation_Log.txt");
       },
       nullptr, {kOk, kYes}, {kWarning, kNoLogQuestion, kLinkedLogFailure}, kFailed,
       "pd/ pd/Generation_Log.txt->nowhere pd/images/ pd/notes.html pd/sub.htm/ pd/sub.htm/x.htm", std::nullopt, true},
      {"LinkedPhotoAlbumIsRemovedAsLink",
       [](const fs::path& root) {
         fs::remove_all(root / "pd/PhotoAlbum");
         fs::create_directory_symlink(Outside(root), root / "pd/PhotoAlbum");
       },
       nullptr, {kOk}, warning, kCleared, cleared_and_outside, logged, true},
  };
}

TEST(ClearPublishingDirectory, LeavesExactlyWhatItShouldInEveryDirectoryState) {
  for (const ClearCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const testing::TempFolder root;
    if (c.makes_links && !testing::CanMakeLinks(root.path())) continue;
    MakeSite(root.path());
    c.change(root.path());
    const std::string pd = c.pd_text != nullptr ? c.pd_text : (root.path() / "pd").string();
    testing::ScriptedDialogs dialogs;
    dialogs.answers.assign(c.answers.begin(), c.answers.end());

    EXPECT_EQ(ClearPublishingDirectory(pd, dialogs, testing::FixedClock("12/5/2026 6:15:42 AM"), OwnedByAnyViewer()), c.outcome);
    std::vector<MessageRequest> expected;
    for (Shown shown : c.shown) expected.push_back(Expected(shown, pd));
    EXPECT_EQ(dialogs.messages, expected);
    EXPECT_EQ(Tree(root.path()), Entries(c.left));
    std::ifstream log(root.path() / "pd" / "Generation_Log.txt", std::ios::binary);
    EXPECT_EQ(log ? std::optional<std::string>(std::string(std::istreambuf_iterator<char>(log), {})) : std::nullopt,
              c.log);
  }
}

}  // namespace
}  // namespace quorvale
