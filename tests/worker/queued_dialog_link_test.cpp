// The hand-over from the worker to the dialog thread: order, notices, bounds.
#include "worker/queued_dialog_link.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace lumora {
namespace {

// Records what the dialog thread is asked to do, as one line per call.
class RecordingSink : public DialogEventSink {
 public:
  std::vector<std::string> calls;
  void BatchBegins(std::size_t datagrams) override { calls.push_back("begin " + std::to_string(datagrams)); }
  void TakeDatagram(const uint8_t* data, int length, const Arrival& arrival) override {
    calls.push_back("datagram " + std::string(reinterpret_cast<const char*>(data), length) +
                    (arrival.index ? " on " + std::to_string(arrival.index) : ""));
  }
  void ClearDevices() override { calls.push_back("clear"); }
  void ShowToolPort(unsigned port) override { calls.push_back("port " + std::to_string(port)); }
  void ShowStatus(const char* text) override { calls.push_back("status " + std::string(text)); }
  void BatchEnds() override { calls.push_back("end"); }
};

void Hand(QueuedDialogLink& link, const std::string& bytes, uint32_t adapter = 0) {
  Arrival arrival;
  arrival.index = adapter;
  link.HandOverDatagram(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()), arrival);
}

TEST(QueuedDialogLink, AppliesEventsInOrderWithTheLatestStatusLast) {
  QueuedDialogLink link([] { return true; });
  link.WriteStatus("OK");
  link.WriteToolPortEdit(4000);
  link.WriteStatus("ERR: sendto error! Errorcode =10051\n");
  link.ClearDevices();
  Hand(link, "A", 7);
  link.WriteStatus("OK");
  Hand(link, "");
  RecordingSink sink;
  EXPECT_EQ(link.Drain(sink), 5u);  // the earlier statuses are gone, not queued
  EXPECT_EQ(sink.calls, (std::vector<std::string>{"begin 2", "port 4000", "clear", "datagram A on 7", "datagram ",
                                                  "status OK", "end"}));
  RecordingSink empty;
  EXPECT_EQ(link.Drain(empty), 0u);
  EXPECT_TRUE(empty.calls.empty());
}

TEST(QueuedDialogLink, NotifiesOncePerBatchAndRetriesAFailedNotice) {
  int notices = 0;
  bool deliver = false;
  QueuedDialogLink link([&] {
    ++notices;
    return deliver;
  });
  link.WriteStatus("a");  // notice fails: the next event tries again
  link.WriteStatus("b");
  EXPECT_EQ(notices, 2);
  deliver = true;
  link.WriteStatus("c");
  link.WriteStatus("d");
  EXPECT_EQ(notices, 3);
  RecordingSink sink;
  link.Drain(sink);
  link.WriteStatus("e");
  EXPECT_EQ(notices, 4);
}

// A stalled dialog thread under a flood: each datagram comes with its "OK",
// and the queue still holds no more than the datagram bound, one clearing
// and one status.
TEST(QueuedDialogLink, IsBoundedAsAWholeDroppingOnlyDatagrams) {
  QueuedDialogLink link([] { return true; });
  for (std::size_t i = 0; i < QueuedDialogLink::kMaxQueuedDatagrams + 10; ++i) {
    Hand(link, "x");
    link.WriteStatus(i % 2 ? "OK" : "ERR: recv error! Errorcode =10040\n");
  }
  link.ClearDevices();
  EXPECT_EQ(link.droppedDatagrams(), 10u);
  RecordingSink sink;
  EXPECT_EQ(link.Drain(sink), QueuedDialogLink::kMaxQueuedDatagrams + 2);
  EXPECT_EQ(sink.calls[sink.calls.size() - 3], "clear");
  EXPECT_EQ(sink.calls[sink.calls.size() - 2], "status OK");
  Hand(link, "after");  // room again once drained
  EXPECT_EQ(link.Drain(sink), 1u);
}

// A worker thread hands over while the dialog thread drains: nothing is
// duplicated or reordered, and whatever the bound dropped is counted (run
// under the thread sanitizer).
TEST(QueuedDialogLink, HandsOverAcrossThreadsInOrder) {
  constexpr int kCount = 20000;
  std::atomic<int> notices{0};
  QueuedDialogLink link([&] {
    notices.fetch_add(1);
    return true;
  });
  std::thread worker([&] {
    for (int i = 0; i < kCount; ++i) {
      std::string bytes = std::to_string(i);
      Hand(link, bytes);
      if (i % 1000 == 0) link.WriteToolPortEdit(static_cast<unsigned>(i));
    }
    link.WriteStatus("done");
  });
  RecordingSink sink;
  bool done = false;
  while (!done) {
    link.Drain(sink);
    done = !sink.calls.empty() && sink.calls[sink.calls.size() - 2] == "status done";
    std::this_thread::yield();
  }
  worker.join();
  int received = 0, last = -1;
  for (const std::string& call : sink.calls) {
    if (call.rfind("datagram ", 0) != 0) continue;
    int value = std::stoi(call.substr(9));
    EXPECT_GT(value, last);
    last = value;
    ++received;
  }
  EXPECT_EQ(received + static_cast<int>(link.droppedDatagrams()), kCount);
  EXPECT_GE(notices.load(), 1);
}

}  // namespace
}  // namespace lumora
