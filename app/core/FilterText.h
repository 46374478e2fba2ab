#pragma once
// The filter text of the file dialogs: description and pattern pairs, every part separated
// by "|" ("Item Comparator (*.itm)|*.itm|Log files (*.log)|*.log"), no "|" after the last
// pattern. The directory dialog lists the descriptions and scans with the chosen pattern.

#include <string>
#include <string_view>
#include <vector>

struct TFilterPair {
  std::string Description;
  std::string Pattern;
};

// The pairs in order. A description with no "|" after it (the text ends first) gives a pair
// with an empty pattern; an empty text gives no pairs.
std::vector<TFilterPair> SplitFilterPairs(std::string_view FilterText);

// The pattern of pair Index (from 0); empty when there is no such pair.
std::string FilterPattern(std::string_view FilterText, int Index);
