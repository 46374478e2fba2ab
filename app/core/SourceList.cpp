#include "app/core/SourceList.h"

#include <algorithm>

#include "platform/StringList.h"

void TSourceList::BeginAdd() {
  if (ListGathered) {
    Entries.clear();
    Current = -1;
    ListGathered = false;
  }
  Buttons.Remove = Buttons.Process = Buttons.SaveList = false;
}

void TSourceList::FinishAdd(const TAddChoice* Choice) {
  if (Choice) {
    TSourceFormat Code = CodeFromFilterIndex(Choice->FilterIndex);
    if (Code != SourceFormat) {
      Entries.clear();
      Current = -1;
    }
    SourceFormat = Code;
    if (Code == sfProjectList) {
      // The list is replaced only once the file has been read: a failed read keeps it.
      TStringList Lines;
      if (!Choice->Files.empty()) Lines.LoadFromFile(Choice->Files.front());
      Entries = std::move(Lines.Items());
      Current = -1;
    } else {
      Entries.insert(Entries.end(), Choice->Files.begin(), Choice->Files.end());
    }
  }
  EnableListButtonsIfFilled();
}

void TSourceList::Remove(const std::vector<int>& Selected) {
  std::vector<bool> Drop(Entries.size(), false);
  for (int Index : Selected)
    if (Index >= 0 && Index < Count()) Drop[static_cast<std::size_t>(Index)] = true;
  std::vector<std::string> Kept;
  Kept.reserve(Entries.size());
  for (std::size_t I = 0; I < Entries.size(); ++I)
    if (!Drop[I]) Kept.push_back(std::move(Entries[I]));
  Entries = std::move(Kept);
  if (!Entries.empty()) {
    Current = Count() - 1;
  } else {
    Current = -1;
    Buttons = {};
  }
}

void TSourceList::ClearAll() {
  Entries.clear();
  Current = -1;
  Buttons = {};
}

void TSourceList::SaveList(const std::string& Path) const {
  TStringList Lines;
  Lines.Items() = Entries;
  Lines.SaveToFile(Path);
}

void TSourceList::BeginGather() { Buttons.Remove = Buttons.Process = Buttons.SaveList = false; }

void TSourceList::FinishGather(const std::vector<std::string>* Found, TSourceFormat Format) {
  if (Found) {
    Entries = *Found;
    Current = -1;
    SourceFormat = Format;
    ListGathered = !Entries.empty();
  }
  EnableListButtonsIfFilled();
}

void TSourceList::EnableListButtonsIfFilled() {
  if (!Entries.empty()) Buttons = {true, true, true, true};
}
