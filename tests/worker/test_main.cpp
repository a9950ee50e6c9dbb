// Test entry for executables that open sockets: the socket library is
// started once for the whole run, as a program would.
#include <gtest/gtest.h>

#include "net/net_socket.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (lumora::net::Startup() != 0) return 1;
  int result = RUN_ALL_TESTS();
  lumora::net::Cleanup();
  return result;
}
