// Finding and reading the files the game loads by name. A relative name is
// looked up in the executable's folder, then in the installed data folder
// (<executable folder>/../share/veltrane-sudoku/), then in the current folder;
// an absolute name is taken as given. Owns nothing beyond the bytes it returns.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Largest file the engine reads into memory (the game's files are a few KB).
constexpr std::size_t kMaxResourceBytes = 64u * 1024u * 1024u;

// The paths tried for a name, in order; empty for an empty name.
std::vector<std::string> ResourceCandidates(const std::string& name, const std::string& executableDir);

// The first candidate that is a regular file; empty text when there is none.
std::string FindResource(const std::string& name, const std::string& executableDir);

// Reads a whole file. False when it cannot be opened or read, or is larger than
// maxBytes; bytes is then left empty.
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes,
                   std::size_t maxBytes = kMaxResourceBytes);
