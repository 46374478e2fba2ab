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

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "components/TextObject.h"
#include "include/SharedConstants.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Streams.h"

namespace {

constexpr std::uint32_t StatusFileMissing = 0x80000000u;
constexpr std::uint32_t StatusSequenceBroken = 0x40000000u;
constexpr std::string_view HeaderStart = "[0x";
constexpr std::size_t HeaderSize = 12;  // "[0x" + 8 digits + "]"

// Value of a hexadecimal digit, -1 for any other byte: upper case only, or either case.
struct THexTable {
  signed char Value[256];
  constexpr explicit THexTable(bool LowerToo) : Value() {
    for (int I = 0; I < 256; ++I) Value[I] = -1;
    for (int I = 0; I < 10; ++I) Value['0' + I] = static_cast<signed char>(I);
    for (int I = 0; I < 6; ++I) {
      Value['A' + I] = static_cast<signed char>(10 + I);
      if (LowerToo) Value['a' + I] = static_cast<signed char>(10 + I);
    }
  }
};
constexpr THexTable UpperHex(false);
constexpr THexTable AnyHex(true);

int HexDigitValue(char C) { return AnyHex.Value[static_cast<unsigned char>(C)]; }

// Every header number is read and written once a block, so the eight digits are handled all at
// once in a 64-bit word on little-endian machines (the first digit in the lowest byte).
constexpr bool WordDigits = std::endian::native == std::endian::little;
constexpr std::uint64_t EachByte = 0x0101010101010101ull;
constexpr std::uint64_t HighBits = EachByte * 0x80;

// Eight upper-case hexadecimal digits at Digits as a number; false when one is not such a digit.
bool ReadEightDigits(const char* Digits, std::uint32_t& Number) {
  if constexpr (WordDigits) {
    std::uint64_t Word;
    std::memcpy(&Word, Digits, 8);
    if (Word & HighBits) return false;
    // With every byte below 0x80, adding at most 0x50 to each cannot carry into the next:
    // the high bit of a byte then says whether it reached a bound.
    std::uint64_t Digit = (Word + EachByte * (0x80 - '0')) & ~(Word + EachByte * (0x80 - '9' - 1));
    std::uint64_t Letter = (Word + EachByte * (0x80 - 'A')) & ~(Word + EachByte * (0x80 - 'F' - 1));
    if (((Digit | Letter) & HighBits) != HighBits) return false;
    std::uint64_t Nibbles = (Word & EachByte * 0x0F) + ((Letter & HighBits) >> 7) * 9;
    Nibbles = ((Nibbles << 4) | (Nibbles >> 8)) & 0x00FF00FF00FF00FFull;
    Nibbles = ((Nibbles << 8) | (Nibbles >> 16)) & 0x0000FFFF0000FFFFull;
    Number = static_cast<std::uint32_t>((Nibbles << 16) | (Nibbles >> 32));
    return true;
  } else {
    std::uint32_t Value = 0;
    for (int I = 0; I < 8; ++I) {
      int Digit = UpperHex.Value[static_cast<unsigned char>(Digits[I])];
      if (Digit < 0) return false;
      Value = Value << 4 | static_cast<std::uint32_t>(Digit);
    }
    Number = Value;
    return true;
  }
}

// Number as 8 upper-case hexadecimal digits at Out.
void WriteEightDigits(std::uint32_t Number, char* Out) {
  if constexpr (WordDigits) {
    // Spread the nibbles over the bytes, the most significant first, then make them digits.
    std::uint64_t Word = Number;
    Word = ((Word & 0xFFFF0000u) >> 16) | ((Word & 0xFFFFu) << 32);
    Word = ((Word & 0x0000FF000000FF00ull) >> 8) | ((Word & 0x000000FF000000FFull) << 16);
    Word = ((Word & 0x00F000F000F000F0ull) >> 4) | ((Word & 0x000F000F000F000Full) << 8);
    std::uint64_t Letter = ((Word + EachByte * 6) >> 4) & EachByte;  // 1 in each byte of 10 or more
    Word += EachByte * '0' + Letter * ('A' - '0' - 10);
    std::memcpy(Out, &Word, 8);
  } else {
    static const char Digits[] = "0123456789ABCDEF";
    for (int I = 7; I >= 0; --I, Number >>= 4) Out[I] = Digits[Number & 15];
  }
}

// "0x" and 8 upper-case hexadecimal digits: one index entry.
std::string IndexEntry(std::uint32_t Number) {
  std::string Entry = "0x00000000";
  WriteEightDigits(Number, Entry.data() + 2);
  return Entry;
}

// Appends the index entry of Number to Index, built in place.
void AddIndexEntry(std::vector<std::string>& Index, std::uint32_t Number) {
  WriteEightDigits(Number, Index.emplace_back("0x00000000", HeaderSize - 2).data() + 2);
}

// The whole file at Path into Bytes, followed by one zero byte; Size gets the number of file
// bytes. The room is taken without being cleared first (every byte is read into), and a file
// whose size is not known in advance (a pipe, /proc) is read to its end.
// Throws EFOpenError when the file cannot be opened.
void LoadWholeFile(const std::string& Path, std::unique_ptr<char[]>& Bytes, std::size_t& Size) {
  TFileStream Stream(Path, fmOpenRead);
  std::size_t Room = static_cast<std::size_t>(std::max<std::int64_t>(Stream.Size(), 0));
  auto Loaded = std::make_unique_for_overwrite<char[]>(Room + 1);
  std::size_t Got = 0;
  for (std::size_t N; Got < Room && (N = Stream.Read(Loaded.get() + Got, Room - Got)) > 0;)
    Got += N;
  if (Got == Room) {
    char Chunk[65536];
    for (std::size_t N; (N = Stream.Read(Chunk, sizeof Chunk)) > 0; Got += N) {
      if (Got + N > Room) {
        Room = std::max(Room * 2, Got + N);
        auto Larger = std::make_unique_for_overwrite<char[]>(Room + 1);
        std::memcpy(Larger.get(), Loaded.get(), Got);
        Loaded = std::move(Larger);
      }
      std::memcpy(Loaded.get() + Got, Chunk, N);
    }
  }
  Loaded[Got] = '\0';
  Bytes = std::move(Loaded);
  Size = Got;
}

// True when Text holds at At the exact header the writer produces; Number gets its value.
bool IsHeaderAt(std::string_view Text, std::size_t At, std::uint32_t& Number) {
  if (At + HeaderSize > Text.size() || Text[At] != '[' || Text[At + 1] != '0' ||
      Text[At + 2] != 'x' || Text[At + 11] != ']')
    return false;
  return ReadEightDigits(Text.data() + At + 3, Number);
}

// True when an index entry is "0x" and 8 upper-case digits, that is when "[" + Entry + "]" is a
// well-formed header; Number gets its value.
bool IsHeaderEntry(std::string_view Entry, std::uint32_t& Number) {
  return Entry.size() == HeaderSize - 2 && Entry[0] == '0' && Entry[1] == 'x' &&
         ReadEightDigits(Entry.data() + 2, Number);
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

// The length of what MakeString makes of Text, without making it.
std::size_t ConvertedLength(std::string_view Text, bool SingleLine, bool LinuxFormat) {
  if (!SingleLine && !LinuxFormat) return Text.size();
  std::size_t Length = Text.size();
  for (std::size_t Lf = Text.find('\n'); Lf != std::string_view::npos;
       Lf = Text.find('\n', Lf + 1)) {
    Length -= Lf > 0 && Text[Lf - 1] == '\r' ? 2 : 1;  // the line end goes
    if (!SingleLine) ++Length;                         // and one LF comes back
  }
  return Length;
}

}  // namespace

int TTextObject::NewINI(TOpenModes Mode, int /*Reserved*/) {
  OpenMode = Mode;
  Status = 0;
  BlockCount = 0;
  Position = 0;
  if (Mode == omWrite) {
    // Emptying replaces the whole file; a file that cannot be created is not reported. Where
    // no file can be made beside it (a directory the user may not write to) the file is
    // emptied in place, so the blocks written next never land after old ones.
    try {
      WriteWholeFile(FileName, {});
    } catch (const EPlatformError&) {
      if (std::FILE* File = std::fopen(FileName.c_str(), "wb")) std::fclose(File);
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
  Buffer.reset();
  BufferBytes = 0;
  BufferSize = 0;
  SearchEnd = 0;
  Headers.clear();
  HeaderOffsets.clear();
  FirstHeader.clear();
  DenseHeaders = true;

  // EFOpenError reaches the caller; the object then reads as an empty file.
  LoadWholeFile(FileName, Buffer, BufferBytes);
  BufferSize = static_cast<std::uint32_t>(std::min<std::size_t>(BufferBytes, UINT32_MAX));
  const char* const Base = Buffer.get();
  if (const void* Zero = std::memchr(Base, '\0', BufferBytes))
    SearchEnd = static_cast<std::size_t>(static_cast<const char*>(Zero) - Base);
  else
    SearchEnd = BufferBytes;
  const std::string_view Text(Base, SearchEnd);

  // A guess at the number of blocks (a short text takes about 32 bytes with its header), so
  // the usual file is indexed without growing the lists; a longer file just lets them grow.
  const std::size_t Guess = SearchEnd / 32 + 16;
  HeaderOffsets.reserve(Guess);
  std::vector<std::uint32_t> HeaderNumbers;  // the numbers of HeaderOffsets, once not dense
  std::vector<std::uint32_t> Numbers;        // the number of every header the block scan reaches
  Numbers.reserve(Guess);
  std::size_t ScanFrom = 0;  // where the block scan looks for its next "[0x"
  bool Scanning = true;
  // One pass over every "[0x": each is recorded for the lookup when it is a well-formed
  // header, and each that the block scan reaches (it resumes 12 bytes after a hit) is a block.
  // "[" cannot occur inside "[0x" after its first byte, so hunting for "[" finds them all.
  const char* const Stop = Base + SearchEnd;
  for (const char* P = Base; Stop - P >= static_cast<std::ptrdiff_t>(HeaderStart.size()); ++P) {
    P = static_cast<const char*>(std::memchr(P, '[', static_cast<std::size_t>(Stop - P)));
    if (!P || Stop - P < static_cast<std::ptrdiff_t>(HeaderStart.size())) break;
    if (P[1] != '0' || P[2] != 'x') continue;
    const std::size_t At = static_cast<std::size_t>(P - Base);
    std::uint32_t Exact;
    bool WellFormed = IsHeaderAt(Text, At, Exact);
    if (WellFormed) {
      // The usual file has one header a number, numbered by its place: the numbers need not
      // be kept, and no sorting is needed.
      if (DenseHeaders && Exact != HeaderOffsets.size()) {
        DenseHeaders = false;
        HeaderNumbers.resize(HeaderOffsets.size());
        for (std::size_t I = 0; I < HeaderNumbers.size(); ++I)
          HeaderNumbers[I] = static_cast<std::uint32_t>(I);
      }
      if (!DenseHeaders) HeaderNumbers.push_back(Exact);
      HeaderOffsets.push_back(At);
    }
    if (!Scanning || At < ScanFrom) continue;
    // A well-formed header's number is its eight digits: the "]" ends the reading.
    Numbers.push_back(WellFormed ? Exact : ReadHexNumber(Text, At + HeaderStart.size()));
    ScanFrom = At + HeaderSize;
    if (ScanFrom >= BufferBytes) Scanning = false;
  }

  // The index and the sequence check.
  Lines.Clear();
  std::vector<std::string>& Index = Lines.Items();
  Index.reserve(Numbers.size() + 1);
  std::uint32_t Expected = 0;
  for (std::uint32_t Number : Numbers) {
    AddIndexEntry(Index, Number);
    if (!NoErrors && Number != Expected) {
      Log.Add("Block " + IndexEntry(Expected) + " not found!");
      Expected = Number;
      Status |= StatusSequenceBroken;
    }
    ++Expected;
    ++BlockCount;
  }
  AddIndexEntry(Index, Expected);
  if (Status != 0) Lines.Clear();

  if (DenseHeaders) return;  // header n is at HeaderOffsets[n], the only one numbered n
  Headers.resize(HeaderOffsets.size());
  for (std::size_t I = 0; I < Headers.size(); ++I)
    Headers[I] = {HeaderNumbers[I], HeaderOffsets[I]};
  HeaderOffsets.clear();
  HeaderOffsets.shrink_to_fit();
  // Offsets are ascending already; a stable sort by number keeps them so within a number.
  auto ByNumber = [](const THeaderAt& A, const THeaderAt& B) { return A.Number < B.Number; };
  if (!std::is_sorted(Headers.begin(), Headers.end(), ByNumber))
    std::stable_sort(Headers.begin(), Headers.end(), ByNumber);
  FirstHeader.assign(Headers.size() + 16, -1);
  for (std::size_t I = Headers.size(); I-- > 0;)
    if (Headers[I].Number < FirstHeader.size())
      FirstHeader[Headers[I].Number] = static_cast<int>(I);
}

std::size_t TTextObject::FindKey(std::string_view Key, std::size_t From) const {
  std::uint32_t Number;
  if (Key.size() == HeaderSize && IsHeaderAt(Key, 0, Number)) return FindHeader(Number, From);
  // A key of another form (an index entry the user changed): search the text itself.
  if (From > SearchEnd) return std::string_view::npos;
  return std::string_view(Buffer.get(), SearchEnd).find(Key, From);
}

std::size_t TTextObject::FindHeader(std::uint32_t Number, std::size_t From) const {
  if (DenseHeaders) {
    if (Number >= HeaderOffsets.size()) return std::string_view::npos;
    std::size_t Offset = HeaderOffsets[Number];
    return Offset >= From ? Offset : std::string_view::npos;
  }
  return FindSortedHeader(Number, From);
}

std::size_t TTextObject::FindSortedHeader(std::uint32_t Number, std::size_t From) const {
  auto Start = Headers.begin();
  if (Number < FirstHeader.size()) {
    int First = FirstHeader[Number];
    if (First < 0) return std::string_view::npos;
    Start += First;
    if (Start->Offset >= From) return Start->Offset;  // the usual case: one header a number
  }
  auto It = std::lower_bound(
      Start, Headers.end(), THeaderAt{Number, From}, [](const THeaderAt& A, const THeaderAt& B) {
        return A.Number != B.Number ? A.Number < B.Number : A.Offset < B.Offset;
      });
  return It != Headers.end() && It->Number == Number ? It->Offset : std::string_view::npos;
}

std::string TTextObject::GetCharString(std::string_view Key, std::string_view NextKey) const {
  std::string_view Text;
  return CharStringView(Key, NextKey, Text) ? std::string(Text) : std::string(MarkNoText);
}

bool TTextObject::CharStringView(std::string_view Key, std::string_view NextKey,
                                 std::string_view& Result) const {
  std::size_t At = FindKey(Key, 0);
  std::size_t End = At == std::string_view::npos ? At : FindKey(NextKey, At);
  return TextBetween(At, Key.size(), End, Result);
}

bool TTextObject::TextBetween(std::size_t At, std::size_t KeySize, std::size_t End,
                              std::string_view& Result) const {
  Result = {};
  if (At == std::string_view::npos) return false;
  if (End == std::string_view::npos) End = BufferBytes;
  // The text starts after the key and the two characters that end the header line.
  std::size_t Start = At + KeySize + 2;
  if (End >= Start && End - Start >= 2) {
    if (Buffer[End - 2] == '\r')
      End -= 2;
    else if (Buffer[End - 1] == '\n')
      End -= 1;
  }
  if (End < Start || Start >= BufferBytes) return true;  // the empty text
  std::string_view Text(Buffer.get() + Start, End - Start);
  // SearchEnd is the first zero byte: a text before it holds none.
  Result = End <= SearchEnd ? Text : Text.substr(0, Text.find('\0'));
  return true;
}

std::string TTextObject::MakeString(std::string_view Text) const {
  std::string Out(Text);
  if (!SingleLine && !LinuxFormat) return Out;
  // Converted in place: every line end becomes one LF or nothing, so what is written never
  // overtakes what is still to be read.
  char* const Begin = Out.data();
  char* const End = Begin + Out.size();
  char* To = Begin;
  for (char* From = Begin; From != End;) {
    char* Lf = static_cast<char*>(std::memchr(From, '\n', static_cast<std::size_t>(End - From)));
    if (!Lf) {
      if (To != From) std::memmove(To, From, static_cast<std::size_t>(End - From));
      To += End - From;
      break;
    }
    char* LineEnd = Lf > From && Lf[-1] == '\r' ? Lf - 1 : Lf;
    if (To != From) std::memmove(To, From, static_cast<std::size_t>(LineEnd - From));
    To += LineEnd - From;
    if (!SingleLine) *To++ = '\n';
    From = Lf + 1;
  }
  Out.resize(static_cast<std::size_t>(To - Begin));
  return Out;
}

bool TTextObject::EntryText(const std::string& Name, const std::string& NextName,
                            std::string_view& Text) const {
  return CharStringView("[" + Name + "]", "[" + NextName + "]", Text);
}

bool TTextObject::BlockText(int Entry, std::string_view& Text, bool& NoText) const {
  if (Entry < 0 || Entry + 1 >= Lines.Count()) return false;
  const std::string& Name = Lines[static_cast<std::size_t>(Entry)];
  const std::string& NextName = Lines[static_cast<std::size_t>(Entry) + 1];
  std::uint32_t Number, NextNumber;
  bool Found;
  if (IsHeaderEntry(Name, Number) && IsHeaderEntry(NextName, NextNumber)) {
    // The usual index: both keys are well-formed headers, found without building them.
    std::size_t At = FindHeader(Number, 0);
    std::size_t End = At == std::string_view::npos ? At : FindHeader(NextNumber, At);
    Found = TextBetween(At, HeaderSize, End, Text);
  } else {
    Found = EntryText(Name, NextName, Text);
  }
  // A text that equals "#NO_TEXT#" cannot be told from a missing block.
  NoText = !Found || Text == MarkNoText;
  return true;
}

std::string TTextObject::ReadINI() {
  if (OpenMode == omWrite) return std::string(MarkNoText);
  if (Status != 0 || Position < 0 || Position >= BlockCount) return std::string(MarkOutOfText);
  std::string_view Text;
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
  // A block that cannot be written whole (a full disk) is taken out again: half a block
  // would break the numbering of every block after it.
  const long Before = std::fseek(File, 0, SEEK_END) == 0 ? std::ftell(File) : -1;
  bool Written = std::fwrite(Bytes.data(), 1, Bytes.size(), File) == Bytes.size();
  Written = std::fflush(File) == 0 && Written;
  if (!Written && Before >= 0) {
    if (::ftruncate(::fileno(File), Before) != 0) {
      // Nothing more can be done; the next preload's sequence check reports the damage.
    }
  }
  std::fclose(File);
}

int TTextObject::GetStringLength(std::string_view Text) const {
  return SizeOfLength(static_cast<long long>(Text.size()));
}

int TTextObject::GetCurrentLength() const {
  if (OpenMode == omWrite || Position < 0 || Position >= BlockCount) return -1;
  // After a broken sequence the index is empty: nothing can be measured.
  if (Status & StatusSequenceBroken) return -1;
  std::string_view Text;
  bool NoText = false;
  if (!BlockText(Position, Text, NoText) || NoText) return -1;
  return SizeOfLength(static_cast<long long>(ConvertedLength(Text, SingleLine, LinuxFormat)));
}

int TTextObject::GetIniSize() const {
  if (OpenMode == omWrite || (Status & StatusSequenceBroken)) return -1;
  long long Total = 0;
  for (int K = 0; K < BlockCount; ++K) {
    std::string_view Text;
    bool NoText = false;
    if (!BlockText(K, Text, NoText)) return -1;  // the index lacks entries
    // A missing block counts as an empty text, its zero byte and alignment included.
    Total += SizeOfLength(
        NoText ? 0 : static_cast<long long>(ConvertedLength(Text, SingleLine, LinuxFormat)));
  }
  return Total > INT_MAX ? INT_MAX : static_cast<int>(Total);
}

void TTextObject::SetIniPos(int Index) {
  // A negative index would make the next read look before the index: it is ignored.
  if (Index >= 0 && Index < BlockCount) Position = Index;
}
