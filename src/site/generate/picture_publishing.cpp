#include "generate/picture_publishing.h"

#include <utility>
#include <variant>

#include "generate/generation_context.h"
#include "platform/file_copy.h"
#include "platform/path.h"
#include "layout/site_layout.h"

namespace quorvale {
namespace {

constexpr const char* kEmptyAlbumWarning = "        WARNING: ALBUM DOES NOT CONTAIN ANY PICTURE.";

// Copies one picture into the album folder under its file name, unless its copy there
// is up to date.
void PublishPicture(GenerationContext& context, FolderBelow& folder, SourceStamps& sources, int album_number,
                    const std::string& album_folder, const std::string& path, const PicturePublication& publication);
// Publishes a JPEG made from the picture in its place, unless the one there is newer
// than the picture; either way one counted warning says so.
void PublishStandIn(GenerationContext& context, FolderBelow& folder, SourceStamps& sources, int album_number,
                    const std::string& album_folder, const std::string& path, const PicturePublication& publication);

}  // namespace

void ReportEmptyAlbum(GenerationContext& context) {
  context.transcript().AppendLine(kEmptyAlbumWarning);
  ++context.counters().WarningCount;
}

std::optional<FileStamp> StampOfPictureToPublish(GenerationContext& context, SourceStamps& sources,
                                                 const std::string& path, const std::optional<FileStamp>& known) {
  if (known) return known;
  std::string reason;
  auto stamp = sources.Of(path, &reason);
  if (stamp) return stamp;
  if (reason.empty()) {
    context.transcript().AppendLine(std::string(kPictureStepIndent) + "ERROR IN COPY: Picture " + path +
                                    " does not exist.");
    ++context.counters().ErrorCount;
  } else {
    context.ReportFailure(kPictureStepIndent, "Reading picture " + path, reason);
  }
  return std::nullopt;
}

std::optional<FileStamp> StampOfPublishedFile(GenerationContext& context, FolderBelow& folder, int album_number,
                                              const std::string& name) {
  if (auto stamp = context.TakeLookedUpCopy(album_number, name)) return stamp;
  return folder.Stamp(name);
}

void PublishAlbumPictures(GenerationContext& context, int album_number) {
  std::vector<PicturePublication> publications;
  for (const Picture& picture : context.project().AlbumPictures(album_number)) {
    publications.push_back({FileNameOf(picture.path)});
  }
  PublishAlbumPictures(context, album_number, publications);
}

void PublishAlbumPictures(GenerationContext& context, int album_number,
                          const std::vector<PicturePublication>& publications) {
  const PictureMap& pictures = context.project().AlbumPictures(album_number);
  const std::string& publish_directory = context.publish_directory();
  const std::string album_folder = AlbumImageFolder(publish_directory, album_number);
  // Without its folder none of the album's pictures can be published: one error says so.
  // An album without pictures is still reported as such.
  const bool have_folder = context.EnsureFolder(kPictureStepIndent, ImagesFolderPath(publish_directory)) &&
                           context.EnsureFolder(kPictureStepIndent, album_folder);
  if (pictures.Empty()) {
    ReportEmptyAlbum(context);
    return;
  }

  // The album's folder is opened once for all its pictures, and so is each folder of
  // the pictures themselves.
  FolderBelow folder(publish_directory, album_folder);
  SourceStamps sources;
  std::size_t position = 0;
  for (const Picture& picture : pictures) {
    const PicturePublication& publication = publications.at(position++);
    if (context.StopRequested()) return;
    if (have_folder && publication.stand_in_for == PictureFormat::kNone) {
      PublishPicture(context, folder, sources, album_number, album_folder, picture.path, publication);
    } else if (have_folder) {
      PublishStandIn(context, folder, sources, album_number, album_folder, picture.path, publication);
    }
    context.PictureDone();
  }
}

namespace {

void PublishPicture(GenerationContext& context, FolderBelow& folder, SourceStamps& sources, int album_number,
                    const std::string& album_folder, const std::string& path, const PicturePublication& publication) {
  Transcript& transcript = context.transcript();
  transcript.CutIfLong();
  const auto source_stamp = StampOfPictureToPublish(context, sources, path, publication.source_stamp);
  if (!source_stamp) return;
  const std::string published_name = FileNameOf(path);
  const std::string target = JoinPath(album_folder, published_name);
  const auto copy_stamp = StampOfPublishedFile(context, folder, album_number, published_name);
  if (IsUpToDateCopy(*source_stamp, copy_stamp)) {
    transcript.AppendLine(std::string(kPictureStepIndent) + "Skipping copy picture " + path + " (" + target +
                          ") EXISTS.");
    context.Published(target, copy_stamp);
    return;
  }
  transcript.AppendLine(std::string(kPictureStepIndent) + "Copying picture " + path + " to " + target + ".");
  if (const auto failure = folder.Copy(path, published_name)) {
    context.ReportFailure(kPictureStepIndent, "Copying picture " + path + " to " + target, *failure);
  } else {
    context.Published(target, source_stamp);  // a copy takes its source's size and time
  }
}

void PublishStandIn(GenerationContext& context, FolderBelow& folder, SourceStamps& sources, int album_number,
                    const std::string& album_folder, const std::string& path, const PicturePublication& publication) {
  Transcript& transcript = context.transcript();
  transcript.CutIfLong();
  const auto source_stamp = StampOfPictureToPublish(context, sources, path, publication.source_stamp);
  if (!source_stamp) return;
  const std::string target = JoinPath(album_folder, publication.name);
  transcript.AppendLine(std::string(kPictureStepIndent) + "WARNING: The Torvexa viewer cannot show the " +
                        PictureFormatName(publication.stand_in_for) + " picture " + path + "; publishing " + target +
                        ", a JPEG made from it.");
  ++context.counters().WarningCount;
  // Made after the picture last changed: still up to date. (A stand-in never has the
  // picture's size, so the copy rule cannot tell.)
  if (const auto stand_in_stamp = StampOfPublishedFile(context, folder, album_number, publication.name)) {
    if (std::pair(stand_in_stamp->modified_seconds, stand_in_stamp->modified_nanoseconds) >
        std::pair(source_stamp->modified_seconds, source_stamp->modified_nanoseconds)) {
      return;
    }
  }
  PictureImaging* imaging = context.job().imaging;
  auto made = imaging != nullptr ? imaging->MakeStandIn(path)
                                 : std::variant<StandInJpeg, std::string>(std::string(kNoImagingReason));
  std::optional<std::string> failure;
  if (auto* reason = std::get_if<std::string>(&made)) {
    failure = std::move(*reason);
  } else {
    failure = context.WriteSiteFile(target, std::get<StandInJpeg>(made).bytes);
  }
  if (failure) context.ReportFailure(kPictureStepIndent, "Making " + target + " from picture " + path, *failure);
}

}  // namespace
}  // namespace quorvale
