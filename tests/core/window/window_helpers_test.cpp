#include "window/drop_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/support/temp_folder.h"
#include "window/picture_details.h"
#include "window/progress_text.h"

namespace quorvale {
namespace {

TEST(DropRules, WhatEachTargetTakes) {
  testing::TempFolder folder;
  const auto file = [&folder](const char* name) {
    std::ofstream(folder.path() / name) << "x";
    return (folder.path() / name).string();
  };
  const std::string jpg = file("a.jpg"), upper = file("B.JPEG"), gif = file("c.Gif"), png = file("d.png");
  const std::string project = file("family.qs1"), capital_project = file("family.QS1");
  const std::string sub = (folder.path() / "sub").string();
  std::filesystem::create_directory(sub);
  const std::string missing_jpg = (folder.path() / "gone.jpg").string();
  const std::string folder_named_jpg = (folder.path() / "odd.jpg").string();
  std::filesystem::create_directory(folder_named_jpg);

  using enum DropTarget;
  using enum DropAction;
  const struct {
    DropTarget target;
    std::vector<std::string> paths;
    DropAction action;
  } cases[] = {
      {kPictureList, {jpg, upper, gif}, kAddPictures},
      {kPictureList, {jpg, png}, kAddPictures},  // adding judges each file by its content
      {kPictureList, {missing_jpg}, kRefuse},
      {kPictureList, {folder_named_jpg}, kRefuse},
      {kPictureList, {sub}, kRefuse},
      {kPictureList, {}, kRefuse},
      {kAlbumList, {sub, folder_named_jpg}, kAddAlbums},
      {kAlbumList, {sub, jpg}, kRefuse},
      {kElsewhere, {sub}, kRefuse},
      {kElsewhere, {jpg}, kRefuse},
      {kElsewhere, {project}, kOpenProject},
      {kPictureList, {project}, kOpenProject},
      {kAlbumList, {project}, kOpenProject},
      {kElsewhere, {capital_project}, kRefuse},  // Open takes "qs1" exactly
      {kElsewhere, {project, project}, kRefuse},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyDrop(c.target, c.paths), c.action) << &c - cases;
  }
}

TEST(PictureDetails, PixelAndFileSizes) {
  const struct {
    int width, height;
    std::uintmax_t bytes;
    const char* text;
  } cases[] = {
      {1, 1, 0, "1 \xC3\x97 1 pixels, 0 bytes"},
      {640, 480, 1, "640 \xC3\x97 480 pixels, 1 byte"},
      {640, 480, 1023, "640 \xC3\x97 480 pixels, 1023 bytes"},
      {640, 480, 1024, "640 \xC3\x97 480 pixels, 1.0 KB"},
      {4000, 3000, 5452595, "4000 \xC3\x97 3000 pixels, 5.2 MB"},
      {4000, 3000, 1048575, "4000 \xC3\x97 3000 pixels, 1.0 MB"},  // not "1024.0 KB"
      {8000, 6000, 21474836480ULL, "8000 \xC3\x97 6000 pixels, 20.0 GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureDetails(c.width, c.height, c.bytes), c.text);
}

TEST(ProgressText, PicturesDoneAndTheAlbum) {
  EXPECT_EQ(ProgressText({0, 300, -1, ""}), "0 of 300 pictures");
  EXPECT_EQ(ProgressText({120, 300, 1, "Summer"}), "120 of 300 pictures - album 2: Summer");
  EXPECT_EQ(ProgressText({1, 1, 0, "One"}), "1 of 1 picture - album 1: One");
}

}  // namespace
}  // namespace quorvale
