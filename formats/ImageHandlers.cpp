// Extraction and insertion of image resource lists (.irl) and their packs; the layout is
// described in formats/ImagePack.h.
//
// Extraction writes, into the output directory:
//   base + "16_" + hex4(i) + ".act"   16-colour palette i, a 768-byte colour table
//   base + "256_" + hex4(i) + ".act"  256-colour palette i, likewise
//   base + "_" + hex4(k) + ".bmp"     image k: a 256 x 256 bitmap, 4 or 8 bits per pixel, with
//                                     a grey colour table and the pack's colour indices
// and logs every bitmap's path, in image order; insertion writes those bitmaps' indices back
// into the image records, in place.

#include <algorithm>
#include <climits>
#include <cstring>

#include "formats/FormatHandlers.h"
#include "formats/ImagePack.h"
#include "formats/Misc.h"
#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "platform/Files.h"

namespace {

constexpr std::size_t ColourTableSize = 768;

// The list's file name without its directory, cut before its first ".": "menu.old.irl" gives
// "menu". A name without any "." gives an empty base name ("_0000.bmp", "16_0000.act"), as
// extractions have always named them.
std::string BaseName(const std::string& ListPath) {
  std::string Name = ExtractFileName(ListPath);
  std::size_t Dot = Name.find('.');
  return Dot == std::string::npos ? std::string() : Name.substr(0, Dot);
}

// Two lists with the same base name in one run (data/jp/menu.irl and data/us/menu.irl) must
// not write over each other's files, or a later replay would put one pack's images into the
// other. The first keeps the plain base name; the second and later get "(2)", "(3)", ...
// after it (menu(2)_0000.bmp, menu(2)16_0000.act), skipping any base already given out in
// the run, so a list really named "menu(2).irl" never collides either.
std::string UniqueBase(TRunContext& Run, const std::string& Base) {
  const std::string Key = "irl:" + Base;
  auto Found = Run.NamesInRun.find(Key);
  if (Found == Run.NamesInRun.end()) {
    Run.NamesInRun[Key] = 1;
    return Base;
  }
  int N = Found->second;
  std::string Chosen;
  do {
    ++N;
    Chosen = Base + "(" + std::to_string(N) + ")";
  } while (Run.NamesInRun.count("irl:" + Chosen) != 0);
  Found->second = N;
  Run.NamesInRun["irl:" + Chosen] = 1;
  return Chosen;
}

// A 256 x 256 bitmap of the record's depth with the grey colour table: 16 greys 17 x i at
// 4 bits, 256 greys i at 8 bits.
void PrepareBitmap(TBitmap& Bitmap, TPixelFormat Format) {
  Bitmap.SetPixelFormat(Format);
  Bitmap.SetSize(256, ImageRows);
  const int Count = Format == pf4bit ? 16 : 256;
  std::uint8_t Table[3 * 256];
  for (int I = 0; I < Count; ++I)
    Table[3 * I] = Table[3 * I + 1] = Table[3 * I + 2] =
        static_cast<std::uint8_t>(I * 255 / (Count - 1));
  Bitmap.SetPalette(BuildPalette(Count, Table));
}

// Reads Count palette records of Entries entries from the pack's position and saves each as a
// colour table named Prefix + hex4(i) + ".act". A record cut short throws EReadError.
void ExtractPalettes(TRunContext& Run, TStream& Pack, std::uint32_t Count, int Entries,
                     const std::string& Prefix) {
  static const std::uint8_t Zeros[1024] = {};
  const std::size_t RecordSize = static_cast<std::size_t>(Entries) * 4;
  std::uint8_t Record[1024];
  TMemoryStream Buffer;
  for (std::uint32_t I = 0; I < Count; ++I) {
    Pack.ReadBuffer(Record, RecordSize);
    ConvertPaletteEntries(Record, Entries, 4);
    Buffer.Clear();
    Buffer.Write(Record, RecordSize);
    Buffer.Write(Zeros, 1024 - RecordSize);  // entries past the record are black
    PaletteEntriesToRGB(Buffer);
    Buffer.SaveToFile(JoinPath(Run.OutputDir, Prefix + IntToHex(I, 4) + ".act"));
    Run.NoteFileWritten(ColourTableSize);
  }
}

int Percent(std::uint64_t Done, std::uint64_t Total) {
  return Total == 0 ? 100 : static_cast<int>(Done * 100 / Total);
}

}  // namespace

