#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Errors.h"
#include "platform/Streams.h"
#include "platform/StringList.h"
#include "tests/core/TestSupport.h"

namespace {
struct TSplitCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Lines;
};

class SplitLinesTest : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(SplitLinesTest, FollowsTheLineRules) {
  EXPECT_EQ(SplitLines(GetParam().Text), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitLinesTest,
    ::testing::Values(TSplitCase{"Empty", "", {}}, TSplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      TSplitCase{"LfAlone", "a\nb\n", {"a", "b"}},
                      TSplitCase{"CrAlone", "a\rb\r", {"a", "b"}},
                      TSplitCase{"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                      TSplitCase{"LastLineWithoutEnd", "a\r\nlast", {"a", "last"}},
                      TSplitCase{"EmptyLinesKept", "\r\n\r\nx\n\n", {"", "", "x", ""}},
                      TSplitCase{"LfCrIsTwoEnds", "a\n\rb", {"a", "", "b"}},
                      TSplitCase{"NulIsAnOrdinaryByte",
                                 std::string("a\0b\r\nc", 6),
                                 {std::string("a\0b", 3), "c"}},
                      TSplitCase{"OnlyALineEnd", "\r\n", {""}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(StringList, SavesCrLfAfterEveryLineAndNothingForAnEmptyList) {
  TTempDir Dir;
  TStringList List;
  List.SaveToFile(Dir.Path("empty.txt"));
  EXPECT_EQ(ReadFile(Dir.Path("empty.txt")), "");
  List.SetText(std::string("one\nt\0o\rthree", 13));
  List.SaveToFile(Dir.Path("three.txt"));
  EXPECT_EQ(ReadFile(Dir.Path("three.txt")), std::string("one\r\nt\0o\r\nthree\r\n", 17));
}

TEST(StringList, IndexErrorsCarryTheIndex) {
  TStringList List;
  List.Add("a");
  EXPECT_EQ(List.Get(0), "a");
  for (long long Index : {-1LL, 1LL, 7LL}) {
    try {
      List.Get(Index);
      FAIL() << "no error for index " << Index;
    } catch (const EStringListError& Error) {
      EXPECT_EQ(std::string(Error.what()),
                "List index out of bounds (" + std::to_string(Index) + ")");
    }
  }
  EXPECT_THROW(List.Put(1, "x"), EStringListError);
  EXPECT_THROW(List.Delete(1), EStringListError);
  EXPECT_THROW(List.Insert(2, "x"), EStringListError);
  List.Insert(1, "b");
  EXPECT_EQ(List.Text(), "a\r\nb\r\n");
}

TEST(StringList, OpenErrorsNameThePath) {
  TStringList List;
  try {
    List.LoadFromFile("/nonexistent/list.lst");
    FAIL();
  } catch (const EFOpenError& Error) {
    EXPECT_STREQ(Error.what(), "Cannot open file /nonexistent/list.lst");
  }
  try {
    List.SaveToFile("/nonexistent/dir/list.lst");
    FAIL();
  } catch (const EFCreateError& Error) {
    EXPECT_STREQ(Error.what(), "Cannot create file /nonexistent/dir/list.lst");
  }
}

TEST(FileWriter, LeavesTheOldFileUntilCommitAndNoTemporaryBehind) {
  TTempDir Dir;
  std::string Target = Dir.Path("out.bin");
  WriteFile(Target, "old");
  ::chmod(Target.c_str(), 0640);
  {
    TFileWriter Writer(Target);
    Writer.Write("new content", 11);
    EXPECT_EQ(ReadFile(Target), "old");
  }  // destroyed without Commit: as if the write had failed half way
  EXPECT_EQ(ReadFile(Target), "old");
  {
    TFileWriter Writer(Target);
    std::string Big(3 << 20, 'x');
    Writer.Write(Big.data(), Big.size());
    Writer.Commit();
  }
  EXPECT_EQ(ReadFile(Target).size(), std::size_t(3 << 20));
  EXPECT_EQ(std::filesystem::status(Target).permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0640));
  int Files = 0;
  for ([[maybe_unused]] auto& Entry : std::filesystem::directory_iterator(Dir.Path())) ++Files;
  EXPECT_EQ(Files, 1) << "a temporary file was left behind";
}

TEST(FileWriter, ReplacesTheFileALinkLeadsToAndKeepsTheLink) {
  TTempDir Dir;
  ASSERT_TRUE(ForceDirectories(Dir.Path("real")));
  WriteFile(Dir.Path("real/tr.txt"), "old");
  ASSERT_EQ(::symlink("real/tr.txt", Dir.Path("tr.txt").c_str()), 0);
  WriteWholeFile(Dir.Path("tr.txt"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(Dir.Path("tr.txt")));
  EXPECT_EQ(ReadFile(Dir.Path("real/tr.txt")), "new");
}

TEST(Streams, ShortReadsRaiseStreamReadError) {
  TMemoryStream Stream(std::vector<std::uint8_t>{1, 2, 3});
  std::uint8_t Buffer[4];
  EXPECT_THROW(Stream.ReadBuffer(Buffer, 4), EReadError);
  Stream.Seek(0);
  EXPECT_NO_THROW(Stream.ReadBuffer(Buffer, 3));
  EXPECT_THROW(Stream.Seek(-1), EReadError);
  Stream.Seek(10);
  EXPECT_EQ(Stream.Read(Buffer, 1), 0u);
}

TEST(Files, PathAndNumberHelpers) {
  EXPECT_EQ(ExtractFileName("/a/b/menu.old.irl"), "menu.old.irl");
  EXPECT_EQ(ExtractFileName("menu.irl"), "menu.irl");
  EXPECT_EQ(ExtractFileDir("/a/b/menu.irl"), "/a/b");
  EXPECT_EQ(JoinPath("/out/", "x.bmp"), "/out/x.bmp");
  EXPECT_EQ(JoinPath("/out", "x.bmp"), "/out/x.bmp");
  EXPECT_EQ(IntToHex(0, 4), "0000");
  EXPECT_EQ(IntToHex(10, 4), "000A");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(65536, 4), "10000");
  EXPECT_TRUE(MatchesMask("MENU.IRL", "*.irl"));
  EXPECT_TRUE(MatchesMask("a.irl", "?.IRL"));
  EXPECT_FALSE(MatchesMask("a.irl.bak", "*.irl"));
  EXPECT_TRUE(MatchesMask("maps.irl", "*.*"));
  EXPECT_FALSE(MatchesMask("ab.irl", "?.irl"));
}
}  // namespace
