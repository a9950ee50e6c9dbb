// The site plan reader: what spreadsheets and lumora scan write must read,
// every fault is named with its line and column, and guarded text cells come
// back as they were.
#include "provisioning/plan.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "provisioning/sheet_text.h"

namespace lumora::provisioning {
namespace {

struct Case {
  const char* what;
  std::string text;
  // A good plan: the first row's MAC and the value of one column.
  std::string mac;
  const char* key;
  std::optional<std::string> value;
  // A bad one: every problem, in order, as ProblemText words it.
  std::vector<std::string> problems = {};
  // The value's cell is the line's last and is what SheetSafe writes for it.
  bool written = false;
};

const char kLongName[] = "Seventeen-bytes-!";

const Case kCases[] = {
    // Dialects.
    {"BOM, commas, CRLF", "\xEF\xBB\xBFmac,name,ip\r\n001122334455,Cam,10.1.1.10\r\n", "001122334455", "ip",
     "10.1.1.10"},
    {"semicolons, colon MAC, quoted separator", "mac;name\n00:11:22:33:44:55;\"a;b\"\n", "001122334455", "name", "a;b"},
    {"tabs, dash MAC", "mac\tname\tip\n00-11-22-33-44-55\tCam 1\t10.1.1.9\n", "001122334455", "ip", "10.1.1.9"},
    {"doubled quote and line break in a cell", "mac,name\n001122334455,\"x\"\"y\r\nz\"\n", "001122334455", "name",
     "x\"y\r\nz"},
    {"lower-case MAC, lone CR line ends", "mac,ip\r001a2b3c4d5e,10.1.1.9\r", "001A2B3C4D5E", "ip", "10.1.1.9"},
    {"informational columns ignored, empty cell leaves the setting",
     "mac,version,ip,interface,source,warnings\n001122334455,V2.6.0,,eth0,10.1.1.2:4000,duplicate-ip\n",
     "001122334455", "ip", std::nullopt},
    {"version is never a value", "mac,version\n001122334455,V2.6.0\n", "001122334455", "version", std::nullopt},
    {"trailing rows of separators", "mac,name\n001122334455,A\n,\n,\n", "001122334455", "name", "A"},
    {"JSON Lines as scan writes them",
     "{\"mac\":\"001122334455\",\"name\":\"Cam\",\"version\":\"V1\",\"ip\":\"10.1.1.10\",\"http_port\":80,"
     "\"mode\":null,\"interface\":\"eth0\",\"warnings\":[]}\n",
     "001122334455", "http_port", "80"},
    {"JSON is exact: no apostrophe removed", "\n  {\"mac\":\"001122334455\",\"name\":\"'=1+1\"}\n", "001122334455",
     "name", "'=1+1"},
    // The apostrophe rule, read and written.
    {"formula name", "mac,name\n001122334455,'=1+1\n", "001122334455", "name", "=1+1", {}, true},
    {"leading zeros name", "mac,name\n001122334455,'0123\n", "001122334455", "name", "0123", {}, true},
    {"exponent name", "mac,name\n001122334455,'1E5\n", "001122334455", "name", "1E5", {}, true},
    {"negative number account", "mac,pppoe_account\n001122334455,'-3\n", "001122334455", "pppoe_account", "-3", {},
     true},
    {"decimal password", "mac,pppoe_password\n001122334455,'12.50\n", "001122334455", "pppoe_password", "12.50", {},
     true},
    {"apostrophe first: one more", "mac,name\n001122334455,''x\n", "001122334455", "name", "'x", {}, true},
    {"at sign, quoted for its comma", "mac,name\n001122334455,\"'@a,b\"\n", "001122334455", "name", "@a,b", {}, true},
    // As LibreOffice Calc rewrote them: a date, a time, a percentage, a date,
    // -5, 1234 and 12.
    {"fraction name", "mac,name\n001122334455,'3/4\n", "001122334455", "name", "3/4", {}, true},
    {"time name", "mac,name\n001122334455,'12:30\n", "001122334455", "name", "12:30", {}, true},
    {"percentage name", "mac,name\n001122334455,'50%\n", "001122334455", "name", "50%", {}, true},
    {"month and day name", "mac,name\n001122334455,'Jan-5\n", "001122334455", "name", "Jan-5", {}, true},
    {"accountant's negative name", "mac,name\n001122334455,'(5)\n", "001122334455", "name", "(5)", {}, true},
    {"thousands separator name", "mac,name\n001122334455,\"'1,234\"\n", "001122334455", "name", "1,234", {}, true},
    {"leading space name", "mac,name\n001122334455,' 12\n", "001122334455", "name", " 12", {}, true},
    {"plain text is written as it is", "mac,name\n001122334455,Gate 3/4 North\n", "001122334455", "name",
     "Gate 3/4 North", {}, true},
    {"an apostrophe SheetSafe would not write stays", "mac,name\n001122334455,'abc\n", "001122334455", "name", "'abc"},
    {"only text columns are unescaped", "mac,ip\n001122334455,'10.1.1.9\n", "", "", std::nullopt,
     {"line 2, column ip: ''10.1.1.9' is not four decimal numbers 0..255 without leading zeros, such as 192.168.1.10"}},
    // MACs a spreadsheet rewrote.
    {"all-digit MAC kept as text", "mac\n001122334455\n", "001122334455", "name", std::nullopt},
    {"MAC read as a number", "mac,name\n00:00:00:00:00:01,a\n1122334455,b\n", "", "", std::nullopt,
     {"line 3, column mac: 1122334455 is not a MAC; a spreadsheet may have read 001122334455 as a number (keep the "
      "mac column as text, or export with this version of lumora)"}},
    {"MAC read as a float", "mac\n1.79769313486232E+308\n", "", "", std::nullopt,
     {"line 2, column mac: 1.79769313486232E+308 is not a MAC; a spreadsheet may have read a MAC as a number (keep "
      "the mac column as text, or export with this version of lumora)"}},
    {"mixed separators, short, empty MAC", "mac,name\n00:11-22:33:44:55\n0011223344\n,x\n", "", "", std::nullopt,
     {"line 2, column mac: '00:11-22:33:44:55' is not a MAC (12 hexadecimal digits, with : or - between the pairs or "
      "without)",
      "line 3, column mac: 0011223344 is not a MAC; a spreadsheet may have read 000011223344 as a number (keep the mac "
      "column as text, or export with this version of lumora)",
      "line 4, column mac: is empty: every row needs the MAC of its camera"}},
    // Invalid values, every one collected.
    {"values by set's rules",
     "mac,ip,mask,http_port,audio_port,mode,name,pppoe_password\n"
     "001122334455,10.1.1.010,255.0.255.0,080,65536,auto," +
         std::string(kLongName) + ",secret-longer-than-thirty-two-bytes\n",
     "", "", std::nullopt,
     {"line 2, column name: 'Seventeen-bytes-!' is longer than the camera keeps (16 bytes)",
      "line 2, column ip: '10.1.1.010' is not four decimal numbers 0..255 without leading zeros, such as 192.168.1.10",
      "line 2, column mask: '255.0.255.0' is not a subnet mask (its one bits do not run unbroken from the left)",
      "line 2, column http_port: '080' is not a decimal port from 1 to 65535 without leading zeros",
      "line 2, column audio_port: '65536' is not a decimal port from 1 to 65535 without leading zeros",
      "line 2, column mode: 'auto' is none of static, dhcp, pppoe",
      "line 2, column pppoe_password: the value is longer than the camera keeps (32 bytes)"}},
    {"a port of 0, as scan writes it for a camera that did not say it", "mac,http_port\n001122334455,0\n",
     "001122334455", "http_port", "0"},
    {"hex port", "mac,http_port\n001122334455,0x50\n", "", "", std::nullopt,
     {"line 2, column http_port: '0x50' is not a decimal port from 1 to 65535 without leading zeros"}},
    {"unknown and repeated columns", "mac,colour,name,name\n001122334455,red,a,b\n", "", "", std::nullopt,
     {"line 1, column colour: is not a plan column (mac, name, ip, mask, gateway, http_port, audio_port, mode, "
      "pppoe_account, pppoe_password; version, interface, source and warnings are read and ignored)",
      "line 1, column name: is in the header twice"}},
    {"no mac column", "name,ip\nCam,10.1.1.9\n", "", "", std::nullopt,
     {"line 1: the header has no mac column (it names the camera of each row)"}},
    {"more cells than columns", "mac,name\n001122334455,a,b\n", "", "", std::nullopt,
     {"line 2: has more cells than the header has columns"}},
    {"a header of 100,000 separators", "mac" + std::string(100000, ',') + "\n001122334455\n", "", "", std::nullopt,
     {"line 1: the header has more than 256 columns (a plan has at most 256)"}},
    {"a row of 100,000 separators", "mac,name\n001122334455,a\n001122334466" + std::string(100000, ',') + "\n", "",
     "", std::nullopt, {"line 3: has more than 256 cells (a plan has at most 256 columns)"}},
    {"a JSON plan of 65,537 rows", [] {
       std::string text;
       for (int i = 0; i < 65537; ++i) text += "{}\n";
       return text;
     }(), "", "", std::nullopt, {"line 65537: the plan has more than 65536 rows (lumora lists at most 65536 cameras)"}},
    {"quote left open", "mac,name\n001122334455,\"open\n", "", "", std::nullopt,
     {"line 2: a quoted cell is not closed before the end of the plan"}},
    {"empty plan", "", "", "", std::nullopt, {"line 1: the plan has no header line"}},
    {"JSON faults", "{\"mac\":\"001122334455\",\"ip\":true,\"colour\":1}\n{broken\n", "", "", std::nullopt,
     {"line 1, column colour: is not a plan column (mac, name, ip, mask, gateway, http_port, audio_port, mode, "
      "pppoe_account, pppoe_password; version, interface, source and warnings are read and ignored)",
      "line 1, column ip: holds a JSON boolean, not a text or a whole number",
      "line 2: is not a JSON object, as lumora scan --format json writes one a line"}},
    // Across rows; a line break inside a quoted cell still counts as a line.
    {"one MAC twice, in two notations", "mac,name\n001122334455,\"a\nb\"\n00:11:22:33:44:55,b\n", "", "",
     std::nullopt, {"line 4, column mac: 001122334455 is also on line 2"}},
};

TEST(ReadPlan, ReadsWhatSpreadsheetsAndScanWriteAndNamesEveryFault) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    Plan plan;
    std::vector<PlanProblem> problems;
    bool ok = ReadPlan(c.text, plan, problems);
    std::vector<std::string> texts;
    for (const PlanProblem& problem : problems) texts.push_back(ProblemText(problem));
    EXPECT_EQ(texts, c.problems);
    EXPECT_EQ(ok, c.problems.empty());
    if (!c.problems.empty()) continue;
    ASSERT_FALSE(plan.rows.empty());
    EXPECT_EQ(MacDigits(plan.rows[0].mac), c.mac);
    EXPECT_EQ(plan.rows[0].values[SettingIndex(FindSetting(c.key)->id)], c.value);
    if (c.written) {
      std::string cell = CsvQuoted(SheetSafe(*c.value));
      EXPECT_EQ(c.text.substr(c.text.size() - cell.size() - 1), cell + "\n");
      EXPECT_EQ(SheetUnescape(SheetSafe(*c.value)), *c.value);
    }
  }
}

}  // namespace
}  // namespace lumora::provisioning
