#include "platform/Bitmap.h"

// Windows bitmap file layout (all fields little-endian):
//
//   File header, 14 bytes:
//     0  2  "BM"
//     2  4  file size (writers often get it wrong; we only refuse one past the end of the data)
//     6  4  reserved
//     10 4  offset of the pixel data from the start of the file
//   Info header, its size first:
//     12 bytes (OS/2 core): width and height as unsigned 16-bit, planes, bits per pixel;
//       the colour table follows with 3-byte entries (blue, green, red).
//     40 bytes (Windows): width, height (signed 32-bit; negative height = rows top-down),
//       planes (1), bits per pixel, compression (0 none, 1 RLE8, 2 RLE4, 3 bit fields), image
//       size, horizontal and vertical resolution (pixels per metre), colours used, colours
//       important. With bit fields, the red, green and blue masks follow the header.
//     52, 56, 108, 124 bytes: the 40-byte header followed by the masks (red, green, blue,
//       alpha) and colour-space data, which we do not need.
//   Colour table: "colours used" entries of 4 bytes (blue, green, red, 0); 0 means 2^bits for
//     indexed pictures.
//   Pixel data at the offset: rows bottom-up (unless the height is negative), each padded to
//     a multiple of 4 bytes; or an RLE stream (always bottom-up).

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/Errors.h"

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
// Max pixel bytes of a picture we make or read: filters out absurd sizes before allocating.
constexpr std::uint64_t MaxPixelBytes = std::uint64_t(256) << 20;
// Max resolution we believe (1,000,000 pixels per metre is 25,400 dpi): larger values only
// occur in damaged headers.
constexpr std::int64_t MaxResolution = 1000000;

enum TCompression : std::uint32_t {
  bcRGB = 0,        // uncompressed
  bcRLE8 = 1,       // run-length encoded, 8 bits per pixel
  bcRLE4 = 2,       // run-length encoded, 4 bits per pixel
  bcBitFields = 3,  // uncompressed 16 or 32 bits with colour masks
};

int FormatBits(TPixelFormat Format) {
  switch (Format) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    case pf32bit:
      return 32;
  }
  return 24;
}

std::uint64_t StrideFor(std::uint64_t Width, int Bits) { return (Width * Bits + 31) / 32 * 4; }

std::uint16_t Get16(const std::uint8_t* P) { return static_cast<std::uint16_t>(P[0] | P[1] << 8); }
std::uint32_t Get32(const std::uint8_t* P) {
  return std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8 | std::uint32_t(P[2]) << 16 |
         std::uint32_t(P[3]) << 24;
}
void Put16(std::uint8_t* P, std::uint32_t V) {
  P[0] = static_cast<std::uint8_t>(V);
  P[1] = static_cast<std::uint8_t>(V >> 8);
}
void Put32(std::uint8_t* P, std::uint32_t V) {
  Put16(P, V);
  Put16(P + 2, V >> 16);
}

// A mask must be one run of set bits inside the pixel.
bool ValidMask(std::uint32_t Mask, int Bits) {
  if (Mask == 0) return false;
  if (Bits < 32 && (Mask >> Bits) != 0) return false;
  std::uint32_t Shifted = Mask >> std::countr_zero(Mask);
  return (Shifted & (Shifted + 1)) == 0;
}

std::uint8_t ScaleField(std::uint32_t Pixel, std::uint32_t Mask) {
  if (Mask == 0) return 0;
  int Shift = std::countr_zero(Mask);
  std::uint64_t Max = Mask >> Shift;
  std::uint64_t Value = (Pixel & Mask) >> Shift;
  return static_cast<std::uint8_t>((Value * 255 + Max / 2) / Max);
}

void SetIndex(std::uint8_t* Row, int Bits, int X, unsigned Index) {
  if (Bits == 8) {
    Row[X] = static_cast<std::uint8_t>(Index);
  } else {  // 4 bits: left pixel in the high nibble
    std::uint8_t& B = Row[X / 2];
    B = (X & 1) ? static_cast<std::uint8_t>((B & 0xF0) | (Index & 0x0F))
                : static_cast<std::uint8_t>((B & 0x0F) | (Index & 0x0F) << 4);
  }
}

// The parsed headers of a file, checked before anything is allocated.
struct THeader {
  std::int64_t Width = 0, Height = 0;
  bool TopDown = false;
  int Bits = 0;
  std::uint32_t Compression = bcRGB;
  std::uint32_t Masks[3] = {0, 0, 0};
  std::size_t PixelOffset = 0;
  std::size_t ImageSize = 0;
  TPalette Colours;
};

