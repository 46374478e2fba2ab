#include "app/core/FilterText.h"

namespace {
// The text from Pos up to the next "|" or the end; Pos moves past that "|".
std::string_view NextPart(std::string_view Text, std::size_t& Pos) {
  std::size_t Bar = Text.find('|', Pos);
  std::size_t End = Bar == std::string_view::npos ? Text.size() : Bar;
  std::string_view Part = Text.substr(Pos, End - Pos);
  Pos = Bar == std::string_view::npos ? Text.size() : Bar + 1;
  return Part;
}
}  // namespace

std::vector<TFilterPair> SplitFilterPairs(std::string_view FilterText) {
  std::vector<TFilterPair> Pairs;
  std::size_t Pos = 0;
  while (Pos < FilterText.size()) {
    TFilterPair Pair;
    Pair.Description = NextPart(FilterText, Pos);
    Pair.Pattern = NextPart(FilterText, Pos);
    Pairs.push_back(std::move(Pair));
  }
  return Pairs;
}

std::string FilterPattern(std::string_view FilterText, int Index) {
  if (Index < 0) return {};
  std::size_t Pos = 0;
  for (int Pair = 0; Pos < FilterText.size(); ++Pair) {
    NextPart(FilterText, Pos);
    std::string_view Pattern = NextPart(FilterText, Pos);
    if (Pair == Index) return std::string(Pattern);
  }
  return {};
}
