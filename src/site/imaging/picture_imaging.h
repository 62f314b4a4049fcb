#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace quorvale {

// How the small images of a site are made. A record of earlier work is only reused
// while these are unchanged.
struct ImagingSettings {
  int thumbnail_box = 512;      // a thumbnail fits a square of this many pixels
  int display_box = 2048;       // so does a display copy
  int thumbnail_quality = 82;   // JPEG quality, 1 to 100
  int display_quality = 85;
  bool keep_location = false;   // the display copy keeps the GPS position of its source
  bool original_published = true;  // the site publishes the original, which can then serve as display copy
  bool operator==(const ImagingSettings&) const = default;
};

// The pixel sizes of one picture's images, after turning it upright.
struct PreparedPicture {
  int thumbnail_width = 0;
  int thumbnail_height = 0;
  int display_width = 0;
  int display_height = 0;
  // True when the published original serves as the display copy (the site publishes
  // originals, and this one already fits, is a JPEG, needs no turning and publishes no
  // location; or it is an animated GIF): no display file was written.
  bool display_is_original = false;
  bool operator==(const PreparedPicture&) const = default;
};

// Why a program without an imaging library cannot make a picture's images.
inline constexpr const char* kNoImagingReason = "this program was built without an imaging library";

// A picture file as the site publishes it for download.
struct CleanedOriginal {
  std::string bytes;
};

// A JPEG made from a picture whose format a viewer cannot show.
struct StandInJpeg {
  std::string bytes;
};

// A picture's images as JPEG bytes, and their sizes. The core writes them where they
// belong, through the same contained writer as every other file of the site.
struct PreparedImages {
  PreparedPicture sizes;
  std::string thumbnail;  // the thumbnail's bytes
  std::string display;    // the display copy's bytes; empty when the original serves
};

// A picture decoded small for the window's preview and picture list.
struct PreviewPicture {
  int width = 0;            // of the pixels below
  int height = 0;
  std::string rgba;         // 8-bit red, green, blue and alpha, row after row, upright, in sRGB
  int picture_width = 0;    // the whole picture's size, upright
  int picture_height = 0;
};

// The port through which generation has pictures decoded and scaled. The core only
// decides which pictures need the work, writes the images and reports the results; an
// implementation (libvips in quorvale_imaging, a fake in the tests) does the work and
// writes no file itself.
class PictureImaging {
 public:
  virtual ~PictureImaging() = default;

  // Makes the thumbnail of `source` and, unless the original can be shown itself, its
  // display copy; both JPEG, upright, in sRGB, without metadata (but the location when
  // `settings` keep it). Either the images or the reason, in words, why the picture
  // cannot be used (not an image, damaged, an unknown format, too large to decode).
  // Called from several threads at once; each call's reason is its own.
  virtual std::variant<PreparedImages, std::string> Prepare(const std::string& source,
                                                            const ImagingSettings& settings) = 0;

  // The bytes of a picture file (`source_bytes`, as the caller read them) as the site
  // publishes them for download: the same pixels, bit for bit, without the fields that
  // identify the camera and its owner (serial numbers, owner and author names, the
  // maker note) and, unless `keep_location`, without the location (GPS position, place
  // names). A file of a format that can hold none of these comes back unchanged. Either
  // the bytes or the reason, in words, why the file cannot be published so (damaged, or
  // of a format that may hold such fields but cannot be rewritten).
  virtual std::variant<CleanedOriginal, std::string> CleanOriginal(std::string_view source_bytes,
                                                                   bool keep_location) = 0;

  // A JPEG of the picture at `source` at its full size (its first image, when the file
  // holds several), upright, in sRGB, with a transparent part on white, keeping of its
  // metadata only the location: what a viewer that cannot show the picture's format
  // publishes in its place. Either the bytes or the reason, in words, why not.
  virtual std::variant<StandInJpeg, std::string> MakeStandIn(const std::string& source) = 0;

  // The picture at `source` (its first image) scaled down to fit a square of `box`
  // pixels, for a window to show the formats its own readers do not know. Either the
  // pixels or the reason, in words, why not. The same pixel limits hold as for Prepare.
  virtual std::variant<PreviewPicture, std::string> DecodePreview(const std::string& /*source*/, int /*box*/) {
    return std::string(kNoImagingReason);
  }

  // Called once before a batch of pictures with the number of workers that will call
  // Prepare at the same time, so the implementation can size its own threads to the
  // processor cores that are left for each.
  virtual void PlanWorkers(int /*workers*/) {}
};

}  // namespace quorvale
