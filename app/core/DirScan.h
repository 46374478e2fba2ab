#pragma once
// Gathering sources from a directory tree. For every directory, depth first:
//   1. its subdirectories, in name order, each scanned whole (steps 1 and 2 for it);
//   2. its own entries whose names match the mask, in name order: files, hidden files and
//      directories alike (a directory named maps.irl is listed and also scanned).
// So a root holding a.irl and sub/b.irl gives root/sub/b.irl, then root/a.irl.
// Names are ordered by their bytes, so the same tree always gives the same list.
// A name that begins with "." is hidden: a hidden directory is not entered, but a hidden
// file that matches is listed. A symbolic link to a directory is entered like a directory,
// but no directory (device and inode) is scanned twice, so a link cycle ends. There is no
// depth limit; the walk keeps its own stack.
// A root or subdirectory that does not exist or cannot be read yields nothing, silently.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "include/SharedConstants.h"

// Told the number of matches found so far, every ScanProgressEvery directory entries read,
// so that a window can let its pending messages through and show the count.
using TScanProgress = std::function<void(int Found)>;
inline constexpr int ScanProgressEvery = 256;

// Appends to Found every path under Root whose name matches Mask (case-insensitive, "*" and
// "?"), each joined with exactly one "/". Root is used as given; it need not exist.
void ScanDirectory(const std::string& Root, std::string_view Mask, std::vector<std::string>& Found,
                   const TScanProgress& Progress = {});

// What a gathering gives the source list: the paths and the format of the chosen type.
struct TGatherResult {
  std::vector<std::string> Paths;
  TSourceFormat Format = sfNone;
};

// The gathering behind Process Directory: scans Root for Mask and takes the code of
// TypeChoice (the directory dialog's type index, 0..3; sfNone outside) as the format,
// whatever the scan found.
TGatherResult GatherDirectory(const std::string& Root, std::string_view Mask, int TypeChoice,
                              const TScanProgress& Progress = {});

// The same with the pattern of type TypeChoice in the Add dialog's filter ("*.irl" for 0).
TGatherResult GatherSources(const std::string& Root, int TypeChoice,
                            const TScanProgress& Progress = {});

// The type choice named by a short type name, "irl", "itm", "lst" or "log" (any case);
// -1 for anything else.
int TypeChoiceFromName(std::string_view Name);
