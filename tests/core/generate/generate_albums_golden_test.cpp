// A whole run over a small project, compared byte for byte with the pages, index files,
// transcript, log entry and final message the product promises.
#include <string>

#include "core/generate/generation_fixture.h"
#include "generate/access_url.h"
#include "generate/generation_job.h"

namespace quorvale::testing {
namespace {

// The pages the run must write, kept as files under golden/ byte for byte.
std::string Golden(const std::string& name) {
  return ReadWholeFile(std::string(QUORVALE_TESTS_DIR) + "/core/generate/golden/" + name).value_or("<missing golden file>");
}

const std::string kTitle = "Tom's <Trip> & ~more";

TEST_F(GenerationTest, GoldenRunWritesEveryFileTranscriptLogAndMessageExactly) {
  const std::string beach_a = Picture("a", "beach.jpg", "first beach, longer");
  const std::string beach_b = Picture("b", "beach.jpg", "second beach");
  const std::string missing = JoinPath(JoinPath(root_, "pictures"), "gone.jpg");
  AddAlbum(kTitle, {{beach_a, "Sunset ~ sea"}, {beach_b, ""}, {missing, "lost"}});
  AddAlbum("Empty");

  EXPECT_EQ(Run(publish_).outcome, GenerationOutcome::kCompleted);

  EXPECT_EQ(Read(In("PhotoAlbum.htm")), Golden("PhotoAlbum.htm"));
  EXPECT_EQ(Read(In("album-0.htm")), Golden("album-0.htm"));
  std::string page1 = Golden("album-0.htm");
  for (const auto& [from, to] : {std::pair{"'album-0.htm' SELECTED>", "'album-0.htm' >"},
                                 {"'album-1.htm' >", "'album-1.htm' SELECTED>"},
                                 {"index/album-0.dat", "index/album-1.dat"}, {"images/album-0'", "images/album-1'"}}) {
    page1.replace(page1.find(from), std::string_view(from).size(), to);
  }
  EXPECT_EQ(Read(In("album-1.htm")), page1);

  EXPECT_EQ(Read(In("PhotoAlbum/index/album-0.dat")),
            "beach.jpg\r\nSunset ~ sea\r\n~\r\nbeach.jpg\r\n\r\n~\r\ngone.jpg\r\nlost\r\n~\r\n");
  EXPECT_EQ(Read(In("PhotoAlbum/index/album-1.dat")), "");
  // The later of the two same-named pictures wins the published file.
  EXPECT_EQ(Read(In("PhotoAlbum/images/album-0/beach.jpg")), "second beach");
  EXPECT_TRUE(fs::is_directory(In("PhotoAlbum/images/album-1")));

  std::string expected = "\r\nGeneration started (12/5/2026 6:15:42 AM) ....\r\n\r\nCopying Base Application Files";
  for (const std::string& file : kTorvexaFiles) {
    expected += "\r\n    Copying file " + JoinPath(source_, file) + " to " + In("PhotoAlbum/") + file + ".";
  }
  expected += "\r\nGenerating album HTML (" + In("album-0.htm") + ") .... " +
              "\r\n    Generating album index (" + In("PhotoAlbum/index/album-0.dat") + ")" +
              "\r\n        Copying picture " + beach_a + " to " + In("PhotoAlbum/images/album-0/beach.jpg") + "." +
              "\r\n        Copying picture " + beach_b + " to " + In("PhotoAlbum/images/album-0/beach.jpg") + "." +
              "\r\n        ERROR IN COPY: Picture " + missing + " does not exist." +
              "\r\nGenerating album HTML (" + In("album-1.htm") + ") .... " +
              "\r\n    Generating EMPTY album index (" + In("PhotoAlbum/index/album-1.dat") + ")" +
              "\r\n        WARNING: ALBUM DOES NOT CONTAIN ANY PICTURE." +
              "\r\nJava Home Page and Index Files created.\r\n" +
              "\r\nGeneration completed (12/5/2026 6:15:42 AM).\r\n";
  EXPECT_EQ(transcript_.Text(), expected);

  EXPECT_EQ(Read(In("Generation_Log.txt")),
            "\r\n12/5/2026 6:15:42 AM    Generated with 1 ERRORS and 1 WARNINGS.\r\n\r\n");
  EXPECT_EQ(counters_.WarningCount, 1);
  EXPECT_EQ(captions_, (std::vector<std::string>{"Copying PhotoAlbum Java Application ...",
                                                 "Generating PhotoAlbums  ...", "Processing Album - " + kTitle,
                                                 "Processing Album - Empty", "Generation Completed."}));
  EXPECT_EQ(dialogs_.messages,
            (std::vector<MessageRequest>{
                {"Generation completed with 1 ERRORS and 1 WARNINGS.\r\n\r\n"
                 "Inspect the Generation Status for more information about ERRORS/WARNINGS.\r\n\r\n"
                 "To inspect your albums open " + AccessUrlFor(publish_) + " in Internet Explorer 4.5 or above.",
                 "Quorvale 1.0.0 - GENERATION HAD ERRORS/WARNINGS", Buttons::kOk, Icon::kCritical}}));
}

TEST_F(GenerationTest, EmptyProjectSucceedsWithAnAlbumlessHomePage) {
  EXPECT_EQ(Run(publish_).outcome, GenerationOutcome::kCompleted);
  std::string home = Golden("PhotoAlbum.htm");
  home.erase(home.find("<li>"), home.find("</ul>") - home.find("<li>"));
  EXPECT_EQ(Read(In("PhotoAlbum.htm")), home);
  EXPECT_EQ(Read(In("Generation_Log.txt")), "\r\n12/5/2026 6:15:42 AM    Generated Successfully.\r\n\r\n");
  for (const char* folder : {"images", "PhotoAlbum", "PhotoAlbum/index", "PhotoAlbum/images"}) {
    EXPECT_TRUE(fs::is_directory(In(folder))) << folder;
  }
  EXPECT_EQ(dialogs_.messages,
            (std::vector<MessageRequest>{{"GENERATION COMPLETED SUCCESSFULLY!!\r\n\r\nOpen " +
                                              AccessUrlFor(publish_) + " in Internet Explorer 4.5 or above\r\n\r\n" +
                                              std::string(52, ' ') +
                                              "AND\r\n\r\nBurn contents of your Publishing Directory on to CD-R's "
                                              "for distribution!!",
                                          "Quorvale 1.0.0 - GENERATION SUCCESSFUL", Buttons::kOk, Icon::kInformation}}));
}

}  // namespace
}  // namespace quorvale::testing
