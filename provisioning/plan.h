// The site plan: one row per camera, keyed by MAC, saying what the camera
// should be. Read from the CSV that `lumora scan --format csv` writes (and a
// spreadsheet saves again) or from the JSON Lines of `--format json`, and
// checked as a whole before anything is sent: every problem is collected,
// each with its line and column.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "protocol/settings.h"

namespace lumora::provisioning {

struct PlanRow {
  int line = 0;     // where the row starts in the plan text (1 = first line)
  std::string mac;  // 12 upper-case hexadecimal digits
  // By kSettings index. An empty cell or a missing column is nullopt: the
  // camera keeps that setting. A plan file never fills the version entry,
  // nor the mac entry, which `lumora set --new-mac` alone gives.
  // Texts are as the camera should hold them (a CSV cell's guarding
  // apostrophe removed); ports as typed, already checked to be decimal.
  std::array<std::optional<std::string>, kSettingCount> values;
};

// What the plan was read from, which says how its texts stand for a
// camera's bytes: a CSV cell as lumora writes it (controls shown as "?"),
// JSON exactly.
enum class PlanDialect { kCsv, kJsonLines };

struct Plan {
  std::vector<PlanRow> rows;
  PlanDialect dialect = PlanDialect::kCsv;
};

struct PlanProblem {
  int line = 0;
  std::string column;  // "" when the problem is the row's or the file's
  std::string message;
};

// "line 7, column mac: ..." ("line 7: ..." without a column).
std::string ProblemText(const PlanProblem& problem);

// Reads a plan: CSV (an optional UTF-8 byte-order mark; the separator , ;
// or tab found from the header line; CRLF or LF; quoted cells, with
// embedded separators, quotes and line breaks) or JSON Lines (when the first
// character that is not blank is '{'). Columns are kSettings' keys (mac
// required); interface, source and warnings, which scan writes, are accepted
// and ignored, as is version; any other column is a problem. Values follow
// `lumora set`'s rules. Then across rows: two rows for one MAC. Where the
// cameras end up (two on one address, an address at the edge of its
// subnet) depends on what is sent, which MatchPlan knows. Every problem goes
// into `problems`; true when there is none (only then is `plan` to be used).
bool ReadPlan(const std::string& text, Plan& plan, std::vector<PlanProblem>& problems);

// The 12 upper-case digits of a MAC cell written with ':' or '-' between
// the pairs, or with neither, in either case; nullopt otherwise, with
// `message` saying why (the wording for a MAC a spreadsheet turned into a
// number included).
std::optional<std::string> ReadMacCell(const std::string& cell, std::string& message);

// "" when `value` is good for setting `setting` (a kSettings index) by set's
// rules, else the message (a secret's value is never repeated in it). A port
// of 0 reads too: scan writes it for a camera that did not say its port,
// and a scan's own output is a plan. MatchPlan never sends it.
std::string ValueProblem(std::size_t setting, const std::string& value);

// The kSettings index of the setting with this key (a column's title).
std::size_t SettingIndexOf(const char* key);

}  // namespace lumora::provisioning
