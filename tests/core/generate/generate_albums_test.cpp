// How a run behaves around what is already on disk: up-to-date copies, changed files,
// missing sources, the picture-count tip, the transcript cap and file-system failures.
#include <chrono>
#include <string>

#include "core/generate/generation_fixture.h"
#include "generate/generation_run.h"
#include "generate/picture_publishing.h"
#include "platform/product.h"
#include "platform/text_codec.h"

namespace quorvale::testing {
namespace {

// The transcript's lines (the text between CR LFs).
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
    lines.push_back(text.substr(start, at - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

int CountLinesStartingWith(const std::string& text, const std::string& prefix) {
  int count = 0;
  for (const std::string& line : Lines(text)) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

bool HasLine(const std::string& text, const std::string& line) {
  for (const std::string& l : Lines(text)) {
    if (l == line) return true;
  }
  return false;
}

TEST_F(GenerationTest, EmptyPublishDirectoryDoesNothingAndMissingOneIsRefused) {
  counters_.ErrorCount = 7;
  EXPECT_EQ(GenerateAlbums(Context(), ""), GenerationOutcome::kNotRun);
  EXPECT_EQ(counters_.ErrorCount, 7);  // not even the counters are touched
  EXPECT_TRUE(dialogs_.messages.empty());

  const std::string missing = JoinPath(root_, "nowhere");
  EXPECT_EQ(GenerateAlbums(Context(), missing), GenerationOutcome::kFolderMissing);
  EXPECT_EQ(counters_.ErrorCount, 0);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0], (MessageRequest{"Publishing Folder (" + missing + ") does not exist.",
                                                  ProductTitle() + " - Generate Albums", Buttons::kOk, Icon::kCritical}));
  EXPECT_EQ(transcript_.Text(), "");
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(GenerationTest, SecondRunSkipsEverythingAndKeepsBothLogEntries) {
  const std::string a = Picture("x", "a.jpg", "aaa");
  const std::string b = Picture("y", "b.gif", "bb");
  AddAlbum("One", {{a, ""}, {b, ""}});
  GenerateAlbums(Context(), publish_);
  transcript_.Clear();
  GenerateAlbums(Context(), publish_);

  const std::string& text = transcript_.Text();
  for (const char* file : kTorvexaFiles) {
    EXPECT_TRUE(HasLine(text, "    Destination file " + In("PhotoAlbum/") + file + " is up to date.")) << file;
  }
  EXPECT_EQ(CountLinesStartingWith(text, "    Copying file"), 0);
  EXPECT_TRUE(HasLine(text, "        Skipping copy picture " + a + " (" + In("PhotoAlbum/images/album-0/a.jpg") +
                                ") EXISTS."));
  EXPECT_TRUE(HasLine(text, "        Skipping copy picture " + b + " (" + In("PhotoAlbum/images/album-0/b.gif") +
                                ") EXISTS."));
  EXPECT_EQ(CountLinesStartingWith(text, "        Copying picture"), 0);
  const std::string entry = "\r\n12/5/2026 6:15:42 AM    Generated Successfully.\r\n\r\n";
  EXPECT_EQ(Read(In("Generation_Log.txt")), entry + entry);
}

// A published copy whose time or size differs from its source is copied again, for
// viewer files and pictures alike, whichever way the difference goes.
TEST_F(GenerationTest, ChangedTimeOrSizeIsCopiedAgain) {
  const std::string picture = Picture("x", "p.jpg", "picture");
  AddAlbum("One", {{picture, ""}});
  GenerateAlbums(Context(), publish_);
  const std::string viewer_copy = In("PhotoAlbum/spiral.gif");
  const std::string picture_copy = In("PhotoAlbum/images/album-0/p.jpg");

  struct Change {
    const char* what;
    std::function<void(const std::string&)> apply;
  };
  const std::vector<Change> changes = {
      {"older", [](const std::string& p) { fs::last_write_time(p, fs::last_write_time(p) - std::chrono::seconds(1)); }},
      {"newer", [](const std::string& p) { fs::last_write_time(p, fs::last_write_time(p) + std::chrono::nanoseconds(1000)); }},
      {"larger", [](const std::string& p) {
         const auto t = fs::last_write_time(p);
         std::ofstream(p, std::ios::app) << "!";
         fs::last_write_time(p, t);
       }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    change.apply(viewer_copy);
    change.apply(picture_copy);
    transcript_.Clear();
    GenerateAlbums(Context(), publish_);
    EXPECT_TRUE(HasLine(transcript_.Text(),
                        "    Copying file " + JoinPath(source_, "spiral.gif") + " to " + viewer_copy + "."));
    EXPECT_TRUE(HasLine(transcript_.Text(), "        Copying picture " + picture + " to " + picture_copy + "."));
    EXPECT_EQ(CountLinesStartingWith(transcript_.Text(), "    Copying file"), 1);
    EXPECT_EQ(Read(picture_copy), "picture");
    EXPECT_EQ(fs::last_write_time(picture_copy), fs::last_write_time(picture));
  }
}

TEST_F(GenerationTest, MissingSpiralStopsTheViewerWalkWithOneError) {
  fs::remove(JoinPath(source_, "spiral.gif"));
  GenerateAlbums(Context(), publish_);
  const std::string& text = transcript_.Text();
  for (std::size_t i = 0; i < kTorvexaFiles.size(); ++i) {
    EXPECT_EQ(fs::exists(In("PhotoAlbum/") + kTorvexaFiles[i]), i < 12) << kTorvexaFiles[i];
  }
  EXPECT_EQ(CountLinesStartingWith(text, "    Copying file"), 12);
  EXPECT_TRUE(HasLine(text, "    ERROR: Application Base File (" + JoinPath(source_, "spiral.gif") + ") does not exist."));
  EXPECT_EQ(counters_.ErrorCount, 1);
  EXPECT_EQ(dialogs_.messages.back().title, ProductTitle() + " - GENERATION HAD ERRORS/WARNINGS");
}

TEST_F(GenerationTest, MissingSourceFolderShowsItsMessageAndTheRunGoesOn) {
  fs::remove_all(source_);
  AddAlbum("One", {{Picture("x", "p.jpg", "p"), ""}});
  GenerateAlbums(Context(), publish_);
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_EQ(dialogs_.messages[0],
            (MessageRequest{"Application Source Directory (" + source_ +
                                ") does not exist. Can not Proceed.\r\n\r\nReinstall Quorvale.",
                            ProductTitle() + " - Generate - Viewer Application", Buttons::kOk, Icon::kCritical}));
  const auto lines = Lines(transcript_.Text());
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[3], "Copying Base Application Files");
  EXPECT_EQ(lines[4], "Generating album HTML (" + In("album-0.htm") + ") .... ");
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/images/album-0/p.jpg")));
  // Not counted: the run ends with the success message.
  EXPECT_EQ(dialogs_.messages[1].title, ProductTitle() + " - GENERATION SUCCESSFUL");
}

TEST_F(GenerationTest, PictureCountTipAppearsOnceAboveFortyPictures) {
  const std::string short_tip =
      "It is advisable to keep the number of pictures in each album to around 40 (for 1028x768 screen resolution). "
      "For other screen resolution this number may be different and this also depend on your personal liking.\r\n\r\n"
      "Although number of pictures in an album is limited to 100 but more than 40 pictures will make index picture "
      "buttons in Java Viewer Application too small.\r\n\r\n"
      "This warning message is displayed only during the first time Generation Run for the new or opened project.";
  const std::string long_tip =
      "One or more of your albums contain more pictures than the allowable limit of 100 in an album. Only first 100 "
      "pictures will be viewed in the Torvexa viewer application.\r\n\r\n" + short_tip;
  struct Case {
    int pictures;
    std::optional<std::string> tip;
  };
  for (const Case& c : {Case{40, std::nullopt}, Case{41, short_tip}, Case{101, long_tip}}) {
    SCOPED_TRACE(c.pictures);
    project_.ResetProject();
    std::vector<std::pair<std::string, std::string>> pictures;
    for (int i = 0; i < c.pictures; ++i) pictures.emplace_back(JoinPath(root_, "absent" + std::to_string(i)), "");
    AddAlbum("Big", pictures);
    AddAlbum("Also big", pictures);
    for (int run = 0; run < 2; ++run) {
      dialogs_.messages.clear();
      GenerateAlbums(Context(), publish_);
      const bool shown = c.tip && run == 0;
      ASSERT_EQ(dialogs_.messages.size(), shown ? 2u : 1u);
      if (shown) {
        EXPECT_EQ(dialogs_.messages[0], (MessageRequest{*c.tip, ProductTitle() + " - Generate Tip: Album Picture Count",
                                                        Buttons::kOk, Icon::kExclamation}));
      }
      EXPECT_EQ(project_.PictureCountTipPending, !c.tip);
    }
  }
}

// Before each picture, a transcript above 64000 characters keeps its last 60000; at
// 64000 it stays whole. Characters are counted, not bytes.
TEST_F(GenerationTest, TranscriptIsCutBeforeAPictureAbove64000Characters) {
  const std::string picture = Picture("x", "p.jpg", "p");
  AddAlbum("One", {{picture, ""}});
  fs::create_directories(In("PhotoAlbum/images"));
  const std::string line = "        Copying picture " + picture + " to " + In("PhotoAlbum/images/album-0/p.jpg") + ".";
  for (const std::size_t length : {std::size_t{64000}, std::size_t{64001}}) {
    SCOPED_TRACE(length);
    fs::remove_all(In("PhotoAlbum/images/album-0"));
    transcript_.Clear();
    // CR LF and the filler make `length` characters; "é" is two bytes but one character.
    transcript_.AppendLine("\xC3\xA9" + std::string(length - 4, 'x') + "\xC3\xA9");
    ASSERT_EQ(CharCount(transcript_.Text()), length);
    ASSERT_EQ(transcript_.Length(), length);
    const std::string whole = transcript_.Text();
    PublishAlbumPictures(Context(), publish_, 0);
    // The last 60000 characters: 59999 "x" and the closing "é" (two bytes).
    const std::string kept = length > 64000 ? std::string(59999, 'x') + "\xC3\xA9" : whole;
    EXPECT_TRUE(transcript_.Text() == kept + "\r\n" + line) << transcript_.Text().substr(0, 20);
    EXPECT_EQ(transcript_.Length(), CharCount(transcript_.Text()));
  }
}

// A failure of the file system is a counted ERROR line; the run goes on and ends with
// its message. As root, permission bits do not stop writes, so things in the way (a
// folder where a file must go, a file where a folder must go) make the same failures.
TEST_F(GenerationTest, FileSystemFailuresAreReportedCountedAndSurvived) {
  const std::string picture = Picture("x", "p.jpg", "picture");
  AddAlbum("One", {{picture, "c"}});
  AddAlbum("Two", {{picture, "c"}});
  fs::create_directories(In("PhotoAlbum/index/album-0.dat"));            // index file
  fs::create_directories(In("PhotoAlbum/AlbumLeaf.class"));              // viewer file
  fs::create_directories(In("album-1.htm"));                              // album page
  fs::create_directories(In("PhotoAlbum/images/album-0/p.jpg"));         // published picture
  fs::create_directories(In("PhotoAlbum/images"));
  WriteFile(In("PhotoAlbum/images/album-1"), "a file where a folder must go");

  EXPECT_EQ(GenerateAlbums(Context(), publish_), GenerationOutcome::kCompleted);
  const std::string& text = transcript_.Text();
  const std::vector<std::string> error_starts = {
      "    ERROR: Copying file " + JoinPath(source_, "AlbumLeaf.class") + " to " + In("PhotoAlbum/AlbumLeaf.class") + ".",
      "    ERROR: Writing album index " + In("PhotoAlbum/index/album-0.dat") + " failed: ",
      "        ERROR: Copying picture " + picture + " to " + In("PhotoAlbum/images/album-0/p.jpg") + " failed: ",
      "ERROR: Writing page " + In("album-1.htm") + " failed: ",
      "        ERROR: Creating folder " + In("PhotoAlbum/images/album-1") + " failed: ",
  };
  for (const std::string& start : error_starts) EXPECT_EQ(CountLinesStartingWith(text, start), 1) << start;
  EXPECT_EQ(counters_.ErrorCount, 5);
  // The viewer walk went on after the failed copy, and the other files were written.
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/Torvexa_logo_long_blk.jpg")));
  EXPECT_TRUE(fs::is_regular_file(In("album-0.htm")));
  EXPECT_EQ(Read(In("PhotoAlbum/index/album-1.dat")), "p.jpg\r\nc\r\n~\r\n");
  EXPECT_EQ(Read(In("Generation_Log.txt")), "\r\n12/5/2026 6:15:42 AM    Generated with 5 ERRORS and 0 WARNINGS.\r\n\r\n");
  EXPECT_EQ(dialogs_.messages.back().title, ProductTitle() + " - GENERATION HAD ERRORS/WARNINGS");
  EXPECT_TRUE(HasLine(text, "Generation completed (12/5/2026 6:15:42 AM)."));
}

TEST_F(GenerationTest, ReadOnlyDestinationFileAndAlbumFolderAreCountedErrors) {
  if (!PermissionsBlockWrites()) GTEST_SKIP() << "running with rights that ignore permission bits (root)";
  const std::string picture = Picture("x", "p.jpg", "picture");
  AddAlbum("One", {{picture, ""}});
  fs::create_directories(In("PhotoAlbum/images/album-0"));
  const std::string viewer_copy = In("PhotoAlbum/spiral.gif");
  WriteFile(viewer_copy, "an older, different copy");
  fs::permissions(viewer_copy, fs::perms::owner_read);
  fs::permissions(In("PhotoAlbum/images/album-0"), fs::perms::owner_read | fs::perms::owner_exec);

  GenerateAlbums(Context(), publish_);
  const std::string& text = transcript_.Text();
  EXPECT_TRUE(HasLine(text, "    ERROR: Copying file " + JoinPath(source_, "spiral.gif") + " to " + viewer_copy + "."));
  EXPECT_EQ(CountLinesStartingWith(text, "        ERROR: Copying picture " + picture), 1);
  EXPECT_EQ(counters_.ErrorCount, 2);
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/Torvexa_logo_long_blk.jpg")));  // the walk went on
  EXPECT_EQ(dialogs_.messages.back().title, ProductTitle() + " - GENERATION HAD ERRORS/WARNINGS");
}

TEST_F(GenerationTest, LayoutFolderThatCannotBeCreatedIsReportedBeforeTheStartLine) {
  WriteFile(In("images"), "a file where the images folder must go");
  GenerateAlbums(Context(), publish_);
  const auto lines = Lines(transcript_.Text());
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1].rfind("ERROR: Creating folder " + In("images") + " failed: ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2], "Generation started (12/5/2026 6:15:42 AM) ....");
  EXPECT_EQ(counters_.ErrorCount, 1);
  EXPECT_TRUE(fs::is_directory(In("PhotoAlbum/images")));
}

TEST_F(GenerationTest, LogThatCannotBeAppendedToIsACountedErrorAfterTheLastLine) {
  fs::create_directories(In("Generation_Log.txt"));
  GenerateAlbums(Context(), publish_);
  const auto lines = Lines(transcript_.Text());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 3], "Generation completed (12/5/2026 6:15:42 AM).");
  EXPECT_EQ(lines.back().rfind("ERROR: Appending to log file " + In("Generation_Log.txt") + " failed: ", 0), 0u)
      << lines.back();
  EXPECT_EQ(counters_.ErrorCount, 1);
  EXPECT_EQ(dialogs_.messages.back().text.rfind("Generation completed with 1 ERRORS and 0 WARNINGS.", 0), 0u);
}

// A Publishing Directory written with a trailing separator gives doubled separators in
// every path, which the file system accepts.
TEST_F(GenerationTest, TrailingSeparatorIsKeptInEveryPath) {
  AddAlbum("One", {{Picture("x", "p.jpg", "p"), ""}});
  const std::string with_separator = publish_ + kPathSeparator;
  GenerateAlbums(Context(), with_separator);
  const std::string doubled = with_separator + kPathSeparator;
  EXPECT_TRUE(HasLine(transcript_.Text(), "Generating album HTML (" + doubled + "album-0.htm) .... "));
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/images/album-0/p.jpg")));
  EXPECT_EQ(counters_.ErrorCount, 0);
}

}  // namespace
}  // namespace quorvale::testing
