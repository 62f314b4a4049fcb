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
#include "platform/code_identity.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "layout/site_layout.h"
#include "viewers/html/html_album_page.h"
#include "viewers/html/html_album_tiles.h"
#include "viewers/html/html_home_page.h"
#include "viewers/html/html_page_parts.h"
#include "viewers/html/html_page_record.h"
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

  PictureFacts Of(const std::string& relative) {
    const auto [folder, name] = Find(relative);
    std::uintmax_t size = 0;
    const auto start = folder.ReadStart(name, kPictureFactsBytes, size);
    if (!start) return PictureFacts{};
    PictureFacts facts = ReadPictureFacts(*start);
    facts.bytes = size;
    return facts;
  }
  std::optional<FileStamp> Stamp(const std::string& relative) {
    const auto [folder, name] = Find(relative);
    return folder.Stamp(name);
  }

 private:
  // The open folder of the file at `relative`, and the file's name.
  std::pair<FolderBelow&, std::string> Find(std::string relative) {
    for (char& c : relative) {
      if (c == '/') c = kPathSeparator;
    }
    const std::string path = publish_directory_ + kPathSeparator + relative;
    const std::string folder = FolderOf(path);
    auto found = folders_.find(folder);
    if (found == folders_.end()) found = folders_.emplace(folder, FolderBelow(publish_directory_, folder)).first;
    return {found->second, FileNameOf(path)};
  }

  std::string publish_directory_;
  std::map<std::string, FolderBelow> folders_;
};

