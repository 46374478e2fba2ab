#include <gtest/gtest.h>

#include "include/SharedConstants.h"

TEST(FormatTable, FilterIndexesAndTypeChoicesGiveTheirCodes) {
  EXPECT_EQ(CodeFromFilterIndex(1), sfImageList);
  EXPECT_EQ(CodeFromFilterIndex(2), sfItemComparator);
  EXPECT_EQ(CodeFromFilterIndex(3), sfProjectList);  // runs against the entry order
  EXPECT_EQ(CodeFromFilterIndex(4), sfLog);
  EXPECT_EQ(CodeFromFilterIndex(0), sfNone);
  EXPECT_EQ(CodeFromFilterIndex(5), sfNone);
  for (int Choice = 0; Choice < 4; ++Choice)
    EXPECT_EQ(CodeFromTypeChoice(Choice), CodeFromFilterIndex(Choice + 1));
}

TEST(FormatTable, NamesForWritingAndReading) {
  EXPECT_EQ(FormatName(sfImageList), "IRL");
  EXPECT_EQ(FormatName(sfItemComparator), "ITM");
  EXPECT_EQ(FormatName(sfLog), "");
  EXPECT_EQ(FormatName(sfProjectList), "");
  EXPECT_EQ(CodeFromName("IRL"), sfImageList);
  EXPECT_EQ(CodeFromName("ITM"), sfItemComparator);
  for (const char* Word : {"irl", "IRLX", "", "Itm"})
    EXPECT_EQ(CodeFromName(Word), sfUnknown) << Word;
}
