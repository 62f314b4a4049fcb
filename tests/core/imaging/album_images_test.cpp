// The incremental, parallel making of an album's images, with a fake imaging port that
// counts what it is asked to open.
#include "imaging/album_images.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <stop_token>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "imaging/imaging_record.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "support/fake_imaging.h"
#include "support/temp_folder.h"

namespace quorvale {
namespace {

namespace fs = std::filesystem;

class AlbumImagesTest : public ::testing::Test {
 protected:
  AlbumImagesTest() {
    fs::create_directories(folder_.path() / "src");
    fs::create_directories(folder_.path() / "PhotoAlbum");
  }

  // The path of `relative` (written with "/") in this system's spelling, as the run
  // builds its paths.
  std::string At(std::string relative) const {
    for (char& c : relative) c = c == '/' ? kPathSeparator : c;
    return JoinPath(folder_.str(), relative);
  }

  void AddSource(const std::string& name) {
    std::ofstream(At("src/" + name)) << "pixels of " << name;
    names_.push_back(name);
  }

  AlbumImagesJob Job() const {
    AlbumImagesJob job;
    job.root = folder_.str();
    job.record_path = At("PhotoAlbum/thumbnails/album-0.record");
    job.thumbnail_folder = At("PhotoAlbum/thumbnails/album-0");
    job.display_folder = At("PhotoAlbum/display/album-0");
    for (const std::string& name : names_) {
      job.pictures.push_back({At("src/" + name), At("PhotoAlbum/images/album-0/" + name),
                              JoinPath(job.thumbnail_folder, name), JoinPath(job.display_folder, name), {}});
    }
    job.settings = settings_;
    job.jobs = 2;
    return job;
  }

  AlbumImagesResult Run(std::stop_token stop = {}) {
    events_.clear();
    AlbumImagesEvents events;
    events.picture_done = [this](std::size_t i, const PictureImagesResult&) { events_.push_back(i); };
    return PrepareAlbumImages(Job(), imaging_, events, stop);
  }

  std::set<std::string> FilesIn(const std::string& relative) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(At(relative))) names.insert(entry.path().filename().string());
    return names;
  }

  testing::TempFolder folder_;
  testing::FakeImaging imaging_;
  ImagingSettings settings_;
  std::vector<std::string> names_;
  std::vector<std::size_t> events_;
};

TEST_F(AlbumImagesTest, OnlyChangedPicturesAreOpenedAgain) {
  for (const char* name : {"a.jpg", "b.jpg", "small.jpg", "c.gif"}) AddSource(name);
  const auto first = Run().pictures;
  EXPECT_EQ(imaging_.TakeOpened(), (std::set<std::string>{"a.jpg", "b.jpg", "small.jpg", "c.gif"}));
  EXPECT_EQ(events_, (std::vector<std::size_t>{0, 1, 2, 3}));
  // Every size of every display copy, but none for the picture whose original serves.
  std::set<std::string> displays;
  for (const char* name : {"a.jpg", "b.jpg", "c.gif"}) {
    for (const char* width : {"-1024.jpg", "-1600.jpg", "-2048.jpg"}) displays.insert(name + std::string(width));
  }
  EXPECT_EQ(FilesIn("PhotoAlbum/display/album-0"), displays);
  EXPECT_EQ(FilesIn("PhotoAlbum/thumbnails/album-0").size(), 4u * 3u * 2u);

  // An unchanged second run opens nothing and reports the same sizes, in album order.
  const auto second = Run().pictures;
  EXPECT_TRUE(imaging_.TakeOpened().empty());
  EXPECT_EQ(events_, (std::vector<std::size_t>{0, 1, 2, 3}));
  for (std::size_t i = 0; i < second.size(); ++i) {
    EXPECT_EQ(second[i].state, PictureImagesState::kUpToDate);
    EXPECT_EQ(second[i].sizes, first[i].sizes);
  }
  EXPECT_TRUE(second[2].sizes.display_is_original);

  // A source with a new time, one lost size of a display copy and one lost WebP
  // thumbnail: exactly those three are made again.
  fs::last_write_time(At("src/b.jpg"), fs::last_write_time(At("src/b.jpg")) + std::chrono::seconds(5));
  fs::remove(At("PhotoAlbum/display/album-0/c.gif-1600.jpg"));
  fs::remove(At("PhotoAlbum/thumbnails/album-0/small.jpg-256.webp"));
  Run();
  EXPECT_EQ(imaging_.TakeOpened(), (std::set<std::string>{"b.jpg", "c.gif", "small.jpg"}));
  // The record keeps them: the next run makes none.
  Run();
  EXPECT_TRUE(imaging_.TakeOpened().empty());

  // Any changed setting remakes every picture.
  settings_.keep_location = true;
  Run();
  EXPECT_EQ(imaging_.TakeOpened().size(), 4u);
  settings_.display_quality = 90;
  Run();
  EXPECT_EQ(imaging_.TakeOpened().size(), 4u);
  settings_.thumbnail_sides = {300, 600};
  Run();
  EXPECT_EQ(imaging_.TakeOpened().size(), 4u);
}

