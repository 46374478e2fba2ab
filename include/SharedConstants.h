#pragma once
// Names shared by the window, the directory dialog, the handlers and the text object:
// the source format codes, the format table, the result log's line keywords and the
// text object's marker texts.

#include <cstdint>
#include <string_view>

// The format of the sources in the list (one byte, as stored in the window's state).
enum TSourceFormat : std::uint8_t {
  sfNone = 0,            // nothing chosen yet
  sfImageList = 1,       // image resource lists, *.irl
  sfItemComparator = 2,  // item comparators, *.itm
  sfLog = 3,             // result logs, *.log
  sfProjectList = 4,     // project lists, *.lst (each line a result log)
  sfUnknown = 5,         // replay only: no recognised "#Format:" seen yet
};

// One entry of the format table. Entry k is filter index k + 1 of the Add dialog and
// type choice k of the directory dialog; the last two codes run against the entry order.
struct TFormatEntry {
  std::string_view Name;
  TSourceFormat Code;
};

inline constexpr TFormatEntry FormatTable[4] = {
    {"IRL", sfImageList},
    {"ITM", sfItemComparator},
    {"", sfProjectList},
    {"", sfLog},
};

// Result log keywords, compared case-sensitively with the first word of a line.
inline constexpr std::string_view KeyFormat = "#Format:";
inline constexpr std::string_view KeySource = "#Source:";
inline constexpr std::string_view KeyTarget = "#Target";

// The Add dialog's filter: description | pattern pairs in format table order.
inline constexpr std::string_view SourceFilter =
    "Image Resource Lists (*.irl)|*.irl|Item Comparator (*.itm)|*.itm|"
    "Project list files (*.lst)|*.lst|Log files (*.log)|*.log";

// Marker texts of the text object.
inline constexpr std::string_view MarkOutOfText = "#OUT_OF_TEXT#";
inline constexpr std::string_view MarkNoText = "#NO_TEXT#";
inline constexpr std::string_view MarkSeparator = "_______________________________";
inline constexpr std::string_view MarkHeader = "#H#E#A#D#E#R#";
inline constexpr std::string_view MarkEnd = "#E#N#D#";
inline constexpr std::uint8_t ByteTable[3] = {0, 1, 2};

// Code from a filter index (1..4) or type choice (0..3); sfNone when out of range.
constexpr TSourceFormat CodeFromFilterIndex(int FilterIndex) {
  return FilterIndex >= 1 && FilterIndex <= 4 ? FormatTable[FilterIndex - 1].Code : sfNone;
}
constexpr TSourceFormat CodeFromTypeChoice(int Choice) { return CodeFromFilterIndex(Choice + 1); }

// Name for a "#Format:" line; empty for logs, project lists and anything else.
constexpr std::string_view FormatName(TSourceFormat Code) {
  for (const TFormatEntry& Entry : FormatTable)
    if (Entry.Code == Code) return Entry.Name;
  return {};
}

// Code from a "#Format:" word: exact, case-sensitive; sfUnknown when nothing matches.
constexpr TSourceFormat CodeFromName(std::string_view Word) {
  if (Word.empty()) return sfUnknown;
  for (const TFormatEntry& Entry : FormatTable)
    if (Entry.Name == Word) return Entry.Code;
  return sfUnknown;
}
