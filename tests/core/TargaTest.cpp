// The Targa component: its header state, its picture operations and its TGA files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <vector>

#include "components/FormDescription.h"
#include "components/Registry.h"
#include "components/Targa.h"
#include "platform/Errors.h"

namespace fs = std::filesystem;

namespace {

using TBytes = std::vector<std::uint8_t>;

class TargaFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string Name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(Name.begin(), Name.end(), '/', '_');
    Dir = fs::temp_directory_path() /
          ("brindlecast-targa-" + std::to_string(::getpid()) + "-" + Name);
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }

  std::string PathOf(const std::string& Name) const { return (Dir / Name).string(); }

  static TBytes ReadAll(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(In), {});
  }
  std::string WriteFile(const std::string& Name, const TBytes& Bytes) const {
    std::string Path = PathOf(Name);
    std::ofstream Out(Path, std::ios::binary);
    Out.write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
    return Path;
  }

  fs::path Dir;
};

// An 18-byte header with the given size and depth and otherwise the component's defaults.
TBytes MakeHeader(unsigned Width, unsigned Height, unsigned Depth, unsigned Descriptor = 0) {
  TBytes H(18, 0);
  H[2] = 2;
  H[12] = std::uint8_t(Width);
  H[13] = std::uint8_t(Width >> 8);
  H[14] = std::uint8_t(Height);
  H[15] = std::uint8_t(Height >> 8);
  H[16] = std::uint8_t(Depth);
  H[17] = std::uint8_t(Descriptor);
  return H;
}

// Fills every picture row with bytes from a seeded generator; returns them row by row.
TBytes FillPicture(TTargaBitmap& Picture, unsigned Seed) {
  std::mt19937 Random(Seed);
  TBytes All;
  for (int Y = 0; Y < Picture.Height(); ++Y) {
    std::uint8_t* Row = Picture.ScanLine(Y);
    for (std::size_t I = 0; I < Picture.RowBytes(); ++I) Row[I] = std::uint8_t(Random());
    All.insert(All.end(), Row, Row + Picture.RowBytes());
  }
  return All;
}

TBytes PictureBytes(const TTargaBitmap& Picture) {
  TBytes All;
  for (int Y = 0; Y < Picture.Height(); ++Y) {
    const std::uint8_t* Row = Picture.ScanLine(Y);
    if (Row) All.insert(All.end(), Row, Row + Picture.RowBytes());
  }
  return All;
}

}  // namespace

TEST(Targa, FreshComponentHoldsDefaultHeaderFooterAndNoPicture) {
  TTarga T;
  EXPECT_EQ(T.Width(), 256);
  EXPECT_EQ(T.Height(), 256);
  EXPECT_EQ(T.GetDepth(), 32);
  EXPECT_FALSE(T.ResetImage);
  EXPECT_EQ(T.Picture(), nullptr);
  EXPECT_EQ(T.Canvas(), nullptr);
  EXPECT_EQ(T.GetScanLine(0), nullptr);
  T.ReverseColors();  // without a picture: nothing

  const std::array<std::uint8_t, 18> Header{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 32, 0};
  EXPECT_EQ(T.HeaderBytes(), Header);
  std::array<std::uint8_t, 26> Footer{};
  std::memcpy(Footer.data() + 8, "TRUEVISION-XFILE.", 18);
  EXPECT_EQ(T.FooterBytes(), Footer);
}

TEST(Targa, WidthAndHeightChangeOnlyWhileAPictureExists) {
  TTarga T;
  T.SetWidth(100);
  T.SetHeight(50);
  EXPECT_EQ(T.Width(), 256);
  EXPECT_EQ(T.Height(), 256);
  EXPECT_EQ(T.Picture(), nullptr);

  T.Reset();
  ASSERT_NE(T.Picture(), nullptr);
  EXPECT_EQ(T.Picture()->Width(), 256);
  T.Canvas()->SetPixel(3, 2, 0x123456);
  T.SetWidth(100);
  T.SetHeight(50);
  EXPECT_EQ(T.Width(), 100);
  EXPECT_EQ(T.Height(), 50);
  EXPECT_EQ(T.Picture()->Width(), 100);
  EXPECT_EQ(T.Picture()->Height(), 50);
  EXPECT_EQ(T.Canvas()->GetPixel(3, 2), 0x123456u) << "a resize keeps what still fits";

  T.SetWidth(0);  // a picture without columns: rows exist but hold nothing
  EXPECT_EQ(T.Picture()->Width(), 0);
  EXPECT_EQ(T.GetScanLine(0), nullptr);
  T.ReverseColors();
}