TEST_F(AlbumImagesTest, ADamagedOrMissingRecordOnlyMeansTheWorkIsDoneAgain) {
  AddSource("a.jpg");
  AddSource("b.jpg");
  Run();
  const std::string record = *ReadWholeFile(Job().record_path);
  for (const std::string& damaged : {record.substr(0, record.size() - 5), std::string("garbage\r\n"), std::string()}) {
    WriteWholeFile(Job().record_path, damaged);
    imaging_.TakeOpened();
    Run();
    EXPECT_EQ(imaging_.TakeOpened().size(), 2u);
  }
  fs::remove(Job().record_path);
  Run();
  EXPECT_EQ(imaging_.TakeOpened().size(), 2u);
  EXPECT_EQ(*ReadWholeFile(Job().record_path), record);
}

TEST_F(AlbumImagesTest, ImagesOfPicturesNoLongerInTheAlbumAndOfRefusedPicturesAreRemoved) {
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) AddSource(name);
  Run();
  std::ofstream(At("PhotoAlbum/thumbnails/album-0/left-over.jpg.part")) << "half";
  // Every picture up to date, one file more than their images.
  EXPECT_EQ(Run().unused, std::vector<std::string>{At("PhotoAlbum/thumbnails/album-0/left-over.jpg.part")});
  const std::set<std::string> thumbnails_of_a = {"a.jpg-256.jpg", "a.jpg-256.webp", "a.jpg-512.jpg",
                                                 "a.jpg-512.webp", "a.jpg-768.jpg", "a.jpg-768.webp"};
  // b leaves the album; c is replaced by a file the imaging refuses; a missing picture
  // keeps its place.
  names_ = {"a.jpg", "bad.jpg", "missing.jpg"};
  std::ofstream(At("src/bad.jpg")) << "text";
  const auto images = Run();
  const auto& results = images.pictures;
  // They stay until the pages that show them are replaced.
  EXPECT_EQ(FilesIn("PhotoAlbum/thumbnails/album-0").size(), 3u * 6u + 1u);
  RemoveUnusedAlbumImages(Job().root, images.unused);
  EXPECT_EQ(results[1].state, PictureImagesState::kFailed);
  EXPECT_EQ(results[1].reason, "not a picture");
  EXPECT_EQ(results[2].state, PictureImagesState::kMissing);
  EXPECT_EQ(FilesIn("PhotoAlbum/thumbnails/album-0"), thumbnails_of_a);
  EXPECT_EQ(FilesIn("PhotoAlbum/display/album-0"),
            (std::set<std::string>{"a.jpg-1024.jpg", "a.jpg-1600.jpg", "a.jpg-2048.jpg"}));
}

