#include "projectfile/project_file.h"

#include <gtest/gtest.h>

#include <random>
#include <variant>

#include "core/projectfile/project_file_fixtures.h"
#include "platform/text_codec.h"

namespace quorvale {
namespace {

using testing::ExampleFileBytes;
using testing::ExampleProject;
using testing::ExampleSettings;
using testing::Header;
using testing::ReadBytes;
using testing::Rec;
using testing::TempFolder;

// The albums and pictures of a project, for comparing two projects.
std::vector<Album> AlbumsOf(const Project& project) {
  std::vector<Album> albums;
  for (int i = 0; i < project.AlbumCount(); ++i) albums.push_back(project.AlbumAt(i));
  return albums;
}

LoadedProject Load(const std::string& bytes, const ProjectSettings& current = ProjectSettings()) {
  auto result = ReadProjectBytes(bytes, "test.qs1", current);
  if (auto* refusal = std::get_if<ProjectFileRefusal>(&result)) {
    ADD_FAILURE() << "refused: " << refusal->message.text;
    return {};
  }
  return std::get<LoadedProject>(std::move(result));
}

std::optional<ProjectFileProblem> ProblemOf(const std::string& bytes) {
  const auto result = ReadProjectBytes(bytes, "test.qs1", ProjectSettings());
  if (const auto* refusal = std::get_if<ProjectFileRefusal>(&result)) return refusal->problem;
  return std::nullopt;
}

TEST(ProjectFile, ExampleIsWrittenByteForByte) {
  EXPECT_EQ(ProjectFileBytes(ExampleProject(), ExampleSettings()), ExampleFileBytes());
}

TEST(ProjectFile, ExampleLoadsBackAsTheProject) {
  ProjectSettings current;
  current.ApplicationSourceDirectory = "/opt/quorvale/Applications/Torvexa";
  current.PublishPictures = 0;
  const LoadedProject loaded = Load(ExampleFileBytes(), current);
  EXPECT_EQ(AlbumsOf(loaded.project), AlbumsOf(ExampleProject()));
  EXPECT_EQ(loaded.project.SelectedAlbum(), 0);
  EXPECT_FALSE(loaded.project.Modified);
  EXPECT_EQ(loaded.project.ProjectPath, "test.qs1");
  EXPECT_EQ(loaded.settings.PublishDirectory, "D:\\Web\\Family");
  EXPECT_EQ(loaded.settings.PublishPictures, 1);
  EXPECT_EQ(loaded.settings.ViewerType, "Java");
  // The source folder record is not read: the program's own folder stays.
  EXPECT_EQ(loaded.settings.ApplicationSourceDirectory, "/opt/quorvale/Applications/Torvexa");
}

TEST(ProjectFile, EmptyProjectIsEightLinesAndLoadsEmpty) {
  ProjectSettings settings;
  settings.ApplicationSourceDirectory = "src";
  const std::string bytes = ProjectFileBytes(Project(), settings);
  EXPECT_EQ(bytes, Header() + Rec(0x83, "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>") + Rec(0x84, "1") +
                       Rec(0x85, "JAVA") + Rec(0x86, "src") + Rec(0x87, "0"));
  const LoadedProject loaded = Load(bytes);
  EXPECT_EQ(loaded.project.AlbumCount(), 0);
  EXPECT_EQ(loaded.project.SelectedAlbum(), -1);
}

// Saved to disk and read back: the same albums, pictures and comments, and the bytes
// use single-byte text unless a character needs UTF-8.
TEST(ProjectFile, RoundTripsThroughDisk) {
  struct Case {
    const char* name;
    std::string text;           // used as title, comment and picture file name
    std::string expected_value;  // how the title's record value is written
  };
  const Case cases[] = {
      {"tilde", "a ~ b~~c", "a ~ b~~c"},
      {"empty comment", "", ""},
      {"Windows-1252", "Caf\xC3\xA9 \xE2\x82\xAC 1\xE2\x80\x93" "2", "Caf\xE9 \x80 1\x96" "2"},
      {"UTF-8 only", "Zdj\xC4\x99" "cie \xE5\x86\x99\xE7\x9C\x9F", "Zdj\xC4\x99" "cie \xE5\x86\x99\xE7\x9C\x9F"},
      {"looks like UTF-8 in Windows-1252", "\xC3\x83\xC2\xA9", "\xC3\x83\xC2\xA9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    Project project;
    project.AddAlbum(c.text.empty() ? "Album" : c.text);
    project.AddPicture("/photos/" + c.text + ".jpg");
    project.SetPictureComment(0, c.text);
    project.AddPicture("/photos/second.jpg");
    ProjectSettings settings;
    settings.PublishDirectory = "/web/" + c.text;
    const std::string path = testing::PathIn(folder, "round.qs1");
    ASSERT_EQ(SaveProjectFile(path, project, settings), std::nullopt);

    const std::string bytes = ReadBytes(path);
    if (!c.text.empty()) {
      EXPECT_NE(bytes.find(Rec(0x89, c.expected_value)), std::string::npos);
    }
    EXPECT_EQ(bytes.substr(0, 4), "\x80~QS");  // tag bytes stay single bytes

    auto result = ReadProjectFile(path, ProjectSettings());
    ASSERT_TRUE(std::holds_alternative<LoadedProject>(result));
    const LoadedProject& loaded = std::get<LoadedProject>(result);
    EXPECT_EQ(AlbumsOf(loaded.project), AlbumsOf(project));
    EXPECT_EQ(loaded.settings.PublishDirectory, settings.PublishDirectory);
    EXPECT_EQ(loaded.project.ProjectPath, path);
  }
}

TEST(ProjectFile, HeaderValuesAcceptedAndRefused) {
  struct Case {
    std::string version;
    std::string encoding;
    std::optional<ProjectFileProblem> problem;
  };
  const Case cases[] = {
      {"1.0", "0", std::nullopt},
      {"0.9", "0", std::nullopt},
      {"1", "0", std::nullopt},
      {"", "0", std::nullopt},
      {"1.0", "-1", std::nullopt},
      {"1.0", " -0 ", std::nullopt},
      {"1.1", "0", ProjectFileProblem::kHigherVersion},
      {"1.00", "0", ProjectFileProblem::kHigherVersion},
      {"2", "0", ProjectFileProblem::kHigherVersion},
      {"10", "0", ProjectFileProblem::kHigherVersion},
      {"1.0", "1", ProjectFileProblem::kBadEncodingType},
      {"1.0", " +2", ProjectFileProblem::kBadEncodingType},
      {"1.0", "a", ProjectFileProblem::kCorrupted},
      {"1.0", "0x0", ProjectFileProblem::kCorrupted},
      {"1.0", "", ProjectFileProblem::kCorrupted},
      {"1.0", "-40000", ProjectFileProblem::kCorrupted},  // not a 16-bit type
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("version '" + c.version + "', encoding '" + c.encoding + "'");
    EXPECT_EQ(ProblemOf(Rec(0x80, "QS") + Rec(0x81, c.version) + Rec(0x82, c.encoding) + Rec(0x87, "0")),
              c.problem);
  }
}

TEST(ProjectFile, ToleratedBodyIrregularities) {
  const std::string body =
      "\r\n" + Rec(0x8F, "unknown tag") + "no tag at all\r\n" + Rec(0x85, "HTML") + Rec(0x86, "elsewhere") +
      Rec(0x87, "5") + "\r\n" + Rec(0x89, "First") + Rec(0x8A, "7") +
      Rec(0x8B, "/photos//2024///a.jpg") + "\r\n\r\n" + Rec(0x8C, "x~y") + std::string("\x86") + "\r\n" +
      Rec(0x88, "not a number") + Rec(0x89, "Second");
  ProjectSettings current;
  current.ViewerType = "Other";
  const LoadedProject loaded = Load(Header() + body, current);
  ASSERT_EQ(loaded.project.AlbumCount(), 2);  // the album count record says 5
  EXPECT_EQ(loaded.project.AlbumTitles(0), "First");
  EXPECT_EQ(loaded.project.AlbumTitles(1), "Second");
  ASSERT_EQ(loaded.project.AlbumPictures(0).Count(), 1);
  EXPECT_EQ(loaded.project.AlbumPictures(0).At(0), (Picture{"/photos/2024//a.jpg", "x~y"}));
  EXPECT_EQ(loaded.settings.ViewerType, "Java");
}

TEST(ProjectFile, OtherLineEndsAndEncodings) {
  // LF-only line ends, and a file whose values are Windows-1252 bytes.
  std::string lf = Header() + Rec(0x89, "Caf\xE9") + Rec(0x8B, "a.jpg") + Rec(0x8C, "\x80 5");
  for (std::size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) lf.erase(at, 1);
  const LoadedProject loaded = Load(lf);
  ASSERT_EQ(loaded.project.AlbumCount(), 1);
  EXPECT_EQ(loaded.project.AlbumTitles(0), "Caf\xC3\xA9");
  EXPECT_EQ(loaded.project.AlbumPictures(0).At(0).comment, "\xE2\x82\xAC 5");
}

TEST(ProjectFile, CommentAfterAnAlbumChangeGoesToTheCurrentAlbum) {
  const LoadedProject loaded =
      Load(Header() + Rec(0x89, "A") + Rec(0x8B, "p.jpg") + Rec(0x8B, "q.jpg") + Rec(0x89, "B") +
           Rec(0x8B, "r.jpg") + Rec(0x89, "C") + Rec(0x8C, "late"));
  ASSERT_EQ(loaded.project.AlbumCount(), 3);
  EXPECT_EQ(loaded.project.AlbumPictures(2).At(0), (Picture{"r.jpg", "late"}));
  EXPECT_EQ(loaded.project.AlbumPictures(1).At(0).comment, "");
}

TEST(ProjectFile, SaveFailureIsReported) {
  TempFolder folder;
  testing::WriteBytes(testing::PathIn(folder, "plain"), "x");
  const std::string path = testing::PathIn(folder, "plain") + "/project.qs1";  // its folder is a file
  const auto reason = SaveProjectFile(path, ExampleProject(), ExampleSettings());
  ASSERT_TRUE(reason.has_value());
  EXPECT_FALSE(reason->empty());
}

// Random damage to a valid file: every variant is either refused with one of the
// reader's messages or loads into a consistent project; none may crash or hang.
TEST(ProjectFile, DamagedFilesAreRefusedOrLoadCleanly) {
  const std::string valid = ProjectFileBytes(ExampleProject(), ExampleSettings()) +
                            Rec(0x89, "Caf\xE9") + Rec(0x8B, "C:\\\\x.jpg") + Rec(0x8C, "c");
  std::mt19937 random(20260512);
  int loads = 0;
  int refusals = 0;
  const auto check = [&](const std::string& bytes) {
    const auto result = ReadProjectBytes(bytes, "fuzz.qs1", ProjectSettings());
    if (const auto* loaded = std::get_if<LoadedProject>(&result)) {
      ++loads;
      const Project& project = loaded->project;
      EXPECT_EQ(project.SelectedAlbum(), project.AlbumCount() > 0 ? 0 : -1);
      EXPECT_FALSE(project.Modified);
      // Whatever the bytes, the texts in memory are UTF-8.
      EXPECT_TRUE(IsValidUtf8(loaded->settings.PublishDirectory));
      for (int i = 0; i < project.AlbumCount(); ++i) {
        EXPECT_TRUE(IsValidUtf8(project.AlbumTitles(i)));
        for (const Picture& picture : project.AlbumPictures(i)) {
          EXPECT_TRUE(IsValidUtf8(picture.path) && IsValidUtf8(picture.comment));
        }
      }
    } else {
      ++refusals;
      const auto& refusal = std::get<ProjectFileRefusal>(result);
      EXPECT_EQ(refusal.message, ProjectFileMessage(refusal.problem));
    }
  };
  for (std::size_t cut = 0; cut <= valid.size(); ++cut) check(valid.substr(0, cut));
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 4000; ++round) {
    std::string bytes = valid;
    const int edits = 1 + round % 8;
    for (int e = 0; e < edits; ++e) {
      std::uniform_int_distribution<std::size_t> where(0, bytes.size());
      const std::size_t at = where(random);
      switch (random() % 4) {
        case 0: if (at < bytes.size()) bytes[at] = static_cast<char>(byte(random)); break;
        case 1: bytes.insert(at, 1, static_cast<char>(0x80 + random() % 13)); break;
        case 2: if (at < bytes.size()) bytes.erase(at, 1 + random() % 12); break;
        default: bytes.insert(at, "\r\n~"); break;
      }
    }
    check(bytes);
  }
  // The damage is varied enough to reach both outcomes often.
  EXPECT_GT(loads, 1000);
  EXPECT_GT(refusals, 1000);
}

}  // namespace
}  // namespace quorvale
