// libvips behind the PictureImaging port, built as a module of its own that the
// programs load when the first picture needs it (libvips brings a hundred shared
// libraries, and a run that makes no image should not wait for them).
#include "imaging/picture_imaging.h"
#include "imaging/responsive_sizes.h"
#include "vips/exiv2_metadata.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <glib/gstdio.h>
#include <vips/vips.h>
// vips_vector_set_enabled: not in the umbrella header of every libvips.
#include <vips/vector.h>

namespace quorvale {
namespace {

constexpr const char* kGpsFieldPrefix = "exif-ifd3-";  // libexif's fourth directory holds the GPS tags

// The most pixels a picture (one frame of it) may have: 200 megapixels, more than any
// camera takes. A file that claims more is refused before anything is decoded: its
// pixels would take gigabytes, and a file of a few bytes can claim them.
constexpr std::uint64_t kMaxFramePixels = 200'000'000;
// A GIF is decoded whole, frame by frame, into a canvas as large as its largest frame:
// its frames are held to less, and so are all its frames together and their number.
constexpr std::uint64_t kMaxGifFramePixels = 50'000'000;
constexpr std::uint64_t kMaxGifTotalPixels = 1'000'000'000;
constexpr std::uint64_t kMaxGifFrames = 10'000;
// A file whose data ends early or does not match its header is an error, not a picture
// with a grey part. libjpeg reports a header that claims more than the data holds only
// as a warning, so warnings count too.
constexpr VipsFailOn kFailOn = VIPS_FAIL_ON_WARNING;
// The same rule written as a loader option.
constexpr const char* kFailOnOption = "fail_on=warning";

// The reasons a picture cannot be used, in this program's own words: libvips keeps one
// error buffer for the whole process, so what it holds after a failure may be another
// worker's.
constexpr const char* kUnreadable = "it is not a picture in a format this program reads, or it is damaged";
constexpr const char* kUndecodable = "its picture data is damaged or cut short";
constexpr const char* kUnencodable = "its images could not be made";

struct ImageUnref {
  void operator()(VipsImage* image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, ImageUnref>;

struct SourceUnref {
  void operator()(VipsSource* source) const { g_object_unref(source); }
};
using Source = std::unique_ptr<VipsSource, SourceUnref>;

// A picture file opened once: every later read of it (the header, the decode) goes
// through the one descriptor. A source made from a descriptor carries no file name, so
// libvips finds the loader from the bytes it has read; given a name, it would let every
// loader that knows only names (slide scanners' formats, databases) open the file
// again: some seventy opens a picture.
struct OpenedPicture {
  Source file;
  Image header;
  std::uintmax_t bytes = 0;  // the file's size
};

struct FieldsFree {
  void operator()(gchar** fields) const { g_strfreev(fields); }
};

std::once_flag vips_started;
std::string vips_start_failure;

// libvips keeps one error buffer for the whole process; a failing picture empties it so
// that it does not grow, and reports its own reason instead.
std::mutex error_mutex;

void DropMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

void StartVips() {
  if (vips_init("quorvale") != 0) {
    vips_start_failure = "the imaging library could not start";
    return;
  }
  // Loaders that libvips does not vouch for (such as the one through ImageMagick) may
  // not read the user's files: a text file named .jpg is no picture.
  vips_block_untrusted_set(TRUE);
  // Every picture is decoded once: remembering operations would only hold pixels.
  vips_cache_set_max(0);
  // The loops libvips compiles at run time with liborc are freed without a lock in the
  // liborc of Debian 12 (0.4.33): two pictures finishing at once on two workers corrupt
  // its lists, and the run dies, about once in several thousand pictures. libvips's plain
  // C loops are used instead; they cost about a third more time on large pictures.
  vips_vector_set_enabled(FALSE);
  // A damaged file is reported through the run's own error line; libvips's warnings
  // on standard error would only repeat it out of order.
  g_log_set_handler("VIPS", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO),
                    DropMessage, nullptr);
}

// `reason`, after the library's own text of a failure is dropped.
std::string Failure(const char* reason) {
  std::lock_guard lock(error_mutex);
  vips_error_clear();
  return reason;
}

std::string PixelsOver(const char* what, std::uint64_t width, std::uint64_t height, std::uint64_t limit) {
  return what + std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
         std::to_string(limit / 1'000'000) + " megapixels this program decodes";
}

// Reads a GIF's block structure, no pixels, and refuses one whose frames are too large
// or too many to decode (a frame may claim far more than its screen). Anything else, a
// damaged file included, is left to the decoder. Reads the open file `descriptor` from
// its start and moves its offset.
std::optional<std::string> CheckGifFrames(int descriptor) {
  unsigned char header[13];
  if (pread(descriptor, header, sizeof header, 0) != static_cast<ssize_t>(sizeof header) ||
      std::string_view(reinterpret_cast<char*>(header), 3) != "GIF") {
    return std::nullopt;
  }
  struct FileClose {
    void operator()(FILE* file) const { std::fclose(file); }
  };
  const int copy = dup(descriptor);
  if (copy < 0) return std::nullopt;
  const std::unique_ptr<FILE, FileClose> file(fdopen(copy, "rb"));
  if (!file) {
    close(copy);
    return std::nullopt;
  }
  FILE* in = file.get();
  if (std::fseek(in, sizeof header, SEEK_SET) != 0) return std::nullopt;
  const auto word = [](const unsigned char* at) { return std::uint64_t{at[0]} | (std::uint64_t{at[1]} << 8); };
  const auto skip_colour_table = [in](unsigned char packed) {
    return (packed & 0x80) == 0 || std::fseek(in, 3L << ((packed & 7) + 1), SEEK_CUR) == 0;
  };
  const auto skip_sub_blocks = [in] {
    for (int size = std::fgetc(in); size > 0; size = std::fgetc(in)) {
      if (std::fseek(in, size, SEEK_CUR) != 0) return false;
    }
    return true;
  };
  const std::uint64_t screen_width = word(header + 6);
  const std::uint64_t screen_height = word(header + 8);
  if (!skip_colour_table(header[10])) return std::nullopt;
  std::uint64_t frames = 0;
  std::uint64_t total = 0;
  for (int block = std::fgetc(in); block == 0x21 || block == 0x2C; block = std::fgetc(in)) {
    if (block == 0x21) {
      if (std::fgetc(in) == EOF || !skip_sub_blocks()) return std::nullopt;
      continue;
    }
    unsigned char frame[9];
    if (std::fread(frame, 1, sizeof frame, in) != sizeof frame) return std::nullopt;
    // The canvas grows to hold a frame that reaches beyond the screen.
    const std::uint64_t width = std::max(screen_width, word(frame) + word(frame + 4));
    const std::uint64_t height = std::max(screen_height, word(frame + 2) + word(frame + 6));
    if (width * height > kMaxGifFramePixels) return PixelsOver("a frame of it is ", width, height, kMaxGifFramePixels);
    total += word(frame + 4) * word(frame + 6);
    if (++frames > kMaxGifFrames) return "it has more than " + std::to_string(kMaxGifFrames) + " frames";
    if (total > kMaxGifTotalPixels) {
      return "its frames together have more than " + std::to_string(kMaxGifTotalPixels / 1'000'000) + " megapixels";
    }
    if (!skip_colour_table(frame[8]) || std::fgetc(in) == EOF || !skip_sub_blocks()) return std::nullopt;
  }
  return std::nullopt;
}

std::string StringField(VipsImage* image, const char* name) {
  const char* value = nullptr;
  if (vips_image_get_typeof(image, name) == 0 || vips_image_get_string(image, name, &value) != 0) return {};
  return value != nullptr ? value : "";
}

std::string_view BlobField(VipsImage* image, const char* name) {
  const void* data = nullptr;
  std::size_t length = 0;
  if (vips_image_get_typeof(image, name) == 0 || vips_image_get_blob(image, name, &data, &length) != 0) return {};
  return {static_cast<const char*>(data), length};
}

// A GPS tag in the EXIF data, or a GPS property in the XMP packet.
bool HoldsLocation(VipsImage* image) {
  const std::unique_ptr<gchar*, FieldsFree> fields(vips_image_get_fields(image));
  for (gchar** field = fields.get(); field != nullptr && *field != nullptr; ++field) {
    if (std::string_view(*field).starts_with(kGpsFieldPrefix)) return true;
  }
  const std::string_view xmp = BlobField(image, VIPS_META_XMP_NAME);
  return xmp.find("GPSLatitude") != std::string_view::npos || xmp.find("GPSLongitude") != std::string_view::npos;
}

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  if (at + 4 > bytes.size()) return 0;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The description of an ICC profile (its 'desc' tag, in either of the two layouts
// that tag has had), with any UTF-16 narrowed to its ASCII characters.
std::string ProfileDescription(std::string_view profile) {
  const std::uint32_t tags = BigEndian32(profile, 128);
  for (std::uint32_t i = 0; i < tags && 132 + 12 * (i + 1) <= profile.size(); ++i) {
    const std::size_t entry = 132 + 12 * std::size_t{i};
    if (profile.substr(entry, 4) != "desc") continue;
    const std::size_t at = BigEndian32(profile, entry + 4);
    const std::size_t size = BigEndian32(profile, entry + 8);
    if (at >= profile.size() || size > profile.size() - at) return {};
    const std::string_view tag = profile.substr(at, size);
    if (tag.substr(0, 4) == "desc") {
      return std::string(tag.substr(12, std::min<std::size_t>(BigEndian32(tag, 8), tag.size() > 12 ? tag.size() - 12 : 0)));
    }
    if (tag.substr(0, 4) == "mluc" && BigEndian32(tag, 8) > 0) {
      const std::size_t length = BigEndian32(tag, 20);
      const std::size_t offset = BigEndian32(tag, 24);
      if (offset >= tag.size() || length > tag.size() - offset) return {};
      std::string text;
      for (std::size_t j = 1; j < length; j += 2) text += tag[offset + j];
      return text;
    }
    return {};
  }
  return {};
}

// Pixels a browser shows as they are: plain sRGB (or grey) without a profile, or with
// a profile that says it is sRGB.
bool IsPlainSrgb(VipsImage* image) {
  const VipsInterpretation interpretation = vips_image_guess_interpretation(image);
  if (interpretation != VIPS_INTERPRETATION_sRGB && interpretation != VIPS_INTERPRETATION_B_W) return false;
  const std::string_view profile = BlobField(image, VIPS_META_ICC_NAME);
  return profile.empty() || ProfileDescription(profile).find("sRGB") != std::string::npos;
}

// Whether the pixels need a colour transform to become sRGB: a picture with its own
// profile, or one in CMYK. Plain RGB and grey need none (and skip its cost).
bool NeedsColourTransform(VipsImage* header) {
  return vips_image_get_typeof(header, VIPS_META_ICC_NAME) != 0 ||
         vips_image_guess_interpretation(header) == VIPS_INTERPRETATION_CMYK;
}

// The picture scaled down (never up) to fit `box` x `box`, upright, in sRGB. A file
// that ends early is an error, not a picture with a grey lower part. The loader's own
// options carry that rule: libvips 8.14 does not hand the thumbnail's `fail_on` to the
// loader of a source.
Image Thumbnail(const OpenedPicture& picture, int box) {
  VipsImage* out = nullptr;
  VipsSource* file = picture.file.get();
  const int failed =
      NeedsColourTransform(picture.header.get())
          ? vips_thumbnail_source(file, &out, box, "height", box, "size", VIPS_SIZE_DOWN, "option_string",
                                  kFailOnOption, "export_profile", "srgb", nullptr)
          : vips_thumbnail_source(file, &out, box, "height", box, "size", VIPS_SIZE_DOWN, "option_string",
                                  kFailOnOption, nullptr);
  if (failed != 0) return nullptr;
  return Image(out);
}

// The image with only the metadata that may be published: nothing at all, or, when
// the location is kept, the EXIF GPS tags alone.
Image PublishableCopy(VipsImage* image, bool keep_location) {
  VipsImage* out = nullptr;
  if (vips_image_hasalpha(image)) {
    // A JPEG has no transparency: transparent parts of a GIF or PNG turn white.
    VipsArrayDouble* white = vips_array_double_newv(1, 255.0);
    const int failed = vips_flatten(image, &out, "background", white, nullptr);
    vips_area_unref(VIPS_AREA(white));
    if (failed != 0) return nullptr;
  } else if (vips_copy(image, &out, nullptr) != 0) {
    return nullptr;
  }
  Image copy(out);
  if (!keep_location) return copy;
  const std::unique_ptr<gchar*, FieldsFree> fields(vips_image_get_fields(copy.get()));
  for (gchar** field = fields.get(); field != nullptr && *field != nullptr; ++field) {
    const std::string_view name(*field);
    const bool metadata = name.starts_with("exif-ifd") || name == VIPS_META_XMP_NAME ||
                          name == VIPS_META_IPTC_NAME || name == VIPS_META_PHOTOSHOP_NAME ||
                          name == VIPS_META_ICC_NAME || name == VIPS_META_IMAGEDESCRIPTION;
    if (metadata && !name.starts_with(kGpsFieldPrefix)) vips_image_remove(copy.get(), *field);
  }
  return copy;
}

// The JPEG bytes of the image, or nothing. The caller writes them where they belong.
std::optional<std::string> EncodeJpeg(VipsImage* image, int quality, bool keep_location) {
  const Image publishable = PublishableCopy(image, keep_location);
  if (!publishable) return std::nullopt;
  void* buffer = nullptr;
  std::size_t length = 0;
  if (vips_jpegsave_buffer(publishable.get(), &buffer, &length, "Q", quality, "strip", keep_location ? FALSE : TRUE,
                           nullptr) != 0) {
    return std::nullopt;
  }
  std::string bytes(static_cast<const char*>(buffer), length);
  g_free(buffer);
  return bytes;
}

// How hard the WebP encoder works: a low effort keeps a first run near the time the
// JPEGs alone take, and costs a few percent of size.
constexpr int kWebpEffort = 2;

// The WebP bytes of the image, or nothing; with the same metadata as its JPEG.
std::optional<std::string> EncodeWebp(VipsImage* image, int quality, bool keep_location) {
  const Image publishable = PublishableCopy(image, keep_location);
  if (!publishable) return std::nullopt;
  void* buffer = nullptr;
  std::size_t length = 0;
  if (vips_webpsave_buffer(publishable.get(), &buffer, &length, "Q", quality, "effort", kWebpEffort, "strip",
                           keep_location ? FALSE : TRUE, nullptr) != 0) {
    return std::nullopt;
  }
  std::string bytes(static_cast<const char*>(buffer), length);
  g_free(buffer);
  return bytes;
}

// `image` scaled to `size` (its aspect, to within a pixel), or the image itself at its
// own size. The result is held in memory: it is encoded twice.
Image Scaled(VipsImage* image, const ImageSize& size) {
  if (vips_image_get_width(image) == size.width && vips_image_get_height(image) == size.height) {
    g_object_ref(image);
    return Image(image);
  }
  // Fitted to a square of its longer side, so that side comes out to the pixel.
  const int box = std::max(size.width, size.height);
  VipsImage* out = nullptr;
  if (vips_thumbnail_image(image, &out, box, "height", box, "size", VIPS_SIZE_DOWN, nullptr) != 0) return nullptr;
  const Image scaled(out);
  return Image(vips_image_copy_memory(scaled.get()));
}

// The square of `side` pixels cut from `image` where it draws the eye (libvips's
// attention measure: edges, skin tones, saturated colours), after scaling the image so
// that its shorter side is `side`. Held in memory: the smaller squares are scaled from it.
Image AttentionSquare(VipsImage* image, int side) {
  VipsImage* out = nullptr;
  if (vips_thumbnail_image(image, &out, side, "height", side, "crop", VIPS_INTERESTING_ATTENTION, nullptr) != 0) {
    return nullptr;
  }
  const Image square(out);
  return Image(vips_image_copy_memory(square.get()));
}

// One set of images, `scaled`, encoded as JPEG (where `jpeg_wanted`) and WebP: the WebPs
// are kept only when together they are smaller than the JPEGs, whose total starts at
// `jpeg_total` (the original's bytes when it serves). The sizes as made are written
// into `sizes`. False when an image cannot be encoded.
bool MakeSet(const std::vector<Image>& scaled, std::vector<ImageSize>& sizes, std::vector<SizedImage>& images,
             bool& webp, const std::vector<bool>& jpeg_wanted, int quality, int webp_quality, bool keep_location,
             std::uintmax_t jpeg_total) {
  std::uintmax_t webp_total = 0;
  images.assign(scaled.size(), {});
  for (std::size_t i = 0; i < scaled.size(); ++i) {
    VipsImage* image = scaled[i].get();
    sizes[i] = {vips_image_get_width(image), vips_image_get_height(image)};
    if (jpeg_wanted[i]) {
      auto jpeg = EncodeJpeg(image, quality, keep_location);
      if (!jpeg) return false;
      images[i].jpeg = std::move(*jpeg);
      jpeg_total += images[i].jpeg.size();
    }
    auto encoded = EncodeWebp(image, webp_quality, keep_location);
    if (!encoded) return false;
    images[i].webp = std::move(*encoded);
    webp_total += images[i].webp.size();
  }
  webp = webp_total < jpeg_total;
  if (!webp) {
    for (SizedImage& image : images) image.webp.clear();
  }
  return true;
}

// The header of the picture at `source` (its first image), read without decoding a
// pixel; or the reason it must not be decoded: not readable, more pixels in a frame than
// this program decodes, a GIF with frames too large or too many.
std::variant<OpenedPicture, std::string> DecodableHeader(const std::string& source) {
  std::call_once(vips_started, StartVips);
  if (!vips_start_failure.empty()) return vips_start_failure;
  // Opening does not wait (a pipe put in the picture's place would), and only a regular
  // file is read.
  struct Descriptor {
    int number;
    ~Descriptor() {
      if (number >= 0) close(number);
    }
  } const opened{g_open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK, 0)};
  const int descriptor = opened.number;
  struct stat status;
  if (descriptor < 0 || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return Failure(kUnreadable);
  if (auto refused = CheckGifFrames(descriptor)) return *refused;
  // The source reads through a copy of the descriptor, from its offset.
  if (lseek(descriptor, 0, SEEK_SET) != 0) return Failure(kUnreadable);
  OpenedPicture picture;
  picture.bytes = static_cast<std::uintmax_t>(status.st_size);
  picture.file.reset(vips_source_new_from_descriptor(descriptor));
  if (!picture.file) return Failure(kUnreadable);
  picture.header.reset(vips_image_new_from_source(picture.file.get(), "", "access", VIPS_ACCESS_SEQUENTIAL, "fail_on",
                                                  kFailOn, nullptr));
  if (!picture.header) return Failure(kUnreadable);
  const auto width = std::uint64_t(vips_image_get_width(picture.header.get()));
  const auto height = std::uint64_t(vips_image_get_page_height(picture.header.get()));
  if (width * height > kMaxFramePixels) return PixelsOver("it is ", width, height, kMaxFramePixels);
  return picture;
}

// JPEGs decoded with shrink-on-load, one decode per picture for all its images (each
// scaled from the widest display copy in memory), the EXIF orientation applied,
// colours converted to sRGB, metadata left out.
class VipsEngine final : public PictureImaging {
 public:
  std::variant<PreparedImages, std::string> Prepare(const std::string& source,
                                                    const ImagingSettings& settings) override;
  std::variant<CleanedOriginal, std::string> CleanOriginal(std::string_view source_bytes,
                                                           bool keep_location) override {
    return CleanPictureMetadata(source_bytes, keep_location);
  }
  std::variant<StandInJpeg, std::string> MakeStandIn(const std::string& source) override;
  std::variant<PreviewPicture, std::string> DecodePreview(const std::string& source, int box) override;
  void PlanWorkers(int workers) override;
};

// The quality of a JPEG that stands in for a picture at its full size.
constexpr int kStandInQuality = 90;

void VipsEngine::PlanWorkers(int workers) {
  std::call_once(vips_started, StartVips);
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  vips_concurrency_set(std::max(1, cores / std::max(1, workers)));
}

std::variant<PreparedImages, std::string> VipsEngine::Prepare(const std::string& source,
                                                              const ImagingSettings& settings) {
  // The header alone says whether the picture may be decoded at all, and whether the
  // original can serve as the display copy.
  auto opened = DecodableHeader(source);
  if (auto* refused = std::get_if<std::string>(&opened)) return std::move(*refused);
  const OpenedPicture picture = std::move(std::get<OpenedPicture>(opened));
  VipsImage* header = picture.header.get();
  const std::string loader = StringField(header, VIPS_META_LOADER);
  const int width = vips_image_get_width(header);
  const int height = vips_image_get_page_height(header);
  const int widest_box =
      settings.display_boxes.empty() ? 0 : *std::max_element(settings.display_boxes.begin(), settings.display_boxes.end());
  // An animated GIF or WebP is shown as it is: a still copy would lose the animation.
  const bool animated = (loader.starts_with("gifload") || loader.starts_with("webpload")) &&
                        vips_image_get_n_pages(header) > 1;
  const bool fits = width <= widest_box && height <= widest_box;
  const bool original_serves =
      settings.original_published &&
      (animated || (loader.starts_with("jpegload") && fits && vips_image_get_orientation(header) <= 1 &&
                       (settings.keep_location || !HoldsLocation(header)) && IsPlainSrgb(header)));

  // One decode for every image: the picture, upright and in sRGB, scaled to the widest
  // display box (never up) and held in memory (at most that box in pixels); every other
  // image is scaled from it.
  const Image decoded = Thumbnail(picture, std::max(widest_box, 1));
  const Image base(decoded ? vips_image_copy_memory(decoded.get()) : nullptr);
  if (!base) return Failure(kUndecodable);
  const int base_width = vips_image_get_width(base.get());
  const int base_height = vips_image_get_height(base.get());
  const ResponsiveSizes wanted = ResponsiveSizesOf(base_width, base_height, settings);
  if (wanted.thumbnails.empty() || wanted.displays.empty()) return Failure(kUnencodable);

  PreparedImages images;
  PreparedPicture& prepared = images.sizes;
  prepared.thumbnails = wanted.thumbnails;
  prepared.displays = wanted.displays;
  prepared.display_is_original = original_serves;

  // An animated picture's only display copy is itself: a smaller still would lose the
  // animation, and so would a WebP of it.
  std::vector<Image> displays;
  if (animated) {
    prepared.displays = {{width, height}};
    images.displays.assign(1, {});
  } else {
    for (const ImageSize& size : wanted.displays) displays.push_back(Scaled(base.get(), size));
  }
  std::vector<Image> thumbnails;
  thumbnails.push_back(AttentionSquare(base.get(), wanted.thumbnails.back().width));
  for (std::size_t i = wanted.thumbnails.size() - 1; i-- > 0 && thumbnails.front();) {
    thumbnails.insert(thumbnails.begin(), Scaled(thumbnails.front().get(), wanted.thumbnails[i]));
  }
  const auto made = [](const std::vector<Image>& set) {
    return std::all_of(set.begin(), set.end(), [](const Image& image) { return image != nullptr; });
  };
  if (!made(displays) || !made(thumbnails)) return Failure(kUnencodable);

  // The widest display copy of a still picture that serves itself is the original: no
  // JPEG of it, and its bytes count against the WebPs.
  std::vector<bool> display_jpegs(displays.size(), true);
  std::uintmax_t original_bytes = 0;
  if (original_serves && !animated) {
    display_jpegs.back() = false;
    original_bytes = picture.bytes;
  }
  const std::vector<bool> thumbnail_jpegs(thumbnails.size(), true);
  if (!MakeSet(thumbnails, prepared.thumbnails, images.thumbnails, prepared.thumbnails_webp, thumbnail_jpegs,
               settings.thumbnail_quality, settings.webp_quality, false, 0) ||
      (!animated && !MakeSet(displays, prepared.displays, images.displays, prepared.displays_webp, display_jpegs,
                             settings.display_quality, settings.webp_quality, settings.keep_location,
                             original_bytes))) {
    return Failure(kUnencodable);
  }
  // The original keeps its own size, to the pixel.
  if (original_serves) prepared.displays.back() = {width, height};
  return images;
}

std::variant<StandInJpeg, std::string> VipsEngine::MakeStandIn(const std::string& source) {
  auto opened = DecodableHeader(source);
  if (auto* refused = std::get_if<std::string>(&opened)) return std::move(*refused);
  const OpenedPicture picture = std::move(std::get<OpenedPicture>(opened));
  // A box as large as the picture: turned upright and converted, never scaled.
  VipsImage* header = picture.header.get();
  const int box = std::max(vips_image_get_width(header), vips_image_get_page_height(header));
  const Image full = Thumbnail(picture, box);
  if (!full) return Failure(kUndecodable);
  auto bytes = EncodeJpeg(full.get(), kStandInQuality, true);
  if (!bytes) return Failure(kUnencodable);
  return StandInJpeg{std::move(*bytes)};
}

std::variant<PreviewPicture, std::string> VipsEngine::DecodePreview(const std::string& source, int box) {
  auto opened = DecodableHeader(source);
  if (auto* refused = std::get_if<std::string>(&opened)) return std::move(*refused);
  const OpenedPicture picture = std::move(std::get<OpenedPicture>(opened));
  VipsImage* header = picture.header.get();
  PreviewPicture preview;
  preview.picture_width = vips_image_get_width(header);
  preview.picture_height = vips_image_get_page_height(header);
  if (vips_image_get_orientation_swap(header)) std::swap(preview.picture_width, preview.picture_height);

  const Image scaled = Thumbnail(picture, box);
  if (!scaled) return Failure(kUndecodable);
  // Whatever the picture holds (grey, 16 bits, no alpha), the window gets 8-bit RGBA.
  VipsImage* out = nullptr;
  Image image(vips_colourspace(scaled.get(), &out, VIPS_INTERPRETATION_sRGB, nullptr) == 0 ? out : nullptr);
  if (image && !vips_image_hasalpha(image.get())) {
    image.reset(vips_bandjoin_const1(image.get(), &out, 255.0, nullptr) == 0 ? out : nullptr);
  }
  if (image && vips_image_get_format(image.get()) != VIPS_FORMAT_UCHAR) {
    image.reset(vips_cast_uchar(image.get(), &out, nullptr) == 0 ? out : nullptr);
  }
  if (!image || vips_image_get_bands(image.get()) != 4) return Failure(kUndecodable);
  std::size_t length = 0;
  void* pixels = vips_image_write_to_memory(image.get(), &length);
  if (pixels == nullptr) return Failure(kUndecodable);
  preview.rgba.assign(static_cast<const char*>(pixels), length);
  g_free(pixels);
  preview.width = vips_image_get_width(image.get());
  preview.height = vips_image_get_height(image.get());
  return preview;
}

}  // namespace
}  // namespace quorvale

// The module's one entry point: a new engine, owned by the caller.
extern "C" __attribute__((visibility("default"))) quorvale::PictureImaging* quorvale_create_vips_imaging() {
  return new quorvale::VipsEngine();
}
