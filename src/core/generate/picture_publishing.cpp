#include "generate/picture_publishing.h"

#include "applet_output/page_file.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace quorvale {
namespace {

constexpr const char* kIndent = "        ";
constexpr const char* kEmptyAlbumWarning = "        WARNING: ALBUM DOES NOT CONTAIN ANY PICTURE.";

// Creates the folder when it is missing; false (reported and counted) when it cannot be.
bool EnsureFolder(const GenerationContext& context, const std::string& folder) {
  if (FolderExists(folder)) return true;
  if (const auto reason = CreateFolder(folder)) {
    context.ReportFailure(kIndent, "Creating folder " + folder, *reason);
    return false;
  }
  return true;
}

}  // namespace

std::string AlbumImageFolder(const std::string& publish_directory, int album_number) {
  return JoinPath(JoinPath(JoinPath(publish_directory, "PhotoAlbum"), "images"), AlbumBaseName(album_number));
}

void PublishAlbumPictures(const GenerationContext& context, const std::string& publish_directory, int album_number) {
  const PictureMap& pictures = context.project.AlbumPictures(album_number);
  const std::string album_folder = AlbumImageFolder(publish_directory, album_number);
  // Without its folder none of the album's pictures can be published: one error says so.
  // An album without pictures is still reported as such.
  const bool have_folder = EnsureFolder(context, JoinPath(JoinPath(publish_directory, "PhotoAlbum"), "images")) &&
                           EnsureFolder(context, album_folder);
  if (pictures.Empty()) {
    context.transcript.AppendLine(kEmptyAlbumWarning);
    ++context.counters.WarningCount;
    return;
  }
  if (!have_folder) return;

  for (const Picture& picture : pictures) {
    context.transcript.CutIfLong();
    const std::string& path = picture.path;
    std::string reason;
    const auto source_stamp = StampOf(path, &reason);
    if (!source_stamp) {
      if (reason.empty()) {
        context.transcript.AppendLine(std::string(kIndent) + "ERROR IN COPY: Picture " + path + " does not exist.");
        ++context.counters.ErrorCount;
      } else {
        context.ReportFailure(kIndent, "Reading picture " + path, reason);
      }
      continue;
    }
    const std::string target = JoinPath(album_folder, FileNameOf(path));
    const auto target_stamp = StampOf(target);
    if (target_stamp && IsUpToDateCopy(*source_stamp, *target_stamp)) {
      context.transcript.AppendLine(std::string(kIndent) + "Skipping copy picture " + path + " (" + target +
                                    ") EXISTS.");
      continue;
    }
    context.transcript.AppendLine(std::string(kIndent) + "Copying picture " + path + " to " + target + ".");
    if (const auto failure = CopyFileKeepingTime(path, target)) {
      context.ReportFailure(kIndent, "Copying picture " + path + " to " + target, *failure);
    }
  }
}

}  // namespace quorvale
