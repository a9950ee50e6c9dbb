// The refusal to run in the machine's own network namespace, where a tool's
// broadcasts would reach a network that is not the lab's.
#pragma once

#include <string>

namespace lumora::tools {

// True when this process's network namespace is provably not the machine's
// own. False, with `why` set, when it is the same or cannot be told. A
// release build (LUMORA_LAB_GUARD off) has no guard: always true there.
bool InLabNamespace(std::string& why);

}  // namespace lumora::tools
