// The Durodu style of TTextObject: texts kept as framed records in Lines.
//
// A record is consecutive entries of Lines:
//   "_______________________________"   the separator, 31 underscores
//   "#H#E#A#D#E#R#" fields "#"-ended    type code (TextType, + 128 with CRC); the record's
//                                       number when TextType is ttIndexed; with CRC the sum
//                                       of the character codes of the header so far,
//                                       from its first "#" through the last "#"
//   text lines                          one or more ("a", "b" read as a CR LF b)
//   "#E#N#D#"                           the end line
// Records follow one another from line 0. Reading never looks at the header.
//
// Lists that run out before an end line (a record cut off, or Lines changed by the user):
// the record's text then runs to the end of Lines. ReadDurodu hands out the lines collected,
// leaves the object at the end of Lines and counts the record; RewriteDurodu replaces the
// lines up to the end of Lines with the new text and leaves the object at the end, adding
// no end line; GetDuroduSize counts the cut record's text up to the end. A record needs at
// least its separator, its header and one more line to be read or counted, as ReadDurodu
// has always required. A LinePos beyond the end of Lines counts as the end.

#include <algorithm>
#include <climits>

#include "components/TextObject.h"
#include "include/SharedConstants.h"
#include "platform/Files.h"

namespace {

// LinePos as an index no further than the end of Lines.
int ClampedLinePos(int LinePos, int Count) { return std::clamp(LinePos, 0, Count); }

}  // namespace

void TTextObject::NewDurodu() {
  Position = 0;
  LinePos = 0;
  BlockCount = 0;
  Lines.Clear();
  Log.Clear();
}

bool TTextObject::LoadText(const std::string& Name) {
  if (!FileExists(Name)) return false;
  // Prepare the Durodu state directly: under IniStyle a New would empty the file FileName.
  Log.Clear();
  NewDurodu();
  Lines.LoadFromFile(Name);  // EFOpenError reaches the caller; Lines and Log are empty then
  return true;
}

std::string TTextObject::ReadDurodu() {
  const std::vector<std::string>& Items = Lines.Items();
  const int Count = Lines.Count();
  if (LinePos < 0 || Count <= static_cast<long long>(LinePos) + 2)
    return std::string(MarkOutOfText);
  int Line = LinePos + 2;  // past the separator and the header, whatever they hold
  std::string Text;
  while (Line < Count && Items[Line] != MarkEnd) {
    Text += Items[Line];
    ++Line;
    if (Line < Count && Items[Line] != MarkEnd && !SingleLine) Text += LinuxFormat ? "\n" : "\r\n";
  }
  if (Line < Count) ++Line;  // past the end line, when there is one
  LinePos = Line;
  ++Position;
  Log.Add(Text);
  return Text;
}

void TTextObject::WriteDurodu(const std::string& Text) {
  LinePos = ClampedLinePos(LinePos, Lines.Count());
  std::vector<std::string>& Items = Lines.Items();
  const int Type = static_cast<int>(TextType) + (CRC ? 128 : 0);
  std::string Header = std::string(MarkHeader) + std::to_string(Type) + "#";
  if (TextType == ttIndexed) Header += std::to_string(Position) + "#";
  if (CRC) {
    unsigned long Sum = 0;
    for (char C : Header) Sum += static_cast<unsigned char>(C);
    Header += std::to_string(Sum) + "#";
  }
  auto At = Items.begin() + LinePos;
  Items.insert(At, {std::string(MarkSeparator), Header, Text, std::string(MarkEnd)});
  LinePos += 4;
  ++Position;
  ++BlockCount;
}

void TTextObject::RewriteDurodu(const std::string& Text) {
  if (LinePos < 0 || LinePos >= Lines.Count()) {
    Write(Text);  // standing at the end: the text is added as a new record
    return;
  }
  std::vector<std::string>& Items = Lines.Items();
  // Past the separator and the header; a record cut off before its text gets it at the end.
  auto First = Items.begin() + std::min(LinePos + 2, Lines.Count());
  auto End = std::find(First, Items.end(), MarkEnd);
  auto Inserted = Items.insert(Items.erase(First, End), Text);
  LinePos = static_cast<int>(Inserted - Items.begin()) + 1;  // on the end line, if any
  if (LinePos < Lines.Count()) ++LinePos;                    // and past it
  ++Position;
}

int TTextObject::GetDuroduSize() const {
  const std::vector<std::string>& Items = Lines.Items();
  const int Count = Lines.Count();
  long long Total = 0;
  // Only records that ReadDurodu would hand out are counted (see the top of this file).
  for (int Line = 0; Line + 2 < Count;) {
    Line += 2;
    long long Length = 0;
    while (Line < Count && Items[Line] != MarkEnd) {
      Length += static_cast<long long>(Items[Line].size());
      ++Line;
      // A line break counts two characters, also under LinuxFormat where a read puts one.
      if (Line < Count && Items[Line] != MarkEnd && !SingleLine) Length += 2;
    }
    Total += SizeOfLength(Length);
    ++Line;  // past the end line
  }
  return Total > INT_MAX ? INT_MAX : static_cast<int>(Total);
}

void TTextObject::SetDuroduPos(int Index) {
  const std::vector<std::string>& Items = Lines.Items();
  const int Count = Lines.Count();
  // The seek works on locals and commits them only where the record is reached or the end of
  // Lines stops it; a seek that would look before line 0 (an empty list, a record number
  // below 0, no separator at or before the current line) changes nothing.
  int Line = ClampedLinePos(LinePos, Count);
  long long Current = Position;
  if (Line >= Count) {  // standing after the last record
    --Line;
    --Current;
  }
  long long Distance = static_cast<long long>(Index) - Current;
  int Direction = 1;
  if (Distance < 0) {
    Direction = -1;
    Distance = -Distance;
  }
  auto IsSeparator = [&](int I) { return Items[static_cast<std::size_t>(I)] == MarkSeparator; };
  while (Line >= 0 && !IsSeparator(Line)) --Line;
  if (Line < 0) return;
  for (long long Step = 0; Step < Distance; ++Step) {
    do {
      Line += Direction;
      if (Line >= Count) {  // beyond the last record: stop at the end, Position unchanged
        LinePos = Count;
        return;
      }
      if (Line < 0) return;
    } while (!IsSeparator(Line));
  }
  LinePos = Line;
  Position = Index;
}

std::string TTextObject::ClearString(std::string_view Text) const {
  std::string Out;
  Out.reserve(Text.size());
  for (char C : Text)
    if (C != ' ') Out += C;
  return Out;
}

std::string TTextObject::EraseSpace(std::string_view Text) const {
  if (!ClearBounds) return std::string(Text);
  std::size_t First = Text.find_first_not_of(" \t");
  if (First == std::string_view::npos) return {};
  std::size_t Last = Text.find_last_not_of(" \t");
  return std::string(Text.substr(First, Last - First + 1));
}
