#pragma once

#include <optional>

#include "imaging/picture_facts.h"
#include <string>
#include <vector>

namespace quorvale {

// What the HTML viewer's pages show, gathered by the generation run. Paths are relative
// to the Publishing Directory with "/" between their parts, not yet URL-encoded.

struct HtmlImage {
  std::string path;
  int width = 0;
  int height = 0;
};

struct HtmlPicture {
  std::string file_name;  // the picture's own file name: alt text when the comment is empty
  std::string comment;
  bool found = true;      // false: the picture file did not exist when the site was made
  std::string original;   // the published picture; empty when the site publishes no originals
  // Absent when the picture is missing or its images could not be made: the thumbnail a
  // browser without srcset shows, and the widest display copy (or the original).
  std::optional<HtmlImage> thumbnail;
  std::optional<HtmlImage> display;
  // Every size of the square thumbnails and of the display copies, narrowest first, as
  // JPEG and, where the site has them, as WebP (empty when not).
  std::vector<HtmlImage> thumbnail_jpegs{};
  std::vector<HtmlImage> thumbnail_webps{};
  std::vector<HtmlImage> display_jpegs{};
  std::vector<HtmlImage> display_webps{};
  // What the lightbox's information panel tells, from the file a visitor would get.
  PictureFacts facts{};
};

struct HtmlAlbum {
  std::string title;
  std::vector<HtmlPicture> pictures;
  // The pictures let go of once the album's page was written (all but the home page's
  // cover): counted, no longer held.
  std::size_t pictures_let_go = 0;
  std::size_t PictureCount() const { return pictures.size() + pictures_let_go; }
};

struct HtmlSite {
  std::string title;           // the project file's name, without its folder or extension
  std::string generated_at;    // the date-time text of the run
  std::vector<HtmlAlbum> albums;
  std::string language = "en";  // one of kSiteLanguages: the pages' words and their lang
};

// The site's title from the project file's path: its name without the folder (a page
// on the web must not publish the author's folders) and without the ".qs1" extension.
std::string HtmlSiteTitle(const std::string& project_path);

}  // namespace quorvale
