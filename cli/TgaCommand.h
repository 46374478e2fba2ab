#pragma once
// The "tga" command of the command-line tool: tries the Targa component on files.

#include <string>
#include <vector>

// Args are the words after "tga":
//   info FILE        prints the header's fields and whether the file ends with a TGA 2.0 footer
//   swap-rb IN OUT   loads IN, exchanges red and blue in every pixel, saves OUT
// Returns 0 on success, 1 when a file cannot be read or written (the message goes to the
// error output), 2 for wrong arguments (a usage line goes to the error output).
int RunTgaCommand(const std::vector<std::string>& Args);
