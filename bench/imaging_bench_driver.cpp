// The image part of a generation run for a site that shows thumbnails and display
// copies: each folder given is an album of its files (in name order), whose pictures are
// published (copied, unchanged ones skipped) and then get their images through the
// run's own MakeAlbumImages, with the run's progress, transcript and record.
//
//   imaging_bench_driver PUBLISH_DIR [--jobs N] [--keep-location] FOLDER...
//
// Prints the counts of what was made, skipped and refused; exit 1 when a picture failed.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "generate/album_images_step.h"
#include "generate/generation_context.h"
#include "vips/vips_picture_imaging.h"
#include "platform/clock.h"
#include "platform/file_copy.h"
#include "platform/path.h"
#include "layout/site_layout.h"

namespace {

using namespace quorvale;

class QuietEvents final : public GenerationEvents {
 public:
  void StatusChanged(const std::string&) override {}
  void TranscriptAppended(std::string_view) override {}
  void TranscriptReplaced(const std::string&) override {}
  void ProgressChanged(const GenerationProgress&) override {}
  Answer ShowMessage(const MessageRequest&) override { return Answer::kOk; }
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << "usage: imaging_bench_driver PUBLISH_DIR [--jobs N] [--keep-location] FOLDER...\n";
    return 2;
  }
  SystemClock clock;
  VipsPictureImaging imaging;
  GenerationJob job;
  job.settings.PublishDirectory = args[0];
  job.clock = &clock;
  job.imaging = &imaging;
  std::vector<std::vector<PublishedPicture>> albums;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--jobs" && i + 1 < args.size()) {
      job.imaging_jobs = std::stoi(args[++i]);
      continue;
    }
    if (args[i] == "--keep-location") {
      job.settings.KeepLocation = true;
      continue;
    }
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(args[i])) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    job.project.SelectAlbum(job.project.AlbumCount() - 1);
    job.project.AddAlbum(args[i]);
    std::vector<PublishedPicture> album;
    for (const std::string& file : files) {
      job.project.AddPicture(file);
      album.push_back({file, FileNameOf(file)});
    }
    albums.push_back(std::move(album));
  }

  QuietEvents events;
  GenerationContext context(job, events, {});
  const std::string& pd = job.settings.PublishDirectory;
  for (const std::string& folder : LayoutFolders(pd)) context.EnsureFolder("", folder);
  int made = 0, unchanged = 0, failed = 0;
  for (int n = 0; n < static_cast<int>(albums.size()); ++n) {
    const std::string originals = AlbumImageFolder(pd, n);
    context.EnsureFolder("", originals);
    for (const PublishedPicture& picture : albums[static_cast<std::size_t>(n)]) {
      const std::string target = JoinPath(originals, picture.published_name);
      const auto stamp = StampOf(picture.source);
      if (stamp && StampOf(target) != stamp) CopyFileBelow(pd, picture.source, target);
    }
    for (const PictureImagesResult& result : MakeAlbumImages(context, n, albums[static_cast<std::size_t>(n)])) {
      made += result.state == PictureImagesState::kMade;
      unchanged += result.state == PictureImagesState::kUpToDate;
      failed += !result.HasImages();
    }
  }
  RemoveImagesOfRemovedAlbums(context);
  std::cout << "made " << made << ", unchanged " << unchanged << ", failed " << failed << "\n";
  if (failed > 0) std::cerr << context.transcript().Text() << "\n";
  return failed > 0 ? 1 : 0;
}
