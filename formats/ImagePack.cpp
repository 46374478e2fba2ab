#include "formats/ImagePack.h"

#include "platform/Errors.h"

TImagePackHeader ReadPackHeader(TStream& Pack, const std::string& PackPath) {
  std::uint8_t Bytes[PackHeaderSize];
  Pack.Seek(0);
  Pack.ReadBuffer(Bytes, sizeof Bytes);
  auto Word = [&](int Index) {
    const std::uint8_t* P = Bytes + 4 * Index;
    return std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8 | std::uint32_t(P[2]) << 16 |
           std::uint32_t(P[3]) << 24;
  };
  TImagePackHeader H;
  H.Palette16Count = Word(0);
  H.Palette256Count = Word(1);
  H.ImageCount = Word(2);
  H.Palette16Offset = static_cast<std::int32_t>(Word(4));
  H.Palette256Offset = static_cast<std::int32_t>(Word(5));
  H.ImageOffset = static_cast<std::int32_t>(Word(6));
  auto Check = [&](std::uint32_t Count, std::int32_t Offset, const char* Section) {
    if (Count != 0 && Offset < 0)
      throw EFormatError(PackPath + ": the " + Section + " section has a negative offset (" +
                         std::to_string(Offset) + ")");
  };
  Check(H.Palette16Count, H.Palette16Offset, "16-colour palette");
  Check(H.Palette256Count, H.Palette256Offset, "256-colour palette");
  Check(H.ImageCount, H.ImageOffset, "image");
  return H;
}

std::vector<std::size_t> ReadImageRowSizes(const TStringList& List, std::uint32_t ImageCount,
                                           const std::string& ListPath) {
  std::vector<std::size_t> Sizes;
  std::size_t Current = 0;
  for (std::uint32_t K = 0; K < ImageCount; ++K) {
    const std::string& Line = List.Get(static_cast<long long>(K) + 1);
    if (Line == "8") {
      Current = RowSize8;
    } else if (Line == "4") {
      Current = RowSize4;
    } else if (K == 0) {
      // A damaged list may hold anything on that line: quote no more than its start.
      std::string Shown = Line.size() > 32 ? Line.substr(0, 32) + "..." : Line;
      throw EFormatError(ListPath + ", line 2: the depth of image 0 is \"" + Shown +
                         "\", neither \"8\" nor \"4\"");
    }
    Sizes.push_back(Current);
  }
  return Sizes;
}
