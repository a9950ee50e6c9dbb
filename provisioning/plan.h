// The site plan: one row per camera, keyed by MAC, saying what the camera
// should be. Read from the CSV that `lumora scan --format csv` writes (and a
// spreadsheet saves again) or from the JSON Lines of `--format json`, and
// checked as a whole before anything is sent: every problem is collected,
// each with its line and column.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "protocol/settings.h"
#include "provisioning/mac_address.h"

namespace lumora::provisioning {

struct PlanRow {
  int line = 0;     // where the row starts in the plan text (1 = first line)
  MacAddress mac;
  // By kSettings index. An empty cell or a missing column is nullopt: the
  // camera keeps that setting. A plan file never fills the version entry,
  // nor the mac entry, which `lumora set --new-mac` alone gives.
  // Texts are as the camera should hold them (a CSV cell's guarding
  // apostrophe removed); ports as typed, already checked to be decimal.
  std::array<std::optional<std::string>, kSettingCount> values;

  std::optional<std::string>& operator[](SettingId id) { return values[SettingIndex(id)]; }
  const std::optional<std::string>& operator[](SettingId id) const { return values[SettingIndex(id)]; }
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
  PlanProblem() = default;
  PlanProblem(int at, std::string title, std::string text, std::optional<SettingId> of = std::nullopt)
      : line(at), column(std::move(title)), message(std::move(text)), setting(of) {}

  int line = 0;
  std::string column;  // "" when the problem is the row's or the file's
  std::string message;
  std::optional<SettingId> setting;  // a conflict's setting, which set names by its option
};

// "line 7, column mac: ..." ("line 7: ..." without a column).
std::string ProblemText(const PlanProblem& problem);

// Reads a plan: CSV (an optional UTF-8 byte-order mark; the separator , ;
// or tab found from the header line; CRLF or LF; quoted cells, with
// embedded separators, quotes and line breaks) or JSON Lines (when the first
// character that is not blank is '{'). Columns are kSettings' keys (mac
// required); interface, source and warnings, which scan writes, are accepted
// and ignored, as is version; any other column is a problem. Values follow
// the value rules (value_rules.h). Then across rows: two rows for one MAC. Where the
// cameras end up (two on one address, an address at the edge of its
// subnet) depends on what is sent, which MatchPlan knows. Every problem goes
// into `problems`; true when there is none (only then may `plan` be sent).
// Either way `plan` holds the rows that read without a problem, so that the
// match can still name their conflicts in the same run.
bool ReadPlan(const std::string& text, Plan& plan, std::vector<PlanProblem>& problems);

}  // namespace lumora::provisioning
