// The palette and pixel helpers at their edges.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/Misc.h"
#include "platform/Files.h"

namespace {
using TBytes = std::vector<std::uint8_t>;
}

TEST(ConvertPaletteEntries, BlockExchangeAndGreyFromA) {
  // 256 entries whose red is their index, all else distinct: only the block exchange runs.
  TBytes P256(1024);
  for (int I = 0; I < 256; ++I) P256[4 * I] = static_cast<std::uint8_t>(I), P256[4 * I + 3] = 99;
  ConvertPaletteEntries(P256.data(), 256, 4);
  for (auto [Entry, Red] : std::vector<std::pair<int, int>>{
           {0, 0}, {8, 16}, {16, 8}, {24, 24}, {40, 48}, {240, 232}, {255, 255}})
    EXPECT_EQ(P256[4 * Entry], Red) << "entry " << Entry;
  EXPECT_EQ(P256[3], 99);  // not a single grey: A untouched

  struct TCase {
    const char* Name;
    int Count;
    bool DifferLast;  // last entry's blue differs
    bool Grey;        // expected: every entry becomes (A, A, A, A)
  };
  for (const TCase& C : std::vector<TCase>{{"16 same", 16, false, true},
                                           {"16, last differs", 16, true, false},
                                           {"one entry", 1, false, true}}) {
    TBytes P(static_cast<std::size_t>(4 * C.Count));
    for (int I = 0; I < C.Count; ++I)
      P[4 * I] = 10, P[4 * I + 1] = 20, P[4 * I + 2] = 30,
            P[4 * I + 3] = static_cast<std::uint8_t>(16 * I);
    if (C.DifferLast) P[4 * (C.Count - 1) + 2] = 31;
    TBytes Before = P;
    ConvertPaletteEntries(P.data(), C.Count, 4);
    for (int I = 0; I < C.Count; ++I)
      for (int B = 0; B < 4; ++B)
        EXPECT_EQ(P[4 * I + B], C.Grey ? 16 * I : Before[4 * I + B])
            << C.Name << " entry " << I << " byte " << B;
  }

  // 3-byte entries: the block exchange only, even when every entry is the same.
  TBytes P3(3 * 32, 7);
  P3[3 * 8] = 1;
  ConvertPaletteEntries(P3.data(), 32, 3);
  EXPECT_EQ(P3[3 * 16], 1);
  EXPECT_EQ(P3[3 * 8], 7);
}

TEST(PaletteEntriesToRGB, DropsTheFourthByteAndAnyTail) {
  for (std::size_t Size : {1024u, 1027u, 3u, 0u}) {
    TBytes In(Size);
    for (std::size_t I = 0; I < Size; ++I) In[I] = static_cast<std::uint8_t>(I);
    TMemoryStream Stream(In);
    int N = PaletteEntriesToRGB(Stream);
    EXPECT_EQ(N, static_cast<int>(Size / 4)) << Size;
    ASSERT_EQ(Stream.Size(), static_cast<std::int64_t>(3 * (Size / 4))) << Size;
    EXPECT_EQ(Stream.Position(), Stream.Size());
    for (int I = 0; I < N; ++I)
      for (int C = 0; C < 3; ++C)
        ASSERT_EQ(Stream.Memory()[3 * I + C], In[4 * I + C]) << "entry " << I;
  }
}

TEST(PixelSwaps, Table) {
  struct TCase {
    const char* Name;
    void (*Swap)(std::uint8_t*, std::uint32_t);
    TBytes In, Out;
  };
  const std::vector<TCase> Cases = {
      {"15: top bit and blue", SwapRB15, {0x1F, 0x80}, {0x00, 0xFC}},
      {"15: green stays", SwapRB15, {0xE0, 0x03}, {0xE0, 0x03}},
      {"16: blue to red", SwapRB16, {0x1F, 0x00}, {0x00, 0xF8}},
      {"16: green stays", SwapRB16, {0xE0, 0x07}, {0xE0, 0x07}},
      {"16: partial pixel untouched", SwapRB16, {0x1F, 0x00, 0x1F}, {0x00, 0xF8, 0x1F}},
      {"24", SwapRB24, {1, 2, 3, 4, 5, 6}, {3, 2, 1, 6, 5, 4}},
      {"24: short row untouched", SwapRB24, {1, 2}, {1, 2}},
      {"32", SwapRB32, {1, 2, 3, 4}, {3, 2, 1, 4}},
  };
  for (const TCase& C : Cases) {
    TBytes Row = C.In;
    C.Swap(Row.data(), static_cast<std::uint32_t>(Row.size()));
    EXPECT_EQ(Row, C.Out) << C.Name;
    C.Swap(Row.data(), static_cast<std::uint32_t>(Row.size()));
    EXPECT_EQ(Row, C.In) << C.Name << " twice";
  }
  TBytes Nibbles = {0x21, 0xF0, 0x00};
  SwapNibbles(Nibbles.data(), 2);
  EXPECT_EQ(Nibbles, (TBytes{0x12, 0x0F, 0x00}));
  SwapNibbles(Nibbles.data(), -1);
  EXPECT_EQ(Nibbles, (TBytes{0x12, 0x0F, 0x00}));
}

TEST(IntToHex, OutputNumbers) {
  for (auto [Value, Text] : std::vector<std::pair<std::uint64_t, std::string>>{
           {0, "0000"}, {10, "000A"}, {255, "00FF"}, {0x1234, "1234"}, {65536, "10000"}})
    EXPECT_EQ(IntToHex(Value, 4), Text);
}
