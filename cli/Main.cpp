// brindlecast-cli: the batch run and the replay without a window.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/core/BatchRun.h"
#include "app/core/SourceList.h"
#include "cli/ConsoleView.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/StringList.h"

namespace {
const char Usage[] =
    "Usage:\n"
    "  brindlecast-cli extract [-o OUTDIR] SOURCE...\n"
    "      Extract image resource lists (*.irl) or item comparators (*.itm) into OUTDIR\n"
    "      (default: the current directory) and write OUTDIR/result.log. All sources must\n"
    "      be of one format.\n"
    "  brindlecast-cli replay [-o DIR] LOG_OR_PROJECT_LIST...\n"
    "      Replay result logs (*.log) and project lists (*.lst: each line a result log),\n"
    "      writing the edited files back into the game's files. Relative paths inside item\n"
    "      comparators resolve against DIR (default: the current directory).\n"
    "  brindlecast-cli --help\n"
    "\n"
    "Relative paths on the command line are made absolute first. Results go to standard\n"
    "output, errors to standard error. Ctrl-C stops after the source in progress; the\n"
    "result log of the sources done is still written.\n"
    "Exit status: 0 done, 1 a source failed or the run was stopped, 2 wrong usage.\n";

std::string Lower(std::string Text) {
  for (char& C : Text)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Text;
}

std::string Extension(const std::string& Path) {
  std::string Name = ExtractFileName(Path);
  std::size_t Dot = Name.rfind('.');
  return Dot == std::string::npos ? std::string() : Lower(Name.substr(Dot));
}

int UsageError(const std::string& Message) {
  std::fprintf(stderr, "brindlecast-cli: %s\n(see brindlecast-cli --help)\n", Message.c_str());
  return 2;
}

// Runs the list through the batch run with a console face.
int RunBatch(TSourceList& List, const std::string& OutputDir) {
  TConsoleView View(OutputDir);
  TRunContext Run(View);
  View.Attach(Run);
  TBatchRun Batch(Run);
  try {
    Batch.Execute(List);
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "brindlecast-cli: %s\n", Error.what());
    return 1;
  }
  return Run.StopRequested ? 1 : 0;
}

// Splits "-o DIR" off the arguments; the rest are sources made absolute.
bool ParseArgs(const std::vector<std::string>& Args, std::string& OutputDir,
               std::vector<std::string>& Sources, std::string& Error) {
  OutputDir = GetCurrentDir();
  for (std::size_t I = 0; I < Args.size(); ++I) {
    if (Args[I] == "-o" || Args[I] == "--output") {
      if (I + 1 >= Args.size()) {
        Error = "-o needs a directory";
        return false;
      }
      OutputDir = ExpandFileName(Args[++I]);
    } else if (Args[I].size() > 1 && Args[I][0] == '-') {
      Error = "unknown option " + Args[I];
      return false;
    } else {
      Sources.push_back(ExpandFileName(Args[I]));
    }
  }
  if (Sources.empty()) {
    Error = "no source given";
    return false;
  }
  return true;
}

int Extract(const std::vector<std::string>& Args) {
  std::string OutputDir, Error;
  TSourceList List;
  if (!ParseArgs(Args, OutputDir, List.Entries, Error)) return UsageError(Error);
  for (const std::string& Source : List.Entries) {
    std::string Ext = Extension(Source);
    TSourceFormat Format = Ext == ".irl" ? sfImageList : Ext == ".itm" ? sfItemComparator : sfNone;
    if (Format == sfNone)
      return UsageError(Source + " is neither an image resource list (.irl) nor an item comparator (.itm)");
    if (List.SourceFormat != sfNone && List.SourceFormat != Format)
      return UsageError("mixed formats: image resource lists and item comparators go in separate runs");
    List.SourceFormat = Format;
  }
  return RunBatch(List, OutputDir);
}

int Replay(const std::vector<std::string>& Args) {
  std::string OutputDir, Error;
  std::vector<std::string> Sources;
  if (!ParseArgs(Args, OutputDir, Sources, Error)) return UsageError(Error);
  TSourceList List;
  List.SourceFormat = sfLog;
  for (const std::string& Source : Sources) {
    std::string Ext = Extension(Source);
    if (Ext == ".lst") {
      // A project list's lines are result logs, used as the list holds them.
      TStringList Lines;
      try {
        Lines.LoadFromFile(Source);
      } catch (const std::exception& Failure) {
        std::fprintf(stderr, "brindlecast-cli: %s\n", Failure.what());
        return 1;
      }
      List.Entries.insert(List.Entries.end(), Lines.Items().begin(), Lines.Items().end());
    } else {
      List.Entries.push_back(Source);
    }
  }
  if (List.Entries.empty()) return 0;
  return RunBatch(List, OutputDir);
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> Args(argv + 1, argv + argc);
  if (Args.empty()) return UsageError("no command given");
  std::string Command = Args.front();
  Args.erase(Args.begin());
  if (Command == "--help" || Command == "-h" || Command == "help") {
    std::fputs(Usage, stdout);
    return 0;
  }
  if (Command == "extract") return Extract(Args);
  if (Command == "replay") return Replay(Args);
  return UsageError("unknown command " + Command);
}
