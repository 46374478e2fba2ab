// Item comparators: extraction of reference/translation pairs and insertion of edited
// translations.
//
// Files involved (all 8-bit text, read with the string list's line rules: a line ends at
// CR LF, LF or a lone CR; every byte, NUL included, is kept):
//
//   game.itm         line 1: path of the reference file
//                    line 2: path of the translation file
//                    further lines: ignored
//                    Both paths are used as written; a relative one resolves against the
//                    current directory, which a run sets to its output directory.
//   reference file   a line whose first byte is ";" is a comment; every other line (an empty
//                    one included) is a text line.
//   translation file line k faces line k of the reference file, comments counted. Lines that
//                    face comments, and lines past the reference file's end, are never used
//                    and come back unchanged on insertion.
//   pair file        for each text line of the reference file, in order: the reference line,
//                    then the translation line facing it, each with its trailing blanks shown
//                    as "$" (one "$" per blank, so the line keeps its length). Lines end with
//                    CR LF. Insertion reads only the second line of each pair and turns its
//                    trailing "$" back into blanks.
//
// Pair file names: the first item comparator of a run writes "complete.txt" into the output
// directory; the n-th one of the same run (n >= 2) writes "complete(n).txt". Each block of
// the result log names its own pair file, so a replay never writes the pairs of one source
// into the translation file of another.

#include <algorithm>
#include <string_view>

#include "formats/FormatHandlers.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Streams.h"
#include "platform/StringList.h"

namespace {

// Key under which the run counts the pair files it has handed out.
constexpr const char* PairNameKey = "itm:complete";

// "complete.txt" for the first item comparator of a run, "complete(n).txt" for the n-th.
std::string NextPairFileName(TRunContext& Run) {
  int Used = Run.NamesInRun[PairNameKey]++;
  return Used == 0 ? std::string("complete.txt") : "complete(" + std::to_string(Used + 1) + ").txt";
}

// Called when List has no line Index: the results pane first says which file lacks which
// line (Why tells what the line was needed for), then EStringListError
// ("List index out of bounds (%d)") is raised as the string list raises it.
[[noreturn]] void ReportMissingLine(TRunContext& Run, long long Index, const std::string& File,
                                    const std::string& Why) {
  Run.AddResult(File + " has no line " + std::to_string(Index + 1) + " (" + Why + ").");
  throw EStringListError(Index);
}

// Line Index of List, or ReportMissingLine.
const std::string& LineOf(TRunContext& Run, const TStringList& List, long long Index,
                          const std::string& File, const std::string& Why) {
  if (Index < 0 || Index >= List.Count()) ReportMissingLine(Run, Index, File, Why);
  return List[static_cast<std::size_t>(Index)];
}

bool IsComment(const std::string& Line) { return !Line.empty() && Line[0] == ';'; }

// The two files an item comparator names.
struct TComparedFiles {
  std::string ReferencePath;
  std::string TranslationPath;
  TStringList Reference;
  TStringList Translation;
};

// Reads the item comparator at Path and the reference and translation files it names.
// Throws EFOpenError for a file that cannot be read, EStringListError for a missing path line.
void LoadCompared(TRunContext& Run, const std::string& Path, TComparedFiles& Files) {
  TStringList Comparator;
  Comparator.LoadFromFile(Path);
  Files.ReferencePath =
      LineOf(Run, Comparator, 0, "Item comparator " + Path, "the reference file's path");
  Files.TranslationPath =
      LineOf(Run, Comparator, 1, "Item comparator " + Path, "the translation file's path");
  Files.Reference.LoadFromFile(Files.ReferencePath);
  Files.Translation.LoadFromFile(Files.TranslationPath);
}

// Makes sure the translation file has a line facing every text line of the reference file.
void CheckTranslationCoversText(TRunContext& Run, const TComparedFiles& Files) {
  const std::vector<std::string>& Reference = Files.Reference.Items();
  for (int K = Files.Translation.Count(); K < Files.Reference.Count(); ++K) {
    if (IsComment(Reference[static_cast<std::size_t>(K)])) continue;
    ReportMissingLine(
        Run, K, "Translation file " + Files.TranslationPath,
        "facing line " + std::to_string(K + 1) + " of reference file " + Files.ReferencePath);
  }
}

// Writes Line, each trailing blank replaced by "$", and CR LF.
void WriteMarked(TFileWriter& Writer, const std::string& Line) {
  std::size_t Kept = Line.size();
  while (Kept > 0 && Line[Kept - 1] == ' ') --Kept;
  static constexpr char Marks[] = "$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$";
  constexpr std::size_t MarksSize = sizeof Marks - 1;
  Writer.Write(Line.data(), Kept);
  for (std::size_t Left = Line.size() - Kept; Left > 0;) {
    std::size_t N = std::min(Left, MarksSize);
    Writer.Write(Marks, N);
    Left -= N;
  }
  Writer.Write("\r\n", 2);
}

// Line with every trailing "$" turned back into a blank.
void UnmarkTrailing(std::string& Line) {
  for (std::size_t I = Line.size(); I > 0 && Line[I - 1] == '$'; --I) Line[I - 1] = ' ';
}

}  // namespace