// A folder found holding the record's images alone is vouched for at its settled stamp,
// and while it keeps that stamp it is taken at the record's word, not listed; a folder
// changed since is listed again.
TEST_F(AlbumImagesTest, AFolderIsListedOnlyWhenItChangedSinceTheRecordVouchedForIt) {
#ifdef _WIN32
  GTEST_SKIP() << "folder times are not relied on on Windows";
#endif
  for (const char* name : {"a.jpg", "b.jpg"}) AddSource(name);
  Run();
  Run();
  const std::string record_path = At("PhotoAlbum/thumbnails/album-0.record");
  const std::string thumbnails = At("PhotoAlbum/thumbnails/album-0");
  const auto record = [&] { return ParseImagingRecord(ReadWholeFile(record_path).value()).value(); };
  EXPECT_EQ(record().thumbnail_folder, std::nullopt);  // found as recorded, but just written: not settled
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  Run();
  ASSERT_NE(record().thumbnail_folder, std::nullopt);
  EXPECT_EQ(record().thumbnail_folder, SettledFolderStampBelow(folder_.str(), thumbnails));
  EXPECT_EQ(record().display_folder, SettledFolderStampBelow(folder_.str(), At("PhotoAlbum/display/album-0")));
  // Taken at the record's word, unchanged folders stay vouched for.
  const ImagingRecord vouching = record();
  Run();
  EXPECT_EQ(record(), vouching);

  // The record names a picture whose images were never made, and a stray file turns up
  // among the display copies: the thumbnails' folder, unchanged, is believed to hold
  // the ghost's thumbnails; the display copies' folder is listed.
  ImagingRecord forged = record();
  RecordedPicture ghost = forged.pictures.at(0);
  ghost.thumbnail = JoinPath(thumbnails, "ghost.jpg");
  ghost.display = At("PhotoAlbum/display/album-0/ghost.jpg");
  forged.pictures.push_back(ghost);
  std::ofstream(record_path, std::ios::binary) << ImagingRecordBytes(forged);
  std::ofstream(At("PhotoAlbum/display/album-0/stray.jpg")) << "stray";
  std::set<std::string> expected{At("PhotoAlbum/display/album-0/stray.jpg")};
  for (const std::string& name : FilesIn("PhotoAlbum/thumbnails/album-0")) {
    if (name.starts_with("a.jpg-")) expected.insert(JoinPath(thumbnails, "ghost.jpg" + name.substr(5)));
  }
  imaging_.TakeOpened();
  const std::vector<std::string> unused = Run().unused;
  EXPECT_EQ(std::set<std::string>(unused.begin(), unused.end()), expected);
  EXPECT_TRUE(imaging_.TakeOpened().empty());  // the real pictures' images are found either way
  // Found holding other files than the record's images, neither is vouched for now.
  EXPECT_EQ(record().thumbnail_folder, std::nullopt);
}

TEST_F(AlbumImagesTest, AStopEndsTheWorkBetweenPicturesAndKeepsWhatWasFinished) {
  for (int i = 0; i < 6; ++i) AddSource("p" + std::to_string(i) + ".jpg");
  std::stop_source stop;
  imaging_.on_prepare = [&] { stop.request_stop(); };
  AlbumImagesJob job = Job();
  job.jobs = 1;
  const auto results = PrepareAlbumImages(job, imaging_, {}, stop.get_token()).pictures;
  EXPECT_EQ(imaging_.calls(), 1);
  EXPECT_EQ(results[0].state, PictureImagesState::kMade);
  for (std::size_t i = 1; i < results.size(); ++i) EXPECT_EQ(results[i].state, PictureImagesState::kStopped);

  // The next run makes only the rest.
  imaging_.on_prepare = nullptr;
  imaging_.TakeOpened();
  Run();
  EXPECT_EQ(imaging_.TakeOpened().size(), 5u);
}

// Small pictures get two workers a core; large ones one, so that no more decoded
// pictures are held than there are cores; `jobs` limits either, and no work needs none.
TEST(ImagingWorkerCount, TwoACoreOnlyForSmallPictures) {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const struct {
    int jobs;
    std::size_t pictures;
    std::uintmax_t largest;
    int workers;
  } cases[] = {{0, 0, 0, 0},
               {0, 1000, kSmallPictureBytes, 2 * cores},
               {0, 1000, kSmallPictureBytes + 1, cores},
               {0, 1, 10, 1},
               {1, 1000, 10, 1},
               {1000, 1000, 10, 2 * cores}};
  for (const auto& c : cases) {
    EXPECT_EQ(ImagingWorkerCount(c.jobs, c.pictures, c.largest), c.workers) << c.jobs << " " << c.pictures << " " << c.largest;
  }
}

TEST(RemoveImagesOfLaterAlbums, RemovesOnlyWhatAlbumsBeyondTheCountLeft) {
  testing::TempFolder folder;
  const fs::path thumbnails = folder.path() / "thumbnails";
  for (const char* name : {"album-0", "album-1", "album-2", "album-10", "album-01", "other"}) {
    fs::create_directories(thumbnails / name);
  }
  for (const char* name : {"album-0.record", "album-2.record", "notes.txt"}) std::ofstream(thumbnails / name);
  const auto left = [&] {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(thumbnails)) names.insert(entry.path().filename().string());
    return names;
  };
  // Records only: the folders of the albums beyond the count stay.
  RemoveImagesOfLaterAlbums(folder.str(), JoinPath(folder.str(), "thumbnails"), 2, ".record", true);
  EXPECT_EQ(left(), (std::set<std::string>{"album-0", "album-1", "album-2", "album-10", "album-01", "other",
                                           "album-0.record", "notes.txt"}));
  RemoveImagesOfLaterAlbums(folder.str(), JoinPath(folder.str(), "thumbnails"), 2, ".record");
  EXPECT_EQ(left(), (std::set<std::string>{"album-0", "album-1", "album-01", "other", "album-0.record", "notes.txt"}));
}

