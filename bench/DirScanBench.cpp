// The directory scan against find(1) on the same generated tree: 5,000 directories and 50,000
// files, one file in ten an image resource list. The scan should stay within 1.5 x of
// `find DIR -iname '*.irl'`.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/core/DirScan.h"

namespace {

constexpr int TopDirs = 50;
constexpr int SubDirsEach = 99;  // 50 + 50 * 99 = 5,000 directories
constexpr int FilesEach = 10;    // 50,000 files, one .irl in each directory

// The tree, made on first use and removed when the program ends.
class TBenchTree {
 public:
  TBenchTree() {
    char Template[] = "/tmp/brindlecast-dirscan-XXXXXX";
    if (!::mkdtemp(Template)) std::abort();
    Root = Template;
    for (int T = 0; T < TopDirs; ++T) {
      std::string Top = Root + "/pack" + std::to_string(T);
      Fill(Top);
      for (int S = 0; S < SubDirsEach; ++S) Fill(Top + "/set" + std::to_string(S));
    }
  }
  ~TBenchTree() {
    std::error_code Ignored;
    std::filesystem::remove_all(Root, Ignored);
  }
  std::string Root;
  int Directories = 0;

 private:
  void Fill(const std::string& Dir) {
    std::filesystem::create_directory(Dir);
    ++Directories;
    for (int F = 0; F < FilesEach; ++F) {
      // Names as games ship them: the list in upper case every other directory.
      std::string Name = F == 0 ? (Directories % 2 ? "MENU.IRL" : "menu.irl")
                                : "image" + std::to_string(F) + (F % 2 ? ".bmp" : ".act");
      std::ofstream(Dir + "/" + Name);
    }
  }
};

const TBenchTree& Tree() {
  static TBenchTree Instance;
  return Instance;
}

void BM_ScanDirectory(benchmark::State& State) {
  const std::string& Root = Tree().Root;
  std::size_t Found = 0;
  for (auto _ : State) {
    std::vector<std::string> Paths;
    ScanDirectory(Root, "*.irl", Paths);
    Found = Paths.size();
    benchmark::DoNotOptimize(Paths.data());
  }
  if (Found != 5000) State.SkipWithError("the scan did not find the 5,000 lists");
  State.counters["found"] = static_cast<double>(Found);
}
BENCHMARK(BM_ScanDirectory)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindIname(benchmark::State& State) {
  const std::string Command = "find " + Tree().Root + " -iname '*.irl' > /dev/null";
  for (auto _ : State)
    if (std::system(Command.c_str()) != 0) State.SkipWithError("find failed");
}
BENCHMARK(BM_FindIname)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
