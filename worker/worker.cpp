// The worker loop. Each pass: take what the inbox holds, end on a stop, run
// the search before an Apply if one was asked (its look-up follows it), else
// the job if there is one, else send the pending request if there is one
// and take at most one datagram. Between datagrams it sleeps in the socket
// layer's Wait, so an idle worker uses no CPU and whatever the dialog puts
// into the inbox is acted on as soon as its wake is signalled.
#include "worker/worker.h"

#include <chrono>
#include <string>
#include <vector>

#include "net/adapter_send.h"
#include "net/neighbour_lookup.h"
#include "net/net_interfaces.h"
#include "net/reply_socket.h"
#include "protocol/packet_format.h"
#include "provisioning/site_search.h"
#include "worker/status_text.h"

namespace lumora {
namespace {

// Used only when the socket could not be tied to a readiness event: the
// worker then looks for datagrams this often instead of sleeping until one.
constexpr int kFallbackPollMs = 10;

class Worker {
 public:
  explicit Worker(WorkerContext& ctx) : ctx_(ctx), link_(*ctx.link) {}

  int Run() {
    if (!StartUp()) {
      net::CloseReplySocket(socket_);
      return 1;
    }
    while (Pass()) {
    }
    net::CloseReplySocket(socket_);
    return 0;
  }

 private:
  void ReportError(const char* format, int code) {
    char szErrMsg[kStatusSize];
    FormatStatus(szErrMsg, format, code);
    link_.WriteStatus(szErrMsg);
  }

  // "OK" for each start-up step that worked, then the failed one's text.
  bool StartUp() {
    const net::OpenOutcome outcome = net::OpenReplySocket(socket_);
    ctx_.receiveBufferGranted.store(socket_.receiveBufferGranted);
    const net::OpenStep steps[] = {net::OpenStep::kStartup, net::OpenStep::kSocket, net::OpenStep::kBind};
    const char* failures[] = {kStatusStartupFailed, kStatusSocketFailed, kStatusBindFailed};
    for (std::size_t i = 0; i < 3; ++i) {
      if (outcome.failed == steps[i]) {
        ReportError(failures[i], outcome.code);
        return false;
      }
      link_.WriteStatus(kStatusOk);
    }
    // Without the arrival adapter replies are still taken, and "Submit"
    // then goes out unforced.
    remote_addr_ = {net::kBroadcastAddress, ToolPortOnWire()};
    return true;
  }

  // The low 16 bits: a tool port of 70000 goes out as 4464.
  uint16_t ToolPortOnWire() const { return static_cast<uint16_t>(ctx_.udpToolPort.load() & 0xFFFF); }

  bool Pass() {
    if (!TakeMail()) return false;
    if (lookupAsked_ && !siteSearch_) {
      LookUp();
      link_.HandOverLookup(lookup_);
    }
    if (siteSearch_) {
      SiteSearchPass();
      return true;
    }
    if (job_) {
      JobPass();
      return true;
    }
    if (pending_ != kRequestNone) SendRequest();
    ReceiveOne();
    return true;
  }

  // The one place the dialog's words come in. A request taken while a job
  // runs waits for the job's end; a stop of the job with no job running is
  // a stop of one already done, and is dropped.
  bool TakeMail() {
    InboxMail mail = ctx_.inbox.Take();
    if (mail.stop) return false;
    toolPortEdit_ = mail.toolPortEdit;
    if (mail.request != kRequestNone) {
      pending_ = mail.request;
      fields_ = std::move(mail.configurationFields);
      fieldsAdapter_ = mail.configurationAdapter;
    }
    if (mail.job) {
      job_ = std::move(mail.job);
      ReportJob();
    }
    if (mail.stopJob && job_) job_->Stop();
    if (mail.lookup) {
      lookupAsked_ = true;
      lookup_.id = mail.lookupId;
      lookupAddresses_ = std::move(mail.lookupAddresses);
      siteSearch_.reset();
      if (mail.lookupSearchFirst) siteSearch_ = std::make_unique<provisioning::SiteSearch>();
    }
    return true;
  }

