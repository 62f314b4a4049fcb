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
//   PD/PhotoAlbum/.lock                   held by the run that is writing the site
//   PD/PhotoAlbum/thumbnails/album-N/     the album's thumbnails (an HTML site)
//   PD/PhotoAlbum/thumbnails/album-N.record   what made them, so unchanged ones are kept
//   PD/PhotoAlbum/thumbnails/album-N.originals.record   what an HTML site published in
//                                         images/album-N, and from what
//   PD/PhotoAlbum/thumbnails/album-N.page.record   what made an HTML site's album-N.htm
//   PD/PhotoAlbum/display/album-N/        the album's display copies (an HTML site)
//   PD/PhotoAlbum/site.manifest           every file the last finished run published
//   PD/PhotoAlbum/site.manifest.changes   what the site changed since the manifest was written
//   PD/PhotoAlbum/site.manifest.record    what wrote them, so unchanged ones are kept
//   PD/Generation_Log.txt                 the log, never removed

inline constexpr const char* kHomePageName = "PhotoAlbum.htm";
inline constexpr const char* kSiteFolderName = "PhotoAlbum";
inline constexpr const char* kIndexFolderName = "index";
inline constexpr const char* kImagesFolderName = "images";
inline constexpr const char* kPageExtension = ".htm";
inline constexpr const char* kIndexExtension = ".dat";
inline constexpr const char* kGenerationLogName = "Generation_Log.txt";
inline constexpr const char* kRunLockName = ".lock";
inline constexpr const char* kThumbnailsFolderName = "thumbnails";
inline constexpr const char* kDisplayFolderName = "display";
inline constexpr const char* kImagingRecordExtension = ".record";
inline constexpr const char* kOriginalsRecordInfix = ".originals";
inline constexpr const char* kSmallImageExtension = ".jpg";
inline constexpr const char* kSiteManifestName = "site.manifest";

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
std::string RunLockPath(const std::string& publish_directory);  // PD/PhotoAlbum/.lock
std::string SiteManifestPath(const std::string& publish_directory);  // PD/PhotoAlbum/site.manifest
std::string SiteManifestChangesPath(const std::string& publish_directory);  // PD/PhotoAlbum/site.manifest.changes
std::string SiteManifestRecordPath(const std::string& publish_directory);  // PD/PhotoAlbum/site.manifest.record
std::string ThumbnailsFolderPath(const std::string& publish_directory);  // PD/PhotoAlbum/thumbnails
std::string DisplayFolderPath(const std::string& publish_directory);     // PD/PhotoAlbum/display
std::string AlbumThumbnailFolder(const std::string& publish_directory, int album_number);
std::string AlbumDisplayFolder(const std::string& publish_directory, int album_number);
std::string AlbumImagingRecordPath(const std::string& publish_directory, int album_number);
std::string AlbumOriginalsRecordPath(const std::string& publish_directory, int album_number);
inline constexpr const char* kPageRecordInfix = ".page";
std::string AlbumPageRecordPath(const std::string& publish_directory, int album_number);
// The Torvexa site's record of what each picture of an album is:
// PD/PhotoAlbum/images/album-N.formats.record
inline constexpr const char* kFormatsRecordInfix = ".formats";
std::string AlbumFormatsRecordPath(const std::string& publish_directory, int album_number);
// The file name of a picture's thumbnail and display copy, both JPEG: its published
// name with ".jpg" added, always ("garden.gif" gives "garden.gif.jpg", "garden.gif.jpg"
// gives "garden.gif.jpg.jpg"). Published names are distinct ignoring letter case, and
// so are the names made from them: two pictures never share an image, on a system
// whose names ignore case as well.
std::string SmallImageName(const std::string& published_name);

// The folders every run makes, in the order it makes them: PD/images, PD/PhotoAlbum,
// PD/PhotoAlbum/index, PD/PhotoAlbum/images.
std::array<std::string, 4> LayoutFolders(const std::string& publish_directory);

// URLs relative to the Publishing Directory.
std::string SiteFolderUrl();                          // "PhotoAlbum"
std::string AlbumIndexUrlFromSite(int album_number);  // "index/album-N.dat", from PhotoAlbum/
std::string AlbumImagesUrlFromSite(int album_number); // "images/album-N", from PhotoAlbum/
// "PhotoAlbum/images/album-N/NAME", "PhotoAlbum/thumbnails/album-N/NAME" and
// "PhotoAlbum/display/album-N/NAME", not yet URL-encoded.
std::string PublishedPictureUrl(int album_number, const std::string& name);
std::string ThumbnailUrl(int album_number, const std::string& name);
std::string DisplayCopyUrl(int album_number, const std::string& name);

}  // namespace quorvale
