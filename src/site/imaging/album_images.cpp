#include "imaging/album_images.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "imaging/imaging_record.h"
#include "imaging/responsive_sizes.h"
#include "platform/file_copy.h"
#include "platform/file_reading.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/folder_removal.h"
#include "platform/path.h"

namespace quorvale {
namespace {

// The pictures the record vouches for, by thumbnail path (distinct per picture; the
// record holds the paths).
using RecordIndex = std::unordered_map<std::string_view, const RecordedPicture*>;

// The two image folders, each opened once for all the pictures of the job.
struct ImageFolders {
  FolderBelow thumbnails;
  FolderBelow displays;
};

// The file names of the recorded images in the folder of thumbnails (or of display
// copies).
std::vector<std::string> RecordedImageNames(const ImagingRecord& record, bool thumbnails) {
  std::vector<std::string> names;
  for (const RecordedPicture& picture : record.pictures) {
    const std::string_view stem = FileNameIn(thumbnails ? picture.thumbnail : picture.display);
    ForEachSizedImage(picture.sizes, [&](bool is_thumbnail, int width, bool webp) {
      if (is_thumbnail == thumbnails) AssignSizedImagePath(names.emplace_back(), stem, width, webp);
    });
  }
  return names;
}

// The regular files of a folder below the root (reached without a link), looked at once
// (`looked_at` when it was already): listed, unless `record` vouches for what the folder
// holds at the stamp it still has; then they are the record's images there, named only
// when asked for. An image there counts only as such a file. None when the folder
// cannot be read. The names are looked up without a copy of each.
class RegularFiles {
 public:
  RegularFiles(const std::string& root, const std::string& folder, std::optional<LookedAtFolder> looked_at,
               const ImagingRecord* record, bool thumbnails)
      : thumbnails_(thumbnails) {
    if (!looked_at) looked_at = LookedAtFolder{SettledFolderStampBelow(root, folder), std::nullopt};
    settled_stamp_ = looked_at->settled_stamp;
    if (record != nullptr && settled_stamp_ &&
        settled_stamp_ == (thumbnails ? record->thumbnail_folder : record->display_folder)) {
      record_ = record;
      for (const RecordedPicture& picture : record->pictures) {
        ForEachSizedImage(picture.sizes, [&](bool is_thumbnail, int, bool) { count_ += is_thumbnail == thumbnails; });
      }
      return;
    }
    listed_ = looked_at->entries ? std::move(looked_at->entries) : ListFolderBelow(root, folder);
    if (!listed_) return;
    names_.reserve(listed_->size());
    for (const FolderEntry& entry : *listed_) {
      if (entry.kind == FolderEntry::Kind::kFile) names_.insert(entry.name);
    }
    count_ = names_.size();
  }
  RegularFiles(const RegularFiles&) = delete;
  RegularFiles& operator=(const RegularFiles&) = delete;

  // Whether the record vouches for the folder: it holds every image the record names
  // there, and no other file.
  bool vouched() const { return record_ != nullptr; }
  // Whether a folder not vouched for holds `name`.
  bool Contains(std::string_view name) const { return names_.contains(name); }
  std::size_t Count() const { return count_; }
  const std::unordered_set<std::string_view>& Names() {
    if (record_ != nullptr && names_.empty()) {
      recorded_ = RecordedImageNames(*record_, thumbnails_);
      names_.insert(recorded_.begin(), recorded_.end());
    }
    return names_;
  }
  // The folder's settled stamp, taken before its files were listed or vouched for.
  const std::optional<FileStamp>& settled_stamp() const { return settled_stamp_; }

