// The ordered hand-over from the worker to the dialog thread.
#include "worker/queued_dialog_link.h"

#include <utility>

namespace lumora {

// Only the latest status and job progress are ever shown: each replaces the
// one pending.
template <typename Replace>
void QueuedDialogLink::ReplaceLatest(Replace replace) {
  bool notice;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    replace();
    notice = NoticeDueLocked();
  }
  if (notice) PostNotice();
}

void QueuedDialogLink::WriteStatus(const char* text) {
  ReplaceLatest([&] {
    latestStatus_ = text;
    statusPending_ = true;
  });
}

void QueuedDialogLink::HandOverJobProgress(const provisioning::JobProgress& progress) {
  ReplaceLatest([&] {
    latestProgress_ = progress;
    progressPending_ = true;
  });
}

void QueuedDialogLink::WriteToolPortEdit(unsigned port) {
  Event event;
  event.kind = Event::kToolPort;
  event.port = port;
  Push(std::move(event));
}

void QueuedDialogLink::HandOverDatagram(const uint8_t* data, int length, const Arrival& arrival) {
  Event event;
  event.kind = Event::kDatagram;
  event.data.assign(data, data + (length > 0 ? length : 0));
  event.arrival = arrival;
  Push(std::move(event));
}

void QueuedDialogLink::ClearDevices() { Push(Event{}); }

void QueuedDialogLink::HandOverAdapters(const std::vector<Adapter>& adapters) {
  Event event;
  event.kind = Event::kAdapters;
  event.adapters = adapters;
  Push(std::move(event));
}

void QueuedDialogLink::HandOverLookup(const LookupAnswer& answer) {
  Event event;
  event.kind = Event::kLookup;
  event.lookup = answer;
  Push(std::move(event));
}

void QueuedDialogLink::Push(Event event) {
  bool notice;
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
    notice = NoticeDueLocked();
  }
  if (notice) PostNotice();
}

bool QueuedDialogLink::NoticeDueLocked() {
  if (notified_) return false;
  notified_ = true;
  return true;
}

// Called without the lock: the notice may reach into the platform.
void QueuedDialogLink::PostNotice() {
  if (notify_()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  notified_ = false;
}

std::size_t QueuedDialogLink::Drain(DialogEventSink& sink) {
  std::deque<Event> batch;
  std::size_t datagrams;
  std::string status;
  bool statusPending;
  provisioning::JobProgress progress;
  bool progressPending;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    batch.swap(events_);
    datagrams = queuedDatagrams_;
    queuedDatagrams_ = 0;
    status.swap(latestStatus_);
    statusPending = statusPending_;
    statusPending_ = false;
    progress = std::move(latestProgress_);
    progressPending = progressPending_;
    progressPending_ = false;
    notified_ = false;
  }
  if (batch.empty() && !statusPending && !progressPending) return 0;
  sink.BatchBegins(datagrams);
  for (const Event& event : batch) {
    switch (event.kind) {
      case Event::kToolPort: sink.ShowToolPort(event.port); break;
      case Event::kDatagram:
        sink.TakeDatagram(event.data.data(), static_cast<int>(event.data.size()), event.arrival);
        break;
      case Event::kClear: sink.ClearDevices(); break;
      case Event::kAdapters: sink.ShowAdapters(event.adapters); break;
      case Event::kLookup: sink.ShowLookup(event.lookup); break;
    }
  }
  if (progressPending) sink.ShowJobProgress(progress);
  if (statusPending) sink.ShowStatus(status.c_str());
  sink.BatchEnds();
  return batch.size() + (statusPending ? 1 : 0) + (progressPending ? 1 : 0);
}

}  // namespace lumora
