#include "app/core/BatchRun.h"

#include "app/core/Replay.h"
#include "formats/FormatHandlers.h"
#include "platform/Files.h"
#include "platform/StringList.h"

TBatchRun::TBatchRun(TRunContext& Run) : Run(Run) {
  ProcessSource = [this](TSourceFormat Format, const std::string& Path) {
    DispatchSource(Format, Path);
  };
}

void TBatchRun::Execute(TSourceList& List) {
  if (List.Entries.empty() || IsRunning) return;
  struct TRunningFlag {
    bool& Flag;
    explicit TRunningFlag(bool& F) : Flag(F) { Flag = true; }
    ~TRunningFlag() { Flag = false; }
  } Guard(IsRunning);
  TRunView& View = *Run.View;

  Run.Results.clear();
  View.ClearResults();
  Run.ResultList.Clear();
  Run.OutputDir = GetCurrentDir();
  Run.BeginRun();

  std::string Chosen = Run.OutputDir;
  if (View.ChooseOutputDir(Chosen)) {
    // Made absolute before it becomes the current directory: the handlers build their paths
    // and log entries from it.
    Run.OutputDir = ExpandFileName(Chosen);
    SetCurrentDir(Run.OutputDir);
    Run.TotalPosition = 0;
    View.SetTotal(0, 100);

    int Done = 0;
    bool Stopped = false;
    for (int I = 0; I < List.Count(); ++I) {
      Run.ResultList.Add(std::string(KeyFormat) + " " + std::string(FormatName(List.SourceFormat)));
      Run.ResultList.Add(std::string(KeySource) + " " + List.Entries[static_cast<std::size_t>(I)]);
      ProcessSource(List.SourceFormat, List.Entries[static_cast<std::size_t>(I)]);
      if (!Run.CutShort.empty()) {
        Stopped = true;
        break;
      }
      ++Done;
      int N = List.Count();
      Run.TotalPosition = N > 0 ? static_cast<int>(static_cast<long long>(I) * 100 / N) : 0;
      View.SetTotal(Run.TotalPosition, 100);
      View.ProcessMessages();
      if (Run.StopRequested && Done < List.Count()) {
        Stopped = true;
        break;
      }
    }

    View.SetCurrentMessage("");
    View.SetExtracted("");
    Run.ProgressPosition = Run.TotalPosition = 0;
    View.SetProgress(0);
    View.SetTotal(0, 100);
    const bool Replaying = List.SourceFormat == sfLog || List.SourceFormat == sfProjectList;
    if (Stopped)
      Run.AddResult("Stopped: " + std::to_string(Done) + " of " + std::to_string(List.Count()) +
                    " sources done" + (Run.CutShort.empty() ? "" : "; replayed " + Run.CutShort) +
                    ".");
    if (Run.BytesExtracted != 0)
      Run.AddResult("Total " + std::to_string(Run.BytesExtracted) +
                    (Replaying ? " bytes written back." : " bytes extracted."));
    if (!Run.Results.empty()) View.SetSaveResultsEnabled(true);

    if (!Run.ResultList.Empty() && !Replaying)
      Run.ResultList.SaveToFile(JoinPath(Run.OutputDir, "result.log"));
  }
  View.ShowMessage("Operation complete!", "Process status:");
}

void TBatchRun::DispatchSource(TSourceFormat Format, const std::string& Path) {
  TRunView& View = *Run.View;
  View.FocusResults();
  View.SetSaveResultsEnabled(false);
  View.SetStopEnabled(true);
  switch (Format) {
    case sfImageList:
      ExtractImageList(Run, Path);
      break;
    case sfItemComparator:
      ExtractItemComparator(Run, Path);
      break;
    case sfLog:
    case sfProjectList:
      ReplayLog(Run, Path);
      break;
    default:
      break;
  }
  View.SetStopEnabled(false);
  if (!Run.Results.empty()) View.SetSaveResultsEnabled(true);
}

void TBatchRun::Stop() {
  Run.View->SetStopEnabled(false);
  Run.StopRequested = true;
}

void TBatchRun::SaveResults(const std::string& Path) {
  TStringList Lines;
  Lines.Items() = Run.Results;
  Lines.SaveToFile(Path);
  Run.View->SetSaveResultsEnabled(false);
}
