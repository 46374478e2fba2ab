// The bitmap object: round trips at the row-padding edges, files that an independent decoder
// (Pillow) reads back with the same colours, the public BMP suite, and random damage.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "tests/core/TestSupport.h"

namespace fs = std::filesystem;

namespace {

const std::string SuiteDir = std::string(BRINDLECAST_CORPORA_DIR) + "/bmpsuite";
// The public BMP corpus lives beside the repository, not in it.
#define SKIP_WITHOUT_CORPUS()                     \
  if (!fs::is_directory(SuiteDir))                \
  GTEST_SKIP() << "no BMP corpus at " << SuiteDir \
               << " (set BRINDLECAST_CORPORA_DIR when configuring)"

std::vector<std::uint8_t> ReadBytes(const std::string& Path) {
  std::string Text = ReadWholeFile(Path);
  return {Text.begin(), Text.end()};
}

std::vector<std::uint8_t> Save(const TBitmap& Bitmap) {
  TMemoryStream Stream;
  Bitmap.SaveToStream(Stream);
  return Stream.Bytes();
}

const char* FormatName(TPixelFormat Format) {
  static const char* Names[] = {"pf1bit",  "pf4bit",  "pf8bit", "pf15bit",
                                "pf16bit", "pf24bit", "pf32bit"};
  return Names[Format];
}

// A picture of the given shape filled with reproducible noise, with a full colour table when
// it is indexed.
TBitmap NoisyBitmap(TPixelFormat Format, int Width, int Height, unsigned Seed) {
  TBitmap Bitmap;
  Bitmap.SetPixelFormat(Format);
  Bitmap.SetSize(Width, Height);
  std::mt19937 Random(Seed);
  if (Bitmap.BitsPerPixel() <= 8) {
    TPalette Palette(std::size_t(1) << Bitmap.BitsPerPixel());
    for (auto& E : Palette)
      E = {std::uint8_t(Random()), std::uint8_t(Random()), std::uint8_t(Random()), 0};
    Bitmap.SetPalette(Palette);
  }
  for (int Y = 0; Y < Height; ++Y) {
    std::uint8_t* Row = Bitmap.ScanLine(Y);
    for (std::size_t I = 0; I < Bitmap.RowBytes(); ++I)
      Row[I] = static_cast<std::uint8_t>(Random());
  }
  return Bitmap;
}

void ExpectSamePicture(const TBitmap& Expected, const TBitmap& Actual, const std::string& What) {
  ASSERT_EQ(Expected.PixelFormat(), Actual.PixelFormat()) << What;
  ASSERT_EQ(Expected.Width(), Actual.Width()) << What;
  ASSERT_EQ(Expected.Height(), Actual.Height()) << What;
  EXPECT_EQ(Expected.RedMask, Actual.RedMask) << What;
  EXPECT_EQ(Expected.GreenMask, Actual.GreenMask) << What;
  EXPECT_EQ(Expected.BlueMask, Actual.BlueMask) << What;
  EXPECT_EQ(Expected.Palette(), Actual.Palette()) << What;
  for (int Y = 0; Y < Expected.Height(); ++Y)
    for (std::size_t I = 0; I < Expected.RowBytes(); ++I)
      ASSERT_EQ(Expected.ScanLine(Y)[I], Actual.ScanLine(Y)[I])
          << What << " row " << Y << " byte " << I;
}

const TPixelFormat AllFormats[] = {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};
const int PaddingWidths[] = {1, 4, 7, 8, 9, 15, 33};

// A Python 3 with Pillow, or empty when there is none.
std::string PillowPython() {
  static const std::string Found = [] {
    for (const char* Candidate : {"/usr/bin/python3", "python3"}) {
      std::string Command = std::string(Candidate) + " -c \"import PIL.Image\" >/dev/null 2>&1";
      if (std::system(Command.c_str()) == 0) return std::string(Candidate);
    }
    return std::string();
  }();
  return Found;
}

// Decodes every image file with Pillow into "<file>.rgb": width and height as two decimal
// lines, then the RGB bytes, top row first. False when Pillow failed on any of them.
bool DecodeWithPillow(const std::vector<std::string>& Files, const TTempDir& Dir) {
  const std::string Script = Dir.Path("decode.py");
  std::ofstream(Script) << "import sys\n"
                           "from PIL import Image\n"
                           "for path in sys.argv[1:]:\n"
                           "    im = Image.open(path).convert('RGB')\n"
                           "    with open(path + '.rgb', 'wb') as f:\n"
                           "        f.write(b'%d\\n%d\\n' % im.size)\n"
                           "        f.write(im.tobytes())\n";
  std::string Command = PillowPython() + " " + Script;
  for (const std::string& F : Files) Command += " '" + F + "'";
  return std::system(Command.c_str()) == 0;
}

struct TRGBPicture {
  int Width = 0, Height = 0;
  std::vector<std::uint8_t> Pixels;
  TRGB At(int X, int Y) const {
    const std::uint8_t* P = Pixels.data() + 3 * (static_cast<std::size_t>(Y) * Width + X);
    return {P[0], P[1], P[2]};
  }
};

TRGBPicture ReadDecoded(const std::string& Path) {
  std::istringstream In(ReadWholeFile(Path + ".rgb"));
  TRGBPicture Picture;
  In >> Picture.Width >> Picture.Height;
  In.get();
  Picture.Pixels.assign(std::istreambuf_iterator<char>(In), {});
  return Picture;
}

// Compares every pixel's colour with a decoded picture, allowing Tolerance per channel.
void ExpectSameColours(const TBitmap& Bitmap, const TRGBPicture& Reference, int Tolerance,
                       const std::string& What) {
  ASSERT_EQ(Bitmap.Width(), Reference.Width) << What;
  ASSERT_EQ(Bitmap.Height(), Reference.Height) << What;
  ASSERT_EQ(Reference.Pixels.size(), 3u * Reference.Width * Reference.Height) << What;
  for (int Y = 0; Y < Bitmap.Height(); ++Y)
    for (int X = 0; X < Bitmap.Width(); ++X) {
      TRGB Ours = Bitmap.PixelColor(X, Y), Theirs = Reference.At(X, Y);
      bool Close = std::abs(Ours.Red - Theirs.Red) <= Tolerance &&
                   std::abs(Ours.Green - Theirs.Green) <= Tolerance &&
                   std::abs(Ours.Blue - Theirs.Blue) <= Tolerance;
      ASSERT_TRUE(Close) << What << " pixel (" << X << ", " << Y << "): ours " << int(Ours.Red)
                         << "," << int(Ours.Green) << "," << int(Ours.Blue) << " reference "
                         << int(Theirs.Red) << "," << int(Theirs.Green) << "," << int(Theirs.Blue);
    }
}

std::vector<std::string> SuiteFiles(const std::string& Folder) {
  std::vector<std::string> Files;
  for (const auto& Entry : fs::directory_iterator(SuiteDir + "/" + Folder))
    if (Entry.path().extension() == ".bmp") Files.push_back(Entry.path().string());
  std::sort(Files.begin(), Files.end());
  return Files;
}

}  // namespace

