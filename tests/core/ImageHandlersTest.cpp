// Image resource lists: the pack header, extraction, insertion and the round trip through a
// batch run and a replay of its result log.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/core/BatchRun.h"
#include "app/core/Replay.h"
#include "formats/FormatHandlers.h"
#include "formats/ImagePack.h"
#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

using TBytes = std::vector<std::uint8_t>;

// Records what a run shows; answers the output-directory dialog with OutputDir.
class TRecordingView : public TNullRunView {
 public:
  std::string OutputDir;
  std::vector<std::string> Lines;
  std::vector<int> Progress;
  void ClearResults() override { Lines.clear(); }
  void AddResult(const std::string& Line) override { Lines.push_back(Line); }
  void SetProgress(int Position) override { Progress.push_back(Position); }
  bool ChooseOutputDir(std::string& Dir) override {
    Dir = OutputDir;
    return true;
  }
};

TBytes Bytes(const std::string& Path) {
  std::string Text = ReadWholeFile(Path);
  return {Text.begin(), Text.end()};
}
void Write(const std::string& Path, const TBytes& B) {
  WriteWholeFile(Path, std::string_view(reinterpret_cast<const char*>(B.data()), B.size()));
}
void Put32(TBytes& B, std::size_t At, std::uint32_t V) {
  for (int I = 0; I < 4; ++I) B[At + I] = static_cast<std::uint8_t>(V >> (8 * I));
}

// The shape of a generated pack.
struct TPackShape {
  std::string Name;
  std::string Depths;         // one character per image: '4' or '8'
  std::uint32_t Pal16 = 0;    // 16-colour palette records
  std::uint32_t Pal256 = 0;   // 256-colour palette records
  std::string Order = "PQI";  // file order of the sections: P 16-colour, Q 256-colour, I images
  int Gap = 0;                // bytes of noise before each section
  int Trailer = 0;            // bytes of noise after the last section
  int Cut = 0;                // bytes cut off the end (a damaged pack)
};

struct TPack {
  TBytes Data;
  std::int64_t Palette16Offset = 0, Palette256Offset = 0, ImageOffset = 0;
  // Offset of image K's record.
  std::int64_t Record(const std::string& Depths, std::size_t K) const {
    std::int64_t At = ImageOffset;
    for (std::size_t I = 0; I < K; ++I) At += Depths[I] == '8' ? 65536 : 32768;
    return At;
  }
};

TPack BuildPack(const TPackShape& Shape, unsigned Seed) {
  std::mt19937 Random(Seed);
  TPack Pack;
  Pack.Data.resize(PackHeaderSize);
  for (auto& B : Pack.Data) B = static_cast<std::uint8_t>(Random());  // reserved words hold noise
  auto Noise = [&](std::size_t N) {
    for (std::size_t I = 0; I < N; ++I) Pack.Data.push_back(static_cast<std::uint8_t>(Random()));
  };
  for (char Section : Shape.Order) {
    Noise(static_cast<std::size_t>(Shape.Gap));
    std::int64_t At = static_cast<std::int64_t>(Pack.Data.size());
    if (Section == 'P') Pack.Palette16Offset = At, Noise(Shape.Pal16 * Palette16RecordSize);
    if (Section == 'Q') Pack.Palette256Offset = At, Noise(Shape.Pal256 * Palette256RecordSize);
    if (Section == 'I') {
      Pack.ImageOffset = At;
      for (char D : Shape.Depths) Noise(D == '8' ? 65536 : 32768);
    }
  }
  Noise(static_cast<std::size_t>(Shape.Trailer));
  Put32(Pack.Data, 0, Shape.Pal16);
  Put32(Pack.Data, 4, Shape.Pal256);
  Put32(Pack.Data, 8, static_cast<std::uint32_t>(Shape.Depths.size()));
  Put32(Pack.Data, 16, static_cast<std::uint32_t>(Pack.Palette16Offset));
  Put32(Pack.Data, 20, static_cast<std::uint32_t>(Pack.Palette256Offset));
  Put32(Pack.Data, 24, static_cast<std::uint32_t>(Pack.ImageOffset));
  Pack.Data.resize(Pack.Data.size() - static_cast<std::size_t>(Shape.Cut));
  return Pack;
}

