#include "generate/generation_job.h"

#include "generate/access_url.h"
#include "generate/generation_context.h"
#include "generate/generation_log.h"
#include "generate/publish_directory_messages.h"
#include "generate/site_manifest_files.h"
#include "generate/viewer_copy.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/folder_walks.h"
#include "platform/product.h"
#include "layout/site_layout.h"

namespace quorvale {
namespace {

// Status captions.
constexpr const char* kStatusGenerating = "Generating PhotoAlbums  ...";
constexpr const char* kStatusCompleted = "Generation Completed.";
constexpr const char* kStatusCancelled = "Generation cancelled.";
constexpr const char* kStatusProcessingAlbum = "Processing Album - ";

// Messages.
constexpr const char* kGenerateCaption = "Generate Albums";
constexpr const char* kHadProblemsCaption = "GENERATION HAD ERRORS/WARNINGS";
constexpr const char* kSuccessfulCaption = "GENERATION SUCCESSFUL";

std::string HadProblemsMessage(long long errors, long long warnings, const std::string& access_url,
                               const std::string& browser) {
  return "Generation completed with " + std::to_string(errors) + " ERRORS and " + std::to_string(warnings) +
         " WARNINGS.\r\n\r\nInspect the Generation Status for more information about ERRORS/WARNINGS.\r\n\r\n"
         "To inspect your albums open " +
         access_url + " in " + browser + ".";
}

std::string SuccessfulMessage(const std::string& access_url, const std::string& browser) {
  return "GENERATION COMPLETED SUCCESSFULLY!!\r\n\r\nOpen " + access_url + " in " + browser + "\r\n\r\n" +
         std::string(52, ' ') + "AND\r\n\r\nBurn contents of your Publishing Directory on to CD-R's for distribution!!";
}

// The viewer's pages, album by album in list order, each album's pictures with them;
// with `remove_leftovers`, what a killed run left half-written in an album's image
// folder goes first. False when the run was stopped before the site was finished.
bool WriteSite(GenerationContext& context, const std::string& viewer_name, Viewer& viewer, bool remove_leftovers) {
  const Project& project = context.project();
  viewer.BeginSite(context);
  for (int n = 0; n < project.AlbumCount(); ++n) {
    if (context.StopRequested()) return false;
    context.SetStatus(kStatusProcessingAlbum + project.AlbumTitles(n));
    context.BeginAlbum(n);
    if (remove_leftovers) context.RemoveAlbumLeftovers(n);
    viewer.GenerateAlbum(context, n);
  }
  if (context.StopRequested()) return false;
  viewer.FinishSite(context);
  context.transcript().AppendLine(viewer_name + " Home Page and Index Files created.");
  context.transcript().AppendLineEnd();
  return true;
}

// The log entry of a run that went through, or of one stopped part way: the counts
// say what it met so far.
std::string LogMessage(const GenerationCounters& counters, bool stopped) {
  if (stopped) return LogCancelledWith(counters.ErrorCount, counters.WarningCount);
  if (counters.ErrorCount > 0 || counters.WarningCount > 0) {
    return LogGeneratedWith(counters.ErrorCount, counters.WarningCount);
  }
  return kLogGeneratedSuccessfully;
}

}  // namespace

GenerationJob MakeGenerationJob(Project project, const ProjectSettings& settings,
                                const std::string& project_name, const Clock& clock, const ViewerDescriptor& viewer) {
  GenerationJob job;
  job.project = std::move(project);
  job.settings = settings;
  job.project_name = project_name;
  job.access_url = AccessUrlFor(settings.PublishDirectory);
  job.clock = &clock;
  job.viewer = viewer;
  return job;
}

GenerationResult GenerateAlbums(GenerationJob job, GenerationEvents& events, std::stop_token stop) {
  GenerationResult result;
  result.PictureCountTipPending = job.project.PictureCountTipPending;
  const std::string& publish_directory = job.settings.PublishDirectory;
  if (publish_directory.empty()) return result;

  GenerationContext context(job, events, std::move(stop));
  result.progress = context.progress();
  if (!FolderExists(publish_directory)) {
    context.ShowMessage({PublishFolderMissingMessage(publish_directory), WindowTitle(kGenerateCaption), Buttons::kOk,
                         Icon::kCritical});
    result.outcome = GenerationOutcome::kFolderMissing;
    return result;
  }

  // The run's many files lie in a few folders: each is reached from the Publishing
  // Directory once, not once per file.
  const FolderWalkMemory walks(publish_directory);

  // The lock lives in the site folder, which Clear removes with it. When the folder
  // cannot hold one (a link in its place), the run goes on unlocked and the layout step
  // below names the cause; nothing is written into that folder then.
  CreateFolderBelow(publish_directory, SiteFolderPath(publish_directory));
  const FileLock lock(publish_directory, RunLockPath(publish_directory));
  if (lock.GetState() == FileLock::State::kBusy) {
    context.ShowMessage(
        {PublishDirectoryBusyMessage(publish_directory), WindowTitle(kGenerateCaption), Buttons::kOk, Icon::kCritical});
    result.outcome = GenerationOutcome::kBusy;
    return result;
  }
  // No other run writes here now: what a killed one left half-written goes, from each
  // album's image folder when the run comes to the album.
  const bool remove_leftovers = lock.GetState() == FileLock::State::kHeld;
  if (remove_leftovers) {
    RemoveLeftoverWrites(publish_directory, publish_directory);
    for (const std::string& folder : LayoutFolders(publish_directory)) RemoveLeftoverWrites(publish_directory, folder);
  }

  const ViewerDescriptor& descriptor = job.viewer;
  const std::unique_ptr<Viewer> viewer = descriptor.make_pages();
  for (const std::string& folder : LayoutFolders(publish_directory)) context.EnsureFolder("", folder);

  Transcript& transcript = context.transcript();
  transcript.AppendLine("Generation started (" + context.NowText() + ") ....");
  transcript.AppendLineEnd();

  context.SetStatus("Copying PhotoAlbum " + descriptor.name + " Application ...");
  CopyViewerFiles(context, descriptor.files);  // a failed walk still goes on with the pages
  if (!context.StopRequested()) context.SetStatus(kStatusGenerating);
  const bool finished = !context.StopRequested() && WriteSite(context, descriptor.name, *viewer, remove_leftovers);

  const GenerationCounters& counters = context.counters();
  if (finished) {
    transcript.AppendLine("Generation completed (" + context.NowText() + ").");
    transcript.AppendLineEnd();
    context.SetStatus(kStatusCompleted);
  } else {
    transcript.AppendLine(kStatusCancelled);
    context.SetStatus(kStatusCancelled);
  }
  if (const auto reason = AppendLogEntry(publish_directory, context.NowText(), LogMessage(counters, !finished))) {
    context.ReportFailure("", "Appending to log file " + GenerationLogPath(publish_directory), *reason);
  }
  RecordSiteManifest(context, finished);

  if (!finished) {
    // No final box: the user asked for the stop and the transcript says it happened.
  } else if (counters.ErrorCount > 0 || counters.WarningCount > 0) {
    context.ShowMessage({HadProblemsMessage(counters.ErrorCount, counters.WarningCount, job.access_url, descriptor.browser),
                         WindowTitle(kHadProblemsCaption), Buttons::kOk, Icon::kCritical});
  } else {
    context.ShowMessage(
        {SuccessfulMessage(job.access_url, descriptor.browser), WindowTitle(kSuccessfulCaption), Buttons::kOk, Icon::kInformation});
  }

  result.outcome = finished ? GenerationOutcome::kCompleted : GenerationOutcome::kStopped;
  result.counters = counters;
  result.progress = context.progress();
  result.PictureCountTipPending = context.PictureCountTipPending();
  return result;
}

}  // namespace quorvale
