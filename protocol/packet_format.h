// The one datagram layout shared by search requests, configuration requests
// and camera replies, and the operation that builds requests field by field.
//
//   offset 0          5
//          +---------+-------+-------+-----------------+-------+----
//          | "KV280" | tag   | len   | value (len)     | tag   | ...
//          +---------+-------+-------+-----------------+-------+----
//                      1 byte  1 byte  len bytes
//
// A tag byte of 0 ends the fields for a reader. Requests are always sent as a
// whole 256-byte frame, zero after the last field.
//
//   tag   len  setting          request value               reply value
//   0x10   6   MAC address      6 raw bytes                  6 raw bytes
//   0x11   4   IP address       4 bytes, network order       4 bytes, network order
//   0x12   4   subnet mask      as 0x11                      as 0x11
//   0x13   4   gateway          as 0x11                      as 0x11
//   0x14   5   HTTP port        decimal text, zero-padded    u16, low byte first
//   0x15   5   audio port       as 0x14                      as 0x14
//   0x1F   4   IP assignment    4 flag bytes (01 or FF)      4 raw flag bytes
//   0x20  16   device name      text, zero-padded            16 bytes of text
//   0x21  16   version text     never sent with a value      16 bytes of text
//   0x22  32   PPPoE account    text, zero-padded            32 bytes of text
//   0x23  32   PPPoE password   text, zero-padded            32 bytes of text
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora {

inline constexpr std::size_t kMagicSize = 5;
inline constexpr uint8_t kMagic[kMagicSize] = {'K', 'V', '2', '8', '0'};

inline constexpr std::size_t kRequestSize = 256;   // every request, whatever its content
inline constexpr std::size_t kReceiveSize = 3000;  // the largest reply taken

enum FieldTag : uint8_t {
  kTagEnd = 0x00,
  kTagMac = 0x10,
  kTagIp = 0x11,
  kTagMask = 0x12,
  kTagGateway = 0x13,
  kTagHttpPort = 0x14,
  kTagAudioPort = 0x15,
  kTagIpAssign = 0x1F,
  kTagName = 0x20,
  kTagVersion = 0x21,
  kTagPppoeAccount = 0x22,
  kTagPppoePassword = 0x23,
};

// A field template is the constant byte string a request field is built from:
// the tag, the length byte, then `length` zero bytes.
struct FieldTemplate {
  const uint8_t* bytes;
  std::size_t size;  // 2 + length

  uint8_t tag() const { return bytes[0]; }
  uint8_t length() const { return bytes[1]; }
};

extern const FieldTemplate kMacTemplate;           // 8 bytes
extern const FieldTemplate kIpTemplate;            // 6
extern const FieldTemplate kMaskTemplate;          // 6
extern const FieldTemplate kGatewayTemplate;       // 6
extern const FieldTemplate kHttpPortTemplate;      // 7
extern const FieldTemplate kAudioPortTemplate;     // 7
extern const FieldTemplate kIpAssignTemplate;      // 6
extern const FieldTemplate kNameTemplate;          // 18
extern const FieldTemplate kVersionTemplate;       // 18
extern const FieldTemplate kPppoeAccountTemplate;  // 34
extern const FieldTemplate kPppoePasswordTemplate; // 34

// A request under construction: the zeroed frame and the write cursor.
struct RequestFrame {
  uint8_t bytes[kRequestSize];
  std::size_t cursor;
};

// Zeroes the whole frame and writes the magic at offset 0.
void StartRequest(RequestFrame& frame);

// Appends one field at the cursor. Without a value the whole template is
// copied; with one, the tag and length byte are copied and then exactly
// `length` bytes of `value`, however long the text in it is. The caller's
// value buffer must hold at least `length` bytes. Returns false, writing
// nothing, when the field would not fit in the frame.
bool AppendField(RequestFrame& frame, const FieldTemplate& tmpl, const void* value = nullptr);

// The search request: the magic and the eleven zero-valued fields that name
// every setting the program can show.
void BuildSearchRequest(RequestFrame& frame);

}  // namespace lumora
