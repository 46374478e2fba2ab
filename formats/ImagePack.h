#pragma once
// The image resource pack and the image resource list that names it.
//
// Image resource list (.irl, text): line 0 is the pack's path, used as written; line k + 1 is
// image k's depth, exactly "8" or "4"; further lines are ignored.
//
// Pack header at offset 0, 32 bytes, eight little-endian 32-bit words:
//    0  Palette16Count     number of 16-colour palette records (unsigned)
//    4  Palette256Count    number of 256-colour palette records (unsigned)
//    8  ImageCount         number of image records (unsigned)
//   12  reserved, never read
//   16  Palette16Offset    file offset of the first 16-colour palette record (signed)
//   20  Palette256Offset   file offset of the first 256-colour palette record (signed)
//   24  ImageOffset        file offset of the first image record (signed)
//   28  reserved, never read
// Each section is a run of records without gaps, at its offset; the sections may lie in any
// order. A 16-colour record is 16 entries of 4 bytes (red, green, blue, A); a 256-colour
// record is 256 such entries with every second and third block of 8 in each group of four
// exchanged. An image record is 256 rows, top row first, without padding: 256 bytes a row at
// depth "8" (one colour index a pixel), 128 bytes at depth "4" (two pixels a byte, the left
// one in the low nibble).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Streams.h"
#include "platform/StringList.h"

inline constexpr std::size_t PackHeaderSize = 32;
inline constexpr std::size_t Palette16RecordSize = 64;
inline constexpr std::size_t Palette256RecordSize = 1024;
inline constexpr int ImageRows = 256;
// Row sizes of the two image depths.
inline constexpr std::size_t RowSize8 = 256;
inline constexpr std::size_t RowSize4 = 128;

struct TImagePackHeader {
  std::uint32_t Palette16Count = 0;
  std::uint32_t Palette256Count = 0;
  std::uint32_t ImageCount = 0;
  std::int32_t Palette16Offset = 0;
  std::int32_t Palette256Offset = 0;
  std::int32_t ImageOffset = 0;
};

// Reads the header at the stream's start. Throws EReadError ("Stream read error") when the
// pack is shorter than 32 bytes, and EFormatError naming PackPath when a section that holds
// records has a negative offset.
TImagePackHeader ReadPackHeader(TStream& Pack, const std::string& PackPath);

// Bytes per row of every image record, from the list's depth lines 1 .. ImageCount. A line
// that is neither "8" nor "4" keeps the depth of the image before it; for image 0 it throws
// EFormatError naming ListPath and the line. A missing line throws EStringListError, before
// anything is read or written.
std::vector<std::size_t> ReadImageRowSizes(const TStringList& List, std::uint32_t ImageCount,
                                           const std::string& ListPath);
