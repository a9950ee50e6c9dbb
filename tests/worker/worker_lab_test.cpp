// The worker against the camera simulator, on the PC side of a private lab:
// what goes on the wire, what comes back, and how the worker starts and ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/decode_reply.h"
#include "protocol/field_text.h"
#include "protocol/packet_format.h"
#include "provisioning/site_preview.h"
#include "tests/support/camsim_control.h"
#include "tests/support/recording_link.h"
#include "tests/support/reply_builder.h"
#include "tests/support/worker_runner.h"
#include "net/adapters.h"
#include "net/net_interfaces.h"
#include "net/net_socket.h"
#include "worker/worker.h"

namespace lumora {
namespace {

using test::LinkEvent;
using test::RecordingLink;

std::vector<uint8_t> SearchRequestBytes() {
  RequestFrame frame;
  BuildSearchRequest(frame);
  return std::vector<uint8_t>(frame.bytes, frame.bytes + kRequestSize);
}

std::vector<std::vector<uint8_t>> Datagrams(const std::vector<LinkEvent>& events) {
  std::vector<std::vector<uint8_t>> out;
  for (const LinkEvent& e : events) {
    if (e.kind == LinkEvent::kDatagram) out.push_back(e.data);
  }
  return out;
}

class WorkerLab : public ::testing::Test {
 protected:
  void SetUp() override {
    camsim_ = test::CamsimControl::ForTest();
    if (!camsim_) GTEST_SKIP() << test::CamsimControl::kNotInLab;
    FreshWorker();
    ASSERT_TRUE(runner_->opened());
  }

  // A worker and a link that have seen nothing yet.
  void FreshWorker() {
    runner_.reset();
    link_ = std::make_unique<RecordingLink>();
    runner_ = std::make_unique<test::WorkerRunner>(*link_);
  }

  WorkerInbox& Inbox() { return runner_->inbox(); }

  // A configuration request carries no fields here: the magic alone.
  void StartWorker(PendingRequest pending = kRequestSearch) {
    if (pending == kRequestSearch) Inbox().AskSearch();
    if (pending == kRequestConfiguration) Inbox().AskConfiguration(nullptr, 0, 0);
    runner_->Start();
  }

  // The first datagram the simulator logged on `port`, waiting for it.
  std::optional<test::LoggedDatagram> WaitForDatagramOnPort(int port) {
    for (int seen = 0; camsim_->WaitForLogCount(seen + 1); ++seen) {
      std::optional<test::LoggedDatagram> entry = camsim_->LogEntry(seen);
      if (entry && entry->localPort == port) return entry;
    }
    return {};
  }

  // A job giving the three listed cameras names that begin with `prefix`,
  // its requests 300 ms apart so a stop can come between two of them.
  std::unique_ptr<provisioning::ApplyJob> RenamingJob(const std::string& prefix) {
    std::vector<provisioning::FoundCamera> cameras;
    for (const LinkEvent& e : link_->Events()) {
      provisioning::FoundCamera camera;
      if (e.kind != LinkEvent::kDatagram || !provisioning::DecodeCamera(e.data.data(), static_cast<int>(e.data.size()), camera)) continue;
      camera.arrival = e.arrival;
      cameras.push_back(camera);
    }
    const auto same = [](const std::string& text) { return text; };
    const std::string plan = "mac,name\n001A2B3C4DA1," + prefix + "A\n001A2B3C4DB2," + prefix + "B\n001A2B3C4DC3," +
                             prefix + "C\n";
    provisioning::SitePreview preview = provisioning::PreviewPlan(plan, cameras, {}, same);
    EXPECT_TRUE(preview.problems.empty());
    provisioning::JobSettings settings;
    settings.pace = std::chrono::milliseconds(300);
    settings.listen = std::chrono::milliseconds(200);
    return std::make_unique<provisioning::ApplyJob>(preview.plan, preview.steps, cameras, settings, same);
  }

  // The configuration requests the simulator has logged (its log also holds searches).
  int RequestsLogged() {
    int requests = 0;
    for (int i = 0, n = camsim_->LogCount(); i < n; ++i) {
      std::optional<test::LoggedDatagram> entry = camsim_->LogEntry(i);
      requests += entry && entry->bytes != SearchRequestBytes();
    }
    return requests;
  }

  bool WaitForDatagrams(std::size_t count) {
    return link_->WaitFor([&](const std::vector<LinkEvent>& events) { return Datagrams(events).size() >= count; });
  }

