#pragma once
// The four-corner gradient's pixels, without any window.
//
// Each corner has its own colour; every pixel in between is interpolated, first down the left
// and right edges and then across each row:
//   pixel(x, y) = L(y) + x * (R(y) - L(y)) / W,  L(y) = LeftTop + y * (LeftBottom - LeftTop) / H
// and R(y) likewise on the right, per channel, truncated toward zero. The steps divide by W and
// H (not W - 1 and H - 1): the top-left pixel has exactly the left-top colour, while the last
// column and row stop one step short of the right and bottom colours. All running values are
// single-precision floats, accumulated step by step.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "components/Component.h"

// A colour: red in bits 0-7, green in 8-15, blue in 16-23; the top byte is ignored here.
using TColor = std::uint32_t;

// The four corner colours of a gradient.
struct TGradientCorners {
  TColor LeftTop = 0;
  TColor LeftBottom = 0;
  TColor RightTop = 0;
  TColor RightBottom = 0;
};

// Fills a 32-bit image of Width x Height pixels, rows top first, BytesPerLine bytes apart
// (at least 4 x Width), each pixel the value 0x00RRGGBB or'ed with Fill (in memory: blue,
// green, red, Fill's top byte). A Width or Height of 0 or less writes nothing.
void FillGradient(std::uint8_t* Bits, std::ptrdiff_t BytesPerLine, int Width, int Height,
                  const TGradientCorners& Corners, std::uint32_t Fill = 0);

// The same gradient as Width x Height values 0x00RRGGBB, rows top first; empty for a size of 0.
std::vector<std::uint32_t> ComputeGradient(int Width, int Height, const TGradientCorners& Corners);

// Where a control sits in its parent: nowhere in particular, or along one side, or filling it.
enum TAlign {
  alNone,    // keeps its own position and size
  alTop,     // across the parent's top, keeping its height
  alBottom,  // across the parent's bottom, keeping its height
  alLeft,    // down the parent's left side, keeping its width
  alRight,   // down the parent's right side, keeping its width
  alClient,  // fills the parent
};

// The gradient control's published properties as a form description holds them, in their
// order: Width, Height, LeftTop, LeftBottom, RightTop, RightBottom, Align. Every stream default
// is 0, so a size of 0 is not stored and a control read back keeps its constructor's 100.
// The control itself is a window (app/ui/Gradient.h); this class stands for it in the component
// layer under its class name "TGradient", and the window copies values to and from it.
class TGradientComponent : public TComponent {
 public:
  explicit TGradientComponent(TComponent* Owner = nullptr) : TComponent(Owner) {}
  std::string ClassName() const override { return "TGradient"; }
  const std::vector<TPropertyInfo>& PublishedProperties() const override;

  int Width = 100;
  int Height = 100;
  TGradientCorners Corners;
  TAlign Align = alNone;
};

namespace Gradient {
// Adds TGradient to the palette page "Veltrane" of the program's registry.
void Register();
}  // namespace Gradient
