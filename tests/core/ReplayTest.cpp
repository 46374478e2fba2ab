#include <gtest/gtest.h>

#include "app/core/Replay.h"
#include "platform/Errors.h"
#include "tests/core/TestSupport.h"

namespace {
struct TReplayFixture {
  TTempDir Dir;
  TRecordingView View;
  TRunContext Run{View};

  std::string Log(const std::string& Text) {
    WriteFile(Dir.Path("test.log"), Text);
    return Dir.Path("test.log");
  }
};

TEST(FirstWord, SkipsLeadingBlanksAndStopsAtWhiteSpace) {
  std::size_t Start = 99;
  EXPECT_EQ(FirstWord(" \t#Source: x", &Start), "#Source:");
  EXPECT_EQ(Start, 2u);
  EXPECT_EQ(FirstWord("#Source:x y"), "#Source:x");
  EXPECT_EQ(FirstWord("   "), "");
}

TEST(Replay, EmptyLogOpensNothingAndShowsZero) {
  TReplayFixture F;
  ReplayLog(F.Run, F.Log(""));
  EXPECT_EQ(F.View.Totals, std::vector<int>{0});
  EXPECT_EQ(F.View.Messages, std::vector<std::string>{"Processing test.log..."});
}

TEST(Replay, KeywordLinesAreShortenedAndUnknownFormatsInsertNothing) {
  TReplayFixture F;
  WriteFile(F.Dir.Path("menu.irl"), "pack\r\n");
  std::string Text = "#Source: " + F.Dir.Path("menu.irl") + "\r\n" +  // before any format
                     "entry\r\n"
                     "#Format: irl\r\n"  // wrong case: unknown
                     "#Source: " +
                     F.Dir.Path("menu.irl") + "\r\n" +
                     "#Target somewhere\r\n"
                     "#Format:IRL\r\n"            // keyword run together: entry line
                     "  #Format: ITM extra\r\n";  // leading blanks are allowed
  ReplayLog(F.Run, F.Log(Text));
  EXPECT_EQ(F.Run.ReplayList.Get(0), F.Dir.Path("menu.irl"));
  EXPECT_EQ(F.Run.ReplayList.Get(1), "entry");
  EXPECT_EQ(F.Run.ReplayList.Get(2), "irl");
  EXPECT_EQ(F.Run.ReplayList.Get(4), "somewhere");
  EXPECT_EQ(F.Run.ReplayList.Get(5), "#Format:IRL");
  EXPECT_EQ(F.Run.ReplayList.Get(6), "ITM extra");
  EXPECT_EQ(F.Run.ReplayFormat, sfItemComparator);
  EXPECT_EQ(F.Run.TargetPath, F.Dir.Path("menu.irl"));
  EXPECT_EQ(F.Run.TargetStream, nullptr);
  EXPECT_EQ(ReadFile(F.Dir.Path("menu.irl")), "pack\r\n");
  EXPECT_EQ(F.View.Totals, (std::vector<int>{0, 0, 16, 33, 50, 66, 83, 100}));
  EXPECT_EQ(F.Run.ProgressPosition, 7);
}

TEST(Replay, MissingSourcesArePassedOverSilently) {
  TReplayFixture F;
  ReplayLog(F.Run, F.Log("#Format: IRL\r\n#Source: " + F.Dir.Path("gone.irl") +
                         "\r\n/out/gone_0000.bmp\r\n"));
  EXPECT_TRUE(F.View.Results.empty());
  EXPECT_TRUE(F.Run.TargetPath.empty());
}

TEST(Replay, OneLineLogDividesByNothingAndProgressStopsAtAHundred) {
  TReplayFixture F;
  F.Run.ProgressPosition = 99;
  ReplayLog(F.Run, F.Log("#Target\r\n"));
  EXPECT_EQ(F.View.Totals, (std::vector<int>{0, 0}));
  ReplayLog(F.Run, F.Log("a\r\nb\r\nc\r\n"));
  EXPECT_EQ(F.Run.ProgressPosition, 100);
}

TEST(Replay, LongSourcePathsAreUsedWhole) {
  TReplayFixture F;
  std::string Deep = F.Dir.Path(std::string(200, 'd'));
  ASSERT_TRUE(ForceDirectories(Deep));
  std::string Source = Deep + "/" + std::string(150, 's') + ".irl";
  WriteFile(Source, "x");
  ReplayLog(F.Run, F.Log("#Source: " + Source + "\r\n"));
  EXPECT_EQ(F.Run.TargetPath, Source);
}

TEST(Replay, ErrorsNameTheFile) {
  TReplayFixture F;
  EXPECT_THROW(ReplayLog(F.Run, F.Dir.Path("none.log")), EFOpenError);
  // A directory where a source should be cannot be opened for writing.
  try {
    ReplayLog(F.Run, F.Log("#Format: IRL\r\n#Source: " + F.Dir.Path() + "\r\n"));
    FAIL();
  } catch (const EFOpenError& Error) {
    EXPECT_EQ(std::string(Error.what()), "Cannot open file " + F.Dir.Path());
  }
}

TEST(Replay, StopEndsAfterTheLineInProgress) {
  TReplayFixture F;
  F.View.OnProcessMessages = [&F] { F.Run.StopRequested = true; };
  ReplayLog(F.Run, F.Log("a\r\nb\r\nc\r\n"));
  EXPECT_EQ(F.Run.ProgressPosition, 1);
}
}  // namespace
