#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/folder_removal.h"
#include "platform/native_path.h"
#include "platform/path.h"
#include "platform/safe_write.h"
#include "support/temp_folder.h"

namespace quorvale {
namespace {

// The names in a folder, as the system lists them.
std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder))) {
    names.push_back(PathText(entry.path().filename()));
  }
  return names;
}

// Bytes that a text-mode copy would change: LF, CR, the end-of-file byte 0x1A, a zero,
// and enough of them to need more than one read.
std::string AwkwardBytes() {
  std::string bytes("\x0A\x0D\x1A\x00\r\n\xFF", 7);
  while (bytes.size() < 200000) bytes += bytes.substr(0, 7) + std::to_string(bytes.size());
  return bytes;
}

TEST(FileOperations, NamesOutsideAsciiReachTheSystemUnchanged) {
  testing::TempFolder temp;
  const std::string trip = JoinPath(temp.str(), "Wycieczka \xC5\x81\xC3\xB3\x64\xC5\xBA");  // Łódź
  const std::string site = JoinPath(JoinPath(temp.str(), "My Web Site"), "\xC3\x89t\xC3\xA9 2026");  // Été
  const std::string picture = JoinPath(trip, "caf\xC3\xA9.jpg");  // café
  ASSERT_EQ(CreateFolderBelow("", trip), std::nullopt);
  ASSERT_EQ(CreateFolderBelow("", FolderOf(site)), std::nullopt);
  ASSERT_EQ(CreateFolderBelow("", site), std::nullopt);
  ASSERT_EQ(WriteWholeFile(picture, AwkwardBytes()), std::nullopt);

  EXPECT_EQ(Listing(trip), std::vector<std::string>{"caf\xC3\xA9.jpg"});
  EXPECT_TRUE(FolderExists(trip));
  EXPECT_TRUE(FileExists(picture));
  const std::string copy = JoinPath(site, FileNameOf(picture));
  ASSERT_EQ(CopyFileBelow("", picture, copy), std::nullopt);
  EXPECT_EQ(ReadWholeFile(copy), AwkwardBytes());
  const auto source_stamp = StampOf(picture);
  const auto copy_stamp = StampOf(copy);
  ASSERT_TRUE(source_stamp && copy_stamp);
  EXPECT_EQ(*copy_stamp, *source_stamp);  // the size and the time to the system's last digit
  EXPECT_TRUE(IsUpToDateCopy(*source_stamp, *copy_stamp));
}

TEST(FileOperations, SavingTwiceReplacesTheFile) {
  testing::TempFolder temp;
  const std::string project = JoinPath(temp.str(), "holiday.qs1");
  ASSERT_EQ(WriteFileAtomically(project, "first"), std::nullopt);
  ASSERT_EQ(WriteFileAtomically(project, "second"), std::nullopt);
  EXPECT_EQ(ReadWholeFile(project), "second");
  EXPECT_EQ(Listing(temp.str()), std::vector<std::string>{"holiday.qs1"});  // no temporary file left
}

