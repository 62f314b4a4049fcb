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
#include "generate/generation_run.h"
#include "generate/viewer_copy.h"
#include "model/project.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace quorvale::testing {

namespace fs = std::filesystem;

// A fresh folder per test with a viewer source of the 15 files, a Publishing Directory
// and a picture folder, and everything a generation run needs around them.
class GenerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = (fs::temp_directory_path() / ("quorvale_gen_" + std::string(info->name()) + "_" + std::to_string(::getpid())))
                .string();
    fs::remove_all(root_);
    source_ = JoinPath(root_, "Torvexa");
    publish_ = JoinPath(root_, "site");
    fs::create_directories(source_);
    fs::create_directories(publish_);
    for (const char* file : kTorvexaFiles) WriteFile(JoinPath(source_, file), std::string("viewer ") + file);
    settings_.ApplicationSourceDirectory = source_;
  }

  void TearDown() override { fs::remove_all(root_); }

  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

  // A picture file of `bytes` under root/pictures/<folder>.
  std::string Picture(const std::string& folder, const std::string& name, const std::string& bytes) {
    const std::string dir = JoinPath(JoinPath(root_, "pictures"), folder);
    fs::create_directories(dir);
    WriteFile(JoinPath(dir, name), bytes);
    return JoinPath(dir, name);
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
    return {project_, settings_, project_name_, access_url_, dialogs_, clock_, transcript_,
            [this](const std::string& caption) { captions_.push_back(caption); }, counters_};
  }

  // One run into the Publishing Directory; its transcript.
  const std::string& Generate() {
    transcript_.Clear();
    GenerateAlbums(Context(), publish_);
    return transcript_.Text();
  }

  // A path under the Publishing Directory, written with "/" between its parts.
  std::string In(std::string relative) const {
    for (char& c : relative) c = c == '/' ? kPathSeparator : c;
    return publish_ + kPathSeparator + relative;
  }

  std::string root_, source_, publish_, access_url_;
  std::string project_name_ = "holiday.qs1";
  Project project_;
  ProjectSettings settings_;
  ScriptedDialogs dialogs_;
  FixedClock clock_;
  Transcript transcript_;
  GenerationCounters counters_;
  std::vector<std::string> captions_;
};

}  // namespace quorvale::testing
