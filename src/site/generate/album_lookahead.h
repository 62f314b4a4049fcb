#pragma once

#include <any>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "generate/viewer.h"
#include "model/project.h"
#include "platform/folder_listing.h"
#include "platform/file_copy.h"

namespace quorvale {

// What a run looks up about an album before its steps do: each picture's stamp, the
// stamp of each copy of a picture under its own file name in the album's image folder,
// whether that folder holds what a killed run left half-written, and what the viewer's
// steps read of the album's part of the site.
// Looked up on a thread of its own while the run works on the album before, so on a
// machine of several cores an unchanged album's lookups cost the run no time.
struct AlbumLookups {
  int album_number = -1;
  // By picture, in album order; nothing where a picture could not be looked up (the step
  // looks it up again and reports why).
  std::vector<std::optional<FileStamp>> sources;
  // The copies found, by file name.
  std::unordered_map<std::string, FileStamp> copies;
  // What the viewer's parse made of each file read, and the folders looked at, by path;
  // those that could not be read are left out (the step reads them and reports why).
  std::unordered_map<std::string, std::any> files;
  std::unordered_map<std::string, LookedAtFolder> listings;
  // The stamps of the files the viewer's steps look up, by path; those not found are
  // left out.
  std::unordered_map<std::string, FileStamp> stamps;
  // Whether the album's image folder holds what a killed run left half-written; nothing
  // when it could not be listed.
  std::optional<bool> leftover_writes;
};

// The lookups of the albums after the one being worked on (up to kAlbumsAhead of them,
// in album order), made by one thread for the whole run. A step takes an answer from here or, where there is none, looks up itself;
// either way it gets what the file system said during the run, before the step wrote
// anything there. A run that comes to an album before its lookups are done takes its
// pictures in turn with the lookahead's thread rather than wait for them.
class AlbumLookahead {
 public:
  // `project` and `publish_directory` must outlive the lookahead; `reads` says what the
  // viewer's steps read of an album (may be empty).
  AlbumLookahead(const Project& project, const std::string& publish_directory,
                 std::function<AlbumReads(const std::string&, int)> reads, std::stop_token stop);
  AlbumLookahead(const AlbumLookahead&) = delete;
  AlbumLookahead& operator=(const AlbumLookahead&) = delete;
  ~AlbumLookahead();

  // The run begins album `album_number`: its lookups when they were asked for, else none;
  // the lookups of the albums up to kAlbumsAhead after it may start now.
  AlbumLookups Begin(int album_number);

 private:
  // A copy found under a picture's file name.
  using FoundCopies = std::vector<std::pair<std::string, FileStamp>>;

  void Work(std::stop_token own);
  // Looks up the pictures of the album in `current_` not taken yet, one at a time, until
  // none is left or the run stops; the copies found go to `copies`.
  void LookUpPictures(FoundCopies& copies, std::stop_token own);
  // What the album's part of the site holds: leftovers and what the viewer reads.
  void LookUpAlbumFiles(std::stop_token own);
  bool Stopped(std::stop_token own) const { return own.stop_requested() || stop_.stop_requested(); }

  const Project& project_;
  const std::string& publish_directory_;
  std::function<AlbumReads(const std::string&, int)> reads_;
  std::stop_token stop_;
  // The albums looked up ahead of the one the run begins: enough for the lookahead's
  // thread to go on with the next while the run takes the one it finished, few enough
  // that what it holds stays small.
  static constexpr int kAlbumsAhead = 2;

  std::mutex mutex_;
  std::condition_variable changed_;
  bool quit_ = false;      // the lookahead is being destroyed: its thread stops waiting
  int first_album_ = -1;   // the first album the lookahead's thread looks up
  int next_album_ = -1;    // the album it looks up next
  int limit_ = -1;         // the last album it may look up before the run begins another
  bool busy_ = false;      // an album is being looked up, into `current_`
  int helpers_ = 0;        // threads taking pictures of `current_` beside the lookahead's
  AlbumLookups current_;   // the album being looked up: each picture's slot is written by
                           // the thread that took it
  std::atomic<std::size_t> next_picture_{0};  // the next picture of `current_` to take
  // Whether the image folder of `current_` was listed and found empty: then no picture
  // has a copy there to look up (a site that publishes no originals).
  std::atomic<bool> no_copies_{false};
  std::deque<AlbumLookups> ready_;  // the albums looked up and not yet begun, in order
  std::jthread thread_;    // started when the run begins its first album
};

}  // namespace quorvale
