#pragma once
// TTarga: one picture, read and written as an uncompressed Truevision TGA file.
//
// File layout (little-endian):
//   header, 18 bytes:
//     0  1  ID length                    (0)
//     1  1  colour map type              (0)
//     2  1  image type                   (2: uncompressed true-colour)
//     3  5  colour map fields            (0)
//     8  2  X origin                     (0)
//    10  2  Y origin                     (0)
//    12  2  width                        (property Width)
//    14  2  height                       (property Height)
//    16  1  pixel depth                  (property ColorDepth)
//    17  1  image descriptor             (written as 8: 8 attribute bits, bottom-left origin)
//   Height rows of Width x bytes-per-pixel bytes, the picture's top row first, no padding;
//   bytes per pixel is the depth / 8 rounded up;
//   footer, 26 bytes: extension area offset (4, 0), developer directory offset (4, 0),
//     "TRUEVISION-XFILE." and one zero byte.
//
// The rows go out top row first although the descriptor declares a bottom-left origin, so
// other readers show a saved picture upside down; LoadFromFile reads the rows back the same
// way, so a save and a load give the same picture. GetScanLine counts rows from the bottom
// to match the declared origin.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "components/Component.h"
#include "components/TargaCanvas.h"

// Published properties, with their stream defaults: ResetImage (false), Width (0), Height (0),
// ColorDepth (0); so any non-zero size or depth is stored in a form description.
class TTarga : public TComponent {
 public:
  static constexpr std::size_t HeaderSize = 18;
  static constexpr std::size_t FooterSize = 26;
  // The largest picture LoadFromFile makes, in bytes of pixels; a header asking for more is
  // refused rather than allocated.
  static constexpr std::uint64_t MaxPictureBytes = std::uint64_t(1) << 30;

  // Header: image type 2, 256 x 256 at 32 bits; the footer's signature; no picture.
  explicit TTarga(TComponent* Owner = nullptr);
  ~TTarga() override;
  TTarga(const TTarga&) = delete;
  TTarga& operator=(const TTarga&) = delete;

  // Published properties.
  bool ResetImage = false;  // whether a change of ColorDepth keeps the picture
  std::uint16_t Width() const { return GetWord(12); }
  std::uint16_t Height() const { return GetWord(14); }
  std::uint16_t GetDepth() const { return Header[16]; }

  // Only while a picture exists: stores the size in the header and resizes the picture (what
  // still fits is kept). Without a picture nothing changes, not even the stored value; so a
  // form description, which applies Width and Height before ColorDepth makes the picture,
  // brings back only the 256 x 256 of a new component.
  // Throws EFormatError (and changes nothing) when the picture would pass MaxPictureBytes.
  void SetWidth(std::uint16_t Value);
  void SetHeight(std::uint16_t Value);
  // Stores the value's low 8 bits as the depth and makes a new picture (Reset). With
  // ResetImage true an existing picture is drawn onto the new one, converted to the new depth.
  // Throws EFormatError (and changes nothing) when the picture would pass MaxPictureBytes.
  void SetDepth(std::uint16_t Value);

  // Replaces the picture with a new black one of the header's width, height and depth.
  // Throws EFormatError (and changes nothing) when the picture would pass MaxPictureBytes.
  void Reset();

  // The pixels of row Height - 1 - Row of the picture, or nullptr when there is no picture or
  // the row is outside it.
  std::uint8_t* GetScanLine(std::int32_t Row);

  // Exchanges red and blue in every pixel, by ColorDepth (15, 16, 24 or 32); other depths and
  // a missing picture are left alone. Calling it twice restores the picture.
  void ReverseColors();

  // Reads a TGA file: the header replaces the component's, then the rows fill a new picture,
  // the file's first row at the top. Fields are taken as they come. A file that runs short
  // leaves the header bytes and rows it does not supply as they were / as made.
  // Throws EFOpenError when the file cannot be opened and EFormatError naming the file when
  // its header asks for a picture larger than MaxPictureBytes; the component is then
  // unchanged.
  void LoadFromFile(const std::string& Path);
  // Writes the picture as a TGA file, replacing the file through a temporary one. Sets the
  // header's descriptor to 8 first. Throws EFCreateError when the file cannot be written and
  // EFormatError when there is no picture to write (then nothing is changed).
  void SaveToFile(const std::string& Path);

  // The picture's drawing surface; nullptr until a picture exists.
  TTargaCanvas* Canvas() { return Bitmap ? &Bitmap->Canvas() : nullptr; }
  // The picture itself; nullptr until Reset, SetDepth or LoadFromFile makes one.
  TTargaBitmap* Picture() { return Bitmap.get(); }
  const TTargaBitmap* Picture() const { return Bitmap.get(); }

  const std::array<std::uint8_t, HeaderSize>& HeaderBytes() const { return Header; }
  const std::array<std::uint8_t, FooterSize>& FooterBytes() const { return Footer; }

  std::string ClassName() const override { return "TTarga"; }
  const std::vector<TPropertyInfo>& PublishedProperties() const override;

  // Bytes per pixel in a file of this depth: the depth / 8 rounded up.
  static int FileBytesPerPixel(int Depth) { return (Depth + 7) / 8; }

 private:
  std::uint16_t GetWord(int Offset) const {
    return std::uint16_t(Header[Offset] | Header[Offset + 1] << 8);
  }
  void PutWord(int Offset, std::uint16_t Value) {
    Header[Offset] = std::uint8_t(Value);
    Header[Offset + 1] = std::uint8_t(Value >> 8);
  }
  // Bytes of one file row that go to or come from a picture row: the file's row, cut to the
  // picture's own row for depths the picture cannot hold as they are.
  std::size_t MovedRowBytes() const;

  std::array<std::uint8_t, HeaderSize> Header{};
  std::array<std::uint8_t, FooterSize> Footer{};
  std::unique_ptr<TTargaBitmap> Bitmap;
};

namespace Targa {
// Adds TTarga to the palette page "Veltrane" of the program's registry.
void Register();
}  // namespace Targa
