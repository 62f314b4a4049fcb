#include "vips/bmff_metadata.h"

#include <cstdint>
#include <map>
#include <string>

namespace quorvale {
namespace {

// Reads big-endian numbers and boxes from a run of bytes; any read past its end marks
// it failed, and every later read gives 0.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  std::uint64_t Number(std::size_t size) {
    if (size > 8 || bytes_.size() - at_ < size) {
      failed_ = true;
      at_ = bytes_.size();
      return 0;
    }
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value = (value << 8) | static_cast<unsigned char>(bytes_[at_++]);
    return value;
  }
  std::string_view Text(std::size_t size) {
    if (bytes_.size() - at_ < size) {
      failed_ = true;
      at_ = bytes_.size();
      return {};
    }
    const std::string_view text = bytes_.substr(at_, size);
    at_ += size;
    return text;
  }
  // A zero-ended string.
  std::string_view String() {
    const std::size_t end = bytes_.find('\0', at_);
    if (end == std::string_view::npos) return Text(bytes_.size() - at_ + 1);
    const std::string_view text = bytes_.substr(at_, end - at_);
    at_ = end + 1;
    return text;
  }
  bool AtEnd() const { return at_ >= bytes_.size(); }
  bool failed() const { return failed_; }
  std::size_t at() const { return at_; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
  bool failed_ = false;
};

struct Box {
  std::string_view type;
  std::string_view body;  // after the header
  std::size_t body_offset = 0;
};

// The boxes that make up `bytes` (at `base` in the file), or nothing when one of them
// reaches beyond them.
std::optional<std::vector<Box>> Boxes(std::string_view bytes, std::size_t base) {
  std::vector<Box> boxes;
  Reader reader(bytes);
  while (!reader.AtEnd()) {
    const std::size_t start = reader.at();
    std::uint64_t size = reader.Number(4);
    const std::string_view type = reader.Text(4);
    if (size == 1) size = reader.Number(8);
    if (size == 0) size = bytes.size() - start;  // to the end
    const std::size_t header = reader.at() - start;
    if (reader.failed() || size < header || size > bytes.size() - start) return std::nullopt;
    boxes.push_back({type, bytes.substr(reader.at(), size - header), base + reader.at()});
    reader.Text(size - header);
  }
  return boxes;
}

const Box* Find(const std::vector<Box>& boxes, std::string_view type) {
  for (const Box& box : boxes) {
    if (box.type == type) return &box;
  }
  return nullptr;
}

enum class ItemKind { kExif, kXmp };

// The Exif and XMP items listed in an 'iinf' box, by item number.
std::optional<std::map<std::uint32_t, ItemKind>> MetadataItems(const Box& iinf) {
  Reader reader(iinf.body);
  const auto version = reader.Number(1);
  reader.Number(3);
  reader.Number(version == 0 ? 2 : 4);  // the entry count; the boxes themselves tell
  const auto entries = Boxes(iinf.body.substr(reader.at()), 0);
  if (!entries || reader.failed()) return std::nullopt;
  std::map<std::uint32_t, ItemKind> items;
  for (const Box& entry : *entries) {
    if (entry.type != "infe") continue;
    Reader infe(entry.body);
    const auto infe_version = infe.Number(1);
    infe.Number(3);
    if (infe_version < 2) continue;  // the old layout names no item type
    const auto id = static_cast<std::uint32_t>(infe.Number(infe_version == 2 ? 2 : 4));
    infe.Number(2);  // protection
    const std::string_view type = infe.Text(4);
    infe.String();  // the item's name
    if (infe.failed()) return std::nullopt;
    if (type == "Exif") items[id] = ItemKind::kExif;
    if (type == "mime" && infe.String() == "application/rdf+xml") items[id] = ItemKind::kXmp;
  }
  return items;
}

}  // namespace

bool IsBmff(std::string_view bytes) { return bytes.size() >= 12 && bytes.substr(4, 4) == "ftyp"; }

std::optional<BmffMetadata> FindBmffMetadata(std::string_view bytes) {
  if (!IsBmff(bytes)) return std::nullopt;
  const auto top = Boxes(bytes, 0);
  const Box* meta = top ? Find(*top, "meta") : nullptr;
  if (meta == nullptr || meta->body.size() < 4) return std::nullopt;
  const auto inside = Boxes(meta->body.substr(4), meta->body_offset + 4);  // after version and flags
  const Box* iinf = inside ? Find(*inside, "iinf") : nullptr;
  const Box* iloc = inside ? Find(*inside, "iloc") : nullptr;
  if (iinf == nullptr || iloc == nullptr) return std::nullopt;
  const auto items = MetadataItems(*iinf);
  if (!items) return std::nullopt;

  BmffMetadata found;
  Reader reader(iloc->body);
  const auto version = reader.Number(1);
  reader.Number(3);
  const auto sizes = reader.Number(1);
  const auto more_sizes = reader.Number(1);
  const std::size_t offset_size = sizes >> 4, length_size = sizes & 0xF, base_size = more_sizes >> 4;
  const std::size_t index_size = version >= 1 ? (more_sizes & 0xF) : 0;
  const auto count = reader.Number(version < 2 ? 2 : 4);
  for (std::uint64_t i = 0; i < count && !reader.failed(); ++i) {
    const auto id = static_cast<std::uint32_t>(reader.Number(version < 2 ? 2 : 4));
    const auto method = version >= 1 ? reader.Number(2) & 0xF : 0;
    const auto reference = reader.Number(2);
    const auto base = reader.Number(base_size);
    const auto extents = reader.Number(2);
    std::uint64_t offset = 0, length = 0;
    for (std::uint64_t e = 0; e < extents; ++e) {
      reader.Number(index_size);
      offset = reader.Number(offset_size);
      length = reader.Number(length_size);
    }
    const auto item = items->find(id);
    if (item == items->end()) continue;
    // Only one run of this very file can be rewritten in place.
    if (reader.failed() || method != 0 || reference != 0 || extents != 1) return std::nullopt;
    const std::uint64_t start = base + offset;
    if (start > bytes.size() || length > bytes.size() - start) return std::nullopt;
    const ByteRange range{static_cast<std::size_t>(start), static_cast<std::size_t>(length)};
    (item->second == ItemKind::kExif ? found.exif : found.xmp).push_back(range);
  }
  if (reader.failed()) return std::nullopt;
  return found;
}

std::optional<std::size_t> ExifTiffOffset(std::string_view payload) {
  if (payload.size() < 4) return std::nullopt;
  const std::size_t skip = 4 + ((std::size_t{static_cast<unsigned char>(payload[0])} << 24) |
                                (std::size_t{static_cast<unsigned char>(payload[1])} << 16) |
                                (std::size_t{static_cast<unsigned char>(payload[2])} << 8) |
                                std::size_t{static_cast<unsigned char>(payload[3])});
  if (skip + 2 > payload.size()) return std::nullopt;
  return skip;
}

}  // namespace quorvale
