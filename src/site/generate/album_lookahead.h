#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "model/project.h"
#include "platform/file_copy.h"

namespace quorvale {

// What a run looks up about an album before its steps do: each picture's stamp, and the
// stamp of each copy of a picture under its own file name in the album's image folder.
// Looked up on a thread of its own while the run works on the album before, so on a
// machine of several cores an unchanged album's lookups cost the run no time.
struct AlbumLookups {
  int album_number = -1;
  // By picture, in album order; nothing where a picture could not be looked up (the step
  // looks it up again and reports why).
  std::vector<std::optional<FileStamp>> sources;
  // The copies found, by file name.
  std::unordered_map<std::string, FileStamp> copies;
};

// The lookups of the album after the one being worked on. A step takes an answer from
// here or, where there is none, looks up itself; either way it gets what the file system
// said during the run, before the step wrote anything there.
class AlbumLookahead {
 public:
  // `project` and `publish_directory` must outlive the lookahead.
  AlbumLookahead(const Project& project, const std::string& publish_directory, std::stop_token stop);
  AlbumLookahead(const AlbumLookahead&) = delete;
  AlbumLookahead& operator=(const AlbumLookahead&) = delete;
  ~AlbumLookahead();

  // The run begins album `album_number`: its lookups when they were started, else none;
  // the next album's lookups start now.
  AlbumLookups Begin(int album_number);

 private:
  void Start(int album_number);

  const Project& project_;
  const std::string& publish_directory_;
  std::stop_token stop_;
  AlbumLookups ahead_;   // written by the thread, read once it is joined
  std::jthread thread_;  // looking up `ahead_`, when joinable
};

}  // namespace quorvale
