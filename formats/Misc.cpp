#include "formats/Misc.h"

#include <algorithm>
#include <cstring>

int PaletteEntriesToRGB(TMemoryStream& Stream) {
  std::size_t N = static_cast<std::size_t>(Stream.Size()) / 4;
  std::uint8_t* Bytes = Stream.Memory();
  // Compacting forwards in place is safe: entry i's 3 bytes go to 3i, which never passes 4i.
  for (std::size_t I = 0; I < N; ++I) std::memmove(Bytes + 3 * I, Bytes + 4 * I, 3);
  Stream.SetSize(3 * N);
  Stream.Seek(static_cast<std::int64_t>(3 * N));
  return static_cast<int>(N);
}

void ConvertPaletteEntries(std::uint8_t* Entries, std::int32_t Count, std::int32_t Size) {
  if (Count <= 0 || Size <= 0) return;
  const std::size_t BlockBytes = 8 * static_cast<std::size_t>(Size);
  const long long Blocks =
      (static_cast<long long>(Count) * Size) / static_cast<long long>(BlockBytes);
  std::vector<std::uint8_t> Temp(BlockBytes);
  for (long long J = 1; J < Blocks - 2; J += 4) {
    std::uint8_t* A = Entries + J * BlockBytes;
    std::uint8_t* B = A + BlockBytes;
    std::memcpy(Temp.data(), A, BlockBytes);
    std::memcpy(A, B, BlockBytes);
    std::memcpy(B, Temp.data(), BlockBytes);
  }
  if (Size != 4) return;
  for (std::int32_t I = 1; I < Count; ++I)
    if (std::memcmp(Entries + 4 * I, Entries + 4 * (I - 1), 3) != 0) return;
  for (std::int32_t I = 0; I < Count; ++I) {
    std::uint8_t* E = Entries + 4 * I;
    E[0] = E[1] = E[2] = E[3];
  }
}

TPalette BuildPalette(std::int32_t Count, const std::uint8_t* Table) {
  TPalette Palette(static_cast<std::size_t>(std::max(Count, 0)));
  for (std::size_t I = 0; I < Palette.size(); ++I)
    Palette[I] = {Table[3 * I], Table[3 * I + 1], Table[3 * I + 2], 0};
  return Palette;
}

void SwapNibbles(std::uint8_t* Bytes, std::int32_t Length) {
  for (std::int32_t I = 0; I < Length; ++I)
    Bytes[I] = static_cast<std::uint8_t>((Bytes[I] >> 4) | (Bytes[I] << 4));
}

namespace {
// Exchanges the 5-bit fields at bits 0-4 and at bits Shift..Shift+4 of each 16-bit pixel.
void SwapFields16(std::uint8_t* Row, std::uint32_t Length, int Shift) {
  for (std::uint32_t I = Length / 2; I-- > 0;) {
    std::uint16_t P = static_cast<std::uint16_t>(Row[2 * I] | Row[2 * I + 1] << 8);
    std::uint16_t Low = P & 0x1F, High = (P >> Shift) & 0x1F;
    P = static_cast<std::uint16_t>((P & ~(0x1F | 0x1F << Shift)) | High | Low << Shift);
    Row[2 * I] = static_cast<std::uint8_t>(P);
    Row[2 * I + 1] = static_cast<std::uint8_t>(P >> 8);
  }
}
}  // namespace

void SwapRB15(std::uint8_t* Row, std::uint32_t Length) { SwapFields16(Row, Length, 10); }
void SwapRB16(std::uint8_t* Row, std::uint32_t Length) { SwapFields16(Row, Length, 11); }

void SwapRB24(std::uint8_t* Row, std::uint32_t Length) {
  for (std::uint32_t I = Length / 3; I-- > 0;) std::swap(Row[3 * I], Row[3 * I + 2]);
}

void SwapRB32(std::uint8_t* Row, std::uint32_t Length) {
  for (std::uint32_t I = Length / 4; I-- > 0;) std::swap(Row[4 * I], Row[4 * I + 2]);
}
