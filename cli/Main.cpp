// brindlecast-cli: the batch run and the replay without a window.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/core/BatchRun.h"
#include "app/core/DirScan.h"
#include "app/core/SourceList.h"
#include "cli/ConsoleView.h"
#include "cli/GatherCommand.h"
#include "cli/TgaCommand.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/StringList.h"

namespace {
const char Usage[] =
    "Usage:\n"
    "  brindlecast-cli extract [-o OUTDIR] [--scan DIR [--type irl|itm]] SOURCE...\n"
    "      Extract image resource lists (*.irl) or item comparators (*.itm) into OUTDIR\n"
    "      (default: the current directory) and write OUTDIR/result.log. All sources must\n"
    "      be of one format. --scan DIR adds every *.irl and *.itm file under DIR (or only\n"
    "      those of --type), in the order the window's Process Directory lists them.\n"
    "  brindlecast-cli replay [-o DIR] [--scan DIR] LOG_OR_PROJECT_LIST...\n"
    "      Replay result logs (*.log) and project lists (*.lst: each line a result log),\n"
    "      writing the edited files back into the game's files. Relative paths inside item\n"
    "      comparators resolve against DIR (default: the current directory). --scan DIR\n"
    "      adds every *.log file under DIR.\n"
    "  brindlecast-cli gather --type irl|itm|lst|log DIR\n"
    "      Print every source of that type under DIR, one path per line, in the window's\n"
    "      order (subdirectories first, names in byte order, hidden directories skipped).\n"
    "  brindlecast-cli tga info FILE\n"
    "      Show a TGA file's header fields and whether it has a footer.\n"
    "  brindlecast-cli tga swap-rb IN OUT\n"
    "      Load a TGA file, exchange red and blue in every pixel, save it as OUT.\n"
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

// The parsed words of extract and replay.
struct TRunArgs {
  std::string OutputDir;
  std::vector<std::string> Sources;  // absolute
  std::vector<std::string> ScanDirs;
  std::string Type;  // --type, for --scan
};

// Splits the options off the arguments; the rest are sources made absolute.
bool ParseArgs(const std::vector<std::string>& Args, TRunArgs& Out, std::string& Error) {
  Out.OutputDir = GetCurrentDir();
  for (std::size_t I = 0; I < Args.size(); ++I) {
    const std::string& Arg = Args[I];
    bool Valued = Arg == "-o" || Arg == "--output" || Arg == "--scan" || Arg == "--type";
    if (Valued && I + 1 >= Args.size()) {
      Error = Arg + " needs a value";
      return false;
    }
    if (Arg == "-o" || Arg == "--output") {
      Out.OutputDir = ExpandFileName(Args[++I]);
    } else if (Arg == "--scan") {
      Out.ScanDirs.push_back(ExpandFileName(Args[++I]));
    } else if (Arg == "--type") {
      Out.Type = Lower(Args[++I]);
    } else if (Arg.size() > 1 && Arg[0] == '-') {
      Error = "unknown option " + Arg;
      return false;
    } else {
      Out.Sources.push_back(ExpandFileName(Arg));
    }
  }
  return true;
}

// Adds what --scan finds for the given type names.
bool AddScanned(TRunArgs& Args, const std::vector<std::string>& Types, std::string& Error) {
  for (const std::string& Dir : Args.ScanDirs) {
    if (!DirectoryExists(Dir)) {
      Error = "cannot scan " + Dir + ": no such directory";
      return false;
    }
    for (const std::string& Type : Types) {
      std::vector<std::string> Found = GatherSources(Dir, TypeChoiceFromName(Type)).Paths;
      Args.Sources.insert(Args.Sources.end(), Found.begin(), Found.end());
    }
  }
  return true;
}

int Extract(const std::vector<std::string>& Words) {
  TRunArgs Args;
  std::string Error;
  if (!ParseArgs(Words, Args, Error)) return UsageError(Error);
  if (!Args.Type.empty() && Args.Type != "irl" && Args.Type != "itm")
    return UsageError("--type for extract is irl or itm");
  if (!AddScanned(Args,
                  Args.Type.empty() ? std::vector<std::string>{"irl", "itm"}
                                    : std::vector<std::string>{Args.Type},
                  Error))
    return UsageError(Error);
  if (Args.Sources.empty()) return Args.ScanDirs.empty() ? UsageError("no source given") : 0;
  TSourceList List;
  List.Entries = Args.Sources;
  for (const std::string& Source : List.Entries) {
    std::string Ext = Extension(Source);
    TSourceFormat Format = Ext == ".irl" ? sfImageList : Ext == ".itm" ? sfItemComparator : sfNone;
    if (Format == sfNone)
      return UsageError(Source +
                        " is neither an image resource list (.irl) nor an item comparator (.itm)");
    if (List.SourceFormat != sfNone && List.SourceFormat != Format)
      return UsageError(
          "mixed formats: image resource lists and item comparators go in separate runs"
          " (use --type with --scan)");
    List.SourceFormat = Format;
  }
  return RunBatch(List, Args.OutputDir);
}

int Replay(const std::vector<std::string>& Words) {
  TRunArgs Args;
  std::string Error;
  if (!ParseArgs(Words, Args, Error)) return UsageError(Error);
  if (!AddScanned(Args, {"log"}, Error)) return UsageError(Error);
  if (Args.Sources.empty()) return Args.ScanDirs.empty() ? UsageError("no source given") : 0;
  TSourceList List;
  List.SourceFormat = sfLog;
  for (const std::string& Source : Args.Sources) {
    if (Extension(Source) == ".lst") {
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
  return RunBatch(List, Args.OutputDir);
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
  if (Command == "gather") return RunGatherCommand(Args);
  if (Command == "tga") return RunTgaCommand(Args);
  return UsageError("unknown command " + Command);
}
