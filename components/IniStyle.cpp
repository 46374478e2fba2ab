// The INI style of TTextObject: texts kept as numbered blocks in one file.
//
// File layout, block after block with nothing before, between or after them:
//   "[0x"  the block number as exactly 8 upper-case hexadecimal digits  "]"   12 bytes
//   CR LF                                                                       2 bytes
//   the text, every LF in it stored as CR LF (a lone CR stays as it is)         any
//   CR LF                                                                       2 bytes
// So "Hello" and "" as blocks 0 and 1 are "[0x00000000]\r\nHello\r\n[0x00000001]\r\n\r\n".
//
// Reading is lenient in the scan and strict in the lookup: the preload finds headers by
// searching for "[0x" anywhere and reads the number after it as hexadecimal of any length
// and case, but a block's text is then looked up by the exact 12-character header the
// writer produces. A zero byte ends the part of the file that is searched.
//
// The lookup: every well-formed header of the loaded text is recorded once by the preload's
// single scan, sorted by number, so finding a block costs a binary search rather than a scan
// from the start of the file; the results are those of a plain first-occurrence search.

#include "components/TextObject.h"

#include "include/SharedConstants.h"
#include "platform/Errors.h"
#include "platform/Files.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

constexpr std::uint32_t StatusFileMissing = 0x80000000u;
constexpr std::uint32_t StatusSequenceBroken = 0x40000000u;
constexpr std::string_view HeaderStart = "[0x";
constexpr std::size_t HeaderSize = 12;  // "[0x" + 8 digits + "]"

int HexDigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

bool IsUpperHexDigit(char C) { return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'F'); }

// True when Text holds at At the exact header the writer produces; Number gets its value.
bool IsHeaderAt(std::string_view Text, std::size_t At, std::uint32_t& Number) {
  if (At + HeaderSize > Text.size() || Text.substr(At, 3) != HeaderStart || Text[At + 11] != ']')
    return false;
  std::uint32_t Value = 0;
  for (std::size_t I = At + 3; I < At + 11; ++I) {
    if (!IsUpperHexDigit(Text[I])) return false;
    Value = Value * 16 + static_cast<std::uint32_t>(HexDigitValue(Text[I]));
  }
  Number = Value;
  return true;
}

// The number after a "[0x", read as the standard library's "%X" conversion reads it: blanks
// skipped, an optional sign, an optional "0x" prefix, then hexadecimal digits of either case
// and any length (kept modulo 2^32). When no hexadecimal digit follows, the number is 0.
std::uint32_t ReadHexNumber(std::string_view Text, std::size_t I) {
  auto IsSpace = [](char C) { return C == ' ' || (C >= '\t' && C <= '\r'); };
  while (I < Text.size() && IsSpace(Text[I])) ++I;
  bool Negative = false;
  if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) Negative = Text[I++] == '-';
  if (I + 2 < Text.size() && Text[I] == '0' && (Text[I + 1] == 'x' || Text[I + 1] == 'X') &&
      HexDigitValue(Text[I + 2]) >= 0)
    I += 2;
  std::uint32_t Value = 0;
  for (; I < Text.size() && HexDigitValue(Text[I]) >= 0; ++I)
    Value = Value * 16 + static_cast<std::uint32_t>(HexDigitValue(Text[I]));
  return Negative ? 0u - Value : Value;
}

std::string IndexEntry(std::uint32_t Number) { return "0x" + IntToHex(Number, 8); }

// Text with every LF written as CR LF, as a text-mode write puts it on disk.
std::string WithCrLf(std::string_view Text) {
  std::string Out;
  Out.reserve(Text.size() + Text.size() / 16 + 2);
  for (char C : Text) {
    if (C == '\n') Out += '\r';
    Out += C;
  }
  return Out;
}

}  // namespace

