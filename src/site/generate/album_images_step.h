#pragma once

#include <optional>
#include <string>
#include <vector>

#include "generate/generation_job.h"
#include "imaging/album_images.h"

namespace quorvale {

class GenerationContext;

// A picture of an album under the name the site publishes it by.
struct PublishedPicture {
  std::string source;          // the picture as the project names it
  std::string published_name;  // its file name in PhotoAlbum/images/album-N, distinct within the album
  std::optional<FileStamp> source_stamp;  // as the originals step found it, when it did
};

// The imaging settings of a run: the fixed sizes and qualities, and the project's
// choice about location data.
ImagingSettings ImagingSettingsOf(const ProjectSettings& settings);

// Where album `album_number`'s images go (PhotoAlbum/thumbnails/album-N/,
// PhotoAlbum/display/album-N/, each named by SizedImagePath from the picture's published
// name; the published original in
// PhotoAlbum/images/album-N/) and with which settings and limit of workers.
AlbumImagesJob AlbumImagesJobFor(const GenerationJob& job, int album_number,
                                 const std::vector<PublishedPicture>& pictures);

// The thumbnails and display copies of one album, for a viewer whose pages show them.
// A viewer's per-album step calls it after copying the album's pictures, and writes its
// pages from the results (one per picture, in album order: the sizes, and whether the
// published original is the display copy).
//
// The transcript gets one line per picture, in album order: made, or skipped as
// unchanged, or, for a picture that cannot be decoded, one "ERROR:" line with its path
// and the reason, counted as an error (its place in the album stays; the pages show a
// placeholder); so does an image, a folder or the record that cannot be written below
// the Publishing Directory (a link or a special file in its place is refused, once). A
// missing picture gets no line here: the copying step reports it. Nothing is removed
// here (see RemoveUnusedImagesOfAlbum). The
// run's progress counts each picture as it finishes, so the viewer does not count the
// pictures itself. A stop request ends the work between pictures.
AlbumImagesResult MakeAlbumImages(GenerationContext& context, int album_number,
                                  const std::vector<PublishedPicture>& pictures);

// Once the album's page is written: removes the album's images that the page no longer
// shows (of pictures that left the album, or whose images could not be made again).
// Nothing after a stop: the old page may still show them.
void RemoveUnusedImagesOfAlbum(GenerationContext& context, const AlbumImagesResult& images);

// Once the home page is written: removes the images and records of albums that no
// longer exist. Nothing after a stop.
void RemoveImagesOfRemovedAlbums(GenerationContext& context);

}  // namespace quorvale
