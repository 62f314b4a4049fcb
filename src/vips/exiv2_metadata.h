#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "imaging/picture_imaging.h"

namespace quorvale {

// Sets libexiv2 up for this process, once, before its first use from any thread.
void StartExiv2();

// A picture file's bytes with the camera's and owner's identifying fields removed and,
// unless `keep_location`, its location; the pixel data is copied untouched. What is
// removed:
// - always: the maker note (it holds the body's serial number, the owner's name and
//   sometimes a position, in a layout of each maker's own), Exif BodySerialNumber,
//   LensSerialNumber, CameraSerialNumber, ImageUniqueID, CameraOwnerName, Artist and
//   XPAuthor; the same fields in XMP (aux:, exifEX:, tiff:Artist, dc:creator); the
//   IPTC by-line;
// - without `keep_location`: every Exif GPS field, XMP exif:GPS*, the XMP and IPTC
//   place names (city, state, country, sub-location, the IPTC Extension's locations).
// Copyright and everything else stay. JPEG, TIFF, PNG, WebP and the other formats that
// libexiv2 rewrites are rewritten by it; a HEIF or AVIF file has its Exif and XMP items
// rewritten in place, with libexiv2 encoding them; a GIF is rewritten here (its XMP and other
// application blocks go, the animation loop and colour profile stay). A file with
// nothing to remove comes back byte for byte.
std::variant<CleanedOriginal, std::string> CleanPictureMetadata(std::string_view bytes, bool keep_location);

}  // namespace quorvale
