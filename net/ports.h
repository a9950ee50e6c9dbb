// The UDP ports both fronts use, and the receive buffer they ask for.
#pragma once

#include <cstdint>

namespace lumora {

inline constexpr uint16_t kLocalPort = 3566;       // where replies arrive
inline constexpr unsigned kDefaultToolPort = 4000;  // where requests go
// A burst of replies must fit between two reads: the default buffer (about
// 208 KiB on Linux) lost 1 of 1000 back-to-back replies, 1 MiB none.
inline constexpr int kReceiveBufferRequest = 1 << 20;

}  // namespace lumora
