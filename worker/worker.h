// The network worker: the only code that touches the network. It owns the
// socket from creation to the end of its thread, sends the pending request,
// and hands every received datagram to the dialog.
#pragma once

#include <atomic>
#include <cstdint>

#include "protocol/device_record.h"
#include "worker/dialog_link.h"
#include "worker/net_socket.h"

namespace lumora {

inline constexpr uint16_t kLocalPort = 3566;       // where replies arrive
inline constexpr unsigned kDefaultToolPort = 4000;  // where requests go
inline constexpr int kReceiveBufferRequest = 1 << 20;

// Everything the worker thread is given. Owned by the dialog side, which
// opens it before the thread starts and closes it after the thread ended.
struct WorkerContext {
  SearchState* state = nullptr;
  DialogLink* link = nullptr;
  std::atomic<uint32_t> udpToolPort{kDefaultToolPort};
  net::WakeSignal wake;
  // Figures for reports: what SO_RCVBUF the platform granted.
  std::atomic<int> receiveBufferGranted{0};
};

bool OpenWorkerContext(WorkerContext& ctx, SearchState* state, DialogLink* link);
void CloseWorkerContext(WorkerContext& ctx);

// Dialog side: queue a request (one slot, a later code overwrites an earlier
// one) or ask the worker to end. Both wake the worker at once.
void PostRequest(WorkerContext& ctx, PendingRequest code);
void RequestStop(WorkerContext& ctx);

// The thread body. Returns 0 after the stop flag was seen and the socket
// closed, 1 after a start-up failure (which also sets the stop flag).
int RunWorker(WorkerContext& ctx);

}  // namespace lumora
