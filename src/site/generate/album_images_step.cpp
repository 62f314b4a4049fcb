#include "generate/album_images_step.h"

#include "generate/generation_context.h"
#include "imaging/responsive_sizes.h"
#include "platform/path.h"
#include "layout/site_layout.h"

namespace quorvale {
namespace {

// "-256/512/768": the widths of a set, as they follow a stem in its files' names.
std::string Widths(const std::vector<ImageSize>& sizes) {
  std::string text;
  for (const ImageSize& size : sizes) text.append(text.empty() ? "-" : "/").append(std::to_string(size.width));
  return text;
}

// The transcript line of a picture whose images are there.
void AppendImagesLine(Transcript& transcript, const PictureImages& picture, const PictureImagesResult& result) {
  const std::string& source = picture.source;
  if (result.state == PictureImagesState::kUpToDate) {
    transcript.AppendLine({kPictureStepIndent, "Skipping images of picture ", source, " (", picture.thumbnail,
                           ") UNCHANGED."});
    return;
  }
  const PreparedPicture& sizes = result.sizes;
  const std::string formats = sizes.thumbnails_webp || sizes.displays_webp ? " (JPEG and WebP)" : " (JPEG)";
  std::string line = std::string(kPictureStepIndent) + "Made thumbnails " + picture.thumbnail +
                     Widths(sizes.thumbnails) + " and display copies " + picture.display + Widths(sizes.displays) +
                     " of picture " + source + formats;
  if (sizes.display_is_original) line += "; the published picture is its widest display copy";
  transcript.AppendLine(line + ".");
}

}  // namespace

ImagingSettings ImagingSettingsOf(const ProjectSettings& settings) {
  ImagingSettings imaging;
  imaging.keep_location = settings.KeepLocation;
  imaging.original_published = settings.PublishPictures != 0;
  return imaging;
}

AlbumImagesJob AlbumImagesJobFor(const GenerationJob& job, int album_number,
                                 const std::vector<PublishedPicture>& pictures) {
  const std::string& publish_directory = job.settings.PublishDirectory;
  AlbumImagesJob images;
  images.root = publish_directory;
  images.record_path = AlbumImagingRecordPath(publish_directory, album_number);
  images.thumbnail_folder = AlbumThumbnailFolder(publish_directory, album_number);
  images.display_folder = AlbumDisplayFolder(publish_directory, album_number);
  const std::string originals = AlbumImageFolder(publish_directory, album_number);
  images.pictures.reserve(pictures.size());
  for (const PublishedPicture& picture : pictures) {
    images.pictures.push_back({picture.source, JoinPath(originals, picture.published_name),
                               JoinPath(images.thumbnail_folder, picture.published_name),
                               JoinPath(images.display_folder, picture.published_name), picture.source_stamp});
  }
  images.settings = ImagingSettingsOf(job.settings);
  images.jobs = job.imaging_jobs;
  return images;
}

AlbumImagesResult MakeAlbumImages(GenerationContext& context, int album_number,
                                  const std::vector<PublishedPicture>& pictures) {
  AlbumImagesJob job = AlbumImagesJobFor(context.job(), album_number, pictures);
  job.record_read = context.TakeReadAhead<std::optional<ImagingRecord>>(album_number, job.record_path);
  job.thumbnail_looked_at = context.TakeListedAhead(album_number, job.thumbnail_folder);
  job.display_looked_at = context.TakeListedAhead(album_number, job.display_folder);
  if (context.job().imaging == nullptr) {
    AlbumImagesResult images;
    std::vector<PictureImagesResult>& results = images.pictures;
    results.resize(pictures.size());
    if (!pictures.empty()) {
      context.ReportFailure(kPictureStepIndent, "Making the thumbnails of album " + std::to_string(album_number),
                            kNoImagingReason);
    }
    for (PictureImagesResult& result : results) {
      result.state = PictureImagesState::kFailed;
      result.reason = kNoImagingReason;
      context.PictureDone();
    }
    return images;
  }

  std::size_t counted = 0;
  AlbumImagesEvents events;
  events.progress = [&](std::size_t finished, std::size_t) {
    for (; counted < finished; ++counted) context.PictureDone();
  };
  events.failure = [&](const std::string& what, const std::string& reason) {
    context.ReportFailure(kPictureStepIndent, what, reason);
  };
  std::string path;  // each image's, in turn
  events.picture_done = [&](std::size_t i, const PictureImagesResult& result) {
    const PictureImages& picture = job.pictures[i];
    context.transcript().CutIfLong();
    if (result.HasImages()) {
      AppendImagesLine(context.transcript(), picture, result);
      // An up-to-date picture's files were looked up just now; made ones are looked up
      // when the manifest is written.
      const std::vector<FileStamp>& stamps = result.image_stamps;
      std::size_t k = 0;
      ForEachSizedImage(result.sizes, [&](bool thumbnail, int width, bool webp) {
        AssignSizedImagePath(path, thumbnail ? picture.thumbnail : picture.display, width, webp);
        context.Published(path, k < stamps.size() ? std::optional(stamps[k]) : std::nullopt);
        ++k;
      });
    } else if (result.state == PictureImagesState::kFailed) {
      context.ReportFailure(kPictureStepIndent, "Making the thumbnail of picture " + picture.source, result.reason);
    }
  };
  return PrepareAlbumImages(job, *context.job().imaging, events, context.StopToken());
}

void RemoveUnusedImagesOfAlbum(GenerationContext& context, const AlbumImagesResult& images) {
  if (context.StopRequested()) return;
  RemoveUnusedAlbumImages(context.publish_directory(), images.unused);
}

void RemoveImagesOfRemovedAlbums(GenerationContext& context) {
  if (context.StopRequested()) return;
  const std::string& publish_directory = context.publish_directory();
  const int album_count = context.project().AlbumCount();
  RemoveImagesOfLaterAlbums(publish_directory, ThumbnailsFolderPath(publish_directory), album_count,
                            kImagingRecordExtension);
  RemoveImagesOfLaterAlbums(publish_directory, DisplayFolderPath(publish_directory), album_count, "");
  // The records of the originals those albums published (the originals themselves stay
  // in PhotoAlbum/images, as with every viewer).
  RemoveImagesOfLaterAlbums(publish_directory, ThumbnailsFolderPath(publish_directory), album_count,
                            std::string(kOriginalsRecordInfix) + kImagingRecordExtension);
  // And the records of the pages they had.
  RemoveImagesOfLaterAlbums(publish_directory, ThumbnailsFolderPath(publish_directory), album_count,
                            std::string(kPageRecordInfix) + kImagingRecordExtension, true);
}

}  // namespace quorvale
