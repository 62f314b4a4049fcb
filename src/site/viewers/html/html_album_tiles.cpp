#include "viewers/html/html_album_tiles.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>

#include "imaging/responsive_sizes.h"
#include "layout/site_layout.h"
#include "platform/code_identity.h"
#include "platform/number_text.h"

namespace quorvale {
namespace {

// What a browser that knows no srcset shows in a tile: the widest thumbnail up to the
// size a tile has on a desktop, as the site showed before it offered several.
HtmlImage FallbackThumbnail(const std::vector<HtmlImage>& thumbnails) {
  constexpr int kDesktopTile = 512;
  HtmlImage chosen = thumbnails.front();
  for (const HtmlImage& image : thumbnails) {
    if (image.width <= kDesktopTile) chosen = image;
  }
  return chosen;
}

// The bytes a digest is taken of: every text with its length before it, so no two
// different inputs give the same bytes.
class DigestInput {
 public:
  template <typename Number>
    requires std::is_arithmetic_v<Number>
  DigestInput& Add(Number number) {
    char raw[sizeof number];
    std::memcpy(raw, &number, sizeof number);
    bytes_.append(raw, sizeof raw);
    return *this;
  }
  DigestInput& Add(std::string_view text) {
    Add(static_cast<std::uint64_t>(text.size()));
    bytes_.append(text);
    return *this;
  }
  DigestInput& Add(const std::vector<ImageSize>& sizes) {
    Add(static_cast<std::uint64_t>(sizes.size()));
    for (const auto& [width, height] : sizes) Add(width).Add(height);
    return *this;
  }
  DigestInput& Add(const PictureFacts& facts) {
    const auto& [taken, camera, location, width, height, bytes] = facts;
    return Add(taken).Add(camera).Add(location).Add(width).Add(height).Add(bytes);
  }
  // The bytes' length and their hash, in hexadecimal.
  std::string Digest() const {
    std::string digest;
    AppendNumber(digest, bytes_.size()) += '-';
    std::size_t hash = std::hash<std::string_view>{}(bytes_);
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < 2 * sizeof hash; ++i, hash <<= 4) {
      digest += kDigits[(hash >> (8 * sizeof hash - 4)) & 15];
    }
    return digest;
  }

 private:
  std::string bytes_;
};

}  // namespace

HtmlAlbumFolders HtmlAlbumFoldersOf(int album_number, bool originals_published) {
  return {originals_published ? PublishedPictureUrl(album_number, "") : std::string(), ThumbnailUrl(album_number, ""),
          DisplayCopyUrl(album_number, "")};
}

HtmlPicture HtmlTile(const HtmlTileInputs& tile, const HtmlAlbumFolders& folders) {
  HtmlPicture shown;
  shown.file_name = tile.file_name;
  shown.comment = tile.comment;
  shown.found = tile.found;
  // Without published originals nothing links one.
  if (!folders.originals.empty()) shown.original = std::string(folders.originals).append(tile.published_name);
  if (tile.sizes == nullptr) return shown;
  const PreparedPicture& sizes = *tile.sizes;
  std::string name;
  const auto image = [&](const std::string& folder, const ImageSize& size, bool webp) {
    AssignSizedImagePath(name, tile.published_name, size.width, webp);
    return HtmlImage{folder + name, size.width, size.height};
  };
  for (const ImageSize& size : sizes.thumbnails) {
    shown.thumbnail_jpegs.push_back(image(folders.thumbnails, size, false));
    if (sizes.thumbnails_webp) shown.thumbnail_webps.push_back(image(folders.thumbnails, size, true));
  }
  for (std::size_t d = 0; d < sizes.displays.size(); ++d) {
    const bool original = sizes.display_is_original && d + 1 == sizes.displays.size();
    const ImageSize& size = sizes.displays[d];
    shown.display_jpegs.push_back(original ? HtmlImage{shown.original, size.width, size.height}
                                           : image(folders.displays, size, false));
    if (sizes.displays_webp) shown.display_webps.push_back(image(folders.displays, sizes.displays[d], true));
  }
  shown.thumbnail = FallbackThumbnail(shown.thumbnail_jpegs);
  shown.display = shown.display_jpegs.back();
  shown.facts = tile.facts;
  return shown;
}

std::optional<std::string> HtmlAlbumPageDigest(const HtmlSite& site, int album_number, const HtmlAlbumFolders& folders,
                                               const std::vector<HtmlTileInputs>& tiles) {
  const std::optional<std::string> code = CodeIdentity();
  if (!code) return std::nullopt;
  // Each structure is taken apart whole, so a member added to one does not compile here
  // until the digest covers it (or says why the page does not show it).
  const auto& [title, generated_at, albums, language] = site;  // an album page names no time
  const auto& [album_title, pictures, pictures_let_go] = albums.at(static_cast<std::size_t>(album_number));
  const auto& [originals, thumbnails, displays] = folders;
  DigestInput input;
  input.Add(*code).Add(title).Add(language).Add(static_cast<std::uint64_t>(albums.size()));
  input.Add(album_number).Add(album_title).Add(originals).Add(thumbnails).Add(displays);
  input.Add(static_cast<std::uint64_t>(tiles.size()));
  for (const auto& [file_name, comment, found, published_name, sizes, facts] : tiles) {
    input.Add(file_name).Add(comment).Add(found).Add(published_name).Add(sizes != nullptr);
    if (sizes == nullptr) continue;
    const auto& [thumbnail_sizes, display_sizes, display_is_original, thumbnails_webp, displays_webp] = *sizes;
    input.Add(thumbnail_sizes).Add(display_sizes).Add(display_is_original).Add(thumbnails_webp).Add(displays_webp);
    input.Add(facts);
  }
  return input.Digest();
}

}  // namespace quorvale
