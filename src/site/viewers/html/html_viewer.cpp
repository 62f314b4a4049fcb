#include "viewers/html/html_viewer.h"

#include <algorithm>
#include <map>
#include <utility>

#include "generate/album_images_step.h"
#include "generate/generation_context.h"
#include "generate/original_publishing.h"
#include "generate/originals_record.h"
#include "imaging/imaging_record.h"
#include "imaging/responsive_sizes.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "layout/site_layout.h"
#include "viewers/html/html_album_page.h"
#include "viewers/html/html_home_page.h"
#include "viewers/html/html_page_parts.h"
#include "viewers/html/html_viewer_files.h"
#include "imaging/picture_facts.h"
#include "viewers/html/published_names.h"
#include "viewers/html/viewer_words.h"

namespace quorvale {

namespace {

// The facts of the files a visitor gets of an album's pictures (each `relative` below
// the Publishing Directory, "/" between its parts): the published originals, or else the
// display copies. Each folder they lie in is opened once for all of them.
class PublishedFacts {
 public:
  explicit PublishedFacts(std::string publish_directory) : publish_directory_(std::move(publish_directory)) {}

  PictureFacts Of(std::string relative) {
    for (char& c : relative) {
      if (c == '/') c = kPathSeparator;
    }
    const std::string path = publish_directory_ + kPathSeparator + relative;
    const std::string folder = FolderOf(path);
    auto found = folders_.find(folder);
    if (found == folders_.end()) found = folders_.emplace(folder, FolderBelow(publish_directory_, folder)).first;
    std::uintmax_t size = 0;
    const auto start = found->second.ReadStart(FileNameOf(path), kPictureFactsBytes, size);
    if (!start) return PictureFacts{};
    PictureFacts facts = ReadPictureFacts(*start);
    facts.bytes = size;
    return facts;
  }

