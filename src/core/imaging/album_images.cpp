#include "imaging/album_images.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "imaging/imaging_record.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/native_path.h"
#include "platform/path.h"

namespace quorvale {
namespace {

// The pictures the record vouches for, by thumbnail path (distinct per picture).
using RecordIndex = std::unordered_map<std::string, const RecordedPicture*>;

bool Exists(const std::string& path) {
  std::string reason;
  return StampOf(path, &reason).has_value();
}

bool IsUpToDate(const PictureImages& picture, const FileStamp& stamp, const RecordIndex& index) {
  const auto found = index.find(picture.thumbnail);
  if (found == index.end()) return false;
  const RecordedPicture& recorded = *found->second;
  return recorded.source == picture.source && recorded.display == picture.display && recorded.source_stamp == stamp &&
         Exists(picture.thumbnail) && (recorded.sizes.display_is_original || Exists(picture.display));
}

// Removes every file of `folder` that is not one of `keep` (full paths).
void RemoveOthers(const std::string& folder, const std::unordered_set<std::string>& keep) {
  const auto entries = ListFolder(folder);
  if (!entries) return;
  std::error_code error;
  for (const FolderEntry& entry : *entries) {
    const std::string path = JoinPath(folder, entry.name);
    if (entry.kind == FolderEntry::Kind::kFile && !keep.contains(path)) std::filesystem::remove(NativePath(path), error);
  }
}

}  // namespace

int ImagingWorkerCount(int jobs, std::size_t pictures) {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int limit = jobs > 0 ? std::min(jobs, cores) : cores;
  return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(limit), pictures));
}

std::vector<PictureImagesResult> PrepareAlbumImages(const AlbumImagesJob& job, PictureImaging& imaging,
                                                    const AlbumImagesEvents& events, std::stop_token stop) {
  const std::size_t total = job.pictures.size();
  std::vector<PictureImagesResult> results(total);
  std::vector<FileStamp> stamps(total);

  // State: the earlier record, when it is whole and made with these settings.
  std::optional<ImagingRecord> earlier;
  if (const auto bytes = ReadWholeFile(job.record_path)) earlier = ParseImagingRecord(*bytes);
  if (earlier && earlier->settings != job.settings) earlier.reset();
  RecordIndex index;
  if (earlier) {
    for (const RecordedPicture& recorded : earlier->pictures) index.emplace(recorded.thumbnail, &recorded);
  }

  // State: what is up to date or missing is settled by one status call per file; the
  // rest waits for the workers.
  std::vector<std::size_t> work;
  std::vector<bool> finished(total, false);
  for (std::size_t i = 0; i < total; ++i) {
    const PictureImages& picture = job.pictures[i];
    std::string reason;
    const auto stamp = StampOf(picture.source, &reason);
    if (!stamp) {
      results[i].state = reason.empty() ? PictureImagesState::kMissing : PictureImagesState::kFailed;
      results[i].reason = reason;
      finished[i] = true;
      continue;
    }
    stamps[i] = *stamp;
    if (IsUpToDate(picture, *stamp, index)) {
      results[i].state = PictureImagesState::kUpToDate;
      results[i].sizes = index.at(picture.thumbnail)->sizes;
      finished[i] = true;
    } else {
      work.push_back(i);
    }
  }
  if (!work.empty()) {
    std::error_code error;
    std::filesystem::create_directories(NativePath(job.thumbnail_folder), error);
    std::filesystem::create_directories(NativePath(job.display_folder), error);
  }

  // State: the workers take pictures in album order, one at a time, so at most one
  // decoded picture per worker is held; the calling thread hands out the results.
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t finished_count = total - work.size();
  std::size_t workers_running = 0;
  std::atomic<std::size_t> next{0};
  const int worker_count = ImagingWorkerCount(job.jobs, work.size());
  if (worker_count > 0) imaging.PlanWorkers(worker_count);
  std::vector<std::jthread> workers;
  workers_running = static_cast<std::size_t>(worker_count);
  for (int w = 0; w < worker_count; ++w) {
    workers.emplace_back([&] {
      for (;;) {
        if (stop.stop_requested()) break;
        const std::size_t taken = next.fetch_add(1);
        if (taken >= work.size()) break;
        const std::size_t i = work[taken];
        const PictureImages& picture = job.pictures[i];
        auto prepared = imaging.Prepare(picture.source, picture.thumbnail, picture.display, job.settings);
        std::lock_guard lock(mutex);
        if (auto* sizes = std::get_if<PreparedPicture>(&prepared)) {
          results[i].state = PictureImagesState::kMade;
          results[i].sizes = *sizes;
        } else {
          results[i].state = PictureImagesState::kFailed;
          results[i].reason = std::move(std::get<std::string>(prepared));
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

  // State: the record of this run: what was made now and what stayed up to date.
  ImagingRecord record{job.settings, {}};
  std::unordered_set<std::string> keep_thumbnails;
  std::unordered_set<std::string> keep_displays;
  for (std::size_t i = 0; i < total; ++i) {
    if (!results[i].HasImages()) continue;
    const PictureImages& picture = job.pictures[i];
    record.pictures.push_back({picture.source, stamps[i], picture.thumbnail, picture.display, results[i].sizes});
    keep_thumbnails.insert(picture.thumbnail);
    if (!results[i].sizes.display_is_original) keep_displays.insert(picture.display);
  }
  // A record that cannot be written only means the work is done again next time.
  WriteFileAtomically(job.record_path, ImagingRecordBytes(record));
  if (!stop.stop_requested()) {
    RemoveOthers(job.thumbnail_folder, keep_thumbnails);
    RemoveOthers(job.display_folder, keep_displays);
  }
  return results;
}

void RemoveImagesOfLaterAlbums(const std::string& folder, int album_count, const std::string& record_suffix) {
  const auto entries = ListFolder(folder);
  if (!entries) return;
  std::vector<std::string> later;
  for (const FolderEntry& entry : *entries) {
    std::string name = entry.name;
    if (!name.starts_with("album-")) continue;
    if (!record_suffix.empty() && name.ends_with(record_suffix)) name.resize(name.size() - record_suffix.size());
    const std::string_view digits = std::string_view(name).substr(6);
    int number = 0;
    const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (failure != std::errc() || end != digits.data() + digits.size() || digits.empty()) continue;
    if (std::to_string(number) == digits && number >= album_count) later.push_back(JoinPath(folder, entry.name));
  }
  std::error_code error;
  for (const std::string& path : later) std::filesystem::remove_all(NativePath(path), error);
}

}  // namespace quorvale
