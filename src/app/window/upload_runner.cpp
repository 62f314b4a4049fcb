#include "window/upload_runner.h"

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <utility>

namespace quorvale {

// What the worker and the window's thread share. `alive` is only touched on the window's
// thread: a task that arrives after the runner is gone does nothing. `abandoned` tells a
// worker waiting on the window's thread that the wait is over.
struct UploadRunner::Shared {
  bool alive = true;
  std::atomic<bool> abandoned = false;
};

UploadRunner::~UploadRunner() {
  if (shared_) {
    shared_->alive = false;
    shared_->abandoned = true;
  }
  worker_ = std::jthread();  // requests the stop and joins
}

void UploadRunner::Start(Work work, UploadEvents events, Finished finished) {
  if (worker_.joinable()) worker_.join();  // the last upload has ended: its result was delivered
  if (shared_) shared_->alive = false;     // nothing of an earlier upload is delivered any more
  shared_ = std::make_shared<Shared>();
  // The window's sinks are shared with the tasks posted to it, which may run after the
  // worker has ended.
  auto sinks = std::make_shared<const UploadEvents>(std::move(events));
  worker_ = std::jthread([work = std::move(work), sinks, finished = std::move(finished), post = post_,
                          shared = shared_](std::stop_token stop) mutable {
    auto deliver = [&post, &shared](std::function<void()> task) {
      post([shared, task = std::move(task)] {
        if (shared->alive) task();
      });
    };
    UploadEvents forwarded;
    forwarded.line = [&deliver, &sinks](const std::string& line) {
      if (sinks->line) deliver([sinks, line] { sinks->line(line); });
    };
    forwarded.progress = [&deliver, &sinks](std::size_t done, std::size_t total) {
      if (sinks->progress) deliver([sinks, done, total] { sinks->progress(done, total); });
    };
    const OnWindowThread ask = [&post, &shared](std::function<void()> task) {
      auto done = std::make_shared<std::promise<void>>();
      std::future<void> answered = done->get_future();
      post([shared, task = std::move(task), done] {
        if (shared->alive) task();
        done->set_value();
      });
      while (answered.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        if (shared->abandoned) return;
      }
    };
    const UploadResult result = work(forwarded, ask, stop);
    post([shared, result, finished = std::move(finished)] {
      if (shared->alive) finished(result);
    });
  });
}

}  // namespace quorvale
