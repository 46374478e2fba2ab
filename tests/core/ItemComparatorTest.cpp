// Item comparator extraction and insertion: the handlers on their own, and whole runs
// (extraction over several item comparators, then a replay of the result log).

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/core/BatchRun.h"
#include "app/core/SourceList.h"
#include "formats/FormatHandlers.h"
#include "formats/RunView.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Streams.h"

namespace {

using namespace std::string_literals;

// Records the results pane and answers the output directory dialog with OutDir.
class TRecordingView : public TNullRunView {
 public:
  std::string OutDir;
  std::vector<std::string> Results;
  void AddResult(const std::string& Line) override { Results.push_back(Line); }
  void ClearResults() override { Results.clear(); }
  bool ChooseOutputDir(std::string& Dir) override {
    Dir = OutDir;
    return true;
  }
};

// Shows bytes with control characters escaped, so a failing comparison is readable.
std::string Visible(const std::string& Bytes) {
  std::string Out;
  for (unsigned char C : Bytes) {
    if (C == '\r')
      Out += "\\r";
    else if (C == '\n')
      Out += "\\n";
    else if (C == '\0')
      Out += "\\0";
    else if (C < 0x20 || C >= 0x7F)
      Out += "\\x" + IntToHex(C, 2);
    else
      Out += static_cast<char>(C);
  }
  return Out;
}

class ItemComparatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SavedDir = GetCurrentDir();
    char Template[] = "/tmp/itemcomp.XXXXXX";
    ASSERT_NE(::mkdtemp(Template), nullptr);
    Dir = Template;
    OutDir = Dir + "/out";
    ASSERT_TRUE(ForceDirectories(OutDir));
    View.OutDir = OutDir;
  }
  void TearDown() override {
    SetCurrentDir(SavedDir);
    std::filesystem::remove_all(Dir);
  }

  std::string Write(const std::string& Name, const std::string& Bytes) {
    std::string Path = JoinPath(Dir, Name);
    WriteWholeFile(Path, Bytes);
    return Path;
  }
  // An item comparator named Name over the given reference and translation texts.
  std::string MakeComparator(const std::string& Name, const std::string& Reference,
                             const std::string& Translation) {
    std::string Ref = Write(Name + ".ref", Reference);
    std::string Trans = Write(Name + ".tr", Translation);
    return Write(Name + ".itm", Ref + "\r\n" + Trans + "\r\n");
  }
  // Runs the insert handler as the replay does: the pair file's path at ReplayList line 1,
  // the item comparator held open as TargetStream. Returns what the handler returned.
  int Insert(const std::string& Itm, const std::string& PairPath) {
    Run.ReplayList.Clear();
    Run.ReplayList.Add("ITM");
    Run.ReplayList.Add(PairPath);
    Run.TargetPath = Itm;
    Run.TargetStream = std::make_unique<TFileStream>(Itm, fmOpenReadWriteExclusive);
    return InsertItemComparator(Run, 1);
  }
  bool ResultsMention(const std::string& Text) const {
    for (const std::string& Line : View.Results)
      if (Line.find(Text) != std::string::npos) return true;
    return false;
  }

  std::string SavedDir, Dir, OutDir;
  TRecordingView View;
  TRunContext Run{View};
};

// Extraction: reference and translation in, pair file out.
struct TExtractCase {
  const char* Name;
  std::string Reference, Translation, Pairs;
};