TEST(BitmapRoundTrip, EveryFormatAtEveryPaddingWidth) {
  for (TPixelFormat Format : AllFormats)
    for (int Width : PaddingWidths) {
      std::string What = std::string(FormatName(Format)) + " width " + std::to_string(Width);
      TBitmap Written = NoisyBitmap(Format, Width, 3, static_cast<unsigned>(Width * 7 + Format));
      std::vector<std::uint8_t> File = Save(Written);
      ASSERT_EQ(File.size(), Written.FileSize()) << What;
      TBitmap Read;
      Read.LoadFromBytes(File.data(), File.size());
      ExpectSamePicture(Written, Read, What);
      // Saving again gives the same bytes: nothing is lost or invented on the way.
      EXPECT_EQ(Save(Read), File) << What;
    }
}

TEST(BitmapWrite, HeaderOfAn8BitPicture) {
  TBitmap Bitmap = NoisyBitmap(pf8bit, 256, 256, 1);
  std::vector<std::uint8_t> F = Save(Bitmap);
  auto U32 = [&](std::size_t At) {
    return F[At] | F[At + 1] << 8 | F[At + 2] << 16 | std::uint32_t(F[At + 3]) << 24;
  };
  ASSERT_EQ(F.size(), 14u + 40 + 1024 + 65536);
  EXPECT_EQ(F[0], 'B');
  EXPECT_EQ(F[1], 'M');
  EXPECT_EQ(U32(2), F.size());
  EXPECT_EQ(U32(10), 14u + 40 + 1024);  // pixel data offset
  EXPECT_EQ(U32(14), 40u);              // info header size
  EXPECT_EQ(U32(18), 256u);             // width
  EXPECT_EQ(U32(22), 256u);             // positive height: bottom-up rows
  EXPECT_EQ(U32(26), 1u | 8u << 16);    // planes, bits per pixel
  EXPECT_EQ(U32(30), 0u);               // uncompressed
  EXPECT_EQ(U32(46), 256u);             // colours used
  // The first stored row is the picture's bottom row.
  EXPECT_EQ(0, std::memcmp(F.data() + 14 + 40 + 1024, Bitmap.ScanLine(255), 256));
}

