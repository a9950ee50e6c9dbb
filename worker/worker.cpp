// The worker loop. Each pass: look at the stop flag, send the pending request
// if there is one, then take at most one datagram. Between datagrams it
// sleeps in the socket layer's Wait, so an idle worker uses no CPU and a new
// request or the stop flag is acted on as soon as the wake is signalled.
#include "worker/worker.h"

#include <chrono>
#include <string>
#include <vector>

#include "protocol/packet_format.h"
#include "worker/adapter_send.h"
#include "worker/net_interfaces.h"
#include "worker/status_text.h"

namespace lumora {
namespace {

// Used only when the socket could not be tied to a readiness event: the
// worker then looks for datagrams this often instead of sleeping until one.
constexpr int kFallbackPollMs = 10;

class Worker {
 public:
  explicit Worker(WorkerContext& ctx) : ctx_(ctx), state_(*ctx.state), link_(*ctx.link) {}

  int Run() {
    if (!StartUp()) {
      state_.stopFlag.store(1);
      CloseDown();
      return 1;
    }
    while (state_.stopFlag.load() == 0) Pass();
    CloseDown();
    return 0;
  }

 private:
  void ReportError(const char* format, int code) {
    char szErrMsg[kStatusSize];
    FormatStatus(szErrMsg, format, code);
    link_.WriteStatus(szErrMsg);
  }

  bool StartUp() {
    int code = net::Startup();
    if (code != 0) {
      ReportError(kStatusStartupFailed, code);
      return false;
    }
    winsockStarted_ = true;
    link_.WriteStatus(kStatusOk);

    socket_ = net::OpenUdp();
    if (socket_ == net::kInvalidSocket) {
      ReportError(kStatusSocketFailed, net::LastError());
      return false;
    }
    link_.WriteStatus(kStatusOk);

    net::SetBroadcast(socket_);
    ctx_.receiveBufferGranted.store(net::SetReceiveBuffer(socket_, kReceiveBufferRequest));
    if (!net::Bind(socket_, kLocalPort)) {
      ReportError(kStatusBindFailed, net::LastError());
      return false;
    }
    link_.WriteStatus(kStatusOk);

    // Without the arrival adapter replies are still taken, and "Submit"
    // then goes out unforced.
    arrivalKnown_ = net::EnableArrivalAdapter(socket_);
    eventDriven_ = net::WatchReadable(socket_, watch_);
    remote_addr_ = {net::kBroadcastAddress, ToolPortOnWire()};
    return true;
  }

  void CloseDown() {
    net::CloseWatch(watch_);
    net::Close(socket_);
    socket_ = net::kInvalidSocket;
    if (winsockStarted_) net::Cleanup();
  }

  // The low 16 bits: a tool port of 70000 goes out as 4464.
  uint16_t ToolPortOnWire() const { return static_cast<uint16_t>(ctx_.udpToolPort.load() & 0xFFFF); }

  void Pass() {
    if (ctx_.jobOffered.load()) TakeJob();
    if (job_) {
      JobPass();
      return;
    }
    int32_t pending = state_.pendingRequest.load();
    if (pending != kRequestNone) SendRequest(pending);
    ReceiveOne();
  }

  void SendRequest(int32_t pending) {
    const int size = static_cast<int>(kRequestSize);
    SendOutcome outcome;
    if (pending == kRequestSearch) {
      RefreshToolPort();
      remote_addr_ = {net::kBroadcastAddress, ToolPortOnWire()};
      BuildSearchRequest(msg_);
      outcome = SendSearchOutOfListedAdapters(socket_, msg_.bytes, size, remote_addr_, adapters_);
    } else {
      // A configuration request goes where the last reply came from; the
      // destination is deliberately not rebuilt. Only the target's adapter
      // sees it, so a camera with the same MAC behind another is left alone;
      // its source address is the one that adapter had at the last search.
      StartRequest(msg_);
      uint32_t adapter = link_.AppendConfigurationFields(msg_);
      outcome = SendOutOfAdapter(socket_, msg_.bytes, size, remote_addr_, RouteOf(adapters_, adapter));
    }
    if (outcome.sent) {
      link_.WriteStatus(kStatusOk);
    } else {
      ReportError(kStatusSendFailed, outcome.error);
    }
    // Cleared whether or not the send worked: a failed request is dropped.
    // Only if it still holds the code just sent: a request posted while this
    // one was being sent goes out on the next pass instead of being lost.
    int32_t sent = pending;
    state_.pendingRequest.compare_exchange_strong(sent, kRequestNone);
    link_.ClearDevices();
  }

  void TakeJob() {
    std::lock_guard<std::mutex> lock(ctx_.jobMutex);
    ctx_.jobOffered.store(false);
    if (!ctx_.offeredJob) return;
    job_ = std::move(ctx_.offeredJob);
    ctx_.jobStopAsked.store(false);
    jobRevision_ = job_->revision();
    ReportJob();
  }

  // While a job runs it alone sends. Its searches' replies are its own: the
  // dialog's list stays empty until the search that follows the job.
  void JobPass() {
    if (ctx_.jobStopAsked.exchange(false)) job_->Stop();
    const provisioning::JobAction action = job_->Next(std::chrono::steady_clock::now());
    switch (action.kind) {
      case provisioning::JobActionKind::kSend: SendJobRequest(action); break;
      case provisioning::JobActionKind::kSearch: {
        BuildSearchRequest(msg_);
        net::Address to{net::kBroadcastAddress, ToolPortOnWire()};
        SendOutcome outcome =
            SendSearchOutOfListedAdapters(socket_, msg_.bytes, static_cast<int>(kRequestSize), to, adapters_);
        if (!outcome.sent) ReportError(kStatusSendFailed, outcome.error);
        break;
      }
      case provisioning::JobActionKind::kWait: ReceiveForJob(action.until); break;
      case provisioning::JobActionKind::kDone: break;
    }
    if (job_->revision() != jobRevision_ || job_->done()) ReportJob();
    if (job_->done()) job_.reset();
  }

