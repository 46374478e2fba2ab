#include "components/GradientCore.h"

#include <cstring>

#include "components/Registry.h"

namespace {

// One colour's channels as floats, red first.
struct TChannels {
  float C[3];
};

TChannels Split(TColor Color) {
  return {{float(Color & 0xFF), float((Color >> 8) & 0xFF), float((Color >> 16) & 0xFF)}};
}

// Truncates toward zero; rounding drift just outside 0..255 stays inside a byte.
std::uint32_t Channel(float V) {
  int I = int(V);
  return std::uint32_t(I < 0 ? 0 : I > 255 ? 255 : I);
}

}  // namespace

void FillGradient(std::uint8_t* Bits, std::ptrdiff_t BytesPerLine, int Width, int Height,
                  const TGradientCorners& Corners, std::uint32_t Fill) {
  // A size of 0 would divide the steps by zero: nothing is built.
  if (!Bits || Width <= 0 || Height <= 0) return;
  const TChannels LT = Split(Corners.LeftTop), LB = Split(Corners.LeftBottom);
  const TChannels RT = Split(Corners.RightTop), RB = Split(Corners.RightBottom);
  const float W = float(Width), H = float(Height);

  float LeftStep[3], RightStep[3], Left[3], Right[3];
  for (int I = 0; I < 3; ++I) {
    LeftStep[I] = (LB.C[I] - LT.C[I]) / H;
    RightStep[I] = (RB.C[I] - RT.C[I]) / H;
    Left[I] = LT.C[I];
    Right[I] = RT.C[I];
  }
  for (int Y = 0; Y < Height; ++Y) {
    float Step[3], Current[3];
    for (int I = 0; I < 3; ++I) {
      Step[I] = (Right[I] - Left[I]) / W;
      Current[I] = Left[I];
    }
    std::uint8_t* Row = Bits + Y * BytesPerLine;
    for (int X = 0; X < Width; ++X) {
      const std::uint32_t Pixel =
          (Channel(Current[0]) << 16 | Channel(Current[1]) << 8 | Channel(Current[2])) | Fill;
      std::memcpy(Row + std::size_t(X) * 4, &Pixel, 4);  // little-endian: blue, green, red
      for (int I = 0; I < 3; ++I) Current[I] += Step[I];
    }
    for (int I = 0; I < 3; ++I) {
      Left[I] += LeftStep[I];
      Right[I] += RightStep[I];
    }
  }
}

std::vector<std::uint32_t> ComputeGradient(int Width, int Height, const TGradientCorners& Corners) {
  if (Width <= 0 || Height <= 0) return {};
  std::vector<std::uint32_t> Pixels(std::size_t(Width) * std::size_t(Height));
  FillGradient(reinterpret_cast<std::uint8_t*>(Pixels.data()), std::ptrdiff_t(Width) * 4, Width,
               Height, Corners);
  return Pixels;
}

const std::vector<TPropertyInfo>& TGradientComponent::PublishedProperties() const {
  using T = TGradientComponent;
  static const std::vector<TPropertyInfo> Table = {
      IntProperty<T>(
          "Width", 0, [](const T& C) { return C.Width; },
          [](T& C, long long V) { C.Width = int(V); }),
      IntProperty<T>(
          "Height", 0, [](const T& C) { return C.Height; },
          [](T& C, long long V) { C.Height = int(V); }),
      ColourProperty<T>(
          "LeftTop", 0, [](const T& C) { return C.Corners.LeftTop; },
          [](T& C, long long V) { C.Corners.LeftTop = TColor(V); }),
      ColourProperty<T>(
          "LeftBottom", 0, [](const T& C) { return C.Corners.LeftBottom; },
          [](T& C, long long V) { C.Corners.LeftBottom = TColor(V); }),
      ColourProperty<T>(
          "RightTop", 0, [](const T& C) { return C.Corners.RightTop; },
          [](T& C, long long V) { C.Corners.RightTop = TColor(V); }),
      ColourProperty<T>(
          "RightBottom", 0, [](const T& C) { return C.Corners.RightBottom; },
          [](T& C, long long V) { C.Corners.RightBottom = TColor(V); }),
      EnumProperty<T>(
          "Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, 0,
          [](const T& C) { return C.Align; }, [](T& C, long long V) { C.Align = TAlign(V); }),
  };
  return Table;
}

void Gradient::Register() { RegisterComponentClass<TGradientComponent>(PalettePage, "TGradient"); }
