// Saving a file the user keeps (the project file): what it leaves on disk in every
// state the target can be in, and after a save killed at any moment.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
std::string Read(const fs::path& path) { return ReadWholeFile(path.string()).value_or("<unreadable>"); }
fs::perms Mode(const fs::path& path) { return fs::symlink_status(path).permissions(); }

// The names in a folder that a save leaves behind besides its target.
int Temporaries(const fs::path& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    count += entry.path().filename().string().rfind(".quorvale-save-", 0) == 0 ? 1 : 0;
  }
  return count;
}

fs::perms CreationMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<fs::perms>(0666 & ~mask);
}

TEST(Saving, WhatASaveLeavesInEveryStateOfTheTarget) {
  using fs::perms;
  struct Case {
    const char* name;
    std::function<void(const fs::path& folder)> make;  // the state before saving folder/project.qs1
    const char* reason;   // nullptr: saved; one that begins with a blank follows the path
    const char* content;  // of folder/real/project.qs1 when it is there, else of folder/project.qs1
    perms mode;
  };
  const Case cases[] = {
      {"a new file", [](const fs::path&) {}, nullptr, "new", CreationMode()},
      {"an existing file keeps its permission bits",
       [](const fs::path& folder) {
         Write(folder / "project.qs1", "old");
         fs::permissions(folder / "project.qs1", perms::owner_read | perms::owner_write | perms::group_read);
       },
       nullptr, "new", perms::owner_read | perms::owner_write | perms::group_read},
      {"a link is saved through and stays a link",
       [](const fs::path& folder) {
         fs::create_directory(folder / "real");
         Write(folder / "real/project.qs1", "old");
         fs::create_symlink("real/project.qs1", folder / "project.qs1");
       },
       nullptr, "new", perms::all},
      {"a read-only file is not replaced",
       [](const fs::path& folder) {
         Write(folder / "project.qs1", "old");
         fs::permissions(folder / "project.qs1", perms::owner_read | perms::group_read);
       },
       kReadOnlyReason, "old", perms::owner_read | perms::group_read},
      {"a FIFO is not opened",
       [](const fs::path& folder) {
         ::mkfifo((folder / "project.qs1").c_str(), 0644);
         fs::permissions(folder / "project.qs1", perms::owner_read | perms::owner_write | perms::group_read |
                                                     perms::others_read);
       },
       " is not a regular file",
       "<unreadable>", perms::owner_read | perms::owner_write | perms::group_read | perms::others_read},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const testing::TempFolder temp;
    c.make(temp.path());
    const fs::path project = temp.path() / "project.qs1";
    const auto reason = WriteFileAtomically(project.string(), "new");
    const fs::path kept = fs::exists(temp.path() / "real") ? temp.path() / "real/project.qs1" : project;
    std::optional<std::string> expected;
    if (c.reason != nullptr) expected = c.reason[0] == ' ' ? project.string() + c.reason : c.reason;
    EXPECT_EQ(reason, expected);
    EXPECT_EQ(Read(kept), c.content);
    EXPECT_EQ(Mode(project), c.mode);
    EXPECT_EQ(Temporaries(kept.parent_path()), 0);
  }
}

// A save killed at a random moment leaves the old file or the new one, whole; the next
// save removes the temporary file the killed one left behind.
TEST(Saving, AKilledSaveNeverLeavesAPartialFile) {
  const testing::TempFolder temp;
  const fs::path project = temp.path() / "project.qs1";
  const std::string old_content(2'000'000, 'o');
  const std::string new_content(2'000'000, 'n');
  Write(project, old_content);
  std::mt19937 random(std::random_device{}());
  int leftovers = 0;
  for (int round = 0; round < 12; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) WriteFileAtomically(project.string(), new_content);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 30'000)(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string left = Read(project);
    EXPECT_TRUE(left == old_content || left == new_content) << "round " << round << ": " << left.size() << " bytes";
    leftovers += Temporaries(temp.path());
    EXPECT_EQ(WriteFileAtomically(project.string(), old_content), std::nullopt);
    EXPECT_EQ(Temporaries(temp.path()), 0) << "round " << round;
  }
  RecordProperty("rounds that left a temporary file", leftovers);
}

// One holder at a time, within a process and across processes; a killed holder's
// lock is free at once.
TEST(Saving, ALockDiesWithItsHolder) {
  const testing::TempFolder temp;
  const std::string root = temp.str();
  const std::string lock_file = (temp.path() / ".lock").string();
  {
    const FileLock first(root, lock_file);
    EXPECT_EQ(first.GetState(), FileLock::State::kHeld);
    EXPECT_EQ(FileLock(root, lock_file).GetState(), FileLock::State::kBusy);
  }
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const FileLock held(root, lock_file);
    const char state = held.GetState() == FileLock::State::kHeld ? 'h' : 'x';
    if (::write(ready[1], &state, 1) != 1) ::_exit(1);
    ::pause();
  }
  char state = 0;
  ASSERT_EQ(::read(ready[0], &state, 1), 1);
  EXPECT_EQ(state, 'h');
  EXPECT_EQ(FileLock(root, lock_file).GetState(), FileLock::State::kBusy);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(FileLock(root, lock_file).GetState(), FileLock::State::kHeld);
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace quorvale
