#pragma once
// The picture that a Targa component holds, and the canvas it is drawn through.
//
// A TTargaBitmap is a block of rows, top row first, each row Width pixels with no padding.
// Its pixel layouts are the ones the red/blue exchanges work on (little-endian words):
//   15 bits: 2 bytes, bits 0-4 blue, 5-9 green, 10-14 red, bit 15 spare
//   16 bits: 2 bytes, bits 0-4 blue, 5-10 green, 11-15 red
//   24 bits: 3 bytes, blue, green, red
//   32 bits: 4 bytes, blue, green, red, spare
// A new or enlarged picture is black (all bytes 0).

#include <cstddef>
#include <cstdint>
#include <vector>

class TTargaBitmap;

// A colour as the canvas takes and gives it: red in bits 0-7, green in 8-15, blue in 16-23.
using TColor = std::uint32_t;

// The drawing surface of one picture: pixel access and drawing another picture onto it.
// A canvas belongs to its picture and lives as long as it.
class TTargaCanvas {
 public:
  explicit TTargaCanvas(TTargaBitmap& Owner) : Picture(Owner) {}
  TTargaCanvas(const TTargaCanvas&) = delete;
  TTargaCanvas& operator=(const TTargaCanvas&) = delete;

  // The colour at (X, Y); 0 outside the picture. Channels narrower than 8 bits are widened by
  // repeating their top bits, so 5-bit 31 reads as 255.
  TColor GetPixel(int X, int Y) const;
  // Stores a colour at (X, Y), narrowed to the picture's depth; nothing outside the picture.
  void SetPixel(int X, int Y, TColor Color);
  // Draws Source with its top-left corner at (X, Y), converting each pixel to this picture's
  // depth; the parts that fall outside this picture are left out.
  void Draw(int X, int Y, const TTargaBitmap& Source);

 private:
  TTargaBitmap& Picture;
};

class TTargaBitmap {
 public:
  // A picture of Width x Height pixels at Depth bits (15, 16, 24 or 32; any other depth
  // makes a 32-bit picture). Negative sizes count as 0.
  TTargaBitmap(int Width, int Height, int Depth);
  TTargaBitmap(const TTargaBitmap& Other);
  TTargaBitmap& operator=(const TTargaBitmap&) = delete;

  int Width() const { return PixelWidth; }
  int Height() const { return PixelHeight; }
  // 15, 16, 24 or 32.
  int Depth() const { return PixelDepth; }
  int BytesPerPixel() const { return BytesPerPixelOf(PixelDepth); }
  std::size_t RowBytes() const { return std::size_t(PixelWidth) * BytesPerPixel(); }

  // The bytes of row Row counted from the top, or nullptr for a row outside the picture.
  std::uint8_t* ScanLine(int Row);
  const std::uint8_t* ScanLine(int Row) const;

  // Changes the size; the part of the old picture that still fits stays where it was, the
  // rest is black.
  void SetSize(int Width, int Height);

  TTargaCanvas& Canvas() { return Surface; }
  const TTargaCanvas& Canvas() const { return Surface; }

  // Bytes per pixel of a supported depth (2, 2, 3, 4).
  static int BytesPerPixelOf(int Depth) { return Depth <= 16 ? 2 : Depth == 24 ? 3 : 4; }
  // The depth a picture is made at for a requested one: itself when supported, else 32.
  static int SupportedDepth(int Depth);

 private:
  int PixelWidth = 0;
  int PixelHeight = 0;
  int PixelDepth = 32;
  std::vector<std::uint8_t> Bits;
  TTargaCanvas Surface{*this};
};
