// A DialogLink for tests: records every call the worker makes, in order, and
// lets a test wait (with a bound) until the record shows what it expects.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "worker/dialog_link.h"

namespace lumora::test {

struct LinkEvent {
  enum Kind { kStatus, kToolPortWrite, kDatagram, kClear, kProgress };
  Kind kind;
  std::string text;           // kStatus
  std::vector<uint8_t> data;  // kDatagram
  unsigned port = 0;          // kToolPortWrite
  Arrival arrival;            // kDatagram
  bool finished = false;      // kProgress: the job's last
};

class RecordingLink : public DialogLink {
 public:
  // Optional hook, run on the worker thread inside WriteStatus, with the
  // number of statuses so far (start-up writes three).
  std::function<void(int)> onStatus;

  void WriteStatus(const char* text) override {
    Record({LinkEvent::kStatus, text, {}, 0, {}, false});
    const int count = ++statuses_;
    if (onStatus) onStatus(count);
  }
  void WriteToolPortEdit(unsigned port) override { Record({LinkEvent::kToolPortWrite, {}, {}, port, {}, false}); }
  void HandOverDatagram(const uint8_t* data, int length, const Arrival& arrival) override {
    Record({LinkEvent::kDatagram, {}, std::vector<uint8_t>(data, data + length), 0, arrival, false});
  }
  void ClearDevices() override { Record({LinkEvent::kClear, {}, {}, 0, {}, false}); }
  void HandOverJobProgress(const provisioning::JobProgress& progress) override {
    Record({LinkEvent::kProgress, {}, {}, 0, {}, progress.finished});
  }

  std::vector<LinkEvent> Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }

  // Waits at most `limit` until `done(events)` holds; returns whether it did.
  bool WaitFor(const std::function<bool(const std::vector<LinkEvent>&)>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(5)) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return done(events_); });
  }

  bool WaitForStatus(const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(5)) const {
    return WaitFor([&](const std::vector<LinkEvent>& events) { return CountStatus(events, text) > 0; }, limit);
  }

  static int CountStatus(const std::vector<LinkEvent>& events, const std::string& text) {
    int count = 0;
    for (const LinkEvent& e : events) count += (e.kind == LinkEvent::kStatus && e.text == text);
    return count;
  }

  static int Count(const std::vector<LinkEvent>& events, LinkEvent::Kind kind) {
    int count = 0;
    for (const LinkEvent& e : events) count += (e.kind == kind);
    return count;
  }

 private:
  void Record(LinkEvent event) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      events_.push_back(std::move(event));
    }
    changed_.notify_all();
  }

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<LinkEvent> events_;
  int statuses_ = 0;  // on the worker thread only
};

}  // namespace lumora::test
