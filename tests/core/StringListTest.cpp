#include <gtest/gtest.h>

#include "platform/StringList.h"

TEST(SplitLines, Placeholder) { EXPECT_EQ(SplitLines("a\r\nb").size(), 2u); }
