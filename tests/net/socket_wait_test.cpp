// Windows only: the socket wait after a read with the arrival adapter
// (WSARecvMsg, not among the calls that re-enable FD_READ), on a loopback
// pair: the next datagram must still signal the event.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "net/net_interfaces.h"
#include "net/net_socket.h"

namespace lumora {
namespace {

TEST(SocketWait, AfterAReadWithTheArrivalAdapterTheNextDatagramSignalsTheEvent) {
  using Clock = std::chrono::steady_clock;
  auto msSince = [](Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); };
  const uint8_t loopback[4] = {127, 0, 0, 1};
  net::Address to{0, 45660};
  std::memcpy(&to.ip, loopback, 4);
  net::Socket receiver = net::OpenUdp(), sender = net::OpenUdp();
  net::ReadWatch watch;
  net::WakeSignal wake;
  ASSERT_TRUE(net::Bind(receiver, to.port) && net::EnableArrivalAdapter(receiver));
  ASSERT_TRUE(net::WatchReadable(receiver, watch) && net::OpenWake(wake));
  uint8_t buffer[64] = {};
  net::Address from{};
  uint32_t adapter = 0;

  ASSERT_EQ(net::SendTo(sender, buffer, 5, to), 5);
  net::Wait(watch, wake, 5000);
  ASSERT_EQ(net::RecvFromAdapter(receiver, buffer, sizeof buffer, from, adapter), 5);
  Clock::time_point start = Clock::now();
  net::Wait(watch, wake, 100);
  EXPECT_GE(msSince(start), 90.0) << "the wait ended with nothing to read";

  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    net::SendTo(sender, buffer, 6, to);
  });
  // An event that never fires holds the wait for all of its 30 s; a busy
  // machine delays one that does by far less than the 10 s allowed.
  start = Clock::now();
  net::Wait(watch, wake, 30000);
  EXPECT_LT(msSince(start), 10000.0) << "the second datagram did not signal the event";
  later.join();
  EXPECT_EQ(net::RecvFromAdapter(receiver, buffer, sizeof buffer, from, adapter), 6);
  net::CloseWatch(watch);
  net::CloseWake(wake);
  net::Close(receiver);
  net::Close(sender);
}

}  // namespace
}  // namespace lumora
