// TTextObject under DuroduStyle: record layout and headers, reading with line breaks, rewriting,
// seeking from every position, sizes, the string helpers, and records cut off before their end.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "components/TextObject.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "tests/core/TestSupport.h"

namespace {

const std::string Sep = "_______________________________";
const std::string End = "#E#N#D#";

std::vector<std::string> Record(const std::string& Header, std::vector<std::string> Text) {
  std::vector<std::string> Lines = {Sep, Header};
  Lines.insert(Lines.end(), Text.begin(), Text.end());
  Lines.push_back(End);
  return Lines;
}

TEST(TextObjectDurodu, WriteBuildsFramedRecords) {
  TTextObject Object(nullptr);
  Object.New(omRead, 0);
  Object.Write("Hello");
  EXPECT_EQ(Object.Lines.Items(), Record("#H#E#A#D#E#R#0#0#", {"Hello"}));
  Object.Write("a\r\nb");
  EXPECT_EQ(Object.Lines.Count(), 8);
  EXPECT_EQ(Object.Lines[5], "#H#E#A#D#E#R#0#1#");
  EXPECT_EQ(Object.Lines[6], "a\r\nb");  // one entry, whatever breaks it holds
  EXPECT_EQ(Object.Position, 2);
  EXPECT_EQ(Object.BlockCount, 2);
  EXPECT_EQ(Object.LinePos, 8);
}

TEST(TextObjectDurodu, HeaderFields) {
  struct TCase {
    TTextTypes Type;
    bool CRC;
    int Position;
    const char* Header;
  };
  const TCase Cases[] = {
      {ttIndexed, false, 5, "#H#E#A#D#E#R#0#5#"},
      {ttPlain, false, 5, "#H#E#A#D#E#R#1#"},
      {ttStringDepeneded, false, 0, "#H#E#A#D#E#R#2#"},
      {ttIndexed, true, 0, "#H#E#A#D#E#R#128#0#943#"},
      {ttPlain, true, 3, "#H#E#A#D#E#R#129#861#"},
  };
  for (const TCase& Case : Cases) {
    TTextObject Object(nullptr);
    Object.TextType = Case.Type;
    Object.CRC = Case.CRC;
    Object.Position = Case.Position;
    Object.Write("t");
    EXPECT_EQ(Object.Lines[1], Case.Header);
  }
}

TEST(TextObjectDurodu, ReadJoinsLinesAndSizesCountTwoPerBreak) {
  struct TCase {
    bool SingleLine, LinuxFormat, AsciiZ;
    std::string Text;
    int Size;
  };
  const TCase Cases[] = {
      {false, false, false, "a\r\nb", 4},
      {false, true, false, "a\nb", 4},  // a break counts two also under LinuxFormat
      {true, false, false, "ab", 2},
      {true, true, false, "ab", 2},
      {false, false, true, "a\r\nb", 5},
  };
  for (const TCase& Case : Cases) {
    TTextObject Object(nullptr);
    Object.SingleLine = Case.SingleLine;
    Object.LinuxFormat = Case.LinuxFormat;
    Object.AsciiZ = Case.AsciiZ;
    Object.Lines.Items() = Record("#H#E#A#D#E#R#1#", {"a", "b"});
    EXPECT_EQ(Object.GetSize(), Case.Size) << "case " << ::testing::PrintToString(Case.Text);
    EXPECT_EQ(Object.Read(), Case.Text);
    EXPECT_EQ(Object.Log.Items(), std::vector<std::string>{Case.Text});
    EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
    EXPECT_EQ(Object.Position, 1);
    EXPECT_EQ(Object.LinePos, 5);
  }
}

TEST(TextObjectDurodu, SpecialRecords) {
  TTextObject Object(nullptr);
  Object.LinuxFormat = true;
  auto Lines = Record("#H#E#A#D#E#R#1#", {});          // no text lines: the empty text
  auto More = Record("junk header", {"x", End, "y"});  // an end line inside ends it early
  Lines.insert(Lines.end(), More.begin(), More.end());
  Object.Lines.Items() = Lines;
  EXPECT_EQ(Object.Read(), "");
  EXPECT_EQ(Object.Read(), "x");
  EXPECT_EQ(Object.LinePos, 7);
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");  // "y", End: too few lines for a record
  EXPECT_EQ(Object.Position, 2);
}

TEST(TextObjectDurodu, WrittenLineBreaksComeBackAsWritten) {
  TTextObject Object(nullptr);
  Object.LinuxFormat = true;
  Object.Write("one\r\ntwo");
  Object.SetPosition(0);
  EXPECT_EQ(Object.Read(), "one\r\ntwo");
}

TEST(TextObjectDurodu, RewriteReplacesTheTextLinesOnly) {
  TTextObject Object(nullptr);
  auto Lines = Record("#H#E#A#D#E#R#0#0#", {"a", "b", "c"});
  auto Second = Record("#H#E#A#D#E#R#0#1#", {"d"});
  Lines.insert(Lines.end(), Second.begin(), Second.end());
  Object.Lines.Items() = Lines;
  Object.Rewrite("new");
  auto Expected = Record("#H#E#A#D#E#R#0#0#", {"new"});
  Expected.insert(Expected.end(), Second.begin(), Second.end());
  EXPECT_EQ(Object.Lines.Items(), Expected);
  EXPECT_EQ(Object.LinePos, 4);
  EXPECT_EQ(Object.Position, 1);
  EXPECT_EQ(Object.BlockCount, 0);
  EXPECT_EQ(Object.Read(), "d");
  Object.Rewrite("appended");  // at the end: a new record
  EXPECT_EQ(Object.Lines.Count(), 12);
  EXPECT_EQ(Object.Lines[9], "#H#E#A#D#E#R#0#2#");
  EXPECT_EQ(Object.BlockCount, 1);
}

// Builds records 0..3 and puts the object into one of many states; for every state and every
// record k, SetPosition(k) then Read must give record k.
TEST(TextObjectDurodu, SeekReachesEveryRecordFromEveryState) {
  const std::vector<std::string> Texts = {"zero", "one\r\nmore", "two", "three"};
  auto Fresh = [&](TTextObject& Object) {
    Object.New(omWrite, 0);
    for (const std::string& Text : Texts) Object.Write(Text);
  };
  using TState = std::function<void(TTextObject&)>;
  std::vector<std::pair<std::string, TState>> States = {
      {"after writing, at the end", [](TTextObject&) {}},
      {"after New", [](TTextObject& O) { O.LinePos = 0, O.Position = 0; }},
      {"read 1", [](TTextObject& O) { O.SetPosition(0), O.Read(); }},
      {"read 3", [](TTextObject& O) { O.SetPosition(0), O.Read(), O.Read(), O.Read(); }},
      {"read all and past",
       [](TTextObject& O) {
         O.SetPosition(0);
         for (int I = 0; I < 6; ++I) O.Read();
       }},
      {"rewrote 1", [](TTextObject& O) { O.SetPosition(1), O.Rewrite("one\r\nmore"); }},
      {"rewrote the last", [](TTextObject& O) { O.SetPosition(3), O.Rewrite("three"); }},
      {"seek 2", [](TTextObject& O) { O.SetPosition(2); }},
      {"seek 3 then 0", [](TTextObject& O) { O.SetPosition(3), O.SetPosition(0); }},
      {"seek 0 at the end", [](TTextObject& O) { O.SetPosition(0); }},
  };
  for (const auto& [Name, State] : States) {
    for (int K = 0; K < static_cast<int>(Texts.size()); ++K) {
      TTextObject Object(nullptr);
      Fresh(Object);
      State(Object);
      Object.SetPosition(K);
      EXPECT_EQ(Object.Read(), Texts[static_cast<std::size_t>(K)])
          << "state: " << Name << ", record " << K;
    }
  }
  // A record written in the middle takes the current record's place; the seek counts it.
  TTextObject Object(nullptr);
  Fresh(Object);
  Object.SetPosition(1);
  Object.Write("inserted");
  const std::vector<std::string> After = {"zero", "inserted", "one\r\nmore", "two", "three"};
  for (int K = 4; K >= 0; --K) {
    Object.SetPosition(K);
    EXPECT_EQ(Object.Read(), After[static_cast<std::size_t>(K)])
        << "after the insert, record " << K;
  }
}

TEST(TextObjectDurodu, SeekThatCannotReachTheRecord) {
  TTextObject Object(nullptr);
  Object.Write("a");
  Object.Write("b");
  Object.SetPosition(0);
  Object.SetPosition(5);  // beyond the last: stops at the end, Position unchanged
  EXPECT_EQ(Object.LinePos, 8);
  EXPECT_EQ(Object.Position, 0);
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
  // Position 0 at the end misleads the next seek: it takes the last record for number -1
  // and runs past the end. Only successful seeks keep the numbering.
  Object.SetPosition(1);
  EXPECT_EQ(Object.LinePos, 8);

  Object.New(omRead, 0);
  Object.Write("a");
  Object.Write("b");
  Object.SetPosition(1);
  Object.SetPosition(-1);  // before the first: nothing changes, nothing looks before line 0
  EXPECT_EQ(Object.LinePos, 4);
  EXPECT_EQ(Object.Position, 1);
  EXPECT_EQ(Object.Read(), "b");

  TTextObject Empty(nullptr);
  Empty.SetPosition(0);
  Empty.SetPosition(3);
  EXPECT_EQ(Empty.LinePos, 0);
  EXPECT_EQ(Empty.Position, 0);

  TTextObject NoSeparator(nullptr);  // lines without any record start
  NoSeparator.Lines.Items() = {"x", "y"};
  NoSeparator.LinePos = 1;
  NoSeparator.SetPosition(0);
  EXPECT_EQ(NoSeparator.LinePos, 1);
  EXPECT_EQ(NoSeparator.Position, 0);
}

// Records cut off before their end line: everything stops at the end of Lines.
TEST(TextObjectDurodu, RecordsWithoutAnEndLine) {
  TTextObject Object(nullptr);
  Object.AsciiZ = true;
  Object.Lines.Items() = {Sep, "#H#E#A#D#E#R#1#", "a", End, Sep, "#H#E#A#D#E#R#1#", "b", "c"};
  EXPECT_EQ(Object.GetSize(), 2 + 5);
  EXPECT_EQ(Object.Read(), "a");
  EXPECT_EQ(Object.Read(), "b\r\nc");  // the lines up to the end of Lines
  EXPECT_EQ(Object.LinePos, 8);
  EXPECT_EQ(Object.Position, 2);
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");

  Object.SetPosition(1);
  Object.Rewrite("new");  // replaces the lines to the end; adds no end line
  EXPECT_EQ(Object.Lines.Items(), (std::vector<std::string>{Sep, "#H#E#A#D#E#R#1#", "a", End, Sep,
                                                            "#H#E#A#D#E#R#1#", "new"}));
  EXPECT_EQ(Object.LinePos, 7);
  EXPECT_EQ(Object.Position, 2);

  // A separator (and header) with nothing after them is no record to read or count.
  Object.Lines.Items() = {Sep, "#H#E#A#D#E#R#1#"};
  Object.LinePos = 0;
  EXPECT_EQ(Object.GetSize(), 0);
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
  Object.Rewrite("t");
  EXPECT_EQ(Object.Lines.Items(), (std::vector<std::string>{Sep, "#H#E#A#D#E#R#1#", "t"}));
  EXPECT_EQ(Object.LinePos, 3);

  // A LinePos left beyond a list the user shortened counts as the end.
  Object.LinePos = 50;
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
  Object.Write("w");
  EXPECT_EQ(Object.Lines.Count(), 7);
  EXPECT_EQ(Object.Lines[5], "w");
}

TEST(TextObjectDurodu, StringHelpers) {
  TTextObject Object(nullptr);
  EXPECT_EQ(Object.EraseSpace(" \tab c\t "), " \tab c\t ");
  Object.ClearBounds = true;
  struct TCase {
    std::string In, Erased, Cleared;
  };
  const TCase Cases[] = {
      {" \tab c\t ", "ab c", "\tabc\t"},
      {"a b c", "a b c", "abc"},
      {" \t \t", "", "\t\t"},
      {"", "", ""},
      {"x", "x", "x"},
  };
  for (const TCase& Case : Cases) {
    EXPECT_EQ(Object.EraseSpace(Case.In), Case.Erased) << ::testing::PrintToString(Case.In);
    EXPECT_EQ(Object.ClearString(Case.In), Case.Cleared) << ::testing::PrintToString(Case.In);
  }
}

class TextObjectDuroduFile : public ::testing::Test {
 protected:
  TTempDir Temp;
  std::string Dir = Temp.Path();
};

TEST_F(TextObjectDuroduFile, LoadTextSaveAndReadBack) {
  TTextObject Object(nullptr);
  Object.Write("first");
  Object.Write("two\r\nlines");
  Object.Lines.SaveToFile(Dir + "/records.txt");

  TTextObject Reader(nullptr);
  Reader.Log.Add("stale");
  EXPECT_FALSE(Reader.LoadText(Dir + "/missing.txt"));
  EXPECT_EQ(Reader.Log.Count(), 1);  // nothing changed
  ASSERT_TRUE(Reader.LoadText(Dir + "/records.txt"));
  EXPECT_TRUE(Reader.Log.Empty());
  EXPECT_EQ(Reader.Lines.Count(), 9);  // the two-line text is two entries now
  Reader.LinuxFormat = true;
  EXPECT_EQ(Reader.Read(), "first");
  EXPECT_EQ(Reader.Read(), "two\nlines");
  EXPECT_EQ(Reader.Log.Items(), (std::vector<std::string>{"first", "two\nlines"}));
  EXPECT_EQ(Reader.GetSize(), 5 + 10);

  // LF-only and lone-CR line ends load as lines as well.
  WriteWholeFile(Dir + "/lf.txt", Sep + "\n#H#E#A#D#E#R#1#\rx\ny\n" + End);
  ASSERT_TRUE(Reader.LoadText(Dir + "/lf.txt"));
  EXPECT_EQ(Reader.Read(), "x\ny");

  // Exists but cannot be read: the error reaches the caller, Lines and Log are cleared.
  EXPECT_THROW(Reader.LoadText(Dir), EFOpenError);
  EXPECT_TRUE(Reader.Lines.Empty());
  EXPECT_TRUE(Reader.Log.Empty());
}

}  // namespace
