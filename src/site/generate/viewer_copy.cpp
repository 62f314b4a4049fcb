#include "generate/viewer_copy.h"

#include "generate/generation_context.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/product.h"
#include "layout/site_layout.h"

namespace quorvale {
namespace {

constexpr const char* kCopyingBaseFiles = "Copying Base Application Files";
constexpr const char* kSourceMissingCaption = "Generate - Viewer Application";

std::string SourceMissingMessage(const std::string& source_directory) {
  return "Application Source Directory (" + source_directory + ") does not exist. Can not Proceed.\r\n\r\n"
         "Reinstall Quorvale.";
}

// False when the source folder or the source file is missing.
bool CopyViewerFile(GenerationContext& context, FolderBelow& site_folder, const std::string& file_name) {
  const std::string& source_directory = context.settings().ApplicationSourceDirectory;
  if (!FolderExists(source_directory)) {
    context.ShowMessage({SourceMissingMessage(source_directory), WindowTitle(kSourceMissingCaption), Buttons::kOk,
                         Icon::kCritical});
    return false;
  }
  const std::string source = JoinPath(source_directory, file_name);
  const std::string destination = JoinPath(SiteFolderPath(context.publish_directory()), file_name);
  const std::string copy_failed = "    ERROR: Copying file " + source + " to " + destination + ".";

  std::string reason;
  const auto source_stamp = StampOf(source, &reason);
  if (!source_stamp) {
    if (reason.empty()) {
      context.transcript().AppendLine("    ERROR: Application Base File (" + source + ") does not exist.");
      ++context.counters().ErrorCount;
      return false;
    }
    // The file is there but cannot be examined: a failed copy like any other.
    context.transcript().AppendLine(copy_failed);
    ++context.counters().ErrorCount;
    return true;
  }
  const auto copy_stamp = site_folder.Stamp(file_name);
  if (IsUpToDateCopy(*source_stamp, copy_stamp)) {
    context.transcript().AppendLine("    Destination file " + destination + " is up to date.");
    context.Published(destination, copy_stamp);
    return true;
  }
  if (const auto failure = site_folder.Copy(source, file_name)) {
    // A site without one of its viewer files is broken: counted, and the walk goes on.
    // A path left alone on purpose is named, once.
    if (IsRefusal(*failure)) {
      context.ReportFailure("    ", "Copying file " + source + " to " + destination, *failure);
      return true;
    }
    context.transcript().AppendLine(copy_failed);
    ++context.counters().ErrorCount;
    return true;
  }
  context.transcript().AppendLine("    Copying file " + source + " to " + destination + ".");
  context.Published(destination, source_stamp);  // a copy takes its source's size and time
  return true;
}

}  // namespace

void CopyViewerFiles(GenerationContext& context, const std::vector<std::string>& file_names) {
  context.transcript().AppendLine(kCopyingBaseFiles);
  // The site folder is opened once for all the viewer's files.
  FolderBelow site_folder(context.publish_directory(), SiteFolderPath(context.publish_directory()));
  for (const std::string& file_name : file_names) {
    if (context.StopRequested() || !CopyViewerFile(context, site_folder, file_name)) return;
  }
}

}  // namespace quorvale