  // A job to hand over, and the status (written inside a pass) at which
  // the link's hook hands it over with its stop; 0: none. Before runner_,
  // so that the worker has ended before they go.
  std::unique_ptr<provisioning::ApplyJob> job_;
  std::atomic<int> offerAt_{0};
  std::unique_ptr<RecordingLink> link_;
  std::unique_ptr<test::CamsimControl> camsim_;
  std::unique_ptr<test::WorkerRunner> runner_;
};

TEST_F(WorkerLab, TheFirstSearchIsTheExactFrameToPort4000) {
  StartWorker();
  std::optional<test::LoggedDatagram> search = WaitForDatagramOnPort(4000);
  ASSERT_TRUE(search);
  EXPECT_EQ(search->bytes, SearchRequestBytes());
  EXPECT_EQ(search->senderPort, 3566);

  ASSERT_TRUE(link_->WaitFor([](const std::vector<LinkEvent>& e) { return RecordingLink::Count(e, LinkEvent::kClear) > 0; }));
  std::vector<LinkEvent> events = link_->Events();
  // Start-up (Winsock, socket, bind), the tool port written back, the send,
  // then the clearing.
  ASSERT_GE(events.size(), 6u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(events[i].text, "OK") << i;
  EXPECT_EQ(events[3].kind, LinkEvent::kToolPortWrite);
  EXPECT_EQ(events[3].port, 4000u);
  EXPECT_EQ(events[4].text, "OK");
  EXPECT_EQ(events[5].kind, LinkEvent::kClear);
  EXPECT_EQ(Inbox().pendingRequest(), kRequestNone);
  EXPECT_EQ(runner_->context().udpToolPort.load(), 4000u);
}

TEST_F(WorkerLab, ThreeCamerasLandInSlots254To252InTheOrderTheyAnswer) {
  StartWorker();
  ASSERT_TRUE(WaitForDatagrams(3));
  ASSERT_TRUE(link_->WaitFor([](const std::vector<LinkEvent>& e) { return RecordingLink::CountStatus(e, "OK") >= 7; }));
  auto table = std::make_unique<SearchState>();
  for (const auto& datagram : Datagrams(link_->Events())) {
    DecodeReply(table.get(), datagram.data(), static_cast<int>(datagram.size()));
  }
  const char* kNames[] = {"CamA", "CamB", "CamC"};
  for (int i = 0; i < 3; ++i) {
    const DeviceRecord& slot = table->table.slots[254 - i];
    EXPECT_EQ(slot.number, 255 - i);
    EXPECT_EQ(FieldText(slot.name), kNames[i]);
  }
  EXPECT_EQ(table->table.slots[251].number, 0);
}

TEST_F(WorkerLab, ToolPortEditDecidesWhereTheSearchGoes) {
  struct Row {
    unsigned edit;      // as GetDlgItemInt reads it: 0 for empty or not a number
    int wirePort;
    bool writesBack;
  };
  const Row kRows[] = {{0, 4000, true}, {4000, 4000, false}, {70000, 4464, false}, {5001, 5001, false}};
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.edit);
    FreshWorker();
    // The simulator listens on a port once it has sent from it.
    ASSERT_TRUE(camsim_->SendSize(row.wirePort, 1));
    ASSERT_EQ(camsim_->Command("log-clear"), "ok");
    Inbox().SetToolPortEdit(row.edit);
    StartWorker();
    std::optional<test::LoggedDatagram> search = WaitForDatagramOnPort(row.wirePort);
    ASSERT_TRUE(search);
    EXPECT_EQ(search->bytes.size(), 256u);
    ASSERT_TRUE(link_->WaitFor([](const std::vector<LinkEvent>& e) { return RecordingLink::Count(e, LinkEvent::kClear) > 0; }));
    EXPECT_EQ(RecordingLink::Count(link_->Events(), LinkEvent::kToolPortWrite), row.writesBack ? 1 : 0);
    EXPECT_EQ(runner_->context().udpToolPort.load(), row.edit == 0 ? 4000u : row.edit);
  }
}

// A reply-shaped datagram from the PC's own address, first, is no camera's:
// neither listed nor where the request goes.
TEST_F(WorkerLab, AConfigurationRequestGoesToTheSourcePortOfTheLastReply) {
  StartWorker();
  ASSERT_TRUE(WaitForDatagrams(3));
  std::vector<Adapter> adapters;
  std::string error;
  ASSERT_TRUE(net::ListAdapters(adapters, error)) << error;
  adapters = ChooseAdapters(adapters);
  ASSERT_FALSE(adapters.empty());
  net::Socket own = net::OpenUdp();
  ASSERT_NE(own, net::kInvalidSocket);
  ASSERT_TRUE(net::Bind(own, 6000));
  const std::vector<uint8_t> ownReply = test::CameraReply(0x60, "FromThePc").bytes();
  net::Address self{adapters.front().subnets.front().ip, kLocalPort};
  ASSERT_EQ(net::SendTo(own, ownReply.data(), static_cast<int>(ownReply.size()), self), static_cast<int>(ownReply.size()));
  net::Close(own);
  const std::vector<uint8_t> reply = test::CameraReply(0x50, "FromPort5000").bytes();
  ASSERT_TRUE(camsim_->Send(5000, reply));
  ASSERT_TRUE(WaitForDatagrams(4));
  const auto datagrams = Datagrams(link_->Events());
  ASSERT_EQ(datagrams.back(), reply);
  EXPECT_EQ(std::count(datagrams.begin(), datagrams.end(), ownReply), 0);

  const uint8_t kTarget[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x50};
  RequestFrame fields;
  StartRequest(fields);
  AppendField(fields, kMacTemplate, kTarget);
  ASSERT_EQ(camsim_->Command("log-clear"), "ok");
  Inbox().AskConfiguration(fields.bytes + kMagicSize, fields.cursor - kMagicSize, 0);
  std::optional<test::LoggedDatagram> configuration = WaitForDatagramOnPort(5000);
  ASSERT_TRUE(configuration);
  std::vector<uint8_t> expected(256, 0);
  const uint8_t kHead[] = {'K', 'V', '2', '8', '0', 0x10, 6, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x50};
  std::memcpy(expected.data(), kHead, sizeof kHead);
  EXPECT_EQ(configuration->bytes, expected);

  ASSERT_EQ(camsim_->Command("log-clear"), "ok");
  Inbox().AskSearch();
  std::optional<test::LoggedDatagram> search = WaitForDatagramOnPort(4000);
  ASSERT_TRUE(search);
  EXPECT_EQ(search->bytes, SearchRequestBytes());
}

TEST_F(WorkerLab, DatagramSizesAtTheLimits) {
  StartWorker();
  ASSERT_TRUE(WaitForDatagrams(3));

  ASSERT_TRUE(camsim_->SendSize(0, 3001));
  ASSERT_TRUE(link_->WaitForStatus("ERR: recv error! Errorcode =10040\n"));

  ASSERT_TRUE(camsim_->SendSize(0, 3000));
  ASSERT_TRUE(WaitForDatagrams(4));
  EXPECT_EQ(Datagrams(link_->Events()).back().size(), 3000u);

  ASSERT_TRUE(camsim_->SendSize(0, 0));
  ASSERT_TRUE(WaitForDatagrams(5));
  ASSERT_TRUE(link_->WaitFor([](const std::vector<LinkEvent>& e) {
    return !e.empty() && e.back().kind == LinkEvent::kStatus && e.back().text == "OK";
  }));
  std::vector<LinkEvent> events = link_->Events();
  EXPECT_TRUE(Datagrams(events).back().empty());
  for (const auto& datagram : Datagrams(events)) EXPECT_LE(datagram.size(), 3000u);
}

TEST_F(WorkerLab, ABusyLocalPortEndsTheWorkerAtStartUp) {
  net::Socket holder = net::OpenUdp();
  ASSERT_NE(holder, net::kInvalidSocket);
  ASSERT_TRUE(net::Bind(holder, kLocalPort));
  StartWorker();
  int code = -1;
  ASSERT_TRUE(runner_->WaitForEnd(code));
  net::Close(holder);
  EXPECT_EQ(code, 1);
  std::vector<LinkEvent> events = link_->Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().text, "ERR: bind() error! Errorcode =10048\n");
  EXPECT_EQ(camsim_->LogCount(), 0);
}