  // The dialog's look-up, on the adapters as they are now, handed back with
  // them. It holds this thread for up to a second (the neighbour table's
  // patience); the dialog thread never waits for it, and "Exit" waits at
  // most that long.
  void LookUp() {
    lookupAsked_ = false;
    lookup_.answers.clear();
    lookup_.error.clear();
    lookup_.searched = false;
    lookup_.cameras.clear();
    lookup_.searchError.clear();
    std::vector<Adapter> listed;
    if (net::ListAdapters(listed, lookup_.error)) {
      link_.HandOverAdapters(listed);
      net::LookUpAddresses(lookupAddresses_, listed, lookup_.answers, lookup_.error);
    }
  }

  // The search before the dialog's Apply, as an operator's search goes out
  // (the adapters listed afresh), with its replies kept from the list; then
  // the look-up, handed over with the cameras found.
  void SiteSearchPass() {
    const provisioning::JobAction action = siteSearch_->Next(std::chrono::steady_clock::now());
    if (action.kind == provisioning::JobActionKind::kSearch) {
      RefreshToolPort();
      BuildSearchRequest(msg_);
      net::Address to{net::kBroadcastAddress, ToolPortOnWire()};
      SendSearchOutOfListedAdapters(socket_.socket, msg_.bytes, static_cast<int>(kRequestSize), to, adapters_,
                                    &everyAdapter_);
      NotePcAddresses();
    } else if (action.kind == provisioning::JobActionKind::kWait) {
      provisioning::FoundCamera camera;
      std::string failure;
      if (ReceiveCamera(action.until, camera, failure)) siteSearch_->Reply(camera, std::chrono::steady_clock::now());
      if (!failure.empty()) siteSearch_->ReceiveFailed(failure);
    } else {
      std::unique_ptr<provisioning::SiteSearch> done = std::move(siteSearch_);
      LookUp();
      lookup_.searched = true;
      lookup_.cameras = done->cameras();
      lookup_.searchError = done->error();
      link_.HandOverLookup(lookup_);
    }
  }

  void SendRequest() {
    const int size = static_cast<int>(kRequestSize);
    SendOutcome outcome;
    if (pending_ == kRequestSearch) {
      RefreshToolPort();
      remote_addr_ = {net::kBroadcastAddress, ToolPortOnWire()};
      BuildSearchRequest(msg_);
      outcome = SendSearchOutOfListedAdapters(socket_.socket, msg_.bytes, size, remote_addr_, adapters_, &everyAdapter_);
      NotePcAddresses();
      link_.HandOverAdapters(everyAdapter_);
    } else {
      // A configuration request goes where the last reply came from; the
      // destination is deliberately not rebuilt. Only the target's adapter
      // sees it, so a camera with the same MAC behind another is left alone;
      // its source address is the one that adapter had at the last search.
      StartRequest(msg_);
      AppendConfigurationFields(fields_, msg_);
      outcome = SendOutOfAdapter(socket_.socket, msg_.bytes, size, remote_addr_, RouteOf(adapters_, fieldsAdapter_));
    }
    if (outcome.sent) {
      link_.WriteStatus(kStatusOk);
    } else {
      ReportError(kStatusSendFailed, outcome.error);
    }
    // Dropped whether or not the send worked: a failed request is not
    // repeated. One asked meanwhile waits in the inbox for the next pass.
    pending_ = kRequestNone;
    link_.ClearDevices();
  }