TEST(ImagingRecord, IsWrittenAsPinnedAndReadBack) {
  ImagingRecord record;
  record.settings.keep_location = true;
  record.settings.original_published = false;
  record.pictures.push_back({"/p/a b.jpg", {1234, 1700000000, 5}, "/s/t/a b.jpg", "/s/d/a b.jpg",
                             {{{256, 256}, {512, 512}}, {{1024, 768}, {1600, 1200}}, false, true, false},
                             {{10, 1700000001, 2}, {20, -3, 0}, {UINTMAX_MAX, INT64_MAX, 999'999'999}}});
  record.pictures.push_back(
      {"/p/c.gif", {99, 1, 0}, "/s/t/c.gif", "/s/d/c.gif", {{{200, 200}}, {{600, 400}}, true, false, true}, {}});
  record.thumbnail_folder = FileStamp{8192, 1700000100, 7};
  const std::string pictures =
      "1234\t1700000000\t5\t256x256,512x512\t1024x768,1600x1200\t0\t1\t0\t"
      "10.1700000001.2,20.-3.0,18446744073709551615.9223372036854775807.999999999\t"
      "/p/a b.jpg\t/s/t/a b.jpg\t/s/d/a b.jpg\r\n"
      "99\t1\t0\t200x200\t600x400\t1\t0\t1\t\t/p/c.gif\t/s/t/c.gif\t/s/d/c.gif\r\n";
  const std::string settings = "settings 256,512,768 1024,1600,2048 82 85 80 1 0\r\n";
  const std::string bytes = ImagingRecordBytes(record);
  EXPECT_EQ(bytes, "quorvale-images 4\r\n" + settings + "folders 8192.1700000100.7 -\r\n" + pictures);
  EXPECT_EQ(ParseImagingRecord(bytes), record);
  // A folders' line of a stamp more or less, or of a damaged stamp, is damaged.
  for (const char* folders : {"folders -", "folders - - -", "folders 1.2 -", "folder - -", "folders - x",
                              "folders 1.2.3.4 -", "folders .1.2 -", "folders 1..2 -", "folders 1.2. -",
                              "folders 1.2.+3 -", "folders 1.2.18446744073709551616 -"}) {
    EXPECT_EQ(ParseImagingRecord("quorvale-images 4\r\n" + settings + folders + "\r\n" + pictures), std::nullopt)
        << folders;
  }
  // The formats before: without the folders' stamps, and without the images' stamps too.
  ImagingRecord without_folders = record;
  without_folders.thumbnail_folder.reset();
  EXPECT_EQ(ParseImagingRecord("quorvale-images 3\r\n" + settings + pictures), without_folders);
  ImagingRecord before = without_folders;
  before.pictures.resize(1);
  before.pictures[0].image_stamps.clear();
  EXPECT_EQ(ParseImagingRecord("quorvale-images 2\r\nsettings 256,512,768 1024,1600,2048 82 85 80 1 0\r\n"
                               "1234\t1700000000\t5\t256x256,512x512\t1024x768,1600x1200\t0\t1\t0\t"
                               "/p/a b.jpg\t/s/t/a b.jpg\t/s/d/a b.jpg\r\n"),
            before);
  // A line of a field more or less is damaged.
  EXPECT_EQ(ParseImagingRecord(bytes.substr(0, bytes.size() - 2) + "\t/s/x\r\n"), std::nullopt);
  EXPECT_EQ(ParseImagingRecord(bytes.substr(0, bytes.rfind('\t')) + "\r\n"), std::nullopt);
  // A line longer than a record's lines can be is refused before it is split, however
  // well-formed; so is a record over the size limit.
  record.pictures[0].source = "/p/" + std::string(kMaxImagingRecordLineBytes, 'a');
  EXPECT_EQ(ParseImagingRecord(ImagingRecordBytes(record)), std::nullopt);
  EXPECT_EQ(ParseImagingRecord(bytes + std::string(kMaxImagingRecordBytes, '\n') + "\r\n"), std::nullopt);
  // A path holding a tab is not recorded: it could not be read back.
  record.pictures[0].source = "/p/a\tb.jpg";
  EXPECT_EQ(ParseImagingRecord(ImagingRecordBytes(record))->pictures.size(), 1u);
}

}  // namespace
}  // namespace quorvale
