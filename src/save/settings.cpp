#include "save/settings.h"


#include "save/file_read.h"
#include "save/save.h"

namespace {

constexpr std::string_view HighlightKey = "same-value-highlight";
constexpr std::string_view ClashMarksKey = "clash-marks";
constexpr std::string_view FullScreenKey = "full-screen";
constexpr std::string_view PuzzlesKey = "puzzles";
constexpr std::string_view MistakeMarksKey = "mistake-marks";
constexpr std::string_view ThemeKey = "theme";
// The theme line's words, in the order of ThemeChoice from Classic on.
constexpr std::string_view ThemeWords[] = {"classic", "dark", "high-contrast"};

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// "on" or "off" sets the flag; anything else leaves it as it was.
void ReadFlag(std::string_view value, bool& flag) {
    if (value == "on") flag = true;
    if (value == "off") flag = false;
}

void ReadLine(std::string_view line, Settings& settings) {
    line = Trim(line);
    if (line.empty() || line.front() == '#') return;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (key == HighlightKey) ReadFlag(value, settings.sameValueHighlight);
    if (key == ClashMarksKey) ReadFlag(value, settings.clashMarks);
    if (key == FullScreenKey) ReadFlag(value, settings.fullScreen);
    if (key == MistakeMarksKey) ReadFlag(value, settings.mistakeMarks);
    if (key == PuzzlesKey && (value == "classic" || value == "logic"))
        settings.logicPuzzles = value == "logic";
    for (int i = 0; key == ThemeKey && i < 3; ++i)
        if (value == ThemeWords[i]) settings.theme = static_cast<ThemeChoice>(i + 1);
}

void AppendFlag(std::string& text, std::string_view key, bool flag) {
    text.append(key);
    text += flag ? "=on\n" : "=off\n";
}

}  // namespace

std::string SettingsText(const Settings& settings) {
    std::string text = "# Quorvel Veltrane Sudoku settings\n";
    AppendFlag(text, HighlightKey, settings.sameValueHighlight);
    AppendFlag(text, ClashMarksKey, settings.clashMarks);
    AppendFlag(text, FullScreenKey, settings.fullScreen);
    text.append(PuzzlesKey);
    text += settings.logicPuzzles ? "=logic\n" : "=classic\n";
    AppendFlag(text, MistakeMarksKey, settings.mistakeMarks);
    if (settings.theme != ThemeChoice::Desktop) {
        text.append(ThemeKey);
        text += '=';
        text.append(ThemeWords[static_cast<int>(settings.theme) - 1]);
        text += '\n';
    }
    return text;
}

Settings ParseSettings(std::string_view text) {
    Settings settings;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        ReadLine(text.substr(0, end), settings);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return settings;
}

Settings LoadSettings(const std::string& path) {
    std::string text;
    if (!ReadRegularFile(path, kMaxSettingsBytes, text)) return {};
    return ParseSettings(text);
}

bool SaveSettings(const std::string& path, const Settings& settings) {
    return ReplaceFileContents(path, SettingsText(settings));
}