[[noreturn]] void Invalid() { throw EInvalidGraphic(); }

THeader ParseHeader(const std::uint8_t* Data, std::size_t Size) {
  THeader H;
  if (Size < FileHeaderSize + 12 || Data[0] != 'B' || Data[1] != 'M') Invalid();
  std::uint32_t FileSize = Get32(Data + 2);
  if (FileSize > Size) Invalid();  // a file cut short, or a damaged header
  H.PixelOffset = Get32(Data + 10);
  std::uint32_t HeaderSize = Get32(Data + 14);
  bool Core = HeaderSize == 12;
  if (!Core && HeaderSize != 40 && HeaderSize != 52 && HeaderSize != 56 && HeaderSize != 108 &&
      HeaderSize != 124)
    Invalid();
  if (Size < FileHeaderSize + HeaderSize) Invalid();
  const std::uint8_t* Info = Data + FileHeaderSize;
  std::uint32_t ColoursUsed = 0;
  std::size_t TableStart = FileHeaderSize + HeaderSize;
  if (Core) {
    H.Width = Get16(Info + 4);
    H.Height = Get16(Info + 6);
    if (Get16(Info + 8) != 1) Invalid();
    H.Bits = Get16(Info + 10);
    if (H.Bits != 1 && H.Bits != 4 && H.Bits != 8 && H.Bits != 24) Invalid();
  } else {
    H.Width = static_cast<std::int32_t>(Get32(Info + 4));
    H.Height = static_cast<std::int32_t>(Get32(Info + 8));
    if (Get16(Info + 12) != 1) Invalid();
    H.Bits = Get16(Info + 14);
    H.Compression = Get32(Info + 16);
    H.ImageSize = Get32(Info + 20);
    std::int64_t XRes = static_cast<std::int32_t>(Get32(Info + 24));
    std::int64_t YRes = static_cast<std::int32_t>(Get32(Info + 28));
    ColoursUsed = Get32(Info + 32);
    if (std::abs(XRes) > MaxResolution || std::abs(YRes) > MaxResolution) Invalid();
    if (H.Bits != 1 && H.Bits != 4 && H.Bits != 8 && H.Bits != 16 && H.Bits != 24 && H.Bits != 32)
      Invalid();
    if (H.ImageSize > Size) Invalid();
    switch (H.Compression) {
      case bcRGB:
        break;
      case bcRLE8:
        if (H.Bits != 8) Invalid();
        break;
      case bcRLE4:
        if (H.Bits != 4) Invalid();
        break;
      case bcBitFields:
        if (H.Bits != 16 && H.Bits != 32) Invalid();
        if (HeaderSize == 40) {  // the masks follow the header
          if (Size < TableStart + 12) Invalid();
          for (int I = 0; I < 3; ++I) H.Masks[I] = Get32(Data + TableStart + 4 * I);
          TableStart += 12;
        } else {
          for (int I = 0; I < 3; ++I) H.Masks[I] = Get32(Info + 40 + 4 * I);
        }
        for (int I = 0; I < 3; ++I)
          if (!ValidMask(H.Masks[I], H.Bits)) Invalid();
        if ((H.Masks[0] & H.Masks[1]) || (H.Masks[0] & H.Masks[2]) || (H.Masks[1] & H.Masks[2]))
          Invalid();
        break;
      default:
        Invalid();  // JPEG, PNG, alpha bit fields, Huffman and the rest
    }
  }
  if (H.Compression == bcRGB && H.Bits == 16) {
    H.Masks[0] = 0x7C00, H.Masks[1] = 0x03E0, H.Masks[2] = 0x001F;
  } else if (H.Compression == bcRGB && H.Bits == 32) {
    H.Masks[0] = 0xFF0000, H.Masks[1] = 0xFF00, H.Masks[2] = 0xFF;
  }

  if (H.Width <= 0 || H.Height == 0 || H.Height == std::numeric_limits<std::int32_t>::min())
    Invalid();
  if (H.Height < 0) {
    H.TopDown = true;
    H.Height = -H.Height;
  }
  // RLE streams are laid out bottom-up only.
  if (H.TopDown && (H.Compression == bcRLE8 || H.Compression == bcRLE4)) Invalid();
  if (StrideFor(static_cast<std::uint64_t>(H.Width), H.Bits) *
          static_cast<std::uint64_t>(H.Height) >
      MaxPixelBytes)
    Invalid();

  // Colour table.
  std::size_t EntrySize = Core ? 3 : 4;
  if (H.PixelOffset < TableStart || H.PixelOffset > Size) Invalid();
  std::size_t Room = (H.PixelOffset - TableStart) / EntrySize;
  std::size_t Count;
  if (H.Bits <= 8) {
    std::size_t Full = std::size_t(1) << H.Bits;
    if (ColoursUsed > Full) Invalid();
    Count = ColoursUsed == 0 ? Full : ColoursUsed;
    // Core headers carry no count: the table fills the room up to the pixel data.
    if (Core) Count = std::min(Count, Room);
  } else {
    // A table beside direct colours names no pixel's colour: it only has to fit.
    if (ColoursUsed > Room) Invalid();
    Count = 0;
  }
  if (Count > Room) Invalid();
  H.Colours.resize(Count);
  for (std::size_t I = 0; I < Count; ++I) {
    const std::uint8_t* E = Data + TableStart + I * EntrySize;
    H.Colours[I] = {E[2], E[1], E[0], 0};
  }
  return H;
}