TEST(BitmapWrite, FilesOpenInPillowWithTheSameColours) {
  if (PillowPython().empty()) GTEST_SKIP() << "python3 with Pillow is not installed";
  TTempDir Dir;
  std::vector<std::string> Files;
  std::vector<TBitmap> Bitmaps;
  for (TPixelFormat Format : AllFormats)
    for (int Width : PaddingWidths) {
      Bitmaps.push_back(NoisyBitmap(Format, Width, 5, static_cast<unsigned>(Width + 100 * Format)));
      Files.push_back(
          Dir.Path(std::string(FormatName(Format)) + "-" + std::to_string(Width) + ".bmp"));
      Bitmaps.back().SaveToFile(Files.back());
    }
  ASSERT_TRUE(DecodeWithPillow(Files, Dir));
  for (std::size_t I = 0; I < Files.size(); ++I) {
    // Pillow scales 5- and 6-bit fields with truncation, we round.
    int Tolerance = Bitmaps[I].BitsPerPixel() == 16 ? 4 : 0;
    ExpectSameColours(Bitmaps[I], ReadDecoded(Files[I]), Tolerance, Files[I]);
  }
}

TEST(BitmapSuite, GoodFilesMatchTheReferenceRenderings) {
  SKIP_WITHOUT_CORPUS();
  if (PillowPython().empty()) GTEST_SKIP() << "python3 with Pillow is not installed";
  // Each good file and the reference picture it must look like.
  struct TCase {
    const char* File;
    const char* Reference;
  };
  const std::vector<TCase> Cases = {
      {"pal1", "pal1"},           {"pal1bg", "pal1bg"},
      {"pal1wb", "pal1"},         {"pal4", "pal4"},
      {"pal4gs", "pal4gs"},       {"pal4rle", "pal4"},
      {"pal8-0", "pal8"},         {"pal8", "pal8"},
      {"pal8gs", "pal8gs"},       {"pal8nonsquare", "pal8nonsquare-e"},
      {"pal8os2", "pal8"},        {"pal8rle", "pal8"},
      {"pal8topdown", "pal8"},    {"pal8v4", "pal8"},
      {"pal8v5", "pal8"},         {"pal8w124", "pal8w124"},
      {"pal8w125", "pal8w125"},   {"pal8w126", "pal8w126"},
      {"rgb16-565", "rgb16-565"}, {"rgb16-565pal", "rgb16-565"},
      {"rgb16", "rgb16"},         {"rgb16bfdef", "rgb16"},
      {"rgb24", "rgb24"},         {"rgb24pal", "rgb24"},
      {"rgb32", "rgb24"},         {"rgb32bf", "rgb24"},
      {"rgb32bfdef", "rgb24"},
  };
  ASSERT_EQ(Cases.size(), SuiteFiles("g").size()) << "a good file has no row in this table";
  TTempDir Dir;
  std::vector<std::string> References;
  for (const TCase& C : Cases) {
    References.push_back(Dir.Path(std::string(C.File) + ".png"));
    fs::copy_file(SuiteDir + "/reference/" + C.Reference + ".png", References.back());
  }
  ASSERT_TRUE(DecodeWithPillow(References, Dir));
  for (std::size_t I = 0; I < Cases.size(); ++I) {
    std::string Path = SuiteDir + "/g/" + Cases[I].File + ".bmp";
    TBitmap Bitmap;
    ASSERT_NO_THROW(Bitmap.LoadFromFile(Path)) << Path;
    int Tolerance = Bitmap.BitsPerPixel() == 16 ? 1 : 0;
    ExpectSameColours(Bitmap, ReadDecoded(References[I]), Tolerance, Path);
  }
}

