#pragma once
// An ordered list of 8-bit text lines, loaded from and saved to text files.
//
// Reading: a line ends at CR LF, LF alone or CR alone; a final line without a line end is a
// line; a line end at the very end adds no empty line; empty lines are kept. Every byte,
// NUL included, is kept as it is.
// Writing: every line is followed by CR LF, the last one too; an empty list gives 0 bytes.

#include <string>
#include <string_view>
#include <vector>

class TStringList {
 public:
  // Replaces the lines by those of the file. Throws EFOpenError with the path.
  void LoadFromFile(const std::string& Path);
  // Replaces the lines by those of a text held in memory.
  void SetText(std::string_view Text);
  // Writes the lines through a temporary file. Throws EFCreateError with the path.
  void SaveToFile(const std::string& Path) const;
  std::string Text() const;

  // Line Index; throws EStringListError ("List index out of bounds (%d)") outside the list.
  const std::string& Get(long long Index) const;
  void Put(long long Index, std::string Line);
  void Add(std::string Line) { Lines.push_back(std::move(Line)); }
  void Insert(long long Index, std::string Line);
  void Delete(long long Index);
  void Clear() { Lines.clear(); }
  int Count() const { return static_cast<int>(Lines.size()); }
  bool Empty() const { return Lines.empty(); }

  const std::string& operator[](std::size_t Index) const { return Lines[Index]; }
  std::vector<std::string>& Items() { return Lines; }
  const std::vector<std::string>& Items() const { return Lines; }

 private:
  std::vector<std::string> Lines;
};

// Splits a text into lines by the rules above.
std::vector<std::string> SplitLines(std::string_view Text);
