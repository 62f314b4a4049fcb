#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/support/scripted_dialogs.h"
#include "generate/access_url.h"
#include "generate/generation_context.h"
#include "generate/viewer_copy.h"
#include "model/project.h"
#include "platform/path.h"
#include "platform/file_system.h"

namespace quorvale::testing {

namespace fs = std::filesystem;

// A fresh folder per test with a viewer source of the 15 files, a Publishing Directory
// and a picture folder, and everything a generation run needs around them.
class GenerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    root_ = (fs::temp_directory_path() / ("quorvale_gen_" + name + "_" + std::to_string(::getpid()))).string();
    fs::remove_all(root_);
    fs::create_directories(root_);
    source_ = JoinPath(root_, "Torvexa");
    publish_ = JoinPath(root_, "site");
    fs::create_directories(source_);
    fs::create_directories(publish_);
    for (const char* file : kTorvexaFiles) WriteFile(JoinPath(source_, file), std::string("viewer ") + file);
    settings_.ApplicationSourceDirectory = source_;
    settings_.PublishDirectory = publish_;
  }

  void TearDown() override {
    std::error_code error;
    // Give back write permission that a test took away, then remove everything.
    for (auto it = fs::recursive_directory_iterator(root_, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(root_, error);
  }

  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
  }

  static std::string Read(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

  // A picture file of `bytes` under root/pictures/<folder>.
  std::string Picture(const std::string& folder, const std::string& name, const std::string& bytes) {
    const std::string dir = JoinPath(JoinPath(root_, "pictures"), folder);
    fs::create_directories(dir);
    const std::string path = JoinPath(dir, name);
    WriteFile(path, bytes);
    return path;
  }

  void AddAlbum(const std::string& title, const std::vector<std::pair<std::string, std::string>>& pictures = {}) {
    project_.SelectAlbum(project_.AlbumCount() - 1);
    project_.AddAlbum(title);
    for (const auto& [path, comment] : pictures) {
      project_.AddPicture(path);
      project_.SetPictureComment(project_.SelectedPicture(), comment);
    }
  }

  GenerationContext Context() {
    access_url_ = AccessUrlFor(publish_);
    return GenerationContext{
        .project = project_,
        .settings = settings_,
        .project_name = project_name_,
        .access_url = access_url_,
        .dialogs = dialogs_,
        .clock = clock_,
        .transcript = transcript_,
        .status_caption = [this](const std::string& caption) { captions_.push_back(caption); },
        .counters = counters_,
    };
  }

  // True when taking write permission away really stops writes here (not as root).
  bool PermissionsBlockWrites() {
    const std::string probe = JoinPath(root_, "probe");
    WriteFile(probe, "x");
    fs::permissions(probe, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const bool blocked = !std::ofstream(probe, std::ios::app).is_open();
    fs::permissions(probe, fs::perms::owner_all, fs::perm_options::add);
    return blocked;
  }

  // A path under the Publishing Directory, written with "/" between its parts.
  std::string In(std::string relative) const {
    for (char& c : relative) {
      if (c == '/') c = kPathSeparator;
    }
    return publish_ + kPathSeparator + relative;
  }

  std::string root_;
  std::string source_;
  std::string publish_;
  std::string project_name_ = "holiday.qs1";
  std::string access_url_;
  Project project_;
  ProjectSettings settings_;
  ScriptedDialogs dialogs_;
  FixedClock clock_;
  Transcript transcript_;
  GenerationCounters counters_;
  std::vector<std::string> captions_;
};

}  // namespace quorvale::testing
