#include "layout/site_layout.h"

#include <string_view>

#include "platform/path.h"

namespace quorvale {

std::string AlbumBaseName(int album_number) { return "album-" + std::to_string(album_number); }

std::string AlbumPageName(int album_number) { return AlbumBaseName(album_number) + kPageExtension; }

std::string HomePagePath(const std::string& publish_directory) {
  return JoinPath(publish_directory, kHomePageName);
}

std::string AlbumPagePath(const std::string& publish_directory, int album_number) {
  return JoinPath(publish_directory, AlbumPageName(album_number));
}

std::string SiteFolderPath(const std::string& publish_directory) {
  return JoinPath(publish_directory, kSiteFolderName);
}

std::string IndexFolderPath(const std::string& publish_directory) {
  return JoinPath(SiteFolderPath(publish_directory), kIndexFolderName);
}

std::string ImagesFolderPath(const std::string& publish_directory) {
  return JoinPath(SiteFolderPath(publish_directory), kImagesFolderName);
}

std::string AlbumIndexPath(const std::string& publish_directory, int album_number) {
  return JoinPath(IndexFolderPath(publish_directory), AlbumBaseName(album_number) + kIndexExtension);
}

std::string AlbumImageFolder(const std::string& publish_directory, int album_number) {
  return JoinPath(ImagesFolderPath(publish_directory), AlbumBaseName(album_number));
}

std::string GenerationLogPath(const std::string& publish_directory) {
  return JoinPath(publish_directory, kGenerationLogName);
}

std::string RunLockPath(const std::string& publish_directory) {
  return JoinPath(SiteFolderPath(publish_directory), kRunLockName);
}

std::string SiteManifestPath(const std::string& publish_directory) {
  return JoinPath(SiteFolderPath(publish_directory), kSiteManifestName);
}

std::string SiteManifestChangesPath(const std::string& publish_directory) {
  return SiteManifestPath(publish_directory) + ".changes";
}

std::string SiteManifestRecordPath(const std::string& publish_directory) {
  return SiteManifestPath(publish_directory) + kImagingRecordExtension;
}

std::string ThumbnailsFolderPath(const std::string& publish_directory) {
  return JoinPath(SiteFolderPath(publish_directory), kThumbnailsFolderName);
}

std::string DisplayFolderPath(const std::string& publish_directory) {
  return JoinPath(SiteFolderPath(publish_directory), kDisplayFolderName);
}

std::string AlbumThumbnailFolder(const std::string& publish_directory, int album_number) {
  return JoinPath(ThumbnailsFolderPath(publish_directory), AlbumBaseName(album_number));
}

std::string AlbumDisplayFolder(const std::string& publish_directory, int album_number) {
  return JoinPath(DisplayFolderPath(publish_directory), AlbumBaseName(album_number));
}

std::string AlbumImagingRecordPath(const std::string& publish_directory, int album_number) {
  return JoinPath(ThumbnailsFolderPath(publish_directory), AlbumBaseName(album_number) + kImagingRecordExtension);
}

std::string AlbumOriginalsRecordPath(const std::string& publish_directory, int album_number) {
  return JoinPath(ThumbnailsFolderPath(publish_directory),
                  AlbumBaseName(album_number) + kOriginalsRecordInfix + kImagingRecordExtension);
}

std::string AlbumPageRecordPath(const std::string& publish_directory, int album_number) {
  return JoinPath(ThumbnailsFolderPath(publish_directory),
                  AlbumBaseName(album_number) + kPageRecordInfix + kImagingRecordExtension);
}

std::string SmallImageName(const std::string& published_name) { return published_name + kSmallImageExtension; }

std::string AlbumFormatsRecordPath(const std::string& publish_directory, int album_number) {
  return JoinPath(ImagesFolderPath(publish_directory),
                  AlbumBaseName(album_number) + kFormatsRecordInfix + kImagingRecordExtension);
}

std::array<std::string, 4> LayoutFolders(const std::string& publish_directory) {
  return {JoinPath(publish_directory, kImagesFolderName), SiteFolderPath(publish_directory),
          IndexFolderPath(publish_directory), ImagesFolderPath(publish_directory)};
}

std::string SiteFolderUrl() { return kSiteFolderName; }

std::string AlbumIndexUrlFromSite(int album_number) {
  return std::string(kIndexFolderName) + "/" + AlbumBaseName(album_number) + kIndexExtension;
}

std::string AlbumImagesUrlFromSite(int album_number) {
  return std::string(kImagesFolderName) + "/" + AlbumBaseName(album_number);
}

namespace {

std::string SiteFileUrl(std::string_view folder, int album_number, const std::string& name) {
  // Built in one piece: an album page asks for several of each picture.
  const std::string album = AlbumBaseName(album_number);
  const std::string_view site = kSiteFolderName;
  std::string url;
  url.reserve(site.size() + folder.size() + album.size() + name.size() + 3);
  return url.append(site).append(1, '/').append(folder).append(1, '/').append(album).append(1, '/').append(name);
}

}  // namespace

std::string PublishedPictureUrl(int album_number, const std::string& name) {
  return SiteFileUrl(kImagesFolderName, album_number, name);
}

std::string ThumbnailUrl(int album_number, const std::string& name) {
  return SiteFileUrl(kThumbnailsFolderName, album_number, name);
}

std::string DisplayCopyUrl(int album_number, const std::string& name) {
  return SiteFileUrl(kDisplayFolderName, album_number, name);
}

}  // namespace quorvale