TEST_F(ItemComparatorTest, ExtractWritesMarkedPairsOfTextLines) {
  const std::vector<TExtractCase> Cases = {
      {"comment only in the first column", ";c\n ;blank first\n\t;tab first\nA\n",
       "t0\nt1\nt2\nt3\n", " ;blank first\r\nt1\r\n\t;tab first\r\nt2\r\nA\r\nt3\r\n"},
      {"empty text lines", "\n;c\n\nz\n", "x\ny\n\n\n", "\r\nx\r\n\r\n\r\nz\r\n\r\n"},
      {"trailing blanks marked", "two  \n   \nends$\nin \tside \n", "x \n\ny$ \nz\n",
       "two$$\r\nx$\r\n$$$\r\n\r\nends$\r\ny$$\r\nin \tside$\r\nz\r\n"},
      {"long blank run", "a" + std::string(70, ' ') + "\n", "b\n",
       "a" + std::string(70, '$') + "\r\nb\r\n"},
      {"more translation lines than reference lines", "a\n;c", "x\ny\nz\nw\n", "a\r\nx\r\n"},
      {"comments only", ";a\n;b\n", "", ""},
      {"empty reference", "", "x\n", ""},
      {"CR, LF and CR LF line ends", "a\rb\r\nc\nd", "w\r\nx\ry\nz",
       "a\r\nw\r\nb\r\nx\r\nc\r\ny\r\nd\r\nz\r\n"},
      {"NUL and 8-bit bytes", "k\0ey\xff \n"s, "\x82\xa0\0z \n"s,
       "k\0ey\xff$\r\n\x82\xa0\0z$\r\n"s},
  };
  for (const TExtractCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Run.ResultList.Clear();
    Run.NamesInRun.clear();
    Run.BytesExtracted = 0;
    std::string Itm = MakeComparator("game", Case.Reference, Case.Translation);
    Run.OutputDir = OutDir;
    ExtractItemComparator(Run, Itm);
    std::string PairPath = OutDir + "/complete.txt";
    std::string Got = ReadWholeFile(PairPath);
    EXPECT_EQ(Visible(Got), Visible(Case.Pairs));
    ASSERT_EQ(Run.ResultList.Count(), 1);
    EXPECT_EQ(Run.ResultList[0], PairPath);
    EXPECT_EQ(Run.BytesExtracted, static_cast<std::int64_t>(Got.size()));
  }
}

// Insertion: reference, translation and pair file in, translation file out.
struct TInsertCase {
  const char* Name;
  std::string Reference, Translation, Pairs, Expected;
};

TEST_F(ItemComparatorTest, InsertPutsUnmarkedTranslationsInPlace) {
  const std::vector<TInsertCase> Cases = {
      {"lines facing comments and past the end kept", ";c\nA\n;d\nB\n", "c0\nA0\nd0\nB0\nextra\r",
       "A\r\nA1\r\nB\r\nB1\r\n", "c0\r\nA1\r\nd0\r\nB1\r\nextra\r\n"},
      {"trailing marks undone, typed blanks kept", "a\nb\nc\nd\ne\n", "1\n2\n3\n4\n5\n",
       "a\r\nx$$\r\nb\r\n$$$\r\nc\r\ny  \r\nd\r\nz$a$\r\ne\r\n\r\n",
       "x  \r\n   \r\ny  \r\nz$a \r\n\r\n"},
      {"edited reference lines ignored", "a\n", "1\n", "EDITED\r\nnew\r\n", "new\r\n"},
      {"more pairs than text lines", "a\n", "1\n2\n", "a\r\nnew\r\nb\r\nstray\r\n", "new\r\n2\r\n"},
      {"comments only: rewritten with CR LF", ";a\n;b", "x\ny", "", "x\r\ny\r\n"},
      {"CR, LF and CR LF line ends", "a\rb\r\n;c\nd", "1\r\n2\r3\n4",
       "a\r\nA\r\nb\r\nB\r\nd\r\nD\r\n", "A\r\nB\r\n3\r\nD\r\n"},
      {"NUL bytes survive", ";c\nT\n", "c\0omment\nX\0Y\nafter\0"s, "T\r\nnew\0val\r\n"s,
       "c\0omment\r\nnew\0val\r\nafter\0\r\n"s},
  };
  for (const TInsertCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    std::string Itm = MakeComparator("game", Case.Reference, Case.Translation);
    std::string PairPath = Write("pairs.txt", Case.Pairs);
    Run.BytesExtracted = 0;
    EXPECT_EQ(Insert(Itm, PairPath), 2);
    EXPECT_EQ(Run.TargetStream, nullptr);
    std::string Got = ReadWholeFile(Dir + "/game.tr");
    EXPECT_EQ(Visible(Got), Visible(Case.Expected));
    EXPECT_EQ(Run.BytesExtracted, static_cast<std::int64_t>(Got.size()));
  }
}

