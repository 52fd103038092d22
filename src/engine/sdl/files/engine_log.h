// The engine's log: each entry is appended as one line to the log file (engine
// state 16), opened and closed per line so that the file is complete even if
// the program dies. The file is only ever appended to; a symbolic link or
// anything but a regular file under its name is left alone and nothing is
// written. Without a file name the log writes nothing. Owns the name.
#pragma once

#include <cstdarg>
#include <string>

class EngineLog {
public:
    // A relative name is taken in baseDir (the executable's folder) when baseDir
    // is not empty; an absolute name as given. Empty text turns the log off.
    void SetFile(const std::string& name, const std::string& baseDir);
    const std::string& Path() const { return path; }

    // printf rules; line breaks inside the text are kept, one is added at the end.
    void WriteV(const char* format, va_list args) const;
    void Write(const char* format, ...) const
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

private:
    std::string path;
};
