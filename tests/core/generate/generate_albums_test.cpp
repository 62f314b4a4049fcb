// How a run behaves around what is already on disk: up-to-date copies, changed files,
// missing sources, the picture-count tip, the transcript cap and file-system failures.
#include <chrono>
#include <cstdlib>
#include <limits>
#include <string>

#include <map>

#include <sys/stat.h>

#include "core/generate/generation_fixture.h"
#include "core/support/fake_imaging.h"
#include "generate/album_lookahead.h"
#include "generate/picture_publishing.h"
#include "generate/site_manifest.h"
#include "generate/site_manifest_changes.h"
#include "generate/site_manifest_record.h"
#include "platform/code_identity.h"
#include "platform/file_copy.h"
#include "platform/text_codec.h"
#include "viewers/html/html_viewer.h"

namespace quorvale::testing {
namespace {

// Every transcript line follows a CR LF.
bool HasLine(const std::string& text, const std::string& line) {
  return (text + "\r\n").find("\r\n" + line + "\r\n") != std::string::npos;
}

int CountLinesStartingWith(const std::string& text, const std::string& prefix) {
  int count = 0;
  for (auto at = text.find("\r\n" + prefix); at != std::string::npos; at = text.find("\r\n" + prefix, at + 1)) ++count;
  return count;
}

const std::string kErrorsTitle = "Quorvale 1.0.0 - GENERATION HAD ERRORS/WARNINGS";

TEST_F(GenerationTest, EmptyPublishDirectoryDoesNothingAndMissingOneIsRefused) {
  counters_.ErrorCount = 7;
  EXPECT_EQ(Run("").outcome, GenerationOutcome::kNotRun);
  EXPECT_EQ(counters_.ErrorCount, 7);  // not even the counters are touched
  EXPECT_TRUE(dialogs_.messages.empty());

  const std::string missing = JoinPath(root_, "nowhere");
  EXPECT_EQ(Run(missing).outcome, GenerationOutcome::kFolderMissing);
  EXPECT_EQ(counters_.ErrorCount, 0);
  EXPECT_EQ(dialogs_.messages, (std::vector<MessageRequest>{{"Publishing Folder (" + missing + ") does not exist.",
                                                             "Quorvale 1.0.0 - Generate Albums", Buttons::kOk,
                                                             Icon::kCritical}}));
  EXPECT_EQ(transcript_.Text(), "");
  EXPECT_FALSE(fs::exists(missing));
}

// A second run finds every copy up to date. A copy whose time or size then differs
// from its source is copied again, viewer file and picture alike, either way.
TEST_F(GenerationTest, UpToDateCopiesAreSkippedAndChangedOnesCopiedAgain) {
  const std::string picture = Picture("x", "p.jpg", "picture");
  AddAlbum("One", {{picture, ""}});
  Generate();
  std::string text = Generate();
  for (const std::string& file : kTorvexaFiles) {
    EXPECT_TRUE(HasLine(text, "    Destination file " + In("PhotoAlbum/") + file + " is up to date.")) << file;
  }
  const std::string picture_copy = In("PhotoAlbum/images/album-0/p.jpg");
  EXPECT_TRUE(HasLine(text, "        Skipping copy picture " + picture + " (" + picture_copy + ") EXISTS."));
  EXPECT_EQ(CountLinesStartingWith(text, "    Copying file") + CountLinesStartingWith(text, "        Copying picture"), 0);
  const std::string entry = "\r\n12/5/2026 6:15:42 AM    Generated Successfully.\r\n\r\n";
  EXPECT_EQ(Read(In("Generation_Log.txt")), entry + entry);

  const std::string viewer_copy = In("PhotoAlbum/spiral.gif");
  const struct {
    const char* what;
    fs::file_time_type::duration shift;
    const char* appended;
  } changes[] = {{"older", -std::chrono::seconds(1), ""}, {"newer", std::chrono::microseconds(1), ""}, {"larger", {}, "!"}};
  for (const auto& change : changes) {
    SCOPED_TRACE(change.what);
    for (const std::string& copy : {viewer_copy, picture_copy}) {
      const auto time = fs::last_write_time(copy);
      std::ofstream(copy, std::ios::app) << change.appended;
      fs::last_write_time(copy, time + change.shift);
    }
    text = Generate();
    EXPECT_TRUE(HasLine(text, "    Copying file " + JoinPath(source_, "spiral.gif") + " to " + viewer_copy + "."));
    EXPECT_EQ(CountLinesStartingWith(text, "    Copying file"), 1);
    EXPECT_TRUE(HasLine(text, "        Copying picture " + picture + " to " + picture_copy + "."));
    EXPECT_EQ(Read(picture_copy), "picture");
    EXPECT_EQ(fs::last_write_time(picture_copy), fs::last_write_time(picture));
  }
}

// A later album's pictures and copies are looked up while the album before is written.
// Two pictures of one name go to the same file, the later one last, every run: the
// second must not take the file's stamp from before the first replaced it. A picture
// changed between runs is copied again.
TEST_F(GenerationTest, LookupsAheadServeTheirOwnAlbumAndEachCopyOnce) {
  AddAlbum("One", {{Picture("x", "first.jpg", "first"), ""}});
  const std::string a = Picture("a", "p.jpg", "picture a");
  const std::string b = Picture("b", "p.jpg", "picture b, longer");
  AddAlbum("Two", {{a, ""}, {b, ""}});
  const std::string copy = In("PhotoAlbum/images/album-1/p.jpg");
  for (const char* round : {"first", "second", "after a change"}) {
    SCOPED_TRACE(round);
    if (std::string(round) == "after a change") WriteFile(b, "picture b, changed");
    const std::string text = Generate();
    EXPECT_EQ(Read(copy), Read(b));
    EXPECT_TRUE(HasLine(text, "        Copying picture " + b + " to " + copy + "."));
  }
}

// A run that comes to an album before its lookups are done takes its pictures in turn
// with the lookahead's thread: each picture and copy is answered, whichever looked it up.
TEST_F(GenerationTest, AnAlbumReachedEarlyIsLookedUpWithTheRunsHelp) {
  std::vector<std::pair<std::string, std::string>> pictures;
  for (int i = 0; i < 100; ++i) pictures.push_back({Picture("many", "p" + std::to_string(i) + ".jpg", "picture"), ""});
  AddAlbum("One", {pictures.front()});
  AddAlbum("Two", pictures);
  Generate();  // the copies are there
  for (int round = 0; round < 20; ++round) {
    AlbumLookahead lookahead(project_, publish_, {}, {});
    lookahead.Begin(0);
    const AlbumLookups two = lookahead.Begin(1);  // at once, while the lookups are under way
    ASSERT_EQ(two.album_number, 1);
    EXPECT_EQ(std::count_if(two.sources.begin(), two.sources.end(), [](const auto& stamp) { return stamp.has_value(); }),
              100);
    EXPECT_EQ(two.copies.size(), 100u);
  }
}

// A run writes only what changes: a file whose new bytes equal those on disk keeps its
// time and its inode, so an upload or a backup sees nothing new. Pages, index files,
// viewer files and published pictures of both viewers; the log takes one more entry
// and the thumbnails are the imaging step's own.
TEST_F(GenerationTest, ARunRewritesOnlyTheFilesWhoseBytesChange) {
  for (const std::string& file : HtmlViewerDescriptor().files) WriteFile(JoinPath(source_, file), "viewer " + file);
  AddAlbum("One", {{Picture("x", "p.jpg", "picture p"), "first"}});
  AddAlbum("Two", {{Picture("x", "q.jpg", "picture q"), "second"}});
  FakeImaging imaging;
  // Every file of the site but the log and the imaging step's, by path below it: its
  // inode and time.
  const auto site_files = [](const std::string& site) {
    std::map<std::string, std::pair<std::uint64_t, std::int64_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(site)) {
      const std::string relative = fs::relative(entry.path(), site).generic_string();
      if (!entry.is_regular_file() || relative == "Generation_Log.txt" || relative.starts_with("PhotoAlbum/thumbnails") ||
          relative.starts_with("PhotoAlbum/display")) {
        continue;
      }
      std::uint64_t inode = 0;  // Windows keeps none that stat can see: the time tells there
#ifndef _WIN32
      struct stat status {};
      EXPECT_EQ(::stat(entry.path().string().c_str(), &status), 0);
      inode = status.st_ino;
#endif
      const FileStamp stamp = StampOf(entry.path().string()).value();  // the time as finely as kept
      files[relative] = {inode, stamp.modified_seconds * 1'000'000'000 + stamp.modified_nanoseconds};
    }
    return files;
  };
  // The manifest's changes file changes with the site, not with the log; its record (what
  // wrote it) with it. The manifest itself is written again only when it is not what the
  // run wrote.
  const std::string kManifest = "PhotoAlbum/site.manifest";
  const std::string kChanges = "PhotoAlbum/site.manifest.changes";
  const std::string kRecord = "PhotoAlbum/site.manifest.record";
  const struct {
    const char* what;
    ViewerId viewer;
    const char* new_comment;  // for the second album's picture; null: unchanged
    const char* clock;        // the second run's time, and in ISO form
    const char* iso;
    std::vector<std::string> rewritten;  // or made
    bool manifest_changed = false;  // on disk, between the runs
  } cases[] = {
      {"Torvexa, unchanged", ViewerId::kTorvexa, nullptr, "12/5/2026 6:15:42 AM", "2026-12-05 06:15", {}},
      {"Torvexa, a comment", ViewerId::kTorvexa, "changed", "12/5/2026 6:15:42 AM", "2026-12-05 06:15",
       {"PhotoAlbum/index/album-1.dat", kChanges, kRecord}},
      {"Torvexa, a later run", ViewerId::kTorvexa, nullptr, "12/5/2026 7:00:00 AM", "2026-12-05 07:00",
       {"PhotoAlbum.htm", kChanges, kRecord}},
      {"HTML, unchanged", ViewerId::kHtml, nullptr, "12/5/2026 6:15:42 AM", "2026-12-05 06:15", {}},
      {"HTML, a comment", ViewerId::kHtml, "changed", "12/5/2026 6:15:42 AM", "2026-12-05 06:15",
       {kChanges, kRecord, "album-1.htm"}},
      {"HTML, a later run", ViewerId::kHtml, nullptr, "12/5/2026 7:00:00 AM", "2026-12-05 07:00",
       {"PhotoAlbum.htm", kChanges, kRecord}},
      {"HTML, the manifest changed", ViewerId::kHtml, nullptr, "12/5/2026 6:15:42 AM", "2026-12-05 06:15",
       {kManifest, kRecord}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string site = JoinPath(root_, std::string("site ") + c.what);
    fs::create_directories(site);
    settings_.ViewerType = c.viewer;
    project_.SelectAlbum(1);
    project_.SetPictureComment(0, "second");
    clock_ = FixedClock();
    const auto run = [&] {
      GenerationJob job = Job(site);
      job.imaging = &imaging;
      EXPECT_EQ(GenerateAlbums(std::move(job), *this).counters, GenerationCounters{});
    };
    run();
    if (c.manifest_changed) WriteFile(JoinPath(site, kManifest), "not what the run wrote");
    const auto before = site_files(site);
    if (c.new_comment) project_.SetPictureComment(0, c.new_comment);
    clock_ = FixedClock(c.clock, c.iso);
    run();
    const auto after = site_files(site);
    std::vector<std::string> rewritten;
    for (const auto& [file, stamp] : after) {
      if (!before.contains(file) || before.at(file) != stamp) rewritten.push_back(file);
    }
    for (const auto& [file, stamp] : before) EXPECT_TRUE(after.contains(file)) << file;
    std::vector<std::string> expected = c.rewritten;
    if (!CodeIdentity()) std::erase(expected, kRecord);  // a build without an ID keeps no record
    EXPECT_EQ(rewritten, expected);

    // The manifest lists every file of the site as it is, the run's bookkeeping aside.
    std::vector<SiteFile> on_disk;
    for (const auto& entry : fs::recursive_directory_iterator(site)) {
      const std::string relative = fs::relative(entry.path(), site).generic_string();
      if (entry.is_regular_file() && relative != "Generation_Log.txt" && !relative.starts_with(kManifest) &&
          !relative.ends_with(".record") && !relative.ends_with(".lock")) {
        on_disk.push_back({relative, StampOf(entry.path().string()).value()});
      }
    }
    std::sort(on_disk.begin(), on_disk.end(), [](const SiteFile& a, const SiteFile& b) { return a.path < b.path; });
    EXPECT_EQ(ReadSiteManifest(site), on_disk);
  }
}

// The manifest names each file once, in path order, with the last stamp it was given:
// within what is set aside together, across what is set aside apart (paths that fall
// between each other's, a folder of its own, two folders together), and past the pieces
// it is written in.
// Once with its scratch file, once with none to be had (what it sets aside stays in
// memory).
void ManifestNamesEachFileOnceWithItsLastStamp() {
  SiteManifest manifest("pd");
  std::map<std::string, FileStamp> expected;
  const auto publish = [&](const std::string& name, FileStamp stamp) {
    manifest.Published(JoinPath("pd", name), stamp);
    expected[name] = stamp;
  };
  const std::string long_name(70'000, 'n');
  for (int i = 0; i < 5000; ++i) {
    const int n = i * 7919 % 5000;  // every number once, out of order
    const std::string name = n == 2500 ? long_name : "p" + std::to_string(100'000 + n);
    if (n % 1000 == 0) manifest.Published(JoinPath("pd", name), FileStamp{1, 1, 1});  // published again below
    publish(name, {static_cast<std::uintmax_t>(n), 1'700'000'000 + n, n});
    if (i % 1000 == 999) manifest.SetAside();
    if (i == 1999) {  // folders of their own: one between another's, one ending where another begins
      int k = 0;
      for (const auto& apart :
           {std::vector{"q/2", "q/1", "q/2"}, {"q/0", "q/9"}, {"q/5"}, {"r/1", "r/3"}, {"r/3", "r/4", "s/1"}}) {
        for (const char* in_q : apart) publish(in_q, {5, 5, ++k});
        manifest.SetAside();
      }
    }
  }
  for (const char* again : {"p100007", "p104999"}) publish(again, {9, 9, 9});

  std::string bytes;
  EXPECT_EQ(manifest.Pieces()([&](std::string_view piece) { return bytes.append(piece), true; }), std::nullopt);
  std::vector<SiteFile> in_order;
  for (const auto& [name, stamp] : expected) in_order.push_back({name, stamp});
  EXPECT_EQ(ParseSiteManifest(bytes), in_order);
  EXPECT_NE(bytes.find("\n9\t9.000000009\tp100007\n"), std::string::npos);  // nanoseconds in nine digits
}

TEST(SiteManifestTest, NamesEachFileOnceWithItsLastStamp) {
  ManifestNamesEachFileOnceWithItsLastStamp();
  const testing::TempFolder temp;
  const std::string missing = JoinPath(temp.str(), "missing");
#ifdef _WIN32
  const char* const variable = "TMP";
  const auto set = [&](const char* value) { ::_putenv_s(variable, value ? value : ""); };
#else
  const char* const variable = "TMPDIR";
  const auto set = [&](const char* value) { value ? ::setenv(variable, value, 1) : ::unsetenv(variable); };
#endif
  const char* const before = std::getenv(variable);
  const std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
  set(missing.c_str());
  ManifestNamesEachFileOnceWithItsLastStamp();
  set(saved ? saved->c_str() : nullptr);
}

// A manifest line's numbers read as std::to_string writes them, the nanoseconds padded
// to nine digits, whatever their count of digits.
TEST(SiteManifestTest, WritesEveryNumberWhole) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  const std::int64_t times[] = {0, 7, 10, 99, 100, 123'456'789, 999'999'999, 1'000'000'000, 9'999'999'999, kMax, -1, kMin};
  for (const std::int64_t seconds : times) {
    for (const std::int64_t nanoseconds : times) {
      const std::string digits = std::to_string(nanoseconds);
      const std::string padded = std::string(digits.size() < 9 ? 9 - digits.size() : 0, '0') + digits;
      EXPECT_EQ(StampTimeText({0, seconds, nanoseconds}), std::to_string(seconds) + "." + padded);
    }
  }
  SiteManifest manifest("pd");
  std::vector<SiteFile> expected;
  for (const std::uintmax_t size : {std::uintmax_t{0}, std::uintmax_t{9}, std::uintmax_t{10}, std::uintmax_t{65'536},
                                    std::uintmax_t{10'000'000'000'000'000'000u}, std::numeric_limits<std::uintmax_t>::max()}) {
    expected.push_back({"f" + std::to_string(size), {size, 1, 2}});
    manifest.Published(JoinPath("pd", expected.back().path), expected.back().stamp);
  }
  std::sort(expected.begin(), expected.end(), [](const SiteFile& a, const SiteFile& b) { return a.path < b.path; });
  std::string bytes;
  EXPECT_EQ(manifest.Pieces()([&](std::string_view piece) { return bytes.append(piece), true; }), std::nullopt);
  EXPECT_EQ(ParseSiteManifest(bytes), expected);
}

// The record of what wrote the manifest, as a file and read back, with a changes file
// and without; anything else is no record.
TEST(SiteManifestRecordTest, IsWrittenAsPinnedAndReadBack) {
  const SiteManifestRecord without{"c0de", "12 345 00ab", {6789, 1796684548, 70744346}, std::nullopt};
  const std::string bytes = SiteManifestRecordBytes(without);
  EXPECT_EQ(bytes, "quorvale-manifest 2\r\nc0de\t12 345 00ab\t6789\t1796684548\t70744346\t\t\t\r\n");
  EXPECT_EQ(ParseSiteManifestRecord(bytes), without);
  SiteManifestRecord with = without;
  with.changes = FileStamp{95, 1796684549, 5};
  EXPECT_EQ(SiteManifestRecordBytes(with),
            "quorvale-manifest 2\r\nc0de\t12 345 00ab\t6789\t1796684548\t70744346\t95\t1796684549\t5\r\n");
  EXPECT_EQ(ParseSiteManifestRecord(SiteManifestRecordBytes(with)), with);
  const std::vector<std::string> damaged_records = {
      bytes.substr(0, bytes.size() - 2), bytes + bytes.substr(21), bytes.substr(0, 21),
      "quorvale-manifest 1" + bytes.substr(19), "quorvale-manifest 2\r\n\tx\t1\t2\t3\t\t\t\r\n",
      "quorvale-manifest 2\r\nc\tx\t1\t2.5\t3\t\t\t\r\n", "quorvale-manifest 2\r\nc\tx\t1\t2\t3\t4\t\t\r\n"};
  for (const std::string& damaged : damaged_records) {
    EXPECT_EQ(ParseSiteManifestRecord(damaged), std::nullopt) << damaged;
  }
}

// The Torvexa applet shows JPEG, GIF and PNG: a picture of another format is published
// as a JPEG made from it under a name no picture of the album has, with one counted
// warning, every run; it is made again only when the picture changes.
TEST_F(GenerationTest, TorvexaPublishesAJpegInPlaceOfAFormatTheAppletCannotShow) {
  const std::string heic_head = std::string("\0\0\0\x18" "ftypheic\0\0\0\0" "mif1heic", 24);
  const struct {
    std::string name, bytes, published, published_bytes;
    const char* format;  // of a stand-in
  } cases[] = {
      {"sea.heic", heic_head + "pixels", "sea.heic-2.jpg", "JPEG made from sea.heic", "HEIC"},
      {"sea.heic.jpg", "\xFF\xD8\xFF a JPEG", "sea.heic.jpg", "\xFF\xD8\xFF a JPEG", nullptr},
      {"shot.webp", std::string("RIFF\x10\0\0\0WEBPVP8 ", 16), "shot.webp.jpg", "JPEG made from shot.webp", "WebP"},
      {"scan.tif", std::string("II*\0\x08\0\0\0", 8), "scan.tif.jpg", "JPEG made from scan.tif", "TIFF"},
      {"screen.png", "\x89PNG\r\n\x1A\n", "screen.png", "\x89PNG\r\n\x1A\n", nullptr},
      {"notes.jpg", "not a picture at all", "notes.jpg", "not a picture at all", nullptr},  // copied as before
      {"bad.avif", std::string("\0\0\0\x14" "ftypavif\0\0\0\0" "avif", 20), "bad.avif.jpg", "<missing>", "AVIF"},
  };
  std::vector<std::pair<std::string, std::string>> pictures;
  for (const auto& c : cases) pictures.push_back({Picture("x", c.name, c.bytes), ""});
  AddAlbum("Formats", pictures);
  FakeImaging imaging;
  const auto run = [&] {
    GenerationJob job = Job(publish_);
    job.imaging = &imaging;
    return GenerateAlbums(std::move(job), *this).counters;
  };
  EXPECT_EQ(run(), (GenerationCounters{1, 4}));  // bad.avif cannot be made
  std::string index;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    index += c.published + "\r\n\r\n~\r\n";
    const std::string source = JoinPath(JoinPath(JoinPath(root_, "pictures"), "x"), c.name);
    const std::string target = In("PhotoAlbum/images/album-0/" + c.published);
    EXPECT_EQ(Read(target), c.published_bytes);
    EXPECT_EQ(HasLine(transcript_.Text(), "        WARNING: The Torvexa viewer cannot show the " +
                                              std::string(c.format ? c.format : "") + " picture " + source +
                                              "; publishing " + target + ", a JPEG made from it."),
              c.format != nullptr);
    EXPECT_EQ(HasLine(transcript_.Text(), "        Copying picture " + source + " to " + target + "."),
              c.format == nullptr);
  }
  EXPECT_EQ(Read(In("PhotoAlbum/index/album-0.dat")), index);

  // A second run says so again but makes only the stand-in whose picture changed.
  const std::string stand_in = In("PhotoAlbum/images/album-0/shot.webp.jpg");
  WriteFile(stand_in, "kept");
  fs::last_write_time(JoinPath(JoinPath(JoinPath(root_, "pictures"), "x"), "shot.webp"),
                      fs::last_write_time(stand_in) - std::chrono::seconds(5));
  WriteFile(In("PhotoAlbum/images/album-0/scan.tif.jpg"), "old");
  fs::last_write_time(In("PhotoAlbum/images/album-0/scan.tif.jpg"),
                      fs::last_write_time(JoinPath(JoinPath(JoinPath(root_, "pictures"), "x"), "scan.tif")) -
                          std::chrono::seconds(5));
  EXPECT_EQ(run(), (GenerationCounters{1, 4}));
  EXPECT_EQ(Read(stand_in), "kept");
  EXPECT_EQ(Read(In("PhotoAlbum/images/album-0/scan.tif.jpg")), "JPEG made from scan.tif");

  // An unchanged picture is not read again: the format its record names stands, until
  // the picture changes.
  const std::string record = In("PhotoAlbum/images/album-0.formats.record");
  const std::string jpeg = JoinPath(JoinPath(JoinPath(root_, "pictures"), "x"), "sea.heic.jpg");
  std::string bytes = Read(record);
  ASSERT_NE(bytes.find("\tJPEG\t" + jpeg + "\r\n"), std::string::npos);
  bytes.replace(bytes.find("\tJPEG\t" + jpeg), 5, "\tHEIC");
  WriteFile(record, bytes);
  const std::string taken_for_heic = "cannot show the HEIC picture " + jpeg + ";";
  const auto run_says = [&](const std::string& text) {
    const std::size_t from = transcript_.Text().size();
    run();
    return transcript_.Text().find(text, from) != std::string::npos;
  };
  EXPECT_TRUE(run_says(taken_for_heic));
  fs::last_write_time(jpeg, fs::last_write_time(jpeg) + std::chrono::seconds(5));
  EXPECT_FALSE(run_says(taken_for_heic));
  EXPECT_EQ(Read(In("PhotoAlbum/index/album-0.dat")), index);

  // Once the album is gone, so is its record; its published pictures stay.
  project_.RemoveAlbum(0);
  run();
  EXPECT_FALSE(fs::exists(record));
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/images/album-0/sea.heic.jpg")));
}

TEST_F(GenerationTest, MissingSpiralStopsTheViewerWalkWithOneError) {
  fs::remove(JoinPath(source_, "spiral.gif"));
  const std::string& text = Generate();
  for (std::size_t i = 0; i < kTorvexaFiles.size(); ++i) {
    EXPECT_EQ(fs::exists(In("PhotoAlbum/") + kTorvexaFiles[i]), i < 12) << kTorvexaFiles[i];
  }
  EXPECT_EQ(CountLinesStartingWith(text, "    Copying file"), 12);
  EXPECT_TRUE(HasLine(text, "    ERROR: Application Base File (" + JoinPath(source_, "spiral.gif") + ") does not exist."));
  EXPECT_EQ(counters_.ErrorCount, 1);
  EXPECT_EQ(dialogs_.messages.back().title, kErrorsTitle);
}

TEST_F(GenerationTest, MissingSourceFolderShowsItsMessageAndTheRunGoesOn) {
  fs::remove_all(source_);
  AddAlbum("One", {{Picture("x", "p.jpg", "p"), ""}});
  EXPECT_NE(Generate().find("\r\nCopying Base Application Files\r\nGenerating album HTML (" + In("album-0.htm")),
            std::string::npos);
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_EQ(dialogs_.messages[0],
            (MessageRequest{"Application Source Directory (" + source_ +
                                ") does not exist. Can not Proceed.\r\n\r\nReinstall Quorvale.",
                            "Quorvale 1.0.0 - Generate - Viewer Application", Buttons::kOk, Icon::kCritical}));
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/images/album-0/p.jpg")));
  EXPECT_EQ(dialogs_.messages[1].title, "Quorvale 1.0.0 - GENERATION SUCCESSFUL");  // not counted
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
  for (const auto& [count, tip] : {std::pair{40, std::string()}, std::pair{41, short_tip}, std::pair{101, long_tip}}) {
    SCOPED_TRACE(count);
    project_.ResetProject();
    std::vector<std::pair<std::string, std::string>> pictures;
    for (int i = 0; i < count; ++i) pictures.emplace_back(JoinPath(root_, "absent" + std::to_string(i)), "");
    AddAlbum("Big", pictures);
    AddAlbum("Also big", pictures);
    for (int run = 0; run < 2; ++run) {
      dialogs_.messages.clear();
      Generate();
      const bool shown = !tip.empty() && run == 0;
      ASSERT_EQ(dialogs_.messages.size(), shown ? 2u : 1u);
      if (shown) {
        EXPECT_EQ(dialogs_.messages[0], (MessageRequest{tip, "Quorvale 1.0.0 - Generate Tip: Album Picture Count",
                                                        Buttons::kOk, Icon::kExclamation}));
      }
      EXPECT_EQ(project_.PictureCountTipPending, tip.empty());
    }
  }
}

// Before each picture, a transcript above 64000 characters keeps its last 60000; at
// 64000 it stays whole. Characters are counted, not bytes.
TEST_F(GenerationTest, TranscriptIsCutBeforeAPictureAbove64000Characters) {
  const std::string picture = Picture("x", "p.jpg", "p");
  AddAlbum("One", {{picture, ""}});
  const std::string line = "\r\n        Copying picture " + picture + " to " + In("PhotoAlbum/images/album-0/p.jpg") + ".";
  for (const std::size_t length : {std::size_t{64000}, std::size_t{64001}}) {
    SCOPED_TRACE(length);
    fs::remove_all(In("PhotoAlbum/images/album-0"));
    fs::create_directories(In("PhotoAlbum/images"));
    const GenerationJob job = Job(publish_);
    GenerationContext context(job, *this, {});
    Transcript& transcript = context.transcript();
    // CR LF and the filler make `length` characters; "é" is two bytes but one character.
    transcript.AppendLine("\xC3\xA9" + std::string(length - 4, 'x') + "\xC3\xA9");
    ASSERT_EQ(transcript.Length(), length);
    const std::string whole = transcript.Text();
    PublishAlbumPictures(context, 0);
    // The last 60000 characters: 59999 "x" and the closing "é" (two bytes).
    EXPECT_TRUE(transcript.Text() == (length > 64000 ? std::string(59999, 'x') + "\xC3\xA9" : whole) + line)
        << transcript.Text().substr(0, 20);
    EXPECT_EQ(transcript.Length(), CharCount(transcript.Text()));
  }
}

// Cut after cut, with the text not looked at in between, the transcript is the last
// 60000 characters of all that was appended, as it would be after a single cut.
TEST(TranscriptTest, CutAfterCutKeepsTheLastCharacters) {
  const auto last = [](const std::string& text, std::size_t count) {
    std::size_t pos = text.size();
    for (std::size_t seen = 0; pos > 0 && seen < count;) {
      if ((static_cast<unsigned char>(text[--pos]) & 0xC0) != 0x80) ++seen;
    }
    return text.substr(pos);
  };
  // Lines mostly ASCII with a three-byte character in each or in one now and then (cuts
  // through ASCII alone, and through wider characters), and lines of two-byte characters
  // only, where cuts fall inside them.
  const struct {
    std::string filler;
    int wide_every;
  } cases[] = {{"x", 1}, {"x", 700}, {"\xC3\xA9", 1}};
  for (const auto& [filler, wide_every] : cases) {
    Transcript transcript;
    std::string appended;
    for (int i = 0; i < 4000; ++i) {
      if (transcript.Length() > Transcript::kCutAbove) appended = last(appended, Transcript::kKeptAfterCut);
      transcript.CutIfLong();
      std::string line;
      for (int k = 0; k < i % 97; ++k) line += filler;
      line += filler == "x" ? (i % wide_every == 0 ? "\xE2\x82\xAC" : "") + std::to_string(i) : filler;
      transcript.AppendLine(line);
      appended += "\r\n" + line;
      if (i % 997 == 0) {
        ASSERT_EQ(transcript.View(), appended) << i;
      }
    }
    EXPECT_EQ(transcript.Text(), appended);
    EXPECT_EQ(transcript.Length(), CharCount(appended));
  }
}

// A line appended in pieces is the line appended whole, counted in characters.
TEST(TranscriptTest, ALineOfPiecesIsTheLineWhole) {
  Transcript pieces, whole;
  pieces.AppendLine({"Skipping ", "\xC3\xA9", "", " EXISTS."});
  whole.AppendLine("Skipping \xC3\xA9 EXISTS.");
  EXPECT_EQ(pieces.Text(), whole.Text());
  EXPECT_EQ(pieces.Length(), whole.Length());
}

// A failure of the file system is a counted ERROR line; the run goes on and ends with
// its message. As root, permission bits do not stop writes, so things in the way (a
// folder where a file must go, a file where a folder must go) make the same failures.
TEST_F(GenerationTest, FileSystemFailuresAreReportedCountedAndSurvived) {
  const std::string picture = Picture("x", "p.jpg", "picture");
  AddAlbum("One", {{picture, "c"}});
  AddAlbum("Two", {{picture, "c"}});
  AddAlbum("Three");
  for (const char* folder : {"PhotoAlbum/index/album-0.dat", "PhotoAlbum/AlbumLeaf.class", "album-1.htm",
                             "PhotoAlbum/images/album-0/p.jpg", "Generation_Log.txt"}) {
    fs::create_directories(In(folder));
  }
  WriteFile(In("PhotoAlbum/images/album-1"), "a file where a folder must go");
  WriteFile(In("PhotoAlbum/images/album-2"), "a file where an empty album's folder must go");
  WriteFile(In("images"), "a file where the images folder must go");

  EXPECT_EQ(Run(publish_).outcome, GenerationOutcome::kCompleted);
  const std::string& text = transcript_.Text();
  const std::string error_starts[] = {
      "ERROR: Creating folder " + In("images") + " failed: ",
      "    ERROR: Copying file " + JoinPath(source_, "AlbumLeaf.class") + " to " + In("PhotoAlbum/AlbumLeaf.class") +
          " failed: " + In("PhotoAlbum/AlbumLeaf.class") + " is not a regular file.",
      "    ERROR: Writing album index " + In("PhotoAlbum/index/album-0.dat") + " failed: ",
      "        ERROR: Copying picture " + picture + " to " + In("PhotoAlbum/images/album-0/p.jpg") + " failed: ",
      "ERROR: Writing page " + In("album-1.htm") + " failed: ",
      "        ERROR: Creating folder " + In("PhotoAlbum/images/album-1") + " failed: ",
      "        ERROR: Creating folder " + In("PhotoAlbum/images/album-2") + " failed: ",
  };
  for (const std::string& start : error_starts) EXPECT_EQ(CountLinesStartingWith(text, start), 1) << start;
  // A layout folder fails before the start line; the log fails after the last line.
  EXPECT_LT(text.find(error_starts[0]), text.find("\r\nGeneration started (12/5/2026 6:15:42 AM) ....\r\n"));
  EXPECT_NE(text.find("\r\nGeneration completed (12/5/2026 6:15:42 AM).\r\n\r\nERROR: Appending to log file " +
                      In("Generation_Log.txt") + " failed: "),
            std::string::npos);
  // The empty album is still reported as such, right after its folder's error.
  EXPECT_EQ(text.find("\r\n        WARNING: ALBUM DOES NOT CONTAIN ANY PICTURE."),
            text.find("\r\n", text.find(error_starts[6]) + 2));
  EXPECT_EQ(counters_.ErrorCount, 8);
  EXPECT_EQ(counters_.WarningCount, 1);
  // The viewer walk went on after the failed copy, and the other files were written.
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/Torvexa_logo_long_blk.jpg")));
  EXPECT_TRUE(fs::is_regular_file(In("album-0.htm")));
  EXPECT_EQ(Read(In("PhotoAlbum/index/album-1.dat")), "p.jpg\r\nc\r\n~\r\n");
  EXPECT_EQ(dialogs_.messages.back().title, kErrorsTitle);
  EXPECT_EQ(dialogs_.messages.back().text.rfind("Generation completed with 8 ERRORS and 1 WARNINGS.\r\n", 0), 0u);
}

TEST_F(GenerationTest, ReadOnlyDestinationFileAndAlbumFolderAreCountedErrors) {
#ifdef _WIN32
  GTEST_SKIP() << "a folder's read-only attribute does not stop writes into it on Windows";
#else
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores permission bits";
#endif
  const std::string picture = Picture("x", "p.jpg", "picture");
  AddAlbum("One", {{picture, ""}});
  fs::create_directories(In("PhotoAlbum/images/album-0"));
  const std::string viewer_copy = In("PhotoAlbum/spiral.gif");
  WriteFile(viewer_copy, "an older, different copy");
  fs::permissions(viewer_copy, fs::perms::owner_read);
  fs::permissions(In("PhotoAlbum/images/album-0"), fs::perms::owner_read | fs::perms::owner_exec);

  const std::string& text = Generate();
  EXPECT_TRUE(HasLine(text, "    ERROR: Copying file " + JoinPath(source_, "spiral.gif") + " to " + viewer_copy + "."));
  EXPECT_EQ(CountLinesStartingWith(text, "        ERROR: Copying picture " + picture), 1);
  EXPECT_EQ(counters_.ErrorCount, 2);
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/Torvexa_logo_long_blk.jpg")));  // the walk went on
  EXPECT_EQ(dialogs_.messages.back().title, kErrorsTitle);
  fs::permissions(In("PhotoAlbum/images/album-0"), fs::perms::owner_all);  // so that it can be removed
}

// A Publishing Directory written with a trailing separator gives doubled separators in
// every path, which the file system accepts.
TEST_F(GenerationTest, TrailingSeparatorIsKeptInEveryPath) {
  AddAlbum("One", {{Picture("x", "p.jpg", "p"), ""}});
  Run(publish_ + kPathSeparator);
  EXPECT_TRUE(HasLine(transcript_.Text(),
                      "Generating album HTML (" + publish_ + kPathSeparator + kPathSeparator + "album-0.htm) .... "));
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/images/album-0/p.jpg")));
  EXPECT_EQ(counters_.ErrorCount, 0);
}

}  // namespace
}  // namespace quorvale::testing
