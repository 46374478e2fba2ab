#include "components/Targa.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "components/Registry.h"
#include "formats/Misc.h"
#include "platform/Errors.h"
#include "platform/Streams.h"

namespace {

const char Signature[] = "TRUEVISION-XFILE.";  // 17 characters, then one zero byte

std::uint64_t PictureBytes(std::uint32_t Width, std::uint32_t Height, int Depth) {
  return std::uint64_t(Width) * Height *
         TTargaBitmap::BytesPerPixelOf(TTargaBitmap::SupportedDepth(Depth));
}

std::string SizeText(std::uint32_t Width, std::uint32_t Height, int Depth) {
  return std::to_string(Width) + " x " + std::to_string(Height) + " at " + std::to_string(Depth) +
         " bits";
}

// Refuses a picture that would pass the limit before anything is allocated.
void CheckPictureSize(std::uint32_t Width, std::uint32_t Height, int Depth) {
  if (PictureBytes(Width, Height, Depth) > TTarga::MaxPictureBytes)
    throw EFormatError("Picture of " + SizeText(Width, Height, Depth) + " is too large");
}

}  // namespace

TTarga::TTarga(TComponent* Owner) : TComponent(Owner) {
  Header[2] = 2;
  PutWord(12, 256);
  PutWord(14, 256);
  Header[16] = 32;
  std::memcpy(Footer.data() + 8, Signature, 17);
}

TTarga::~TTarga() = default;

void TTarga::Reset() {
  CheckPictureSize(Width(), Height(), GetDepth());
  Bitmap.reset();
  Bitmap = std::make_unique<TTargaBitmap>(Width(), Height(), GetDepth());
}

void TTarga::SetWidth(std::uint16_t Value) {
  if (!Bitmap) return;
  CheckPictureSize(Value, Height(), GetDepth());
  PutWord(12, Value);
  Bitmap->SetSize(Value, Height());
}

void TTarga::SetHeight(std::uint16_t Value) {
  if (!Bitmap) return;
  CheckPictureSize(Width(), Value, GetDepth());
  PutWord(14, Value);
  Bitmap->SetSize(Width(), Value);
}

void TTarga::SetDepth(std::uint16_t Value) {
  const std::uint8_t Depth = std::uint8_t(Value);
  CheckPictureSize(Width(), Height(), Depth);
  std::unique_ptr<TTargaBitmap> Copy;
  if (ResetImage && Bitmap) Copy = std::make_unique<TTargaBitmap>(*Bitmap);
  Header[16] = Depth;
  Reset();
  if (Copy) Bitmap->Canvas().Draw(0, 0, *Copy);
}

std::uint8_t* TTarga::GetScanLine(std::int32_t Row) {
  if (!Bitmap || Row < 0 || Row >= Bitmap->Height()) return nullptr;
  return Bitmap->ScanLine(Bitmap->Height() - 1 - Row);
}

void TTarga::ReverseColors() {
  if (!Bitmap) return;
  void (*Swap)(std::uint8_t*, std::uint32_t) = nullptr;
  switch (GetDepth()) {
    case 15:
      Swap = SwapRB15;
      break;
    case 16:
      Swap = SwapRB16;
      break;
    case 24:
      Swap = SwapRB24;
      break;
    case 32:
      Swap = SwapRB32;
      break;
    default:
      return;
  }
  const std::uint32_t Length = std::uint32_t(Bitmap->RowBytes());
  for (int Y = 0; Y < Bitmap->Height(); ++Y)
    if (std::uint8_t* Row = Bitmap->ScanLine(Y)) Swap(Row, Length);
}

std::size_t TTarga::MovedRowBytes() const {
  const std::size_t FileRow = std::size_t(Bitmap->Width()) * FileBytesPerPixel(GetDepth());
  return std::min(FileRow, Bitmap->RowBytes());
}

void TTarga::LoadFromFile(const std::string& Path) {
  TFileStream File(Path, fmOpenRead);

  // Header bytes the file does not supply keep their former values.
  std::array<std::uint8_t, HeaderSize> NewHeader = Header;
  std::size_t Got = File.Read(NewHeader.data(), HeaderSize);
  (void)Got;
  const std::uint16_t NewWidth = std::uint16_t(NewHeader[12] | NewHeader[13] << 8);
  const std::uint16_t NewHeight = std::uint16_t(NewHeader[14] | NewHeader[15] << 8);
  const int NewDepth = NewHeader[16];
  if (PictureBytes(NewWidth, NewHeight, NewDepth) > MaxPictureBytes)
    throw EFormatError("Cannot load " + Path + ": a picture of " +
                       SizeText(NewWidth, NewHeight, NewDepth) + " is too large");

  Header = NewHeader;
  Reset();

  // A file row may be longer than the picture's row (depths the picture cannot hold): the
  // rest of the file row is skipped. Rows the file does not supply stay as made.
  const std::size_t FileRow = std::size_t(NewWidth) * FileBytesPerPixel(NewDepth);
  const std::size_t Moved = MovedRowBytes();
  std::int64_t Position = File.Position();
  for (int Y = 0; Y < Bitmap->Height() && FileRow > 0; ++Y) {
    std::uint8_t* Row = Bitmap->ScanLine(Y);
    if (!Row || File.Read(Row, Moved) < Moved) break;
    Position += std::int64_t(FileRow);
    if (Moved < FileRow) File.Seek(Position);
  }
}

void TTarga::SaveToFile(const std::string& Path) {
  if (!Bitmap) throw EFormatError("Cannot save " + Path + ": there is no picture");
  Header[17] = 8;

  TFileWriter File(Path);
  File.WriteBuffer(Header.data(), HeaderSize);
  // Rows are written whole as the file's header declares them; for depths the picture cannot
  // hold as they are, what does not come from the picture row is written as zeros.
  const std::size_t FileRow = std::size_t(Bitmap->Width()) * FileBytesPerPixel(GetDepth());
  const std::size_t Moved = MovedRowBytes();
  const std::vector<std::uint8_t> Padding(FileRow - Moved);
  for (int Y = 0; Y < Bitmap->Height(); ++Y) {
    if (const std::uint8_t* Row = Bitmap->ScanLine(Y)) File.WriteBuffer(Row, Moved);
    if (!Padding.empty()) File.WriteBuffer(Padding.data(), Padding.size());
  }
  File.WriteBuffer(Footer.data(), FooterSize);
  File.Commit();
}

const std::vector<TPropertyInfo>& TTarga::PublishedProperties() const {
  static const std::vector<TPropertyInfo> Table = {
      BoolProperty<TTarga>(
          "ResetImage", false, [](const TTarga& T) { return T.ResetImage; },
          [](TTarga& T, long long V) { T.ResetImage = V != 0; }),
      IntProperty<TTarga>(
          "Width", 0, [](const TTarga& T) { return T.Width(); },
          [](TTarga& T, long long V) { T.SetWidth(std::uint16_t(V)); }),
      IntProperty<TTarga>(
          "Height", 0, [](const TTarga& T) { return T.Height(); },
          [](TTarga& T, long long V) { T.SetHeight(std::uint16_t(V)); }),
      IntProperty<TTarga>(
          "ColorDepth", 0, [](const TTarga& T) { return T.GetDepth(); },
          [](TTarga& T, long long V) { T.SetDepth(std::uint16_t(V)); }),
  };
  return Table;
}

void Targa::Register() { RegisterComponentClass<TTarga>(PalettePage, "TTarga"); }