TEST(Targa, ResetMakesABlackPictureOfTheHeaderSizeAndDepth) {
  TTarga T;
  T.SetDepth(16);
  ASSERT_NE(T.Picture(), nullptr);
  T.Canvas()->SetPixel(0, 0, 0xFFFFFF);
  T.Reset();
  EXPECT_EQ(T.Picture()->Depth(), 16);
  EXPECT_EQ(T.Picture()->RowBytes(), 512u);
  TBytes All = PictureBytes(*T.Picture());
  EXPECT_EQ(All.size(), 512u * 256u);
  EXPECT_TRUE(std::all_of(All.begin(), All.end(), [](std::uint8_t B) { return B == 0; }));
}

TEST(Targa, SetDepthStoresTheLowByte) {
  TTarga T;
  T.SetDepth(288);
  EXPECT_EQ(T.GetDepth(), 32);
  T.SetDepth(0x118);
  EXPECT_EQ(T.GetDepth(), 24);
  EXPECT_EQ(T.Picture()->Depth(), 24);
}

// Colours that every depth holds exactly (5- and 6-bit channels widened by repeating bits).
struct TDepthChange {
  int From, To;
};

class TargaDepthChange : public ::testing::TestWithParam<TDepthChange> {};

TEST_P(TargaDepthChange, ResetImageKeepsTheDrawingAcrossDepths) {
  const TColor Colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000, 0x84FF00};
  TTarga T;
  T.SetDepth(std::uint16_t(GetParam().From));
  T.SetWidth(7);
  T.SetHeight(3);
  for (int I = 0; I < 6; ++I) T.Canvas()->SetPixel(I, 1, Colours[I]);

  T.ResetImage = true;
  T.SetDepth(std::uint16_t(GetParam().To));
  ASSERT_EQ(T.Picture()->Depth(), GetParam().To);
  ASSERT_EQ(T.Picture()->Width(), 7);
  ASSERT_EQ(T.Picture()->Height(), 3);
  for (int I = 0; I < 6; ++I) EXPECT_EQ(T.Canvas()->GetPixel(I, 1), Colours[I]) << "pixel " << I;

  T.ResetImage = false;
  T.SetDepth(std::uint16_t(GetParam().From));
  TBytes All = PictureBytes(*T.Picture());
  EXPECT_TRUE(std::all_of(All.begin(), All.end(), [](std::uint8_t B) { return B == 0; }))
      << "without ResetImage the new picture starts black";
}

INSTANTIATE_TEST_SUITE_P(Depths, TargaDepthChange,
                         ::testing::Values(TDepthChange{32, 24}, TDepthChange{24, 32},
                                           TDepthChange{32, 16}, TDepthChange{16, 15},
                                           TDepthChange{15, 32}, TDepthChange{24, 16}));

TEST(Targa, ScanLinesCountFromTheBottom) {
  TTarga T;
  T.Reset();
  T.SetWidth(4);
  T.SetHeight(3);
  TTargaBitmap& P = *T.Picture();
  EXPECT_EQ(T.GetScanLine(0), P.ScanLine(2));
  EXPECT_EQ(T.GetScanLine(1), P.ScanLine(1));
  EXPECT_EQ(T.GetScanLine(2), P.ScanLine(0));
  EXPECT_EQ(T.GetScanLine(3), nullptr);
  EXPECT_EQ(T.GetScanLine(-1), nullptr);
}

struct TReverseCase {
  int Depth;
  TBytes Before, After;
};

class TargaReverse : public ::testing::TestWithParam<TReverseCase> {};

