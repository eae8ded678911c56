#include "../../ordavin/app/PlatformGate.h"

#include <gtest/gtest.h>

TEST(PlatformGate, Placeholder) { EXPECT_TRUE(true); }
