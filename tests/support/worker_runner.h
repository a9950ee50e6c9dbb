// Runs the worker on a thread of its own for a test, and always ends it.
#pragma once

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "worker/worker.h"

namespace lumora::test {

class WorkerRunner {
 public:
  explicit WorkerRunner(DialogLink& link) { opened_ = OpenWorkerContext(ctx_, &link); }

  ~WorkerRunner() {
    if (thread_.joinable()) {
      ctx_.inbox.Stop();
      thread_.join();
    }
    CloseWorkerContext(ctx_);
  }

  bool opened() const { return opened_; }
  WorkerContext& context() { return ctx_; }
  WorkerInbox& inbox() { return ctx_.inbox; }

  void Start() {
    std::packaged_task<int()> task([this] { return RunWorker(ctx_); });
    result_ = task.get_future();
    thread_ = std::thread(std::move(task));
  }

  // True when the worker has ended within `limit`; its exit code in `code`.
  bool WaitForEnd(int& code, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    if (result_.wait_for(limit) != std::future_status::ready) return false;
    code = result_.get();
    thread_.join();
    return true;
  }

 private:
  WorkerContext ctx_;
  bool opened_ = false;
  std::future<int> result_;
  std::thread thread_;
};

}  // namespace lumora::test
