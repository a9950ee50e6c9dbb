// The footer of lumora's own --help (each command keeps its own beside its
// options); the man pages are written from the same text.
#pragma once

namespace lumora::cli {

extern const char kMainFooter[];

}  // namespace lumora::cli