// The fourth status is the send's "OK", after start-up's three.
TEST_F(WorkerLab, AStopDuringASendLetsTheSendAndItsClearingFinish) {
  link_->onStatus = [&](int count) {
    if (count == 4) Inbox().Stop();
  };
  StartWorker(kRequestConfiguration);
  int code = -1;
  ASSERT_TRUE(runner_->WaitForEnd(code));
  EXPECT_EQ(code, 0);
  std::optional<test::LoggedDatagram> sent = WaitForDatagramOnPort(4000);
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->bytes.size(), 256u);
  EXPECT_EQ(Inbox().pendingRequest(), kRequestNone);
  std::vector<LinkEvent> events = link_->Events();
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[events.size() - 2].text, "OK");
  EXPECT_EQ(events.back().kind, LinkEvent::kClear);
}

// "Update" pressed while a "Submit" is on its way: the search is not lost.
TEST_F(WorkerLab, ARequestPostedDuringASendGoesOutOnTheNextPass) {
  link_->onStatus = [&](int count) {
    if (count == 4) Inbox().AskSearch();
  };
  StartWorker(kRequestConfiguration);
  ASSERT_TRUE(camsim_->WaitForLogCount(2));
  std::optional<test::LoggedDatagram> configuration = camsim_->LogEntry(0), search = camsim_->LogEntry(1);
  ASSERT_TRUE(configuration && search);
  EXPECT_EQ(configuration->bytes.size(), 256u);
  EXPECT_EQ(search->bytes, SearchRequestBytes());
  ASSERT_TRUE(link_->WaitFor([](const std::vector<LinkEvent>& e) { return RecordingLink::Count(e, LinkEvent::kClear) == 2; }));
  EXPECT_EQ(Inbox().pendingRequest(), kRequestNone);
}

