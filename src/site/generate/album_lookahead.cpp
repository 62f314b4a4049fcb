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
  // The thread is woken by a flag under the mutex, not by a wait on its stop token: a
  // stop callback's hand-off can lose its wake-up where the standard library has no
  // futex to wait on (MinGW), and the join would then hang.
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.request_stop();
  thread_.join();
}

AlbumLookups AlbumLookahead::Begin(int album_number) {
  std::unique_lock lock(mutex_);
  const auto being_looked_up = [&] { return busy_ && current_.album_number == album_number; };
  FoundCopies helped;
  // An album the lookahead's thread is to look up is waited for until it takes it up.
  if (thread_.joinable() && album_number >= first_album_ && album_number <= limit_ &&
      album_number < project_.AlbumCount()) {
    changed_.wait(lock, [&] { return album_number < next_album_; });
    if (being_looked_up()) {
      // Its lookups are not done: the run takes pictures too rather than wait.
      ++helpers_;
      lock.unlock();
      LookUpPictures(helped, stop_);
      lock.lock();
      --helpers_;
      changed_.notify_all();
      changed_.wait(lock, [&] { return !being_looked_up(); });
    }
  }
  AlbumLookups lookups;
  while (!ready_.empty() && ready_.front().album_number <= album_number) {
    if (ready_.front().album_number == album_number) {
      lookups = std::move(ready_.front());
      for (auto& [name, stamp] : helped) lookups.copies.emplace(std::move(name), stamp);
    }
    ready_.pop_front();
  }
  if (album_number + 1 < project_.AlbumCount() && !stop_.stop_requested()) {
    limit_ = album_number + kAlbumsAhead;
    if (!thread_.joinable()) {
      first_album_ = next_album_ = album_number + 1;
      thread_ = std::jthread([this](std::stop_token own) { Work(std::move(own)); });
    }
    changed_.notify_all();
  }
  return lookups;
}

void AlbumLookahead::Work(std::stop_token own) {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return quit_ || (next_album_ <= limit_ && next_album_ < project_.AlbumCount()); });
    if (quit_) return;
    const int album_number = next_album_++;
    busy_ = true;
    current_ = AlbumLookups{};
    current_.album_number = album_number;
    current_.sources.resize(static_cast<std::size_t>(project_.AlbumPictures(album_number).Count()));
    next_picture_ = 0;
    no_copies_ = false;
    changed_.notify_all();
    lock.unlock();
    {
      // The album's folders are reached from the Publishing Directory once.
      const FolderWalkMemory walks(publish_directory_);
      // The album's files first: the run, when it comes to the album before its lookups
      // are done, can help with the pictures only.
      LookUpAlbumFiles(own);
      FoundCopies copies;
      LookUpPictures(copies, own);
      for (auto& [name, stamp] : copies) current_.copies.emplace(std::move(name), stamp);
    }
    lock.lock();
    // The run may still be writing the slots of the pictures it took.
    changed_.wait(lock, [this] { return helpers_ == 0; });
    ready_.push_back(std::move(current_));
    busy_ = false;
    changed_.notify_all();
  }
}

void AlbumLookahead::LookUpPictures(FoundCopies& copies, std::stop_token own) {
  const int album_number = current_.album_number;
  const PictureMap& pictures = project_.AlbumPictures(album_number);
  const std::size_t count = current_.sources.size();
  SourceStamps sources;
  FolderBelow published(publish_directory_, AlbumImageFolder(publish_directory_, album_number));
  const bool no_copies = no_copies_;
  // The pictures not reached before a stop keep no answer.
  for (std::size_t index = next_picture_++; index < count && !Stopped(own); index = next_picture_++) {
    const Picture& picture = pictures.At(static_cast<int>(index));
    current_.sources[index] = sources.Of(picture.path);
    if (no_copies) continue;
    std::string name = FileNameOf(picture.path);
    if (const auto copy = published.Stamp(name)) copies.emplace_back(std::move(name), *copy);
  }
}

void AlbumLookahead::LookUpAlbumFiles(std::stop_token own) {
  const int album_number = current_.album_number;
  if (Stopped(own)) return;
  const AlbumReads reads = reads_ ? reads_(publish_directory_, album_number) : AlbumReads{};
  for (const AlbumFileRead& read : reads.files) {
    if (const auto bytes = ReadFileBelow(publish_directory_, read.path, read.limit)) {
      current_.files.emplace(read.path, read.parse(*bytes));
    }
  }
  // The album's image folder, listed unless the files read vouch for it: what is in it
  // then is what they say, and nothing a killed run left.
  const std::string images = AlbumImageFolder(publish_directory_, album_number);
  LookedAtFolder album{SettledFolderStampBelow(publish_directory_, images), std::nullopt};
  const auto album_vouched = reads.images_vouched ? reads.images_vouched(current_.files) : std::nullopt;
  if (album.settled_stamp && album.settled_stamp == album_vouched) {
    current_.leftover_writes = false;
    current_.listings.emplace(images, std::move(album));
  } else if ((album.entries = ListFolderBelow(publish_directory_, images))) {
    current_.leftover_writes = std::any_of(album.entries->begin(), album.entries->end(),
                                           [](const FolderEntry& entry) { return IsLeftoverWrite(entry.name); });
    no_copies_ = album.entries->empty();
    current_.listings.emplace(images, std::move(album));
  }
  for (const AlbumFolderRead& folder : reads.folders) {
    // The stamp first: a change while the folder is listed gives it another.
    LookedAtFolder looked{SettledFolderStampBelow(publish_directory_, folder.path), std::nullopt};
    const auto vouched = folder.vouched ? folder.vouched(current_.files) : std::nullopt;
    if (!looked.settled_stamp || looked.settled_stamp != vouched) {
      looked.entries = ListFolderBelow(publish_directory_, folder.path);
      if (!looked.entries) continue;
    }
    current_.listings.emplace(folder.path, std::move(looked));
  }
  for (const AlbumStampsRead& read : reads.stamps) {
    const std::vector<std::string> names = read.names(current_.files);
    if (names.empty()) continue;
    FolderBelow folder(publish_directory_, read.folder);
    for (const std::string& name : names) {
      if (Stopped(own)) return;
      if (const auto stamp = folder.Stamp(name)) current_.stamps.emplace(JoinPath(read.folder, name), *stamp);
    }
  }
}

}  // namespace quorvale
