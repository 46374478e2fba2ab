#include "components/TargaCanvas.h"

#include <algorithm>
#include <cstring>

namespace {

// Widens a 5- or 6-bit channel to 8 bits by repeating its top bits (31 -> 255, 0 -> 0).
std::uint32_t Widen5(std::uint32_t V) { return (V << 3) | (V >> 2); }
std::uint32_t Widen6(std::uint32_t V) { return (V << 2) | (V >> 4); }

TColor ReadPixel(const std::uint8_t* P, int Depth) {
  std::uint32_t R, G, B;
  switch (Depth) {
    case 15: {
      std::uint32_t W = std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8;
      B = Widen5(W & 0x1F);
      G = Widen5((W >> 5) & 0x1F);
      R = Widen5((W >> 10) & 0x1F);
      break;
    }
    case 16: {
      std::uint32_t W = std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8;
      B = Widen5(W & 0x1F);
      G = Widen6((W >> 5) & 0x3F);
      R = Widen5((W >> 11) & 0x1F);
      break;
    }
    default:  // 24 and 32: blue, green, red
      B = P[0];
      G = P[1];
      R = P[2];
      break;
  }
  return R | G << 8 | B << 16;
}

void WritePixel(std::uint8_t* P, int Depth, TColor Color) {
  std::uint32_t R = Color & 0xFF, G = (Color >> 8) & 0xFF, B = (Color >> 16) & 0xFF;
  switch (Depth) {
    case 15: {
      std::uint32_t W = (B >> 3) | (G >> 3) << 5 | (R >> 3) << 10;
      P[0] = std::uint8_t(W);
      P[1] = std::uint8_t(W >> 8);
      break;
    }
    case 16: {
      std::uint32_t W = (B >> 3) | (G >> 2) << 5 | (R >> 3) << 11;
      P[0] = std::uint8_t(W);
      P[1] = std::uint8_t(W >> 8);
      break;
    }
    case 24:
      P[0] = std::uint8_t(B);
      P[1] = std::uint8_t(G);
      P[2] = std::uint8_t(R);
      break;
    default:
      P[0] = std::uint8_t(B);
      P[1] = std::uint8_t(G);
      P[2] = std::uint8_t(R);
      P[3] = 0;
      break;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
TTargaBitmap::TTargaBitmap(int Width, int Height, int Depth)
    : PixelWidth(std::max(Width, 0)),
      PixelHeight(std::max(Height, 0)),
      PixelDepth(SupportedDepth(Depth)),
      Bits(RowBytes() * std::size_t(PixelHeight)) {}

TTargaBitmap::TTargaBitmap(const TTargaBitmap& Other)
    : PixelWidth(Other.PixelWidth),
      PixelHeight(Other.PixelHeight),
      PixelDepth(Other.PixelDepth),
      Bits(Other.Bits) {}

int TTargaBitmap::SupportedDepth(int Depth) {
  return Depth == 15 || Depth == 16 || Depth == 24 ? Depth : 32;
}

std::uint8_t* TTargaBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= PixelHeight || PixelWidth == 0) return nullptr;
  return Bits.data() + std::size_t(Row) * RowBytes();
}

const std::uint8_t* TTargaBitmap::ScanLine(int Row) const {
  if (Row < 0 || Row >= PixelHeight || PixelWidth == 0) return nullptr;
  return Bits.data() + std::size_t(Row) * RowBytes();
}

void TTargaBitmap::SetSize(int Width, int Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == PixelWidth && Height == PixelHeight) return;
  const std::size_t Bpp = BytesPerPixel();
  const std::size_t NewRow = std::size_t(Width) * Bpp;
  std::vector<std::uint8_t> NewBits(NewRow * std::size_t(Height));
  const std::size_t Keep = std::min(NewRow, RowBytes());
  const int KeepRows = std::min(Height, PixelHeight);
  for (int Y = 0; Y < KeepRows && Keep > 0; ++Y)
    std::memcpy(NewBits.data() + std::size_t(Y) * NewRow, Bits.data() + std::size_t(Y) * RowBytes(),
                Keep);
  Bits.swap(NewBits);
  PixelWidth = Width;
  PixelHeight = Height;
}

// ---------------------------------------------------------------------------------------------
TColor TTargaCanvas::GetPixel(int X, int Y) const {
  if (X < 0 || X >= Picture.Width()) return 0;
  const std::uint8_t* Row = Picture.ScanLine(Y);
  if (!Row) return 0;
  return ReadPixel(Row + std::size_t(X) * Picture.BytesPerPixel(), Picture.Depth());
}

void TTargaCanvas::SetPixel(int X, int Y, TColor Color) {
  if (X < 0 || X >= Picture.Width()) return;
  std::uint8_t* Row = Picture.ScanLine(Y);
  if (!Row) return;
  WritePixel(Row + std::size_t(X) * Picture.BytesPerPixel(), Picture.Depth(), Color);
}

void TTargaCanvas::Draw(int X, int Y, const TTargaBitmap& Source) {
  // Work out the overlap in 64 bits so that far-off positions cannot overflow.
  const long long Left = std::max<long long>(X, 0);
  const long long Top = std::max<long long>(Y, 0);
  const long long Right = std::min<long long>((long long)X + Source.Width(), Picture.Width());
  const long long Bottom = std::min<long long>((long long)Y + Source.Height(), Picture.Height());
  if (Left >= Right || Top >= Bottom) return;
  const int SrcBpp = Source.BytesPerPixel();
  const int DstBpp = Picture.BytesPerPixel();
  for (long long DY = Top; DY < Bottom; ++DY) {
    const std::uint8_t* From = Source.ScanLine(int(DY - Y));
    std::uint8_t* To = Picture.ScanLine(int(DY));
    if (Source.Depth() == Picture.Depth()) {
      std::memcpy(To + Left * DstBpp, From + (Left - X) * SrcBpp,
                  std::size_t(Right - Left) * DstBpp);
      continue;
    }
    for (long long DX = Left; DX < Right; ++DX)
      WritePixel(To + DX * DstBpp, Picture.Depth(),
                 ReadPixel(From + (DX - X) * SrcBpp, Source.Depth()));
  }
}
