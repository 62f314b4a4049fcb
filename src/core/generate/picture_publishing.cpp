#include "generate/picture_publishing.h"

#include "generate/generation_context.h"
#include "platform/file_copy.h"
#include "platform/path.h"
#include "site/site_layout.h"

namespace quorvale {
namespace {

constexpr const char* kIndent = "        ";
constexpr const char* kEmptyAlbumWarning = "        WARNING: ALBUM DOES NOT CONTAIN ANY PICTURE.";

}  // namespace

void PublishAlbumPictures(GenerationContext& context, int album_number) {
  const PictureMap& pictures = context.project().AlbumPictures(album_number);
  const std::string& publish_directory = context.publish_directory();
  const std::string album_folder = AlbumImageFolder(publish_directory, album_number);
  Transcript& transcript = context.transcript();
  // Without its folder none of the album's pictures can be published: one error says so.
  // An album without pictures is still reported as such.
  const bool have_folder = context.EnsureFolder(kIndent, ImagesFolderPath(publish_directory)) &&
                           context.EnsureFolder(kIndent, album_folder);
  if (pictures.Empty()) {
    transcript.AppendLine(kEmptyAlbumWarning);
    ++context.counters().WarningCount;
    return;
  }

  for (const Picture& picture : pictures) {
    if (context.StopRequested()) return;
    if (!have_folder) {
      context.PictureDone();
      continue;
    }
    transcript.CutIfLong();
    const std::string& path = picture.path;
    std::string reason;
    const auto source_stamp = StampOf(path, &reason);
    if (!source_stamp) {
      if (reason.empty()) {
        transcript.AppendLine(std::string(kIndent) + "ERROR IN COPY: Picture " + path + " does not exist.");
        ++context.counters().ErrorCount;
      } else {
        context.ReportFailure(kIndent, "Reading picture " + path, reason);
      }
    } else if (const std::string target = JoinPath(album_folder, FileNameOf(path));
               StampOf(target) == source_stamp) {
      transcript.AppendLine(std::string(kIndent) + "Skipping copy picture " + path + " (" + target + ") EXISTS.");
    } else {
      transcript.AppendLine(std::string(kIndent) + "Copying picture " + path + " to " + target + ".");
      if (const auto failure = CopyFileKeepingTime(path, target)) {
        context.ReportFailure(kIndent, "Copying picture " + path + " to " + target, *failure);
      }
    }
    context.PictureDone();
  }
}

}  // namespace quorvale
