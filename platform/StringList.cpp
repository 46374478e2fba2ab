#include "platform/StringList.h"

#include <cstring>

#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Streams.h"

std::vector<std::string> SplitLines(std::string_view Text) {
  std::vector<std::string> Lines;
  const char* P = Text.data();
  const char* End = P + Text.size();
  while (P < End) {
    // One pass to the first CR or LF: the text is read once whatever its line ends.
    const char* Stop = P;
    while (Stop < End && *Stop != '\n' && *Stop != '\r') ++Stop;
    Lines.emplace_back(P, Stop);
    if (Stop == End) break;
    P = Stop + 1;
    if (*Stop == '\r' && P < End && *P == '\n') ++P;
  }
  return Lines;
}

void TStringList::LoadFromFile(const std::string& Path) { Lines = SplitLines(ReadWholeFile(Path)); }

void TStringList::SetText(std::string_view Text) { Lines = SplitLines(Text); }

std::string TStringList::Text() const {
  std::size_t Size = 0;
  for (const std::string& Line : Lines) Size += Line.size() + 2;
  std::string Out;
  Out.reserve(Size);
  for (const std::string& Line : Lines) {
    Out += Line;
    Out += "\r\n";
  }
  return Out;
}

void TStringList::SaveToFile(const std::string& Path) const {
  TFileWriter Writer(Path);
  for (const std::string& Line : Lines) {
    Writer.Write(Line.data(), Line.size());
    Writer.Write("\r\n", 2);
  }
  Writer.Commit();
}

const std::string& TStringList::Get(long long Index) const {
  if (Index < 0 || Index >= Count()) throw EStringListError(Index);
  return Lines[static_cast<std::size_t>(Index)];
}

void TStringList::Put(long long Index, std::string Line) {
  if (Index < 0 || Index >= Count()) throw EStringListError(Index);
  Lines[static_cast<std::size_t>(Index)] = std::move(Line);
}

void TStringList::Insert(long long Index, std::string Line) {
  if (Index < 0 || Index > Count()) throw EStringListError(Index);
  Lines.insert(Lines.begin() + Index, std::move(Line));
}

void TStringList::Delete(long long Index) {
  if (Index < 0 || Index >= Count()) throw EStringListError(Index);
  Lines.erase(Lines.begin() + Index);
}
