#include "generate/picture_publishing.h"

#include "generate/generation_context.h"
#include "platform/file_copy.h"
#include "platform/path.h"
#include "site/site_layout.h"

namespace quorvale {
namespace {

constexpr const char* kIndent = "        ";
constexpr const char* kEmptyAlbumWarning = "        WARNING: ALBUM DOES NOT CONTAIN ANY PICTURE.";

void Publish(GenerationContext& context, int album_number, const std::vector<std::string>& published_names,
             bool count_progress) {
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

  // The album's folder is opened once for all its pictures.
  FolderBelow folder(publish_directory, album_folder);
  std::size_t position = 0;
  for (const Picture& picture : pictures) {
    const std::string& published_name = published_names.at(position++);
    if (context.StopRequested()) return;
    if (!have_folder) {
      if (count_progress) context.PictureDone();
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
    } else if (const std::string target = JoinPath(album_folder, published_name);
               IsUpToDateCopy(*source_stamp, folder.Stamp(published_name))) {
      transcript.AppendLine(std::string(kIndent) + "Skipping copy picture " + path + " (" + target + ") EXISTS.");
    } else {
      transcript.AppendLine(std::string(kIndent) + "Copying picture " + path + " to " + target + ".");
      if (const auto failure = folder.Copy(path, published_name)) {
        context.ReportFailure(kIndent, "Copying picture " + path + " to " + target, *failure);
      }
    }
    if (count_progress) context.PictureDone();
  }
}

}  // namespace

void PublishAlbumPictures(GenerationContext& context, int album_number) {
  std::vector<std::string> file_names;
  for (const Picture& picture : context.project().AlbumPictures(album_number)) {
    file_names.push_back(FileNameOf(picture.path));
  }
  Publish(context, album_number, file_names, true);
}

void PublishAlbumPictures(GenerationContext& context, int album_number,
                          const std::vector<std::string>& published_names) {
  Publish(context, album_number, published_names, false);
}

}  // namespace quorvale
