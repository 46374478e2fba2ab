// The four-corner gradient's pixels, computed without a window.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "components/FormDescription.h"
#include "components/GradientCore.h"
#include "components/Registry.h"

namespace {

struct TGradientCase {
  const char* Name;
  int Width, Height;
  TGradientCorners Corners;  // LeftTop, LeftBottom, RightTop, RightBottom (red in the low byte)
  std::vector<std::uint32_t> Expected;  // 0x00RRGGBB, rows top first
};

class GradientPixels : public ::testing::TestWithParam<TGradientCase> {};

TEST_P(GradientPixels, MatchesTheCornerInterpolation) {
  const TGradientCase& C = GetParam();
  const std::vector<std::uint32_t> Got = ComputeGradient(C.Width, C.Height, C.Corners);
  ASSERT_EQ(Got.size(), C.Expected.size());
  for (std::size_t I = 0; I < Got.size(); ++I)
    EXPECT_EQ(Got[I], C.Expected[I])
        << std::hex << "pixel (" << std::dec << I % C.Width << ", " << I / C.Width << ")";
}

const std::uint32_t White = 0xFFFFFF;

INSTANTIATE_TEST_SUITE_P(
    Cases, GradientPixels,
    ::testing::Values(
        // A single pixel shows exactly the left-top colour.
        TGradientCase{"OnePixel", 1, 1, {0x00332211, White, White, White}, {0x112233}},
        // Two columns: black, then 255 / 2 = 127.5 truncated.
        TGradientCase{"TwoWide",
                      2,
                      3,
                      {0, 0, White, White},
                      {0x000000, 0x7F7F7F, 0x000000, 0x7F7F7F, 0x000000, 0x7F7F7F}},
        // Two rows: a black row, then a row of 127.
        TGradientCase{
            "TwoHigh", 3, 2, {0, White, 0, White}, {0, 0, 0, 0x7F7F7F, 0x7F7F7F, 0x7F7F7F}},
        // Steps divide by the width: the last column stops one step short of the right edge.
        TGradientCase{
            "StepsDivideByWidth", 4, 1, {0, 0, 200, 200}, {0x000000, 0x320000, 0x640000, 0x960000}},
        // Falling values and separate channels: red falls on the left, blue rises on the right.
        TGradientCase{"ChannelsApart",
                      2,
                      2,
                      {0x0000C8, 0x000000, 0x640000, 0xC80000},
                      {0xC80000, 0x640032, 0x640000, 0x32004B}},
        // The top byte is ignored: a system colour 0x8000000F counts as red 15.
        TGradientCase{"TopByteIgnored", 1, 1, {0x8000000F, 0, 0, 0}, {0x0F0000}},
        TGradientCase{
            "TopByteIgnoredAcross", 2, 1, {0xFF000000, 0, 0xFF0000FE, 0}, {0x000000, 0x7F0000}}),
    [](const ::testing::TestParamInfo<TGradientCase>& Info) { return Info.param.Name; });

TEST(Gradient, ZeroSizeBuildsNothing) {
  const TGradientCorners Corners{White, 0, 0, White};
  EXPECT_TRUE(ComputeGradient(0, 5, Corners).empty());
  EXPECT_TRUE(ComputeGradient(5, 0, Corners).empty());
  EXPECT_TRUE(ComputeGradient(-1, -1, Corners).empty());

  std::vector<std::uint8_t> Bits(64, 0xAB);
  FillGradient(Bits.data(), 16, 0, 4, Corners);
  FillGradient(Bits.data(), 16, 4, 0, Corners);
  FillGradient(nullptr, 16, 4, 4, Corners);
  EXPECT_EQ(Bits, std::vector<std::uint8_t>(64, 0xAB));
}

TEST(Gradient, FillsRowsByStrideInBlueGreenRedOrderWithTheFillByte) {
  // 2 x 2 pixels in rows of 12 bytes: the 4 bytes after each row stay untouched.
  std::vector<std::uint8_t> Bits(24, 0xAB);
  FillGradient(Bits.data(), 12, 2, 2, {0x030201, 0x030201, 0x030201, 0x030201}, 0xFF000000);
  const std::vector<std::uint8_t> Row = {3, 2, 1, 0xFF, 3, 2, 1, 0xFF, 0xAB, 0xAB, 0xAB, 0xAB};
  EXPECT_EQ(std::vector<std::uint8_t>(Bits.begin(), Bits.begin() + 12), Row);
  EXPECT_EQ(std::vector<std::uint8_t>(Bits.begin() + 12, Bits.end()), Row);
}

TEST(Gradient, LargeGradientStaysWithinTheCornerRange) {
  // Accumulated float steps must not drift past a byte (a wrap would show 255 as 0).
  const int W = 1000, H = 700;
  const std::vector<std::uint32_t> Got = ComputeGradient(W, H, {White, 0, 0, White});
  ASSERT_EQ(Got.size(), std::size_t(W * H));
  EXPECT_EQ(Got[0], White);
  EXPECT_EQ(Got[std::size_t(H - 1) * W], 0u) << "last row: 0.36 truncated";
  EXPECT_EQ(Got[W - 1], 0u) << "last column: 0.26 truncated";
  EXPECT_EQ(Got[std::size_t(H) * W - 1], 0xFEFEFEu) << "bottom-right: 254.4, one step short";
  for (std::size_t I = 0; I < Got.size(); ++I)
    ASSERT_EQ(Got[I] & 0xFF, (Got[I] >> 8) & 0xFF) << "pixel " << I << " is grey";
}

TEST(Gradient, FormDescriptionStoresWhatDiffersFromZero) {
  TComponentRegistry Registry;
  RegisterComponentClass<TGradientComponent>(PalettePage, "TGradient", Registry);

  TGradientComponent G;
  G.SetName("Gradient1");
  G.Width = 0;  // not stored: comes back as the constructor's 100
  G.Height = 40;
  G.Corners = {0x000000FF, 0x80000005, 0, 0x00FF8040};
  G.Align = alClient;
  const std::string Text = WriteComponent(G);
  EXPECT_EQ(Text,
            "object Gradient1: TGradient\n"
            "  Height = 40\n"
            "  LeftTop = 0x000000FF\n"
            "  LeftBottom = 0x80000005\n"
            "  RightBottom = 0x00FF8040\n"
            "  Align = alClient\n"
            "end\n");

  auto Read = ReadFormDescription(Text, nullptr, Registry);
  ASSERT_EQ(Read.size(), 1u);
  auto* Back = dynamic_cast<TGradientComponent*>(Read[0].get());
  ASSERT_NE(Back, nullptr);
  EXPECT_EQ(Back->Width, 100);
  EXPECT_EQ(Back->Height, 40);
  EXPECT_EQ(Back->Corners.LeftTop, 0x000000FFu);
  EXPECT_EQ(Back->Corners.LeftBottom, 0x80000005u);
  EXPECT_EQ(Back->Corners.RightTop, 0u);
  EXPECT_EQ(Back->Corners.RightBottom, 0x00FF8040u);
  EXPECT_EQ(Back->Align, alClient);
}

TEST(Gradient, RegistersOnTheVeltranePage) {
  Gradient::Register();
  ASSERT_NE(ComponentRegistry().Find("TGradient"), nullptr);
  EXPECT_EQ(ComponentRegistry().Find("TGradient")->Page, "Veltrane");
}

}  // namespace
