#pragma once

#include <array>
#include <string>

namespace quorvale {

// Every name that a generation run writes into a Publishing Directory (PD) and that
// Clear removes from it. Paths are built by plain concatenation of the PD text and the
// names below, as every path of a run is; URLs inside the site use "/".
//
//   PD/PhotoAlbum.htm                     the home page
//   PD/album-N.htm                        one page per album (N counts from 0)
//   PD/images/                            kept empty; made for older sites' sake
//   PD/PhotoAlbum/                        the viewer's files
//   PD/PhotoAlbum/index/album-N.dat       one index file per album
//   PD/PhotoAlbum/images/album-N/         the album's published pictures
//   PD/Generation_Log.txt                 the log, never removed

inline constexpr const char* kHomePageName = "PhotoAlbum.htm";
inline constexpr const char* kSiteFolderName = "PhotoAlbum";
inline constexpr const char* kIndexFolderName = "index";
inline constexpr const char* kImagesFolderName = "images";
inline constexpr const char* kPageExtension = ".htm";
inline constexpr const char* kIndexExtension = ".dat";
inline constexpr const char* kGenerationLogName = "Generation_Log.txt";

// "album-" followed by the album number in decimal: the base name of an album's page,
// index file and image folder.
std::string AlbumBaseName(int album_number);
// "album-N.htm", the album page's name and its URL from the home page.
std::string AlbumPageName(int album_number);

std::string HomePagePath(const std::string& publish_directory);
std::string AlbumPagePath(const std::string& publish_directory, int album_number);
std::string SiteFolderPath(const std::string& publish_directory);    // PD/PhotoAlbum
std::string IndexFolderPath(const std::string& publish_directory);   // PD/PhotoAlbum/index
std::string ImagesFolderPath(const std::string& publish_directory);  // PD/PhotoAlbum/images
std::string AlbumIndexPath(const std::string& publish_directory, int album_number);
std::string AlbumImageFolder(const std::string& publish_directory, int album_number);
std::string GenerationLogPath(const std::string& publish_directory);

// The folders every run makes, in the order it makes them: PD/images, PD/PhotoAlbum,
// PD/PhotoAlbum/index, PD/PhotoAlbum/images.
std::array<std::string, 4> LayoutFolders(const std::string& publish_directory);

// URLs relative to the Publishing Directory.
std::string SiteFolderUrl();                          // "PhotoAlbum"
std::string AlbumIndexUrlFromSite(int album_number);  // "index/album-N.dat", from PhotoAlbum/
std::string AlbumImagesUrlFromSite(int album_number); // "images/album-N", from PhotoAlbum/

}  // namespace quorvale
