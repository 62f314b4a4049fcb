#pragma once

#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

#include "upload/site_upload.h"

namespace quorvale {

// Runs an upload on a worker thread, so the window keeps drawing and taking input. The
// upload's transcript lines and progress are handed to the window's thread through
// `post`, in the order the upload made them. A question the upload asks (a new server
// key, a password) is asked on the window's thread too; the upload waits for the answer.
class UploadRunner {
 public:
  // Queues a task to run on the window's thread, later, from any thread.
  using Post = std::function<void(std::function<void()>)>;
  // Runs `task` on the window's thread and waits until it has run. When the runner is
  // being destroyed it returns without running it: whatever the task would have
  // answered keeps its declining value.
  using OnWindowThread = std::function<void(std::function<void()> task)>;
  // What the worker does; `events` reach the window's thread.
  using Work = std::function<UploadResult(const UploadEvents& events, const OnWindowThread& ask, std::stop_token stop)>;
  using Finished = std::function<void(const UploadResult&)>;

  explicit UploadRunner(Post post) : post_(std::move(post)) {}
  // Asks an upload still going to stop and waits for it.
  ~UploadRunner();
  UploadRunner(const UploadRunner&) = delete;
  UploadRunner& operator=(const UploadRunner&) = delete;

  // Starts `work`. `events` get its lines and progress on the window's thread;
  // `finished` is called there last, with the result.
  void Start(Work work, UploadEvents events, Finished finished);
  // Asks the upload to stop after the file in hand.
  void RequestStop() { worker_.request_stop(); }

 private:
  struct Shared;

  Post post_;
  std::shared_ptr<Shared> shared_;
  std::jthread worker_;
};

}  // namespace quorvale