// A content given in pieces (here cut across the reader's buffer) is compared with the
// file as it comes: an equal file is left as it is, its time included; one that differs
// anywhere, is longer or shorter, is replaced; a source that fails leaves the old file.
TEST(FileOperations, ContentInPiecesIsWrittenOnlyWhereItDiffers) {
  testing::TempFolder temp;
  const std::string file = JoinPath(temp.str(), "site.manifest");
  const std::string old_content = AwkwardBytes();
  const auto pieces_of = [](const std::string& content, const char* failure = nullptr) -> BytePieces {
    return [&content, failure](const PieceConsumer& consume) -> std::optional<std::string> {
      std::string_view left = content;
      for (const std::size_t size : {std::size_t{1}, std::size_t{70'000}, std::size_t{3}}) {
        if (!consume(left.substr(0, size))) return std::nullopt;
        left.remove_prefix(std::min(size, left.size()));
        if (failure) return failure;
      }
      consume(left);
      return std::nullopt;
    };
  };
  std::string last_byte_other = old_content;
  last_byte_other.back() ^= 1;
  const struct {
    const char* what;
    std::string content;
    const char* failure;
    bool written;
  } cases[] = {
      {"the same bytes", old_content, nullptr, false},
      {"a byte more", old_content + "x", nullptr, true},
      {"a byte less", old_content.substr(0, old_content.size() - 1), nullptr, true},
      {"ending where a read does", old_content.substr(0, 128 * 1024), nullptr, true},
      {"the last byte other", last_byte_other, nullptr, true},
      {"a source that fails", old_content + "x", "the source failed", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(WriteWholeFile(file, old_content), std::nullopt);
    const auto long_ago = std::filesystem::last_write_time(NativePath(file)) - std::chrono::hours(24 * 365);
    std::filesystem::last_write_time(NativePath(file), long_ago);
    EXPECT_EQ(WritePiecesBelow(temp.str(), file, pieces_of(c.content, c.failure)),
              c.failure ? std::optional<std::string>(c.failure) : std::nullopt);
    EXPECT_EQ(ReadWholeFile(file), c.written ? c.content : old_content);
    EXPECT_EQ(std::filesystem::last_write_time(NativePath(file)) != long_ago, c.written);
    EXPECT_EQ(Listing(temp.str()), std::vector<std::string>{"site.manifest"});
  }
}

// Past the classic limit of 260 characters every operation still works.
TEST(FileOperations, PathsLongerThan260Characters) {
  testing::TempFolder temp;
  std::string folder = temp.str();
  while (folder.size() < 300) {
    folder = JoinPath(folder, std::string(60, 'd'));
    ASSERT_EQ(CreateFolderBelow("", folder), std::nullopt) << folder.size();
  }
  const std::string file = JoinPath(folder, "page.htm");
  ASSERT_EQ(WriteFileAtomically(file, "saved"), std::nullopt);
  ASSERT_EQ(AppendToFileBelow("", file, " and appended"), std::nullopt);
  EXPECT_EQ(ReadWholeFile(file), "saved and appended");
  EXPECT_TRUE(FolderExists(folder));
  EXPECT_TRUE(FileExists(file));
  ASSERT_EQ(CopyFileBelow("", file, file + ".copy"), std::nullopt);
  EXPECT_EQ(StampOf(file + ".copy"), StampOf(file));
  const auto listed = ListFolder(folder);
  ASSERT_TRUE(listed.has_value());
  EXPECT_EQ(listed->size(), 2u);
  const std::string top = JoinPath(temp.str(), std::string(60, 'd'));
  EXPECT_FALSE(RemoveFolderTree(top).has_value());
  EXPECT_FALSE(FolderExists(top));
}

// A read-only file is left as it is by every writer, on every system and for every
// user; a save says why in words the user can act on.
TEST(FileOperations, ReadOnlyFilesAreLeftAlone) {
  testing::TempFolder temp;
  const std::string source = JoinPath(temp.str(), "new.jpg");
  ASSERT_EQ(WriteWholeFile(source, "new"), std::nullopt);
  const struct {
    const char* what;
    std::function<std::optional<std::string>(const std::string&)> write;
  } cases[] = {
      {"save", [](const std::string& path) { return WriteFileAtomically(path, "new"); }},
      {"page", [](const std::string& path) { return WriteWholeFile(path, "new"); }},
      {"copy", [&](const std::string& path) { return CopyFileBelow("", source, path); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string target = JoinPath(temp.str(), std::string(c.what) + ".txt");
    ASSERT_EQ(WriteWholeFile(target, "old"), std::nullopt);
    std::filesystem::permissions(NativePath(target), std::filesystem::perms::owner_write |
                                                         std::filesystem::perms::group_write |
                                                         std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    const auto failure = c.write(target);
    ASSERT_TRUE(failure.has_value());
    if (std::string(c.what) == "save") {
      EXPECT_EQ(*failure, kReadOnlyReason);
    }
    EXPECT_EQ(ReadWholeFile(target), "old");
    std::filesystem::permissions(NativePath(target), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
  }
}

// What a save killed half-way left beside the project is removed by the next save.
TEST(FileOperations, TheNextSaveRemovesAKilledSavesLeftover) {
  testing::TempFolder temp;
  const std::string project = JoinPath(temp.str(), "holiday.qs1");
  const std::string leftover = JoinPath(temp.str(), SaveTemporaryPrefix("holiday.qs1") + "a1b2c3");
  const std::string other = JoinPath(temp.str(), SaveTemporaryPrefix("other.qs1") + "a1b2c3");
  ASSERT_EQ(WriteWholeFile(leftover, "half a proj"), std::nullopt);
  ASSERT_EQ(WriteWholeFile(other, "another project's"), std::nullopt);
  ASSERT_EQ(WriteFileAtomically(project, "whole"), std::nullopt);
  EXPECT_FALSE(FileExists(leftover));
  EXPECT_TRUE(FileExists(other));  // not this project's
  EXPECT_EQ(ReadWholeFile(project), "whole");
}

// "/" separates folders on every system; on Windows it reaches the same file as "\".
TEST(FileOperations, ForwardSlashesReachTheSameFile) {
  testing::TempFolder temp;
  ASSERT_EQ(CreateFolderBelow("", JoinPath(temp.str(), "pictures")), std::nullopt);
  ASSERT_EQ(WriteWholeFile(temp.str() + "/pictures/a.jpg", "picture"), std::nullopt);
  EXPECT_EQ(ReadWholeFile(JoinPath(JoinPath(temp.str(), "pictures"), "a.jpg")), "picture");
  EXPECT_TRUE(FileExists(temp.str() + "/pictures/a.jpg"));
}

// Looked up folder by folder, leaving a folder and coming back, every answer is
// StampOf's: a file's stamp, or nothing with the same reason; a file that changed while
// its folder stayed open shows its new stamp.
TEST(FileOperations, SourceStampsAnswerAsStampOf) {
  testing::TempFolder temp;
  const std::string a = JoinPath(temp.str(), "a");
  const std::string b = JoinPath(temp.str(), "b");
  ASSERT_EQ(CreateFolderBelow("", a), std::nullopt);
  ASSERT_EQ(CreateFolderBelow("", b), std::nullopt);
  ASSERT_EQ(WriteWholeFile(JoinPath(a, "1.jpg"), "one"), std::nullopt);
  ASSERT_EQ(WriteWholeFile(JoinPath(b, "2.jpg"), "second"), std::nullopt);
  std::vector<std::pair<std::string, bool>> cases = {
      {JoinPath(a, "1.jpg"), true},
      {JoinPath(a, "missing.jpg"), false},
      {JoinPath(b, "2.jpg"), true},
      {JoinPath(a, "1.jpg"), true},
      {b, false},                                              // a folder
      {JoinPath(JoinPath(a, "1.jpg"), "x.jpg"), false},        // a file taken for a folder
      {JoinPath(JoinPath(temp.str(), "none"), "3.jpg"), false},  // a missing folder
      {JoinPath(JoinPath(a, ".."), "b") + kPathSeparator + "2.jpg", true},
  };
#ifndef _WIN32
  // The user's links are followed, to a file and to a folder alike.
  std::filesystem::create_symlink(NativePath(JoinPath(b, "2.jpg")), NativePath(JoinPath(a, "link.jpg")));
  std::filesystem::create_directory_symlink(NativePath(b), NativePath(JoinPath(temp.str(), "c")));
  cases.push_back({JoinPath(a, "link.jpg"), true});
  cases.push_back({JoinPath(JoinPath(temp.str(), "c"), "2.jpg"), true});
#endif
  SourceStamps sources;
  for (const auto& [path, found] : cases) {
    std::string reason = "?";
    std::string expected_reason = "?";
    const auto stamp = sources.Of(path, &reason);
    EXPECT_EQ(stamp.has_value(), found) << path;
    EXPECT_EQ(stamp, StampOf(path, &expected_reason)) << path;
    EXPECT_EQ(reason, expected_reason) << path;
  }
  ASSERT_EQ(WriteWholeFile(JoinPath(b, "2.jpg"), "changed again"), std::nullopt);
  EXPECT_EQ(sources.Of(JoinPath(b, "2.jpg"))->size, 13u);
}

struct UpToDateCase {
  const char* what;
  FileStamp copy;
  bool up_to_date;
};

TEST(FileOperations, UpToDateWithinTheCoarserResolution) {
  const FileStamp source{100, 1'780'000'001, 123'456'700, 100};
  const std::vector<UpToDateCase> cases = {
      {"same size and time", {100, 1'780'000'001, 123'456'700, 100}, true},
      {"other size", {101, 1'780'000'001, 123'456'700, 100}, false},
      {"100 ns later on NTFS", {100, 1'780'000'001, 123'456'800, 100}, false},
      {"rounded up to 2 s on FAT", {100, 1'780'000'002, 0, kFatTimeResolution}, true},
      {"rounded down to 2 s on FAT", {100, 1'780'000'000, 0, kFatTimeResolution}, true},
      {"2 s apart on FAT", {100, 1'780'000'003, 123'456'700, kFatTimeResolution}, false},
      {"other size on FAT", {99, 1'780'000'002, 0, kFatTimeResolution}, false},
  };
  for (const UpToDateCase& c : cases) EXPECT_EQ(IsUpToDateCopy(source, c.copy), c.up_to_date) << c.what;
  const FileStamp nanoseconds{100, 1'780'000'001, 123'456'789, 1};
  EXPECT_FALSE(IsUpToDateCopy(nanoseconds, {100, 1'780'000'001, 123'456'788, 1}));
  // Only a time that FAT (whole seconds) or exFAT (10 ms steps) could keep makes the
  // stamp readers ask the volume its resolution; a finer one cannot be on such a volume.
  for (const std::int64_t coarse : {0, 10'000'000, 990'000'000}) EXPECT_TRUE(MayBeCoarseTime(coarse)) << coarse;
  for (const std::int64_t fine : {1, 123'456'700, 10'000'100}) EXPECT_FALSE(MayBeCoarseTime(fine)) << fine;
}

}  // namespace
}  // namespace quorvale
