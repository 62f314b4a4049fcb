#include "generate/clear_publishing_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/support/scripted_dialogs.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNow = "12/5/2026 6:15:42 AM";
const std::string kOldEntry = "\r\n1/4/2026 9:00:00 PM    Generated Successfully.\r\n\r\n";
const std::string kPurgeEntry = "\r\n12/5/2026 6:15:42 AM    PhotoAlbum data purged from this directory.\r\n\r\n";
constexpr const char* kPlaceholder = "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>";

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

void MakeReadOnly(const fs::path& path) {
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

// What a generation run leaves, plus files of the user's that must survive a Clear.
void MakeSite(const fs::path& pd) {
  Write(pd / "Generation_Log.txt", kOldEntry);
  Write(pd / "PhotoAlbum" / "Torvexa.jar", "jar");
  Write(pd / "PhotoAlbum" / "images" / "album-0" / "a.jpg", "jpeg");
  Write(pd / "PhotoAlbum" / "index" / "album-0.dat", "dat");
  fs::create_directories(pd / "images");
  Write(pd / "PhotoAlbum.htm", "home");
  Write(pd / "album-0.htm", "page");
  Write(pd / "ALBUM-1.HTM", "page");
  Write(pd / "notes.html", "mine");
  Write(pd / "readme.txt", "mine");
  Write(pd / "sub" / "x.htm", "mine");
}

// Everything under the folder, links shown with their targets and never entered.
std::set<std::string> Tree(const fs::path& root) {
  std::set<std::string> entries;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const std::string relative = fs::relative(it->path(), root).generic_string();
    if (it->is_symlink()) {
      entries.insert(relative + " -> " + fs::read_symlink(it->path()).filename().string());
    } else {
      entries.insert(relative + (it->is_directory() ? "/" : ""));
    }
  }
  return entries;
}

const std::set<std::string> kFullSite = {
    "pd/",           "pd/ALBUM-1.HTM", "pd/Generation_Log.txt", "pd/PhotoAlbum/", "pd/PhotoAlbum.htm",
    "pd/PhotoAlbum/Torvexa.jar",      "pd/PhotoAlbum/images/",  "pd/PhotoAlbum/images/album-0/",
    "pd/PhotoAlbum/images/album-0/a.jpg", "pd/PhotoAlbum/index/", "pd/PhotoAlbum/index/album-0.dat",
    "pd/album-0.htm", "pd/images/",    "pd/notes.html",         "pd/readme.txt", "pd/sub/", "pd/sub/x.htm"};
// The site after a successful Clear: only the user's files, the images folder and the log.
const std::set<std::string> kClearedSite = {"pd/",          "pd/Generation_Log.txt", "pd/images/", "pd/notes.html",
                                            "pd/readme.txt", "pd/sub/",              "pd/sub/x.htm"};

std::set<std::string> Without(std::set<std::string> tree, const std::vector<std::string>& gone) {
  for (const std::string& entry : gone) tree.erase(entry);
  return tree;
}
std::set<std::string> With(std::set<std::string> tree, const std::vector<std::string>& added) {
  tree.insert(added.begin(), added.end());
  return tree;
}

enum class Shown { kWarning, kNoLogQuestion, kFailure, kSelect, kMissing };

struct ClearCase {
  const char* name;
  std::function<void(const fs::path& root)> setup;
  enum { kSitePath, kEmptyText, kPlaceholderText } pd_text;
  std::vector<Answer> answers;
  std::vector<Shown> shown;
  ClearOutcome outcome;
  std::set<std::string> left;          // under the test folder
  std::optional<std::string> log;      // bytes of pd/Generation_Log.txt; nullopt = no log
};

void PrintTo(const ClearCase& c, std::ostream* os) { *os << c.name; }

