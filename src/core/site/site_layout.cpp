#include "site/site_layout.h"

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

}  // namespace quorvale
