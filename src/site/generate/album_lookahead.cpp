#include "generate/album_lookahead.h"

#include "layout/site_layout.h"
#include "platform/path.h"

namespace quorvale {

AlbumLookahead::AlbumLookahead(const Project& project, const std::string& publish_directory, std::stop_token stop)
    : project_(project), publish_directory_(publish_directory), stop_(std::move(stop)) {}

AlbumLookahead::~AlbumLookahead() = default;  // the thread is told to stop, and joined

AlbumLookups AlbumLookahead::Begin(int album_number) {
  AlbumLookups lookups;
  if (thread_.joinable()) {
    thread_.join();
    if (ahead_.album_number == album_number) lookups = std::move(ahead_);
    ahead_ = AlbumLookups{};
  }
  if (album_number + 1 < project_.AlbumCount() && !stop_.stop_requested()) Start(album_number + 1);
  return lookups;
}

void AlbumLookahead::Start(int album_number) {
  thread_ = std::jthread([this, album_number](std::stop_token own) {
    const PictureMap& pictures = project_.AlbumPictures(album_number);
    AlbumLookups& lookups = ahead_;
    lookups.album_number = album_number;
    lookups.sources.resize(static_cast<std::size_t>(pictures.Count()));
    SourceStamps sources;
    FolderBelow copies(publish_directory_, AlbumImageFolder(publish_directory_, album_number));
    std::size_t index = 0;
    for (const Picture& picture : pictures) {
      // Pictures not reached keep no answer: their steps look them up.
      if (own.stop_requested() || stop_.stop_requested()) break;
      lookups.sources[index++] = sources.Of(picture.path);
      std::string name = FileNameOf(picture.path);
      if (const auto copy = copies.Stamp(name)) lookups.copies.emplace(std::move(name), *copy);
    }
  });
}

}  // namespace quorvale
