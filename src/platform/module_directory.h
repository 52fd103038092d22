// The folder of the running executable, where the saved game and the data files
// are looked for first. Owns nothing.
#pragma once

#include <string>

// The executable's folder including its trailing '/', or empty text when it
// cannot be found.
std::string GetModuleDirectory();
