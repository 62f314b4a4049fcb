#include "projectfile/folder_import.h"
#include "projectfile/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/path.h"
#include "support/temp_folder.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

// A file that begins as a JPEG does: the import judges a picture by its first bytes.
void Touch(const fs::path& path) { std::ofstream(path) << "\xFF\xD8\xFF"; }

std::vector<std::string> PictureNames(const Project& project, int album) {
  std::vector<std::string> names;
  for (const Picture& picture : project.AlbumPictures(album)) names.push_back(PathText(NativePath(picture.path).filename()));
  return names;
}

TEST(FolderImport, NaturalCaseInsensitiveOrder) {
  const std::vector<std::string> sorted = {"img1.jpg", "img2.jpg", "Img3.jpg", "img10.jpg", "img010b.jpg", "zebra.gif"};
  for (std::size_t i = 0; i + 1 < sorted.size(); ++i) {
    EXPECT_TRUE(NaturalLess(sorted[i], sorted[i + 1])) << sorted[i] << " before " << sorted[i + 1];
    EXPECT_FALSE(NaturalLess(sorted[i + 1], sorted[i])) << sorted[i + 1] << " after " << sorted[i];
  }
}

TEST(FolderImport, OneAlbumPerFolderWithItsPicturesInNaturalOrder) {
  testing::TempFolder temp;
#ifdef _WIN32
  // Windows drops the trailing blanks of a name it creates; the leading ones stay.
  const fs::path lake = temp.path() / "  Lake trip";
#else
  const fs::path lake = temp.path() / "  Lake trip  ";
#endif
  const fs::path snow = temp.path() / "Snow";
  fs::create_directories(lake / "sub");
  fs::create_directories(snow);
  for (const char* name : {"img10.JPG", "Img3.jpeg", "img2.gif", "notes.txt", "raw.png"}) Touch(lake / name);
  Touch(lake / "sub" / "deep.jpg");
  Touch(snow / "a.Gif");
  std::ofstream(lake / "text.HEIC") << "not a picture";

  const FolderImport result = ImportFolders({snow.string(), lake.string() + "/"});

  EXPECT_TRUE(result.errors.empty());
  EXPECT_EQ(result.warnings, (std::vector<std::string>{"Album \"Lake trip\": file \"text.HEIC\" left out; it is not "
                                                       "a JPEG, GIF, HEIC, AVIF, WebP, PNG or TIFF picture."}));
  ASSERT_EQ(result.project.AlbumCount(), 2) << ::testing::PrintToString(result.errors);
  EXPECT_EQ(result.project.AlbumTitles(0), "Snow");
  EXPECT_EQ(result.project.AlbumTitles(1), "Lake trip");
  EXPECT_EQ(PictureNames(result.project, 1), (std::vector<std::string>{"img2.gif", "Img3.jpeg", "img10.JPG", "raw.png"}));
  EXPECT_EQ(result.project.AlbumPictures(1).At(0).path, (lake / "img2.gif").string());
  EXPECT_EQ(result.project.SelectedAlbum(), 0);
}

TEST(FolderImport, AnAlbumStopsAtTheLimitWithAWarning) {
  testing::TempFolder temp;
  const fs::path big = temp.path() / "Big";
  fs::create_directories(big);
  for (int i = 1; i <= 120; ++i) Touch(big / ("p" + std::to_string(i) + ".jpg"));

  const FolderImport result = ImportFolders({big.string()});

  ASSERT_EQ(result.project.AlbumCount(), 1);
  EXPECT_EQ(result.project.AlbumPictures(0).Count(), 100);
  EXPECT_EQ(PictureNames(result.project, 0).back(), "p100.jpg");
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_EQ(result.warnings[0], "Album \"Big\": 20 of 120 pictures left out; an album holds at most 100 pictures.");
}

#ifndef _WIN32
// A picture whose name a project file cannot hold unchanged is left out and named; the
// rest of its folder is imported and the project reads back as it was made. (File names
// are bytes on POSIX only; Windows keeps them in UTF-16 and without line breaks.)
TEST(FolderImport, UnstorableNamesAreLeftOutAndNamed) {
  testing::TempFolder temp;
  const fs::path trip = temp.path() / "Trip";
  fs::create_directories(trip);
  for (const char* name : {"ok.jpg", "caf\xE9.jpg", "two\nlines.jpg", "\xE2\x82\xAC euro.gif"}) Touch(trip / name);

  const FolderImport result = ImportFolders({trip.string()});

  EXPECT_TRUE(result.errors.empty());
  EXPECT_EQ(PictureNames(result.project, 0), (std::vector<std::string>{"\xE2\x82\xAC euro.gif", "ok.jpg"}));
  EXPECT_EQ(result.warnings, (std::vector<std::string>{
                                 "Album \"Trip\": picture \"caf\\xE9.jpg\" left out; its file name is not valid UTF-8.",
                                 "Album \"Trip\": picture \"two\\nlines.jpg\" left out; its file name holds a line break.",
                             }));
  const std::string bytes = ProjectFileBytes(result.project, ProjectSettings());
  const auto reread = ReadProjectBytes(bytes, "trip.qs1", ProjectSettings());
  ASSERT_TRUE(std::holds_alternative<LoadedProject>(reread));
  EXPECT_EQ(std::get<LoadedProject>(reread).project.AlbumPictures(0), result.project.AlbumPictures(0));
}
#endif

TEST(FolderImport, FoldersThatCannotBecomeAlbumsAreErrors) {
  testing::TempFolder temp;
  fs::create_directories(temp.path() / "Empty");
  Touch(temp.path() / "Empty" / "readme.txt");
  const std::string missing = (temp.path() / "Missing").string();
  const std::string empty = (temp.path() / "Empty").string();

  const FolderImport result = ImportFolders({missing, empty});

  EXPECT_EQ(result.errors, (std::vector<std::string>{
                               "The folder \"" + missing + "\" does not exist.",
                               "The folder \"" + empty + "\" holds no picture.",
                           }));
}

TEST(FolderImport, LongAndNonAsciiFolderNamesMakeValidTitles) {
  testing::TempFolder temp;
  const std::string long_name(250, 'x');
  const std::string polish = "Wycieczka nad jezioro \xC5\x81\xC3\xB3\xC4\x87";  // Łóć
  std::vector<std::string> folders;
  for (const std::string& name : {long_name, polish}) {
    // Made through the platform's own calls, which reach past the classic path limit
    // on Windows.
    folders.push_back(JoinPath(PathText(temp.path()), name));
    ASSERT_EQ(CreateFolderBelow("", folders.back()), std::nullopt);
    ASSERT_EQ(WriteWholeFile(JoinPath(folders.back(), "a.jpg"), "\xFF\xD8\xFF"), std::nullopt);
  }
  const FolderImport result = ImportFolders(folders);

  ASSERT_EQ(result.project.AlbumCount(), 2) << ::testing::PrintToString(result.errors);
  EXPECT_EQ(result.project.AlbumTitles(0), std::string(200, 'x'));
  EXPECT_EQ(result.project.AlbumTitles(1), polish);

  // What import makes loads back unchanged, the Polish title included.
  const ProjectSettings settings;
  const auto reread = ReadProjectBytes(ProjectFileBytes(result.project, settings), "x.qs1", settings);
  const auto* loaded = std::get_if<LoadedProject>(&reread);
  ASSERT_NE(loaded, nullptr);
  ASSERT_EQ(loaded->project.AlbumCount(), 2);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(loaded->project.AlbumAt(i), result.project.AlbumAt(i));
}

}  // namespace
}  // namespace quorvale