 private:
  bool thumbnails_;
  const ImagingRecord* record_ = nullptr;  // when it vouches for the folder
  std::size_t count_ = 0;
  std::optional<FileStamp> settled_stamp_;
  std::optional<std::vector<FolderEntry>> listed_;  // the listing, when one was made
  std::vector<std::string> recorded_;               // the record's images, when named
  std::unordered_set<std::string_view> names_;      // views of the names above
};

// The image folders' regular files, by folder.
struct ImageFiles {
  RegularFiles thumbnails;
  RegularFiles displays;
};

// The stamps of a picture's images as they are now, looked up in the open folders, in
// SizedImagePaths order; empty when one is not there as a regular file.
std::vector<FileStamp> ImageStamps(ImageFolders& folders, const PictureImages& picture, const PreparedPicture& sizes) {
  std::vector<FileStamp> stamps;
  for (const std::string& path : SizedImagePaths(picture.thumbnail, picture.display, sizes)) {
    FolderBelow& folder = path.starts_with(picture.thumbnail) ? folders.thumbnails : folders.displays;
    const auto stamp = folder.Stamp(FileNameOf(path));
    if (!stamp) return {};
    stamps.push_back(*stamp);
  }
  return stamps;
}

// Whether the recorded images of `picture` are there for its source as it is now; their
// stamps go to `image_stamps`: as recorded when the record has them (the images are
// this program's own, written only by its runs), else looked up. `name` is room for
// the images' names.
bool IsUpToDate(const ImageFiles& files, ImageFolders& folders, const PictureImages& picture, const FileStamp& stamp,
                const RecordIndex& index, std::vector<FileStamp>& image_stamps, std::string& name) {
  const auto found = index.find(picture.thumbnail);
  if (found == index.end()) return false;
  const RecordedPicture& recorded = *found->second;
  if (recorded.source != picture.source || recorded.display != picture.display || recorded.source_stamp != stamp ||
      recorded.sizes.thumbnails.empty() || recorded.sizes.displays.empty()) {
    return false;
  }
  const std::string_view thumbnail = FileNameIn(picture.thumbnail);
  const std::string_view display = FileNameIn(picture.display);
  std::size_t images = 0;
  bool all_there = true;
  ForEachSizedImage(recorded.sizes, [&](bool is_thumbnail, int width, bool webp) {
    ++images;
    const RegularFiles& in = is_thumbnail ? files.thumbnails : files.displays;
    if (in.vouched() || !all_there) return;
    AssignSizedImagePath(name, is_thumbnail ? thumbnail : display, width, webp);
    all_there = in.Contains(name);
  });
  if (!all_there) return false;
  image_stamps = recorded.image_stamps.size() == images ? recorded.image_stamps
                                                        : ImageStamps(folders, picture, recorded.sizes);
  return !image_stamps.empty();
}

// The listed files of `folder` that are none of `keep` (full paths), added to `unused`.
void AddOthers(const std::string& folder, RegularFiles& listed, const std::unordered_set<std::string>& keep,
               std::vector<std::string>& unused) {
  for (const std::string_view name : listed.Names()) {
    std::string path = JoinPath(folder, name);
    if (!keep.contains(path)) unused.push_back(std::move(path));
  }
}

// The two folders of images and their parents, made below the root when missing. The
// first failure is reported, and nothing more is made.
bool MakeFolders(const AlbumImagesJob& job, const AlbumImagesEvents& events) {
  for (const std::string& path :
       {FolderOf(job.thumbnail_folder), job.thumbnail_folder, FolderOf(job.display_folder), job.display_folder}) {
    if (auto reason = CreateFolderBelow(job.root, path)) {
      if (events.failure) events.failure("Creating folder " + path, *reason);
      return false;
    }
  }
  return true;
}

// The earlier record, when it is there, whole and made with these settings: the one read
// ahead, else the one read now into `own`. A record that is too large or damaged only
// means the work is done again; one that is refused (a link, no regular file) is
// reported as well.
const ImagingRecord* EarlierRecord(const AlbumImagesJob& job, const AlbumImagesEvents& events,
                                   std::optional<ImagingRecord>& own) {
  if (!job.record_read) {
    std::string reason;
    const auto bytes = ReadFileBelow(job.root, job.record_path, kMaxImagingRecordBytes, &reason);
    if (!bytes) {
      if (IsRefusal(reason) && events.failure) events.failure("Reading record " + job.record_path, reason);
      return nullptr;
    }
    own = ParseImagingRecord(*bytes);
  }
  const std::optional<ImagingRecord>& record = job.record_read ? *job.record_read : own;
  if (!record || record->settings != job.settings) return nullptr;
  return &*record;
}

// The images' bytes written over their paths; the reason of the first that fails.
std::optional<std::string> WriteImages(const std::string& root, const PictureImages& picture,
                                       const PreparedImages& images) {
  const PreparedPicture& sizes = images.sizes;
  if (images.thumbnails.size() != sizes.thumbnails.size() || images.displays.size() != sizes.displays.size() ||
      sizes.thumbnails.empty() || sizes.displays.empty()) {
    return std::string("its images could not be made");
  }
  const auto write = [&root](const std::string& stem, const ImageSize& size, const SizedImage& image, bool jpeg,
                             bool webp) -> std::optional<std::string> {
    if (jpeg) {
      if (auto reason = WriteFileBelow(root, SizedImagePath(stem, size.width, false), image.jpeg)) return reason;
    }
    if (webp) return WriteFileBelow(root, SizedImagePath(stem, size.width, true), image.webp);
    return std::nullopt;
  };
  for (std::size_t i = 0; i < sizes.displays.size(); ++i) {
    const bool original = sizes.display_is_original && i + 1 == sizes.displays.size();
    if (auto reason = write(picture.display, sizes.displays[i], images.displays[i], !original, sizes.displays_webp)) {
      return reason;
    }
  }
  for (std::size_t i = 0; i < sizes.thumbnails.size(); ++i) {
    if (auto reason = write(picture.thumbnail, sizes.thumbnails[i], images.thumbnails[i], true, sizes.thumbnails_webp)) {
      return reason;
    }
  }
  return std::nullopt;
}

// Whether the record of this run would say what `earlier` (made with the same settings)
// says: the same pictures with images in the same order, from the same sources as they
// are now, with the same images.
bool SaysTheSame(const ImagingRecord& earlier, const AlbumImagesJob& job, const std::vector<PictureImagesResult>& results,
                 const std::vector<FileStamp>& stamps) {
  std::size_t k = 0;
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (!results[i].HasImages()) continue;
    if (k == earlier.pictures.size()) return false;
    const RecordedPicture& recorded = earlier.pictures[k++];
    const PictureImages& picture = job.pictures[i];
    if (recorded.source != picture.source || recorded.source_stamp != stamps[i] ||
        recorded.thumbnail != picture.thumbnail || recorded.display != picture.display ||
        recorded.sizes != results[i].sizes || recorded.image_stamps != results[i].image_stamps) {
      return false;
    }
  }
  return k == earlier.pictures.size();
}

}  // namespace

