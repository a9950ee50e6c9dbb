// DecodeReply cost per reply: on an empty table, for the last camera of a full
// table (the longest scan), and for a new camera that a full table drops.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "protocol/decode_reply.h"
#include "protocol/packet_format.h"
#include "tests/support/reply_builder.h"

namespace {

std::vector<uint8_t> ReplyFor(int camera) {
  return lumora::test::CameraReply(static_cast<uint16_t>(camera), "Bench").bytes();
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
