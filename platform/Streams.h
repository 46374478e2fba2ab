#pragma once
// Byte streams: files and memory, with the platform's read and write rules.
// Read returns what it could; ReadBuffer throws EReadError when the stream runs short.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to Count bytes; returns how many were read (0 at the end).
  virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
  // Writes Count bytes or throws EWriteError.
  virtual void Write(const void* Buffer, std::size_t Count) = 0;
  virtual std::int64_t Position() const = 0;
  // Moves to an absolute position; a negative one throws EReadError.
  virtual void Seek(std::int64_t Position) = 0;
  virtual std::int64_t Size() const = 0;

  // Reads exactly Count bytes or throws EReadError.
  void ReadBuffer(void* Buffer, std::size_t Count);
  void WriteBuffer(const void* Buffer, std::size_t Count) { Write(Buffer, Count); }
  // Copies Count bytes from Source at its position; throws EReadError when it runs short.
  void CopyFrom(TStream& Source, std::size_t Count);
  std::uint32_t ReadUInt32();
  std::int32_t ReadInt32() { return static_cast<std::int32_t>(ReadUInt32()); }
};

// How a file stream opens its file.
enum TFileMode {
  fmOpenRead,                // existing file, reading only
  fmOpenReadWrite,           // existing file, reading and writing in place
  fmOpenReadWriteExclusive,  // as fmOpenReadWrite, and no other exclusive open succeeds meanwhile
};

// A stream on an existing file. Throws EFOpenError with the path when the file cannot be opened.
class TFileStream : public TStream {
 public:
  TFileStream(const std::string& Path, TFileMode Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::size_t Read(void* Buffer, std::size_t Count) override;
  void Write(const void* Buffer, std::size_t Count) override;
  std::int64_t Position() const override { return Pos; }
  void Seek(std::int64_t Position) override;
  std::int64_t Size() const override;
  const std::string& Path() const { return FilePath; }

 private:
  std::string FilePath;
  int Fd = -1;
  std::int64_t Pos = 0;
};

// A growable block of memory read and written as a stream.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> Bytes) : Data(std::move(Bytes)) {}

  std::size_t Read(void* Buffer, std::size_t Count) override;
  void Write(const void* Buffer, std::size_t Count) override;
  std::int64_t Position() const override { return Pos; }
  void Seek(std::int64_t Position) override;
  std::int64_t Size() const override { return static_cast<std::int64_t>(Data.size()); }

  void Clear() {
    Data.clear();
    Pos = 0;
  }
  void SetSize(std::size_t NewSize) {
    Data.resize(NewSize);
    if (Pos > Size()) Pos = Size();
  }
  std::uint8_t* Memory() { return Data.data(); }
  const std::uint8_t* Memory() const { return Data.data(); }
  const std::vector<std::uint8_t>& Bytes() const { return Data; }
  // Writes the whole content to Path through a temporary file (see TFileWriter).
  void SaveToFile(const std::string& Path) const;

 private:
  std::vector<std::uint8_t> Data;
  std::int64_t Pos = 0;
};

// Writes a whole file safely: the bytes go to a temporary file beside the target, which is
// renamed over the target by Commit. Until then the old file stands untouched; a writer
// destroyed without Commit removes its temporary file. An existing target keeps its
// permission bits; a target that is a symbolic link keeps the link, and the file it leads to
// is the one replaced. Throws EFCreateError with the target's path when the temporary file
// cannot be made, written or renamed.
class TFileWriter : public TStream {
 public:
  explicit TFileWriter(std::string Path);
  ~TFileWriter() override;
  TFileWriter(const TFileWriter&) = delete;
  TFileWriter& operator=(const TFileWriter&) = delete;

  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void* Buffer, std::size_t Count) override;
  std::int64_t Position() const override { return Written; }
  void Seek(std::int64_t Position) override;
  std::int64_t Size() const override { return Written; }
  void Commit();
  const std::string& Path() const { return Target; }

 private:
  void Flush();
  std::string Target;
  std::string Destination;  // Target, or the file a link at Target leads to
  std::string TempPath;
  int Fd = -1;
  std::vector<std::uint8_t> Pending;
  std::int64_t Written = 0;
  bool Committed = false;
};
