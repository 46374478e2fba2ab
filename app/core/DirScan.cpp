#include "app/core/DirScan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <utility>

#include "app/core/FilterText.h"
#include "platform/Files.h"

namespace {

// One directory of the walk: what it holds, read once when it is entered.
struct TScanFrame {
  std::string Path;
  std::vector<std::string> SubDirs;  // names to enter, in name order
  std::vector<std::string> Matches;  // names that match the mask, in name order
  std::size_t Next = 0;              // the next entry of SubDirs to enter
};

struct TEntry {
  std::string Name;
  bool IsDir;
};

class TScanner {
 public:
  TScanner(std::string_view Mask, std::vector<std::string>& Found, const TScanProgress& Progress)
      : Mask(Mask), Found(Found), Progress(Progress) {}

  void Run(const std::string& Root) {
    std::vector<TScanFrame> Stack;
    TScanFrame First;
    if (!ReadDirectory(Root, First)) return;
    Stack.push_back(std::move(First));
    while (!Stack.empty()) {
      TScanFrame& Top = Stack.back();
      if (Top.Next < Top.SubDirs.size()) {
        TScanFrame Child;
        if (ReadDirectory(JoinPath(Top.Path, Top.SubDirs[Top.Next++]), Child))
          Stack.push_back(std::move(Child));
        continue;
      }
      // Every subdirectory is done: the directory's own matches follow them.
      for (const std::string& Name : Top.Matches) Found.push_back(JoinPath(Top.Path, Name));
      Stack.pop_back();
    }
  }

 private:
  std::string_view Mask;
  std::vector<std::string>& Found;
  const TScanProgress& Progress;
  // Directories already entered, by device and inode.
  std::set<std::pair<dev_t, ino_t>> Visited;
  int EntriesRead = 0;
  int MatchesSeen = 0;

  // Reads Path into Frame. False when it cannot be read or was scanned before.
  bool ReadDirectory(std::string Path, TScanFrame& Frame) {
    DIR* Dir = ::opendir(Path.c_str());
    if (!Dir) return false;
    int Fd = ::dirfd(Dir);
    struct stat St;
    if (::fstat(Fd, &St) != 0 || !Visited.insert({St.st_dev, St.st_ino}).second) {
      ::closedir(Dir);
      return false;
    }
    std::vector<TEntry> Entries;
    while (const dirent* Ent = ::readdir(Dir)) {
      const char* Name = Ent->d_name;
      if (Name[0] == '.' && (Name[1] == 0 || (Name[1] == '.' && Name[2] == 0))) continue;
      bool IsDir = false;
      // Hidden directories are never entered, so only visible names need their kind.
      if (Name[0] != '.') {
        if (Ent->d_type == DT_DIR)
          IsDir = true;
        else if (Ent->d_type == DT_LNK || Ent->d_type == DT_UNKNOWN)
          IsDir = ::fstatat(Fd, Name, &St, 0) == 0 && S_ISDIR(St.st_mode);  // follows links
      }
      Entries.push_back({Name, IsDir});
      if (++EntriesRead % ScanProgressEvery == 0 && Progress) Progress(MatchesSeen);
    }
    ::closedir(Dir);

    std::sort(Entries.begin(), Entries.end(),
              [](const TEntry& A, const TEntry& B) { return A.Name < B.Name; });
    Frame.Path = std::move(Path);
    for (TEntry& Entry : Entries) {
      if (MatchesMask(Entry.Name, Mask)) {
        Frame.Matches.push_back(Entry.Name);
        ++MatchesSeen;
      }
      if (Entry.IsDir) Frame.SubDirs.push_back(std::move(Entry.Name));
    }
    return true;
  }
};

}  // namespace

void ScanDirectory(const std::string& Root, std::string_view Mask, std::vector<std::string>& Found,
                   const TScanProgress& Progress) {
  TScanner(Mask, Found, Progress).Run(Root);
}

TGatherResult GatherDirectory(const std::string& Root, std::string_view Mask, int TypeChoice,
                              const TScanProgress& Progress) {
  TGatherResult Result;
  ScanDirectory(Root, Mask, Result.Paths, Progress);
  Result.Format = CodeFromTypeChoice(TypeChoice);
  return Result;
}

TGatherResult GatherSources(const std::string& Root, int TypeChoice,
                            const TScanProgress& Progress) {
  return GatherDirectory(Root, FilterPattern(SourceFilter, TypeChoice), TypeChoice, Progress);
}

int TypeChoiceFromName(std::string_view Name) {
  static constexpr std::string_view Names[] = {"irl", "itm", "lst", "log"};
  std::string Lower(Name);
  for (char& C : Lower)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  for (int Choice = 0; Choice < 4; ++Choice)
    if (Lower == Names[Choice]) return Choice;
  return -1;
}
