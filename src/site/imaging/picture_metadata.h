#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvale {

// What a picture file says of itself: the texts of the fields that caption it and that
// tell when it was taken, as the file holds them, each list in the order in which the
// fields take precedence. A field the file does not hold is left out.
struct PictureMetadata {
  // XMP dc:description (its x-default language), IPTC Caption-Abstract, Exif
  // ImageDescription, Exif UserComment (decoded after its character-set header).
  std::vector<std::string> captions;
  // Exif DateTimeOriginal, Exif DateTimeDigitized, XMP photoshop:DateCreated, XMP
  // exif:DateTimeOriginal.
  std::vector<std::string> dates;
  bool operator==(const PictureMetadata&) const = default;
};

// The port through which pictures' own captions and dates are read when pictures
// arrive and when an album is sorted by date. An implementation (libexiv2 in
// quorvale_imaging, a fake in the tests) reads the file and decides nothing.
class PictureMetadataReader {
 public:
  virtual ~PictureMetadataReader() = default;
  // The fields of the picture file at `path`; nothing when it cannot be read (missing,
  // damaged, of no format whose metadata the implementation reads). Called from several
  // threads at once.
  virtual std::optional<PictureMetadata> Read(const std::string& path) = 0;
};

// The comment a picture brings with it: the first caption field that says something,
// trimmed, each run of line breaks and tabs made one blank (a comment is one line), cut
// to the comment limit. A field holding only blanks or a camera's placeholder ("OLYMPUS
// DIGITAL CAMERA", "SONY DSC", "default", ...) says nothing. Text that is not UTF-8 is
// read as Windows-1252, as older cameras and programs wrote it. Empty when no field says
// anything.
std::string CaptionOf(const PictureMetadata& metadata);

// When the picture was taken, from the first date field that holds a date: "YYYY-MM-DD
// HH:MM:SS" (a missing time of day counts as 00:00:00, seconds as 00; a time zone is
// left out), so that dates sort as text. Empty when no field holds a date.
std::string DateTakenOf(const PictureMetadata& metadata);

}  // namespace quorvale
