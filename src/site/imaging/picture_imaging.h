#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorvale {

// How the small images of a site are made. A record of earlier work is only reused
// while these are unchanged.
struct ImagingSettings {
  // The sides of a tile's square thumbnails, cropped from the picture where it draws the
  // eye: a browser picks the one its screen needs, so a phone at three device pixels per
  // pixel and a desktop grid each load no more than they show.
  std::vector<int> thumbnail_sides = {256, 512, 768};
  // The squares the display copies fit, each giving a copy of the whole picture.
  std::vector<int> display_boxes = {1024, 1600, 2048};
  int thumbnail_quality = 82;   // JPEG quality, 1 to 100
  int display_quality = 85;
  int webp_quality = 80;        // the WebP beside each JPEG
  bool keep_location = false;   // the display copy keeps the GPS position of its source
  bool original_published = true;  // the site publishes the original, which can then serve as display copy
  bool operator==(const ImagingSettings&) const = default;
};

// The pixel size of one image.
struct ImageSize {
  int width = 0;
  int height = 0;
  bool operator==(const ImageSize&) const = default;
};

// The pixel sizes of one picture's images, after turning it upright, each set narrowest
// first and no two of a set of the same width.
struct PreparedPicture {
  std::vector<ImageSize> thumbnails;  // square, cropped to what draws the eye
  std::vector<ImageSize> displays;    // the whole picture
  // True when the published original serves as the widest display copy (the site
  // publishes originals, and this one already fits, is a JPEG, needs no turning and
  // publishes no location; or it is an animated GIF): no JPEG of that width was written.
  bool display_is_original = false;
  // A WebP was written beside each JPEG of the set (and beside the original when it
  // serves): only where the WebPs together are smaller than the JPEGs. An animated GIF
  // that serves itself gets none.
  bool thumbnails_webp = false;
  bool displays_webp = false;
  bool operator==(const PreparedPicture&) const = default;
};

// The image files of one size: JPEG bytes, and WebP bytes when the set has WebPs.
struct SizedImage {
  std::string jpeg;  // empty for the original's place when it serves as display copy
  std::string webp;
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

// A picture's images as bytes, and their sizes. The core writes them where they belong,
// through the same contained writer as every other file of the site.
struct PreparedImages {
  PreparedPicture sizes;
  std::vector<SizedImage> thumbnails;  // one per sizes.thumbnails
  std::vector<SizedImage> displays;    // one per sizes.displays
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

  // Makes the thumbnails of `source` and its display copies (but the original's own
  // size, when the original can be shown itself), in the sizes ResponsiveSizes gives;
  // JPEG and, where smaller, WebP; upright, in sRGB, without metadata (but the display
  // copies keep the location when `settings` keep it). Either the images or the reason, in words, why the picture
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
