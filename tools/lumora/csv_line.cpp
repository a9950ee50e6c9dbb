// CSV lines.
#include "tools/lumora/csv_line.h"

#include "provisioning/sheet_text.h"
#include "tools/lumora/camera_text.h"

namespace lumora::cli {

std::string CsvLine(const std::vector<std::string>& cells) {
  std::string out;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i != 0) out += ',';
    out += provisioning::CsvQuoted(Utf8ControlsReplaced(cells[i], true));
  }
  return out;
}

}  // namespace lumora::cli
