#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/picture_facts.h"
#include "imaging/picture_imaging.h"
#include "viewers/html/html_site.h"

namespace quorvale {

// What one picture's tile on its album's page is made of, as the run learnt it.
struct HtmlTileInputs {
  std::string file_name;              // the picture's own file name
  std::string_view comment;           // the project's, which outlives the page
  bool found = true;                  // false: the picture file was not there
  std::string_view published_name;    // the name its files take on the site
  const PreparedPicture* sizes = nullptr;  // its images' sizes; nothing when it has none
  PictureFacts facts{};               // of the file a visitor gets, when it has images
};

// The URLs of an album's folders, which every picture's URLs begin with; `originals` is
// empty when the site publishes no originals.
struct HtmlAlbumFolders {
  std::string originals;
  std::string thumbnails;
  std::string displays;
};
HtmlAlbumFolders HtmlAlbumFoldersOf(int album_number, bool originals_published);

// The tile of one picture, as the album page shows it.
HtmlPicture HtmlTile(const HtmlTileInputs& tile, const HtmlAlbumFolders& folders);

// A digest of everything album `album_number`'s page is built from: the site's title,
// language and number of albums, the album's title and number, its folders, every
// tile's inputs, and the identity of the program's code (which builds the page from
// them). Equal digests mean equal pages. Nothing where the code has no identity.
std::optional<std::string> HtmlAlbumPageDigest(const HtmlSite& site, int album_number, const HtmlAlbumFolders& folders,
                                               const std::vector<HtmlTileInputs>& tiles);

}  // namespace quorvale
