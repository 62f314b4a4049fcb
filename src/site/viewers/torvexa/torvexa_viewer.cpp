#include "viewers/torvexa/torvexa_viewer.h"

#include "generate/generation_context.h"
#include "generate/picture_publishing.h"
#include "imaging/album_images.h"
#include "platform/file_system.h"
#include "platform/product.h"
#include "platform/text_codec.h"
#include "layout/site_layout.h"
#include "viewers/torvexa/album_index.h"
#include "viewers/torvexa/album_page.h"
#include "viewers/torvexa/formats_record.h"
#include "viewers/torvexa/home_page.h"
#include "viewers/torvexa/stand_ins.h"

namespace quorvale {
namespace {

constexpr const char* kTipCaption = "Generate Tip: Album Picture Count";

std::string PictureCountTip(int picture_count) {
  const std::string limit = std::to_string(MaxPicturesPerAlbum);
  const std::string advised = std::to_string(kAdvisedPicturesPerAlbum);
  std::string text;
  if (picture_count > MaxPicturesPerAlbum) {
    text = "One or more of your albums contain more pictures than the allowable limit of " + limit +
           " in an album. Only first " + limit + " pictures will be viewed in the Torvexa viewer application.\r\n\r\n";
  }
  return text + "It is advisable to keep the number of pictures in each album to around " + advised +
         " (for 1028x768 screen resolution). For other screen resolution this number may be different and this "
         "also depend on your personal liking.\r\n\r\nAlthough number of pictures in an album is limited to " +
         limit + " but more than " + advised +
         " pictures will make index picture buttons in Java Viewer Application too small.\r\n\r\n"
         "This warning message is displayed only during the first time Generation Run for the new or opened project.";
}

}  // namespace

ViewerDescriptor TorvexaViewerDescriptor() {
  ViewerDescriptor viewer;
  viewer.id = ViewerId::kTorvexa;
  viewer.name = "Java";
  viewer.label = "JAVA";
  viewer.option_name = "optionJava";
  viewer.tool_tip = "The Torvexa applet, for browsers with Java";
  viewer.command_word = "java";
  viewer.folder = "Torvexa";
  viewer.files = {"PhotoAlbum.class",         "AlbumControlPanel.class", "AlbumNavigationPanel.class",
                  "AlbumLeaf.class",          "ShadowArea.class",        "LeafPicture.class",
                  "rmInfo.class",             "IndexPanel.class",        "albumPictureButton.class",
                  "myPictureButton.class",    "BannerPanel.class",       "photo_album.gif",
                  "spiral.gif",               "Torvexa_logo_long.jpg",   "Torvexa_logo_long_blk.jpg"};
  viewer.owned = {{kSiteFolderName}, kHomePageName, kPageExtension};
  // The applet shows the pictures as they are: every original is published unchanged.
  viewer.originals_optional = false;
  viewer.keep_location_tip =
      "The JAVA viewer publishes the original pictures unchanged, location included; choose HTML to publish them "
      "without it";
  viewer.browser = "Internet Explorer 4.5 or above";
  viewer.hint = "Today's browsers have no Java plug-in and show no pictures: choose HTML.";
  viewer.make_pages = [] { return std::make_unique<TorvexaViewer>(); };
  viewer.album_reads = [](const std::string& publish_directory, int album_number) {
    return AlbumReads{{{AlbumFormatsRecordPath(publish_directory, album_number), kMaxFormatsRecordBytes,
                        [](std::string_view bytes) { return std::any(ParseFormatsRecord(bytes)); }}},
                      {},
                      {},
                      {}};
  };
  return viewer;
}

void TorvexaViewer::BeginSite(GenerationContext& context) {
  home_page_ = HomePageHead(context.project_name());
  album_pages_.emplace(context.project(), context.project_name());
}

void TorvexaViewer::GenerateAlbum(GenerationContext& context, int album_number) {
  const Project& project = context.project();
  const std::string& publish_directory = context.publish_directory();
  home_page_ += HomePageAlbumEntry(album_number, project.AlbumTitles(album_number));

  const std::string page_path = AlbumPagePath(publish_directory, album_number);
  context.transcript().AppendLine("Generating album HTML (" + page_path + ") .... ");
  context.WritePage(page_path, album_pages_->Page(album_number));

  const PictureMap& pictures = project.AlbumPictures(album_number);
  const std::vector<PicturePublication> publications = TorvexaPublications(context, album_number);
  if (pictures.Count() > kAdvisedPicturesPerAlbum && context.TakePictureCountTip()) {
    context.ShowMessage({PictureCountTip(pictures.Count()), WindowTitle(kTipCaption), Buttons::kOk, Icon::kExclamation});
  }

  const std::string index_path = AlbumIndexPath(publish_directory, album_number);
  context.transcript().AppendLine((pictures.Empty() ? "    Generating EMPTY album index (" : "    Generating album index (") +
                                  index_path + ")");
  std::vector<std::string> published_names;
  for (const PicturePublication& publication : publications) published_names.push_back(publication.name);
  if (const auto reason = context.WriteSiteFile(index_path, AlbumIndexBytes(pictures, published_names))) {
    context.ReportFailure("    ", "Writing album index " + index_path, *reason);
  } else {
    context.Published(index_path);
  }

  PublishAlbumPictures(context, album_number, publications);
}

void TorvexaViewer::FinishSite(GenerationContext& context) {
  home_page_ += HomePageFoot(context.NowText());
  const std::string& publish_directory = context.publish_directory();
  context.WritePage(HomePagePath(publish_directory), Utf8ToWindows1252Html(home_page_));
  // The formats records of albums that no longer exist; their published pictures stay.
  if (!context.StopRequested()) {
    RemoveImagesOfLaterAlbums(publish_directory, ImagesFolderPath(publish_directory), context.project().AlbumCount(),
                              std::string(kFormatsRecordInfix) + kImagingRecordExtension, true);
  }
}

}  // namespace quorvale
