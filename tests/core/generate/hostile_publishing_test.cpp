// Generation and Clear in a Publishing Directory that holds links, FIFOs and folders
// where the site's files must go, two runs into one folder, and a very deep tree.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/generate/generation_fixture.h"
#include "core/support/fake_imaging.h"
#include "generate/clear_publishing_directory.h"
#include "generate/originals_record.h"
#include "viewers/viewer_registry.h"
#include "platform/file_copy.h"
#include "platform/file_lock.h"
#include "support/links.h"
#include "support/temp_folder.h"
#include "viewers/html/html_viewer.h"

namespace quorvale::testing {
namespace {

// Every entry below `folder` with its kind and content: a checksum of a tree.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    entries[fs::relative(entry.path(), folder).string()] =
        entry.is_symlink() ? "link" : entry.is_directory() ? "folder" : ReadWholeFile(entry.path().string()).value();
  }
  return entries;
}

// No Publishing Directory, and beside it a tree that no run may change: a file and a
// folder holding `in_folder`, which the cases' links point at.
void ResetOutside(const fs::path& publish, const fs::path& outside, const std::string& in_folder) {
  fs::remove_all(publish);
  fs::remove_all(outside);
  fs::create_directories(outside / "2019");
  std::ofstream(outside / "thesis.txt", std::ios::binary) << "three years of work";
  std::ofstream(outside / "2019" / in_folder, std::ios::binary) << "from 2019";
}

TEST_F(GenerationTest, NothingOutsideAHostilePublishingDirectoryChanges) {
  // Each of the site's files and folders in turn replaced by a link out of the folder,
  // a FIFO (where the system has them), or (for a file) a folder; what each becomes in
  // the error line.
  const std::string link(kIsALink), fifo(kIsNotARegularFile), folder(kIsNotAFolder);
  std::vector<std::string> file_kinds = {std::string("folder")};
#ifndef _WIN32
  file_kinds.push_back(fifo);
#endif
  const bool links = CanMakeLinks(root_);
  if (links) file_kinds.push_back(link);
  std::vector<std::pair<std::string, std::string>> cases;
  for (const char* file : {"album-0.htm", "PhotoAlbum.htm", "Generation_Log.txt", "PhotoAlbum/spiral.gif",
                           "PhotoAlbum/index/album-0.dat", "PhotoAlbum/images/album-0/p.jpg"}) {
    for (const std::string& kind : file_kinds) cases.emplace_back(file, kind);
  }
  for (const char* layout_folder : {"PhotoAlbum", "PhotoAlbum/images/album-0"}) {
    if (links) cases.emplace_back(layout_folder, link);
    cases.emplace_back(layout_folder, folder);
  }

  AddAlbum("2020", {{Picture("2020", "p.jpg", "the 2020 picture"), "new"}});
  const fs::path outside = fs::path(root_) / "outside";
  for (const auto& [name, kind] : cases) {
    SCOPED_TRACE(name + ": " + kind);
    ResetOutside(publish_, outside, "p.jpg");
    const std::string entry = In(name);
    const bool is_folder = name.find('.') == std::string::npos;  // a layout folder
    fs::create_directories(fs::path(entry).parent_path());
    if (kind == link) {
      fs::create_symlink(is_folder ? outside / "2019" : outside / "thesis.txt", entry);
    } else if (kind == "folder") {
      fs::create_directory(entry);
    } else {
#ifdef _WIN32
      WriteFile(entry, "a file where a folder belongs");  // Windows has no FIFO in a folder
#else
      ASSERT_EQ(::mkfifo(entry.c_str(), 0666), 0);
#endif
    }
    const auto before = Snapshot(outside);

    EXPECT_EQ(Run(publish_).outcome, GenerationOutcome::kCompleted);
    const std::string refusal = entry + " " + (kind == "folder" ? fifo : kind) + ".";
    EXPECT_EQ(counters_.ErrorCount, 1) << transcript_.Text();
    EXPECT_NE(transcript_.Text().find(refusal), std::string::npos) << transcript_.Text();
    EXPECT_EQ(Snapshot(outside), before);

    // Clear neither follows nor waits either.
    dialogs_.answers = {Answer::kOk, Answer::kYes};
    ClearPublishingDirectory(publish_, dialogs_, clock_, OwnedByAnyViewer());
    EXPECT_EQ(Snapshot(outside), before);
  }
}

