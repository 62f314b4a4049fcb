#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "model/project.h"

namespace quorvale::testing {

// A fresh, empty folder for one test, removed again afterwards.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("quorvale-" + std::string(info ? info->name() : "test") + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Path(const std::string& name) const { return (path_ / name).string(); }
  std::string Folder() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// One record line: tag byte, "~", value, CR LF.
inline std::string Rec(int tag, const std::string& value) {
  return std::string(1, static_cast<char>(tag)) + "~" + value + "\r\n";
}

inline std::string Header() { return Rec(0x80, "QS") + Rec(0x81, "1.0") + Rec(0x82, "0"); }

// The two-album project of the documented example file.
inline Project ExampleProject() {
  Project project;
  project.AddAlbum("Lake trip ~ June");
  project.AddPicture("C:\\Photos\\Lake\\boat.jpg");
  project.SetPictureComment(0, "Morning on the water");
  project.AddPicture("C:\\Photos\\Lake\\cabin.jpg");
  project.AddAlbum("Garden");
  return project;
}

inline ProjectSettings ExampleSettings() {
  ProjectSettings settings;
  settings.PublishDirectory = "D:\\Web\\Family";
  settings.PublishPictures = 1;
  settings.ApplicationSourceDirectory = "C:\\Tools\\Albums\\Applications\\Torvexa";
  return settings;
}

inline std::string ExampleFileBytes() {
  return Header() + Rec(0x83, "D:\\Web\\Family") + Rec(0x84, "1") + Rec(0x85, "JAVA") +
         Rec(0x86, "C:\\Tools\\Albums\\Applications\\Torvexa") + Rec(0x87, "2") +  //
         Rec(0x88, "0") + Rec(0x89, "Lake trip ~ June") + Rec(0x8A, "2") +           //
         Rec(0x8B, "C:\\Photos\\Lake\\boat.jpg") + Rec(0x8C, "Morning on the water") +
         Rec(0x8B, "C:\\Photos\\Lake\\cabin.jpg") + Rec(0x8C, "") +  //
         Rec(0x88, "1") + Rec(0x89, "Garden") + Rec(0x8A, "0");
}

}  // namespace quorvale::testing
