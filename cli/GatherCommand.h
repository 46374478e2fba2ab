#pragma once
// brindlecast-cli gather --type irl|itm|lst|log DIR
// Prints every source of that type under DIR, one path per line, in the order the window's
// Process Directory lists them.

#include <string>
#include <vector>

// Args are the words after "gather". Returns 0 on success (also when nothing was found),
// 2 with a usage message on stderr for bad arguments, 1 when the output cannot be written.
int RunGatherCommand(const std::vector<std::string>& Args);
