// The published originals' metadata on libexiv2, which rewrites a file's metadata
// segments and copies its image data as it is.
#include "vips/exiv2_metadata.h"

#include <array>
#include <exception>
#include <mutex>

#include <exiv2/exiv2.hpp>

#include "vips/gif_metadata.h"

namespace quorvale {
namespace {

// The Exif directories of the standard (the main image, its Exif, interoperability
// and GPS directories, the embedded preview, the sub-images of raw files): every other
// group libexiv2 reports belongs to a maker note.
constexpr std::array<std::string_view, 16> kStandardExifGroups = {
    "Image",     "Image2",    "Image3",    "Photo",     "Iop",       "GPSInfo",   "Thumbnail", "SubImage1",
    "SubImage2", "SubImage3", "SubImage4", "SubImage5", "SubImage6", "SubImage7", "SubThumb1", "MpfInfo"};

// Keys (or, for XMP structures, the beginnings of keys) never published.
constexpr std::array<std::string_view, 19> kIdentifyingKeys = {
    "Exif.Photo.MakerNote",         "Exif.Photo.BodySerialNumber",  "Exif.Photo.LensSerialNumber",
    "Exif.Photo.CameraOwnerName",   "Exif.Photo.ImageUniqueID",     "Exif.Image.CameraSerialNumber",
    "Exif.Image.Artist",            "Exif.Image.XPAuthor",          "Xmp.aux.SerialNumber",
    "Xmp.aux.LensSerialNumber",     "Xmp.aux.OwnerName",            "Xmp.exifEX.BodySerialNumber",
    "Xmp.exifEX.LensSerialNumber",  "Xmp.exifEX.CameraOwnerName",   "Xmp.exif.ImageUniqueID",
    "Xmp.tiff.Artist",              "Xmp.dc.creator",               "Iptc.Application2.Byline",
    "Iptc.Application2.BylineTitle"};

// Keys (or their beginnings) that tell where a picture was taken.
constexpr std::array<std::string_view, 17> kLocationKeys = {
    "Exif.GPSInfo.",
    "Exif.Image.GPSTag",
    "Xmp.exif.GPS",
    "Xmp.photoshop.City",
    "Xmp.photoshop.State",
    "Xmp.photoshop.Country",
    "Xmp.iptc.Location",
    "Xmp.iptc.CountryCode",
    "Xmp.iptcExt.LocationCreated",
    "Xmp.iptcExt.LocationShown",
    "Iptc.Application2.City",
    "Iptc.Application2.SubLocation",
    "Iptc.Application2.ProvinceState",
    "Iptc.Application2.CountryCode",
    "Iptc.Application2.CountryName",
    "Iptc.Application2.LocationCode",
    "Iptc.Application2.LocationName"};

template <std::size_t N>
bool StartsWithAny(const std::string& key, const std::array<std::string_view, N>& beginnings) {
  for (const std::string_view beginning : beginnings) {
    if (std::string_view(key).starts_with(beginning)) return true;
  }
  return false;
}

bool IsStandardExifGroup(const std::string& group) {
  for (const std::string_view standard : kStandardExifGroups) {
    if (group == standard) return true;
  }
  return false;
}

// Erases from `data` every entry `drop` names; true when any was erased.
template <typename Data, typename Drop>
bool EraseWhere(Data& data, Drop drop) {
  bool erased = false;
  for (auto entry = data.begin(); entry != data.end();) {
    if (drop(*entry)) {
      entry = data.erase(entry);
      erased = true;
    } else {
      ++entry;
    }
  }
  return erased;
}

std::once_flag exiv2_started;

void StartExiv2() {
  // The XMP toolkit must be set up once before any thread parses XMP; libexiv2's own
  // warnings about odd files would only go to the terminal.
  Exiv2::XmpParser::initialize();
  Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
}

std::variant<CleanedOriginal, std::string> CleanWithExiv2(std::string_view bytes, bool keep_location) {
  std::call_once(exiv2_started, StartExiv2);
  try {
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(bytes.data()),
                                           static_cast<long>(bytes.size()));
    image->readMetadata();
    const auto unpublished = [keep_location](const std::string& key) {
      return StartsWithAny(key, kIdentifyingKeys) || (!keep_location && StartsWithAny(key, kLocationKeys));
    };
    bool changed = EraseWhere(image->exifData(), [&](const Exiv2::Exifdatum& datum) {
      return !IsStandardExifGroup(datum.groupName()) || unpublished(datum.key());
    });
    changed = EraseWhere(image->xmpData(), [&](const Exiv2::Xmpdatum& datum) { return unpublished(datum.key()); }) ||
              changed;
    changed = EraseWhere(image->iptcData(), [&](const Exiv2::Iptcdatum& datum) { return unpublished(datum.key()); }) ||
              changed;
    if (!changed) return CleanedOriginal{std::string(bytes)};
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    const std::size_t size = io.size();
    const Exiv2::byte* data = io.mmap();
    CleanedOriginal cleaned{std::string(reinterpret_cast<const char*>(data), size)};
    io.munmap();
    return cleaned;
  } catch (const std::exception& error) {
    return std::string("its metadata cannot be rewritten: ") + error.what();
  }
}

}  // namespace

std::variant<CleanedOriginal, std::string> CleanPictureMetadata(std::string_view bytes, bool keep_location) {
  if (IsGif(bytes)) {
    auto cleaned = GifWithoutMetadata(bytes);
    if (!cleaned) return std::string("the GIF file is damaged");
    return CleanedOriginal{std::move(*cleaned)};
  }
  return CleanWithExiv2(bytes, keep_location);
}

}  // namespace quorvale
