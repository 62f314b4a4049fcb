#include "projectfile/project_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <filesystem>
#include <random>
#include <regex>
#include <variant>

#include "core/projectfile/project_file_fixtures.h"
#include "platform/text_codec.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quorvale {
namespace {

using testing::ExampleFileBytes;
using testing::Header;
using testing::Rec;

// A project's albums as lines: each title, then " path = comment" for its pictures.
std::vector<std::string> Lines(const Project& project) {
  std::vector<std::string> lines;
  for (int i = 0; i < project.AlbumCount(); ++i) {
    lines.push_back(project.AlbumTitles(i));
    for (const Picture& p : project.AlbumPictures(i)) lines.push_back(" " + p.path + " = " + p.comment);
  }
  return lines;
}

LoadedProject Load(const std::string& bytes, const ProjectSettings& current = ProjectSettings()) {
  auto result = ReadProjectBytes(bytes, "test.qs1", current);
  if (auto* refusal = std::get_if<ProjectFileRefusal>(&result)) {
    ADD_FAILURE() << "refused: " << refusal->message.text;
    return {};
  }
  return std::get<LoadedProject>(std::move(result));
}

// The documented example file is read, and what was read is written back byte for byte.
TEST(ProjectFile, GoldenFilesBothWays) {
  ProjectSettings current;
  current.ApplicationSourceDirectory = "/opt/quorvale/Applications/Torvexa";
  current.PublishPictures = 0;
  LoadedProject loaded = Load(ExampleFileBytes(), current);
  EXPECT_EQ(Lines(loaded.project),
            (std::vector<std::string>{"Lake trip ~ June", " C:\\Photos\\Lake\\boat.jpg = Morning on the water",
                                      " C:\\Photos\\Lake\\cabin.jpg = ", "Garden"}));
  EXPECT_EQ(loaded.settings.PublishDirectory, "D:\\Web\\Family");
  EXPECT_EQ(loaded.settings.PublishPictures, 1);
  EXPECT_EQ(loaded.settings.ViewerType, ViewerId::kTorvexa);
  // The source folder record is not read: the program's own folder stays, and is written.
  EXPECT_EQ(loaded.settings.ApplicationSourceDirectory, "/opt/quorvale/Applications/Torvexa");
  loaded.settings.ApplicationSourceDirectory = "C:\\Tools\\Albums\\Applications\\Torvexa";
  EXPECT_EQ(ProjectFileBytes(loaded.project, loaded.settings), ExampleFileBytes());

  // An empty project is eight lines.
  ProjectSettings settings;
  settings.ApplicationSourceDirectory = "src";
  const std::string empty = ProjectFileBytes(Project(), settings);
  EXPECT_EQ(empty, Header() + Rec(0x83, "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>") + Rec(0x84, "1") +
                       Rec(0x85, "JAVA") + Rec(0x86, "src") + Rec(0x87, "0"));
  EXPECT_EQ(Load(empty).project.AlbumCount(), 0);
}

// "Keep location data in published pictures" is one record after 0x86, written only
// when on (and so is the upload address after it): a project that leaves it off is the same file as before the setting
// existed, and such a file (or an older one) loads with it off.
TEST(ProjectFile, KeepLocationIsStoredOnlyWhenOn) {
  ProjectSettings current;
  current.ApplicationSourceDirectory = "C:\\Tools\\Albums\\Applications\\Torvexa";
  current.KeepLocation = true;
  LoadedProject loaded = Load(ExampleFileBytes(), current);
  EXPECT_FALSE(loaded.settings.KeepLocation);
  loaded.settings.ApplicationSourceDirectory = current.ApplicationSourceDirectory;
  EXPECT_EQ(ProjectFileBytes(loaded.project, loaded.settings), ExampleFileBytes());

  loaded.settings.KeepLocation = true;
  const std::string on = ProjectFileBytes(loaded.project, loaded.settings);
  const std::string source_record = Rec(0x86, current.ApplicationSourceDirectory);
  std::string expected = ExampleFileBytes();
  expected.insert(expected.find(source_record) + source_record.size(), Rec(0x8D, "1"));
  EXPECT_EQ(on, expected);
  LoadedProject reloaded = Load(on);
  EXPECT_TRUE(reloaded.settings.KeepLocation);
  EXPECT_EQ(Lines(reloaded.project), Lines(loaded.project));
  // The upload address follows, also only when set.
  loaded.settings.UploadAddress = "sftp://anna@example.org/~/www";
  expected.insert(expected.find(Rec(0x8D, "1")) + Rec(0x8D, "1").size(), Rec(0x90, "sftp://anna@example.org/~/www"));
  EXPECT_EQ(ProjectFileBytes(loaded.project, loaded.settings), expected);
  EXPECT_EQ(Load(expected).settings.UploadAddress, "sftp://anna@example.org/~/www");

  EXPECT_FALSE(Load(Header() + Rec(0x8D, "0"), current).settings.KeepLocation);
  for (const std::string& bad : {Rec(0x8D, "2"), Rec(0x8D, "yes"), std::string("\x8D\r\n")}) {
    const auto result = ReadProjectBytes(Header() + bad, "test.qs1", ProjectSettings());
    EXPECT_TRUE(std::holds_alternative<ProjectFileRefusal>(result)) << ::testing::PrintToString(bad);
  }
}

// The HTML site's title and language are records 0x8E and 0x8F after 0x86, each written
// only when set, so a project that sets neither is the file it always was; a file
// without them loads with both unset, whatever the project open before had.
TEST(ProjectFile, SiteTitleAndLanguageAreStoredOnlyWhenSet) {
  struct Case {
    std::string title;
    std::string language;
    std::string records;
  };
  const Case cases[] = {
      {"", "", ""},
      {"Ann's trips", "", Rec(0x8E, "Ann's trips")},
      {"", "pl", Rec(0x8F, "pl")},
      {"Wycieczki", "pl", Rec(0x8E, "Wycieczki") + Rec(0x8F, "pl")},
  };
  ProjectSettings current;
  current.ApplicationSourceDirectory = "C:\\Tools\\Albums\\Applications\\Torvexa";
  current.SiteTitle = "Left over";
  current.SiteLanguage = "de";
  for (const Case& c : cases) {
    LoadedProject loaded = Load(ExampleFileBytes(), current);
    EXPECT_EQ(loaded.settings.SiteTitle, "");
    EXPECT_EQ(loaded.settings.SiteLanguage, "");
    loaded.settings.SiteTitle = c.title;
    loaded.settings.SiteLanguage = c.language;
    const std::string bytes = ProjectFileBytes(loaded.project, loaded.settings);
    const std::string source_record = Rec(0x86, current.ApplicationSourceDirectory);
    std::string expected = ExampleFileBytes();
    expected.insert(expected.find(source_record) + source_record.size(), c.records);
    EXPECT_EQ(bytes, expected) << c.title << c.language;
    const LoadedProject reloaded = Load(bytes, current);
    EXPECT_EQ(reloaded.settings.SiteTitle, c.title);
    EXPECT_EQ(reloaded.settings.SiteLanguage, c.language);
  }
}

// Saved to disk and read back: the same albums, pictures and comments, and the bytes
// use single-byte text unless a character needs UTF-8.
TEST(ProjectFile, RoundTripsThroughDisk) {
  struct Case {
    const char* name;
    std::string text;            // used as title, comment and picture file name
    std::string expected_value;  // how the title's record value is written
    std::string file_name = "round.qs1";
  };
  const Case cases[] = {
      {"tilde, in a file name as long as the system allows", "a ~ b~~c", "a ~ b~~c", std::string(251, 'p') + ".qs1"},
      {"empty comment", "", ""},
      {"Windows-1252", "Caf\xC3\xA9 \xE2\x82\xAC 1\xE2\x80\x93" "2", "Caf\xE9 \x80 1\x96" "2"},
      {"UTF-8 only", "Zdj\xC4\x99" "cie \xE5\x86\x99\xE7\x9C\x9F", "Zdj\xC4\x99" "cie \xE5\x86\x99\xE7\x9C\x9F"},
      {"looks like UTF-8 in Windows-1252", "\xC3\x83\xC2\xA9", "\xC3\x83\xC2\xA9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    Project project;
    project.AddAlbum(c.text.empty() ? "Album" : c.text);
    project.AddPicture("/photos/" + c.text + ".jpg");
    project.SetPictureComment(0, c.text);
    project.AddPicture("/photos/second.jpg");
    ProjectSettings settings;
    settings.PublishDirectory = "/web/" + c.text;
    const std::string path = testing::PathIn(folder, c.file_name);
    ASSERT_EQ(SaveProjectFile(path, project, settings), std::nullopt);

    const std::string bytes = testing::ReadBytes(path);
    if (!c.text.empty()) {
      EXPECT_NE(bytes.find(Rec(0x89, c.expected_value)), std::string::npos);
    }
    EXPECT_EQ(bytes.substr(0, 4), "\x80~QS");  // tag bytes stay single bytes

    auto result = ReadProjectFile(path, ProjectSettings());
    ASSERT_TRUE(std::holds_alternative<LoadedProject>(result));
    EXPECT_EQ(Lines(std::get<LoadedProject>(result).project), Lines(project));
    EXPECT_EQ(std::get<LoadedProject>(result).settings.PublishDirectory, settings.PublishDirectory);
  }
}

#ifndef _WIN32
// Saving over a project keeps the file's permission bits; a new file gets the usual
// ones (read and write for all, less the umask).
TEST(ProjectFile, SavingKeepsPermissionBits) {
  namespace fs = std::filesystem;
  testing::TempFolder folder;
  const std::string path = testing::PathIn(folder, "shared.qs1");
  const mode_t umask_now = ::umask(0);
  ::umask(umask_now);
  ASSERT_EQ(SaveProjectFile(path, Project(), ProjectSettings()), std::nullopt);
  EXPECT_EQ(static_cast<mode_t>(fs::status(path).permissions()), 0666 & ~umask_now);
  for (const fs::perms mode : {fs::perms(0640), fs::perms(0604), fs::perms(0664)}) {
    fs::permissions(path, mode);
    ASSERT_EQ(SaveProjectFile(path, Project(), ProjectSettings()), std::nullopt);
    EXPECT_EQ(fs::status(path).permissions(), mode);
  }
}
#endif

// The header lines and body records that make the reader refuse a file, grouped by
// the problem found (Open's test checks the message of each problem).
TEST(ProjectFile, HeadersAndRecordsAcceptedAndRefused) {
  using enum ProjectFileProblem;
  const auto head = [](const std::string& version, const std::string& encoding, const char* magic = "QS") {
    return Rec(0x80, magic) + Rec(0x81, version) + Rec(0x82, encoding);
  };
  const std::string v = Rec(0x80, "QS") + Rec(0x81, "1.0");
  const std::pair<std::optional<ProjectFileProblem>, std::vector<std::string>> cases[] = {
      {std::nullopt, {head("1.0", "0"), head("0.9", "0"), head("1", "0"), head("", "0"), head("1.0", "-1"),
                      head("1.0", " -0 "), Header() + Rec(0x84, "0"), Header() + Rec(0x84, "1")}},
      {kHigherVersion, {head("1.1", "0"), head("1.00", "0"), head("2", "0"), head("10", "0")}},
      {kBadEncodingType, {head("1.0", "1"), head("1.0", " +2")}},
      {kNotAProjectFile, {head("1.0", "0", "qs"), head("1.0", "0", "QS "),
                          "QS\r\n" + Rec(0x81, "1.0") + Rec(0x82, "0")}},
      {kBadVersionRecord, {Rec(0x80, "QS") + "\x81" "1.0\r\n" + Rec(0x82, "0")}},
      {kBadEncodingRecord, {v + Rec(0x83, "0")}},
      {kCorrupted,
       {head("1.0", "a"), head("1.0", "0x0"), head("1.0", ""), head("1.0", "-40000") /* not 16-bit */, "",
        "\r\n" + Header(), v, Header() + Rec(0x87, "two"), Header() + Rec(0x84, "2"), Header() + "\x89\r\n",
        Header() + Rec(0x8B, "a.jpg"), Header() + Rec(0x8C, "c"), Header() + Rec(0x89, "A") + Rec(0x8C, "c")}},
  };
  for (const auto& [problem, files] : cases) {
    for (const std::string& bytes : files) {
      const auto result = ReadProjectBytes(bytes, "test.qs1", ProjectSettings());
      const auto* refusal = std::get_if<ProjectFileRefusal>(&result);
      EXPECT_EQ(refusal ? std::optional(refusal->problem) : std::nullopt, problem) << ::testing::PrintToString(bytes);
    }
  }
}

// Blank lines, lines without a tag, unknown tags and an album count that disagrees
// are passed over; doubled separators collapse; values in Windows-1252 are read as
// such; a comment after an album change goes to the current album. Both line ends.
TEST(ProjectFile, ToleratedBodyIrregularities) {
  const std::string crlf =
      Header() + "\r\n" + Rec(0x8F, "unknown tag") + "no tag at all\r\n" + Rec(0x85, "APPLET") +
      Rec(0x86, "elsewhere") + Rec(0x87, "5") + "\r\n" + Rec(0x89, "Caf\xE9") + Rec(0x8A, "7") +
      Rec(0x8B, "/photos//2024///a.jpg") + "\r\n\r\n" + Rec(0x8C, "x~\x80") + "\x86\r\n" +
      Rec(0x88, "not a number") + Rec(0x89, "Second") + Rec(0x8B, "r.jpg") + Rec(0x89, "Third") + Rec(0x8C, "late");
  std::string lf = crlf;
  for (std::size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) lf.erase(at, 1);
  for (const std::string& bytes : {crlf, lf}) {
    SCOPED_TRACE(&bytes == &crlf ? "CR LF" : "LF");
    ProjectSettings current;
    current.ViewerType = ViewerId::kHtml;
    const LoadedProject loaded = Load(bytes, current);
    EXPECT_EQ(Lines(loaded.project), (std::vector<std::string>{"Caf\xC3\xA9", " /photos/2024//a.jpg = x~\xE2\x82\xAC",
                                                               "Second", " r.jpg = ", "Third", " r.jpg = late"}));
    EXPECT_EQ(loaded.settings.ViewerType, ViewerId::kTorvexa);
  }
}

// A path named again between new ones (a crafted or hand-edited file) loads in the order
// the editing operations give it: the repeated picture keeps its place and the next
// new one goes right after it. However often it happens, the load takes linear time.
TEST(ProjectFile, RepeatedPathsLoadInEditingOrderAndLinearTime) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 50; ++round) {
    std::string bytes = Header();
    Project expected;
    for (int album = 0; album < 3; ++album) {
      bytes += Rec(0x89, "A" + std::to_string(album));
      expected.AddAlbum("A" + std::to_string(album));
      for (int i = 0; i < 30; ++i) {
        const std::string path = "/p/" + std::to_string(random() % 12) + ".jpg";
        // Every other path has no comment record: named again, a path loses its comment.
        const std::string comment = i % 2 == 0 ? "c" + std::to_string(i) : "";
        bytes += Rec(0x8B, path) + (comment.empty() ? "" : Rec(0x8C, comment));
        expected.AddPicture(path);
        expected.SetPictureComment(expected.SelectedPicture(), comment);
      }
    }
    ASSERT_EQ(Lines(Load(bytes).project), Lines(expected)) << "round " << round;
  }

