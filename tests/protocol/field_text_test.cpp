// Fixed-width fields as text, and addresses as dotted text.
#include "protocol/field_text.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(FieldText, StopsAtTheFirstNulOrAtTheWidth) {
  struct Record {
    char name[16];
    char next[4];
  };
  Record full = {{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'},
                 {'X', 'Y', 'Z', 0}};
  EXPECT_EQ(FieldText(full.name), "ABCDEFGHIJKLMNOP");  // never runs on into `next`
  Record shorter = {{'C', 'a', 'm', 0, 'j', 'u', 'n', 'k'}, {}};
  EXPECT_EQ(FieldText(shorter.name), "Cam");
  Record empty = {};
  EXPECT_EQ(FieldText(empty.name), "");
}

TEST(FormatDottedQuad, WritesLikeInetNtoa) {
  struct Row {
    uint8_t bytes[4];
    const char* text;
  };
  const Row kRows[] = {
      {{0xC0, 0xA8, 0x01, 0x0A}, "192.168.1.10"},
      {{255, 255, 255, 255}, "255.255.255.255"},
      {{0, 0, 0, 0}, "0.0.0.0"},
      {{10, 0, 0, 1}, "10.0.0.1"},
  };
  for (const Row& row : kRows) {
    char out[kDottedTextSize];
    FormatDottedQuad(row.bytes, out);
    EXPECT_STREQ(out, row.text);
  }
}

}  // namespace
}  // namespace lumora
