// Small files made by tests in a temporary folder: font descriptions, images of a given
// size and sound effects, so that tests do not depend on the game's data folder.
#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Absolute path of a file in the folder.
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Makes the given folder the current one for the holder's lifetime.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::string previous_;
};

void WriteTextFile(const std::string& path, const std::string& contents);
// An opaque white image of the given size; PNG when the name ends in ".png", else BMP.
void WriteImage(const std::string& path, int width, int height);
// A short silent 16-bit mono WAV file.
void WriteWav(const std::string& path);
