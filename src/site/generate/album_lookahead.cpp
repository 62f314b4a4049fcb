#include "generate/album_lookahead.h"

#include <algorithm>
#include <utility>

#include "layout/site_layout.h"
#include "platform/file_reading.h"
#include "platform/file_system.h"
#include "platform/folder_walks.h"
#include "platform/path.h"

namespace quorvale {

AlbumLookahead::AlbumLookahead(const Project& project, const std::string& publish_directory,
                               std::function<AlbumReads(const std::string&, int)> reads, std::stop_token stop)
    : project_(project), publish_directory_(publish_directory), reads_(std::move(reads)), stop_(std::move(stop)) {}

AlbumLookahead::~AlbumLookahead() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}

AlbumLookups AlbumLookahead::Begin(int album_number) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return asked_ < 0 && !busy_; });
  AlbumLookups lookups;
  if (ahead_.album_number == album_number) lookups = std::move(ahead_);
  ahead_ = AlbumLookups{};
  if (album_number + 1 < project_.AlbumCount() && !stop_.stop_requested()) {
    asked_ = album_number + 1;
    if (!thread_.joinable()) thread_ = std::jthread([this](std::stop_token own) { Work(std::move(own)); });
    changed_.notify_all();
  }
  return lookups;
}

void AlbumLookahead::Work(std::stop_token own) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!changed_.wait(lock, own, [this] { return asked_ >= 0; })) return;
    const int album_number = std::exchange(asked_, -1);
    busy_ = true;
    lock.unlock();
    AlbumLookups lookups = LookUp(album_number, own);
    lock.lock();
    ahead_ = std::move(lookups);
    busy_ = false;
    changed_.notify_all();
  }
}

AlbumLookups AlbumLookahead::LookUp(int album_number, std::stop_token own) const {
  AlbumLookups lookups;
  lookups.album_number = album_number;
  const PictureMap& pictures = project_.AlbumPictures(album_number);
  lookups.sources.resize(static_cast<std::size_t>(pictures.Count()));
  // The album's folders are reached from the Publishing Directory once.
  const FolderWalkMemory walks(publish_directory_);
  SourceStamps sources;
  const std::string image_folder = AlbumImageFolder(publish_directory_, album_number);
  FolderBelow copies(publish_directory_, image_folder);
  const auto stopped = [&] { return own.stop_requested() || stop_.stop_requested(); };
  std::size_t index = 0;
  for (const Picture& picture : pictures) {
    if (stopped()) return lookups;  // the pictures not reached keep no answer
    lookups.sources[index++] = sources.Of(picture.path);
    std::string name = FileNameOf(picture.path);
    if (const auto copy = copies.Stamp(name)) lookups.copies.emplace(std::move(name), *copy);
  }
  if (stopped()) return lookups;
  if (const auto entries = ListFolderBelow(publish_directory_, image_folder)) {
    lookups.leftover_writes = std::any_of(entries->begin(), entries->end(),
                                          [](const FolderEntry& entry) { return IsLeftoverWrite(entry.name); });
  }
  if (!reads_) return lookups;
  const AlbumReads reads = reads_(publish_directory_, album_number);
  for (const auto& [path, limit] : reads.files) {
    if (auto bytes = ReadFileBelow(publish_directory_, path, limit)) lookups.files.emplace(path, std::move(*bytes));
  }
  for (const std::string& folder : reads.folders) {
    if (auto entries = ListFolderBelow(publish_directory_, folder)) lookups.listings.emplace(folder, std::move(*entries));
  }
  return lookups;
}

}  // namespace quorvale