int ImagingWorkerCount(int jobs, std::size_t pictures, std::uintmax_t largest_source) {
  if (pictures == 0) return 0;  // an unchanged album: the cores need not be counted
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  // A small picture's pixels take moments, so its worker spends much of its time handing
  // work to the imaging library's threads and waiting for their answer: twice as many
  // workers keep the cores busy. Larger pictures keep one worker a core, so that no more
  // decoded pictures are held at once than there are cores.
  const int most = largest_source <= kSmallPictureBytes ? 2 * cores : cores;
  const int limit = jobs > 0 ? std::min(jobs, most) : most;
  return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(limit), pictures));
}

AlbumImagesResult PrepareAlbumImages(const AlbumImagesJob& job, PictureImaging& imaging,
                                     const AlbumImagesEvents& events, std::stop_token stop) {
  const std::size_t total = job.pictures.size();
  AlbumImagesResult outcome;
  std::vector<PictureImagesResult>& results = outcome.pictures;
  results.resize(total);
  std::vector<FileStamp> stamps(total);

  // State: the earlier record, when it is whole and made with these settings.
  std::optional<ImagingRecord> read_now;
  const ImagingRecord* const earlier = EarlierRecord(job, events, read_now);
  RecordIndex index;
  if (earlier) {
    for (const RecordedPicture& recorded : earlier->pictures) index.emplace(recorded.thumbnail, &recorded);
  }

  // State: what is up to date or missing is settled by one status call per file; the
  // rest waits for the workers.
  std::vector<std::size_t> work;
  std::vector<bool> finished(total, false);
  // Listed before anything is written: what the workers write belongs to a picture.
  ImageFiles files{{job.root, job.thumbnail_folder, job.thumbnail_looked_at, earlier, true},
                   {job.root, job.display_folder, job.display_looked_at, earlier, false}};
  {
    // Open only while the images are looked up: the workers write into the folders.
    std::string name;  // each image's file name, in turn
    ImageFolders folders{FolderBelow(job.root, job.thumbnail_folder), FolderBelow(job.root, job.display_folder)};
    for (std::size_t i = 0; i < total; ++i) {
      const PictureImages& picture = job.pictures[i];
      std::string reason;
      const auto stamp = picture.source_stamp ? picture.source_stamp : StampOf(picture.source, &reason);
      if (!stamp) {
        results[i].state = reason.empty() ? PictureImagesState::kMissing : PictureImagesState::kFailed;
        results[i].reason = reason;
        finished[i] = true;
        continue;
      }
      stamps[i] = *stamp;
      if (earlier && IsUpToDate(files, folders, picture, *stamp, index, results[i].image_stamps, name)) {
        results[i].state = PictureImagesState::kUpToDate;
        results[i].sizes = index.at(picture.thumbnail)->sizes;
        finished[i] = true;
      } else {
        results[i].image_stamps.clear();
        work.push_back(i);
      }
    }
  }
  // State: the folders the work goes to; without them no picture is decoded.
  if (!work.empty() && !MakeFolders(job, events)) {
    for (const std::size_t i : work) {
      results[i].state = PictureImagesState::kNoFolder;
      finished[i] = true;
    }
    work.clear();
  }

  // State: the workers take pictures in album order, one at a time, so at most one
  // decoded picture per worker is held; the calling thread hands out the results.
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t finished_count = total - work.size();
  std::size_t workers_running = 0;
  std::atomic<std::size_t> next{0};
  std::uintmax_t largest_source = 0;
  for (const std::size_t i : work) largest_source = std::max(largest_source, stamps[i].size);
  const int worker_count = ImagingWorkerCount(job.jobs, work.size(), largest_source);
  if (worker_count > 0) imaging.PlanWorkers(worker_count);
  std::vector<std::jthread> workers;
  workers_running = static_cast<std::size_t>(worker_count);
  for (int w = 0; w < worker_count; ++w) {
    workers.emplace_back([&] {
      // Each worker's own: an open folder serves one thread at a time.
      ImageFolders written{FolderBelow(job.root, job.thumbnail_folder), FolderBelow(job.root, job.display_folder)};
      for (;;) {
        if (stop.stop_requested()) break;
        const std::size_t taken = next.fetch_add(1);
        if (taken >= work.size()) break;
        const std::size_t i = work[taken];
        const PictureImages& picture = job.pictures[i];
        auto prepared = imaging.Prepare(picture.source, job.settings);
        std::optional<std::string> failure;
        std::vector<FileStamp> image_stamps;
        if (auto* images = std::get_if<PreparedImages>(&prepared)) {
          failure = WriteImages(job.root, picture, *images);
          if (!failure) image_stamps = ImageStamps(written, picture, images->sizes);
        } else {
          failure = std::move(std::get<std::string>(prepared));
        }
        std::lock_guard lock(mutex);
        if (failure) {
          results[i].state = PictureImagesState::kFailed;
          results[i].reason = std::move(*failure);
        } else {
          results[i].state = PictureImagesState::kMade;
          results[i].sizes = std::get<PreparedImages>(prepared).sizes;
          results[i].image_stamps = std::move(image_stamps);
        }
        finished[i] = true;
        ++finished_count;
        changed.notify_one();
      }
      std::lock_guard lock(mutex);
      --workers_running;
      changed.notify_one();
    });
  }

  std::size_t delivered = 0;
  std::size_t reported = 0;
  std::unique_lock lock(mutex);
  for (;;) {
    changed.wait(lock, [&] {
      return finished_count != reported || (delivered < total && finished[delivered]) || workers_running == 0;
    });
    const std::size_t now_finished = finished_count;
    std::vector<std::size_t> ready;
    while (delivered < total && finished[delivered]) ready.push_back(delivered++);
    const bool all_stopped = workers_running == 0;
    lock.unlock();
    if (now_finished != reported) {
      reported = now_finished;
      if (events.progress) events.progress(reported, total);
    }
    for (const std::size_t i : ready) {
      if (events.picture_done) events.picture_done(i, results[i]);
    }
    lock.lock();
    if (all_stopped && (delivered == total || !finished[delivered])) break;
  }
  lock.unlock();
  workers.clear();
  // Pictures no worker reached keep their kStopped result.
  for (; delivered < total; ++delivered) {
    if (events.picture_done) events.picture_done(delivered, results[delivered]);
  }

  // State: what the folders held that no picture's images are now. When every picture
  // was up to date, each of its images was found in the folders, and the images of two
  // pictures never share a name: folders holding just as many files hold no others.
  std::size_t found_images = 0;
  bool all_found = true;
  for (const PictureImagesResult& result : results) {
    all_found = all_found && (result.state == PictureImagesState::kUpToDate || !result.HasImages());
    if (result.state == PictureImagesState::kUpToDate) found_images += result.image_stamps.size();
  }
  const bool only_images = all_found && found_images == files.thumbnails.Count() + files.displays.Count();
  // Such folders' stamps, taken before they were looked at, vouch for them next time.
  const std::optional<FileStamp> thumbnail_folder = only_images ? files.thumbnails.settled_stamp() : std::nullopt;
  const std::optional<FileStamp> display_folder = only_images ? files.displays.settled_stamp() : std::nullopt;

  // State: the record of this run: what was made now and what stayed up to date. A
  // record that cannot be written only means the work is done again next time; one
  // that is refused is reported.
  // A record that would say what the earlier one says is not even built.
  if (!earlier || !SaysTheSame(*earlier, job, results, stamps) || earlier->thumbnail_folder != thumbnail_folder ||
      earlier->display_folder != display_folder) {
    ImagingRecord record{job.settings, {}, thumbnail_folder, display_folder};
    for (std::size_t i = 0; i < total; ++i) {
      if (!results[i].HasImages()) continue;
      const PictureImages& picture = job.pictures[i];
      record.pictures.push_back(
          {picture.source, stamps[i], picture.thumbnail, picture.display, results[i].sizes, results[i].image_stamps});
    }
    if (const auto reason = WriteFileBelow(job.root, job.record_path, ImagingRecordBytes(record));
        reason && IsRefusal(*reason) && events.failure) {
      events.failure("Writing record " + job.record_path, *reason);
    }
  }

  if (only_images) return outcome;
  std::unordered_set<std::string> keep;
  for (std::size_t i = 0; i < total; ++i) {
    if (!results[i].HasImages()) continue;
    for (std::string& path : SizedImagePaths(job.pictures[i].thumbnail, job.pictures[i].display, results[i].sizes)) {
      keep.insert(std::move(path));
    }
  }
  AddOthers(job.thumbnail_folder, files.thumbnails, keep, outcome.unused);
  AddOthers(job.display_folder, files.displays, keep, outcome.unused);
  return outcome;
}

void RemoveUnusedAlbumImages(const std::string& root, const std::vector<std::string>& unused) {
  for (const std::string& path : unused) RemoveFileBelow(root, path);
}

void RemoveImagesOfLaterAlbums(const std::string& root, const std::string& folder, int album_count,
                               const std::string& record_suffix, bool records_only) {
  const auto entries = ListFolderBelow(root, folder);
  if (!entries) return;
  for (const FolderEntry& entry : *entries) {
    std::string name = entry.name;
    if (!name.starts_with("album-")) continue;
    const bool record = !record_suffix.empty() && name.ends_with(record_suffix);
    if (record) name.resize(name.size() - record_suffix.size());
    const std::string_view digits = std::string_view(name).substr(6);
    int number = 0;
    const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (failure != std::errc() || end != digits.data() + digits.size() || digits.empty()) continue;
    if (std::to_string(number) != digits || number < album_count) continue;
    const std::string path = JoinPath(folder, entry.name);
    if (record && entry.kind == FolderEntry::Kind::kFile) {
      RemoveFileBelow(root, path);
    } else if (!record && !records_only && entry.kind == FolderEntry::Kind::kFolder) {
      RemoveFolderTreeBelow(root, path);
    }
  }
}

}  // namespace quorvale
