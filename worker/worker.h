// The network worker: the only code of the dialog's program that touches
// the network. It owns the reply socket from creation to the end of its
// thread, takes what the dialog hands it from its inbox, sends, and hands
// every received datagram to the dialog.
#pragma once

#include <atomic>
#include <cstdint>

#include "net/ports.h"
#include "worker/dialog_link.h"
#include "worker/inbox.h"

namespace lumora {

// Everything the worker thread is given. Owned by the dialog side, which
// opens it before the thread starts and closes it after the thread ended.
struct WorkerContext {
  DialogLink* link = nullptr;
  WorkerInbox inbox;
  // Figures for reports and tests: the tool port requests last went to,
  // and what SO_RCVBUF the platform granted.
  std::atomic<uint32_t> udpToolPort{kDefaultToolPort};
  std::atomic<int> receiveBufferGranted{0};
};

// Opens the inbox afresh; false when its wake cannot be had.
bool OpenWorkerContext(WorkerContext& ctx, DialogLink* link);
void CloseWorkerContext(WorkerContext& ctx);

// The thread body. Returns 0 after the inbox's stop was taken and the
// socket closed, 1 after a start-up failure.
int RunWorker(WorkerContext& ctx);

}  // namespace lumora
