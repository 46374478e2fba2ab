#pragma once
// TTextObject: a non-visual component that reads and writes a sequence of texts in one of
// two plain-text layouts, chosen by TextStyle:
//   - IniStyle (IniStyle.cpp): one file of numbered blocks "[0xNNNNNNNN]" CR LF text CR LF;
//   - DuroduStyle (Durodu.cpp): records in Lines, each a separator line, a header line,
//     the text's lines and an end line "#E#N#D#".
// New prepares the object; Read, Write, Rewrite, GetSize and SetPosition hand the call to the
// operation of the style that is current at the call. The component raises no errors of its
// own: it reports through results, Status, the marker texts and Log. Errors of the platform's
// file operations (EFOpenError when an existing file cannot be read) reach the caller.
//
// Every call works on its own locals: instances are independent of one another.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "components/Component.h"
#include "platform/StringList.h"

// What a Durodu header says about its record.
enum TTextTypes : std::uint8_t {
  ttIndexed = 0,          // the header carries the record's number
  ttPlain = 1,            // no number
  ttStringDepeneded = 2,  // no number (the name is spelled so in stored form descriptions)
};

// The layout of the texts.
enum TObjectStyle : std::uint8_t {
  DuroduStyle = 0,  // framed records in Lines
  IniStyle = 1,     // numbered blocks in the file FileName
};

// How New opens an INI-style file.
enum TOpenModes : std::uint8_t {
  omRead = 0,   // open an existing file and load its block index
  omWrite = 1,  // create the file empty (an existing one is emptied) and accept blocks to append
};

class TTextObject : public TComponent {
 public:
  explicit TTextObject(TComponent* Owner);
  ~TTextObject() override;

  std::string ClassName() const override { return "TTextObject"; }
  // TextType, TextStyle, NoErrors, AsciiZ, CRC, SingleLine, ClearBounds, LinuxFormat,
  // TextAlign; every stream default is 0 (so TextAlign 0 is not stored and reads back as 1).
  const std::vector<TPropertyInfo>& PublishedProperties() const override;

  // ---- State ------------------------------------------------------------------------------
  // INI style: 0, or 0x80000000 (the file was missing at New) and/or 0x40000000 (a block
  // number out of sequence). The result of New under IniStyle.
  std::uint32_t Status = 0;
  // INI style: the number of file bytes the last preload loaded.
  std::uint32_t BufferSize = 0;
  // INI style: the mode given to the last New under IniStyle.
  TOpenModes OpenMode = omRead;
  // Number of the current text: the next block to read (INI) or the current record (Durodu).
  int Position = 0;
  // Durodu style: index in Lines of the current record's separator line, or Lines.Count()
  // when the object stands after the last record.
  int LinePos = 0;
  // INI style: the number of block headers the preload found. Durodu style: the number of
  // records written since New.
  int BlockCount = 0;

  // ---- Published properties (each reads and writes its field, nothing else) ----------------
  TTextTypes TextType = ttIndexed;
  TObjectStyle TextStyle = DuroduStyle;
  int TextAlign = 1;         // sizes are rounded up to a multiple of this when it is above 1
  bool AsciiZ = false;       // sizes count a terminating zero byte
  bool SingleLine = false;   // texts read lose their line breaks
  bool CRC = false;          // Durodu headers end in a check sum
  bool ClearBounds = false;  // EraseSpace trims spaces and tabs
  bool LinuxFormat = false;  // line breaks in texts read become LF
  bool NoErrors = false;     // the INI preload does not check the block sequence

  // INI style: the block index. Durodu style: the lines of all records.
  TStringList Lines;
  // INI style: the file; the user sets it before New, the component never changes it.
  std::string FileName;
  // The messages of the INI preload and a copy of every text the Durodu style reads.
  TStringList Log;

  // ---- Style-independent operations ------------------------------------------------------
  // Clears Log and prepares the current style. Result: Status under IniStyle, 0 otherwise.
  int New(TOpenModes Mode, int Reserved);
  std::string Read();
  void Write(const std::string& Text);
  // IniStyle: appends a block exactly as Write does.
  void Rewrite(const std::string& Text);
  int GetSize();
  void SetPosition(int Index);

  // The size rule: Length bytes, + 1 with AsciiZ, rounded up to a multiple of TextAlign when it
  // is above 1 (0, 1 and negative values leave it unchanged). Saturates at INT_MAX.
  int SizeOfLength(long long Length) const;

