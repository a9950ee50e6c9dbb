// The network worker: the only code that touches the network. It owns the
// socket from creation to the end of its thread, sends the pending request,
// and hands every received datagram to the dialog.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "protocol/device_record.h"
#include "provisioning/apply_job.h"
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
  // An apply job handed over by the dialog, until the worker takes it.
  std::mutex jobMutex;
  std::unique_ptr<provisioning::ApplyJob> offeredJob;  // under jobMutex
  std::atomic<bool> jobOffered{false};
  std::atomic<bool> jobStopAsked{false};
};

bool OpenWorkerContext(WorkerContext& ctx, SearchState* state, DialogLink* link);
void CloseWorkerContext(WorkerContext& ctx);

// Dialog side: queue a request (one slot, a later code overwrites an earlier
// one) or ask the worker to end. Both wake the worker at once.
void PostRequest(WorkerContext& ctx, PendingRequest code);
void RequestStop(WorkerContext& ctx);

// Dialog side: hand the worker an apply job (its settings' listen time is
// how long each search's replies are gathered), or ask the running one to
// send no more. The worker runs the job in place of requests until it is
// done, and reports through DialogLink::HandOverJobProgress.
void OfferJob(WorkerContext& ctx, std::unique_ptr<provisioning::ApplyJob> job);
void StopJob(WorkerContext& ctx);

// The thread body. Returns 0 after the stop flag was seen and the socket
// closed, 1 after a start-up failure (which also sets the stop flag).
int RunWorker(WorkerContext& ctx);

}  // namespace lumora