// Extracting and inserting unedited pairs gives back the translation (with CR LF line ends),
// whatever blanks it ends in.
TEST_F(ItemComparatorTest, UneditedPairsRoundTrip) {
  std::string Translation =
      "head\r\nt1  \r\n   \r\n\r\nx \t \r\nfacing comment \r\nlast\r\ntail  \r\n";
  std::string Itm = MakeComparator("game", ";h\na\nb\nc\nd\ne\n;f\ng\n", Translation);
  Run.OutputDir = OutDir;
  ExtractItemComparator(Run, Itm);
  EXPECT_EQ(Insert(Itm, Run.ResultList[0]), 2);
  EXPECT_EQ(Visible(ReadWholeFile(Dir + "/game.tr")), Visible(Translation));
}

// Errors: the string list's message, a results line naming the file and the 1-based line, and
// no file touched.
struct TErrorCase {
  const char* Name;
  bool Extract;
  std::string Comparator;  // empty: the usual two lines
  std::string Reference, Translation, Pairs;
  std::string Message;   // the exception's text
  std::string Mentions;  // expected in the results line; "%D" stands for the test's folder
};

TEST_F(ItemComparatorTest, MissingLinesStopWithoutTouchingFiles) {
  const std::vector<TErrorCase> Cases = {
      {"extract: translation lacks a facing line", true, "", "a\n;c\nb\n;d\n", "x\ny\n", "",
       "List index out of bounds (2)", "Translation file %D/game.tr has no line 3"},
      {"extract: item comparator of one line", true, "only-one-line\n", "", "", "",
       "List index out of bounds (1)", "Item comparator %D/game.itm has no line 2"},
      {"insert: translation lacks a facing line", false, "", "a\nb\n;c\nd\n", "1\n2\n3\n",
       "a\r\nA\r\nb\r\nB\r\nd\r\nD\r\n", "List index out of bounds (3)",
       "Translation file %D/game.tr has no line 4"},
      {"insert: fewer pairs than text lines", false, "", "a\n;b\nc\nd\n", "1\n2\n3\n4\n",
       "a\r\nA\r\nc\r\nC\r\nd\r\n", "List index out of bounds (5)",
       "Pair file %D/pairs.txt has no line 6"},
  };
  for (const TErrorCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    View.Results.clear();
    Run.ResultList.Clear();
    std::filesystem::remove(OutDir + "/complete.txt");
    std::string Itm = MakeComparator("game", Case.Reference, Case.Translation);
    if (!Case.Comparator.empty()) Write("game.itm", Case.Comparator);
    std::string PairPath = Write("pairs.txt", Case.Pairs);
    std::string Message;
    try {
      if (Case.Extract) {
        Run.OutputDir = OutDir;
        ExtractItemComparator(Run, Itm);
      } else {
        Insert(Itm, PairPath);
      }
    } catch (const EStringListError& E) {
      Message = E.what();
    }
    EXPECT_EQ(Message, Case.Message);
    std::string Mentions = Case.Mentions;
    Mentions.replace(Mentions.find("%D"), 2, Dir);
    EXPECT_TRUE(ResultsMention(Mentions))
        << "results: " << (View.Results.empty() ? "" : View.Results[0]);
    EXPECT_EQ(Visible(ReadWholeFile(Dir + "/game.tr")), Visible(Case.Translation));
    EXPECT_FALSE(FileExists(OutDir + "/complete.txt"));
    EXPECT_EQ(Run.ResultList.Count(), 0);
  }
}

TEST_F(ItemComparatorTest, UnreadableFilesNameTheirPath) {
  std::string Itm = MakeComparator("game", "a\n", "x\n");
  Write("game.itm", Dir + "/game.ref\n" + Dir + "/nowhere.tr\n");
  Run.OutputDir = OutDir;
  try {
    ExtractItemComparator(Run, Itm);
    FAIL() << "no error";
  } catch (const EFOpenError& E) {
    EXPECT_STREQ(E.what(), ("Cannot open file " + Dir + "/nowhere.tr").c_str());
  }
  Write("game.itm", Dir + "/game.ref\n" + Dir + "/game.tr\n");
  try {
    Insert(Itm, Dir + "/no-pairs.txt");
    FAIL() << "no error";
  } catch (const EFOpenError& E) {
    EXPECT_STREQ(E.what(), ("Cannot open file " + Dir + "/no-pairs.txt").c_str());
  }
  EXPECT_EQ(ReadWholeFile(Dir + "/game.tr"), "x\n");
}

