#include "app/core/Replay.h"

#include "formats/FormatHandlers.h"
#include "platform/Files.h"

namespace {
bool IsBlank(char C) {
  return C == ' ' || C == '\t' || C == '\v' || C == '\f' || C == '\r' || C == '\n';
}

void ShowProcessing(TRunContext& Run, const std::string& Path) {
  Run.View->SetCurrentMessage("Processing " + ExtractFileName(Path) + "...");
}
}  // namespace

std::string_view FirstWord(std::string_view Line, std::size_t* WordStart) {
  std::size_t Start = 0;
  while (Start < Line.size() && IsBlank(Line[Start])) ++Start;
  std::size_t End = Start;
  while (End < Line.size() && !IsBlank(Line[End])) ++End;
  if (WordStart) *WordStart = Start;
  return Line.substr(Start, End - Start);
}

void ReplayLog(TRunContext& Run, const std::string& Path) {
  TRunView& View = *Run.View;
  Run.ReplayList.Clear();
  Run.ReplayList.LoadFromFile(Path);
  ShowProcessing(Run, Path);
  Run.TotalPosition = 0;
  View.SetTotal(0, 100);
  Run.ReplayFormat = sfUnknown;

  for (int I = 0; I < Run.ReplayList.Count();) {
    ShowProcessing(Run, Path);
    int Lines = Run.ReplayList.Count();
    Run.TotalPosition =
        Lines > 1 ? static_cast<int>(static_cast<long long>(I) * 100 / (Lines - 1)) : 0;
    View.SetTotal(Run.TotalPosition, 100);

    int Next = I + 1;
    const std::string& Line = Run.ReplayList.Get(I);
    std::size_t Start = 0;
    std::string_view Word = FirstWord(Line, &Start);
    if (!Word.empty() && (Word == KeyFormat || Word == KeySource || Word == KeyTarget)) {
      // Drop the keyword and the one character after it; keep the rest exactly.
      std::size_t Cut = std::min(Line.size(), Start + Word.size() + 1);
      std::string Key(Word);
      Run.ReplayList.Put(I, Line.substr(Cut));
      const std::string& Value = Run.ReplayList.Get(I);
      if (Key == KeyFormat) {
        Run.ReplayFormat = CodeFromName(FirstWord(Value));
      } else if (Key == KeySource) {
        std::string Source = Value;
        Run.ReleaseTarget();
        if (FileExists(Source)) {
          Run.TargetStream = std::make_unique<TFileStream>(Source, fmOpenReadWriteExclusive);
          Run.TargetPath = Source;
          ShowProcessing(Run, Source);
          if (Run.ReplayFormat == sfImageList)
            Next = InsertImageList(Run, I + 1);
          else if (Run.ReplayFormat == sfItemComparator)
            Next = InsertItemComparator(Run, I + 1);
        }
      }
    }
    Run.ReleaseTarget();
    if (Run.ProgressPosition < 100) {
      ++Run.ProgressPosition;
      View.SetProgress(Run.ProgressPosition);
    }
    View.ProcessMessages();
    I = std::max(Next, I + 1);
    if (Run.StopRequested && I < Run.ReplayList.Count()) {
      Run.CutShort = ExtractFileName(Path) + " up to line " + std::to_string(I) + " of " +
                     std::to_string(Run.ReplayList.Count());
      break;
    }
  }
}