// Decodes an RLE8 or RLE4 stream into Rows (top row first, Stride apart, zeroed). Runs that
// leave the picture and streams that end without their end-of-bitmap code are refused.
void DecodeRLE(const THeader& H, const std::uint8_t* In, std::size_t Length, std::uint8_t* Rows,
               std::size_t Stride) {
  const std::int64_t Width = H.Width, Height = H.Height;
  std::int64_t X = 0, Y = 0;  // Y counts from the bottom row
  std::size_t P = 0;
  auto Row = [&]() -> std::uint8_t* {
    if (Y >= Height) Invalid();
    return Rows + static_cast<std::size_t>(Height - 1 - Y) * Stride;
  };
  const bool Four = H.Compression == bcRLE4;
  while (true) {
    if (P + 2 > Length) Invalid();
    unsigned Count = In[P], Value = In[P + 1];
    P += 2;
    if (Count > 0) {
      if (X + Count > Width) Invalid();
      std::uint8_t* R = Row();
      for (unsigned I = 0; I < Count; ++I, ++X)
        SetIndex(R, H.Bits, static_cast<int>(X),
                 Four ? ((I & 1) ? Value & 0x0F : Value >> 4) : Value);
      continue;
    }
    if (Value == 0) {  // end of line
      X = 0;
      ++Y;
    } else if (Value == 1) {  // end of bitmap
      return;
    } else if (Value == 2) {  // delta: move right and up
      if (P + 2 > Length) Invalid();
      X += In[P];
      Y += In[P + 1];
      P += 2;
      if (X > Width || Y >= Height) Invalid();
    } else {  // absolute run of Value pixels, padded to a whole 16-bit word
      std::size_t Bytes = Four ? (Value + 1) / 2 : Value;
      if (P + Bytes > Length) Invalid();
      if (X + Value > Width) Invalid();
      std::uint8_t* R = Row();
      for (unsigned I = 0; I < Value; ++I, ++X) {
        unsigned Index = Four ? ((I & 1) ? In[P + I / 2] & 0x0F : In[P + I / 2] >> 4) : In[P + I];
        SetIndex(R, H.Bits, static_cast<int>(X), Index);
      }
      P += (Bytes + 1) & ~std::size_t(1);
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
void TBitmap::SetPixelFormat(TPixelFormat NewFormat) {
  Format = NewFormat;
  RedMask = GreenMask = BlueMask = 0;
  if (Format == pf15bit) RedMask = 0x7C00, GreenMask = 0x03E0, BlueMask = 0x001F;
  if (Format == pf16bit) RedMask = 0xF800, GreenMask = 0x07E0, BlueMask = 0x001F;
  if (Format == pf32bit) RedMask = 0xFF0000, GreenMask = 0xFF00, BlueMask = 0xFF;
  Allocate();
}

int TBitmap::BitsPerPixel() const { return FormatBits(Format); }

void TBitmap::SetSize(int NewWidth, int NewHeight) {
  if (NewWidth < 0 || NewHeight < 0) throw EInvalidGraphic();
  if (StrideFor(static_cast<std::uint64_t>(NewWidth), 32) * static_cast<std::uint64_t>(NewHeight) >
      MaxPixelBytes)
    throw EInvalidGraphic();
  W = NewWidth;
  H = NewHeight;
  Allocate();
}

void TBitmap::Allocate() {
  RowStride = static_cast<std::size_t>(StrideFor(static_cast<std::uint64_t>(W), BitsPerPixel()));
  Pixels.assign(RowStride * static_cast<std::size_t>(H), 0);
}

std::size_t TBitmap::RowBytes() const {
  return (static_cast<std::size_t>(W) * static_cast<std::size_t>(BitsPerPixel()) + 7) / 8;
}

std::uint8_t* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= H) throw EInvalidGraphic();
  return Pixels.data() + static_cast<std::size_t>(Row) * RowStride;
}

const std::uint8_t* TBitmap::ScanLine(int Row) const {
  if (Row < 0 || Row >= H) throw EInvalidGraphic();
  return Pixels.data() + static_cast<std::size_t>(Row) * RowStride;
}

unsigned TBitmap::PixelIndex(int X, int Y) const {
  if (X < 0 || X >= W) return 0;
  const std::uint8_t* Row = ScanLine(Y);
  switch (Format) {
    case pf1bit:
      return (Row[X / 8] >> (7 - X % 8)) & 1;
    case pf4bit:
      return (X & 1) ? Row[X / 2] & 0x0F : Row[X / 2] >> 4;
    case pf8bit:
      return Row[X];
    default:
      return 0;
  }
}

TRGB TBitmap::PixelColor(int X, int Y) const {
  if (X < 0 || X >= W) return {};
  const std::uint8_t* Row = ScanLine(Y);
  switch (Format) {
    case pf1bit:
    case pf4bit:
    case pf8bit: {
      unsigned Index = PixelIndex(X, Y);
      if (Index >= Colours.size()) return {};
      return {Colours[Index].Red, Colours[Index].Green, Colours[Index].Blue};
    }
    case pf24bit:
      return {Row[3 * X + 2], Row[3 * X + 1], Row[3 * X]};
    case pf15bit:
    case pf16bit:
    case pf32bit: {
      std::uint32_t P = Format == pf32bit ? Get32(Row + 4 * X) : Get16(Row + 2 * X);
      return {ScaleField(P, RedMask), ScaleField(P, GreenMask), ScaleField(P, BlueMask)};
    }
  }
  return {};
}

// ---------------------------------------------------------------------------------------------
void TBitmap::LoadFromFile(const std::string& Path) {
  TFileStream Stream(Path, fmOpenRead);
  LoadFromStream(Stream);
}

void TBitmap::LoadFromStream(TStream& Stream) {
  std::int64_t Left = Stream.Size() - Stream.Position();
  // A bitmap file larger than the largest picture we accept plus its headers is not one.
  if (Left < 0 || static_cast<std::uint64_t>(Left) > MaxPixelBytes + (1 << 20))
    throw EInvalidGraphic();
  std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(Left));
  Bytes.resize(Stream.Read(Bytes.data(), Bytes.size()));
  LoadFromBytes(Bytes.data(), Bytes.size());
}