TEST_P(TargaReverse, ExchangesRedAndBlueAndTwiceRestores) {
  const TReverseCase& C = GetParam();
  TTarga T;
  T.SetDepth(std::uint16_t(C.Depth));
  T.SetHeight(2);
  const int Bpp = T.Picture()->BytesPerPixel();
  T.SetWidth(std::uint16_t(C.Before.size() / Bpp));
  std::memcpy(T.GetScanLine(1), C.Before.data(), C.Before.size());
  T.ReverseColors();
  EXPECT_EQ(TBytes(T.GetScanLine(1), T.GetScanLine(1) + C.After.size()), C.After);
  T.ReverseColors();
  EXPECT_EQ(TBytes(T.GetScanLine(1), T.GetScanLine(1) + C.Before.size()), C.Before);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, TargaReverse,
    ::testing::Values(TReverseCase{24, {1, 2, 3}, {3, 2, 1}},
                      TReverseCase{24, {1, 2, 3, 4, 5, 6}, {3, 2, 1, 6, 5, 4}},
                      TReverseCase{32, {1, 2, 3, 4}, {3, 2, 1, 4}},
                      // 15 bits: top bit and blue 31 -> top bit and red 31
                      TReverseCase{15, {0x1F, 0x80}, {0x00, 0xFC}},
                      // 16 bits: blue 31 -> red 31; green alone stays
                      TReverseCase{16, {0x1F, 0x00, 0xE0, 0x07}, {0x00, 0xF8, 0xE0, 0x07}},
                      // a depth without an exchange leaves the pixels alone
                      TReverseCase{8, {1, 2, 3, 4}, {1, 2, 3, 4}}));

struct TRoundTrip {
  int Width, Height, Depth;
};

class TargaRoundTrip : public TargaFiles, public ::testing::WithParamInterface<TRoundTrip> {};

