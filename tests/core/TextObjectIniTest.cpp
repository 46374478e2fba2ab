// TTextObject under IniStyle: the block file's bytes, the preload and its sequence check,
// reading with line-break conversion, sizes and positions.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "components/TextObject.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "tests/core/TestSupport.h"

namespace {

using namespace std::string_literals;

class TextObjectIni : public ::testing::Test {
 protected:
  void SetUp() override {
    Object.TextStyle = IniStyle;
    Object.FileName = Dir + "/texts.ini";
  }

  // Loads Bytes as the object's file for reading; returns the result of New.
  int Load(const std::string& Bytes) {
    WriteWholeFile(Object.FileName, Bytes);
    return Object.New(omRead, 0);
  }
  // Every text up to "#OUT_OF_TEXT#" (bounded, so a fault cannot loop).
  std::vector<std::string> ReadAll() {
    std::vector<std::string> Texts;
    for (int I = 0; I < 100; ++I) {
      std::string Text = Object.Read();
      if (Text == "#OUT_OF_TEXT#") break;
      Texts.push_back(Text);
    }
    return Texts;
  }

  TTempDir Temp;
  std::string Dir = Temp.Path();
  TTextObject Object{nullptr};
};

TEST_F(TextObjectIni, WritesTheExactBlockBytesAndReadsThemBack) {
  EXPECT_EQ(Object.New(omWrite, 0), 0);
  Object.Write("Hello");
  Object.Rewrite("");  // appends exactly as Write does
  EXPECT_EQ(Object.Position, 2);
  EXPECT_EQ(Object.BlockCount, 0);
  EXPECT_EQ(ReadWholeFile(Object.FileName), "[0x00000000]\r\nHello\r\n[0x00000001]\r\n\r\n");

  EXPECT_EQ(Object.New(omRead, 0), 0);
  EXPECT_EQ(Object.BlockCount, 2);
  EXPECT_EQ(Object.Lines.Items(),
            (std::vector<std::string>{"0x00000000", "0x00000001", "0x00000002"}));
  EXPECT_EQ(ReadAll(), (std::vector<std::string>{"Hello", ""}));
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
  EXPECT_EQ(Object.Position, 2);
}

TEST_F(TextObjectIni, NewForWritingEmptiesAnExistingFile) {
  WriteWholeFile(Object.FileName, "[0x00000000]\r\nold\r\n");
  Object.New(omWrite, 0);
  EXPECT_EQ(ReadWholeFile(Object.FileName), "");
  EXPECT_EQ(Object.Read(), "#NO_TEXT#");
  EXPECT_EQ(Object.GetCurrentLength(), -1);
  EXPECT_EQ(Object.GetIniSize(), -1);
  Object.SetIniPos(0);  // BlockCount is 0 while writing
  EXPECT_EQ(Object.Position, 0);
}

TEST_F(TextObjectIni, NewForWritingEmptiesAFileInADirectoryItCannotWriteTo) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  WriteWholeFile(Object.FileName, "[0x00000000]\r\nold\r\n");
  std::filesystem::permissions(
      Dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  Object.New(omWrite, 0);
  Object.Write("new");
  std::filesystem::permissions(Dir, std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadWholeFile(Object.FileName), "[0x00000000]\r\nnew\r\n");
}

// An LF in a text is stored as CR LF; reading converts by SingleLine and LinuxFormat.
TEST_F(TextObjectIni, LineBreaksAreStoredAsCrLfAndConvertedOnRead) {
  Object.New(omWrite, 0);
  Object.Write("a\nb");
  Object.Write("c\rd\n");
  ASSERT_EQ(ReadWholeFile(Object.FileName),
            "[0x00000000]\r\na\r\nb\r\n[0x00000001]\r\nc\rd\r\n\r\n");
  struct TCase {
    bool SingleLine, LinuxFormat;
    std::string First, Second;
  };
  const TCase Cases[] = {
      {false, false, "a\r\nb", "c\rd\r\n"},
      {false, true, "a\nb", "c\rd\n"},
      {true, false, "ab", "c\rd"},
      {true, true, "ab", "c\rd"},
  };
  for (const TCase& Case : Cases) {
    Object.SingleLine = Case.SingleLine;
    Object.LinuxFormat = Case.LinuxFormat;
    ASSERT_EQ(Object.New(omRead, 0), 0);
    EXPECT_EQ(ReadAll(), (std::vector<std::string>{Case.First, Case.Second}))
        << "SingleLine " << Case.SingleLine << " LinuxFormat " << Case.LinuxFormat;
  }
}

TEST_F(TextObjectIni, MakeStringConvertsLineEnds) {
  struct TCase {
    bool SingleLine, LinuxFormat;
    std::string In, Out;
  };
  const TCase Cases[] = {
      {false, false, "a\r\nb\n", "a\r\nb\n"},
      {false, true, "a\r\nb\nc", "a\nb\nc"},
      {false, true, "a\r\r\n", "a\r\n"},
      {false, true, "\n\n", "\n\n"},
      {true, false, "a\r\nb\n", "ab"},
      {true, true, "x\ry\r\n", "x\ry"},
      {true, false, "", ""},
  };
  for (const TCase& Case : Cases) {
    Object.SingleLine = Case.SingleLine;
    Object.LinuxFormat = Case.LinuxFormat;
    EXPECT_EQ(Object.MakeString(Case.In), Case.Out)
        << "input " << ::testing::PrintToString(Case.In);
  }
}

// Files not written by the writer: what the reader makes of them.
TEST_F(TextObjectIni, ReadsFilesOfOtherShapes) {
  struct TCase {
    const char* Name;
    std::string Bytes;
    std::vector<std::string> Texts;
  };
  const TCase Cases[] = {
      {"last block without its CR LF",
       "[0x00000000]\r\none\r\n[0x00000001]\r\ntwo",
       {"one", "two"}},
      // The two characters after a header are skipped whatever they are.
      {"LF line ends", "[0x00000000]\nHello\n[0x00000001]\nWorld\n", {"ello", "orld"}},
      // The zero byte also ends the search, so the second header is never seen.
      {"zero byte inside a text", "[0x00000000]\r\nab\0cd\r\n[0x00000001]\r\nlost\r\n"s, {"ab"}},
      {"header at the very end", "[0x00000000]", {""}},
      {"one-character text", "[0x00000000]\r\nx", {"x"}},
      {"text of CR LF only", "[0x00000000]\r\n\r\n\r\n[0x00000001]\r\n", {"\r\n", ""}},
      // Only a CR two places before the next header, or an LF just before it, is cut off.
      {"\"[0x\" inside a text is a header",
       "[0x00000000]\r\nsee [0x00000001] here\r\n",
       {"see ", "ere"}},
      // Lower case or another number of digits: counted and indexed, but never found.
      {"lower-case header", "[0x00000000]\r\na\r\n[0x0000000a]\r\nb\r\n", {}},
      {"short header", "[0x0]\r\nshort\r\n", {"#NO_TEXT#"}},
      // "[0x" without a hexadecimal digit records the number 0.
      // The scan goes on 12 bytes after a header: a header closer than that is not seen.
      {"header within 12 bytes of the last",
       "[0x0]\r\nzz\r\n[0x00000001]\r\nab\r\n",
       {"#NO_TEXT#"}},
      {"no digit after [0x", "[0x]\r\nzz\r\n", {"#NO_TEXT#"}},
  };
  for (const TCase& Case : Cases) {
    Object.NoErrors = std::string(Case.Name) == "lower-case header";
    Load(Case.Bytes);
    if (Object.NoErrors) {
      // Blocks 0 and 0xA: the second is indexed but its exact header does not exist, so the
      // first block's text runs to the end of the file.
      EXPECT_EQ(ReadAll(), (std::vector<std::string>{"a\r\n[0x0000000a]\r\nb", "#NO_TEXT#"}))
          << Case.Name;
      continue;
    }
    EXPECT_EQ(Object.Status, 0u) << Case.Name;
    EXPECT_EQ(ReadAll(), Case.Texts) << Case.Name;
  }
}

// A header used twice (possible with NoErrors): the first occurrence is the block's, and the
// next key is searched from there, so both blocks read as empty texts.
TEST_F(TextObjectIni, RepeatedHeadersUseTheFirstOccurrence) {
  Object.NoErrors = true;
  ASSERT_EQ(Load("[0x00000000]\r\nA\r\n[0x00000000]\r\nB\r\n[0x00000005]\r\nC\r\n"), 0);
  EXPECT_EQ(Object.Lines.Items(),
            (std::vector<std::string>{"0x00000000", "0x00000000", "0x00000005", "0x00000003"}));
  EXPECT_EQ(ReadAll(), (std::vector<std::string>{"", "A\r\n[0x00000000]\r\nB", "C"}));
}

TEST_F(TextObjectIni, SequenceCheck) {
  struct TCase {
    std::vector<int> Numbers;
    std::vector<std::string> Messages;
  };
  const TCase Cases[] = {
      {{0, 1, 2}, {}},
      {{0, 1, 3, 4}, {"Block 0x00000002 not found!"}},
      {{0, 1, 3, 5}, {"Block 0x00000002 not found!", "Block 0x00000004 not found!"}},
      {{1, 2}, {"Block 0x00000000 not found!"}},
      {{0, 0}, {"Block 0x00000001 not found!"}},
  };
  for (bool NoErrors : {false, true}) {
    for (const TCase& Case : Cases) {
      std::string Bytes;
      for (int N : Case.Numbers) Bytes += "[0x" + IntToHex(N, 8) + "]\r\nt\r\n";
      Object.NoErrors = NoErrors;
      int Result = Load(Bytes);
      std::string Label = "NoErrors " + std::to_string(NoErrors) + ", file " + Bytes;
      bool Broken = !NoErrors && !Case.Messages.empty();
      EXPECT_EQ(Object.Log.Items(), Broken ? Case.Messages : std::vector<std::string>{}) << Label;
      EXPECT_EQ(Object.Status, Broken ? 0x40000000u : 0u) << Label;
      EXPECT_EQ(Result, static_cast<int>(Object.Status)) << Label;
      EXPECT_EQ(Object.BlockCount, static_cast<int>(Case.Numbers.size())) << Label;
      if (Broken) {
        // The index is emptied: nothing is read or measured, and nothing looks past it.
        EXPECT_TRUE(Object.Lines.Empty()) << Label;
        EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#") << Label;
        EXPECT_EQ(Object.GetCurrentLength(), -1) << Label;
        EXPECT_EQ(Object.GetIniSize(), -1) << Label;
        Object.SetIniPos(1);
        EXPECT_EQ(Object.Position, 1) << Label;
        EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#") << Label;
      } else {
        ASSERT_EQ(Object.Lines.Count(), Object.BlockCount + 1) << Label;
        for (std::size_t K = 0; K < Case.Numbers.size(); ++K)
          EXPECT_EQ(Object.Lines[K], "0x" + IntToHex(Case.Numbers[K], 8)) << Label;
        EXPECT_EQ(Object.Lines[Case.Numbers.size()], "0x" + IntToHex(Case.Numbers.size(), 8))
            << Label;
      }
    }
  }
}

TEST_F(TextObjectIni, EmptyAndMissingFiles) {
  EXPECT_EQ(Load(""), 0);
  EXPECT_EQ(Object.BlockCount, 0);
  EXPECT_EQ(Object.Lines.Items(), std::vector<std::string>{"0x00000000"});
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
  EXPECT_EQ(Object.GetIniSize(), 0);

  Object.FileName = Dir + "/missing.ini";
  EXPECT_EQ(Object.New(omRead, 0), static_cast<int>(0x80000000u));
  EXPECT_EQ(Object.Status, 0x80000000u);
  EXPECT_EQ(Object.Lines.Items(), std::vector<std::string>{"0x00000000"});  // kept
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
  EXPECT_EQ(Object.GetCurrentLength(), -1);
  EXPECT_EQ(Object.GetIniSize(), 0);
}

TEST_F(TextObjectIni, UnreadableFileRaisesAndThenReadsAsEmpty) {
  ASSERT_EQ(Load("[0x00000000]\r\nbefore\r\n"), 0);
  Object.FileName = Dir;  // exists, but is a directory
  EXPECT_THROW(Object.New(omRead, 0), EFOpenError);
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
  EXPECT_EQ(Object.BlockCount, 0);
}

TEST_F(TextObjectIni, FileThatCannotBeCreatedIsNotReported) {
  Object.FileName = Dir + "/no/such/dir/texts.ini";
  EXPECT_EQ(Object.New(omWrite, 0), 0);
  EXPECT_NO_THROW(Object.Write("lost"));
  EXPECT_EQ(Object.Position, 1);  // the number stays used up
  EXPECT_FALSE(FileExists(Object.FileName));
}

TEST_F(TextObjectIni, WriteWhileReadingChangesNothing) {
  const std::string Bytes = "[0x00000000]\r\nx\r\n";
  Load(Bytes);
  Object.Write("y");
  Object.Rewrite("z");
  EXPECT_EQ(Object.Position, 0);
  EXPECT_EQ(ReadWholeFile(Object.FileName), Bytes);
}

TEST_F(TextObjectIni, PositionsAndCurrentLength) {
  Object.AsciiZ = true;
  Object.TextAlign = 4;
  Load("[0x00000000]\r\nabc\r\n[0x00000001]\r\nabcd\r\n[0x00000002]\r\n\r\n");
  EXPECT_EQ(Object.GetIniSize(), 4 + 8 + 4);
  EXPECT_EQ(Object.GetCurrentLength(), 4);
  EXPECT_EQ(Object.GetCurrentLength(), 4);  // does not move
  EXPECT_EQ(Object.Position, 0);
  EXPECT_EQ(ReadAll(), (std::vector<std::string>{"abc", "abcd", ""}));
  EXPECT_EQ(Object.GetCurrentLength(), -1);

  Object.SetIniPos(3);  // BlockCount: no change
  EXPECT_EQ(Object.Position, 3);
  Object.SetIniPos(-1);  // below 0: ignored
  EXPECT_EQ(Object.Position, 3);
  Object.SetIniPos(0);
  EXPECT_EQ(Object.Read(), "abc");
  Object.SetIniPos(2);
  EXPECT_EQ(Object.GetCurrentLength(), 4);  // the empty text and its zero byte, aligned
  Object.SetPosition(1);
  EXPECT_EQ(Object.Read(), "abcd");
}

// A block whose header is not found: Read moves on, the sizes count it as empty.
TEST_F(TextObjectIni, MissingBlockSizes) {
  Object.AsciiZ = true;
  Object.TextAlign = 2;
  ASSERT_EQ(Load("[0x0]\r\nzzz\r\n[0x00000001]\r\nab\r\n"), 0);  // a one-digit header 0
  EXPECT_EQ(Object.GetIniSize(), 2 + 4);
  EXPECT_EQ(Object.GetCurrentLength(), -1);
  EXPECT_EQ(Object.Read(), "#NO_TEXT#");
  EXPECT_EQ(Object.Position, 1);
  EXPECT_EQ(Object.GetCurrentLength(), 4);
  EXPECT_EQ(Object.Read(), "ab");
}

TEST_F(TextObjectIni, SizesCountTheConvertedText) {
  Object.LinuxFormat = true;
  Load("[0x00000000]\r\na\r\nb\r\n");
  EXPECT_EQ(Object.GetIniSize(), 3);
  Object.LinuxFormat = false;
  EXPECT_EQ(Object.GetCurrentLength(), 4);
}

TEST_F(TextObjectIni, LoadTextLeavesTheIniFileAlone) {
  const std::string Bytes = "[0x00000000]\r\nkeep me\r\n";
  WriteWholeFile(Object.FileName, Bytes);
  WriteWholeFile(Dir + "/records.txt",
                 "_______________________________\r\n#H#E#A#D#E#R#1#\r\nr\r\n#E#N#D#\r\n");
  Object.Log.Add("old");
  EXPECT_TRUE(Object.LoadText(Dir + "/records.txt"));
  EXPECT_EQ(ReadWholeFile(Object.FileName), Bytes);
  EXPECT_TRUE(Object.Log.Empty());
  EXPECT_EQ(Object.Lines.Count(), 4);
  EXPECT_EQ(Object.ReadDurodu(), "r");
}

}  // namespace

namespace {

// The preload reads a header's number leniently: any case, any length, as "%X" would.
TEST_F(TextObjectIni, HeaderNumbersAreReadLeniently) {
  Object.NoErrors = true;
  Load(
      "[0x1f]............[0x]..............[0x 0x2A]..........[0x123456789]....."
      "[0x-1]..........");
  EXPECT_EQ(Object.Lines.Items(),
            (std::vector<std::string>{"0x0000001F", "0x00000000", "0x0000002A", "0x23456789",
                                      "0xFFFFFFFF", "0x00000005"}));
}

}  // namespace
