// The run as a job: stopped part way through its token, its events in the order the
// transcript shows, and two jobs at once on two Publishing Directories.
#include <atomic>
#include <stop_token>
#include <thread>

#include "core/generate/generation_fixture.h"

namespace quorvale::testing {
namespace {

// A stop between the first and the second picture: the first copy is whole, nothing
// after it is written, the old home page stays, the site has no manifest, and the log
// and the transcript say so.
TEST_F(GenerationTest, StopBetweenTwoPicturesLeavesWholeFilesAndSaysSo) {
  const std::string first = Picture("x", "first.jpg", std::string(300000, 'f'));
  const std::string second = Picture("x", "second.jpg", "s");
  AddAlbum("One", {{first, ""}, {second, ""}});
  AddAlbum("Two", {{Picture("y", "third.jpg", "t"), ""}});
  WriteFile(In("PhotoAlbum.htm"), "the earlier home page");
  fs::create_directories(In("PhotoAlbum"));
  WriteFile(In("PhotoAlbum/site.manifest"), "the earlier site's manifest");
  WriteFile(In("PhotoAlbum/site.manifest.changes"), "and its changes");

  std::stop_source stop;
  on_progress_ = [&](const GenerationProgress& progress) {
    if (progress.pictures_done == 1) stop.request_stop();
  };
  const GenerationResult result = Run(publish_, stop.get_token());

  EXPECT_EQ(result.outcome, GenerationOutcome::kStopped);
  EXPECT_EQ(result.progress.pictures_done, 1);
  EXPECT_EQ(result.progress.pictures_total, 3);
  EXPECT_EQ(Read(In("PhotoAlbum/images/album-0/first.jpg")), std::string(300000, 'f'));
  EXPECT_FALSE(fs::exists(In("PhotoAlbum/images/album-0/second.jpg")));
  EXPECT_FALSE(fs::exists(In("album-1.htm")));
  EXPECT_EQ(Read(In("PhotoAlbum.htm")), "the earlier home page");
  EXPECT_FALSE(fs::exists(In("PhotoAlbum/site.manifest")));  // a half-new site has none
  EXPECT_FALSE(fs::exists(In("PhotoAlbum/site.manifest.changes")));
  const std::string copied = "\r\n        Copying picture " + first + " to " + In("PhotoAlbum/images/album-0/first.jpg") + ".";
  EXPECT_EQ(transcript_.Text().substr(transcript_.Text().size() - copied.size() - 23), copied + "\r\nGeneration cancelled.");
  EXPECT_EQ(captions_.back(), "Generation cancelled.");
  EXPECT_EQ(Read(In("Generation_Log.txt")),
            "\r\n12/5/2026 6:15:42 AM    Generation cancelled with 0 ERRORS and 0 WARNINGS.\r\n\r\n");
  EXPECT_TRUE(dialogs_.messages.empty());  // no final box
}

// Every event in one stream: captions, progress and boxes come exactly where the
// transcript shows their step, the tip between the album's page and its index.
TEST_F(GenerationTest, EventsArriveInTheOrderOfTheTranscript) {
  std::vector<std::pair<std::string, std::string>> pictures;
  for (int i = 0; i < 41; ++i) pictures.emplace_back(JoinPath(root_, "absent" + std::to_string(i)), "");
  AddAlbum("Big", pictures);

  GenerateAlbums(Job(publish_), *this);

  const std::string& text = stream_;
  const std::string in_order[] = {
      "[S Copying PhotoAlbum Java Application ...]\r\nCopying Base Application Files\r\n",
      "[S Generating PhotoAlbums  ...][S Processing Album - Big][P 0/41 0]\r\nGenerating album HTML (",
      "[M Quorvale 1.0.0 - Generate Tip: Album Picture Count]\r\n    Generating album index (",
      "absent0 does not exist.[P 1/41 0]\r\n",
      "absent40 does not exist.[P 41/41 0]\r\nJava Home Page and Index Files created.\r\n\r\nGeneration completed (",
      ").\r\n[S Generation Completed.][M Quorvale 1.0.0 - GENERATION HAD ERRORS/WARNINGS]",
  };
  std::size_t at = 0;
  for (const std::string& piece : in_order) {
    const std::size_t found = text.find(piece, at);
    ASSERT_NE(found, std::string::npos) << piece;
    at = found + piece.size();
  }
  EXPECT_EQ(at, text.size());  // the final box is the last event
}

// Two jobs on two Publishing Directories at once, from two threads of one process:
// each site, transcript and log is its own.
TEST_F(GenerationTest, TwoJobsAtOnceDoNotInterfere) {
  struct Sink final : GenerationEvents {
    void StatusChanged(const std::string&) override {}
    void TranscriptAppended(std::string_view appended) override { text += appended; }
    void TranscriptReplaced(std::string_view whole) override { text = whole; }
    void ProgressChanged(const GenerationProgress&) override {}
    Answer ShowMessage(const MessageRequest& request) override {
      boxes.push_back(request.title);
      return Answer::kOk;
    }
    std::string text;
    std::vector<std::string> boxes;
  };
  std::vector<std::pair<std::string, std::string>> pictures;
  for (int i = 0; i < 30; ++i) pictures.emplace_back(Picture("x", "p" + std::to_string(i) + ".jpg", "bytes"), "");
  AddAlbum("Shared pictures", pictures);
  const std::string sites[] = {JoinPath(root_, "site-a"), JoinPath(root_, "site-b")};
  GenerationJob jobs[2];
  for (int i = 0; i < 2; ++i) {
    fs::create_directories(sites[i]);
    project_name_ = "project-" + std::to_string(i) + ".qs1";
    jobs[i] = Job(sites[i]);
  }
  Sink sinks[2];
  GenerationResult results[2];
  {
    std::jthread a([&] { results[0] = GenerateAlbums(jobs[0], sinks[0]); });
    std::jthread b([&] { results[1] = GenerateAlbums(jobs[1], sinks[1]); });
  }
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(results[i].outcome, GenerationOutcome::kCompleted);
    EXPECT_EQ(results[i].counters, GenerationCounters{});
    EXPECT_EQ(sinks[i].boxes, std::vector<std::string>{"Quorvale 1.0.0 - GENERATION SUCCESSFUL"});
    EXPECT_EQ(sinks[i].text.find(sites[1 - i]), std::string::npos);
    EXPECT_EQ(fs::file_size(JoinPath(JoinPath(JoinPath(JoinPath(sites[i], "PhotoAlbum"), "images"), "album-0"),
                                     "p29.jpg")), 5u);
    const std::string home = Read(JoinPath(sites[i], "PhotoAlbum.htm"));
    EXPECT_NE(home.find("(project-" + std::to_string(i) + ".qs1)</TITLE>"), std::string::npos);
  }
}

}  // namespace
}  // namespace quorvale::testing
