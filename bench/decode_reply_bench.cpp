// DecodeReply cost per reply: on an empty table, for the last camera of a full
// table (the longest scan), and for a new camera that a full table drops.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "protocol/decode_reply.h"
#include "protocol/packet_format.h"
#include "tests/support/reply_builder.h"

namespace {

using lumora::test::ReplyBuilder;

std::vector<uint8_t> ReplyFor(int camera) {
  ReplyBuilder b;
  b.Mac({0x02, 0, 0, 0, static_cast<uint8_t>(camera >> 8), static_cast<uint8_t>(camera)})
      .Name("Bench")
      .Text(0x21, "V2.6.0", 16)
      .Ip(0x11, 10, 0, 0, static_cast<uint8_t>(camera))
      .Ip(0x12, 255, 255, 255, 0)
      .Ip(0x13, 10, 0, 0, 1)
      .Port(0x14, 80)
      .Port(0x15, 8000)
      .Field(0x1F, {0xFF, 0xFF, 0xFF, 0xFF})
      .Text(0x22, "account", 32)
      .Text(0x23, "password", 32);
  return b.bytes();
}

std::unique_ptr<lumora::SearchState> FullTable() {
  auto state = std::make_unique<lumora::SearchState>();
  for (int i = 0; i < lumora::kTableSlots; ++i) {
    std::vector<uint8_t> reply = ReplyFor(i);
    lumora::DecodeReply(state.get(), reply.data(), static_cast<int>(reply.size()));
  }
  return state;
}

void BM_FirstReplyOnEmptyTable(benchmark::State& s) {
  auto state = std::make_unique<lumora::SearchState>();
  std::vector<uint8_t> reply = ReplyFor(1);
  for (auto _ : s) {
    benchmark::DoNotOptimize(lumora::DecodeReply(state.get(), reply.data(), static_cast<int>(reply.size())));
  }
}
BENCHMARK(BM_FirstReplyOnEmptyTable);

void BM_KnownCameraInSlot0OfFullTable(benchmark::State& s) {
  auto state = FullTable();
  std::vector<uint8_t> reply = ReplyFor(lumora::kTableSlots - 1);  // stored last, in slot 0
  for (auto _ : s) {
    benchmark::DoNotOptimize(lumora::DecodeReply(state.get(), reply.data(), static_cast<int>(reply.size())));
  }
}
BENCHMARK(BM_KnownCameraInSlot0OfFullTable);

void BM_NewCameraDroppedByFullTable(benchmark::State& s) {
  auto state = FullTable();
  std::vector<uint8_t> reply = ReplyFor(999);
  for (auto _ : s) {
    benchmark::DoNotOptimize(lumora::DecodeReply(state.get(), reply.data(), static_cast<int>(reply.size())));
  }
}
BENCHMARK(BM_NewCameraDroppedByFullTable);

void BM_BuildSearchRequest(benchmark::State& s) {
  lumora::RequestFrame frame;
  for (auto _ : s) {
    lumora::BuildSearchRequest(frame);
    benchmark::DoNotOptimize(frame.bytes[0]);
  }
}
BENCHMARK(BM_BuildSearchRequest);

}  // namespace

BENCHMARK_MAIN();