// Writes the pairs of the item comparator at Path into the output directory and adds the pair
// file's path to the result log. Throws EFOpenError for a file that cannot be read,
// EStringListError when the item comparator lacks a path line or the translation file lacks a
// line facing a text line (the results pane then names the file and the line), EFCreateError
// when the pair file cannot be written. On any error no pair file is written and no entry line
// added.
void ExtractItemComparator(TRunContext& Run, const std::string& Path) {
  TComparedFiles Files;
  LoadCompared(Run, Path, Files);
  CheckTranslationCoversText(Run, Files);

  std::string PairPath = JoinPath(Run.OutputDir, NextPairFileName(Run));
  TFileWriter Writer(PairPath);
  const std::vector<std::string>& Reference = Files.Reference.Items();
  const std::vector<std::string>& Translation = Files.Translation.Items();
  for (std::size_t K = 0; K < Reference.size(); ++K) {
    if (IsComment(Reference[K])) continue;
    WriteMarked(Writer, Reference[K]);
    WriteMarked(Writer, Translation[K]);
  }
  std::int64_t Bytes = Writer.Size();
  Writer.Commit();
  Run.NoteFileWritten(Bytes);
  Run.ResultList.Add(PairPath);
}

// Puts the translations of the pair file named by ReplayList line Index back into the
// translation file of the item comparator at TargetPath, and returns Index + 1. Throws
// EFOpenError for a file that cannot be read, EStringListError when the log, the item
// comparator, the pair file or the translation file lacks a line it needs (the results pane
// then names the file and the line), EFCreateError when the translation file cannot be
// replaced. The translation file is replaced through a temporary file and only once every
// line is in place, so on any error it stays as it was.
int InsertItemComparator(TRunContext& Run, int Index) {
  // The item comparator cannot be read by name while the replay holds it open.
  Run.ReleaseTarget();

  TComparedFiles Files;
  LoadCompared(Run, Run.TargetPath, Files);
  std::string PairPath =
      LineOf(Run, Run.ReplayList, Index, "The result log", "the pair file of " + Run.TargetPath);
  TStringList Pairs;
  Pairs.LoadFromFile(PairPath);

  std::vector<std::string>& Translation = Files.Translation.Items();
  const std::vector<std::string>& Reference = Files.Reference.Items();
  std::vector<std::string>& PairLines = Pairs.Items();
  int J = 0;
  for (std::size_t K = 0; K < Reference.size(); ++K) {
    if (IsComment(Reference[K])) continue;
    if (J + 1 >= Pairs.Count())
      ReportMissingLine(Run, J + 1, "Pair file " + PairPath,
                        "the translation of line " + std::to_string(K + 1) + " of reference file " +
                            Files.ReferencePath);
    if (K >= Translation.size())
      ReportMissingLine(
          Run, static_cast<long long>(K), "Translation file " + Files.TranslationPath,
          "facing line " + std::to_string(K + 1) + " of reference file " + Files.ReferencePath);
    std::string& Line = PairLines[static_cast<std::size_t>(J + 1)];
    UnmarkTrailing(Line);
    Translation[K] = std::move(Line);
    J += 2;
  }

  std::int64_t Bytes = 0;
  for (const std::string& Line : Translation) Bytes += static_cast<std::int64_t>(Line.size()) + 2;
  Files.Translation.SaveToFile(Files.TranslationPath);
  Run.NoteFileWritten(Bytes);
  return Index + 1;
}