int TTextObject::NewINI(TOpenModes Mode, int /*Reserved*/) {
  OpenMode = Mode;
  Status = 0;
  BlockCount = 0;
  Position = 0;
  if (Mode == omWrite) {
    // Emptying replaces the whole file; a file that cannot be created is not reported.
    try {
      WriteWholeFile(FileName, {});
    } catch (const EPlatformError&) {
    }
    return 0;
  }
  if (!FileExists(FileName)) {
    Status = StatusFileMissing;  // Lines keeps what it held
    return static_cast<int>(Status);
  }
  PreloadINI();
  return static_cast<int>(Status);
}

void TTextObject::PreloadINI() {
  Position = 0;
  BlockCount = 0;
  Status = 0;
  Buffer.clear();
  Buffer.shrink_to_fit();
  BufferSize = 0;
  SearchEnd = 0;
  Headers.clear();

  Buffer = ReadWholeFile(FileName);  // EFOpenError reaches the caller; the object reads empty
  BufferSize = static_cast<std::uint32_t>(std::min<std::size_t>(Buffer.size(), UINT32_MAX));
  SearchEnd = std::min(Buffer.find('\0'), Buffer.size());
  const std::string_view Text(Buffer.data(), SearchEnd);

  Lines.Clear();
  std::uint32_t Expected = 0;
  std::size_t ScanFrom = 0;  // where the block scan looks for its next "[0x"
  bool Scanning = true;
  // One pass over every "[0x": each is recorded for the lookup when it is a well-formed
  // header, and each that the block scan reaches (it resumes 12 bytes after a hit) is a block.
  for (std::size_t At = Text.find(HeaderStart); At != std::string_view::npos;
       At = Text.find(HeaderStart, At + 1)) {
    std::uint32_t Exact;
    if (IsHeaderAt(Text, At, Exact)) Headers.push_back({Exact, At});
    if (!Scanning || At < ScanFrom) continue;

    std::uint32_t Number = ReadHexNumber(Text, At + HeaderStart.size());
    Lines.Add(IndexEntry(Number));
    if (!NoErrors && Number != Expected) {
      Log.Add("Block " + IndexEntry(Expected) + " not found!");
      Expected = Number;
      Status |= StatusSequenceBroken;
    }
    ++Expected;
    ++BlockCount;
    ScanFrom = At + HeaderSize;
    if (ScanFrom >= Buffer.size()) Scanning = false;
  }
  Lines.Add(IndexEntry(Expected));
  if (Status != 0) Lines.Clear();

  // Offsets are ascending already; a stable sort by number keeps them so within a number.
  std::stable_sort(Headers.begin(), Headers.end(),
                   [](const THeaderAt& A, const THeaderAt& B) { return A.Number < B.Number; });
}

std::size_t TTextObject::FindKey(std::string_view Key, std::size_t From) const {
  std::uint32_t Number;
  if (Key.size() == HeaderSize && IsHeaderAt(Key, 0, Number)) {
    auto It = std::lower_bound(Headers.begin(), Headers.end(), THeaderAt{Number, From},
                               [](const THeaderAt& A, const THeaderAt& B) {
                                 return A.Number != B.Number ? A.Number < B.Number
                                                             : A.Offset < B.Offset;
                               });
    return It != Headers.end() && It->Number == Number ? It->Offset : std::string_view::npos;
  }
  // A key of another form (an index entry the user changed): search the text itself.
  if (From > SearchEnd) return std::string_view::npos;
  return std::string_view(Buffer.data(), SearchEnd).find(Key, From);
}

std::string TTextObject::GetCharString(std::string_view Key, std::string_view NextKey) const {
  std::size_t At = FindKey(Key, 0);
  if (At == std::string_view::npos) return std::string(MarkNoText);
  std::size_t End = FindKey(NextKey, At);
  if (End == std::string_view::npos) End = Buffer.size();
  // The text starts after the key and the two characters that end the header line.
  std::size_t Start = At + Key.size() + 2;
  if (End >= Start && End - Start >= 2) {
    if (Buffer[End - 2] == '\r')
      End -= 2;
    else if (Buffer[End - 1] == '\n')
      End -= 1;
  }
  if (End < Start || Start >= Buffer.size()) return {};
  std::string_view Text(Buffer.data() + Start, End - Start);
  return std::string(Text.substr(0, Text.find('\0')));
}

