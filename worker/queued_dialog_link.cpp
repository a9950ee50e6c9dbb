// The ordered hand-over from the worker to the dialog thread.
#include "worker/queued_dialog_link.h"

#include <cstring>
#include <utility>

namespace lumora {

void QueuedDialogLink::WriteStatus(const char* text) { Push({Event::kStatus, text, {}, 0}); }

void QueuedDialogLink::WriteToolPortEdit(unsigned port) {
  // The edit will hold the number once the dialog applies it; until then the
  // worker must not read the old value back.
  toolPortEdit_.store(port);
  Push({Event::kToolPort, {}, {}, port});
}

void QueuedDialogLink::HandOverDatagram(const uint8_t* data, int length) {
  Push({Event::kDatagram, {}, std::vector<uint8_t>(data, data + (length > 0 ? length : 0)), 0});
}

void QueuedDialogLink::ClearDevices() { Push({Event::kClear, {}, {}, 0}); }

void QueuedDialogLink::AppendConfigurationFields(RequestFrame& frame) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::size_t room = kRequestSize - frame.cursor;
  std::size_t size = configurationFields_.size() < room ? configurationFields_.size() : room;
  if (size > 0) std::memcpy(frame.bytes + frame.cursor, configurationFields_.data(), size);
  frame.cursor += size;
}

void QueuedDialogLink::SetConfigurationFields(const uint8_t* fields, std::size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  configurationFields_.assign(fields, fields + size);
}

void QueuedDialogLink::Push(Event event) {
  bool notify = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (event.kind == Event::kDatagram) {
      if (queuedDatagrams_ >= kMaxQueuedDatagrams) {
        dropped_.fetch_add(1);
        return;
      }
      ++queuedDatagrams_;
    }
    events_.push_back(std::move(event));
    if (!notified_) notified_ = notify = true;
  }
  if (notify && !notify_()) {
    std::lock_guard<std::mutex> lock(mutex_);
    notified_ = false;
  }
}

std::size_t QueuedDialogLink::Drain(DialogEventSink& sink) {
  std::deque<Event> batch;
  std::size_t datagrams;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    batch.swap(events_);
    datagrams = queuedDatagrams_;
    queuedDatagrams_ = 0;
    notified_ = false;
  }
  if (batch.empty()) return 0;
  const std::string* lastStatus = nullptr;
  sink.BatchBegins(datagrams);
  for (const Event& event : batch) {
    switch (event.kind) {
      case Event::kStatus: lastStatus = &event.text; break;
      case Event::kToolPort: sink.ShowToolPort(event.port); break;
      case Event::kDatagram: sink.TakeDatagram(event.data.data(), static_cast<int>(event.data.size())); break;
      case Event::kClear: sink.ClearDevices(); break;
    }
  }
  if (lastStatus) sink.ShowStatus(lastStatus->c_str());
  sink.BatchEnds();
  return batch.size();
}

}  // namespace lumora
