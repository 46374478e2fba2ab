#include "cli/GatherCommand.h"

#include <cstdio>
#include <iostream>

#include "app/core/DirScan.h"

namespace {
constexpr const char* GatherUsage = "usage: brindlecast-cli gather --type irl|itm|lst|log DIR\n";

int UsageError(const std::string& Problem) {
  std::cerr << "brindlecast-cli gather: " << Problem << "\n" << GatherUsage;
  return 2;
}
}  // namespace

int RunGatherCommand(const std::vector<std::string>& Args) {
  int TypeChoice = -1;
  bool TypeGiven = false;
  std::vector<std::string> Dirs;
  for (std::size_t I = 0; I < Args.size(); ++I) {
    const std::string& Arg = Args[I];
    if (Arg == "-h" || Arg == "--help") {
      std::cout << GatherUsage;
      return 0;
    }
    std::string TypeName;
    if (Arg == "--type") {
      if (I + 1 >= Args.size()) return UsageError("--type needs a value");
      TypeName = Args[++I];
    } else if (Arg.rfind("--type=", 0) == 0) {
      TypeName = Arg.substr(7);
    } else if (Arg == "--") {
      Dirs.insert(Dirs.end(), Args.begin() + static_cast<std::ptrdiff_t>(I) + 1, Args.end());
      break;
    } else if (Arg.size() > 1 && Arg[0] == '-') {
      return UsageError("unknown option " + Arg);
    } else {
      Dirs.push_back(Arg);
      continue;
    }
    if (TypeGiven) return UsageError("--type given twice");
    TypeGiven = true;
    TypeChoice = TypeChoiceFromName(TypeName);
    if (TypeChoice < 0) return UsageError("unknown type \"" + TypeName + "\"");
  }
  if (!TypeGiven) return UsageError("--type is required");
  if (Dirs.size() != 1)
    return UsageError(Dirs.empty() ? "no directory given" : "more than one directory given");
  if (Dirs[0].empty()) return UsageError("empty directory name");

  TGatherResult Result = GatherSources(Dirs[0], TypeChoice);
  for (const std::string& Path : Result.Paths) std::cout << Path << '\n';
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "brindlecast-cli gather: cannot write the list\n";
    return 1;
  }
  return 0;
}
