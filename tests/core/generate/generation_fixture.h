#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/support/scripted_dialogs.h"
#include "generate/generation_context.h"
#include "core/support/temp_folder.h"
#include "generate/generation_job.h"
#include "model/project.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "viewers/torvexa/torvexa_viewer.h"
#include "viewers/viewer_registry.h"

namespace quorvale::testing {

namespace fs = std::filesystem;

// The Torvexa viewer's 15 files, in the order a run copies them.
inline const std::vector<std::string> kTorvexaFiles = TorvexaViewerDescriptor().files;

// A fresh folder per test with a viewer source of the 15 files, a Publishing Directory
// and a picture folder, and everything a generation run needs around them. The fixture
// is the run's events sink: it records captions and progress, keeps the transcript as
// the window does and answers message boxes through scripted dialogs.
class GenerationTest : public ::testing::Test, public GenerationEvents {
 protected:
  void SetUp() override {
    root_ = temp_.str();
    source_ = JoinPath(root_, "Torvexa");
    publish_ = JoinPath(root_, "site");
    fs::create_directories(source_);
    fs::create_directories(publish_);
    for (const std::string& file : kTorvexaFiles) WriteFile(JoinPath(source_, file), "viewer " + file);
    settings_.ApplicationSourceDirectory = source_;
  }

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

  // Each event is kept by kind and, tagged, in `stream_` in the order it came.
  void StatusChanged(const std::string& caption) override {
    captions_.push_back(caption);
    stream_ += "[S " + caption + "]";
  }
  void TranscriptAppended(std::string_view text) override {
    transcript_.AppendText(text);
    stream_ += text;
  }
  void TranscriptReplaced(std::string_view text) override {
    transcript_.Replace(std::string(text));
    stream_ += "[cut]";
  }
  void ProgressChanged(const GenerationProgress& progress) override {
    progress_.push_back(progress);
    stream_ += "[P " + std::to_string(progress.pictures_done) + "/" + std::to_string(progress.pictures_total) + " " +
               std::to_string(progress.album_number) + "]";
    if (on_progress_) on_progress_(progress);
  }
  Answer ShowMessage(const MessageRequest& request) override {
    stream_ += "[M " + request.title + "]";
    return dialogs_.ShowMessage(request);
  }

  GenerationJob Job(const std::string& publish_directory) {
    settings_.PublishDirectory = publish_directory;
    return MakeGenerationJob(project_, settings_, project_name_, clock_, ViewerFor(settings_.ViewerType));
  }

  // One run into `publish_directory`, taken up as the window takes it: the counters of
  // a run that ran, and the tip's state.
  GenerationResult Run(const std::string& publish_directory, std::stop_token stop = {}) {
    transcript_.Clear();
    const GenerationResult result = GenerateAlbums(Job(publish_directory), *this, std::move(stop));
    if (result.outcome != GenerationOutcome::kNotRun) counters_ = result.counters;
    project_.PictureCountTipPending = result.PictureCountTipPending;
    return result;
  }

  // One run into the Publishing Directory; its transcript.
  const std::string& Generate() {
    Run(publish_);
    return transcript_.Text();
  }

  // A path under the Publishing Directory, written with "/" between its parts.
  std::string In(std::string relative) const {
    for (char& c : relative) c = c == '/' ? kPathSeparator : c;
    return publish_ + kPathSeparator + relative;
  }

  TempFolder temp_;
  std::string root_, source_, publish_;
  std::string project_name_ = "holiday.qs1";
  Project project_;
  ProjectSettings settings_;
  ScriptedDialogs dialogs_;
  FixedClock clock_;
  Transcript transcript_;
  GenerationCounters counters_;
  std::vector<std::string> captions_;
  std::vector<GenerationProgress> progress_;
  std::string stream_;
  std::function<void(const GenerationProgress&)> on_progress_;
};

}  // namespace quorvale::testing
