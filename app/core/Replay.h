#pragma once
// The log replay: walks a result log line by line, opens each "#Source:" file it finds and
// hands the block's entry lines to the insert handler of the format in force.

#include <string>
#include <string_view>

#include "formats/RunContext.h"

// Replays the log at Path. Throws EFOpenError when the log, or a source that exists, cannot be
// opened; errors of the insert handlers pass through. Ends after the line in progress when
// Run.StopRequested is set.
void ReplayLog(TRunContext& Run, const std::string& Path);

// The first word of a line: the text up to the first white space, after any white space at
// the line's start. WordStart receives where the word begins.
std::string_view FirstWord(std::string_view Line, std::size_t* WordStart = nullptr);