TEST_P(TargaRoundTrip, SaveThenLoadGivesTheSamePictureAndHeader) {
  const TRoundTrip& C = GetParam();
  TTarga Out;
  Out.SetDepth(std::uint16_t(C.Depth));
  Out.SetWidth(std::uint16_t(C.Width));
  Out.SetHeight(std::uint16_t(C.Height));
  const TBytes Pixels = FillPicture(*Out.Picture(), unsigned(C.Width * 131 + C.Depth));
  const std::string Path = PathOf("round.tga");
  Out.SaveToFile(Path);

  const TBytes File = ReadAll(Path);
  const std::size_t FileRow = std::size_t(C.Width) * TTarga::FileBytesPerPixel(C.Depth);
  ASSERT_EQ(File.size(), 18 + FileRow * C.Height + 26);
  EXPECT_EQ(File[17], 8);
  EXPECT_TRUE(std::equal(Out.HeaderBytes().begin(), Out.HeaderBytes().end(), File.begin()));
  EXPECT_EQ(std::memcmp(File.data() + File.size() - 18, "TRUEVISION-XFILE.", 18), 0);

  // What a picture row gives to a file row: all of it, or for depths the picture cannot hold
  // as they are, as much as the file row takes; the rest comes back black.
  const std::size_t RowBytes = Out.Picture()->RowBytes();
  const std::size_t Moved = std::min(FileRow, RowBytes);
  TBytes Expected = Pixels;
  for (std::size_t Y = 0; Y < std::size_t(C.Height); ++Y)
    std::fill(Expected.begin() + Y * RowBytes + Moved, Expected.begin() + (Y + 1) * RowBytes, 0);
  for (std::size_t Y = 0; Y < std::size_t(C.Height); ++Y)
    EXPECT_EQ(TBytes(File.begin() + 18 + Y * FileRow, File.begin() + 18 + Y * FileRow + Moved),
              TBytes(Pixels.begin() + Y * RowBytes, Pixels.begin() + Y * RowBytes + Moved))
        << "file row " << Y << " holds the picture's row " << Y;

  TTarga In;
  In.LoadFromFile(Path);
  EXPECT_EQ(In.HeaderBytes(), Out.HeaderBytes());
  ASSERT_NE(In.Picture(), nullptr);
  EXPECT_EQ(In.Picture()->Width(), C.Width);
  EXPECT_EQ(In.Picture()->Height(), C.Height);
  EXPECT_EQ(PictureBytes(*In.Picture()), Expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TargaRoundTrip,
                         ::testing::Values(TRoundTrip{1, 1, 32}, TRoundTrip{4, 2, 24},
                                           TRoundTrip{7, 3, 16}, TRoundTrip{9, 5, 15},
                                           TRoundTrip{33, 4, 24}, TRoundTrip{15, 2, 32}));

// Depths the picture cannot hold as they are: it is made at 32 bits, the file keeps the rows
// its header declares, and no row is read or written past its end.
INSTANTIATE_TEST_SUITE_P(OtherDepths, TargaRoundTrip,
                         ::testing::Values(TRoundTrip{5, 3, 8}, TRoundTrip{3, 2, 1},
                                           TRoundTrip{5, 3, 48}, TRoundTrip{4, 2, 0},
                                           TRoundTrip{6, 2, 64}));

TEST_F(TargaFiles, FullPictureAt32BitsSavesAs262188Bytes) {
  TTarga T;
  T.Reset();
  const std::string Path = PathOf("full.tga");
  T.SaveToFile(Path);
  EXPECT_EQ(fs::file_size(Path), 262188u);
}

TEST_F(TargaFiles, DescriptorIsWrittenAs8AndEveryOtherHeaderByteAsRead) {
  // Image type, colour map fields and origin as a foreign writer may leave them.
  TBytes Header = {0, 0, 2, 7, 0, 1, 0, 24, 5, 0, 9, 1, 2, 0, 1, 0, 24, 0};
  TBytes File = Header;
  for (int I = 0; I < 2 * 3; ++I) File.push_back(std::uint8_t(I * 10));
  const std::string Path = WriteFile("foreign.tga", File);

  TTarga T;
  T.LoadFromFile(Path);
  const std::string Again = PathOf("again.tga");
  T.SaveToFile(Again);
  const TBytes Saved = ReadAll(Again);
  ASSERT_EQ(Saved.size(), 18u + 6 + 26);
  Header[17] = 8;
  EXPECT_EQ(TBytes(Saved.begin(), Saved.begin() + 18), Header);
  EXPECT_EQ(TBytes(Saved.begin() + 18, Saved.begin() + 24), TBytes(File.begin() + 18, File.end()));
}

TEST_F(TargaFiles, ShortFilesKeepWhatTheyDoNotSupply) {
  // Two and a half rows of a 2 x 4 picture at 24 bits: the rest stays black.
  TBytes File = MakeHeader(2, 4, 24);
  for (int I = 1; I <= 15; ++I) File.push_back(std::uint8_t(I));
  TTarga T;
  T.LoadFromFile(WriteFile("short.tga", File));
  ASSERT_NE(T.Picture(), nullptr);
  TBytes Expected(24, 0);
  for (int I = 0; I < 15; ++I) Expected[I] = std::uint8_t(I + 1);
  EXPECT_EQ(PictureBytes(*T.Picture()), Expected);

  // A header cut after the width: height, depth and descriptor keep their former values.
  TTarga U;
  TBytes Cut = MakeHeader(3, 9, 15);
  Cut.resize(14);
  U.LoadFromFile(WriteFile("cut.tga", Cut));
  EXPECT_EQ(U.Width(), 3);
  EXPECT_EQ(U.Height(), 256);
  EXPECT_EQ(U.GetDepth(), 32);
  ASSERT_NE(U.Picture(), nullptr);
  EXPECT_EQ(U.Picture()->Width(), 3);
  EXPECT_EQ(U.Picture()->Height(), 256);

  TTarga Empty;
  Empty.LoadFromFile(WriteFile("empty.tga", {}));
  EXPECT_EQ(Empty.HeaderBytes(), TTarga().HeaderBytes());
  ASSERT_NE(Empty.Picture(), nullptr);
}

TEST_F(TargaFiles, LoadFailuresLeaveTheComponentUnchanged) {
  TTarga T;
  T.SetDepth(24);
  T.SetWidth(5);
  T.Canvas()->SetPixel(1, 1, 0xABCDEF);
  const auto Header = T.HeaderBytes();
  const TTargaBitmap* Picture = T.Picture();

  struct TCase {
    std::string Name;
    TBytes Bytes;
  };
  // A 44-byte file whose header claims 65,535 x 65,535 pixels, and one just past 1 GiB.
  TBytes Giant = MakeHeader(65535, 65535, 32);
  Giant.resize(44);
  const TBytes PastLimit = MakeHeader(16385, 16384, 32);
  for (const TCase& C : {TCase{"giant.tga", Giant}, TCase{"past-limit.tga", PastLimit}}) {
    const std::string Path = WriteFile(C.Name, C.Bytes);
    try {
      T.LoadFromFile(Path);
      ADD_FAILURE() << C.Name << " was accepted";
    } catch (const EFormatError& E) {
      EXPECT_NE(std::string(E.what()).find(Path), std::string::npos) << E.what();
      EXPECT_NE(std::string(E.what()).find("too large"), std::string::npos) << E.what();
    }
    EXPECT_EQ(T.HeaderBytes(), Header) << C.Name;
    EXPECT_EQ(T.Picture(), Picture) << C.Name;
  }

  const std::string Missing = PathOf("missing.tga");
  try {
    T.LoadFromFile(Missing);
    ADD_FAILURE() << "a missing file was accepted";
  } catch (const EFOpenError& E) {
    EXPECT_EQ(std::string(E.what()), "Cannot open file " + Missing);
  }
  EXPECT_EQ(T.HeaderBytes(), Header);
  EXPECT_EQ(T.Picture(), Picture);
  EXPECT_EQ(T.Canvas()->GetPixel(1, 1), 0xABCDEFu);
}

TEST_F(TargaFiles, SaveFailures) {
  TTarga NoPicture;
  EXPECT_THROW(NoPicture.SaveToFile(PathOf("none.tga")), EFormatError);
  EXPECT_FALSE(fs::exists(PathOf("none.tga")));

  TTarga T;
  T.Reset();
  const std::string Target = PathOf("no-such-dir/out.tga");
  try {
    T.SaveToFile(Target);
    ADD_FAILURE() << "saving into a missing directory succeeded";
  } catch (const EFCreateError& E) {
    EXPECT_EQ(std::string(E.what()), "Cannot create file " + Target);
  }
  EXPECT_EQ(T.HeaderBytes()[17], 8) << "the descriptor is set before the file is created";

  // A failed save leaves an existing file as it was.
  const std::string Existing = WriteFile("existing.tga", {1, 2, 3});
  fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
  if (::access(Dir.c_str(), W_OK) != 0) {  // running as root ignores the permission
    EXPECT_THROW(T.SaveToFile(Existing), EFCreateError);
    EXPECT_EQ(ReadAll(Existing), (TBytes{1, 2, 3}));
  }
  fs::permissions(Dir, fs::perms::owner_all);
}

TEST(Targa, SizesPastTheLimitAreRefusedBeforeAllocating) {
  TTarga T;
  T.Reset();
  T.SetWidth(20000);
  EXPECT_THROW(T.SetHeight(20000), EFormatError);
  EXPECT_EQ(T.Height(), 256);
  EXPECT_EQ(T.Picture()->Height(), 256);
}

// An independent decoder reads what SaveToFile writes. The rows go out top row first while the
// descriptor declares a bottom-left origin, so the decoder shows the picture upside down.
namespace {

std::string FindPythonWithPil() {
  for (const char* Candidate : {"/usr/bin/python3", "python3"}) {
    std::string Command = std::string(Candidate) + " -c \"import PIL\" >/dev/null 2>&1";
    if (std::system(Command.c_str()) == 0) return Candidate;
  }
  return {};
}

// Every pixel as "R,G,B" per line, rows top first as the decoder presents them.
std::string DecodeWithPil(const std::string& Python, const std::string& Path) {
  const std::string Script =
      "import sys\n"
      "from PIL import Image\n"
      "im = Image.open(sys.argv[1]).convert('RGB')\n"
      "w, h = im.size\n"
      "print(w, h)\n"
      "for y in range(h):\n"
      "    print(' '.join('%d,%d,%d' % im.getpixel((x, y)) for x in range(w)))\n";
  const std::string ScriptPath = Path + ".py";
  std::ofstream(ScriptPath) << Script;
  const std::string Command = Python + " " + ScriptPath + " " + Path + " 2>&1";
  std::string Output;
  if (FILE* Pipe = ::popen(Command.c_str(), "r")) {
    char Buffer[4096];
    std::size_t N;
    while ((N = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0) Output.append(Buffer, N);
    ::pclose(Pipe);
  }
  return Output;
}

}  // namespace

class TargaDecoder : public TargaFiles, public ::testing::WithParamInterface<int> {};

TEST_P(TargaDecoder, IndependentDecoderShowsThePictureUpsideDown) {
  const std::string Python = FindPythonWithPil();
  if (Python.empty()) GTEST_SKIP() << "python3 with PIL is not available";

  const int Depth = GetParam();
  TTarga T;
  T.SetDepth(std::uint16_t(Depth));
  T.SetWidth(3);
  T.SetHeight(2);
  // Channels every depth holds exactly.
  const TColor Picture[2][3] = {{0x0000FF, 0x00FF00, 0xFF0000}, {0xFFFFFF, 0x000000, 0xFF00FF}};
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) T.Canvas()->SetPixel(X, Y, Picture[Y][X]);
  const std::string Path = PathOf("decoded.tga");
  T.SaveToFile(Path);

  std::ostringstream Expected;
  Expected << "3 2\n";
  for (int Y = 1; Y >= 0; --Y) {  // the picture's bottom row comes first
    for (int X = 0; X < 3; ++X) {
      const TColor C = Picture[Y][X];
      Expected << (X ? " " : "") << (C & 0xFF) << "," << ((C >> 8) & 0xFF) << ","
               << ((C >> 16) & 0xFF);
    }
    Expected << "\n";
  }
  EXPECT_EQ(DecodeWithPil(Python, Path), Expected.str());
}

INSTANTIATE_TEST_SUITE_P(Depths, TargaDecoder, ::testing::Values(24, 32));

TEST(Targa, MainWindowDescriptionMakesA256By256PictureAt32Bits) {
  const std::string Block =
      "object Targa: TTarga\n"
      "  Width = 256\n"
      "  Height = 256\n"
      "  ColorDepth = 32\n"
      "end\n";
  TComponentRegistry Registry;
  RegisterComponentClass<TTarga>(PalettePage, "TTarga", Registry);
  auto Components = ReadFormDescription(Block, nullptr, Registry);
  ASSERT_EQ(Components.size(), 1u);
  auto* T = dynamic_cast<TTarga*>(Components[0].get());
  ASSERT_NE(T, nullptr);
  EXPECT_EQ(T->Name(), "Targa");
  EXPECT_EQ(T->Width(), 256);
  EXPECT_EQ(T->Height(), 256);
  EXPECT_EQ(T->GetDepth(), 32);
  EXPECT_FALSE(T->ResetImage);
  ASSERT_NE(T->Picture(), nullptr) << "ColorDepth makes the picture";
  EXPECT_EQ(T->Picture()->Width(), 256);
  EXPECT_EQ(T->Picture()->Height(), 256);
  EXPECT_EQ(T->Picture()->Depth(), 32);
  EXPECT_EQ(WriteComponent(*T), Block);
}

TEST(Targa, RegistersOnTheVeltranePage) {
  Targa::Register();
  EXPECT_EQ(ComponentRegistry().Find("TTarga")->Page, "Veltrane");
  auto Made = ComponentRegistry().Create("TTarga", nullptr);
  EXPECT_EQ(Made->ClassName(), "TTarga");
}

TEST_F(TargaFiles, DamagedFilesNeverReachPastAPictureRow) {
  // Any depth byte, small sizes, files cut anywhere: the sanitizer build proves the bounds.
  std::mt19937 Random(7);
  const int Depths[] = {0, 1, 7, 8, 15, 16, 17, 24, 31, 32, 33, 48, 64, 255};
  for (int Depth : Depths) {
    for (int Round = 0; Round < 8; ++Round) {
      const unsigned W = Random() % 9, H = Random() % 9;
      TBytes File = MakeHeader(W, H, unsigned(Depth), Random() % 256);
      const std::size_t Body = std::size_t(W) * H * TTarga::FileBytesPerPixel(Depth) + 26;
      for (std::size_t I = 0; I < Body; ++I) File.push_back(std::uint8_t(Random()));
      File.resize(Random() % (File.size() + 1));
      TTarga T;
      T.LoadFromFile(WriteFile("damaged.tga", File));
      ASSERT_NE(T.Picture(), nullptr);
      T.ReverseColors();
      for (int R = -1; R <= int(T.Height()); ++R)
        if (std::uint8_t* Row = T.GetScanLine(R)) Row[T.Picture()->RowBytes() - 1] ^= 1;
      T.SaveToFile(PathOf("again.tga"));
      EXPECT_EQ(
          fs::file_size(PathOf("again.tga")),
          18 + std::size_t(T.Width()) * T.Height() * TTarga::FileBytesPerPixel(T.GetDepth()) + 26)
          << "depth " << Depth << ", " << W << " x " << H;
    }
  }
}