// A whole run over three item comparators (the last with paths relative to the output
// directory), then edits in every pair file and a replay of result.log: each translation file
// gets its own pairs.
TEST_F(ItemComparatorTest, SeveralComparatorsInOneRunReplayIntoTheirOwnFiles) {
  std::string First = MakeComparator("first", ";c\nhello\nbye \n", "c\nhola\nadios \n");
  std::string Second = MakeComparator("second", "yes\n", "si\n");
  WriteWholeFile(OutDir + "/third.ref", "one\n;two\n");
  WriteWholeFile(OutDir + "/third.tr", "uno\ndos\n");
  std::string Third = Write("third.itm", "third.ref\nthird.tr\n");

  TBatchRun Batch(Run);
  TSourceList Sources;
  Sources.SourceFormat = sfItemComparator;
  Sources.Entries = {First, Second, Third};
  Batch.Execute(Sources);

  const std::string Pairs1 = OutDir + "/complete.txt", Pairs2 = OutDir + "/complete(2).txt",
                    Pairs3 = OutDir + "/complete(3).txt";
  EXPECT_EQ(ReadWholeFile(OutDir + "/result.log"),
            "#Format: ITM\r\n#Source: " + First + "\r\n" + Pairs1 +
                "\r\n#Format: ITM\r\n#Source: " + Second + "\r\n" + Pairs2 +
                "\r\n#Format: ITM\r\n#Source: " + Third + "\r\n" + Pairs3 + "\r\n");
  EXPECT_EQ(ReadWholeFile(Pairs1), "hello\r\nhola\r\nbye$\r\nadios$\r\n");
  EXPECT_EQ(ReadWholeFile(Pairs2), "yes\r\nsi\r\n");
  EXPECT_EQ(ReadWholeFile(Pairs3), "one\r\nuno\r\n");
  EXPECT_EQ(Run.BytesExtracted,
            static_cast<std::int64_t>(ReadWholeFile(Pairs1).size() + ReadWholeFile(Pairs2).size() +
                                      ReadWholeFile(Pairs3).size()));

  WriteWholeFile(Pairs1, "hello\r\nHALLO\r\nbye$\r\nTSCHUESS$$\r\n");
  WriteWholeFile(Pairs2, "yes\r\nJA\r\n");
  WriteWholeFile(Pairs3, "one\r\nEINS\r\n");
  // The replay runs with another output directory; the third comparator's relative paths
  // resolve against it, so that is where its files must be.
  SetCurrentDir(SavedDir);
  View.OutDir = Dir;
  WriteWholeFile(Dir + "/third.ref", "one\n;two\n");
  WriteWholeFile(Dir + "/third.tr", "uno\ndos\n");
  Sources.SourceFormat = sfLog;
  Sources.Entries = {OutDir + "/result.log"};
  Batch.Execute(Sources);

  EXPECT_EQ(ReadWholeFile(Dir + "/first.tr"), "c\r\nHALLO\r\nTSCHUESS  \r\n");
  EXPECT_EQ(ReadWholeFile(Dir + "/second.tr"), "JA\r\n");
  EXPECT_EQ(ReadWholeFile(Dir + "/third.tr"), "EINS\r\ndos\r\n");
  EXPECT_EQ(ReadWholeFile(OutDir + "/third.tr"), "uno\ndos\n");

  // A new run hands out "complete.txt" again.
  View.OutDir = OutDir;
  Sources.SourceFormat = sfItemComparator;
  Sources.Entries = {Second};
  Batch.Execute(Sources);
  EXPECT_EQ(ReadWholeFile(OutDir + "/result.log"),
            "#Format: ITM\r\n#Source: " + Second + "\r\n" + Pairs1 + "\r\n");
}

}  // namespace
