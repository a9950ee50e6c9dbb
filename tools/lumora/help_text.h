// The footers of lumora's --help, one per command and one for lumora itself;
// the man pages are written from the same text.
#pragma once

namespace lumora::cli {

extern const char kScanFooter[];
extern const char kSetFooter[];
extern const char kOpenFooter[];
extern const char kMainFooter[];

}  // namespace lumora::cli
