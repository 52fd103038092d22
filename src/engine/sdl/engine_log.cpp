#include "engine/sdl/engine_log.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string Format(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) return std::string();
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

}  // namespace

void EngineLog::SetFile(const std::string& name, const std::string& baseDir) {
    if (name.empty() || name[0] == '/' || baseDir.empty()) {
        path = name;
        return;
    }
    path = baseDir.back() == '/' ? baseDir + name : baseDir + "/" + name;
}

void EngineLog::WriteV(const char* format, va_list args) const {
    if (path.empty() || format == nullptr) return;
    std::string line = Format(format, args);
    if (line.empty() || line.back() != '\n') line += '\n';
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "a"));
    if (!file) return;
    std::fwrite(line.data(), 1, line.size(), file.get());
}

void EngineLog::Write(const char* format, ...) const {
    va_list args;
    va_start(args, format);
    WriteV(format, args);
    va_end(args);
}
