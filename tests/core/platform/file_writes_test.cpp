// What the writers leave on disk: a save in every state of its target and killed at
// any moment, a write that fails half-way, and a lock whose holder dies.
#include <gtest/gtest.h>

// Saving and writing against failures made with POSIX means: FIFOs, permission bits,
// fork and resource limits. The Windows build has its own file tests.
#ifndef _WIN32

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/file_copy.h"
#include "platform/file_lock.h"
#include "platform/file_reading.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/folder_removal.h"
#include "platform/folder_walks.h"
#include "support/temp_folder.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;
using fs::perms;

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
std::string Read(const fs::path& path) { return ReadWholeFile(path.string()).value_or("<unreadable>"); }

// The temporary files a writer left in a folder.
int Temporaries(const fs::path& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) count += entry.path().filename().string()[0] == '.';
  return count;
}

TEST(FileWrites, WhatASaveLeavesInEveryStateOfTheTarget) {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const auto make = [](perms mode, bool fifo = false) {
    return [=](const fs::path& target) {
      fifo ? void(::mkfifo(target.c_str(), 0600)) : Write(target, "old");
      fs::permissions(target, mode);
    };
  };
  const perms rw = perms::owner_read | perms::owner_write | perms::group_read;
  const perms ro = perms::owner_read | perms::group_read;
  struct Case {
    const char* name;
    std::function<void(const fs::path& target)> make;  // the target's state before the save
    const char* reason;   // nullptr: saved; one that begins with a blank follows the path
    const char* content;  // of the target after the save
    perms mode;
  };
  const Case cases[] = {
      {"a new file", [](const fs::path&) {}, nullptr, "new", static_cast<perms>(0666 & ~mask)},
      {"an existing file keeps its permission bits", make(rw), nullptr, "new", rw},
      {"a read-only file is not replaced", make(ro), kReadOnlyReason, "old", ro},
      {"a FIFO is not opened", make(rw, true), " is not a regular file", "<unreadable>", rw},
  };
  for (const bool through_link : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (through_link ? ", through a link" : ""));
      const testing::TempFolder temp;
      fs::create_directory(temp.path() / "real");
      const fs::path target = temp.path() / "real/project.qs1";
      const fs::path saved = through_link ? temp.path() / "project.qs1" : target;
      if (through_link) fs::create_symlink("real/project.qs1", saved);
      c.make(target);

      const auto reason = WriteFileAtomically(saved.string(), "new");

      EXPECT_EQ(reason.value_or("saved"),
                c.reason == nullptr ? "saved" : c.reason[0] == ' ' ? target.string() + c.reason : c.reason);
      EXPECT_EQ(Read(target), c.content);
      EXPECT_EQ(fs::status(target).permissions(), c.mode);
      EXPECT_EQ(fs::is_symlink(saved), through_link);
      EXPECT_EQ(Temporaries(temp.path() / "real"), 0);
    }
  }
}

// A save killed at a random moment leaves the old file or the new one, whole; the next
// save removes the temporary file the killed one left behind.
TEST(FileWrites, AKilledSaveNeverLeavesAPartialFile) {
  const testing::TempFolder temp;
  const fs::path project = temp.path() / "project.qs1";
  const std::string old_content(2'000'000, 'o');
  const std::string new_content(2'000'000, 'n');
  Write(project, old_content);
  std::mt19937 random(std::random_device{}());
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
    EXPECT_EQ(WriteFileAtomically(project.string(), old_content), std::nullopt);
    EXPECT_EQ(Temporaries(temp.path()), 0) << "round " << round;
  }
}

// A generated file that cannot be written whole (here at a file-size limit, which binds
// every user) keeps its old content, and leaves no temporary file.
TEST(FileWrites, AFailedWriteLeavesTheOldFileWhole) {
  const testing::TempFolder temp;
  const std::string path = (temp.path() / "page.htm").string();
  Write(path, "old page");
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit saved = limit;
  limit.rlim_cur = 4;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  const auto reason = WriteWholeFile(path, "a new page, longer than the limit");
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(Read(path), "old page");
  EXPECT_EQ(Temporaries(temp.path()), 0);
}

