// Extraction and insertion of a generated image resource pack (512 images of mixed depth, 64
// palettes of each kind), next to the floor any tool pays: `split` writing the same number of
// bytes into the same number of files in the same directory.
//
// Targets: extraction within 1.5 x of that floor, insertion within 2 x. Each benchmark reports
// its throughput and its ratio to the floor as the counter "x_split".

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "formats/FormatHandlers.h"
#include "formats/ImagePack.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

constexpr int Images = 512;
constexpr int Palettes = 64;

struct TBenchPack {
  fs::path Dir;
  std::string List;
  std::vector<std::string> Bitmaps;  // extraction's result lines
  std::int64_t OutputBytes = 0;      // bytes one extraction writes
  std::int64_t OutputFiles = 0;
  // The floor: split over the same bytes and file count, into an empty directory and over
  // the files of an earlier split (replacing files costs the file system more).
  double SplitSeconds = 0;
  double SplitOverSeconds = 0;

  TBenchPack() {
    Dir = fs::temp_directory_path() / ("brindle-bench-" + std::to_string(::getpid()));
    fs::create_directories(Dir / "out");
    fs::create_directories(Dir / "split");
    std::mt19937 Random(42);
    std::string Depths;
    std::int64_t ImageBytes = 0;
    for (int K = 0; K < Images; ++K) {
      Depths += (Random() & 1) ? '8' : '4';
      ImageBytes += Depths.back() == '8' ? 65536 : 32768;
    }
    std::string Pack(
        PackHeaderSize + Palettes * (Palette16RecordSize + Palette256RecordSize) + ImageBytes,
        '\0');
    for (std::size_t I = PackHeaderSize; I < Pack.size(); ++I)
      Pack[I] = static_cast<char>(Random());
    auto Put = [&](int Word, std::uint32_t V) {
      for (int B = 0; B < 4; ++B) Pack[4 * Word + B] = static_cast<char>(V >> (8 * B));
    };
    Put(0, Palettes);
    Put(1, Palettes);
    Put(2, Images);
    Put(4, PackHeaderSize);
    Put(5, PackHeaderSize + Palettes * Palette16RecordSize);
    Put(6, PackHeaderSize + Palettes * (Palette16RecordSize + Palette256RecordSize));
    const std::string PackPath = (Dir / "bench.pak").string();
    WriteWholeFile(PackPath, Pack);
    std::string ListText = PackPath + "\r\n";
    for (char D : Depths) ListText += std::string(1, D) + "\r\n";
    List = (Dir / "bench.irl").string();
    WriteWholeFile(List, ListText);

    // One extraction gives the bitmaps insertion reads and the figures the floor needs.
    TNullRunView View;
    TRunContext Run(View);
    Run.OutputDir = (Dir / "out").string();
    ExtractImageList(Run, List);
    Bitmaps = Run.ResultList.Items();
    OutputBytes = Run.BytesExtracted;
    OutputFiles = Run.FilesExtracted;

    // The floor: split writes the same bytes into the same number of files.
    const std::string Input = (Dir / "split.in").string();
    WriteWholeFile(Input, std::string(static_cast<std::size_t>(OutputBytes), 'x'));
    const std::int64_t Chunk = (OutputBytes + OutputFiles - 1) / OutputFiles;
    const std::string Command = "cd '" + (Dir / "split").string() + "' && split -a 4 -b " +
                                std::to_string(Chunk) + " '" + Input + "' part";
    SplitSeconds = SplitOverSeconds = 1e9;
    const std::string Clear =
        "rm -rf '" + (Dir / "split").string() + "' && mkdir '" + (Dir / "split").string() + "'";
    for (int Try = 0; Try < 5; ++Try) {
      if (std::system(Clear.c_str()) != 0) std::abort();
      for (double* Best : {&SplitSeconds, &SplitOverSeconds}) {
        auto Start = std::chrono::steady_clock::now();
        if (std::system(Command.c_str()) != 0) std::abort();
        *Best = std::min(
            *Best, std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count());
      }
    }
    std::printf(
        "pack: %d images, %d + %d palettes; one extraction writes %lld bytes in %lld files; "
        "split -b %lld into as many files: %.2f ms (over existing files: %.2f ms)\n",
        Images, Palettes, Palettes, static_cast<long long>(OutputBytes),
        static_cast<long long>(OutputFiles), static_cast<long long>(Chunk), SplitSeconds * 1e3,
        SplitOverSeconds * 1e3);
  }
  ~TBenchPack() {
    std::error_code Ignored;
    fs::remove_all(Dir, Ignored);
  }
};

TBenchPack& Pack() {
  static TBenchPack Instance;
  return Instance;
}

void ReportAgainstSplit(benchmark::State& State, double Seconds, std::int64_t BytesPerIteration,
                        bool OverExisting = false) {
  State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) * BytesPerIteration);
  State.counters["MB/s"] = benchmark::Counter(static_cast<double>(BytesPerIteration) / 1e6 *
                                              static_cast<double>(State.iterations()) / Seconds);
  State.counters["x_split"] = Seconds / static_cast<double>(State.iterations()) /
                              (OverExisting ? Pack().SplitOverSeconds : Pack().SplitSeconds);
}

void BM_ExtractImageList(benchmark::State& State) {
  TBenchPack& P = Pack();
  TNullRunView View;
  TRunContext Run(View);
  Run.OutputDir = (P.Dir / "out").string();
  double Seconds = 0;
  for (auto _ : State) {
    auto Start = std::chrono::steady_clock::now();
    Run.BeginRun();
    Run.ResultList.Clear();
    ExtractImageList(Run, P.List);
    Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  }
  ReportAgainstSplit(State, Seconds, P.OutputBytes, true);
}

// The same into an empty directory each time: no earlier file to replace.
void BM_ExtractImageListFresh(benchmark::State& State) {
  TBenchPack& P = Pack();
  TNullRunView View;
  TRunContext Run(View);
  double Seconds = 0;
  for (auto _ : State) {
    State.PauseTiming();
    std::error_code Ignored;
    fs::remove_all(P.Dir / "fresh", Ignored);
    fs::create_directories(P.Dir / "fresh");
    Run.OutputDir = (P.Dir / "fresh").string();
    State.ResumeTiming();
    auto Start = std::chrono::steady_clock::now();
    Run.BeginRun();
    Run.ResultList.Clear();
    ExtractImageList(Run, P.List);
    Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  }
  ReportAgainstSplit(State, Seconds, P.OutputBytes);
}

void BM_InsertImageList(benchmark::State& State) {
  TBenchPack& P = Pack();
  TNullRunView View;
  TRunContext Run(View);
  Run.ReplayList.Items() = P.Bitmaps;
  double Seconds = 0;
  for (auto _ : State) {
    auto Start = std::chrono::steady_clock::now();
    Run.TargetPath = P.List;
    benchmark::DoNotOptimize(InsertImageList(Run, 0));
    Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  }
  // Insertion reads the bitmaps extraction wrote (not the colour tables) and writes their
  // records back.
  ReportAgainstSplit(State, Seconds, P.OutputBytes - 2 * Palettes * 768);
}

}  // namespace

BENCHMARK(BM_ExtractImageList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExtractImageListFresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InsertImageList)->Unit(benchmark::kMillisecond)->UseRealTime();
