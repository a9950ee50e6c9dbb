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
  enum Kind { kStatus, kToolPortWrite, kDatagram, kCompose, kClear };
  Kind kind;
  std::string text;           // kStatus
  std::vector<uint8_t> data;  // kDatagram
  unsigned port = 0;          // kToolPortWrite
  Arrival adapter;     // kDatagram
};

class RecordingLink : public DialogLink {
 public:
  // What ReadToolPortEdit answers, as GetDlgItemInt would for the edit.
  std::atomic<unsigned> toolPortEdit{0};
  // Optional hook, run on the worker thread inside the call.
  std::function<void(RequestFrame&)> onCompose;

  void WriteStatus(const char* text) override { Record({LinkEvent::kStatus, text, {}, 0, {}}); }
  unsigned ReadToolPortEdit() override { return toolPortEdit.load(); }
  void WriteToolPortEdit(unsigned port) override {
    toolPortEdit.store(port);
    Record({LinkEvent::kToolPortWrite, {}, {}, port, {}});
  }
  void HandOverDatagram(const uint8_t* data, int length, const Arrival& adapter) override {
    Record({LinkEvent::kDatagram, {}, std::vector<uint8_t>(data, data + length), 0, adapter});
  }
  uint32_t AppendConfigurationFields(RequestFrame& frame) override {
    if (onCompose) onCompose(frame);
    Record({LinkEvent::kCompose, {}, {}, 0, {}});
    return 0;
  }
  void ClearDevices() override { Record({LinkEvent::kClear, {}, {}, 0, {}}); }
  void HandOverJobProgress(const JobProgress&) override {}

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
};

}  // namespace lumora::test
