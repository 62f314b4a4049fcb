#pragma once

// The window's logic over scripted dialogs, and the Content page read back as one line.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/support/scripted_dialogs.h"
#include "platform/path.h"
#include "window/main_window.h"
#include "window/metadata_reading.h"

namespace quorvale::testing {

using Messages = std::vector<MessageRequest>;

const std::string kSep(1, kPathSeparator);
const std::string kProgram = kSep + "prog";
const std::string kPics = kSep + "pics";

inline MessageRequest Warning(const std::string& text, const std::string& caption) {
  return {text, "Quorvale 1.0.0 - " + caption, Buttons::kOk, Icon::kExclamation};
}

inline std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// Pictures' metadata by file name, read at once; a file not named has none. Keeps what
// the window asked for; `stop` answers as a reading the user stopped before any file.
class FakeMetadataReading : public MetadataReading {
 public:
  MetadataReads ReadAll(const MetadataRequest& request) override {
    requests.push_back(request);
    MetadataReads reads{{}, stop};
    for (const std::string& path : request.paths) {
      const auto found = by_name.find(path.substr(path.rfind(kSep) + 1));
      reads.metadata.push_back(found == by_name.end() || stop ? std::nullopt : std::optional(found->second));
    }
    return reads;
  }
  std::map<std::string, PictureMetadata> by_name;
  std::vector<MetadataRequest> requests;
  bool stop = false;
};

class MainWindowTest : public ::testing::Test {
 public:
  MainWindowTest() : logic(dialogs, clock, kProgram) {
    logic.SetMetadataReading(&metadata);
    logic.Startup();
  }

  void AddAlbum(const std::string& title) {
    dialogs.texts.push_back(title);
    logic.content().AddAlbumCommand();
  }
  void AddPictures(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(kPics + kSep + name);
    dialogs.files.push_back(paths);
    logic.content().AddPicturesCommand();
  }
  // One album "Album" holding the pictures p0.jpg ... p(count - 1).jpg, the first selected.
  void AlbumWithPictures(int count) {
    AddAlbum("Album");
    std::vector<std::string> names;
    for (int k = 0; k < count; ++k) names.push_back("p" + std::to_string(k) + ".jpg");
    if (count > 0) AddPictures(names);
    logic.content().OnPictureClicked(0);
  }
  Messages TakeMessages() { return std::exchange(dialogs.messages, {}); }
  // What a save does to the flag, so a test can see the next command set it again.
  void ClearModified() { const_cast<Project&>(logic.project()).Modified = false; }

  // The Content page in one line: album list (* marks the selection) | album frame
  // caption | album label | picture frame caption | picture list by file name | comment
  // box; then " modified" when the last command marked the project, whose flag it clears.
  std::string Seen() {
    std::string view;
    const auto mark = [&view](std::size_t i, int selected, const std::string& row) {
      view += (i ? " " : "") + std::string(static_cast<int>(i) == selected ? "*" : "") + row;
    };
    const auto albums = logic.content().AlbumRows();
    for (std::size_t i = 0; i < albums.size(); ++i) mark(i, logic.project().SelectedAlbum(), albums[i]);
    view += "|" + logic.content().AlbumFrameCaption() + "|" + logic.content().SelectedAlbumLabel() + "|";
    view += logic.content().PictureFrameCaption() + "|";
    const auto pictures = logic.content().PictureRows();
    for (std::size_t j = 0; j < pictures.size(); ++j) {
      mark(j, logic.project().SelectedPicture(), pictures[j].substr(pictures[j].rfind(kSep) + 1));
    }
    view += "|" + logic.content().CommentText() + (logic.project().Modified ? " modified" : "");
    ClearModified();
    return view;
  }

  ScriptedDialogs dialogs;
  FixedClock clock;
  FakeMetadataReading metadata;
  MainWindowLogic logic;
};

}  // namespace quorvale::testing
