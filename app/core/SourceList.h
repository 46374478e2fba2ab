#pragma once
// The source list of the main window: full paths of one format, the list buttons' enabling,
// and the project list file (*.lst: one entry per line, nothing else).
// Every action takes the dialog's outcome as input, so it runs without a window.

#include <string>
#include <vector>

#include "include/SharedConstants.h"

// The four list buttons; Add, Process Directory and Exit are always enabled.
struct TListButtons {
  bool ClearAll = false;
  bool Remove = false;
  bool Process = false;
  bool SaveList = false;
  bool operator==(const TListButtons&) const = default;
};

// What the Add dialog returned.
struct TAddChoice {
  int FilterIndex = 1;             // 1..4, the chosen filter
  std::vector<std::string> Files;  // full paths, in the dialog's order
};

class TSourceList {
 public:
  std::vector<std::string> Entries;
  TSourceFormat SourceFormat = sfNone;
  // The list holds what a directory gathering put there; the next Add empties it.
  bool ListGathered = false;
  // The focus mark: an entry index, or -1 for none.
  int Current = -1;
  TListButtons Buttons;

  // Add, before its dialog opens: empties a gathered list and disables Remove, Process and
  // Save list.
  void BeginAdd();
  // Add, after its dialog: Choice is null when the user cancelled. A project list replaces
  // the list by the lines of the first chosen file. Throws EFOpenError when it cannot be read
  // (the list is then already emptied when the format changed, as the format is set first).
  void FinishAdd(const TAddChoice* Choice);
  // Deletes the entries whose indexes are in Selected; the last remaining entry becomes current.
  void Remove(const std::vector<int>& Selected);
  void ClearAll();
  // Writes the entries as a project list. Throws EFCreateError.
  void SaveList(const std::string& Path) const;
  // Process Directory, before its dialog: disables Remove, Process and Save list.
  void BeginGather();
  // Process Directory, after its dialog: Found is null when the user cancelled.
  void FinishGather(const std::vector<std::string>* Found, TSourceFormat Format);

  int Count() const { return static_cast<int>(Entries.size()); }

 private:
  void EnableListButtonsIfFilled();
};