// Writes `record`, unless the earlier one says the same already.
void KeepRecord(GenerationContext& context, const std::string& record_path, const HtmlPageRecord& record,
                const std::optional<HtmlPageRecord>& earlier) {
  if (earlier && record == *earlier) return;
  if (!context.EnsureFolder("", ThumbnailsFolderPath(context.publish_directory()))) return;
  if (const auto failure = context.WriteSiteFile(record_path, HtmlPageRecordBytes(record))) {
    context.ReportFailure("", "Writing record " + record_path, *failure);
  }
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
    const std::string images_record = AlbumImagingRecordPath(publish_directory, album_number);
    const auto record_in = [images_record](const std::unordered_map<std::string, std::any>& files) {
      const auto found = files.find(images_record);
      const auto* record = found == files.end() ? nullptr : std::any_cast<std::optional<ImagingRecord>>(&found->second);
      return record != nullptr && *record ? &**record : nullptr;
    };
    // The images' record, as read, vouches for the image folders at the stamps it keeps.
    const auto vouched = [record_in](bool thumbnails) {
      return [record_in, thumbnails](const std::unordered_map<std::string, std::any>& files) {
        const ImagingRecord* record = record_in(files);
        if (record == nullptr) return std::optional<FileStamp>();
        return thumbnails ? record->thumbnail_folder : record->display_folder;
      };
    };
    // Without published originals, the page shows each picture's facts from its widest
    // display copy, as the copy is: the copies the record names are looked up ahead.
    const auto widest_displays = [record_in](const std::unordered_map<std::string, std::any>& files) {
      std::vector<std::string> names;
      const ImagingRecord* record = record_in(files);
      if (record == nullptr || record->settings.original_published) return names;
      for (const RecordedPicture& picture : record->pictures) {
        if (picture.sizes.displays.empty()) continue;
        AssignSizedImagePath(names.emplace_back(), FileNameIn(picture.display), picture.sizes.displays.back().width,
                             false);
      }
      return names;
    };
    // The originals' record, as read, vouches for the album's image folder.
    const std::string originals_record = AlbumOriginalsRecordPath(publish_directory, album_number);
    const auto originals_vouched = [originals_record](const std::unordered_map<std::string, std::any>& files) {
      const auto found = files.find(originals_record);
      const auto* record = found == files.end() ? nullptr : std::any_cast<std::optional<OriginalsRecord>>(&found->second);
      return record != nullptr && *record ? (*record)->folder : std::nullopt;
    };
    return AlbumReads{{{originals_record, kMaxOriginalsRecordBytes,
                        [](std::string_view bytes) { return std::any(ParseOriginalsRecord(bytes)); }},
                       {images_record, kMaxImagingRecordBytes,
                        [](std::string_view bytes) { return std::any(ParseImagingRecord(bytes)); }},
                       {AlbumPageRecordPath(publish_directory, album_number), kMaxHtmlPageRecordBytes,
                        [](std::string_view bytes) { return std::any(ParseHtmlPageRecord(bytes)); }}},
                      {{AlbumThumbnailFolder(publish_directory, album_number), vouched(true)},
                       {AlbumDisplayFolder(publish_directory, album_number), vouched(false)}},
                      {{AlbumDisplayFolder(publish_directory, album_number), widest_displays}},
                      originals_vouched};
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

  const bool originals_published = context.settings().PublishPictures != 0;
  const HtmlAlbumFolders folders = HtmlAlbumFoldersOf(album_number, originals_published);
  // The page's record: what this code made the page from, and the display copies' facts
  // it read, which hold while a copy keeps its stamp.
  const std::string record_path = AlbumPageRecordPath(publish_directory, album_number);
  const std::optional<std::string> code = CodeIdentity();
  std::optional<HtmlPageRecord> earlier =
      code ? context.ReadRecord(album_number, record_path, kMaxHtmlPageRecordBytes, ParseHtmlPageRecord)
           : std::nullopt;
  if (earlier && earlier->code != *code) earlier.reset();
  HtmlPageRecord record;
  std::vector<HtmlTileInputs> tiles;
  tiles.reserve(results.size());
  PublishedFacts published_facts(context.publish_directory());
  const std::string display_folder = AlbumDisplayFolder(publish_directory, album_number);
  std::string widest_display;
  std::size_t i = 0;
  for (const Picture& picture : pictures) {
    const PictureImagesResult& result = results[i];
    HtmlTileInputs& tile = tiles.emplace_back();
    tile.file_name = std::move(file_names[i]);  // its last use
    tile.comment = picture.comment;
    // A picture whose images could not be made may still be there (a damaged file).
    tile.found = result.state != PictureImagesState::kMissing &&
                 (result.state != PictureImagesState::kFailed || FileExists(picture.path));
    tile.published_name = published[i];
    if (result.HasImages()) {
      tile.sizes = &result.sizes;
      // A published original's facts come from the originals step, which read them when
      // it wrote the file or kept them from then; else they are read from the file. The
      // widest display copy's are read when the page's record has none for it as it is.
      const std::optional<PictureFacts>& original_facts = originals[i].facts;
      if (originals_published) {
        tile.facts = original_facts ? *original_facts : published_facts.Of(folders.originals + published[i]);
      } else {
        AssignSizedImagePath(widest_display, published[i], result.sizes.displays.back().width, false);
        const std::string relative = folders.displays + widest_display;
        // Looked up, not taken from the images' record: a copy changed on disk shows
        // what it now is. An up-to-date copy was not written in this run, so its stamp
        // as looked up ahead holds. A program without a code identity keeps no record to
        // look in.
        std::optional<FileStamp> stamp;
        if (code && result.state == PictureImagesState::kUpToDate) {
          stamp = context.TakeLookedUpStamp(album_number, JoinPath(display_folder, widest_display));
        }
        if (code && !stamp) stamp = published_facts.Stamp(relative);
        const DisplayFacts* known = nullptr;
        if (earlier) {
          const auto found = earlier->display_facts.find(widest_display);
          if (found != earlier->display_facts.end()) known = &found->second;
        }
        if (stamp && known && known->copy == *stamp) {
          tile.facts = known->facts;
        } else {
          tile.facts = published_facts.Of(relative);
        }
        if (stamp) record.display_facts[widest_display] = {*stamp, tile.facts};
      }
    }
    ++i;
  }

  // The page is built only when what it shows, or the file, changed since the record.
  HtmlAlbum& album = site_.albums[static_cast<std::size_t>(album_number)];
  const std::optional<std::string> digest = HtmlAlbumPageDigest(site_, album_number, folders, tiles);
  std::optional<FileStamp> page_stamp =
      earlier && digest && earlier->digest == *digest ? StampBelow(publish_directory, page_path) : std::nullopt;
  if (!page_stamp || *page_stamp != earlier->page) {
    album.pictures.reserve(tiles.size());
    for (const HtmlTileInputs& tile : tiles) album.pictures.push_back(HtmlTile(tile, folders));
    if (!context.WritePage(page_path, HtmlAlbumPage(site_, album_number))) return;  // the old page shows the old images
    album.pictures = std::vector<HtmlPicture>();  // their memory too
    page_stamp = digest ? StampBelow(publish_directory, page_path) : std::nullopt;
  }
  // A page whose file cannot be looked up gets no record: the next run builds it again.
  if (page_stamp) {
    context.Published(page_path, page_stamp);
    record.code = *code;
    record.digest = *digest;
    record.page = *page_stamp;
    KeepRecord(context, record_path, record, earlier);
  }
  RemoveUnusedImagesOfAlbum(context, images);
  // The home page needs only the album's count and its cover (its first picture with
  // images): the other pictures are let go, so the run's memory does not grow with
  // every album's pictures.
  const auto cover = std::find_if(tiles.begin(), tiles.end(), [](const HtmlTileInputs& tile) { return tile.sizes; });
  if (cover != tiles.end()) album.pictures.push_back(HtmlTile(*cover, folders));
  album.pictures_let_go = tiles.size() - album.pictures.size();
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
