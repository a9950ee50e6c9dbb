// The checks lumora's options share. Each number is checked as decimal text
// (protocol/decimal_text.h) before CLI11 reads it, so what passes reads the
// same either way. The ranges are said in the options' descriptions.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/settings.h"

namespace lumora::cli {

CLI::Validator WholeNumber(uint64_t min, uint64_t max);
CLI::Validator DecimalSeconds(double min, double max);
// A value of `setting` typed to be sent, by provisioning's value rules.
CLI::Validator Value(SettingId setting);
// One of `names`, without CLI11's own list in the help.
CLI::Validator OneOf(std::vector<std::string> names);

}  // namespace lumora::cli