TEST_F(GenerationTest, NothingOutsideChangesThroughTheImagesOfAnHtmlSite) {
  // Each folder, record and image of the images step in turn replaced by a link out of
  // the folder, a FIFO (where the system has them), or the wrong kind of entry.
  const std::string link(kIsALink), special(kIsNotARegularFile), not_folder(kIsNotAFolder);
  const bool links = CanMakeLinks(root_);
  std::vector<std::pair<std::string, std::string>> cases;
  for (const char* folder : {"PhotoAlbum/thumbnails", "PhotoAlbum/thumbnails/album-0", "PhotoAlbum/display",
                             "PhotoAlbum/display/album-0"}) {
    if (links) cases.emplace_back(folder, link);
    cases.emplace_back(folder, not_folder);  // a file where the folder goes
  }
  for (const char* file : {"PhotoAlbum/thumbnails/album-0.record", "PhotoAlbum/thumbnails/album-0/p.jpg-512.jpg",
                           "PhotoAlbum/thumbnails/album-0/p.jpg-256.webp", "PhotoAlbum/display/album-0/p.jpg-1024.jpg"}) {
    if (links) cases.emplace_back(file, link);
    cases.emplace_back(file, special);  // a FIFO, or a folder where there is none
  }
  for (const std::string& file : HtmlViewerDescriptor().files) WriteFile(JoinPath(source_, file), "viewer " + file);
  settings_.ViewerType = ViewerId::kHtml;
  AddAlbum("2020", {{Picture("2020", "p.jpg", "the 2020 picture"), "new"}});
  FakeImaging imaging;
  const fs::path outside = fs::path(root_) / "outside";
  for (const auto& [name, kind] : cases) {
    SCOPED_TRACE(name + ": " + kind);
    ResetOutside(publish_, outside, "p.jpg-512.jpg");
    const std::string entry = In(name);
    fs::create_directories(fs::path(entry).parent_path());
    const bool is_folder = !name.ends_with(".jpg") && !name.ends_with(".webp") && !name.ends_with(".record");
    if (kind == link) {
      fs::create_symlink(is_folder ? outside / "2019" : outside / "thesis.txt", entry);
    } else if (kind == not_folder) {
      WriteFile(entry, "a file where a folder belongs");
    } else {
#ifdef _WIN32
      fs::create_directory(entry);
#else
      ASSERT_EQ(::mkfifo(entry.c_str(), 0666), 0);
#endif
    }
    const auto before = Snapshot(outside);

    GenerationJob job = Job(publish_);
    job.imaging = &imaging;
    transcript_.Clear();
    const GenerationResult result = GenerateAlbums(std::move(job), *this);
    EXPECT_EQ(result.outcome, GenerationOutcome::kCompleted);
    EXPECT_EQ(result.counters.ErrorCount, 1) << transcript_.Text();
    EXPECT_NE(transcript_.Text().find(entry + " " + kind + "."), std::string::npos) << transcript_.Text();
    EXPECT_EQ(Snapshot(outside), before);
  }
}