void ExtractImageList(TRunContext& Run, const std::string& Path) {
  TStringList List;
  List.LoadFromFile(Path);
  const std::string PackPath = List.Get(0);
  TFileStream Pack(PackPath, fmOpenRead);
  const TImagePackHeader Header = ReadPackHeader(Pack, PackPath);
  const std::vector<std::size_t> RowSizes = ReadImageRowSizes(List, Header.ImageCount, Path);

  TBitmap Bitmap4, Bitmap8;
  PrepareBitmap(Bitmap4, pf4bit);
  PrepareBitmap(Bitmap8, pf8bit);
  const std::string Base = UniqueBase(Run, BaseName(Path));

  // The sections are read in this order whatever their order in the pack.
  if (Header.Palette16Count != 0) {
    Pack.Seek(Header.Palette16Offset);
    ExtractPalettes(Run, Pack, Header.Palette16Count, 16, Base + "16_");
  }
  if (Header.Palette256Count != 0) {
    Pack.Seek(Header.Palette256Offset);
    ExtractPalettes(Run, Pack, Header.Palette256Count, 256, Base + "256_");
  }
  if (Header.ImageCount == 0) return;

  Pack.Seek(Header.ImageOffset);
  Run.ReportProgress(0);
  for (std::uint32_t K = 0; K < Header.ImageCount; ++K) {
    const bool Eight = RowSizes[K] == RowSize8;
    TBitmap& Bitmap = Eight ? Bitmap8 : Bitmap4;
    const std::size_t RecordSize = RowSizes[K] * ImageRows;
    // The bitmap's rows are RowSizes[K] bytes apart, top row first, exactly as the record
    // holds them: the whole record goes straight into the scan lines in one read.
    std::uint8_t* Rows = Bitmap.ScanLine(0);
    std::size_t Got = Pack.Read(Rows, RecordSize);
    // A record cut short by the end of the pack is still saved; its missing rows are 0
    // rather than whatever the previous image left in the bitmap.
    std::memset(Rows + Got, 0, RecordSize - Got);
    if (!Eight)
      SwapNibbles(Rows, static_cast<std::int32_t>(RecordSize));  // left pixel to the high nibble

    const std::string Name = JoinPath(Run.OutputDir, Base + "_" + IntToHex(K, 4) + ".bmp");
    Bitmap.SaveToFile(Name);
    Run.ResultList.Add(Name);
    Run.NoteFileWritten(static_cast<std::int64_t>(Bitmap.FileSize()));
    Run.ReportProgress(Percent(K + 1, Header.ImageCount));
  }
}

int InsertImageList(TRunContext& Run, int Index) {
  // The replay holds the list open without sharing; it must be let go before it can be read.
  Run.ReleaseTarget();
  TStringList List;
  List.LoadFromFile(Run.TargetPath);
  const std::string PackPath = List.Get(0);
  TFileStream Pack(PackPath, fmOpenReadWrite);
  const TImagePackHeader Header = ReadPackHeader(Pack, PackPath);
  const std::vector<std::size_t> RowSizes =
      ReadImageRowSizes(List, Header.ImageCount, Run.TargetPath);
  const std::int64_t PackSize = Pack.Size();

  TBitmap Bitmap;
  std::vector<std::uint8_t> Record(RowSize8 * ImageRows);
  std::int64_t Start = Header.ImageOffset;
  if (Header.ImageCount != 0) Run.ReportProgress(0);
  for (std::uint32_t K = 0; K < Header.ImageCount; ++K) {
    const std::size_t RowSize = RowSizes[K];
    const std::int64_t RecordStart = Start;
    Start += static_cast<std::int64_t>(RowSize * ImageRows);
    const std::string& Entry = Run.ReplayList.Get(static_cast<long long>(Index) + K);
    Run.ReportProgress(Percent(K + 1, Header.ImageCount));
    if (!FileExists(Entry)) continue;  // not edited, or removed: the record keeps its content

    const std::string Name = ExtractFileName(Entry);
    // The pack's size never changes: a record that runs past its end is not written.
    if (Start > PackSize) {
      Run.AddResult(Name + ": image record " + std::to_string(K) +
                    " does not lie wholly inside the pack, left unchanged");
      continue;
    }
    Bitmap.LoadFromFile(Entry);
    // A picture of another depth would turn the record into garbage: report it and leave the
    // record as it is.
    if (RowSize == RowSize8 && Bitmap.PixelFormat() != pf8bit) {
      Run.AddResult(Name + " is not 8 bit!");
      continue;
    }
    if (RowSize == RowSize4 && Bitmap.PixelFormat() != pf4bit) {
      Run.AddResult(Name + " is not 4 bit!");
      continue;
    }
    // Rows are padded in memory, so the width itself says whether the picture covers the record.
    if (Bitmap.Width() < 256) {
      Run.AddResult(Name + " is " + std::to_string(Bitmap.Width()) +
                    " pixels wide, narrower than its 256-pixel image record, left unchanged");
      continue;
    }
    // The top 256 rows go in; a shorter picture replaces only its own rows.
    const int Rows = std::min(Bitmap.Height(), ImageRows);
    for (int R = 0; R < Rows; ++R)
      std::memcpy(Record.data() + static_cast<std::size_t>(R) * RowSize, Bitmap.ScanLine(R),
                  RowSize);
    const std::size_t Bytes = static_cast<std::size_t>(Rows) * RowSize;
    if (RowSize == RowSize4)
      SwapNibbles(Record.data(),
                  static_cast<std::int32_t>(Bytes));  // left pixel back to the low nibble
    Pack.Seek(RecordStart);
    Pack.WriteBuffer(Record.data(), Bytes);
    Run.NoteFileWritten(static_cast<std::int64_t>(Bytes));
  }
  return static_cast<int>(
      std::min<long long>(static_cast<long long>(Index) + Header.ImageCount, INT_MAX));
}
