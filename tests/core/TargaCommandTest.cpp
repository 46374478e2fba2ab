// The command-line tool's "tga" command, run as the real program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "components/Targa.h"

namespace fs = std::filesystem;

namespace {

struct TRun {
  int Status;
  std::string Output;  // standard output and error together
};

TRun RunCli(const std::string& Arguments) {
  const std::string Command = std::string(BRINDLECAST_CLI) + " " + Arguments + " 2>&1";
  TRun Run{-1, {}};
  if (FILE* Pipe = ::popen(Command.c_str(), "r")) {
    char Buffer[4096];
    std::size_t N;
    while ((N = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0) Run.Output.append(Buffer, N);
    const int Raw = ::pclose(Pipe);
    Run.Status = WIFEXITED(Raw) ? WEXITSTATUS(Raw) : -1;
  }
  return Run;
}

class TgaCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("brindlecast-tga-cli-" + std::to_string(::getpid()));
    fs::create_directories(Dir);
    // A 2 x 1 picture at 24 bits whose file was written without a footer.
    const std::vector<std::uint8_t> File = {0, 0, 2, 0, 0,  0, 0, 0, 0, 0, 0, 0,
                                            2, 0, 1, 0, 24, 0, 1, 2, 3, 4, 5, 6};
    In = (Dir / "in.tga").string();
    std::ofstream(In, std::ios::binary).write(reinterpret_cast<const char*>(File.data()), 24);
  }
  void TearDown() override { fs::remove_all(Dir); }

  fs::path Dir;
  std::string In;
};

TEST_F(TgaCommand, InfoShowsTheHeaderAndTheFooter) {
  TRun Run = RunCli("tga info " + In);
  EXPECT_EQ(Run.Status, 0) << Run.Output;
  EXPECT_NE(Run.Output.find("Width: 2\n"), std::string::npos) << Run.Output;
  EXPECT_NE(Run.Output.find("Height: 1\n"), std::string::npos) << Run.Output;
  EXPECT_NE(Run.Output.find("Pixel depth: 24\n"), std::string::npos) << Run.Output;
  EXPECT_NE(Run.Output.find("Footer: none\n"), std::string::npos) << Run.Output;
}

TEST_F(TgaCommand, SwapRbExchangesRedAndBlueAndWritesTheFooter) {
  const std::string Out = (Dir / "out.tga").string();
  TRun Run = RunCli("tga swap-rb " + In + " " + Out);
  ASSERT_EQ(Run.Status, 0) << Run.Output;
  TTarga T;
  T.LoadFromFile(Out);
  ASSERT_NE(T.GetScanLine(0), nullptr);
  EXPECT_EQ(std::vector<std::uint8_t>(T.GetScanLine(0), T.GetScanLine(0) + 6),
            (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4}));
  EXPECT_EQ(T.HeaderBytes()[17], 8);

  Run = RunCli("tga info " + Out);
  EXPECT_NE(Run.Output.find("Footer: present"), std::string::npos) << Run.Output;
}

TEST_F(TgaCommand, SwapRbRefusesWhatItCannotKeepAndTurnsTopFirstRows) {
  const std::string Out = (Dir / "out.tga").string();
  struct TCase {
    std::uint8_t IdLength, ColourMapType, ImageType, Descriptor;
    int Status;
  };
  for (const TCase& Case :
       std::initializer_list<TCase>{{0, 0, 10, 0, 1},       // run-length data
                                    {3, 0, 2, 0, 1},        // an ID field
                                    {0, 1, 2, 0, 1},        // a colour map
                                    {0, 0, 2, 0x10, 1},     // right to left
                                    {0, 0, 2, 0x20, 0}}) {  // top row first: turned round
    // A 1 x 2 picture at 24 bits: top row 1 2 3, bottom row 4 5 6 when stored top first.
    std::vector<std::uint8_t> File = {Case.IdLength,
                                      Case.ColourMapType,
                                      Case.ImageType,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      1,
                                      0,
                                      2,
                                      0,
                                      24,
                                      Case.Descriptor,
                                      1,
                                      2,
                                      3,
                                      4,
                                      5,
                                      6};
    const std::string Source = (Dir / "case.tga").string();
    std::ofstream(Source, std::ios::binary)
        .write(reinterpret_cast<const char*>(File.data()), std::streamsize(File.size()));
    fs::remove(Out);
    TRun Run = RunCli("tga swap-rb " + Source + " " + Out);
    EXPECT_EQ(Run.Status, Case.Status) << int(Case.ImageType) << " " << Run.Output;
    if (Case.Status != 0) {
      EXPECT_FALSE(fs::exists(Out));
      continue;
    }
    // Saved with a bottom-left origin: the bottom row (4 5 6) comes first in the file, swapped.
    std::ifstream Saved(Out, std::ios::binary);
    std::vector<char> Bytes((std::istreambuf_iterator<char>(Saved)),
                            std::istreambuf_iterator<char>());
    ASSERT_GE(Bytes.size(), 24u);
    EXPECT_EQ(std::vector<char>(Bytes.begin() + 18, Bytes.begin() + 24),
              (std::vector<char>{6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(Bytes[17], 8);
  }
}

TEST_F(TgaCommand, ErrorsAndWrongArguments) {
  const std::string Missing = (Dir / "missing.tga").string();
  TRun Run = RunCli("tga info " + Missing);
  EXPECT_EQ(Run.Status, 1);
  EXPECT_NE(Run.Output.find("Cannot open file " + Missing), std::string::npos) << Run.Output;
  Run = RunCli("tga swap-rb " + In);
  EXPECT_EQ(Run.Status, 2);
  EXPECT_NE(Run.Output.find("usage:"), std::string::npos) << Run.Output;
}

}  // namespace
