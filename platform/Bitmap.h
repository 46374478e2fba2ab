#pragma once
// A picture in memory with a pixel format, a colour table and direct row access, read from
// and written to Windows bitmap files (.bmp).
//
// Rows are held top row first (ScanLine(0) is the top row whatever the file's row order),
// each padded to a multiple of 4 bytes, so that a row is laid out exactly as a bitmap file
// stores it. Indexed pictures (1, 4, 8 bits) hold raw colour indices; 15, 16 and 32 bits
// hold little-endian pixels whose colour fields are described by RedMask, GreenMask and
// BlueMask; 24 bits hold blue, green, red.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Streams.h"

// One colour table entry (also one entry of a logical palette).
struct TPaletteEntry {
  std::uint8_t Red = 0, Green = 0, Blue = 0, Flags = 0;
  bool operator==(const TPaletteEntry&) const = default;
};
using TPalette = std::vector<TPaletteEntry>;

struct TRGB {
  std::uint8_t Red = 0, Green = 0, Blue = 0;
  bool operator==(const TRGB&) const = default;
};

enum TPixelFormat {
  pf1bit,   // 2 colour indices, 8 pixels a byte, leftmost pixel in bit 7
  pf4bit,   // 16 colour indices, 2 pixels a byte, left pixel in the high nibble
  pf8bit,   // 256 colour indices, one byte a pixel
  pf15bit,  // 2 bytes a pixel: 5 bits each of red (10-14), green (5-9), blue (0-4)
  pf16bit,  // 2 bytes a pixel, fields given by the masks (5-6-5 unless a file said otherwise)
  pf24bit,  // 3 bytes a pixel: blue, green, red
  pf32bit,  // 4 bytes a pixel, fields given by the masks (8-8-8 in bits 0-23 by default)
};

class TBitmap {
 public:
  TBitmap() = default;

  TPixelFormat PixelFormat() const { return Format; }
  // Changes the pixel format. The pixels become 0 and the masks the format's defaults.
  void SetPixelFormat(TPixelFormat NewFormat);
  int BitsPerPixel() const;

  int Width() const { return W; }
  int Height() const { return H; }
  // Changes the size. The pixels become 0. Throws EInvalidGraphic for a negative size or one
  // whose pixels would not fit in memory.
  void SetSize(int NewWidth, int NewHeight);
  void SetWidth(int NewWidth) { SetSize(NewWidth, H); }
  void SetHeight(int NewHeight) { SetSize(W, NewHeight); }

  const TPalette& Palette() const { return Colours; }
  void SetPalette(TPalette NewPalette) { Colours = std::move(NewPalette); }

  // Bytes of one row that hold pixels: (Width x bits per pixel + 7) / 8.
  std::size_t RowBytes() const;
  // Distance between two rows: RowBytes rounded up to a multiple of 4.
  std::size_t Stride() const { return RowStride; }
  // Row Row, 0 being the top row. Throws EInvalidGraphic outside 0 .. Height - 1.
  std::uint8_t* ScanLine(int Row);
  const std::uint8_t* ScanLine(int Row) const;

  // Colour fields of 15, 16 and 32-bit pixels (0 for the other formats).
  std::uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0;
  // The colour of pixel (X, Y), Y = 0 being the top row: the colour table entry for indexed
  // pictures (black for an index past the table), the mask fields scaled to 0-255 otherwise.
  TRGB PixelColor(int X, int Y) const;
  // The raw colour index of pixel (X, Y) of an indexed picture (0 for the other formats).
  unsigned PixelIndex(int X, int Y) const;

  // Reading accepts the OS/2 core header (12 bytes) and the Windows info headers (40, 52, 56,
  // 108 and 124 bytes); 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed, bit fields, RLE8
  // and RLE4; rows bottom-up and top-down; colour tables shorter than the depth allows. The
  // picture keeps the file's depth and raw colour indices. Anything else, and any damaged
  // file, throws EInvalidGraphic and leaves this bitmap as it was. LoadFromFile throws
  // EFOpenError when the file cannot be opened.
  void LoadFromFile(const std::string& Path);
  // Reads from the stream's position to its end.
  void LoadFromStream(TStream& Stream);
  void LoadFromBytes(const std::uint8_t* Bytes, std::size_t Size);

  // Writes an uncompressed file: file header, 40-byte info header (and the three masks for
  // bit fields), the colour table of indexed pictures, rows bottom-up padded to 4 bytes.
  // SaveToFile replaces the file through a temporary file; throws EFCreateError.
  void SaveToFile(const std::string& Path) const;
  void SaveToStream(TStream& Stream) const;
  // The size in bytes of the file SaveToStream writes.
  std::size_t FileSize() const;

 private:
  void Allocate();
  bool UsesBitFields() const;

  TPixelFormat Format = pf24bit;
  int W = 0, H = 0;
  std::size_t RowStride = 0;
  std::vector<std::uint8_t> Pixels;
  TPalette Colours;
};