MessageRequest Expected(Shown shown, const std::string& pd) {
  const std::string clear = "Quorvale 1.0.0 - Clear Publishing Directory";
  switch (shown) {
    case Shown::kWarning:
      return {"THIS WILL WIPE OUT (DELETE) EVERYTHING UNDER " + pd + "/PhotoAlbum DIRECTORY AND " + pd +
                  "/*.htm FILES.",
              "Quorvale 1.0.0 - !!!! DELETE Publishing Directory WARNING !!!!!", Buttons::kOkCancel, Icon::kNone};
    case Shown::kNoLogQuestion:
      return {"This does not seem to be proper publishing directory. Are you sure you want to delete all the data in " +
                  pd + "?",
              "Quorvale 1.0.0 - Deletion Warning !!!", Buttons::kYesNo, Icon::kQuestion};
    case Shown::kFailure:
      return {"There was an error while purging PhotoAlbum data from publish driectory.\r\n\r\nCheck for Read Only "
              "files in the directory tree.",
              clear, Buttons::kOk, Icon::kCritical};
    case Shown::kSelect:
      return {"Please select the Publishing Directory", clear, Buttons::kOk, Icon::kCritical};
    case Shown::kMissing:
      return {"Publishing Folder (" + pd + ") does not exist.", clear, Buttons::kOk, Icon::kCritical};
  }
  return {};
}

std::vector<ClearCase> Cases() {
  const auto site = [](const fs::path& root) { MakeSite(root / "pd"); };
  const auto site_without = [](std::vector<std::string> names) {
    return [names](const fs::path& root) {
      MakeSite(root / "pd");
      for (const std::string& name : names) fs::remove_all(root / "pd" / name);
    };
  };
  const std::vector<std::string> photo_album = {"pd/PhotoAlbum/", "pd/PhotoAlbum/Torvexa.jar",
                                                "pd/PhotoAlbum/images/", "pd/PhotoAlbum/images/album-0/",
                                                "pd/PhotoAlbum/images/album-0/a.jpg", "pd/PhotoAlbum/index/",
                                                "pd/PhotoAlbum/index/album-0.dat"};
  const std::vector<std::string> pages = {"pd/PhotoAlbum.htm", "pd/album-0.htm", "pd/ALBUM-1.HTM"};
  const auto outside = [](const fs::path& root) {
    Write(root / "outside" / "precious.jpg", "keep");
    return root / "outside";
  };

  return {
      {"GeneratedSite", site, ClearCase::kSitePath, {Answer::kOk}, {Shown::kWarning}, ClearOutcome::kCleared,
       kClearedSite, kOldEntry + kPurgeEntry},
      {"NoLogYesCreatesLogWithPurgeFirst", site_without({"Generation_Log.txt"}), ClearCase::kSitePath,
       {Answer::kOk, Answer::kYes}, {Shown::kWarning, Shown::kNoLogQuestion}, ClearOutcome::kCleared, kClearedSite,
       kPurgeEntry},
      {"NoLogNoDeletesNothing", site_without({"Generation_Log.txt"}), ClearCase::kSitePath,
       {Answer::kOk, Answer::kNo}, {Shown::kWarning, Shown::kNoLogQuestion}, ClearOutcome::kDeclined,
       Without(kFullSite, {"pd/Generation_Log.txt"}), std::nullopt},
      {"NoHomePageKeepsPages", site_without({"PhotoAlbum.htm"}), ClearCase::kSitePath, {Answer::kOk},
       {Shown::kWarning}, ClearOutcome::kCleared, With(kClearedSite, {"pd/album-0.htm", "pd/ALBUM-1.HTM"}),
       kOldEntry + kPurgeEntry},
      {"NoPhotoAlbumFolderStillDeletesPages", site_without({"PhotoAlbum"}), ClearCase::kSitePath, {Answer::kOk},
       {Shown::kWarning}, ClearOutcome::kCleared, kClearedSite, kOldEntry + kPurgeEntry},
      {"PlaceholderIsNoFolder", site, ClearCase::kPlaceholderText, {}, {Shown::kMissing},
       ClearOutcome::kCouldNotRun, kFullSite, kOldEntry},
      {"EmptyText", site, ClearCase::kEmptyText, {}, {Shown::kSelect}, ClearOutcome::kCouldNotRun, kFullSite,
       kOldEntry},
      {"CancelAtWarningTouchesNothing", site, ClearCase::kSitePath, {Answer::kCancel}, {Shown::kWarning},
       ClearOutcome::kDeclined, kFullSite, kOldEntry},
      // Entries go in name order: Torvexa.jar is gone, the read-only picture stops the rest.
      {"ReadOnlyFileFailsAndLogsPurge",
       [](const fs::path& root) {
         MakeSite(root / "pd");
         MakeReadOnly(root / "pd" / "PhotoAlbum" / "images" / "album-0" / "a.jpg");
       },
       ClearCase::kSitePath, {Answer::kOk}, {Shown::kWarning, Shown::kFailure}, ClearOutcome::kFailed,
       Without(kFullSite, {"pd/PhotoAlbum/Torvexa.jar"}), kOldEntry + kPurgeEntry},
      {"FailureWithoutLogCreatesNoLog",
       [](const fs::path& root) {
         MakeSite(root / "pd");
         fs::remove(root / "pd" / "Generation_Log.txt");
         MakeReadOnly(root / "pd" / "PhotoAlbum.htm");
       },
       ClearCase::kSitePath, {Answer::kOk, Answer::kYes},
       {Shown::kWarning, Shown::kNoLogQuestion, Shown::kFailure}, ClearOutcome::kFailed,
       Without(Without(kFullSite, photo_album), {"pd/Generation_Log.txt", "pd/ALBUM-1.HTM"}), std::nullopt},
      {"ReadOnlyLogRefusesEntryAndReportsIt",
       [](const fs::path& root) {
         MakeSite(root / "pd");
         MakeReadOnly(root / "pd" / "Generation_Log.txt");
       },
       ClearCase::kSitePath, {Answer::kOk}, {Shown::kWarning, Shown::kFailure}, ClearOutcome::kFailed,
       kClearedSite, kOldEntry},
      {"LinksAreRemovedNeverFollowed",
       [outside](const fs::path& root) {
         MakeSite(root / "pd");
         const fs::path target = outside(root);
         fs::create_directory_symlink(target, root / "pd" / "PhotoAlbum" / "images" / "album-1");
         fs::create_symlink(target / "precious.jpg", root / "pd" / "PhotoAlbum" / "picture-link.jpg");
         fs::create_symlink(target / "precious.jpg", root / "pd" / "link.htm");
       },
       ClearCase::kSitePath, {Answer::kOk}, {Shown::kWarning}, ClearOutcome::kCleared,
       With(kClearedSite, {"outside/", "outside/precious.jpg"}), kOldEntry + kPurgeEntry},
      {"LinkedPhotoAlbumIsRemovedAsLink",
       [outside](const fs::path& root) {
         MakeSite(root / "pd");
         fs::remove_all(root / "pd" / "PhotoAlbum");
         fs::create_directory_symlink(outside(root), root / "pd" / "PhotoAlbum");
       },
       ClearCase::kSitePath, {Answer::kOk}, {Shown::kWarning}, ClearOutcome::kCleared,
       With(kClearedSite, {"outside/", "outside/precious.jpg"}), kOldEntry + kPurgeEntry},
  };
}