  std::string bytes = Header() + Rec(0x89, "Crafted");
  for (int i = 0; i < 20'000; ++i) bytes += Rec(0x8B, "/p/" + std::to_string(i) + ".jpg") + Rec(0x8B, "/p/0.jpg");
  const auto start = std::chrono::steady_clock::now();
  const LoadedProject loaded = Load(bytes);
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(loaded.project.AlbumPictures(0).Count(), 20'000);
  // Each new picture went right after the first, so they stand newest first.
  EXPECT_EQ(loaded.project.AlbumPictures(0).At(1).path, "/p/19999.jpg");
  EXPECT_EQ(loaded.project.AlbumPictures(0).At(19'999).path, "/p/1.jpg");
#ifdef __SANITIZE_ADDRESS__
  constexpr auto kLimit = std::chrono::seconds(5);  // the sanitizers make every allocation slow
#else
  constexpr auto kLimit = std::chrono::seconds(1);
#endif
  EXPECT_LT(took, kLimit);
}

// The viewer-type record: "HTML" in any letter case is the HTML viewer, anything else
// the Torvexa applet, as earlier releases read every value; each is written back as
// "HTML" or "JAVA".
TEST(ProjectFile, ViewerTypeRecord) {
  constexpr ViewerId kHtml = ViewerId::kHtml;
  constexpr ViewerId kTorvexa = ViewerId::kTorvexa;
  const std::pair<std::string, ViewerId> cases[] = {
      {"HTML", kHtml}, {"html", kHtml},     {"Html", kHtml},      {"JAVA", kTorvexa},
      {"", kTorvexa},  {"HTML5", kTorvexa}, {" HTML", kTorvexa}, {"java", kTorvexa},
  };
  for (const auto& [value, viewer] : cases) {
    ProjectSettings current;
    current.ViewerType = viewer == kHtml ? kTorvexa : kHtml;  // the file decides, whatever was there
    LoadedProject loaded = Load(Header() + Rec(0x85, value), current);
    EXPECT_EQ(loaded.settings.ViewerType, viewer) << value;
    const std::string written = ProjectFileBytes(loaded.project, loaded.settings);
    EXPECT_NE(written.find(Rec(0x85, viewer == kHtml ? "HTML" : "JAVA")), std::string::npos) << value;
  }
}

// What a file reads as, a refusal as its problem: the same whether it was read whole
// or in two parts.
std::string ReadAs(const std::string& bytes, std::size_t two_parts_from) {
  const auto result = ReadProjectBytes(bytes, "test.qs1", ProjectSettings(), two_parts_from);
  if (const auto* refusal = std::get_if<ProjectFileRefusal>(&result)) {
    return "refused " + std::to_string(static_cast<int>(refusal->problem));
  }
  const LoadedProject& loaded = std::get<LoadedProject>(result);
  std::string text = loaded.settings.PublishDirectory + "|" + std::to_string(loaded.settings.PublishPictures) + "|" +
                     (loaded.settings.ViewerType == ViewerId::kHtml ? "HTML" : "JAVA") + "|" +
                     loaded.settings.SiteTitle + "\n";
  for (const std::string& line : Lines(loaded.project)) text += line + "\n";
  return text;
}

// A large file is read in two parts, cut where an album begins; it reads as the file
// read whole: a comment right after an album's title, a settings record or a byte
// that is not UTF-8 in the later part, a damaged record in either.
TEST(ProjectFile, AFileReadInTwoPartsReadsAsWhole) {
  const auto albums = [](int from, int to) {
    std::string bytes;
    for (int a = from; a < to; ++a) {
      bytes += Rec(0x89, "Album " + std::to_string(a) + " \xC3\xA9");
      for (int p = 0; p < 4; ++p) bytes += Rec(0x8B, "/p/" + std::to_string(p) + ".jpg") + Rec(0x8C, "c" + std::to_string(a));
    }
    return bytes;
  };
  const std::string first = Header() + Rec(0x83, "/site") + albums(0, 20);
  const std::string later = albums(20, 40);
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"albums and pictures", first + later},
      {"a comment after each later title", first + std::regex_replace(later, std::regex("(\x89~[^\r]*\r\n)"), "$1" + Rec(0x8C, "orphan"))},
      {"a settings record later", first + later + Rec(0x83, "/later") + Rec(0x85, "HTML")},
      {"a byte not UTF-8 later", first + later + Rec(0x89, "Caf\xE9")},
      {"a damaged record later", first + later + "\x8C\r\n"},
      {"a damaged record earlier", Header() + "\x8B\r\n" + first.substr(Header().size()) + later},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadAs(c.bytes, 0), ReadAs(c.bytes, std::numeric_limits<std::size_t>::max())) << c.what;
  }
}

// Random damage to a valid file: every variant is either refused with one of the
// reader's messages or loads into a consistent project; none may crash or hang. Read in
// two parts, each reads as it does whole.
TEST(ProjectFile, DamagedFilesAreRefusedOrLoadCleanly) {
  const std::string valid = ExampleFileBytes() + Rec(0x89, "Caf\xE9") + Rec(0x8B, "C:\\\\x.jpg") + Rec(0x8C, "c");
  std::mt19937 random(20260512);
  int loads = 0, refusals = 0;
  const auto check = [&](const std::string& bytes) {
    EXPECT_EQ(ReadAs(bytes, 0), ReadAs(bytes, std::numeric_limits<std::size_t>::max()));
    const auto result = ReadProjectBytes(bytes, "fuzz.qs1", ProjectSettings());
    if (const auto* loaded = std::get_if<LoadedProject>(&result)) {
      ++loads;
      EXPECT_EQ(loaded->project.SelectedAlbum(), loaded->project.AlbumCount() > 0 ? 0 : -1);
      // Whatever the bytes, the texts in memory are UTF-8.
      EXPECT_TRUE(IsValidUtf8(loaded->settings.PublishDirectory));
      for (const std::string& line : Lines(loaded->project)) EXPECT_TRUE(IsValidUtf8(line));
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
    for (int e = 0; e <= round % 8; ++e) {
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size())(random);
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
