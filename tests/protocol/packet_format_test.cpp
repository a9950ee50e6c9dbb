// The bytes the program puts on the wire: templates, Append field, the search
// request.
#include "protocol/packet_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace lumora {
namespace {

std::vector<uint8_t> Written(const RequestFrame& frame, std::size_t from) {
  return std::vector<uint8_t>(frame.bytes + from, frame.bytes + frame.cursor);
}

TEST(SearchRequest, IsTheMagicElevenZeroFieldsAndZeroPadding) {
  struct Expected {
    std::size_t offset;
    uint8_t tag;
    uint8_t length;
  };
  const Expected kFields[] = {
      {5, 0x20, 16},  {23, 0x10, 6},  {31, 0x21, 16}, {49, 0x11, 4},
      {55, 0x12, 4},  {61, 0x13, 4},  {67, 0x14, 5},  {74, 0x15, 5},
      {81, 0x1F, 4},  {87, 0x22, 32}, {121, 0x23, 32},
  };
  RequestFrame frame;
  std::memset(&frame, 0xAA, sizeof frame);  // stale bytes must not survive
  BuildSearchRequest(frame);

  ASSERT_EQ(frame.cursor, 155u);
  EXPECT_EQ(0, std::memcmp(frame.bytes, "KV280", 5));
  std::vector<bool> isHeader(kRequestSize, false);
  for (int i = 0; i < 5; ++i) isHeader[i] = true;
  for (const Expected& field : kFields) {
    SCOPED_TRACE(field.offset);
    EXPECT_EQ(frame.bytes[field.offset], field.tag);
    EXPECT_EQ(frame.bytes[field.offset + 1], field.length);
    isHeader[field.offset] = isHeader[field.offset + 1] = true;
  }
  for (std::size_t i = 0; i < kRequestSize; ++i) {
    if (!isHeader[i]) {
      EXPECT_EQ(frame.bytes[i], 0) << "byte " << i;
    }
  }
}

TEST(FieldTemplates, AreTagLengthAndZeros) {
  struct Row {
    const FieldTemplate* tmpl;
    uint8_t tag;
    std::size_t size;
  };
  const Row kRows[] = {
      {&kMacTemplate, 0x10, 8},           {&kIpTemplate, 0x11, 6},
      {&kMaskTemplate, 0x12, 6},          {&kGatewayTemplate, 0x13, 6},
      {&kHttpPortTemplate, 0x14, 7},      {&kAudioPortTemplate, 0x15, 7},
      {&kIpAssignTemplate, 0x1F, 6},      {&kNameTemplate, 0x20, 18},
      {&kVersionTemplate, 0x21, 18},      {&kPppoeAccountTemplate, 0x22, 34},
      {&kPppoePasswordTemplate, 0x23, 34},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(static_cast<int>(row.tag));
    ASSERT_EQ(row.tmpl->size, row.size);
    EXPECT_EQ(row.tmpl->tag(), row.tag);
    EXPECT_EQ(row.tmpl->length(), row.size - 2);
    for (std::size_t i = 2; i < row.size; ++i) EXPECT_EQ(row.tmpl->bytes[i], 0);
  }
}

TEST(AppendField, CopiesExactlyTheLengthOfTheValueBuffer) {
  struct Row {
    const char* what;
    const FieldTemplate* tmpl;
    std::string text;  // placed in a zeroed 256-byte buffer, as the worker reads edits
    std::vector<uint8_t> expected;
  };
  const std::vector<Row> kRows = {
      {"name of 3 is padded", &kNameTemplate, "Cam",
       {0x20, 16, 'C', 'a', 'm', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"name of 20 is cut to 16", &kNameTemplate, "ABCDEFGHIJKLMNOPQRST",
       {0x20, 16, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'}},
      {"port typed as 80", &kHttpPortTemplate, "80", {0x14, 5, 0x38, 0x30, 0, 0, 0}},
      {"port of 5 digits has no terminator", &kAudioPortTemplate, "12345",
       {0x15, 5, '1', '2', '3', '4', '5'}},
      {"port 123456 is cut", &kHttpPortTemplate, "123456", {0x14, 5, '1', '2', '3', '4', '5'}},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.what);
    char temp[256] = {};
    std::memcpy(temp, row.text.data(), row.text.size());
    RequestFrame frame;
    StartRequest(frame);
    ASSERT_TRUE(AppendField(frame, *row.tmpl, temp));
    EXPECT_EQ(Written(frame, kMagicSize), row.expected);
  }
}

TEST(AppendField, WithoutValueCopiesTheTemplateAndAdvancesByItsSize) {
  RequestFrame frame;
  StartRequest(frame);
  ASSERT_TRUE(AppendField(frame, kIpTemplate));
  ASSERT_TRUE(AppendField(frame, kMacTemplate));
  EXPECT_EQ(Written(frame, kMagicSize),
            (std::vector<uint8_t>{0x11, 4, 0, 0, 0, 0, 0x10, 6, 0, 0, 0, 0, 0, 0}));
}

TEST(AppendField, RefusesAFieldThatWouldRunPastTheFrame) {
  RequestFrame frame;
  StartRequest(frame);
  int appended = 0;
  while (AppendField(frame, kPppoeAccountTemplate)) ++appended;
  EXPECT_EQ(appended, (256 - 5) / 34);
  EXPECT_LE(frame.cursor, kRequestSize);
  // A smaller field still fits behind the last whole one.
  EXPECT_TRUE(AppendField(frame, kMacTemplate));
  EXPECT_LE(frame.cursor, kRequestSize);
}

}  // namespace
}  // namespace lumora
