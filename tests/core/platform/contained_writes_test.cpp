// The writers that a generation run uses, against every kind of entry a hostile or
// careless Publishing Directory can hold where a file must go.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>

#include "platform/file_copy.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Read(const fs::path& path) { return ReadWholeFile(path.string()).value_or("<unreadable>"); }

// Every entry below `folder` with its kind and content: a cheap checksum of a tree.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    entries[name] = entry.is_symlink() ? "link" : entry.is_directory() ? "folder" : Read(entry.path());
  }
  return entries;
}

// The temporary files left below `folder`.
int Temporaries(const fs::path& folder) {
  int count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    count += entry.path().filename().string().rfind(".quorvale-", 0) == 0 ? 1 : 0;
  }
  return count;
}

struct Writer {
  const char* name;
  // Writes "new" at `path` below `root`; the failure's reason.
  std::function<std::optional<std::string>(const std::string& root, const std::string& path)> write;
  const char* after;  // the target's content after a write over "old"
};

struct Place {
  const char* name;
  std::function<void(const fs::path& site, const fs::path& outside)> make;  // the entry at site/x/out.txt
  const char* refused;  // the part of the path the reason names, after the site; nullptr: written
  const char* kind;     // which refusal
};

TEST(ContainedWrites, NothingOutsideTheRootChangesAndNothingWaits) {
  const testing::TempFolder temp;
  const fs::path source = temp.path() / "source.jpg";
  Write(source, "new");
  const Writer writers[] = {
      {"write", [](const std::string& root, const std::string& path) { return WriteFileBelow(root, path, "new"); },
       "new"},
      {"append",
       [](const std::string& root, const std::string& path) { return AppendToFileBelow(root, path, "new"); },
       "oldnew"},
      {"copy",
       [&](const std::string& root, const std::string& path) { return CopyFileBelow(root, source.string(), path); },
       "new"},
      {"lock",
       [](const std::string& root, const std::string& path) -> std::optional<std::string> {
         const FileLock lock(root, path);
         if (lock.GetState() == FileLock::State::kHeld) return std::nullopt;
         return lock.Reason();
       },
       "old"},
  };
  const auto link = [](const char* target, const char* at) {
    return [=](const fs::path& site, const fs::path& outside) { fs::create_symlink(outside / target, site / at); };
  };
  const std::string is_link(kIsALink);
  const std::string not_regular(kIsNotARegularFile);
  const Place places[] = {
      {"a regular file", [](const fs::path& site, const fs::path&) { Write(site / "x/out.txt", "old"); }, nullptr, ""},
      {"a link to a file outside", link("precious.txt", "x/out.txt"), "/x/out.txt", kIsALink.data()},
      {"a dangling link", link("missing.txt", "x/out.txt"), "/x/out.txt", kIsALink.data()},
      {"a folder on the way that is a link",
       [](const fs::path& site, const fs::path& outside) {
         fs::remove(site / "x");
         fs::create_directory_symlink(outside, site / "x");
       },
       "/x", kIsALink.data()},
      {"a FIFO", [](const fs::path& site, const fs::path&) { ::mkfifo((site / "x/out.txt").c_str(), 0666); },
       "/x/out.txt", kIsNotARegularFile.data()},
      {"a folder", [](const fs::path& site, const fs::path&) { fs::create_directory(site / "x/out.txt"); },
       "/x/out.txt", kIsNotARegularFile.data()},
  };
  for (const Writer& writer : writers) {
    for (const Place& place : places) {
      SCOPED_TRACE(std::string(writer.name) + " over " + place.name);
      const fs::path site = temp.path() / "site";
      const fs::path outside = temp.path() / "outside";
      fs::create_directories(site / "x");
      fs::create_directories(outside);
      Write(outside / "precious.txt", "keep");
      Write(outside / "out.txt", "keep too");
      place.make(site, outside);
      const auto before = Snapshot(outside);

      const std::string path = (site / "x/out.txt").string();
      const auto reason = writer.write(site.string(), path);

      EXPECT_EQ(Snapshot(outside), before);
      if (place.refused == nullptr) {
        EXPECT_EQ(reason, std::nullopt);
        EXPECT_EQ(Read(path), writer.after);
      } else {
        EXPECT_EQ(reason, site.string() + place.refused + " " + place.kind);
        EXPECT_TRUE(IsRefusal(*reason));
      }
      EXPECT_EQ(Temporaries(site), 0);
      fs::remove_all(site);
      fs::remove_all(outside);
    }
  }
}

// A write that fails half-way (here at a file-size limit, which binds every user)
// leaves the old file whole and no temporary file beside it; so does a read-only file,
// whose attribute is honoured for every user.
TEST(ContainedWrites, AFailedWriteLeavesTheOldFileWhole) {
  const testing::TempFolder temp;
  const std::string path = (temp.path() / "page.htm").string();
  Write(path, "old page");
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit saved = limit;
  limit.rlim_cur = 4;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  const auto too_big = WriteWholeFile(path, "a new page, longer than the limit");
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(too_big, "File too large");

  fs::permissions(path, fs::perms::owner_read);
  EXPECT_EQ(WriteWholeFile(path, "new"), "Permission denied");
  EXPECT_EQ(CopyFileKeepingTime(path, path + ".copy"), std::nullopt);
  EXPECT_EQ(CopyFileKeepingTime(path + ".copy", path), "Permission denied");

  EXPECT_EQ(Read(path), "old page");
  EXPECT_EQ(Temporaries(temp.path()), 0);
}

}  // namespace
}  // namespace quorvale
