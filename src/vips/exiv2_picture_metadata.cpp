// Pictures' own captions and dates on libexiv2.
#include "vips/exiv2_picture_metadata.h"

#include <cstdint>
#include <exception>
#include <string_view>

#include <exiv2/exiv2.hpp>

#include "vips/bmff_metadata.h"
#include "vips/exiv2_metadata.h"

namespace quorvale {
namespace {

// An Exif UserComment: eight bytes naming its character set, then the text in it.
std::optional<std::string> UserComment(const Exiv2::Value& value) {
  const auto* comment = dynamic_cast<const Exiv2::CommentValue*>(&value);
  if (comment == nullptr) return std::nullopt;
  switch (comment->charsetId()) {
    case Exiv2::CommentValue::ascii:
    case Exiv2::CommentValue::undefined:
      return comment->comment();
    case Exiv2::CommentValue::unicode: {
      // UTF-16 after the header, in the byte order its byte-order mark gives or, without
      // one, in the Exif data's own.
      if (comment->value_.size() < 8) return std::nullopt;
      std::string text = comment->value_.substr(8);
      const bool big_endian = std::string(comment->detectCharset(text)) == "UCS-2BE";
      if (!Exiv2::convertStringCharset(text, big_endian ? "UTF-16BE" : "UTF-16LE", "UTF-8")) return std::nullopt;
      return text;
    }
    case Exiv2::CommentValue::jis: {
      std::string text = comment->comment();
      if (!Exiv2::convertStringCharset(text, "ISO-2022-JP", "UTF-8")) return std::nullopt;
      return text;
    }
    default:
      return std::nullopt;
  }
}

// The x-default language of an XMP language alternative, else its first language.
std::optional<std::string> DefaultLanguage(const Exiv2::Value& value) {
  const auto* alternatives = dynamic_cast<const Exiv2::LangAltValue*>(&value);
  if (alternatives == nullptr) return value.toString();
  if (alternatives->value_.empty()) return std::nullopt;
  const auto found = alternatives->value_.find("x-default");
  return found != alternatives->value_.end() ? found->second : alternatives->value_.begin()->second;
}

template <typename Data, typename Key>
const Exiv2::Value* Find(Data& data, const char* key) {
  const auto found = data.findKey(Key(key));
  return found == data.end() ? nullptr : &found->value();
}

// A HEIF or AVIF file's Exif and XMP, read from its metadata items where libexiv2 did
// not find them (it misses the items of many files that phones and libheif write).
void ReadBmffItems(Exiv2::BasicIo& io, Exiv2::ExifData& exif, Exiv2::XmpData& xmp) {
  if (io.open() != 0) return;
  const std::size_t size = io.size();
  const std::string_view bytes(reinterpret_cast<const char*>(io.mmap()), size);
  if (const auto items = FindBmffMetadata(bytes)) {
    for (const ByteRange& item : items->exif) {
      if (!exif.empty()) break;
      const std::string_view payload = bytes.substr(item.offset, item.length);
      const auto skip = ExifTiffOffset(payload);
      if (!skip) continue;
      Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(payload.data() + *skip),
                                static_cast<std::uint32_t>(payload.size() - *skip));
    }
    for (const ByteRange& item : items->xmp) {
      if (!xmp.empty()) break;
      std::string packet(bytes.substr(item.offset, item.length));
      while (!packet.empty() && (packet.back() == '\0' || packet.back() == ' ')) packet.pop_back();
      Exiv2::XmpParser::decode(xmp, packet);
    }
  }
  io.munmap();
  io.close();
}

}  // namespace

std::optional<PictureMetadata> Exiv2PictureMetadata::Read(const std::string& path) {
  StartExiv2();
  try {
    auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    Exiv2::IptcData& iptc = image->iptcData();
    Exiv2::XmpData& xmp = image->xmpData();
    if ((exif.empty() || xmp.empty()) && image->imageType() == Exiv2::ImageType::bmff) {
      ReadBmffItems(image->io(), exif, xmp);
    }

    PictureMetadata metadata;
    const auto add = [](std::vector<std::string>& fields, const std::optional<std::string>& text) {
      if (text) fields.push_back(*text);
    };
    const auto text_of = [](const Exiv2::Value* value) -> std::optional<std::string> {
      if (value == nullptr) return std::nullopt;
      return value->toString();
    };
    if (const Exiv2::Value* description = Find<Exiv2::XmpData, Exiv2::XmpKey>(xmp, "Xmp.dc.description")) {
      add(metadata.captions, DefaultLanguage(*description));
    }
    add(metadata.captions, text_of(Find<Exiv2::IptcData, Exiv2::IptcKey>(iptc, "Iptc.Application2.Caption")));
    add(metadata.captions, text_of(Find<Exiv2::ExifData, Exiv2::ExifKey>(exif, "Exif.Image.ImageDescription")));
    if (const Exiv2::Value* comment = Find<Exiv2::ExifData, Exiv2::ExifKey>(exif, "Exif.Photo.UserComment")) {
      add(metadata.captions, UserComment(*comment));
    }
    add(metadata.dates, text_of(Find<Exiv2::ExifData, Exiv2::ExifKey>(exif, "Exif.Photo.DateTimeOriginal")));
    add(metadata.dates, text_of(Find<Exiv2::ExifData, Exiv2::ExifKey>(exif, "Exif.Photo.DateTimeDigitized")));
    add(metadata.dates, text_of(Find<Exiv2::XmpData, Exiv2::XmpKey>(xmp, "Xmp.photoshop.DateCreated")));
    add(metadata.dates, text_of(Find<Exiv2::XmpData, Exiv2::XmpKey>(xmp, "Xmp.exif.DateTimeOriginal")));
    return metadata;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace quorvale

// The module's second entry point, beside the imaging engine's.
extern "C" __attribute__((visibility("default"))) quorvale::PictureMetadataReader* quorvale_create_exiv2_metadata() {
  return new quorvale::Exiv2PictureMetadata();
}