void TBitmap::LoadFromBytes(const std::uint8_t* Data, std::size_t Size) {
  THeader Hd = ParseHeader(Data, Size);
  const std::size_t Stride =
      static_cast<std::size_t>(StrideFor(static_cast<std::uint64_t>(Hd.Width), Hd.Bits));
  const std::size_t Height = static_cast<std::size_t>(Hd.Height);
  const std::uint8_t* In = Data + Hd.PixelOffset;
  const std::size_t Available = Size - Hd.PixelOffset;
  std::vector<std::uint8_t> Rows;

  if (Hd.Compression == bcRLE8 || Hd.Compression == bcRLE4) {
    Rows.assign(Stride * Height, 0);
    DecodeRLE(Hd, In, Available, Rows.data(), Stride);
  } else {
    // Uncompressed: the file must hold every row before we allocate for them.
    if (Stride * Height > Available) Invalid();
    Rows.resize(Stride * Height);
    for (std::size_t R = 0; R < Height; ++R) {
      std::size_t Target = Hd.TopDown ? R : Height - 1 - R;
      std::memcpy(Rows.data() + Target * Stride, In + R * Stride, Stride);
    }
  }

  // An index past a short colour table names no colour: the file is damaged.
  if (Hd.Bits <= 8 && Hd.Colours.size() < (std::size_t(1) << Hd.Bits)) {
    const unsigned Limit = static_cast<unsigned>(Hd.Colours.size());
    for (std::size_t R = 0; R < Height; ++R) {
      const std::uint8_t* Row = Rows.data() + R * Stride;
      for (std::int64_t X = 0; X < Hd.Width; ++X) {
        unsigned Index = Hd.Bits == 8   ? Row[X]
                         : Hd.Bits == 4 ? ((X & 1) ? Row[X / 2] & 0x0F : Row[X / 2] >> 4)
                                        : (Row[X / 8] >> (7 - X % 8)) & 1;
        if (Index >= Limit) Invalid();
      }
    }
  }

  // Everything checked: take the picture over.
  switch (Hd.Bits) {
    case 1:
      Format = pf1bit;
      break;
    case 4:
      Format = pf4bit;
      break;
    case 8:
      Format = pf8bit;
      break;
    case 16:
      Format = Hd.Masks[0] == 0x7C00 && Hd.Masks[1] == 0x03E0 && Hd.Masks[2] == 0x001F ? pf15bit
                                                                                       : pf16bit;
      break;
    case 24:
      Format = pf24bit;
      break;
    default:
      Format = pf32bit;
      break;
  }
  RedMask = Hd.Masks[0];
  GreenMask = Hd.Masks[1];
  BlueMask = Hd.Masks[2];
  W = static_cast<int>(Hd.Width);
  H = static_cast<int>(Hd.Height);
  RowStride = Stride;
  Pixels = std::move(Rows);
  Colours = std::move(Hd.Colours);
}

