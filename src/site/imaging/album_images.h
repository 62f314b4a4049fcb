#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "imaging/imaging_record.h"
#include "imaging/picture_imaging.h"
#include "platform/file_copy.h"
#include "platform/folder_listing.h"

namespace quorvale {

// The thumbnails and display copies of every picture of an album (or of a whole run),
// in every size the picture gets (see ResponsiveSizesOf), made in parallel and only
// where something changed.
//
// How a viewer's per-album step uses it:
//
//   AlbumImagesJob job;
//   job.root = ...;                            // the Publishing Directory
//   job.record_path = ...;                     // one record per album, under PhotoAlbum/
//   job.thumbnail_folder = ...; job.display_folder = ...;
//   for each picture, in album order:
//     job.pictures.push_back({source, published_original, thumbnail_path, display_path});
//   job.settings = ...; job.jobs = ...;
//   AlbumImagesEvents events;
//   events.picture_done = [&](std::size_t i, const PictureImagesResult& r) { ...transcript line... };
//   events.progress = [&](std::size_t finished, std::size_t total) { ...progress event... };
//   events.failure = [&](const std::string& what, const std::string& reason) { ...error line... };
//   const AlbumImagesResult images = PrepareAlbumImages(job, imaging, events, stop);
//   ...write the album's pages from images.pictures[i].sizes...
//   if (the pages were written and the run was not stopped) RemoveUnusedAlbumImages(job.root, images.unused);
//
// A picture is left alone when its source has the size and last-modified time the
// record names, all its images exist and the record was made with the same settings: then
// neither the source nor the images are opened, and the sizes come from the record.
// Every other picture is handed to the imaging port by a pool of workers, and the
// bytes it returns are written here. Afterwards the record is rewritten. Images that
// belong to no picture stay until RemoveUnusedAlbumImages: the pages still showing
// them are replaced first.
//
// Every folder, image and record is reached from `root` without following a link, and
// written as a temporary file renamed over the target: a link, a FIFO or a wrong kind of
// entry on the way is refused with its reason, and nothing is written through it.
struct PictureImages {
  std::string source;              // the picture file as the project names it
  std::string published_original;  // where the run publishes the original (the display copy when it serves)
  std::string thumbnail;           // the stem of its thumbnails' files (see SizedImagePath)
  std::string display;             // the stem of its display copies' files
  // The source's stamp when an earlier step of the run looked it up already; otherwise
  // it is looked up here.
  std::optional<FileStamp> source_stamp;
};

enum class PictureImagesState {
  kMade,      // made in this run
  kUpToDate,  // unchanged since the run that made it: taken from the record
  kMissing,   // no file at the source path
  kFailed,    // the imaging port could not use the picture, or its images could not be
              // written; `reason` says why
  kNoFolder,  // its image folders could not be made (reported once, through `failure`)
  kStopped,   // not reached: the run was stopped first
};

struct PictureImagesResult {
  PictureImagesState state = PictureImagesState::kStopped;
  PreparedPicture sizes;  // for kMade and kUpToDate
  std::string reason;     // for kFailed
  // For kUpToDate: each image file's stamp as the check found it, in the order of
  // SizedImagePaths, so whoever lists the site's files need not look them up again.
  std::vector<FileStamp> image_stamps;
  bool HasImages() const { return state == PictureImagesState::kMade || state == PictureImagesState::kUpToDate; }
};

struct AlbumImagesJob {
  std::string root;              // the Publishing Directory, below which everything else lies
  std::string record_path;       // the record of these pictures' images
  std::string thumbnail_folder;  // created (with its parent) when missing
  std::string display_folder;    // the same
  std::vector<PictureImages> pictures;
  ImagingSettings settings;
  int jobs = 0;  // at most this many workers; 0: as many as ImagingWorkerCount gives
  // The record (nothing inside when it was not whole) and the folders as looked at, when
  // that was done already in this run; else the step does it.
  std::optional<std::optional<ImagingRecord>> record_read{};
  std::optional<LookedAtFolder> thumbnail_looked_at{};
  std::optional<LookedAtFolder> display_looked_at{};
};

// Both are called on the thread that called PrepareAlbumImages, never at the same time.
struct AlbumImagesEvents {
  // Each picture's result, in the order of the job's pictures.
  std::function<void(std::size_t index, const PictureImagesResult& result)> picture_done;
  // The number of pictures finished so far (in whatever order they finish) of `total`.
  std::function<void(std::size_t finished, std::size_t total)> progress;
  // A failure of the album's own files (a folder of images, the record): what failed,
  // with its path, and the reason. The pictures' own failures come with their results.
  std::function<void(const std::string& what, const std::string& reason)> failure;
};

struct AlbumImagesResult {
  std::vector<PictureImagesResult> pictures;  // every picture's result, in job order
  // The regular files of the two folders, as listed before anything was made, that
  // belong to no picture with images: of pictures that left the album, or that could
  // not be made again. Full paths.
  std::vector<std::string> unused;
};

// Makes what is missing or out of date and returns every picture's result. A stop
// request is honoured between pictures: pictures not begun by then are kStopped, and
// the record keeps what was finished. Nothing is removed. Each folder is listed once,
// for what is up to date and what is unused alike.
AlbumImagesResult PrepareAlbumImages(const AlbumImagesJob& job, PictureImaging& imaging,
                                     const AlbumImagesEvents& events, std::stop_token stop);

// Removes the `unused` images PrepareAlbumImages found for a job below `root`, each only
// while it is still a regular file. Only for a caller that has replaced the pages that showed
// the earlier images, so no page refers to what goes.
void RemoveUnusedAlbumImages(const std::string& root, const std::vector<std::string>& unused);

// Pictures whose files are at most this large are small: their imaging is quick enough
// that two workers a core keep the cores busy.
inline constexpr std::uintmax_t kSmallPictureBytes = 1024 * 1024;

// The number of workers for `pictures` pictures, the largest file of them
// `largest_source` bytes, with a limit of `jobs` (0: none): one a processor core, two
// for small pictures.
int ImagingWorkerCount(int jobs, std::size_t pictures, std::uintmax_t largest_source);

// Removes the entries of `folder` below `root` named "album-K" (a folder of images) or
// "album-K<record_suffix>" (an album's record) with K >= album_count: what albums that
// no longer exist left behind; with `records_only`, only the records. Nothing else is
// touched, no link is followed or removed.
void RemoveImagesOfLaterAlbums(const std::string& root, const std::string& folder, int album_count,
                               const std::string& record_suffix, bool records_only = false);

}  // namespace quorvale