class ImageResources : public ::testing::Test {
 protected:
  void SetUp() override {
    static int Counter = 0;
    Dir = fs::temp_directory_path() /
          ("brindle-irl-" + std::to_string(::getpid()) + "-" + std::to_string(++Counter));
    fs::create_directories(Dir / "out");
    OldDir = GetCurrentDir();
    View.OutputDir = Path("out");
    Run.OutputDir = Path("out");
  }
  void TearDown() override {
    SetCurrentDir(OldDir);  // a batch run moves into its output directory
    std::error_code Ignored;
    fs::remove_all(Dir, Ignored);
  }
  std::string Path(const std::string& Name) const { return (Dir / Name).string(); }

  // Writes the pack as ListName's base + ".pak" and the list ListName naming it; returns the
  // list's path.
  std::string WriteList(const std::string& ListName, const TPack& Pack, const std::string& Depths,
                        const std::string& Extra = "") {
    std::string PackPath = Path(ListName + ".pak");
    Write(PackPath, Pack.Data);
    std::string Text = PackPath + "\r\n";
    for (char D : Depths) Text += std::string(1, D) + "\r\n";
    WriteWholeFile(Path(ListName), Text + Extra);
    return Path(ListName);
  }

  // Calls InsertImageList on a block as the replay would: entry lines from index 2.
  int Insert(const std::string& ListPath, const std::vector<std::string>& Entries) {
    Run.ReplayList.Clear();
    Run.ReplayList.Add("IRL");
    Run.ReplayList.Add(ListPath);
    for (const auto& E : Entries) Run.ReplayList.Add(E);
    Run.TargetPath = ListPath;
    Run.TargetStream = std::make_unique<TFileStream>(ListPath, fmOpenReadWriteExclusive);
    return InsertImageList(Run, 2);
  }

  fs::path Dir;
  std::string OldDir;
  TRecordingView View;
  TRunContext Run{View};
};

// A 256-wide picture of the given format and height whose pixel (x, y) has index (x + y) & mask.
TBitmap Picture(TPixelFormat Format, int Width = 256, int Height = 256) {
  TBitmap B;
  B.SetPixelFormat(Format);
  B.SetSize(Width, Height);
  if (B.BitsPerPixel() <= 8) B.SetPalette(TPalette(std::size_t(1) << B.BitsPerPixel()));
  for (int Y = 0; Y < Height; ++Y) {
    std::uint8_t* Row = B.ScanLine(Y);
    for (std::size_t I = 0; I < B.RowBytes(); ++I) Row[I] = static_cast<std::uint8_t>(I + Y);
  }
  return B;
}

}  // namespace

TEST_F(ImageResources, PackHeader) {
  TPack Pack = BuildPack({"", "8", 1, 0, "IPQ"}, 1);
  TMemoryStream Stream(Pack.Data);
  TImagePackHeader H = ReadPackHeader(Stream, "p.pak");
  EXPECT_EQ(H.Palette16Count, 1u);
  EXPECT_EQ(H.ImageCount, 1u);
  EXPECT_EQ(H.ImageOffset, 32);
  EXPECT_EQ(H.Palette16Offset, 32 + 65536);

  for (std::size_t Length : {0u, 31u}) {
    TMemoryStream Short(TBytes(Pack.Data.begin(), Pack.Data.begin() + Length));
    EXPECT_THROW(ReadPackHeader(Short, "p.pak"), EReadError) << Length << " bytes";
  }
  TBytes Negative = Pack.Data;
  Put32(Negative, 24, 0xFFFFFF00);
  TMemoryStream NegativeStream(Negative);
  try {
    ReadPackHeader(NegativeStream, "data/p.pak");
    ADD_FAILURE() << "negative image offset accepted";
  } catch (const EFormatError& E) {
    EXPECT_NE(std::string(E.what()).find("data/p.pak"), std::string::npos) << E.what();
  }
  // A section without records is never read, wherever its offset points.
  Put32(Negative, 20, 0x80000000);
  Put32(Negative, 24, 32);
  TMemoryStream Unused(Negative);
  EXPECT_NO_THROW(ReadPackHeader(Unused, "p.pak"));
}

