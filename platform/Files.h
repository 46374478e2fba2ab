#pragma once
// File-system and text helpers. Paths join with "/"; a file name is the part after the last "/".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// True when anything (file, directory, device) exists at Path.
bool FileExists(const std::string& Path);
bool DirectoryExists(const std::string& Path);

// The part after the last "/": "a/b/menu.irl" gives "menu.irl".
std::string ExtractFileName(std::string_view Path);
// The part before the last "/", without it; empty when there is none ("/" for a root file).
std::string ExtractFileDir(std::string_view Path);
// Path made absolute against the current directory ("." and ".." are kept as written).
std::string ExpandFileName(const std::string& Path);
// Dir and Name joined with exactly one "/".
std::string JoinPath(std::string_view Dir, std::string_view Name);

std::string GetCurrentDir();
// Makes Path the process's current directory; false when it cannot.
bool SetCurrentDir(const std::string& Path);
// Creates Path and every missing parent; false when that fails.
bool ForceDirectories(const std::string& Path);

// Reads a whole file. Throws EFOpenError with the path.
std::string ReadWholeFile(const std::string& Path);
// Replaces a whole file through a temporary file. Throws EFCreateError with the path.
void WriteWholeFile(const std::string& Path, std::string_view Bytes);

// Upper-case hexadecimal, zero-padded to at least Digits digits: IntToHex(10, 4) is "000A".
std::string IntToHex(std::uint64_t Value, int Digits);
std::string IntToStr(long long Value);

// Case-insensitive (ASCII) file-name match with "*" (any run) and "?" (one character).
bool MatchesMask(std::string_view Name, std::string_view Mask);