  // ---- INI style (IniStyle.cpp) ------------------------------------------------------------
  int NewINI(TOpenModes Mode, int Reserved);
  void PreloadINI();
  std::string ReadINI();
  void WriteINI(const std::string& Text);
  // The text between the first occurrence of Key and the first occurrence of NextKey at or
  // after it, or "#NO_TEXT#" when Key does not occur in the loaded text.
  std::string GetCharString(std::string_view Key, std::string_view NextKey) const;
  // The text with its line breaks converted as SingleLine and LinuxFormat ask.
  std::string MakeString(std::string_view Text) const;
  std::string MakeString(const char* Text) const {
    return MakeString(std::string_view(Text ? Text : ""));
  }
  int GetStringLength(std::string_view Text) const;
  int GetCurrentLength() const;
  int GetIniSize() const;
  void SetIniPos(int Index);

  // ---- Durodu style (Durodu.cpp) -----------------------------------------------------------
  void NewDurodu();
  // False (and nothing changes) when no file or directory of that name exists; otherwise
  // clears Log, prepares the Durodu state and loads Lines from the file. EFOpenError from the
  // load reaches the caller.
  bool LoadText(const std::string& Name);
  std::string ReadDurodu();
  void WriteDurodu(const std::string& Text);
  void RewriteDurodu(const std::string& Text);
  int GetDuroduSize() const;
  void SetDuroduPos(int Index);
  // The text without its space characters (tabs stay).
  std::string ClearString(std::string_view Text) const;
  // With ClearBounds: the text without leading and trailing spaces and tabs; else unchanged.
  std::string EraseSpace(std::string_view Text) const;

 private:
  // One well-formed header "[0x" + 8 upper-case hex digits + "]" in the loaded text.
  struct THeaderAt {
    std::uint32_t Number;
    std::size_t Offset;
  };
  // First occurrence of Key at or after From in the searched part of the loaded text.
  std::size_t FindKey(std::string_view Key, std::size_t From) const;
  // First header numbered Number at or after From.
  std::size_t FindHeader(std::uint32_t Number, std::size_t From) const;
  // FindHeader in Headers sorted by number, when they are not numbered by their place.
  std::size_t FindSortedHeader(std::uint32_t Number, std::size_t From) const;
  // GetCharString without copying: the text as a view into Buffer; false for "#NO_TEXT#".
  bool CharStringView(std::string_view Key, std::string_view NextKey, std::string_view& Text) const;
  // The text of a key of KeySize bytes found at At, up to the next key at End (npos: none).
  bool TextBetween(std::size_t At, std::size_t KeySize, std::size_t End,
                   std::string_view& Text) const;
  // The text of the block whose index entry is Entry (next key from entry Entry + 1), with
  // NoText set when it cannot be found. False when the index lacks those entries.
  bool BlockText(int Entry, std::string_view& Text, bool& NoText) const;
  // CharStringView for the keys "[" + Name + "]" and "[" + NextName + "]" of an index whose
  // entries are not well-formed headers.
  bool EntryText(const std::string& Name, const std::string& NextName,
                 std::string_view& Text) const;

  // INI style: the whole file as the preload loaded it, BufferBytes bytes followed by one zero
  // byte (null before the first preload); SearchEnd is the first zero byte, where every search
  // of it stops.
  std::unique_ptr<char[]> Buffer;
  std::size_t BufferBytes = 0;
  std::size_t SearchEnd = 0;
  // The well-formed headers of the searched text, recorded by the preload's single scan so a
  // key is found without a scan from the start. When the k-th of them is numbered k for every
  // k (the usual file), DenseHeaders is set and HeaderOffsets holds their offsets in file
  // order, which is also number order. Otherwise Headers holds them sorted by number and then
  // offset, found by FirstHeader and binary search, and HeaderOffsets is empty.
  bool DenseHeaders = true;
  std::vector<std::size_t> HeaderOffsets;
  std::vector<THeaderAt> Headers;
  // The position in Headers of the first header numbered n, or -1, for n up to a bound near
  // the number of headers (numbers beyond it are found by binary search in Headers).
  std::vector<int> FirstHeader;
};

namespace Textobject {
// Registers TTextObject on the palette page "Veltrane" of the program's registry.
void Register();
}  // namespace Textobject
