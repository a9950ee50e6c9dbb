// Turns one received datagram into a DeviceRecord and stores it in the table.
#pragma once

#include <cstdint>

#include "protocol/device_record.h"

namespace lumora {

inline constexpr int kNoSlot = -1;

// Decodes a camera reply into the table of `state`. Returns the index of the
// slot written (so the caller can list it), or kNoSlot when the datagram is
// not a reply or the table is full and the camera is new.
//
// Reading rules where the wire leaves room:
//  - a datagram shorter than the five magic bytes is not a reply;
//  - the length byte is an unsigned count 0..255, so the walk always moves on;
//  - a field whose length byte was not received ends the walk;
//  - a known field is read at its own width whatever its length byte says,
//    and any of those bytes that lie beyond the received data read as zero.
int DecodeReply(SearchState* state, const uint8_t* data, int length);

}  // namespace lumora