// ---------------------------------------------------------------------------------------------
bool TBitmap::UsesBitFields() const {
  if (Format == pf16bit) return true;
  if (Format == pf32bit) return !(RedMask == 0xFF0000 && GreenMask == 0xFF00 && BlueMask == 0xFF);
  return false;
}

namespace {
std::size_t TableEntries(const TBitmap& B) {
  if (B.BitsPerPixel() > 8) return 0;
  std::size_t Full = std::size_t(1) << B.BitsPerPixel();
  return B.Palette().empty() ? Full : std::min(B.Palette().size(), Full);
}
}  // namespace

std::size_t TBitmap::FileSize() const {
  return FileHeaderSize + InfoHeaderSize + (UsesBitFields() ? 12 : 0) + 4 * TableEntries(*this) +
         RowStride * static_cast<std::size_t>(H);
}

void TBitmap::SaveToStream(TStream& Stream) const {
  const std::size_t Entries = TableEntries(*this);
  const std::size_t Offset = FileSize() - RowStride * static_cast<std::size_t>(H);
  std::vector<std::uint8_t> Head(Offset, 0);
  std::uint8_t* P = Head.data();
  P[0] = 'B';
  P[1] = 'M';
  Put32(P + 2, static_cast<std::uint32_t>(FileSize()));
  Put32(P + 10, static_cast<std::uint32_t>(Offset));
  P += FileHeaderSize;
  Put32(P, InfoHeaderSize);
  Put32(P + 4, static_cast<std::uint32_t>(W));
  Put32(P + 8, static_cast<std::uint32_t>(H));
  Put16(P + 12, 1);
  Put16(P + 14, static_cast<std::uint32_t>(BitsPerPixel()));
  Put32(P + 16, UsesBitFields() ? bcBitFields : bcRGB);
  Put32(P + 20, static_cast<std::uint32_t>(RowStride * static_cast<std::size_t>(H)));
  Put32(P + 32, static_cast<std::uint32_t>(Entries));
  P += InfoHeaderSize;
  if (UsesBitFields()) {
    Put32(P, RedMask);
    Put32(P + 4, GreenMask);
    Put32(P + 8, BlueMask);
    P += 12;
  }
  for (std::size_t I = 0; I < Entries; ++I, P += 4) {
    if (Colours.empty()) {  // no table given: greys
      std::uint8_t Grey = static_cast<std::uint8_t>(I * 255 / (Entries - 1));
      P[0] = P[1] = P[2] = Grey;
    } else {
      P[0] = Colours[I].Blue;
      P[1] = Colours[I].Green;
      P[2] = Colours[I].Red;
    }
  }
  Stream.WriteBuffer(Head.data(), Head.size());
  for (int R = H; R-- > 0;)
    Stream.WriteBuffer(Pixels.data() + static_cast<std::size_t>(R) * RowStride, RowStride);
}

void TBitmap::SaveToFile(const std::string& Path) const {
  TFileWriter Writer(Path);
  SaveToStream(Writer);
  Writer.Commit();
}
