#include "viewers/html/html_viewer.h"

#include "generate/generation_context.h"
#include "generate/picture_publishing.h"
#include "imaging/album_images.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text_codec.h"
#include "site/site_layout.h"
#include "viewers/html/html_album_page.h"
#include "viewers/html/html_home_page.h"
#include "viewers/html/html_viewer_files.h"
#include "viewers/html/published_names.h"

namespace quorvale {
namespace {

constexpr const char* kIndent = "        ";

// A picture's thumbnail and display copy are JPEG files named after its published
// name with the extension ".jpg" ("boat.gif" gives "boat.jpg"), made distinct within
// the album the same way the published names are.
std::vector<std::string> ImageNames(const std::vector<std::string>& published_names) {
  std::vector<std::string> names;
  for (const std::string& name : published_names) {
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos || dot == 0 ? "" : AsciiLower(name.substr(dot));
    names.push_back(extension == ".jpg" || extension == ".jpeg" ? name : stem + ".jpg");
  }
  return DistinctPublishedNames(names);
}

std::vector<PictureImagesResult> MakeAlbumImages(GenerationContext& context, int album_number,
                                                 const std::vector<PictureImages>& pictures) {
  const std::string& publish_directory = context.publish_directory();
  AlbumImagesJob job;
  job.record_path = AlbumImagesRecordPath(publish_directory, album_number);
  job.thumbnail_folder = AlbumThumbnailFolder(publish_directory, album_number);
  job.display_folder = AlbumDisplayFolder(publish_directory, album_number);
  job.pictures = pictures;
  job.jobs = context.job().imaging_jobs;
  AlbumImagesEvents events;
  events.picture_done = [&](std::size_t i, const PictureImagesResult& result) {
    // A missing picture was reported when it was to be published.
    if (result.state == PictureImagesState::kFailed) {
      context.ReportFailure(kIndent, "Making the thumbnail of picture " + pictures[i].source, result.reason);
    }
  };
  return PrepareAlbumImages(job, *context.job().imaging, events, context.stop_token());
}

}  // namespace

std::vector<std::string> HtmlViewer::ViewerFiles() const {
  return {kHtmlViewerFiles.begin(), kHtmlViewerFiles.end()};
}

OwnedEntries HtmlViewer::Owned() const { return {{kSiteFolderName}, kHomePageName, kPageExtension}; }

void HtmlViewer::BeginSite(GenerationContext& context) {
  const Project& project = context.project();
  site_ = HtmlSite{HtmlSiteTitle(context.project_name()), context.NowText(), {}};
  // Every album's title first: an album page links to the album after it.
  for (int n = 0; n < project.AlbumCount(); ++n) site_.albums.push_back({project.AlbumTitles(n), {}});
  if (context.job().imaging == nullptr) {
    context.ReportFailure("", "Making thumbnails", "this program was built without its imaging library");
  }
}

void HtmlViewer::GenerateAlbum(GenerationContext& context, int album_number) {
  const std::string& publish_directory = context.publish_directory();
  const PictureMap& pictures = context.project().AlbumPictures(album_number);
  const std::string page_path = AlbumPagePath(publish_directory, album_number);
  context.transcript().AppendLine("Generating album HTML (" + page_path + ") .... ");

  std::vector<std::string> file_names;
  for (const Picture& picture : pictures) file_names.push_back(FileNameOf(picture.path));
  const std::vector<std::string> published = DistinctPublishedNames(file_names);
  PublishAlbumPictures(context, album_number, published);
  if (context.StopRequested()) return;

  const std::vector<std::string> image_names = ImageNames(published);
  std::vector<PictureImages> images;
  for (std::size_t i = 0; i < published.size(); ++i) {
    images.push_back({pictures.At(static_cast<int>(i)).path,
                      JoinPath(AlbumImageFolder(publish_directory, album_number), published[i]),
                      JoinPath(AlbumThumbnailFolder(publish_directory, album_number), image_names[i]),
                      JoinPath(AlbumDisplayFolder(publish_directory, album_number), image_names[i])});
  }
  std::vector<PictureImagesResult> results(images.size());
  if (context.job().imaging != nullptr) {
    results = MakeAlbumImages(context, album_number, images);
  } else {
    for (std::size_t k = 0; k < images.size(); ++k) {
      results[k].state = FileExists(images[k].source) ? PictureImagesState::kFailed : PictureImagesState::kMissing;
    }
  }
  if (context.StopRequested()) return;

  HtmlAlbum& album = site_.albums[static_cast<std::size_t>(album_number)];
  std::size_t i = 0;
  for (const Picture& picture : pictures) {
    const PictureImagesResult& result = results[i];
    HtmlPicture shown{file_names[i], picture.comment, result.state != PictureImagesState::kMissing,
                      PublishedPictureUrl(album_number, published[i]), std::nullopt, std::nullopt};
    if (result.HasImages()) {
      const PreparedPicture& sizes = result.sizes;
      shown.thumbnail = HtmlImage{ThumbnailUrl(album_number, image_names[i]), sizes.thumbnail_width,
                                  sizes.thumbnail_height};
      shown.display = HtmlImage{
          sizes.display_is_original ? shown.original : DisplayCopyUrl(album_number, image_names[i]),
          sizes.display_width, sizes.display_height};
    }
    album.pictures.push_back(std::move(shown));
    ++i;
  }
  if (const auto reason = WriteWholeFile(page_path, HtmlAlbumPage(site_, album_number))) {
    context.ReportFailure("", "Writing page " + page_path, *reason);
  }
}

void HtmlViewer::FinishSite(GenerationContext& context) {
  const std::string& publish_directory = context.publish_directory();
  const int album_count = static_cast<int>(site_.albums.size());
  RemoveImagesOfLaterAlbums(ThumbnailsFolderPath(publish_directory), album_count, kImagesRecordExtension);
  RemoveImagesOfLaterAlbums(DisplayFolderPath(publish_directory), album_count, kImagesRecordExtension);
  const std::string home_path = HomePagePath(publish_directory);
  if (const auto reason = WriteWholeFile(home_path, HtmlHomePage(site_))) {
    context.ReportFailure("", "Writing page " + home_path, *reason);
  }
}

}  // namespace quorvale
