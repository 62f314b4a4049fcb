#include "generate/generation_run.h"

#include "applet_output/album_index.h"
#include "applet_output/album_page.h"
#include "applet_output/home_page.h"
#include "applet_output/page_file.h"
#include "generate/generation_log.h"
#include "generate/picture_publishing.h"
#include "generate/viewer_copy.h"
#include "model/project.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/product.h"

namespace quorvale {
namespace {

// Status captions.
constexpr const char* kStatusCopyingViewer = "Copying PhotoAlbum Java Application ...";
constexpr const char* kStatusGenerating = "Generating PhotoAlbums  ...";
constexpr const char* kStatusCompleted = "Generation Completed.";
constexpr const char* kStatusProcessingAlbum = "Processing Album - ";

// Transcript lines.
constexpr const char* kHomePageCreated = "Java Home Page and Index Files created.";

// Messages.
constexpr const char* kGenerateCaption = "Generate Albums";
constexpr const char* kHadProblemsCaption = "GENERATION HAD ERRORS/WARNINGS";
constexpr const char* kSuccessfulCaption = "GENERATION SUCCESSFUL";
constexpr const char* kTipCaption = "Generate Tip: Album Picture Count";

// Above this many pictures an album's index buttons get too small; the tip says so.
constexpr int kAdvisedPicturesPerAlbum = 40;

std::string FolderMissingMessage(const std::string& publish_directory) {
  return "Publishing Folder (" + publish_directory + ") does not exist.";
}

std::string HadProblemsMessage(long long errors, long long warnings, const std::string& access_url) {
  return "Generation completed with " + std::to_string(errors) + " ERRORS and " + std::to_string(warnings) +
         " WARNINGS.\r\n\r\nInspect the Generation Status for more information about ERRORS/WARNINGS.\r\n\r\n"
         "To inspect your albums open " +
         access_url + " in Internet Explorer 4.5 or above.";
}

std::string SuccessfulMessage(const std::string& access_url) {
  return "GENERATION COMPLETED SUCCESSFULLY!!\r\n\r\nOpen " + access_url + " in Internet Explorer 4.5 or above\r\n\r\n" +
         std::string(52, ' ') + "AND\r\n\r\nBurn contents of your Publishing Directory on to CD-R's for distribution!!";
}

std::string PictureCountTip(int picture_count) {
  const std::string limit = std::to_string(MaxPicturesPerAlbum);
  std::string text;
  if (picture_count > MaxPicturesPerAlbum) {
    text = "One or more of your albums contain more pictures than the allowable limit of " + limit +
           " in an album. Only first " + limit + " pictures will be viewed in the Torvexa viewer application.\r\n\r\n";
  }
  return text +
         "It is advisable to keep the number of pictures in each album to around 40 (for 1028x768 screen "
         "resolution). For other screen resolution this number may be different and this also depend on your "
         "personal liking.\r\n\r\nAlthough number of pictures in an album is limited to " +
         limit +
         " but more than 40 pictures will make index picture buttons in Java Viewer Application too small.\r\n\r\n"
         "This warning message is displayed only during the first time Generation Run for the new or opened project.";
}

void EnsureLayoutFolder(const GenerationContext& context, const std::string& folder) {
  if (FolderExists(folder)) return;
  if (const auto reason = CreateFolder(folder)) context.ReportFailure("", "Creating folder " + folder, *reason);
}

}  // namespace

void ShowPictureCountTipIfDue(const GenerationContext& context, int picture_count) {
  if (!context.project.PictureCountTipPending || picture_count <= kAdvisedPicturesPerAlbum) return;
  context.project.PictureCountTipPending = false;
  context.dialogs.ShowMessage(
      {PictureCountTip(picture_count), WindowTitle(kTipCaption), Buttons::kOk, Icon::kExclamation});
}

void WriteJavaHomePage(const GenerationContext& context, const std::string& publish_directory) {
  const Project& project = context.project;
  std::string page = HomePageHead(context.project_name);
  for (int n = 0; n < project.AlbumCount(); ++n) {
    const std::string& title = project.AlbumTitles(n);
    context.SetStatus(kStatusProcessingAlbum + title);
    page += HomePageAlbumEntry(n, title);

    const std::string page_path = AlbumPagePath(publish_directory, n);
    context.transcript.AppendLine("Generating album HTML (" + page_path + ") .... ");
    if (const auto reason = WriteAlbumPage(publish_directory, project, n, context.project_name)) {
      context.ReportFailure("", "Writing page " + page_path, *reason);
    }

    const PictureMap& pictures = project.AlbumPictures(n);
    ShowPictureCountTipIfDue(context, pictures.Count());

    const std::string index_path = AlbumIndexPath(publish_directory, n);
    context.transcript.AppendLine((pictures.Empty() ? "    Generating EMPTY album index (" : "    Generating album index (") +
                                  index_path + ")");
    if (const auto reason = WriteAlbumIndex(publish_directory, n, pictures)) {
      context.ReportFailure("    ", "Writing album index " + index_path, *reason);
    }

    PublishAlbumPictures(context, publish_directory, n);
  }
  page += HomePageFoot(context.clock.NowText());
  const std::string home_path = HomePagePath(publish_directory);
  if (const auto reason = WritePageFile(home_path, page)) {
    context.ReportFailure("", "Writing page " + home_path, *reason);
  }
  context.transcript.AppendLine(kHomePageCreated);
  context.transcript.AppendLineEnd();
}

GenerationOutcome GenerateAlbums(const GenerationContext& context, const std::string& publish_directory) {
  if (publish_directory.empty()) return GenerationOutcome::kNotRun;
  GenerationCounters& counters = context.counters;
  counters = GenerationCounters{};
  if (!FolderExists(publish_directory)) {
    context.dialogs.ShowMessage({FolderMissingMessage(publish_directory), WindowTitle(kGenerateCaption), Buttons::kOk,
                                 Icon::kCritical});
    return GenerationOutcome::kFolderMissing;
  }

  const std::string photo_album = JoinPath(publish_directory, "PhotoAlbum");
  EnsureLayoutFolder(context, JoinPath(publish_directory, "images"));
  EnsureLayoutFolder(context, photo_album);
  EnsureLayoutFolder(context, JoinPath(photo_album, "index"));
  EnsureLayoutFolder(context, JoinPath(photo_album, "images"));

  context.transcript.AppendLine("Generation started (" + context.clock.NowText() + ") ....");
  context.transcript.AppendLineEnd();

  context.SetStatus(kStatusCopyingViewer);
  CopyJavaViewerFiles(context, publish_directory);  // a failed walk still goes on with the pages
  context.SetStatus(kStatusGenerating);
  WriteJavaHomePage(context, publish_directory);

  context.transcript.AppendLine("Generation completed (" + context.clock.NowText() + ").");
  context.transcript.AppendLineEnd();
  context.SetStatus(kStatusCompleted);

  const bool had_problems = counters.ErrorCount > 0 || counters.WarningCount > 0;
  const std::string log_message =
      had_problems ? LogGeneratedWith(counters.ErrorCount, counters.WarningCount) : kLogGeneratedSuccessfully;
  if (const auto reason = AppendLogEntry(publish_directory, context.clock.NowText(), log_message)) {
    context.ReportFailure("", "Appending to log file " + GenerationLogPath(publish_directory), *reason);
  }

  if (counters.ErrorCount > 0 || counters.WarningCount > 0) {
    context.dialogs.ShowMessage({HadProblemsMessage(counters.ErrorCount, counters.WarningCount, context.access_url),
                                 WindowTitle(kHadProblemsCaption), Buttons::kOk, Icon::kCritical});
  } else {
    context.dialogs.ShowMessage(
        {SuccessfulMessage(context.access_url), WindowTitle(kSuccessfulCaption), Buttons::kOk, Icon::kInformation});
  }
  return GenerationOutcome::kCompleted;
}

}  // namespace quorvale
