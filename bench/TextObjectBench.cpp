// The INI-style text object on files of numbered blocks (100,000 blocks is about 5 MB):
// loading the file into memory, next to opening it with the text object (load, scan and block
// index) and to opening it and reading every block to the end. The read grows in proportion
// to the file (compare the 10,000 and 100,000 block runs); the target for the whole read is
// within 5 x the load of the 100,000 block file.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "components/TextObject.h"
#include "include/SharedConstants.h"
#include "platform/Files.h"

namespace {

// Writes a file of BlockTotal blocks once per process and returns its path.
const std::string& IniFile(int BlockTotal) {
  static std::map<int, std::string> Files;
  auto Known = Files.find(BlockTotal);
  if (Known != Files.end()) return Known->second;
  std::string File =
      (std::filesystem::temp_directory_path() / ("brindlecast-bench-" + std::to_string(::getpid()) +
                                                 "-" + std::to_string(BlockTotal) + ".ini"))
          .string();
  std::string Bytes;
  Bytes.reserve(static_cast<std::size_t>(BlockTotal) * 52);
  for (int K = 0; K < BlockTotal; ++K) {
    Bytes += "[0x" + IntToHex(static_cast<unsigned>(K), 8) + "]\r\n";
    Bytes += "Text number " + std::to_string(K) + " of the menu,\r\nline two\r\n";
  }
  WriteWholeFile(File, Bytes);
  if (Files.empty())
    std::atexit([] {
      for (const auto& [Count, Path] : Files) std::filesystem::remove(Path);
    });
  return Files[BlockTotal] = File;
}

void PrepareReader(TTextObject& Object, const std::string& Path) {
  Object.TextStyle = IniStyle;
  Object.LinuxFormat = true;  // as the main window's instance reads
  Object.FileName = Path;
}

void BM_IniLoadFile(benchmark::State& State) {
  const std::string& Path = IniFile(static_cast<int>(State.range(0)));
  for (auto _ : State) {
    std::string Bytes = ReadWholeFile(Path);
    benchmark::DoNotOptimize(Bytes.data());
  }
  State.SetBytesProcessed(State.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(Path)));
}
BENCHMARK(BM_IniLoadFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_IniOpen(benchmark::State& State) {
  const std::string& Path = IniFile(static_cast<int>(State.range(0)));
  for (auto _ : State) {
    TTextObject Object(nullptr);
    PrepareReader(Object, Path);
    benchmark::DoNotOptimize(Object.New(omRead, 0));
  }
  State.SetBytesProcessed(State.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(Path)));
}
BENCHMARK(BM_IniOpen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_IniReadAllBlocks(benchmark::State& State) {
  const int BlockTotal = static_cast<int>(State.range(0));
  const std::string& Path = IniFile(BlockTotal);
  for (auto _ : State) {
    TTextObject Object(nullptr);
    PrepareReader(Object, Path);
    Object.New(omRead, 0);
    std::size_t Read = 0;
    for (std::string Text = Object.Read(); Text != MarkOutOfText; Text = Object.Read())
      Read += Text.size();
    benchmark::DoNotOptimize(Read);
    if (Object.Position != BlockTotal) State.SkipWithError("not every block was read");
  }
  State.SetBytesProcessed(State.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(Path)));
}
BENCHMARK(BM_IniReadAllBlocks)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