// The sink of a run on another thread: it records the boxes and the transcript, and
// its first status caption waits until the other run has returned, so the two overlap.
struct OverlappingRun : GenerationEvents {
  explicit OverlappingRun(std::atomic<int>& other_returned) : returned(other_returned) {}
  void StatusChanged(const std::string&) override {
    for (int i = 0; i < 1000 && returned.load() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  void TranscriptAppended(std::string_view text) override { transcript += text; }
  void TranscriptReplaced(std::string_view text) override { transcript = text; }
  void ProgressChanged(const GenerationProgress&) override {}
  Answer ShowMessage(const MessageRequest& request) override {
    boxes.push_back(request);
    return Answer::kOk;
  }
  std::atomic<int>& returned;
  std::string transcript;
  std::vector<MessageRequest> boxes;
};

TEST_F(GenerationTest, OfTwoRunsIntoOneFolderExactlyOneRuns) {
  AddAlbum("One", {{Picture("x", "p.jpg", "p"), ""}});
  std::atomic<int> returned{0};
  OverlappingRun runs[] = {OverlappingRun(returned), OverlappingRun(returned)};
  GenerationResult results[2];
  const GenerationJob job = Job(publish_);  // made before the threads: each run takes its own copy
  {
    std::jthread a([&] { results[0] = GenerateAlbums(job, runs[0]); ++returned; });
    std::jthread b([&] { results[1] = GenerateAlbums(job, runs[1]); ++returned; });
  }
  const int busy = results[0].outcome == GenerationOutcome::kBusy ? 0 : 1;
  EXPECT_EQ(results[busy].outcome, GenerationOutcome::kBusy);
  EXPECT_EQ(results[1 - busy].outcome, GenerationOutcome::kCompleted);
  const std::string text = "Another generation is writing to " + publish_ + " . Try again when it has finished.";
  const MessageRequest run_box{text, "Quorvale 1.0.0 - Generate Albums", Buttons::kOk, Icon::kCritical};
  EXPECT_EQ(runs[busy].boxes, std::vector<MessageRequest>{run_box});
  EXPECT_EQ(runs[busy].transcript, "");
  EXPECT_EQ(Read(In("Generation_Log.txt")), "\r\n12/5/2026 6:15:42 AM    Generated Successfully.\r\n\r\n");

  // The lock went with its run; a run and a Clear meet a held lock the same way.
  EXPECT_EQ(Run(publish_).outcome, GenerationOutcome::kCompleted);
  dialogs_.messages.clear();
  const FileLock held(publish_, In("PhotoAlbum/.lock"));
  EXPECT_EQ(Run(publish_).outcome, GenerationOutcome::kBusy);
  EXPECT_EQ(ClearPublishingDirectory(publish_, dialogs_, clock_, OwnedByAnyViewer()), ClearOutcome::kCouldNotRun);
  const MessageRequest clear_box{text, "Quorvale 1.0.0 - Clear Publishing Directory", Buttons::kOk, Icon::kCritical};
  EXPECT_EQ(dialogs_.messages, (std::vector<MessageRequest>{run_box, clear_box}));
  EXPECT_TRUE(fs::exists(In("PhotoAlbum/spiral.gif")));
}

// A run killed half-way through a write leaves a temporary file beside its target;
// the next run into the folder removes it, and nothing else. The second album's folder
// is listed ahead, while the run writes the first.
TEST_F(GenerationTest, TheNextRunRemovesWhatAKilledRunLeftHalfWritten) {
  AddAlbum("One", {{Picture("x", "p.jpg", "p"), ""}});
  AddAlbum("Two", {{Picture("y", "q.jpg", "q"), ""}});
  fs::create_directories(In("PhotoAlbum/images/album-0"));
  fs::create_directories(In("PhotoAlbum/images/album-1"));
  const char* const left[] = {".quorvale-write-a1B2c3", "PhotoAlbum/.quorvale-copy-a1B2c3",
                              "PhotoAlbum/images/album-0/.quorvale-copy-x9Y8z7",
                              "PhotoAlbum/images/album-1/.quorvale-write-Zz0Yy1"};
  const std::string kept = "PhotoAlbum/images/album-1/.quorvale-write-Zz0Yy12";
  for (const char* name : left) WriteFile(In(name), "half a page");
  WriteFile(In(kept), "the user's");
  EXPECT_EQ(Run(publish_).outcome, GenerationOutcome::kCompleted);
  for (const char* name : left) EXPECT_FALSE(fs::exists(In(name))) << name;
  EXPECT_TRUE(fs::exists(In(kept)));
}

#ifndef _WIN32
// An album's folder of originals that its record vouches for (found holding those alone,
// and settled) is taken at the record's word while it keeps its stamp, not listed; what
// a killed run leaves there gives it another, so the next run lists it, and removes that.
TEST_F(GenerationTest, AFolderOfOriginalsIsListedAgainOnceItChanges) {
  for (const std::string& file : HtmlViewerDescriptor().files) WriteFile(JoinPath(source_, file), "viewer " + file);
  settings_.ViewerType = ViewerId::kHtml;
  AddAlbum("One", {{Picture("x", "p.jpg", "p"), ""}});
  AddAlbum("Two", {{Picture("y", "q.jpg", "q"), ""}});  // looked up ahead, while the run writes the first
  FakeImaging imaging;
  const auto run = [&] {
    GenerationJob job = Job(publish_);
    job.imaging = &imaging;
    EXPECT_EQ(GenerateAlbums(std::move(job), *this).counters, GenerationCounters{});
  };
  const std::string record_path = In("PhotoAlbum/thumbnails/album-1.originals.record");
  const auto vouched_at = [&] { return ParseOriginalsRecord(Read(record_path)).value().folder; };
  run();
  EXPECT_EQ(vouched_at(), std::nullopt);  // written just now: not settled
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  run();
  const auto vouched = vouched_at();
  ASSERT_NE(vouched, std::nullopt);
  EXPECT_EQ(vouched, SettledFolderStampBelow(publish_, In("PhotoAlbum/images/album-1")));
  run();
  EXPECT_EQ(vouched_at(), vouched);
  // Taken at its word: a record that names a ghost beside the folder's one original is
  // believed, and vouches no more once the ghost goes from it; listed, the folder is
  // vouched for again.
  OriginalsRecord forged = ParseOriginalsRecord(Read(record_path)).value();
  forged.originals["ghost.jpg"] = forged.originals.begin()->second;
  WriteFile(record_path, OriginalsRecordBytes(forged));
  run();
  EXPECT_EQ(vouched_at(), std::nullopt);
  run();
  EXPECT_EQ(vouched_at(), vouched);
  const std::string left = In("PhotoAlbum/images/album-1/.quorvale-copy-x9Y8z7");
  WriteFile(left, "half a copy");
  run();
  EXPECT_FALSE(fs::exists(left));
  EXPECT_EQ(vouched_at(), std::nullopt);
}

// Clear walks with folder descriptors: neither the path length of a deep tree nor its
// depth makes it fail.
TEST(ClearDeepTree, TenThousandLevels) {
  // A tree this deep is slow to make on some disks; memory serves where it is there.
  std::error_code error;
  if (fs::is_directory("/dev/shm", error)) ::setenv("TMPDIR", "/dev/shm", 1);
  const TempFolder temp;
  ::unsetenv("TMPDIR");
  const fs::path pd = temp.path() / "pd";
  fs::create_directories(pd / "PhotoAlbum");
  std::ofstream(pd / "Generation_Log.txt") << "";
  int folder = ::open((pd / "PhotoAlbum").c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < 10'000; ++level) {
    ASSERT_EQ(::mkdirat(folder, "level", 0777), 0);
    ::close(::openat(folder, "picture.jpg", O_WRONLY | O_CREAT, 0666));
    const int next = ::openat(folder, "level", O_RDONLY | O_DIRECTORY);
    ::close(folder);
    folder = next;
  }
  ::close(folder);

  ScriptedDialogs dialogs;
  dialogs.answers = {Answer::kOk};
  EXPECT_EQ(ClearPublishingDirectory(pd.string(), dialogs, FixedClock(), OwnedByAnyViewer()), ClearOutcome::kCleared);
  EXPECT_FALSE(fs::exists(pd / "PhotoAlbum"));
  EXPECT_EQ(dialogs.messages.size(), 1u);
}
#endif

}  // namespace
}  // namespace quorvale::testing
