// The range assignment.
#include "provisioning/assign.h"

#include <gtest/gtest.h>
