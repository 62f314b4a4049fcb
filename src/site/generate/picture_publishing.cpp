#include "generate/picture_publishing.h"

#include "generate/generation_context.h"
#include "platform/file_copy.h"
#include "platform/path.h"
#include "layout/site_layout.h"

namespace quorvale {
namespace {

constexpr const char* kIndent = "        ";
constexpr const char* kEmptyAlbumWarning = "        WARNING: ALBUM DOES NOT CONTAIN ANY PICTURE.";

// Copies one picture into the album folder under its file name, unless its copy there
// is up to date.
void PublishPicture(GenerationContext& context, FolderBelow& folder, const std::string& album_folder,
                    const std::string& path);

}  // namespace

void ReportEmptyAlbum(GenerationContext& context) {
  context.transcript().AppendLine(kEmptyAlbumWarning);
  ++context.counters().WarningCount;
}

std::optional<FileStamp> StampOfPictureToPublish(GenerationContext& context, const std::string& path) {
  std::string reason;
  auto stamp = StampOf(path, &reason);
  if (stamp) return stamp;
  if (reason.empty()) {
    context.transcript().AppendLine(std::string(kIndent) + "ERROR IN COPY: Picture " + path + " does not exist.");
    ++context.counters().ErrorCount;
  } else {
    context.ReportFailure(kIndent, "Reading picture " + path, reason);
  }
  return std::nullopt;
}

void PublishAlbumPictures(GenerationContext& context, int album_number) {
  const PictureMap& pictures = context.project().AlbumPictures(album_number);
  const std::string& publish_directory = context.publish_directory();
  const std::string album_folder = AlbumImageFolder(publish_directory, album_number);
  // Without its folder none of the album's pictures can be published: one error says so.
  // An album without pictures is still reported as such.
  const bool have_folder = context.EnsureFolder(kIndent, ImagesFolderPath(publish_directory)) &&
                           context.EnsureFolder(kIndent, album_folder);
  if (pictures.Empty()) {
    ReportEmptyAlbum(context);
    return;
  }

  // The album's folder is opened once for all its pictures.
  FolderBelow folder(publish_directory, album_folder);
  for (const Picture& picture : pictures) {
    if (context.StopRequested()) return;
    if (have_folder) PublishPicture(context, folder, album_folder, picture.path);
    context.PictureDone();
  }
}

namespace {

void PublishPicture(GenerationContext& context, FolderBelow& folder, const std::string& album_folder,
                    const std::string& path) {
  Transcript& transcript = context.transcript();
  transcript.CutIfLong();
  const auto source_stamp = StampOfPictureToPublish(context, path);
  if (!source_stamp) return;
  const std::string published_name = FileNameOf(path);
  const std::string target = JoinPath(album_folder, published_name);
  const auto copy_stamp = folder.Stamp(published_name);
  if (IsUpToDateCopy(*source_stamp, copy_stamp)) {
    transcript.AppendLine(std::string(kIndent) + "Skipping copy picture " + path + " (" + target + ") EXISTS.");
    context.Published(target, copy_stamp);
    return;
  }
  transcript.AppendLine(std::string(kIndent) + "Copying picture " + path + " to " + target + ".");
  if (const auto failure = folder.Copy(path, published_name)) {
    context.ReportFailure(kIndent, "Copying picture " + path + " to " + target, *failure);
  } else {
    context.Published(target, source_stamp);  // a copy takes its source's size and time
  }
}

}  // namespace
}  // namespace quorvale
