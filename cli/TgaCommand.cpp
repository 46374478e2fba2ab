#include "cli/TgaCommand.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iostream>

#include "components/Targa.h"
#include "platform/Errors.h"
#include "platform/Streams.h"

namespace {

const char Usage[] =
    "usage: brindlecast-cli tga info FILE\n"
    "       brindlecast-cli tga swap-rb IN OUT\n";

unsigned Word(const std::uint8_t* P) { return unsigned(P[0]) | unsigned(P[1]) << 8; }
unsigned Long(const std::uint8_t* P) { return Word(P) | Word(P + 2) << 16; }

const char* ImageTypeName(unsigned Type) {
  switch (Type) {
    case 0:
      return "no image data";
    case 1:
      return "uncompressed colour-mapped";
    case 2:
      return "uncompressed true-colour";
    case 3:
      return "uncompressed black-and-white";
    case 9:
      return "run-length colour-mapped";
    case 10:
      return "run-length true-colour";
    case 11:
      return "run-length black-and-white";
    default:
      return "unknown";
  }
}

int Info(const std::string& Path) {
  TFileStream File(Path, fmOpenRead);
  const std::int64_t Size = File.Size();
  std::array<std::uint8_t, TTarga::HeaderSize> H{};
  if (Size < std::int64_t(H.size())) {
    std::cerr << Path << ": the file holds " << Size << " bytes, shorter than a TGA header\n";
    return 1;
  }
  File.ReadBuffer(H.data(), H.size());
  const unsigned Descriptor = H[17];
  std::cout << "File: " << Path << "\n"
            << "Size: " << Size << " bytes\n"
            << "ID length: " << unsigned(H[0]) << "\n"
            << "Colour map type: " << unsigned(H[1]) << "\n"
            << "Image type: " << unsigned(H[2]) << " (" << ImageTypeName(H[2]) << ")\n"
            << "Colour map: first entry " << Word(&H[3]) << ", length " << Word(&H[5])
            << ", entry size " << unsigned(H[7]) << "\n"
            << "Origin: " << Word(&H[8]) << ", " << Word(&H[10]) << "\n"
            << "Width: " << Word(&H[12]) << "\n"
            << "Height: " << Word(&H[14]) << "\n"
            << "Pixel depth: " << unsigned(H[16]) << "\n"
            << "Image descriptor: " << Descriptor << " (attribute bits " << (Descriptor & 15)
            << ", origin " << ((Descriptor & 0x20) ? "top" : "bottom") << "-"
            << ((Descriptor & 0x10) ? "right" : "left") << ")\n";

  std::array<std::uint8_t, TTarga::FooterSize> F{};
  bool HasFooter = false;
  if (Size >= std::int64_t(H.size() + F.size())) {
    File.Seek(Size - std::int64_t(F.size()));
    File.ReadBuffer(F.data(), F.size());
    HasFooter = std::memcmp(F.data() + 8, "TRUEVISION-XFILE.", 18) == 0;
  }
  if (HasFooter)
    std::cout << "Footer: present (extension area offset " << Long(&F[0])
              << ", developer directory offset " << Long(&F[4]) << ")\n";
  else
    std::cout << "Footer: none\n";
  return 0;
}

int SwapRB(const std::string& In, const std::string& Out) {
  TTarga Targa;
  Targa.LoadFromFile(In);
  // The component holds plain rows of true-colour pixels and always saves them with a
  // bottom-left origin: anything else would come out scrambled or upside down.
  const auto& H = Targa.HeaderBytes();
  if (H[0] != 0 || H[1] != 0 || H[2] != 2)
    throw EFormatError(In +
                       ": only uncompressed true-colour TGA files without an ID field or colour map"
                       " can be swapped (image type " +
                       std::to_string(H[2]) + ")");
  if (H[17] & 0x10) throw EFormatError(In + ": pictures stored right to left cannot be swapped");
  if (H[17] & 0x20) {
    // Rows stored top first: turn them round so the saved file shows the same picture.
    const std::size_t RowBytes = std::size_t(Targa.Width()) * ((Targa.GetDepth() + 7u) / 8u);
    for (std::int32_t Top = 0, Bottom = Targa.Height() - 1; Top < Bottom; ++Top, --Bottom) {
      std::uint8_t* A = Targa.GetScanLine(Top);
      std::uint8_t* B = Targa.GetScanLine(Bottom);
      if (A && B) std::swap_ranges(A, A + RowBytes, B);
    }
  }
  Targa.ReverseColors();
  Targa.SaveToFile(Out);
  return 0;
}

}  // namespace

int RunTgaCommand(const std::vector<std::string>& Args) {
  try {
    if (Args.size() == 2 && Args[0] == "info") return Info(Args[1]);
    if (Args.size() == 3 && Args[0] == "swap-rb") return SwapRB(Args[1], Args[2]);
  } catch (const std::exception& E) {
    std::cerr << E.what() << "\n";
    return 1;
  }
  std::cerr << Usage;
  return 2;
}