TEST_F(ImageResources, DepthLines) {
  TStringList List;
  List.SetText("p.pak\n4\n8\n16\n\n4\nignored\n");
  EXPECT_EQ(ReadImageRowSizes(List, 5, "l.irl"),
            (std::vector<std::size_t>{128, 256, 256, 256, 128}));
  EXPECT_THROW(ReadImageRowSizes(List, 7, "l.irl"), EStringListError);
  for (const char* Bad : {"p.pak\n16\n", "p.pak\n8 \n", "p.pak\n\n"}) {
    List.SetText(Bad);
    try {
      ReadImageRowSizes(List, 1, "data/l.irl");
      ADD_FAILURE() << "accepted " << Bad;
    } catch (const EFormatError& E) {
      std::string Message = E.what();
      EXPECT_NE(Message.find("data/l.irl"), std::string::npos) << Message;
      EXPECT_NE(Message.find("line 2"), std::string::npos) << Message;
    }
  }
}

TEST_F(ImageResources, ExtractionWritesPalettesAndBitmaps) {
  TPack Pack = BuildPack({"", "48", 1, 1, "IQP"}, 2);
  // 16-colour palette: one grey, A = 0, 17, 34, ...: the A values become the greys.
  for (int I = 0; I < 16; ++I) {
    std::uint8_t* E = Pack.Data.data() + Pack.Palette16Offset + 4 * I;
    E[0] = 10, E[1] = 20, E[2] = 30, E[3] = static_cast<std::uint8_t>(17 * I);
  }
  // 256-colour palette: stored entries 8-15 red, 16-23 blue.
  for (int I = 8; I < 24; ++I) {
    std::uint8_t* E = Pack.Data.data() + Pack.Palette256Offset + 4 * I;
    E[0] = I < 16 ? 255 : 0, E[1] = 0, E[2] = I < 16 ? 0 : 255, E[3] = 0;
  }
  // 4-bit image: first row byte 0x21 is left pixel 1, right pixel 2.
  Pack.Data[Pack.ImageOffset] = 0x21;
  std::string List = WriteList("menu.old.irl", Pack, "48");

  ExtractImageList(Run, List);

  const std::string Out = Path("out");
  EXPECT_EQ(Run.ResultList.Items(),
            (std::vector<std::string>{Out + "/menu_0000.bmp", Out + "/menu_0001.bmp"}));
  TBytes Act16 = Bytes(Out + "/menu16_0000.act"), Act256 = Bytes(Out + "/menu256_0000.act");
  ASSERT_EQ(Act16.size(), 768u);
  ASSERT_EQ(Act256.size(), 768u);
  for (int I = 0; I < 256; ++I) {
    std::uint8_t Grey = I < 16 ? static_cast<std::uint8_t>(17 * I) : 0;
    for (int C = 0; C < 3; ++C) ASSERT_EQ(Act16[3 * I + C], Grey) << "16-colour entry " << I;
  }
  for (int I = 8; I < 24; ++I) {
    bool Blue = I < 16;  // the block exchange puts the stored 16-23 at 8-15
    EXPECT_EQ(Act256[3 * I], Blue ? 0 : 255) << "256-colour entry " << I;
    EXPECT_EQ(Act256[3 * I + 2], Blue ? 255 : 0) << "256-colour entry " << I;
  }

  TBitmap Image;
  Image.LoadFromFile(Out + "/menu_0000.bmp");
  EXPECT_EQ(Image.PixelFormat(), pf4bit);
  EXPECT_EQ(Image.ScanLine(0)[0], 0x12);
  EXPECT_EQ(Image.PixelIndex(0, 0), 1u);
  EXPECT_EQ(Image.PixelIndex(1, 0), 2u);
  EXPECT_EQ(Image.Palette()[15], (TPaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(Image.Palette()[1], (TPaletteEntry{17, 17, 17, 0}));
  Image.LoadFromFile(Out + "/menu_0001.bmp");
  EXPECT_EQ(Image.PixelFormat(), pf8bit);
  ASSERT_EQ(Image.Palette().size(), 256u);
  EXPECT_EQ(Image.Palette()[200], (TPaletteEntry{200, 200, 200, 0}));
  EXPECT_EQ(0, std::memcmp(Image.ScanLine(255), Pack.Data.data() + Pack.Record("48", 1) + 255 * 256,
                           256));

  // Every written file counted; progress ends at 100.
  EXPECT_EQ(Run.FilesExtracted, 4);
  EXPECT_EQ(Run.BytesExtracted, 768 * 2 + (14 + 40 + 64 + 32768) + (14 + 40 + 1024 + 65536));
  ASSERT_FALSE(View.Progress.empty());
  EXPECT_EQ(View.Progress.back(), 100);
}

TEST_F(ImageResources, OutputNames) {
  TPack Pack = BuildPack({"", std::string(11, '4'), 1, 1}, 3);
  // No "." in the list's name: an empty base name.
  ExtractImageList(Run, WriteList("menu", Pack, std::string(11, '4')));
  const std::string Out = Path("out");
  EXPECT_TRUE(FileExists(Out + "/16_0000.act"));
  EXPECT_TRUE(FileExists(Out + "/256_0000.act"));
  EXPECT_EQ(Run.ResultList.Get(10), Out + "/_000A.bmp");

  // Lists of one base name from different directories in one run get distinct names; so
  // does a list really named after the second one's choice.
  TPack Small = BuildPack({"", "8", 1, 1}, 4);
  for (const char* Sub : {"jp", "us", "eu"}) {
    fs::create_directories(Dir / Sub);
    WriteList(std::string(Sub) + "/menu.irl", Small, "8");
  }
  WriteList("menu(3).irl", Small, "8");
  Run.ResultList.Clear();
  for (const char* List : {"jp/menu.irl", "menu(3).irl", "us/menu.irl", "eu/menu.irl"})
    ExtractImageList(Run, Path(List));
  EXPECT_EQ(Run.ResultList.Items(),
            (std::vector<std::string>{Out + "/menu_0000.bmp", Out + "/menu(3)_0000.bmp",
                                      Out + "/menu(2)_0000.bmp", Out + "/menu(4)_0000.bmp"}));
  for (const char* Act : {"menu16_0000.act", "menu(2)16_0000.act", "menu(4)256_0000.act"})
    EXPECT_TRUE(FileExists(Out + "/" + Act)) << Act;
  // A new run starts the names afresh.
  Run.BeginRun();
  Run.ResultList.Clear();
  ExtractImageList(Run, Path("us/menu.irl"));
  EXPECT_EQ(Run.ResultList.Get(0), Out + "/menu_0000.bmp");
}

TEST_F(ImageResources, ExtractionErrors) {
  TPack Pack = BuildPack({"", "8", 2, 0}, 5);
  // A 16-colour palette cut short by the end of the pack.
  TPack Cut = Pack;
  Put32(Cut.Data, 16, static_cast<std::uint32_t>(Cut.Data.size() - 100));
  EXPECT_THROW(ExtractImageList(Run, WriteList("cut.irl", Cut, "8")), EReadError);
  // A pack shorter than its header.
  TPack Tiny;
  Tiny.Data.assign(20, 0);
  EXPECT_THROW(ExtractImageList(Run, WriteList("tiny.irl", Tiny, "")), EReadError);
  // Image 0's depth is neither "8" nor "4": stopped before anything is written.
  Run.ResultList.Clear();
  EXPECT_THROW(ExtractImageList(Run, WriteList("deep.irl", Pack, "6")), EFormatError);
  EXPECT_TRUE(Run.ResultList.Empty());
  EXPECT_FALSE(FileExists(Path("out/deep16_0000.act")));
  // Fewer depth lines than images.
  EXPECT_THROW(ExtractImageList(Run, WriteList("few.irl", BuildPack({"", "88"}, 6), "8")),
               EStringListError);
  EXPECT_THROW(ExtractImageList(Run, Path("missing.irl")), EFOpenError);
}

// One image record of a given depth, one edit, what the record must then hold.
TEST_F(ImageResources, InsertionOfOneEdit) {
  struct TCase {
    const char* Name;
    char Depth;
    std::function<TBitmap()> Edit;  // null: no file at all
    std::string Message;            // expected results line, after the file name
    int RowsReplaced;               // rows taken from the edit (0: the record is unchanged)
  };
  const std::vector<TCase> Cases = {
      {"8-bit picture", '8', [] { return Picture(pf8bit); }, "", 256},
      {"4-bit picture", '4', [] { return Picture(pf4bit); }, "", 256},
      {"missing file", '8', nullptr, "", 0},
      {"8-bit in place of 4-bit", '4', [] { return Picture(pf8bit); }, " is not 4 bit!", 0},
      {"24-bit in place of 8-bit", '8', [] { return Picture(pf24bit); }, " is not 8 bit!", 0},
      {"4-bit in place of 8-bit", '8', [] { return Picture(pf4bit); }, " is not 8 bit!", 0},
      {"200 rows", '8', [] { return Picture(pf8bit, 256, 200); }, "", 200},
      {"300 rows: the top 256", '4', [] { return Picture(pf4bit, 256, 300); }, "", 256},
      {"wider: the left 256 columns", '8', [] { return Picture(pf8bit, 300, 256); }, "", 256},
      {"narrower", '8', [] { return Picture(pf8bit, 255, 256); },
       " is 255 pixels wide, narrower than its 256-pixel image record, left unchanged", 0},
      {"narrower at 4 bits", '4', [] { return Picture(pf4bit, 7, 3); },
       " is 7 pixels wide, narrower than its 256-pixel image record, left unchanged", 0},
      {"narrower at 4 bits by one pixel", '4', [] { return Picture(pf4bit, 255, 256); },
       " is 255 pixels wide, narrower than its 256-pixel image record, left unchanged", 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    View.Lines.clear();
    std::string Depths = std::string("8") + C.Depth + "4";
    TPack Pack = BuildPack({"", Depths, 1, 1, "IPQ", 5, 7}, 7);
    std::string List = WriteList("edit.irl", Pack, Depths);
    std::string Edit = Path("out/edit_0001.bmp");
    fs::remove(Edit);
    TBitmap Picture;
    if (C.Edit) {
      Picture = C.Edit();
      Picture.SaveToFile(Edit);
    }
    EXPECT_EQ(Insert(List, {Path("out/none_0000.bmp"), Edit, Path("out/none_0002.bmp")}), 5);
    EXPECT_FALSE(Run.TargetStream);

    TBytes Expected = Pack.Data;
    const std::size_t RowSize = C.Depth == '8' ? 256 : 128;
    for (int R = 0; R < C.RowsReplaced; ++R) {
      std::uint8_t* Row = Expected.data() + Pack.Record(Depths, 1) + R * RowSize;
      std::memcpy(Row, Picture.ScanLine(R), RowSize);
      if (RowSize == 128)
        for (std::size_t I = 0; I < RowSize; ++I)
          Row[I] = static_cast<std::uint8_t>(Row[I] >> 4 | Row[I] << 4);
    }
    TBytes Actual = Bytes(Path("edit.irl.pak"));
    ASSERT_EQ(Actual.size(), Expected.size());
    for (std::size_t I = 0; I < Actual.size(); ++I)
      ASSERT_EQ(Actual[I], Expected[I])
          << "pack byte " << I << " (image 1 starts at " << Pack.Record(Depths, 1) << ")";
    if (C.Message.empty())
      EXPECT_TRUE(View.Lines.empty()) << View.Lines.front();
    else
      EXPECT_EQ(View.Lines, std::vector<std::string>{"edit_0001.bmp" + C.Message});
  }
}

TEST_F(ImageResources, InsertionPutsTheLeftPixelInTheLowNibble) {
  std::string List = WriteList("n.irl", BuildPack({"", "4"}, 8), "4");
  TBitmap Edit = Picture(pf4bit);
  Edit.ScanLine(0)[0] = 0x12;  // left pixel 1, right pixel 2
  Edit.SaveToFile(Path("n_0000.bmp"));
  Insert(List, {Path("n_0000.bmp")});
  EXPECT_EQ(Bytes(Path("n.irl.pak"))[32], 0x21);
}

TEST_F(ImageResources, InsertionNeverGrowsThePack) {
  // The second record runs 1000 bytes past the end of the pack.
  TPack Pack = BuildPack({"", "88", 0, 0, "I", 0, 0, 1000}, 9);
  std::string List = WriteList("short.irl", Pack, "88");
  Picture(pf8bit).SaveToFile(Path("a.bmp"));
  Insert(List, {Path("a.bmp"), Path("a.bmp")});
  TBytes After = Bytes(Path("short.irl.pak"));
  ASSERT_EQ(After.size(), Pack.Data.size());
  EXPECT_EQ(After[32 + 256], Picture(pf8bit).ScanLine(1)[0]);  // the first record went in
  EXPECT_TRUE(std::equal(After.begin() + 32 + 65536, After.end(), Pack.Data.begin() + 32 + 65536));
  EXPECT_EQ(View.Lines,
            std::vector<std::string>{
                "a.bmp: image record 1 does not lie wholly inside the pack, left unchanged"});
}

TEST_F(ImageResources, InsertionEdgeCases) {
  // No images: nothing read from the block, the stream is still released.
  std::string Empty = WriteList("empty.irl", BuildPack({"", "", 2, 2}, 10), "");
  EXPECT_EQ(Insert(Empty, {}), 2);
  EXPECT_FALSE(Run.TargetStream);
  // A later depth line that is neither "8" nor "4" keeps the depth before it.
  TPack Pack = BuildPack({"", "44"}, 11);
  std::string List = WriteList("keep.irl", Pack, "4x");
  Picture(pf4bit).SaveToFile(Path("k.bmp"));
  Insert(List, {Path("none.bmp"), Path("k.bmp")});
  EXPECT_EQ(Bytes(Path("keep.irl.pak")).size(), Pack.Data.size());
  EXPECT_TRUE(View.Lines.empty());
  // A file that is no bitmap stops the block with the bitmap error.
  WriteWholeFile(Path("junk.bmp"), "not a bitmap");
  EXPECT_THROW(Insert(List, {Path("junk.bmp"), Path("k.bmp")}), EInvalidGraphic);
  // Image 0's depth line is neither: nothing written.
  std::string Bad = WriteList("bad.irl", Pack, "44");
  WriteWholeFile(Bad, Path("bad.irl.pak") + "\r\n16\r\n");
  EXPECT_THROW(Insert(Bad, {Path("k.bmp")}), EFormatError);
  EXPECT_EQ(Bytes(Path("bad.irl.pak")), Pack.Data);
}

// Extraction by a batch run, then a replay of its log with the bitmaps unedited: the pack is
// byte for byte as it was, whatever its shape.
TEST_F(ImageResources, RoundTripLeavesEveryPackUnchanged) {
  const std::vector<TPackShape> Shapes = {
      {"empty", "", 0, 0},
      {"palettes only", "", 3, 2},
      {"one 8-bit", "8", 0, 0},
      {"one 4-bit", "4", 1, 1},
      {"mixed", "48844", 2, 3},
      {"images first", "84", 1, 1, "IQP"},
      {"images between", "448", 2, 1, "QIP", 13},
      {"gaps and a trailer", "8484", 1, 2, "PIQ", 100, 333},
      {"last record cut short", "88", 0, 0, "PQI", 0, 0, 4000},
  };
  TSourceList Sources;
  Sources.SourceFormat = sfImageList;
  std::vector<TBytes> Originals;
  for (std::size_t I = 0; I < Shapes.size(); ++I) {
    TPack Pack = BuildPack(Shapes[I], 100 + static_cast<unsigned>(I));
    Originals.push_back(Pack.Data);
    Sources.Entries.push_back(
        WriteList("shape" + std::to_string(I) + ".irl", Pack, Shapes[I].Depths, "8\r\n"));
  }
  TBatchRun Batch(Run);
  Batch.Execute(Sources);
  const std::string Log = Path("out/result.log");
  ASSERT_TRUE(FileExists(Log));
  TStringList Lines;
  Lines.LoadFromFile(Log);
  EXPECT_EQ(Lines.Get(0), "#Format: IRL");
  EXPECT_EQ(Lines.Get(1), "#Source: " + Sources.Entries[0]);
  EXPECT_EQ(Lines.Get(2), "#Format: IRL");  // the empty pack's block has no entry lines

  TSourceList Logs;
  Logs.SourceFormat = sfLog;
  Logs.Entries = {Log};
  Batch.Execute(Logs);
  for (std::size_t I = 0; I < Shapes.size(); ++I)
    EXPECT_EQ(Bytes(Path("shape" + std::to_string(I) + ".irl.pak")), Originals[I])
        << Shapes[I].Name;
  // Only the cut-short pack's last record was refused, with a line that says so.
  EXPECT_EQ(View.Lines.front(),
            "shape8_0001.bmp: image record 1 does not lie wholly inside the pack, left unchanged");
}

TEST_F(ImageResources, ReplayOverAProjectListWithAVanishedSource) {
  // Two extraction runs into two directories, one project list naming both logs.
  std::vector<std::string> ListPaths, LogPaths;
  std::vector<TPack> Packs;
  for (const char* Name : {"alpha", "beta", "gamma"}) {
    TPack Pack = BuildPack({"", "84", 1, 0}, static_cast<unsigned>(Name[0]));
    Packs.push_back(Pack);
    ListPaths.push_back(WriteList(std::string(Name) + ".irl", Pack, "84"));
  }
  TBatchRun Batch(Run);
  for (int R = 0; R < 2; ++R) {
    std::string Out = Path("run" + std::to_string(R));
    fs::create_directories(Out);
    View.OutputDir = Out;
    TSourceList Sources;
    Sources.SourceFormat = sfImageList;
    Sources.Entries = R == 0 ? std::vector<std::string>{ListPaths[0], ListPaths[1]}
                             : std::vector<std::string>{ListPaths[2]};
    Batch.Execute(Sources);
    LogPaths.push_back(Out + "/result.log");
  }
  // Edit image 1 of every list, then remove beta's list.
  TBitmap Edit = Picture(pf4bit);
  for (const std::string& Bmp :
       {Path("run0/alpha_0001.bmp"), Path("run0/beta_0001.bmp"), Path("run1/gamma_0001.bmp")})
    Edit.SaveToFile(Bmp);
  fs::remove(ListPaths[1]);
  TStringList Project;
  Project.Add(LogPaths[0]);
  Project.Add(LogPaths[1]);
  Project.SaveToFile(Path("project.lst"));

  TSourceList Logs;
  TAddChoice Choice{3, {Path("project.lst")}};
  Logs.FinishAdd(&Choice);
  ASSERT_EQ(Logs.SourceFormat, sfProjectList);
  Batch.Execute(Logs);

  TBytes Record(32768);
  for (int R = 0; R < 256; ++R)
    for (int I = 0; I < 128; ++I) {
      std::uint8_t B = Edit.ScanLine(R)[I];
      Record[static_cast<std::size_t>(R) * 128 + I] = static_cast<std::uint8_t>(B >> 4 | B << 4);
    }
  for (int P : {0, 2}) {
    TBytes After = Bytes(Path(P == 0 ? "alpha.irl.pak" : "gamma.irl.pak"));
    const TPack& Before = Packs[static_cast<std::size_t>(P)];
    const std::int64_t At = Before.Record("84", 1);
    ASSERT_EQ(After.size(), Before.Data.size());
    EXPECT_TRUE(std::equal(Record.begin(), Record.end(), After.begin() + At)) << "pack " << P;
    EXPECT_TRUE(std::equal(After.begin(), After.begin() + At, Before.Data.begin())) << "pack " << P;
  }
  EXPECT_EQ(Bytes(Path("beta.irl.pak")), Packs[1].Data);
  // No mismatch or refusal: only the count of what went back.
  EXPECT_EQ(View.Lines, std::vector<std::string>{"Total 196608 bytes written back."});
}
