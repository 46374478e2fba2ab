#include <gtest/gtest.h>

#include "app/core/BatchRun.h"
#include "platform/Errors.h"
#include "tests/core/TestSupport.h"

namespace {
struct TRunFixture {
  TTempDir Dir;
  TRecordingView View;
  TRunContext Run{View};
  TBatchRun Batch{Run};
  TSourceList List;
  std::vector<std::pair<int, std::string>> Calls;

  TRunFixture() {
    View.ChosenDir = Dir.Path();
    Batch.ProcessSource = [this](TSourceFormat Format, const std::string& Path) {
      Calls.emplace_back(Format, Path);
      Run.ResultList.Add(Path + ".out");
    };
  }
  void Fill(TSourceFormat Format, int Count) {
    List.SourceFormat = Format;
    List.Entries.clear();
    for (int I = 0; I < Count; ++I) List.Entries.push_back("/src/s" + std::to_string(I));
  }
};

TEST(BatchRun, ExtractionWritesTheResultLogAndMovesTheBar) {
  TRunFixture F;
  F.Fill(sfImageList, 4);
  F.Batch.Execute(F.List);
  ASSERT_EQ(F.Calls.size(), 4u);
  EXPECT_EQ(F.Calls[2], std::make_pair(int(sfImageList), std::string("/src/s2")));
  // 0 after the first source, 75 after the last, and 0 again at the end.
  EXPECT_EQ(F.View.Totals, (std::vector<int>{0, 0, 25, 50, 75, 0}));
  EXPECT_EQ(ReadFile(F.Dir.Path("result.log")),
            "#Format: IRL\r\n#Source: /src/s0\r\n/src/s0.out\r\n"
            "#Format: IRL\r\n#Source: /src/s1\r\n/src/s1.out\r\n"
            "#Format: IRL\r\n#Source: /src/s2\r\n/src/s2.out\r\n"
            "#Format: IRL\r\n#Source: /src/s3\r\n/src/s3.out\r\n");
  EXPECT_EQ(F.Run.OutputDir, F.Dir.Path());
  EXPECT_EQ(GetCurrentDir(), std::filesystem::canonical(F.Dir.Path()).string());
  EXPECT_EQ(F.View.Shown, std::vector<std::string>{"Process status:|Operation complete!"});
  EXPECT_EQ(F.View.Extracted, "");
}

TEST(BatchRun, OneSourceLeavesTheBarAtZero) {
  TRunFixture F;
  F.Fill(sfItemComparator, 1);
  F.Batch.Execute(F.List);
  EXPECT_EQ(F.View.Totals, (std::vector<int>{0, 0, 0}));
  EXPECT_NE(ReadFile(F.Dir.Path("result.log")).find("#Format: ITM\r\n"), std::string::npos);
}

TEST(BatchRun, LogsAndProjectListsWriteNoResultLog) {
  for (TSourceFormat Format : {sfLog, sfProjectList}) {
    TRunFixture F;
    F.Fill(Format, 2);
    F.Batch.Execute(F.List);
    EXPECT_FALSE(FileExists(F.Dir.Path("result.log")));
    EXPECT_EQ(F.Run.ResultList.Get(0), "#Format: ");
    EXPECT_EQ(F.Run.ResultList.Get(1), "#Source: /src/s0");
  }
}

TEST(BatchRun, CancelledChooserEmptiesResultsAndProcessesNothing) {
  TRunFixture F;
  F.Fill(sfImageList, 2);
  F.Run.AddResult("old line");
  F.View.ChosenDir.clear();
  F.Batch.Execute(F.List);
  EXPECT_TRUE(F.Calls.empty());
  EXPECT_TRUE(F.View.Results.empty());
  EXPECT_TRUE(F.Run.ResultList.Empty());
  EXPECT_TRUE(F.View.Totals.empty());
  EXPECT_EQ(F.View.Shown, std::vector<std::string>{"Process status:|Operation complete!"});
  EXPECT_EQ(F.View.Extracted, "Extracted: 0");
}

TEST(BatchRun, EmptyListDoesNothing) {
  TRunFixture F;
  F.Batch.Execute(F.List);
  EXPECT_TRUE(F.View.Shown.empty());
}

TEST(BatchRun, StopEndsAfterTheSourceInProgressAndKeepsWhatIsDone) {
  TRunFixture F;
  F.Fill(sfImageList, 4);
  F.Batch.ProcessSource = [&F](TSourceFormat, const std::string& Path) {
    F.Calls.emplace_back(0, Path);
    F.Run.ResultList.Add(Path + ".out");
    if (F.Calls.size() == 2) F.Batch.Stop();
  };
  F.Batch.Execute(F.List);
  EXPECT_EQ(F.Calls.size(), 2u);
  EXPECT_EQ(F.View.Results, std::vector<std::string>{"Stopped: 2 of 4 sources done."});
  EXPECT_EQ(SplitLines(ReadFile(F.Dir.Path("result.log"))).size(), 6u);
  // The next run starts with the request cleared.
  F.Calls.clear();
  F.Batch.ProcessSource = [&F](TSourceFormat, const std::string& Path) {
    F.Calls.emplace_back(0, Path);
  };
  F.Batch.Execute(F.List);
  EXPECT_EQ(F.Calls.size(), 4u);
}

TEST(BatchRun, AListThatEmptiesDuringTheRunDividesByNothing) {
  TRunFixture F;
  F.Fill(sfImageList, 3);
  F.Batch.ProcessSource = [&F](TSourceFormat, const std::string&) { F.List.Entries.clear(); };
  F.Batch.Execute(F.List);
  EXPECT_EQ(F.View.Totals, (std::vector<int>{0, 0, 0}));
}

TEST(BatchRun, HandlerErrorsLeaveTheRunWithStopEnabledAndNoLog) {
  TRunFixture F;
  F.Fill(sfImageList, 2);
  F.Batch.ProcessSource = [&F](TSourceFormat Format, const std::string& Path) {
    F.Batch.DispatchSource(Format, Path);
  };
  // The image handler fails on a list that does not exist.
  EXPECT_THROW(F.Batch.Execute(F.List), EPlatformError);
  EXPECT_TRUE(F.View.StopEnabled);
  EXPECT_FALSE(F.View.SaveEnabled);
  EXPECT_FALSE(FileExists(F.Dir.Path("result.log")));
  EXPECT_TRUE(F.View.Shown.empty());
  EXPECT_FALSE(F.Batch.Running());
}

TEST(BatchRun, ByteCountAndSavedResults) {
  TRunFixture F;
  F.Fill(sfImageList, 1);
  F.Batch.ProcessSource = [&F](TSourceFormat, const std::string&) {
    F.Run.NoteFileWritten(100);
    F.Run.NoteFileWritten(28);
    EXPECT_EQ(F.View.Extracted, "Extracted: 2");
  };
  F.Batch.Execute(F.List);
  EXPECT_EQ(F.View.Results, std::vector<std::string>{"Total 128 bytes extracted."});
  EXPECT_TRUE(F.View.SaveEnabled);
  F.Batch.SaveResults(F.Dir.Path("results.txt"));
  EXPECT_EQ(ReadFile(F.Dir.Path("results.txt")), "Total 128 bytes extracted.\r\n");
  EXPECT_FALSE(F.View.SaveEnabled);
}
TEST(BatchRun, ARelativeOutputDirectoryIsMadeAbsoluteFirst) {
  TRunFixture F;
  ASSERT_TRUE(SetCurrentDir(F.Dir.Path()));
  ASSERT_TRUE(ForceDirectories(F.Dir.Path("out")));
  F.View.ChosenDir = "out";
  F.Fill(sfImageList, 1);
  F.Batch.Execute(F.List);
  EXPECT_EQ(F.Run.OutputDir, GetCurrentDir());
  EXPECT_EQ(ExtractFileName(F.Run.OutputDir), "out");
  EXPECT_TRUE(FileExists(F.Dir.Path("out/result.log")));
}

TEST(BatchRun, StopInsideTheLastReplayIsReportedAsAStop) {
  TRunFixture F;
  WriteFile(F.Dir.Path("a.log"), "one\r\ntwo\r\nthree\r\nfour\r\n");
  F.List.SourceFormat = sfLog;
  F.List.Entries = {F.Dir.Path("a.log")};
  F.Batch.ProcessSource = [&F](TSourceFormat Format, const std::string& Path) {
    F.Batch.DispatchSource(Format, Path);
  };
  int Lines = 0;
  F.View.OnProcessMessages = [&] {
    if (++Lines == 2) F.Batch.Stop();
  };
  F.Batch.Execute(F.List);
  EXPECT_EQ(F.View.Results, std::vector<std::string>{
                                "Stopped: 0 of 1 sources done; replayed a.log up to line 2 of 4."});
}

}  // namespace
