#pragma once
// Palette and pixel helpers: reorder palette entries and pixel bytes in place.
// None keeps state or reports an error; none touches memory outside what it is given.

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"  // TPaletteEntry, TPalette
#include "platform/Streams.h"

// Rewrites a stream of 4-byte entries (R, G, B, A) as 3-byte entries (R, G, B); a tail of
// fewer than 4 bytes is dropped. The stream ends at its new end. Returns the entry count.
int PaletteEntriesToRGB(TMemoryStream& Stream);

// Undoes the pack's block interleave (in every group of four blocks of 8 entries the second
// and third are exchanged) and, for 4-byte entries, applies the grey-from-A rule: when every
// entry has the same red, green and blue, each entry's fourth byte becomes its grey level.
void ConvertPaletteEntries(std::uint8_t* Entries, std::int32_t Count, std::int32_t Size);

// A palette of Count entries from a table of red, green, blue triples.
TPalette BuildPalette(std::int32_t Count, const std::uint8_t* Table);

// Exchanges the two nibbles of every byte; a length of 0 or less changes nothing.
void SwapNibbles(std::uint8_t* Bytes, std::int32_t Length);

// Exchange red and blue in every whole pixel of a row of Length bytes: 15 and 16 bits per
// pixel (2 bytes, 5-bit red and blue fields), 24 (B, G, R) and 32 (B, G, R, X). A partial
// pixel at the end of the row is left alone.
void SwapRB15(std::uint8_t* Row, std::uint32_t Length);
void SwapRB16(std::uint8_t* Row, std::uint32_t Length);
void SwapRB24(std::uint8_t* Row, std::uint32_t Length);
void SwapRB32(std::uint8_t* Row, std::uint32_t Length);
