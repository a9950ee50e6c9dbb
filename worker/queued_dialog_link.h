// A DialogLink that never waits for the dialog thread: every call the worker
// makes becomes an event in one ordered queue, and the dialog thread applies
// the queue when it is told to. This is what keeps "Exit" from ever hanging:
// the dialog thread may wait for the worker, because the worker never waits
// for it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "worker/dialog_link.h"

namespace lumora {

// What the dialog thread does with the events, in the order they happened.
class DialogEventSink {
 public:
  virtual void BatchBegins(std::size_t datagrams) { (void)datagrams; }
  virtual void TakeDatagram(const uint8_t* data, int length, const Arrival& arrival) = 0;
  virtual void ClearDevices() = 0;
  virtual void ShowToolPort(unsigned port) = 0;
  // The status line only shows the latest text, so a batch hands over the
  // last one, after everything else in the batch.
  virtual void ShowStatus(const char* text) = 0;
  // Likewise the latest job progress, before the status.
  virtual void ShowJobProgress(const provisioning::JobProgress& progress) { (void)progress; }
  virtual void ShowAdapters(const std::vector<Adapter>& adapters) { (void)adapters; }
  virtual void ShowLookup(const LookupAnswer& answer) { (void)answer; }
  virtual void BatchEnds() {}

 protected:
  ~DialogEventSink() = default;
};

class QueuedDialogLink final : public DialogLink {
 public:
  // Called on the worker thread when the queue needs draining; returns false
  // when the notice could not be delivered (it is then tried again with the
  // next event). Must not wait for the dialog thread.
  using Notify = std::function<bool()>;

  // Beyond this many waiting datagrams new ones are dropped, as a full socket
  // buffer would drop them; a dialog thread that keeps up never gets there.
  // Status texts take no room in the queue: only the latest is kept, so the
  // queue is bounded as a whole even while the dialog thread is stalled and
  // every received datagram is followed by its "OK".
  static constexpr std::size_t kMaxQueuedDatagrams = 8192;

  explicit QueuedDialogLink(Notify notify) : notify_(std::move(notify)) {}

  // Worker side.
  void WriteStatus(const char* text) override;
  void WriteToolPortEdit(unsigned port) override;
  void HandOverDatagram(const uint8_t* data, int length, const Arrival& arrival) override;
  void ClearDevices() override;
  void HandOverJobProgress(const provisioning::JobProgress& progress) override;
  void HandOverAdapters(const std::vector<Adapter>& adapters) override;
  void HandOverLookup(const LookupAnswer& answer) override;

  // Dialog side: applies every queued event in order, then the latest status text;
  // returns how many events that was (the status counting as one).
  std::size_t Drain(DialogEventSink& sink);

  std::size_t droppedDatagrams() const { return dropped_.load(); }

 private:
  struct Event {
    enum Kind { kToolPort, kDatagram, kClear, kAdapters, kLookup } kind = kClear;
    std::vector<uint8_t> data;
    unsigned port = 0;
    Arrival arrival;
    std::vector<Adapter> adapters;
    LookupAnswer lookup;
  };

  void Push(Event event);
  template <typename Replace>
  void ReplaceLatest(Replace replace);
  // Under the lock: whether this hand-over must post the notice.
  bool NoticeDueLocked();
  void PostNotice();

  Notify notify_;
  std::atomic<std::size_t> dropped_{0};

  std::mutex mutex_;  // guards everything below; never held while calling out
  std::deque<Event> events_;
  std::size_t queuedDatagrams_ = 0;
  std::string latestStatus_;
  bool statusPending_ = false;
  provisioning::JobProgress latestProgress_;
  bool progressPending_ = false;
  bool notified_ = false;
};

}  // namespace lumora
