// The checks lumora's options share. CLI11 reads integers with strtoll's
// base 0 ("010" is 8) and doubles with strtold ("nan" passes a range check),
// so each number is checked as decimal text first; what passes reads the same
// either way. The ranges are said in the options' descriptions.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace lumora::cli {

CLI::Validator WholeNumber(long long min, long long max);
CLI::Validator DecimalSeconds(double min, double max);
// Four decimal numbers 0..255 without leading zeros.
CLI::Validator Address();
// One of `names`, without CLI11's own list in the help.
CLI::Validator OneOf(std::vector<std::string> names);

}  // namespace lumora::cli
