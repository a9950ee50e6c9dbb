// Fixed-width fields as text.
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

}  // namespace
}  // namespace lumora