TEST(BitmapSuite, GoodFilesKeepTheirDepthAndIndices) {
  SKIP_WITHOUT_CORPUS();
  TBitmap Bitmap;
  Bitmap.LoadFromFile(SuiteDir + "/g/pal4rle.bmp");
  EXPECT_EQ(Bitmap.PixelFormat(), pf4bit);
  EXPECT_EQ(Bitmap.Palette().size(), 12u);
  TBitmap Plain;
  Plain.LoadFromFile(SuiteDir + "/g/pal4.bmp");
  // The RLE file and the uncompressed one hold the same indices.
  for (int Y = 0; Y < Plain.Height(); ++Y)
    for (int X = 0; X < Plain.Width(); ++X)
      ASSERT_EQ(Bitmap.PixelIndex(X, Y), Plain.PixelIndex(X, Y))
          << "pixel (" << X << ", " << Y << ")";
  Bitmap.LoadFromFile(SuiteDir + "/g/rgb16.bmp");
  EXPECT_EQ(Bitmap.PixelFormat(), pf15bit);
  Bitmap.LoadFromFile(SuiteDir + "/g/rgb16-565.bmp");
  EXPECT_EQ(Bitmap.PixelFormat(), pf16bit);
  Bitmap.LoadFromFile(SuiteDir + "/g/pal8os2.bmp");
  EXPECT_EQ(Bitmap.PixelFormat(), pf8bit);
}

TEST(BitmapSuite, BadFilesAreRefused) {
  SKIP_WITHOUT_CORPUS();
  auto Files = SuiteFiles("b");
  ASSERT_FALSE(Files.empty());
  for (const std::string& Path : Files) {
    TBitmap Bitmap;
    EXPECT_THROW(Bitmap.LoadFromFile(Path), EInvalidGraphic) << Path;
  }
}

TEST(BitmapSuite, QuestionableFilesAreReadOrRefused) {
  SKIP_WITHOUT_CORPUS();
  auto Files = SuiteFiles("q");
  auto Container = SuiteFiles("x");
  Files.insert(Files.end(), Container.begin(), Container.end());
  int Read = 0;
  for (const std::string& Path : Files) {
    TBitmap Bitmap;
    try {
      Bitmap.LoadFromFile(Path);
      ++Read;
      // Whatever was read can be written and read again.
      std::vector<std::uint8_t> File = Save(Bitmap);
      TBitmap Again;
      Again.LoadFromBytes(File.data(), File.size());
      ExpectSamePicture(Bitmap, Again, Path);
    } catch (const EInvalidGraphic&) {
    }
  }
  EXPECT_GT(Read, 0);
}

