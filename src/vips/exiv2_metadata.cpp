// The published originals' metadata on libexiv2, which rewrites a file's metadata
// segments and copies its image data as it is.
#include "vips/exiv2_metadata.h"

#include <array>
#include <exception>
#include <mutex>

#include <exiv2/exiv2.hpp>

#include "vips/bmff_metadata.h"
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

// A HEIF or AVIF file, which libexiv2 reads but does not write: its Exif and XMP items
// are rewritten where they are, each filled up to its old length (the Exif block with
// zeros after its end, the XMP packet with blanks), so no offset in the file moves and
// the image data stays byte for byte. Cleaned metadata that would not fit (it never
// grows, having only lost fields) is refused.
constexpr const char* kEmptyXmpPacket =
    "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/><?xpacket end=\"w\"?>";

template <typename Unpublished>
std::variant<CleanedOriginal, std::string> RewrittenInPlace(std::string_view bytes, const Exiv2::ExifData& exif,
                                                           bool exif_changed, Unpublished unpublished) {
  const auto items = FindBmffMetadata(bytes);
  if (!items || items->exif.size() > 1 || items->xmp.size() > 1) {
    return std::string("its metadata cannot be rewritten: its metadata items are stored in a way not handled");
  }
  std::string cleaned(bytes);
  const auto overwrite = [&cleaned](std::size_t at, std::size_t room, const std::string& with, char fill) {
    if (with.size() > room) return false;
    cleaned.replace(at, room, with + std::string(room - with.size(), fill));
    return true;
  };
  bool changed = exif_changed;
  for (const ByteRange& item : items->exif) {
    if (!exif_changed) break;
    const std::string_view payload = bytes.substr(item.offset, item.length);
    const auto tiff = ExifTiffOffset(payload);
    if (!tiff) return std::string("its Exif data is damaged");
    const std::size_t skip = *tiff;
    const Exiv2::ByteOrder order = payload.substr(skip, 2) == "II" ? Exiv2::littleEndian : Exiv2::bigEndian;
    Exiv2::Blob blob;
    if (!exif.empty()) Exiv2::ExifParser::encode(blob, order, exif);
    if (!overwrite(item.offset + skip, item.length - skip, std::string(blob.begin(), blob.end()), '\0')) {
      return std::string("its metadata cannot be rewritten: the cleaned Exif data does not fit in place");
    }
  }
  for (const ByteRange& item : items->xmp) {
    // Read from the item itself: libexiv2 may not have read it from such a file.
    Exiv2::XmpData xmp;
    std::string packet(bytes.substr(item.offset, item.length));
    while (!packet.empty() && (packet.back() == '\0' || packet.back() == ' ')) packet.pop_back();
    if (Exiv2::XmpParser::decode(xmp, packet) != 0) return std::string("its XMP data is damaged");
    if (!EraseWhere(xmp, [&](const Exiv2::Xmpdatum& datum) { return unpublished(datum.key()); })) continue;
    changed = true;
    packet.clear();
    if (!xmp.empty() && Exiv2::XmpParser::encode(packet, xmp, Exiv2::XmpParser::useCompactFormat) != 0) {
      return std::string("its metadata cannot be rewritten: its XMP data cannot be written");
    }
    // An item left empty would be no XMP at all, which readers take for damage.
    if (packet.empty()) packet = kEmptyXmpPacket;
    if (!overwrite(item.offset, item.length, packet, ' ')) {
      return std::string("its metadata cannot be rewritten: the cleaned XMP data does not fit in place");
    }
  }
  return CleanedOriginal{changed ? std::move(cleaned) : std::string(bytes)};
}

std::variant<CleanedOriginal, std::string> CleanWithExiv2(std::string_view bytes, bool keep_location) {
  StartExiv2();
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
    if (IsBmff(bytes)) return RewrittenInPlace(bytes, image->exifData(), changed, unpublished);
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

void StartExiv2() {
  static std::once_flag started;
  std::call_once(started, [] {
    // The XMP toolkit must be set up once before any thread parses XMP; libexiv2's own
    // warnings about odd files would only go to the terminal.
    Exiv2::XmpParser::initialize();
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    // HEIF and AVIF files are read only once asked for.
    Exiv2::enableBMFF(true);
  });
}

std::variant<CleanedOriginal, std::string> CleanPictureMetadata(std::string_view bytes, bool keep_location) {
  if (IsGif(bytes)) {
    auto cleaned = GifWithoutMetadata(bytes);
    if (!cleaned) return std::string("the GIF file is damaged");
    return CleanedOriginal{std::move(*cleaned)};
  }
  return CleanWithExiv2(bytes, keep_location);
}

}  // namespace quorvale
