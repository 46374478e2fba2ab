#include "platform/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/Errors.h"
#include "platform/Streams.h"

bool FileExists(const std::string& Path) {
  struct stat St;
  return !Path.empty() && ::stat(Path.c_str(), &St) == 0;
}

bool DirectoryExists(const std::string& Path) {
  struct stat St;
  return !Path.empty() && ::stat(Path.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

std::string ExtractFileName(std::string_view Path) {
  std::size_t Slash = Path.rfind('/');
  return std::string(Slash == std::string_view::npos ? Path : Path.substr(Slash + 1));
}

std::string ExtractFileDir(std::string_view Path) {
  std::size_t Slash = Path.rfind('/');
  if (Slash == std::string_view::npos) return {};
  if (Slash == 0) return "/";
  return std::string(Path.substr(0, Slash));
}

std::string JoinPath(std::string_view Dir, std::string_view Name) {
  std::string Out(Dir);
  while (Out.size() > 1 && Out.back() == '/') Out.pop_back();
  if (Out.empty() || Out.back() != '/') Out += '/';
  Out += Name;
  return Out;
}

std::string GetCurrentDir() {
  std::vector<char> Buffer(4096);
  while (::getcwd(Buffer.data(), Buffer.size()) == nullptr) {
    if (errno != ERANGE) return {};
    Buffer.resize(Buffer.size() * 2);
  }
  return Buffer.data();
}

std::string ExpandFileName(const std::string& Path) {
  if (Path.empty() || Path.front() == '/') return Path;
  return JoinPath(GetCurrentDir(), Path);
}

bool SetCurrentDir(const std::string& Path) { return !Path.empty() && ::chdir(Path.c_str()) == 0; }

bool ForceDirectories(const std::string& Path) {
  if (Path.empty()) return false;
  if (DirectoryExists(Path)) return true;
  std::string Parent = ExtractFileDir(Path);
  if (!Parent.empty() && Parent != Path && !ForceDirectories(Parent)) return false;
  return ::mkdir(Path.c_str(), 0777) == 0 || DirectoryExists(Path);
}

std::string ReadWholeFile(const std::string& Path) {
  TFileStream Stream(Path, fmOpenRead);
  std::string Bytes;
  std::int64_t Size = Stream.Size();
  Bytes.resize(static_cast<std::size_t>(Size));
  std::size_t Got = Stream.Read(Bytes.data(), Bytes.size());
  Bytes.resize(Got);
  // Files whose size is not known in advance (pipes, /proc) are read to their end.
  char Chunk[65536];
  for (std::size_t N; (N = Stream.Read(Chunk, sizeof Chunk)) > 0;) Bytes.append(Chunk, N);
  return Bytes;
}

void WriteWholeFile(const std::string& Path, std::string_view Bytes) {
  TFileWriter Writer(Path);
  Writer.Write(Bytes.data(), Bytes.size());
  Writer.Commit();
}

std::string IntToHex(std::uint64_t Value, int Digits) {
  static const char HexDigits[] = "0123456789ABCDEF";
  std::string Out;
  do {
    Out.insert(Out.begin(), HexDigits[Value & 15]);
    Value >>= 4;
  } while (Value != 0);
  if (static_cast<int>(Out.size()) < Digits) Out.insert(0, Digits - Out.size(), '0');
  return Out;
}

std::string IntToStr(long long Value) { return std::to_string(Value); }

namespace {
char Lower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }
}  // namespace

bool MatchesMask(std::string_view Name, std::string_view Mask) {
  // Iterative wildcard match with backtracking to the last "*": linear in practice.
  std::size_t N = 0, M = 0, StarM = std::string_view::npos, StarN = 0;
  while (N < Name.size()) {
    if (M < Mask.size() && (Mask[M] == '?' || Lower(Mask[M]) == Lower(Name[N])) && Mask[M] != '*') {
      ++N;
      ++M;
    } else if (M < Mask.size() && Mask[M] == '*') {
      StarM = M++;
      StarN = N;
    } else if (StarM != std::string_view::npos) {
      M = StarM + 1;
      N = ++StarN;
    } else {
      return false;
    }
  }
  while (M < Mask.size() && Mask[M] == '*') ++M;
  return M == Mask.size();
}
