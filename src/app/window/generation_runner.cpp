#include "window/generation_runner.h"

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <utility>

#include "generate/generation_job.h"

namespace quorvale {

// What the worker and the window's thread share. `alive` is only touched on the window's
// thread: a task that arrives after the runner is gone does nothing. `abandoned` tells a
// worker waiting for a box that no answer will come.
struct GenerationRunner::Shared {
  bool alive = true;
  std::atomic<bool> abandoned = false;
};

// The run's events sink on the worker: each event is copied and posted to the window's
// thread, where it reaches the window's sink.
class GenerationRunner::Forwarder final : public GenerationEvents {
 public:
  Forwarder(Post post, std::shared_ptr<Shared> shared, GenerationEvents& target)
      : post_(std::move(post)), shared_(std::move(shared)), target_(target) {}

  void StatusChanged(const std::string& caption) override {
    Forward([caption](GenerationEvents& target) { target.StatusChanged(caption); });
  }
  void TranscriptAppended(std::string_view text) override {
    Forward([text = std::string(text)](GenerationEvents& target) { target.TranscriptAppended(text); });
  }
  void TranscriptReplaced(std::string_view text) override {
    Forward([text = std::string(text)](GenerationEvents& target) { target.TranscriptReplaced(text); });
  }
  void ProgressChanged(const GenerationProgress& progress) override {
    Forward([progress](GenerationEvents& target) { target.ProgressChanged(progress); });
  }
  Answer ShowMessage(const MessageRequest& request) override {
    auto answer = std::make_shared<std::promise<Answer>>();
    std::future<Answer> future = answer->get_future();
    post_([shared = shared_, &target = target_, request, answer] {
      answer->set_value(shared->alive ? target.ShowMessage(request) : DeclinedAnswer(request.buttons));
    });
    // The window's thread answers; a runner being destroyed never will.
    while (future.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
      if (shared_->abandoned) return DeclinedAnswer(request.buttons);
    }
    return future.get();
  }

 private:
  template <typename Task>
  void Forward(Task task) {
    post_([shared = shared_, &target = target_, task = std::move(task)] {
      if (shared->alive) task(target);
    });
  }

  Post post_;
  std::shared_ptr<Shared> shared_;
  GenerationEvents& target_;
};

GenerationRunner::GenerationRunner(Post post) : post_(std::move(post)) {}

GenerationRunner::~GenerationRunner() {
  if (shared_) {
    shared_->alive = false;
    shared_->abandoned = true;
  }
  worker_ = std::jthread();  // requests the stop and joins
}

void GenerationRunner::Start(GenerationJob job, GenerationEvents& events, Finished finished) {
  if (worker_.joinable()) worker_.join();  // the last run has ended: its result was delivered
  if (shared_) shared_->alive = false;     // nothing of an earlier run is delivered any more
  shared_ = std::make_shared<Shared>();
  running_ = true;
  worker_ = std::jthread([this, job = std::move(job), &events, finished = std::move(finished),
                          post = post_, shared = shared_](std::stop_token stop) mutable {
    Forwarder forwarder(post, shared, events);
    GenerationResult result = GenerateAlbums(std::move(job), forwarder, std::move(stop));
    post([this, shared, result = std::move(result), finished = std::move(finished)] {
      if (!shared->alive) return;
      running_ = false;
      finished(result);
    });
  });
}

void GenerationRunner::RequestStop() { worker_.request_stop(); }

}  // namespace quorvale