class ClearPublishingDirectoryTest : public ::testing::TestWithParam<ClearCase> {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvale-clear-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(root_, error);
  }
  fs::path root_;
};

TEST_P(ClearPublishingDirectoryTest, LeavesExactlyWhatItShould) {
  const ClearCase& c = GetParam();
  c.setup(root_);
  const std::string site = (root_ / "pd").string();
  const std::string pd = c.pd_text == ClearCase::kSitePath    ? site
                         : c.pd_text == ClearCase::kEmptyText ? std::string()
                                                              : std::string(kPlaceholder);
  testing::ScriptedDialogs dialogs;
  dialogs.answers.assign(c.answers.begin(), c.answers.end());
  const testing::FixedClock clock(kNow);

  EXPECT_EQ(ClearPublishingDirectory(pd, dialogs, clock), c.outcome);

  std::vector<MessageRequest> expected;
  for (Shown shown : c.shown) expected.push_back(Expected(shown, pd));
  EXPECT_EQ(dialogs.messages, expected);
  EXPECT_TRUE(dialogs.answers.empty()) << "a scripted answer was not asked for";
  EXPECT_EQ(Tree(root_), c.left);
  std::ifstream log(root_ / "pd" / "Generation_Log.txt", std::ios::binary);
  const std::optional<std::string> log_bytes =
      log ? std::optional<std::string>(std::string(std::istreambuf_iterator<char>(log), {})) : std::nullopt;
  EXPECT_EQ(log_bytes, c.log);
}

INSTANTIATE_TEST_SUITE_P(DirectoryStates, ClearPublishingDirectoryTest, ::testing::ValuesIn(Cases()),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace quorvale