TEST(BitmapRead, DamagedHeadersAreRefused) {
  // One field of a valid 8-bit file (4 x 2, 4 colours) changed at a time.
  TBitmap Valid = NoisyBitmap(pf8bit, 4, 2, 3);
  Valid.SetPalette(TPalette(4));
  for (int Y = 0; Y < 2; ++Y) std::memset(Valid.ScanLine(Y), 3, 4);
  const std::vector<std::uint8_t> File = Save(Valid);
  struct TCase {
    const char* Fault;
    std::size_t Offset;
    int Width;  // bytes written
    std::uint32_t Value;
  };
  const std::vector<TCase> Cases = {
      {"not BM", 0, 1, 'X'},
      {"file size past the end", 2, 4, 1000},
      {"pixel offset past the end", 10, 4, 1000},
      {"pixel offset inside the colour table", 10, 4, 54 + 8},
      {"header size 64", 14, 4, 64},
      {"zero width", 18, 4, 0},
      {"negative width", 18, 4, 0xFFFFFFFF},
      {"zero height", 22, 4, 0},
      {"rows past the end of the file", 22, 4, 3},
      {"most negative height", 22, 4, 0x80000000},
      {"two planes", 26, 2, 2},
      {"2 bits per pixel", 28, 2, 2},
      {"JPEG compression", 30, 4, 4},
      {"RLE4 at 8 bits", 30, 4, 2},
      {"image size past the end", 34, 4, 100000},
      {"absurd resolution", 38, 4, 30000000},
      {"more colours than 8 bits allow", 46, 4, 257},
      {"colour table past the pixel offset", 46, 4, 200},
      {"index past a short colour table", 46, 4, 3},
  };
  for (const TCase& C : Cases) {
    std::vector<std::uint8_t> Damaged = File;
    for (int I = 0; I < C.Width; ++I)
      Damaged[C.Offset + I] = static_cast<std::uint8_t>(C.Value >> (8 * I));
    TBitmap Bitmap = Valid;
    EXPECT_THROW(Bitmap.LoadFromBytes(Damaged.data(), Damaged.size()), EInvalidGraphic) << C.Fault;
    // A refused file leaves the picture as it was.
    ExpectSamePicture(Valid, Bitmap, C.Fault);
  }
  for (std::size_t Length = 0; Length < File.size(); ++Length) {
    TBitmap Bitmap;
    EXPECT_THROW(Bitmap.LoadFromBytes(File.data(), Length), EInvalidGraphic)
        << "cut to " << Length << " bytes";
  }
}

TEST(BitmapRead, RleStreams) {
  // A 4 x 2 RLE8 picture, bottom row first in the stream.
  auto Make = [](std::vector<std::uint8_t> Stream) {
    TBitmap Header;
    Header.SetPixelFormat(pf8bit);
    Header.SetSize(4, 2);
    std::vector<std::uint8_t> F = Save(Header);
    F.resize(14 + 40 + 1024);
    F[30] = 1;  // RLE8
    F.insert(F.end(), Stream.begin(), Stream.end());
    std::uint32_t Size = static_cast<std::uint32_t>(F.size());
    std::memcpy(F.data() + 2, &Size, 4);
    F[34] = F[35] = F[36] = F[37] = 0;
    return F;
  };
  struct TCase {
    const char* Name;
    std::vector<std::uint8_t> Stream;
    bool Valid;
    std::vector<unsigned> Top, Bottom;  // expected rows when valid
  };
  const std::vector<TCase> Cases = {
      {"runs", {4, 7, 0, 0, 2, 1, 2, 2, 0, 1}, true, {1, 1, 2, 2}, {7, 7, 7, 7}},
      {"absolute run, padded", {0, 3, 5, 6, 7, 0, 1, 9, 0, 1}, true, {0, 0, 0, 0}, {5, 6, 7, 9}},
      {"delta leaves skipped pixels 0", {0, 2, 1, 1, 2, 4, 0, 1}, true, {0, 4, 4, 0}, {0, 0, 0, 0}},
      {"early end of bitmap", {1, 8, 0, 1}, true, {0, 0, 0, 0}, {8, 0, 0, 0}},
      {"run past the row's end", {5, 7, 0, 1}, false, {}, {}},
      {"absolute run past the row's end", {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}, false, {}, {}},
      {"delta past the top", {0, 2, 0, 2, 0, 1}, false, {}, {}},
      {"delta past the right edge", {0, 2, 5, 0, 0, 1}, false, {}, {}},
      {"rows past the top", {0, 0, 0, 0, 1, 1, 0, 1}, false, {}, {}},
      {"no end of bitmap", {4, 7}, false, {}, {}},
      {"absolute run cut short", {0, 4, 1, 2}, false, {}, {}},
      {"delta cut short", {0, 2, 1}, false, {}, {}},
  };
  for (const TCase& C : Cases) {
    std::vector<std::uint8_t> F = Make(C.Stream);
    TBitmap Bitmap;
    if (!C.Valid) {
      EXPECT_THROW(Bitmap.LoadFromBytes(F.data(), F.size()), EInvalidGraphic) << C.Name;
      continue;
    }
    ASSERT_NO_THROW(Bitmap.LoadFromBytes(F.data(), F.size())) << C.Name;
    for (int X = 0; X < 4; ++X) {
      EXPECT_EQ(Bitmap.PixelIndex(X, 0), C.Top[X]) << C.Name << " top row x " << X;
      EXPECT_EQ(Bitmap.PixelIndex(X, 1), C.Bottom[X]) << C.Name << " bottom row x " << X;
    }
  }
}

