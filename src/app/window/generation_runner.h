#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "generate/generation_job.h"

namespace quorvale {

// Runs a generation job on a worker thread, so the window keeps drawing and taking
// input. Every event of the run is handed to the window's thread through `post` and
// given there to the window's own events sink, in the order the run made them. A
// message box the run shows is shown on the window's thread too; the run waits for its
// answer before it goes on, as it does when it runs on the window's thread itself.
class GenerationRunner {
 public:
  // Queues a task to run on the window's thread, later, from any thread.
  using Post = std::function<void(std::function<void()>)>;
  using Finished = std::function<void(const GenerationResult&)>;

  explicit GenerationRunner(Post post);
  // Asks a run still going to stop and waits for it; a message box it waits on is
  // declined (the window is going away and will not show it).
  ~GenerationRunner();
  GenerationRunner(const GenerationRunner&) = delete;
  GenerationRunner& operator=(const GenerationRunner&) = delete;

  // Starts `job`. `events` (which must outlive the run) gets the run's events on the
  // window's thread; `finished` is called there last, with the result.
  void Start(GenerationJob job, GenerationEvents& events, Finished finished);
  // Asks the run to stop after the file in hand.
  void RequestStop();
  // From Start until `finished` has been called.
  bool Running() const { return running_; }

 private:
  struct Shared;
  class Forwarder;

  Post post_;
  std::shared_ptr<Shared> shared_;
  std::jthread worker_;
  bool running_ = false;
};

}  // namespace quorvale
