// The command-line tool, run as a user would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "tests/core/TestSupport.h"

namespace {
struct TCliResult {
  int Status;
  std::string Output;
};

TCliResult RunCli(const std::string& Arguments) {
  std::string Command = std::string(BRINDLECAST_CLI) + " " + Arguments + " 2>&1";
  TCliResult Result{-1, {}};
  FILE* Pipe = ::popen(Command.c_str(), "r");
  if (!Pipe) return Result;
  char Buffer[4096];
  for (std::size_t N; (N = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0;)
    Result.Output.append(Buffer, N);
  int Status = ::pclose(Pipe);
  Result.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  return Result;
}

TEST(Cli, UsageErrorsExitWithTwo) {
  struct TCase {
    const char* Arguments;
    const char* Says;
  };
  for (const TCase& Case : std::initializer_list<TCase>{
           {"", "no command"},
           {"frobnicate", "unknown command"},
           {"extract", "no source"},
           {"extract a.irl b.itm", "mixed formats"},
           {"extract a.txt", "neither"},
           {"extract -o", "needs a value"},
           {"gather --type bmp /tmp", ""},
       }) {
    TCliResult Result = RunCli(Case.Arguments);
    EXPECT_EQ(Result.Status, 2) << Case.Arguments << "\n" << Result.Output;
    EXPECT_NE(Result.Output.find(Case.Says), std::string::npos) << Case.Arguments << "\n"
                                                                << Result.Output;
  }
  TCliResult Help = RunCli("--help");
  EXPECT_EQ(Help.Status, 0);
  EXPECT_NE(Help.Output.find("brindlecast-cli gather"), std::string::npos);
}

TEST(Cli, ExtractAndReplayItemComparatorsFoundByAScan) {
  TTempDir Dir;
  ForceDirectories(Dir.Path("game/sub"));
  WriteFile(Dir.Path("game/sub/text.ITM"),
            Dir.Path("game/ref.txt") + "\n" + Dir.Path("game/tr.txt") + "\n");
  WriteFile(Dir.Path("game/ref.txt"), ";comment\nHello  \n");
  WriteFile(Dir.Path("game/tr.txt"), "x\nHallo\n");
  TCliResult Extract = RunCli("extract -o " + Dir.Path("out") + " --scan " + Dir.Path("game"));
  ASSERT_EQ(Extract.Status, 0) << Extract.Output;
  EXPECT_EQ(ReadFile(Dir.Path("out/complete.txt")), "Hello$$\r\nHallo\r\n");
  EXPECT_EQ(ReadFile(Dir.Path("out/result.log")),
            "#Format: ITM\r\n#Source: " + Dir.Path("game/sub/text.ITM") + "\r\n" +
                Dir.Path("out/complete.txt") + "\r\n");
  WriteFile(Dir.Path("out/complete.txt"), "Hello$$\r\nBonjour$\r\n");
  TCliResult Replay = RunCli("replay " + Dir.Path("out/result.log"));
  ASSERT_EQ(Replay.Status, 0) << Replay.Output;
  EXPECT_EQ(ReadFile(Dir.Path("game/tr.txt")), "x\r\nBonjour \r\n");
  TCliResult Gather = RunCli("gather --type log " + Dir.Path());
  EXPECT_EQ(Gather.Output, Dir.Path("out/result.log") + "\n");
}

TEST(Cli, FailuresNameTheFileAndExitWithOne) {
  TTempDir Dir;
  TCliResult Result = RunCli("extract -o " + Dir.Path() + " " + Dir.Path("missing.irl"));
  EXPECT_EQ(Result.Status, 1);
  EXPECT_NE(Result.Output.find("Cannot open file " + Dir.Path("missing.irl")), std::string::npos)
      << Result.Output;
}
}  // namespace