  void SendJobRequest(const provisioning::JobAction& action) {
    const Arrival& camera = action.to->arrival;
    net::Address to{net::kBroadcastAddress, camera.sourcePort};
    SendOutcome outcome = SendOutOfAdapter(socket_, action.frame->bytes, static_cast<int>(kRequestSize), to,
                                           RouteOf(adapters_, camera.index));
    job_->Sent(action.step, outcome.sent, outcome.sent ? "" : "sending failed (code " + std::to_string(outcome.error) + ")");
  }

  // One datagram for the job, else sleep until `until` or the wake.
  void ReceiveForJob(std::chrono::steady_clock::time_point until) {
    int n = ReceiveDatagram();
    if (n >= 0) {
      provisioning::FoundCamera camera;
      if (!provisioning::DecodeCamera(RecvMsg_, n, camera)) return;
      camera.arrival = arrival_;
      job_->Reply(camera);
      return;
    }
    if (net::LastError() != net::kWouldBlock) return;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
    if (left > 0) net::Wait(watch_, ctx_.wake, eventDriven_ ? static_cast<int>(left) : kFallbackPollMs);
  }

  void ReportJob() {
    jobRevision_ = job_->revision();
    JobProgress progress;
    progress.reports = job_->reports();
    progress.verified = job_->verified();
    progress.toVerify = job_->toVerify();
    progress.finished = job_->done();
    link_.HandOverJobProgress(progress);
  }

  void RefreshToolPort() {
    unsigned port = link_.ReadToolPortEdit();
    if (port == 0) {
      port = kDefaultToolPort;
      link_.WriteToolPortEdit(port);
    }
    ctx_.udpToolPort.store(port);
  }

  // One datagram into RecvMsg_, where it came from into arrival_; -1 with
  // the socket's error code when there is none.
  int ReceiveDatagram() {
    net::Address sender{};
    uint32_t adapter = 0;
    int n = arrivalKnown_ ? net::RecvFromAdapter(socket_, RecvMsg_, static_cast<int>(kReceiveSize), sender, adapter)
                          : net::RecvFrom(socket_, RecvMsg_, static_cast<int>(kReceiveSize), sender);
    if (n >= 0) DescribeArrival(adapters_, adapter, sender.ip, sender.port, arrival_);
    return n;
  }

  void ReceiveOne() {
    int n = ReceiveDatagram();
    if (n < 0) {
      int code = net::LastError();
      if (code == net::kWouldBlock) {
        net::Wait(watch_, ctx_.wake, eventDriven_ ? -1 : kFallbackPollMs);
        return;
      }
      ReportError(kStatusRecvFailed, code);
    } else {
      link_.HandOverDatagram(RecvMsg_, n, arrival_);
      link_.WriteStatus(kStatusOk);
      // The next configuration request goes to the sender's source port.
      remote_addr_.port = arrival_.sourcePort;
    }
    remote_addr_.ip = net::kBroadcastAddress;
  }

  WorkerContext& ctx_;
  SearchState& state_;
  DialogLink& link_;
  bool winsockStarted_ = false;
  bool eventDriven_ = false;
  bool arrivalKnown_ = false;
  net::Socket socket_ = net::kInvalidSocket;
  net::ReadWatch watch_;
  net::Address remote_addr_{net::kBroadcastAddress, 0};
  RequestFrame msg_{};
  uint8_t RecvMsg_[kReceiveSize] = {};
  std::vector<Adapter> adapters_;  // read afresh at each search
  std::unique_ptr<provisioning::ApplyJob> job_;
  std::size_t jobRevision_ = 0;
  Arrival arrival_;  // each datagram's, kept so that its name's storage is reused
};

}  // namespace

bool OpenWorkerContext(WorkerContext& ctx, SearchState* state, DialogLink* link) {
  ctx.state = state;
  ctx.link = link;
  return net::OpenWake(ctx.wake);
}

void CloseWorkerContext(WorkerContext& ctx) { net::CloseWake(ctx.wake); }

void PostRequest(WorkerContext& ctx, PendingRequest code) {
  ctx.state->pendingRequest.store(code);
  net::Signal(ctx.wake);
}

void OfferJob(WorkerContext& ctx, std::unique_ptr<provisioning::ApplyJob> job) {
  {
    std::lock_guard<std::mutex> lock(ctx.jobMutex);
    ctx.offeredJob = std::move(job);
    ctx.jobOffered.store(true);
  }
  net::Signal(ctx.wake);
}

void StopJob(WorkerContext& ctx) {
  ctx.jobStopAsked.store(true);
  net::Signal(ctx.wake);
}

void RequestStop(WorkerContext& ctx) {
  ctx.state->stopFlag.store(1);
  net::Signal(ctx.wake);
}

int RunWorker(WorkerContext& ctx) {
  // The buffers live with the thread, not in the loop: a pass allocates
  // nothing, but for the adapter list an operator's search reads.
  static_assert(sizeof(Worker) < 8192, "the worker's buffers fit on a thread stack");
  Worker worker(ctx);
  return worker.Run();
}

}  // namespace lumora
