#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvale {

// A run of bytes in a file.
struct ByteRange {
  std::size_t offset = 0;
  std::size_t length = 0;
};

// Where a HEIF or AVIF file (an ISO media file) keeps its metadata items: the Exif
// items (each a 4-byte offset, then the TIFF block of the Exif data) and the XMP items
// (an XMP packet), each stored whole in one run of the file.
struct BmffMetadata {
  std::vector<ByteRange> exif;
  std::vector<ByteRange> xmp;
};

// Whether `bytes` begin like an ISO media file (its 'ftyp' box).
bool IsBmff(std::string_view bytes);

// The metadata items of the file, read from its 'meta' box (item information and item
// locations). Nothing when the boxes are damaged, or when a metadata item is stored in
// another way than one run of the file itself (split, in another file, or inside the
// 'idat' box), which this program does not rewrite.
std::optional<BmffMetadata> FindBmffMetadata(std::string_view bytes);

// Where the TIFF block of an Exif item's payload begins: the payload starts with a
// 4-byte big-endian count of the bytes (usually "Exif\0\0") to skip after it. Nothing
// when the payload is too short for what it announces.
std::optional<std::size_t> ExifTiffOffset(std::string_view payload);

}  // namespace quorvale
