// Item comparator extraction and insertion over a reference file and a translation file of
// 1,000,000 lines each (comments, empty lines, trailing blanks, CR LF line ends), next to
// `awk` doing the same pairing on the same files: the tool a user would otherwise reach for.
// The handlers should beat awk on both.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "formats/FormatHandlers.h"
#include "formats/RunView.h"
#include "platform/Files.h"

namespace {

constexpr int LineCount = 1000000;

// The shared files, made once: Dir/game.itm, game.ref, game.tr, and Dir/out for the pairs.
struct TBenchFiles {
  std::string Dir, OutDir, Itm, Ref, Trans, Pairs;

  TBenchFiles() {
    char Template[] = "/tmp/itmbench.XXXXXX";
    if (!::mkdtemp(Template)) std::abort();
    Dir = Template;
    OutDir = Dir + "/out";
    ForceDirectories(OutDir);
    Ref = Dir + "/game.ref";
    Trans = Dir + "/game.tr";
    Itm = Dir + "/game.itm";
    Pairs = OutDir + "/complete.txt";
    std::string R, T;
    R.reserve(LineCount * 40);
    T.reserve(LineCount * 40);
    for (int I = 0; I < LineCount; ++I) {
      std::string N = std::to_string(I);
      if (I % 10 == 0) {
        R += "; section " + N + "\r\n";
        T += "; raz" + N + "\r\n";
      } else if (I % 17 == 0) {
        R += "\r\n";
        T += "\r\n";
      } else if (I % 5 == 0) {
        R += "Item " + N + " of the shop   \r\n";
        T += "Predmet " + N + " v lavke  \r\n";
      } else {
        R += "Sword of the eastern gate, level " + N + "\r\n";
        T += "Mech vostochnykh vorot, uroven " + N + "\r\n";
      }
    }
    WriteWholeFile(Ref, R);
    WriteWholeFile(Trans, T);
    WriteWholeFile(Itm, Ref + "\r\n" + Trans + "\r\n");
  }
  ~TBenchFiles() { std::filesystem::remove_all(Dir); }
};

TBenchFiles& Files() {
  static TBenchFiles Shared;
  return Shared;
}

// Shell-quotes a path for std::system.
std::string Quote(const std::string& Path) { return "'" + Path + "'"; }

void RunShell(benchmark::State& State, const std::string& Command) {
  if (std::system(Command.c_str()) != 0) State.SkipWithError(("failed: " + Command).c_str());
}

void BM_ItemComparatorExtract(benchmark::State& State) {
  TBenchFiles& F = Files();
  TNullRunView View;
  TRunContext Run(View);
  Run.OutputDir = F.OutDir;
  for (auto _ : State) {
    Run.ResultList.Clear();
    Run.NamesInRun.clear();
    ExtractItemComparator(Run, F.Itm);
  }
}
BENCHMARK(BM_ItemComparatorExtract)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same pairing in awk: reference lines into an array, then each translation line facing a
// text line printed after it, trailing blanks as "$", CR LF after each line.
constexpr const char* AwkExtract =
    R"(function mark(s,  t) { if (match(s, / +$/)) { t = substr(s, RSTART); gsub(/ /, "$", t); )"
    R"(s = substr(s, 1, RSTART - 1) t }; return s } )"
    R"(NR == FNR { r[FNR] = $0; next } )"
    R"(substr(r[FNR], 1, 1) != ";" && (FNR in r) { print mark(r[FNR]); print mark($0) })";

void BM_AwkExtract(benchmark::State& State) {
  TBenchFiles& F = Files();
  std::string Out = F.OutDir + "/awk-complete.txt";
  std::string Command = std::string("awk -v RS='\\r\\n' -v ORS='\\r\\n' '") + AwkExtract + "' " +
                        Quote(F.Ref) + " " + Quote(F.Trans) + " > " + Quote(Out);
  for (auto _ : State) RunShell(State, Command);
}
BENCHMARK(BM_AwkExtract)->Unit(benchmark::kMillisecond)->UseRealTime();

// Insertion of unedited pairs: the translation file is read, patched and replaced each time.
void BM_ItemComparatorInsert(benchmark::State& State) {
  TBenchFiles& F = Files();
  TNullRunView View;
  TRunContext Run(View);
  Run.OutputDir = F.OutDir;
  ExtractItemComparator(Run, F.Itm);
  Run.ReplayList.Add(F.Pairs);
  Run.TargetPath = F.Itm;
  for (auto _ : State) InsertItemComparator(Run, 0);
}
BENCHMARK(BM_ItemComparatorInsert)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same insertion in awk: which lines are text, the second line of every pair, then the
// translation file with each text line replaced (trailing "$" back to blanks), written to a
// temporary file and renamed over the translation file.
constexpr const char* AwkInsert =
    R"(function unmark(s,  t) { if (match(s, /\$+$/)) { t = substr(s, RSTART); gsub(/\$/, " ", t); )"
    R"(s = substr(s, 1, RSTART - 1) t }; return s } )"
    R"(FILENAME == ARGV[1] { text[FNR] = substr($0, 1, 1) != ";"; next } )"
    R"(FILENAME == ARGV[2] { if (FNR % 2 == 0) p[++n] = $0; next } )"
    R"(text[FNR] { print unmark(p[++j]); next } { print })";

void BM_AwkInsert(benchmark::State& State) {
  TBenchFiles& F = Files();
  TNullRunView View;
  TRunContext Run(View);
  Run.OutputDir = F.OutDir;
  ExtractItemComparator(Run, F.Itm);
  std::string Temp = F.Trans + ".awk";
  std::string Command = std::string("awk -v RS='\\r\\n' -v ORS='\\r\\n' '") + AwkInsert + "' " +
                        Quote(F.Ref) + " " + Quote(F.Pairs) + " " + Quote(F.Trans) + " > " +
                        Quote(Temp) + " && mv " + Quote(Temp) + " " + Quote(F.Trans);
  for (auto _ : State) RunShell(State, Command);
}
BENCHMARK(BM_AwkInsert)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
