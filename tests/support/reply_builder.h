// Builds camera replies byte by byte for tests, independently of any encoder
// the program or the simulator has, so that a shared mistake cannot hide.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace lumora::test {

class ReplyBuilder {
 public:
  ReplyBuilder() { bytes_ = {'K', 'V', '2', '8', '0'}; }

  static ReplyBuilder WithoutMagic() {
    ReplyBuilder b;
    b.bytes_.clear();
    return b;
  }

  // A field whose length byte is the value's size.
  ReplyBuilder& Field(uint8_t tag, const std::vector<uint8_t>& value) {
    return FieldWithLength(tag, static_cast<uint8_t>(value.size()), value);
  }

  // A field whose length byte may disagree with the value bytes that follow.
  ReplyBuilder& FieldWithLength(uint8_t tag, uint8_t lengthByte, const std::vector<uint8_t>& value) {
    bytes_.push_back(tag);
    bytes_.push_back(lengthByte);
    bytes_.insert(bytes_.end(), value.begin(), value.end());
    return *this;
  }

  ReplyBuilder& Raw(std::initializer_list<uint8_t> raw) {
    bytes_.insert(bytes_.end(), raw.begin(), raw.end());
    return *this;
  }

  ReplyBuilder& Mac(std::initializer_list<uint8_t> mac) { return Field(0x10, mac); }
  ReplyBuilder& Ip(uint8_t tag, uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return Field(tag, {a, b, c, d});
  }
  ReplyBuilder& Port(uint8_t tag, uint16_t port) {
    return Field(tag, {static_cast<uint8_t>(port & 0xFF), static_cast<uint8_t>(port >> 8)});
  }
  // A text in a field of `width` bytes, zero-padded or cut.
  ReplyBuilder& Text(uint8_t tag, const std::string& text, std::size_t width) {
    std::vector<uint8_t> value(width, 0);
    for (std::size_t i = 0; i < text.size() && i < width; ++i) value[i] = static_cast<uint8_t>(text[i]);
    return Field(tag, value);
  }
  ReplyBuilder& Name(const std::string& name) { return Text(0x20, name, 16); }

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  int size() const { return static_cast<int>(bytes_.size()); }

 private:
  std::vector<uint8_t> bytes_;
};

// Every setting a camera's reply carries; a test sets the ones it is about.
struct CameraFields {
  std::vector<uint8_t> mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  std::string name = "Cam";
  std::string version = "V2.6.0";
  std::vector<uint8_t> ip = {192, 168, 1, 10};
  std::vector<uint8_t> mask = {255, 255, 255, 0};
  std::vector<uint8_t> gateway = {192, 168, 1, 1};
  uint16_t httpPort = 80;
  uint16_t audioPort = 8000;
  std::vector<uint8_t> ipAssign = {0xFF, 0xFF, 0xFF, 0xFF};  // static
  std::string pppoeAccount;
  std::string pppoePassword;
};

// A full reply, every field in the order a camera sends them.
inline ReplyBuilder FullReply(const CameraFields& f) {
  ReplyBuilder b;
  b.Field(0x10, f.mac)
      .Name(f.name)
      .Text(0x21, f.version, 16)
      .Field(0x11, f.ip)
      .Field(0x12, f.mask)
      .Field(0x13, f.gateway)
      .Port(0x14, f.httpPort)
      .Port(0x15, f.audioPort)
      .Field(0x1F, f.ipAssign)
      .Text(0x22, f.pppoeAccount, 32)
      .Text(0x23, f.pppoePassword, 32);
  return b;
}

// A full reply of one camera; `id` makes its MAC and IP address its own.
inline ReplyBuilder CameraReply(uint16_t id, const std::string& name) {
  const uint8_t high = static_cast<uint8_t>(0x4D + (id >> 8)), low = static_cast<uint8_t>(id & 0xFF);
  CameraFields f;
  f.mac = {0x00, 0x1A, 0x2B, 0x3C, high, low};
  f.name = name;
  f.ip = {192, 168, high, low};
  return FullReply(f);
}

}  // namespace lumora::test
