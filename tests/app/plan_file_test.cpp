// A plan file as the dialog reads it: UTF-8 with or without a byte-order
// mark or the ANSI code page, any of the plan's separators and line ends,
// then read by the plan reader; and the files no plan can be, each named.
#include "ui/plan_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "provisioning/plan.h"

namespace lumora {
namespace {

struct Case {
  const char* what;
  std::string bytes;
  std::string name;     // the first row's name, in Windows-1252, when the file reads
  std::string problem;  // else what the summary says
};

const std::string kTooLarge = "mac,name\r\n" + std::string(kMostPlanBytes, 'x');

const Case kCases[] = {
    {"UTF-8 with BOM, commas, CRLF", "\xEF\xBB\xBFmac,name\r\n001122334455,Caf\xC3\xA9\r\n", "Caf\xE9", ""},
    {"UTF-8 without BOM, semicolons, LF", "mac;name\n001122334455;Caf\xC3\xA9\n", "Caf\xE9", ""},
    {"Excel's plain CSV: Windows-1252, tabs", "mac\tname\r\n001122334455\tCaf\xE9\r\n", "Caf\xE9", ""},
    {"a BOM, then bytes that are no UTF-8: the ANSI code page", "\xEF\xBB\xBFmac,name\n001122334455,\xC9t\xE9\n",
     "\xC9t\xE9", ""},
    {"too large", kTooLarge, "", "the file holds 16 MB, more than any plan"},
    {"a NUL", std::string("mac,name\n001122334455,A") + '\0' + "B\n", "",
     "line 2: the file holds a NUL character; no plan holds one"},
    // Windows-1252 would write "Ł" as its best fit "L", a name nobody typed.
    {"best fit refused", "mac,name\n001122334455,\xC5\x81odz\n", "",
     "line 2, column 14: the character U+0141 is not in this system's code page 1252"},
    {"no fit, named whole though two UTF-16 units", "mac,name\n001122334455,\xF0\x9F\x93\xB7\n", "",
     "line 2, column 14: the character U+1F4F7 is not in this system's code page 1252"},
};

TEST(PlanFile, ReadsAsLumoraApplyReadsAndNamesWhatNoPlanHolds) {
  if (GetACP() != 1252) GTEST_SKIP() << "the rows are written for Windows-1252, this system has " << GetACP();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    std::string text, problem;
    const bool read = PlanTextOfFile(c.bytes, text, problem);
    EXPECT_EQ(problem, c.problem);
    ASSERT_EQ(read, c.problem.empty());
    if (!read) continue;
    provisioning::Plan plan;
    std::vector<provisioning::PlanProblem> problems;
    ASSERT_TRUE(provisioning::ReadPlan(text, plan, problems)) << text;
    ASSERT_EQ(plan.rows.size(), 1u);
    EXPECT_EQ(plan.rows[0][SettingId::kName], c.name);
  }
}

}  // namespace
}  // namespace lumora