std::string TTextObject::MakeString(std::string_view Text) const {
  if (!SingleLine && !LinuxFormat) return std::string(Text);
  std::string Out;
  Out.reserve(Text.size());
  std::size_t Start = 0;
  for (std::size_t Lf; (Lf = Text.find('\n', Start)) != std::string_view::npos; Start = Lf + 1) {
    std::size_t LineEnd = Lf > Start && Text[Lf - 1] == '\r' ? Lf - 1 : Lf;
    Out.append(Text.substr(Start, LineEnd - Start));
    if (!SingleLine) Out += '\n';
  }
  Out.append(Text.substr(Start));
  return Out;
}

bool TTextObject::BlockText(int Entry, std::string& Text, bool& NoText) const {
  if (Entry < 0 || Entry + 1 >= Lines.Count()) return false;
  Text = GetCharString("[" + Lines[static_cast<std::size_t>(Entry)] + "]",
                       "[" + Lines[static_cast<std::size_t>(Entry) + 1] + "]");
  NoText = Text == MarkNoText;
  return true;
}

std::string TTextObject::ReadINI() {
  if (OpenMode == omWrite) return std::string(MarkNoText);
  if (Status != 0 || Position < 0 || Position >= BlockCount) return std::string(MarkOutOfText);
  std::string Text;
  bool NoText = false;
  // An index shorter than BlockCount (Lines changed by the user) has nothing more to read.
  if (!BlockText(Position, Text, NoText)) return std::string(MarkOutOfText);
  ++Position;  // also when the block is missing
  return NoText ? std::string(MarkNoText) : MakeString(Text);
}

void TTextObject::WriteINI(const std::string& Text) {
  if (OpenMode == omRead) return;
  std::string Name = IndexEntry(static_cast<std::uint32_t>(Position));
  ++Position;  // used up even when the file cannot be opened
  // "[%s]\n%s\n" in text mode: the text goes up to its first zero byte, every LF as CR LF.
  std::string_view Body(Text.data(), std::min(Text.find('\0'), Text.size()));
  std::string Bytes = WithCrLf("[" + Name + "]\n" + std::string(Body) + "\n");
  // A block is appended to the file, not a replacement of it: the file is opened for appending.
  std::FILE* File = std::fopen(FileName.c_str(), "ab");
  if (!File) return;
  std::fwrite(Bytes.data(), 1, Bytes.size(), File);
  std::fflush(File);
  std::fclose(File);
}

int TTextObject::GetStringLength(std::string_view Text) const {
  return SizeOfLength(static_cast<long long>(Text.size()));
}

int TTextObject::GetCurrentLength() const {
  if (OpenMode == omWrite || Position < 0 || Position >= BlockCount) return -1;
  // After a broken sequence the index is empty: nothing can be measured.
  if (Status & StatusSequenceBroken) return -1;
  std::string Text;
  bool NoText = false;
  if (!BlockText(Position, Text, NoText) || NoText) return -1;
  return SizeOfLength(static_cast<long long>(MakeString(Text).size()));
}

int TTextObject::GetIniSize() const {
  if (OpenMode == omWrite || (Status & StatusSequenceBroken)) return -1;
  long long Total = 0;
  for (int K = 0; K < BlockCount; ++K) {
    std::string Text;
    bool NoText = false;
    if (!BlockText(K, Text, NoText)) return -1;  // the index lacks entries
    // A missing block counts as an empty text, its zero byte and alignment included.
    Total += SizeOfLength(NoText ? 0 : static_cast<long long>(MakeString(Text).size()));
  }
  return Total > INT_MAX ? INT_MAX : static_cast<int>(Total);
}

void TTextObject::SetIniPos(int Index) {
  // A negative index would make the next read look before the index: it is ignored.
  if (Index >= 0 && Index < BlockCount) Position = Index;
}
