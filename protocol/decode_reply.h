// Turns one received datagram into a DeviceRecord (the parse) and puts it in
// the table (the store). The dialog does both at once; lumora keeps its own
// list and uses the parse alone, so both read a reply the same way.
#pragma once

#include <bitset>
#include <cstdint>

#include "protocol/device_record.h"

namespace lumora {

inline constexpr int kNoSlot = -1;

// The tags a reply carried: each one the walk reached with its length byte
// received, so its value was read (zero-padded where the datagram ended).
struct CarriedTags {
  std::bitset<256> tags;
  bool Has(uint8_t tag) const { return tags.test(tag); }
};

// Reads a camera reply into `record` (number 0) and `carried`, by the rules
// below. False, leaving both untouched, when the datagram is not a reply.
bool ParseReply(const uint8_t* data, int length, DeviceRecord& record, CarriedTags& carried);

// Puts `record` in the slot that holds its MAC, else in the free slot with
// the highest index, and numbers it. Returns the slot, or kNoSlot when the
// table is full and the MAC is new.
int StoreReply(SearchState* state, const DeviceRecord& record);

// ParseReply then StoreReply: decodes a camera reply into the table of `state`. Returns the index of the
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