  // While a job runs it alone sends. Its searches' replies are its own: the
  // dialog's list stays empty until the search that follows the job.
  void JobPass() {
    const provisioning::JobAction action = job_->Next(std::chrono::steady_clock::now());
    switch (action.kind) {
      case provisioning::JobActionKind::kSend: SendJobRequest(action); break;
      case provisioning::JobActionKind::kSearch: {
        BuildSearchRequest(msg_);
        net::Address to{net::kBroadcastAddress, ToolPortOnWire()};
        SendOutcome outcome = SendSearchOutOfListedAdapters(socket_.socket, msg_.bytes,
                                                            static_cast<int>(kRequestSize), to, adapters_);
        NotePcAddresses();
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
    SendOutcome outcome = SendOutOfAdapter(socket_.socket, action.frame->bytes, static_cast<int>(kRequestSize), to,
                                           RouteOf(adapters_, camera.index));
    job_->Sent(action.step, outcome.sent, outcome.sent ? "" : "sending failed (code " + std::to_string(outcome.error) + ")");
  }

  void ReceiveForJob(std::chrono::steady_clock::time_point until) {
    provisioning::FoundCamera camera;
    std::string failure;
    if (ReceiveCamera(until, camera, failure)) job_->Reply(camera);
    if (!failure.empty()) job_->ReceiveFailed(failure);
  }

  // One camera's reply (none from the PC's own addresses), else a sleep
  // until `until` or the wake. A failure that would only repeat is said in
  // `failure`: retrying it at once would spin, and waiting on the socket
  // returns at once as well.
  bool ReceiveCamera(std::chrono::steady_clock::time_point until, provisioning::FoundCamera& camera,
                     std::string& failure) {
    int n = net::ReceiveWithArrival(socket_, RecvMsg_, static_cast<int>(kReceiveSize), adapters_, arrival_);
    if (n >= 0) {
      if (FromPc(arrival_, pcAddresses_) || !provisioning::DecodeCamera(RecvMsg_, n, camera)) return false;
      camera.arrival = arrival_;
      return true;
    }
    const int code = net::LastError();
    if (code != net::kWouldBlock) {
      if (!net::ReceiveErrorPasses(code)) failure = "receiving failed (code " + std::to_string(code) + ")";
      return false;
    }
    auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
    if (left > 0) Wait(static_cast<int>(left));
    return false;
  }

  void Wait(int timeoutMs) {
    net::Wait(socket_.watch, ctx_.inbox.wake(), socket_.eventDriven ? timeoutMs : kFallbackPollMs);
  }

  void ReportJob() {
    jobRevision_ = job_->revision();
    link_.HandOverJobProgress(job_->progress());
  }

  void RefreshToolPort() {
    unsigned port = toolPortEdit_;
    if (port == 0) {
      port = kDefaultToolPort;
      link_.WriteToolPortEdit(port);
    }
    ctx_.udpToolPort.store(port);
  }

  void NotePcAddresses() {
    pcAddresses_.clear();
    for (const Adapter& adapter : adapters_) {
      for (const AdapterSubnet& subnet : adapter.subnets) pcAddresses_.push_back(subnet.ip);
    }
  }

  // A datagram from the PC's own address is not handed over, and leaves the
  // next request's port as the last camera's reply set it.
  void ReceiveOne() {
    int n = net::ReceiveWithArrival(socket_, RecvMsg_, static_cast<int>(kReceiveSize), adapters_, arrival_);
    if (n >= 0 && FromPc(arrival_, pcAddresses_)) return;
    if (n < 0) {
      int code = net::LastError();
      if (code == net::kWouldBlock) {
        Wait(-1);
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
  DialogLink& link_;
  net::ReplySocket socket_;
  net::Address remote_addr_{net::kBroadcastAddress, 0};
  // What the inbox last gave: the edit's value, and the request to send
  // with its fields and their adapter.
  unsigned toolPortEdit_ = 0;
  PendingRequest pending_ = kRequestNone;
  std::vector<uint8_t> fields_;
  uint32_t fieldsAdapter_ = 0;
  RequestFrame msg_{};
  uint8_t RecvMsg_[kReceiveSize] = {};
  std::vector<Adapter> adapters_;  // read afresh at each search
  std::vector<Adapter> everyAdapter_;  // the same list before the choice: the PC's every address
  std::vector<uint32_t> pcAddresses_;  // theirs
  bool lookupAsked_ = false;
  std::vector<uint32_t> lookupAddresses_;
  LookupAnswer lookup_;
  std::unique_ptr<provisioning::SiteSearch> siteSearch_;  // the search before a look-up, while it runs
  std::unique_ptr<provisioning::ApplyJob> job_;
  std::size_t jobRevision_ = 0;
  Arrival arrival_;  // each datagram's, kept so that its name's storage is reused
};

}  // namespace

bool OpenWorkerContext(WorkerContext& ctx, DialogLink* link) {
  ctx.link = link;
  ctx.udpToolPort.store(kDefaultToolPort);
  return ctx.inbox.Open();
}

void CloseWorkerContext(WorkerContext& ctx) { ctx.inbox.Close(); }

int RunWorker(WorkerContext& ctx) {
  // The buffers live with the thread, not in the loop: a pass allocates
  // nothing, but for the adapter list an operator's search reads.
  static_assert(sizeof(Worker) < 8192, "the worker's buffers fit on a thread stack");
  Worker worker(ctx);
  return worker.Run();
}

}  // namespace lumora