TEST_F(WorkerLab, AnIdleWorkerEndsWhenAskedTo) {
  StartWorker();
  ASSERT_TRUE(WaitForDatagrams(3));
  Inbox().Stop();
  int code = -1;
  ASSERT_TRUE(runner_->WaitForEnd(code));
  EXPECT_EQ(code, 0);
}

// A stop of an apply job, asked before the worker has taken the job or
// after its first request, ends the job with nothing more sent: its last
// progress comes, and no request follows.
TEST_F(WorkerLab, AStoppedJobSendsNothingMore) {
  struct Row {
    const char* when;
    bool beforeTaken;  // offered and stopped while the worker is busy with a search
    int requestsSent;
    const char* names;  // each row's own, so that its cameras still differ from its plan
  };
  const Row kRows[] = {{"before the job is taken", true, 0, "Before-"}, {"after its first request", false, 1, "After-"}};
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.when);
    FreshWorker();
    offerAt_.store(0);
    link_->onStatus = [this](int count) {
      if (count != offerAt_.load()) return;
      Inbox().OfferJob(std::move(job_));
      Inbox().StopJob();
    };
    StartWorker();
    ASSERT_TRUE(WaitForDatagrams(3));
    job_ = RenamingJob(row.names);
    ASSERT_EQ(camsim_->Command("log-clear"), "ok");
    if (row.beforeTaken) {
      offerAt_.store(RecordingLink::Count(link_->Events(), LinkEvent::kStatus) + 1);
      Inbox().AskSearch();
    } else {
      Inbox().OfferJob(std::move(job_));
      ASSERT_TRUE(camsim_->WaitForLogCount(1));
      Inbox().StopJob();
    }
    ASSERT_TRUE(link_->WaitFor([](const std::vector<LinkEvent>& events) {
      return std::any_of(events.begin(), events.end(), [](const LinkEvent& e) { return e.kind == LinkEvent::kProgress && e.finished; });
    }));
    // Longer than the pace: a request still queued would have gone by now.
    camsim_->WaitForLogCount(camsim_->LogCount() + 2, 700);
    EXPECT_EQ(RequestsLogged(), row.requestsSent);
  }
}

// Runs in a lab namespace without a route: every send fails.
TEST(WorkerWithoutRoute, AFailedSendIsReportedAndStillClears) {
  if (std::getenv("LUMORA_LAB_NO_ROUTE") == nullptr) GTEST_SKIP() << "runs only in a lab without a route";
  RecordingLink link;
  test::WorkerRunner runner(link);
  runner.inbox().AskSearch();
  runner.Start();
  ASSERT_TRUE(link.WaitFor([](const std::vector<LinkEvent>& e) { return RecordingLink::Count(e, LinkEvent::kClear) > 0; }));
  std::vector<LinkEvent> events = link.Events();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2].text, "ERR: sendto error! Errorcode =10051\n");
  EXPECT_EQ(runner.inbox().pendingRequest(), kRequestNone);
}

}  // namespace
}  // namespace lumora