 private:
  std::string publish_directory_;
  std::map<std::string, FolderBelow> folders_;
};

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

// Once an album's page is written, the home page needs only its count and its cover
// (its first picture with images): the other pictures are let go, so the run's memory
// does not grow with every album's pictures.
void KeepWhatTheHomePageShows(HtmlAlbum& album) {
  std::vector<HtmlPicture> kept;
  const auto cover = std::find_if(album.pictures.begin(), album.pictures.end(),
                                  [](const HtmlPicture& picture) { return picture.thumbnail && picture.display; });
  if (cover != album.pictures.end()) kept.push_back(std::move(*cover));
  album.pictures_let_go += album.pictures.size() - kept.size();
  album.pictures = std::move(kept);
}

}  // namespace

ViewerDescriptor HtmlViewerDescriptor() {
  ViewerDescriptor viewer;
  viewer.id = ViewerId::kHtml;
  viewer.name = "HTML";
  viewer.label = "HTML";
  viewer.option_name = "optionHTML";
  viewer.tool_tip = "Pages for today's browsers, phones included";
  viewer.command_word = "html";
  viewer.folder = "Html";
  viewer.files = {kHtmlViewerFiles.begin(), kHtmlViewerFiles.end()};
  viewer.owned = {{kSiteFolderName}, kHomePageName, kPageExtension};
  viewer.originals_optional = true;
  viewer.site_texts = true;
  viewer.browser = "any web browser";
  viewer.keep_location_tip =
      "Leave the GPS position in the display copies and published originals of pictures that hold one (serial "
      "numbers and owner names never stay)";
  viewer.make_pages = [] { return std::make_unique<HtmlViewer>(); };
  viewer.album_reads = [](const std::string& publish_directory, int album_number) {
    return AlbumReads{{{AlbumOriginalsRecordPath(publish_directory, album_number), kMaxOriginalsRecordBytes,
                        [](std::string_view bytes) { return std::any(ParseOriginalsRecord(bytes)); }},
                       {AlbumImagingRecordPath(publish_directory, album_number), kMaxImagingRecordBytes,
                        [](std::string_view bytes) { return std::any(ParseImagingRecord(bytes)); }}},
                      {AlbumThumbnailFolder(publish_directory, album_number),
                       AlbumDisplayFolder(publish_directory, album_number)}};
  };
  return viewer;
}

void HtmlViewer::BeginSite(GenerationContext& context) {
  const Project& project = context.project();
  const ProjectSettings& settings = context.settings();
  site_ = HtmlSite{settings.SiteTitle.empty() ? HtmlSiteTitle(context.project_name()) : settings.SiteTitle,
                   context.NowIsoText(), {}, std::string(SiteLanguageOrDefault(settings.SiteLanguage))};
  // Every album's title first: an album page links to the album after it.
  for (int n = 0; n < project.AlbumCount(); ++n) site_.albums.push_back({project.AlbumTitles(n), {}});
}

void HtmlViewer::GenerateAlbum(GenerationContext& context, int album_number) {
  const std::string& publish_directory = context.publish_directory();
  const PictureMap& pictures = context.project().AlbumPictures(album_number);
  const std::string page_path = AlbumPagePath(publish_directory, album_number);
  context.transcript().AppendLine("Generating album HTML (" + page_path + ") .... ");

  std::vector<std::string> file_names;
  for (const Picture& picture : pictures) file_names.push_back(FileNameOf(picture.path));
  const std::vector<std::string> published = DistinctPublishedNames(file_names);
  const std::vector<PublishedOriginal> originals = PublishAlbumOriginals(context, album_number, published);
  if (context.StopRequested()) return;

  std::vector<PublishedPicture> published_pictures;
  for (std::size_t i = 0; i < published.size(); ++i) {
    published_pictures.push_back({pictures.At(static_cast<int>(i)).path, published[i], originals[i].source_stamp});
  }
  const AlbumImagesResult images = MakeAlbumImages(context, album_number, published_pictures);
  const std::vector<PictureImagesResult>& results = images.pictures;
  if (context.StopRequested()) return;

  HtmlAlbum& album = site_.albums[static_cast<std::size_t>(album_number)];
  album.pictures.reserve(static_cast<std::size_t>(pictures.Count()));
  const bool originals_published = context.settings().PublishPictures != 0;
  // The URLs of the album's folders, which every picture's URLs begin with.
  const std::string originals_url = PublishedPictureUrl(album_number, "");
  const std::string thumbnails_url = ThumbnailUrl(album_number, "");
  const std::string displays_url = DisplayCopyUrl(album_number, "");
  PublishedFacts published_facts(context.publish_directory());
  std::size_t i = 0;
  for (const Picture& picture : pictures) {
    const PictureImagesResult& result = results[i];
    // A picture whose images could not be made may still be there (a damaged file).
    const bool found = result.state != PictureImagesState::kMissing &&
                       (result.state != PictureImagesState::kFailed || FileExists(picture.path));
    // Without published originals nothing links one.
    HtmlPicture shown;
    shown.file_name = std::move(file_names[i]);  // its last use
    shown.comment = picture.comment;
    shown.found = found;
    if (originals_published) shown.original = originals_url + published[i];
    if (result.HasImages()) {
      const PreparedPicture& sizes = result.sizes;
      const auto url = [&](bool thumbnail, const ImageSize& size, bool webp) {
        return HtmlImage{(thumbnail ? thumbnails_url : displays_url) + SizedImagePath(published[i], size.width, webp),
                         size.width, size.height};
      };
      for (const ImageSize& size : sizes.thumbnails) {
        shown.thumbnail_jpegs.push_back(url(true, size, false));
        if (sizes.thumbnails_webp) shown.thumbnail_webps.push_back(url(true, size, true));
      }
      for (std::size_t d = 0; d < sizes.displays.size(); ++d) {
        const bool original = sizes.display_is_original && d + 1 == sizes.displays.size();
        shown.display_jpegs.push_back(original ? HtmlImage{shown.original, sizes.displays[d].width,
                                                           sizes.displays[d].height}
                                               : url(false, sizes.displays[d], false));
        if (sizes.displays_webp) shown.display_webps.push_back(url(false, sizes.displays[d], true));
      }
      shown.thumbnail = FallbackThumbnail(shown.thumbnail_jpegs);
      shown.display = shown.display_jpegs.back();
      // A published original's facts come from the originals step, which read them when
      // it wrote the file or kept them from then.
      const std::optional<PictureFacts>& original_facts = originals[i].facts;
      if (originals_published && original_facts) {
        shown.facts = *original_facts;
      } else {
        shown.facts = published_facts.Of(originals_published ? shown.original : shown.display->path);
      }
    }
    album.pictures.push_back(std::move(shown));
    ++i;
  }
  if (!context.WritePage(page_path, HtmlAlbumPage(site_, album_number))) return;  // the old page shows the old images
  RemoveUnusedImagesOfAlbum(context, images);
  KeepWhatTheHomePageShows(album);
  if (!originals_published) WithdrawAlbumOriginals(context, album_number, published);
}

void HtmlViewer::FinishSite(GenerationContext& context) {
  const std::string icon_path = SiteFolderPath(context.publish_directory()) + kPathSeparator + kSiteIcon;
  context.WritePage(icon_path, HtmlSiteIcon(site_.title));
  const std::string home_path = HomePagePath(context.publish_directory());
  if (!context.WritePage(home_path, HtmlHomePage(site_))) return;  // the old home page shows the removed albums
  RemoveImagesOfRemovedAlbums(context);
}

}  // namespace quorvale