// Reading, listing and removing below a root meet links and special files as the
// writers do: refused, named in the reason, never followed or waited on; a file over
// the reader's limit is refused before it is read.
// Once walking from the root each time, once starting from the folders a run remembers.
void ReadsListingsAndRemovalsStayBelowTheRoot(bool remembering) {
  const testing::TempFolder temp;
  const fs::path root = temp.path() / "site";
  const fs::path outside = temp.path() / "outside";
  std::optional<FolderWalkMemory> walks;
  if (remembering) walks.emplace(root.string());
  fs::create_directories(root / "real");
  fs::create_directories(outside / "album");
  Write(outside / "album/thesis.txt", "three years of work");
  Write(root / "real/record", "12345678");
  fs::create_directory_symlink(outside / "album", root / "linked");
  fs::create_symlink(outside / "album/thesis.txt", root / "real/file-link");
  ASSERT_EQ(::mkfifo((root / "real/fifo").c_str(), 0600), 0);
  const auto in = [&](const char* relative) { return (root / relative).string(); };

  struct Case {
    const char* path;
    std::size_t limit;
    const char* content;  // nullptr: refused with `reason`
    std::string reason;
  };
  const Case cases[] = {
      {"real/record", 8, "12345678", ""},
      {"real/record", 7, nullptr, TooLargeReason(in("real/record"), 7)},
      {"real/missing", 8, nullptr, ""},
      {"real/file-link", 100, nullptr, in("real/file-link") + " is a link; not followed"},
      {"real/fifo", 100, nullptr, in("real/fifo") + " is not a regular file"},
      {"linked/thesis.txt", 100, nullptr, in("linked") + " is a link; not followed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string reason = "unset";
    const auto content = ReadFileBelow(root.string(), in(c.path), c.limit, &reason);
    EXPECT_EQ(content.value_or("<refused>"), c.content != nullptr ? c.content : "<refused>");
    if (c.content == nullptr) {
      EXPECT_EQ(reason, c.reason);
    }
  }

  // The start of a file, with the whole file's size; the same refusals.
  std::uintmax_t size = 0;
  EXPECT_EQ(ReadFileStartBelow(root.string(), in("real/record"), 3, size), "123");
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(ReadFileStartBelow(root.string(), in("real/record"), 100, size), "12345678");
  EXPECT_FALSE(ReadFileStartBelow(root.string(), in("real/file-link"), 3, size));
  // The same through the folder held open, and through a folder that is a link.
  FolderBelow real(root.string(), in("real"));
  size = 0;
  EXPECT_EQ(real.ReadStart("record", 3, size), "123");
  EXPECT_EQ(size, 8u);
  for (const char* refused : {"file-link", "fifo", "missing"}) {
    EXPECT_FALSE(real.ReadStart(refused, 3, size)) << refused;
  }
  EXPECT_FALSE(FolderBelow(root.string(), in("linked")).ReadStart("thesis.txt", 3, size));

  std::string reason;
  EXPECT_FALSE(ListFolderBelow(root.string(), in("linked"), &reason));
  EXPECT_EQ(reason, in("linked") + " is a link; not followed");
  for (int again = 0; again < 2; ++again) EXPECT_EQ(ListFolderBelow(root.string(), in("real"))->size(), 3u);
  EXPECT_EQ(RemoveFileBelow(root.string(), in("linked/thesis.txt")), in("linked") + " is a link; not followed");
  EXPECT_EQ(RemoveFileBelow(root.string(), in("real/file-link")), in("real/file-link") + " is a link; not followed");
  EXPECT_EQ(RemoveFolderTreeBelow(root.string(), in("linked"))->reason, in("linked") + " is a link; not followed");
  EXPECT_EQ(Read(outside / "album/thesis.txt"), "three years of work");
  EXPECT_EQ(RemoveFileBelow(root.string(), in("real/record")), std::nullopt);
  EXPECT_EQ(RemoveFolderTreeBelow(root.string(), in("real")), std::nullopt);
  EXPECT_FALSE(fs::exists(root / "real"));

  // A folder made again after its removal is the one written to; one swapped for a link
  // after it was reached is not written through.
  ASSERT_EQ(CreateFolderBelow(root.string(), in("real")), std::nullopt);
  EXPECT_EQ(WriteFileBelow(root.string(), in("real/again"), "again"), std::nullopt);
  EXPECT_EQ(Read(root / "real/again"), "again");
  fs::rename(root / "real", root / "moved");
  fs::create_directory_symlink(outside / "album", root / "real");
  WriteFileBelow(root.string(), in("real/swapped"), "swapped");
  EXPECT_FALSE(fs::exists(outside / "album/swapped"));
}

TEST(FileWrites, ReadsListingsAndRemovalsBelowARootStayBelowIt) {
  for (const bool remembering : {false, true}) {
    SCOPED_TRACE(remembering ? "remembering folders" : "walking from the root");
    ReadsListingsAndRemovalsStayBelowTheRoot(remembering);
  }
}

// A lock held by a process that is killed is free at once.
TEST(FileWrites, ALockDiesWithItsHolder) {
  const testing::TempFolder temp;
  const std::string lock_file = (temp.path() / ".lock").string();
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const FileLock held(temp.str(), lock_file);
    const char state = held.GetState() == FileLock::State::kHeld ? 'h' : 'x';
    if (::write(ready[1], &state, 1) == 1) ::pause();
    ::_exit(1);
  }
  char state = 0;
  ASSERT_EQ(::read(ready[0], &state, 1), 1);
  EXPECT_EQ(state, 'h');
  EXPECT_EQ(FileLock(temp.str(), lock_file).GetState(), FileLock::State::kBusy);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(FileLock(temp.str(), lock_file).GetState(), FileLock::State::kHeld);
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace quorvale
#endif
