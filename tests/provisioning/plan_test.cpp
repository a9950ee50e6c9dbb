// The site plan reader.
#include "provisioning/plan.h"

#include <gtest/gtest.h>
