// The worker against the camera simulator, on the PC side of a private lab:
// what goes on the wire, what comes back, and how the worker starts and ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/decode_reply.h"
#include "protocol/field_text.h"
#include "protocol/packet_format.h"
#include "tests/support/camsim_control.h"
#include "tests/support/recording_link.h"
#include "tests/support/reply_builder.h"
#include "tests/support/worker_runner.h"
#include "worker/net_socket.h"
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
    runner_ = std::make_unique<test::WorkerRunner>(state_, *link_);
  }

  void StartWorker(PendingRequest pending = kRequestSearch) {
    state_.stopFlag.store(0);
    state_.pendingRequest.store(pending);
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

  bool WaitForDatagrams(std::size_t count) {
    return link_->WaitFor([&](const std::vector<LinkEvent>& events) { return Datagrams(events).size() >= count; });
  }

  SearchState state_;
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
  EXPECT_EQ(state_.pendingRequest.load(), 0);
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
    link_->toolPortEdit.store(row.edit);
    StartWorker();
    std::optional<test::LoggedDatagram> search = WaitForDatagramOnPort(row.wirePort);
    ASSERT_TRUE(search);
    EXPECT_EQ(search->bytes.size(), 256u);
    ASSERT_TRUE(link_->WaitFor([](const std::vector<LinkEvent>& e) { return RecordingLink::Count(e, LinkEvent::kClear) > 0; }));
    EXPECT_EQ(RecordingLink::Count(link_->Events(), LinkEvent::kToolPortWrite), row.writesBack ? 1 : 0);
    EXPECT_EQ(runner_->context().udpToolPort.load(), row.edit == 0 ? 4000u : row.edit);
  }
}

TEST_F(WorkerLab, AConfigurationRequestGoesToTheSourcePortOfTheLastReply) {
  StartWorker();
  ASSERT_TRUE(WaitForDatagrams(3));
  const std::vector<uint8_t> reply = test::CameraReply(0x50, "FromPort5000").bytes();
  ASSERT_TRUE(camsim_->Send(5000, reply));
  ASSERT_TRUE(WaitForDatagrams(4));
  ASSERT_EQ(Datagrams(link_->Events()).back(), reply);

  const uint8_t kTarget[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x50};
  link_->onCompose = [&](RequestFrame& frame) { AppendField(frame, kMacTemplate, kTarget); };
  ASSERT_EQ(camsim_->Command("log-clear"), "ok");
  PostRequest(runner_->context(), kRequestConfiguration);
  std::optional<test::LoggedDatagram> configuration = WaitForDatagramOnPort(5000);
  ASSERT_TRUE(configuration);
  std::vector<uint8_t> expected(256, 0);
  const uint8_t kHead[] = {'K', 'V', '2', '8', '0', 0x10, 6, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x50};
  std::memcpy(expected.data(), kHead, sizeof kHead);
  EXPECT_EQ(configuration->bytes, expected);

  ASSERT_EQ(camsim_->Command("log-clear"), "ok");
  PostRequest(runner_->context(), kRequestSearch);
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
  EXPECT_EQ(state_.stopFlag.load(), 1);
  std::vector<LinkEvent> events = link_->Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().text, "ERR: bind() error! Errorcode =10048\n");
  EXPECT_EQ(camsim_->LogCount(), 0);
}

TEST_F(WorkerLab, AStopDuringASendLetsTheSendAndItsClearingFinish) {
  link_->onCompose = [&](RequestFrame&) { RequestStop(runner_->context()); };
  StartWorker(kRequestConfiguration);
  int code = -1;
  ASSERT_TRUE(runner_->WaitForEnd(code));
  EXPECT_EQ(code, 0);
  std::optional<test::LoggedDatagram> sent = WaitForDatagramOnPort(4000);
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->bytes.size(), 256u);
  EXPECT_EQ(state_.pendingRequest.load(), 0);
  std::vector<LinkEvent> events = link_->Events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[events.size() - 3].kind, LinkEvent::kCompose);
  EXPECT_EQ(events[events.size() - 2].text, "OK");
  EXPECT_EQ(events.back().kind, LinkEvent::kClear);
}

// "Update" pressed while a "Submit" is on its way: the search is not lost.
TEST_F(WorkerLab, ARequestPostedDuringASendGoesOutOnTheNextPass) {
  link_->onCompose = [&](RequestFrame&) { PostRequest(runner_->context(), kRequestSearch); };
  StartWorker(kRequestConfiguration);
  ASSERT_TRUE(camsim_->WaitForLogCount(2));
  std::optional<test::LoggedDatagram> configuration = camsim_->LogEntry(0), search = camsim_->LogEntry(1);
  ASSERT_TRUE(configuration && search);
  EXPECT_EQ(configuration->bytes.size(), 256u);
  EXPECT_EQ(search->bytes, SearchRequestBytes());
  ASSERT_TRUE(link_->WaitFor([](const std::vector<LinkEvent>& e) { return RecordingLink::Count(e, LinkEvent::kClear) == 2; }));
  EXPECT_EQ(state_.pendingRequest.load(), 0);
}

TEST_F(WorkerLab, AnIdleWorkerEndsWhenAskedTo) {
  StartWorker();
  ASSERT_TRUE(WaitForDatagrams(3));
  RequestStop(runner_->context());
  int code = -1;
  ASSERT_TRUE(runner_->WaitForEnd(code));
  EXPECT_EQ(code, 0);
}

// Runs in a lab namespace without a route: every send fails.
TEST(WorkerWithoutRoute, AFailedSendIsReportedAndStillClears) {
  if (std::getenv("LUMORA_LAB_NO_ROUTE") == nullptr) GTEST_SKIP() << "runs only in a lab without a route";
  SearchState state;
  RecordingLink link;
  test::WorkerRunner runner(state, link);
  state.pendingRequest.store(kRequestSearch);
  runner.Start();
  ASSERT_TRUE(link.WaitFor([](const std::vector<LinkEvent>& e) { return RecordingLink::Count(e, LinkEvent::kClear) > 0; }));
  std::vector<LinkEvent> events = link.Events();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2].text, "ERR: sendto error! Errorcode =10051\n");
  EXPECT_EQ(state.pendingRequest.load(), 0);
}

}  // namespace
}  // namespace lumora