TEST(BitmapRead, RandomDamageIsReadOrRefused) {
  // Valid files of every kind the reader takes, mutated at random: each must load or be
  // refused with EInvalidGraphic, never crash or touch memory outside a buffer (the sanitizer
  // build runs this too).
  std::vector<std::vector<std::uint8_t>> Seeds;
  for (const char* Name : {"pal1", "pal4", "pal4rle", "pal8rle", "pal8os2", "pal8v5",
                           "rgb16-565pal", "rgb32bf", "pal8topdown"})
    if (fs::is_directory(SuiteDir)) Seeds.push_back(ReadBytes(SuiteDir + "/g/" + Name + ".bmp"));
  for (TPixelFormat Format : AllFormats) Seeds.push_back(Save(NoisyBitmap(Format, 9, 4, 5)));

  std::mt19937 Random(20240611);
  const std::uint32_t Interesting[] = {
      0,  1,  2,   3,   4,   8,   12,     16,     24,         32,         40,
      52, 56, 108, 124, 255, 256, 0x7FFF, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
  int Loaded = 0;
  for (int Iteration = 0; Iteration < 20000; ++Iteration) {
    std::vector<std::uint8_t> F = Seeds[Random() % Seeds.size()];
    int Mutations = 1 + static_cast<int>(Random() % 4);
    for (int M = 0; M < Mutations; ++M) {
      // Mostly the headers and colour table, where the checks live; sometimes anywhere.
      std::size_t Span = Random() % 4 == 0 ? F.size() : std::min<std::size_t>(F.size(), 140);
      std::size_t At = Random() % Span;
      switch (Random() % 5) {
        case 0:
          F[At] = static_cast<std::uint8_t>(Random());
          break;
        case 1:
          F[At] ^= static_cast<std::uint8_t>(1u << (Random() % 8));
          break;
        case 2: {
          std::uint32_t V = Interesting[Random() % std::size(Interesting)];
          for (int I = 0; I < 4 && At + I < F.size(); ++I)
            F[At + I] = static_cast<std::uint8_t>(V >> (8 * I));
          break;
        }
        case 3:
          F.resize(Random() % (F.size() + 1));
          break;
        default:
          F.insert(F.begin() + static_cast<std::ptrdiff_t>(At),
                   static_cast<std::uint8_t>(Random()));
          break;
      }
      if (F.empty()) break;
    }
    TBitmap Bitmap;
    try {
      Bitmap.LoadFromBytes(F.data(), F.size());
      ++Loaded;
      // Whatever loads is a consistent picture: every pixel can be asked for.
      for (int Y = 0; Y < Bitmap.Height(); ++Y) (void)Bitmap.PixelColor(Bitmap.Width() - 1, Y);
    } catch (const EInvalidGraphic&) {
    }
  }
  EXPECT_GT(Loaded, 0);
}
