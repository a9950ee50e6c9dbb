// The end of lumora's own --help.
#include "tools/lumora/help_text.h"

namespace lumora::cli {

const char kMainFooter[] = R"(
Run "lumora COMMAND --help" for a command's options and examples.)";

}  // namespace lumora::cli
