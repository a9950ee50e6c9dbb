// The one CSV line writer of every CSV lumora prints (scan, plan, apply's
// report), so that all of them quote alike and none carries a control
// character. Cells a spreadsheet would rewrite are the callers' to guard
// first (provisioning's SheetSafe, ColonMac): only they know the column.
#pragma once

#include <string>
#include <vector>

namespace lumora::cli {

// The cells joined by commas, each with its controls shown as "?" (line
// feeds kept, inside quotes) and quoted where RFC 4180 needs it. No newline.
std::string CsvLine(const std::vector<std::string>& cells);

}  // namespace lumora::cli
