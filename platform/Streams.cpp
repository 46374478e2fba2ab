#include "platform/Streams.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Errors.h"
#include "platform/Files.h"

void TStream::ReadBuffer(void* Buffer, std::size_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError();
}

void TStream::CopyFrom(TStream& Source, std::size_t Count) {
  std::vector<std::uint8_t> Chunk(std::min<std::size_t>(Count, 1 << 20));
  while (Count > 0) {
    std::size_t Step = std::min(Count, Chunk.size());
    Source.ReadBuffer(Chunk.data(), Step);
    Write(Chunk.data(), Step);
    Count -= Step;
  }
}

std::uint32_t TStream::ReadUInt32() {
  std::uint8_t B[4];
  ReadBuffer(B, 4);
  return std::uint32_t(B[0]) | std::uint32_t(B[1]) << 8 | std::uint32_t(B[2]) << 16 |
         std::uint32_t(B[3]) << 24;
}

// ---------------------------------------------------------------------------------------------
TFileStream::TFileStream(const std::string& Path, TFileMode Mode) : FilePath(Path) {
  int Flags = (Mode == fmOpenRead ? O_RDONLY : O_RDWR) | O_CLOEXEC;
  Fd = ::open(Path.c_str(), Flags);
  struct stat St;
  if (Fd >= 0 && (::fstat(Fd, &St) != 0 || S_ISDIR(St.st_mode))) {
    ::close(Fd);
    Fd = -1;
  }
  if (Fd < 0) throw EFOpenError(Path);
  if (Mode == fmOpenReadWriteExclusive && ::flock(Fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(Fd);
    Fd = -1;
    throw EFOpenError(Path);
  }
}

TFileStream::~TFileStream() {
  if (Fd >= 0) ::close(Fd);
}

std::size_t TFileStream::Read(void* Buffer, std::size_t Count) {
  std::size_t Done = 0;
  auto* Out = static_cast<std::uint8_t*>(Buffer);
  while (Done < Count) {
    ssize_t N = ::pread(Fd, Out + Done, Count - Done, Pos + static_cast<std::int64_t>(Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += static_cast<std::size_t>(N);
  }
  Pos += static_cast<std::int64_t>(Done);
  return Done;
}

void TFileStream::Write(const void* Buffer, std::size_t Count) {
  std::size_t Done = 0;
  auto* In = static_cast<const std::uint8_t*>(Buffer);
  while (Done < Count) {
    ssize_t N = ::pwrite(Fd, In + Done, Count - Done, Pos + static_cast<std::int64_t>(Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) throw EWriteError();
    Done += static_cast<std::size_t>(N);
  }
  Pos += static_cast<std::int64_t>(Done);
}

void TFileStream::Seek(std::int64_t Position) {
  if (Position < 0) throw EReadError();
  Pos = Position;
}

std::int64_t TFileStream::Size() const {
  struct stat St;
  return ::fstat(Fd, &St) == 0 ? static_cast<std::int64_t>(St.st_size) : 0;
}

// ---------------------------------------------------------------------------------------------
std::size_t TMemoryStream::Read(void* Buffer, std::size_t Count) {
  if (Pos >= Size()) return 0;
  std::size_t N = std::min<std::size_t>(Count, static_cast<std::size_t>(Size() - Pos));
  std::memcpy(Buffer, Data.data() + Pos, N);
  Pos += static_cast<std::int64_t>(N);
  return N;
}

void TMemoryStream::Write(const void* Buffer, std::size_t Count) {
  if (Count == 0) return;
  std::size_t End = static_cast<std::size_t>(Pos) + Count;
  if (End > Data.size()) Data.resize(End);
  std::memcpy(Data.data() + Pos, Buffer, Count);
  Pos = static_cast<std::int64_t>(End);
}

void TMemoryStream::Seek(std::int64_t Position) {
  if (Position < 0) throw EReadError();
  Pos = Position;
}

void TMemoryStream::SaveToFile(const std::string& Path) const {
  TFileWriter Writer(Path);
  Writer.Write(Data.data(), Data.size());
  Writer.Commit();
}

// ---------------------------------------------------------------------------------------------
namespace {
constexpr std::size_t WriterBufferSize = 1 << 20;
}

TFileWriter::TFileWriter(std::string Path) : Target(std::move(Path)), Destination(Target) {
  // A link is replaced through: the file it leads to gets the new content, the link stays.
  struct stat Link;
  if (::lstat(Target.c_str(), &Link) == 0 && S_ISLNK(Link.st_mode)) {
    if (char* Real = ::realpath(Target.c_str(), nullptr)) {
      Destination = Real;
      std::free(Real);
    }
  }
  std::string Dir = ExtractFileDir(Destination);
  TempPath =
      (Dir.empty() ? std::string() : Dir + "/") + "." + ExtractFileName(Destination) + ".XXXXXX";
  std::vector<char> Name(TempPath.begin(), TempPath.end());
  Name.push_back('\0');
  Fd = ::mkostemp(Name.data(), O_CLOEXEC);
  if (Fd < 0) throw EFCreateError(Target);
  TempPath.assign(Name.data());
  struct stat St;
  mode_t Mode = 0666;
  if (::stat(Destination.c_str(), &St) == 0) {
    Mode = St.st_mode & 07777;
  } else {
    mode_t Mask = ::umask(0);
    ::umask(Mask);
    Mode &= ~Mask;
  }
  ::fchmod(Fd, Mode);
  Pending.reserve(WriterBufferSize);
}

TFileWriter::~TFileWriter() {
  if (Fd >= 0) ::close(Fd);
  if (!Committed) ::unlink(TempPath.c_str());
}

void TFileWriter::Write(const void* Buffer, std::size_t Count) {
  auto* In = static_cast<const std::uint8_t*>(Buffer);
  if (Pending.size() + Count > WriterBufferSize) Flush();
  if (Count >= WriterBufferSize) {
    Pending.assign(In, In + Count);
    Flush();
  } else {
    Pending.insert(Pending.end(), In, In + Count);
  }
  Written += static_cast<std::int64_t>(Count);
}

void TFileWriter::Seek(std::int64_t Position) {
  if (Position != Written) throw EWriteError();
}

void TFileWriter::Flush() {
  std::size_t Done = 0;
  while (Done < Pending.size()) {
    ssize_t N = ::write(Fd, Pending.data() + Done, Pending.size() - Done);
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) throw EFCreateError(Target);
    Done += static_cast<std::size_t>(N);
  }
  Pending.clear();
}

void TFileWriter::Commit() {
  if (Committed) return;
  Flush();
  if (::close(Fd) != 0) {
    Fd = -1;
    throw EFCreateError(Target);
  }
  Fd = -1;
  if (::rename(TempPath.c_str(), Destination.c_str()) != 0) throw EFCreateError(Target);
  Committed = true;
}
