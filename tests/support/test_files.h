// Small files made by tests in a temporary folder: font descriptions, images of a given
// size and sound effects, so that tests do not depend on the game's data folder.
#pragma once

#include <string>

#include "support/temp_folder.h"

void WriteTextFile(const std::string& path, const std::string& contents);
// An opaque white image of the given size; PNG when the name ends in ".png", else BMP.
void WriteImage(const std::string& path, int width, int height);
// A short silent 16-bit mono WAV file.
void WriteWav(const std::string& path);
// What a shell command prints on standard output; empty when it cannot run.
std::string CommandOutput(const std::string& command);
// pdfinfo and pdftotext (poppler-utils) are at hand.
bool HasPoppler();
