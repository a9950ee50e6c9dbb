// MAC text both ways, and the text comparison that decides what a
// configuration request carries.
#include "protocol/mac_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace lumora {
namespace {

TEST(MacToText, IsTwelveUpperCaseDigitsFirstByteFirst) {
  const uint8_t kMac[] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  const uint8_t kAllOnes[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_STREQ(MacToText(kMac).text, "001A2B3C4D5E");
  // The cleared panel's caption is lower case, so no MAC text ever equals it.
  EXPECT_STREQ(MacToText(kAllOnes).text, "FFFFFFFFFFFF");
  EXPECT_TRUE(TextsDiffer(MacToText(kAllOnes).text, "ffffffffffff"));
}

TEST(MacToText, EachCallReturnsItsOwnText) {
  const uint8_t kFirst[] = {1, 2, 3, 4, 5, 6};
  const uint8_t kSecond[] = {0xA, 0xB, 0xC, 0xD, 0xE, 0xF};
  MacText first = MacToText(kFirst);
  MacText second = MacToText(kSecond);
  EXPECT_STREQ(first.text, "010203040506");
  EXPECT_STREQ(second.text, "0A0B0C0D0E0F");
}

TEST(TextToMac, DigitArithmetic) {
  struct Row {
    const char* text;
    std::vector<uint8_t> bytes;
  };
  const Row kRows[] = {
      {"00A1b2C3d4E5", {0x00, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5}},
      {"001a2b3c4d5e", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}},
      {"FFFFFFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"00:1A:2B:3C:", {0x00, 0xA1, 0xAA, 0x2B, 0xA3, 0xCA}},  // ':' counts as 10
      {"G00G000000gg", {0x00, 0x10, 0x00, 0x00, 0x00, 0x10}},  // G/g give 16
      {"  0000000000", {0xF0, 0x00, 0x00, 0x00, 0x00, 0x00}},  // blank gives 0xF0
      {"\x80\x80" "0000000000", {0xB9, 0x00, 0x00, 0x00, 0x00, 0x00}},  // 0x80 gives 0x29
      {"001A2B3C4D5E-and-more", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}},  // only 12 are read
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.text);
    MacBytes mac = TextToMac(row.text);
    EXPECT_EQ(std::vector<uint8_t>(mac.bytes, mac.bytes + 6), row.bytes);
  }
}

TEST(TextToMac, RoundTripsEveryMacText) {
  for (int b = 0; b < 256; ++b) {
    const uint8_t mac[] = {static_cast<uint8_t>(b), static_cast<uint8_t>(255 - b), 0, 0x7F, 0x80, 1};
    MacBytes back = TextToMac(MacToText(mac).text);
    EXPECT_EQ(0, memcmp(back.bytes, mac, 6)) << b;
  }
}

TEST(TextsDiffer, ExactBytesOnly) {
  struct Row {
    const char* a;
    const char* b;
    bool differ;
  };
  const Row kRows[] = {
      {"abc", "abc", false}, {"abc", "abd", true},  {"abc", "ABC", true},
      {"abc", "abcd", true}, {"abcd", "abc", true}, {"", "", false},
      {"", "a", true},       {"a ", "a", true},     {nullptr, "abc", false},
      {"abc", nullptr, false}, {nullptr, nullptr, false},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(std::string(row.a ? row.a : "(null)") + " / " + (row.b ? row.b : "(null)"));
    EXPECT_EQ(TextsDiffer(row.a, row.b), row.differ);
  }
}

}  // namespace
}  // namespace lumora
