// The --booklet command line: its options read and checked, then the booklet made.
#include "app/booklet_command.h"

#include <algorithm>
#include <random>

#include "save/save.h"
#include "sudoku/levels.h"

namespace {

constexpr const char* kBookletUsage =
    "usage: veltrane-sudoku --booklet OUT.pdf --count N --level easy|medium|hard|expert [--classic] "
    "[--letter]\n";

bool IsFlag(const std::string& name) {
    return name == "--classic" || name == "--letter";
}
bool TakesValue(const std::string& name) {
    return name == "--booklet" || name == "--count" || name == "--level";
}

// A count of decimal digits only, within 1 .. kMaxGameBookletPuzzles.
bool ReadCount(const std::string& text, std::uint32_t& count) {
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const unsigned long value = std::stoul(text);
    if (value < 1 || value > kMaxGameBookletPuzzles) return false;
    count = static_cast<std::uint32_t>(value);
    return true;
}

bool CheckValues(const std::vector<std::pair<std::string, std::string>>& given, BookletOptions& options,
                 std::string& error) {
    bool hasCount = false, hasLevel = false;
    for (const auto& [name, value] : given) {
        if (name == "--booklet") {
            options.path = value;
        } else if (name == "--count") {
            if (!ReadCount(value, options.request.count)) {
                error = "--count takes a number from 1 to " + std::to_string(kMaxGameBookletPuzzles) +
                        ", not '" + value + "'";
                return false;
            }
            hasCount = true;
        } else if (name == "--level") {
            options.request.level = LevelOfKeyword(value);
            if (options.request.level == 0) {
                error = "--level takes easy, medium, hard or expert, not '" + value + "'";
                return false;
            }
            hasLevel = true;
        } else if (name == "--classic") {
            options.classic = true;
        } else if (name == "--letter") {
            options.request.paper = PaperSize::Letter;
        }
    }
    if (options.path.empty()) {
        error = "--booklet needs a file name";
        return false;
    }
    if (options.classic && hasLevel && !IsClassicLevel(options.request.level)) {
        error = "--classic puzzles come in easy, medium and hard";
        return false;
    }
    if (!hasCount || !hasLevel) error = hasCount ? "--booklet needs --level L" : "--booklet needs --count N";
    return hasCount && hasLevel;
}

// Seeds no earlier booklet is likely to have used.
std::uint32_t FreshSeed() {
    std::random_device device;
    return static_cast<std::uint32_t>(device());
}

}  // namespace

bool IsBookletCommand(const std::vector<std::string>& arguments) {
    return std::find(arguments.begin(), arguments.end(), "--booklet") != arguments.end();
}

bool ReadBookletArguments(const std::vector<std::string>& arguments, BookletOptions& options,
                          std::string& error) {
    std::vector<std::pair<std::string, std::string>> given;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (!IsFlag(name) && !TakesValue(name)) {
            error = name.rfind("--", 0) == 0 ? "unknown option " + name : "'" + name + "' is not an option";
            return false;
        }
        const bool repeated =
            std::any_of(given.begin(), given.end(), [&](const auto& g) { return g.first == name; });
        if (repeated) {
            error = name + " is given twice";
            return false;
        }
        if (TakesValue(name) && (i + 1 >= arguments.size() || arguments[i + 1].empty())) {
            error = name + " needs a value";
            return false;
        }
        given.emplace_back(name, TakesValue(name) ? arguments[++i] : std::string());
    }
    return CheckValues(given, options, error);
}

int RunBookletCommand(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
    BookletOptions options;
    std::string error;
    if (!ReadBookletArguments(arguments, options, error)) {
        std::fprintf(err, "veltrane-sudoku: %s\n%s", error.c_str(), kBookletUsage);
        return kBookletUsageExit;
    }
    options.request.firstSeed = FreshSeed();
    const PuzzleSource source(options.classic ? MakeClassicPuzzle : MakeLogicBookletPuzzle);
    std::vector<BookletPuzzle> puzzles;
    std::string pdf;
    const bool made = MakeBookletPuzzles(options.request, source, puzzles, error) &&
                      RenderBooklet(puzzles, options.request.paper, pdf, error);
    ReleasePrintFonts();
    if (!made) {
        std::fprintf(err, "veltrane-sudoku: %s\n", error.c_str());
        return 1;
    }
    if (const int failure = WriteFileAtomically(options.path, pdf)) {
        std::fprintf(err, "veltrane-sudoku: cannot write %s: %s\n", options.path.c_str(),
                     WriteFailureReason(failure).c_str());
        return 1;
    }
    std::fprintf(out, "%s: %u puzzles, %u pages\n", options.path.c_str(), options.request.count,
                 BookletPages(options.request.count));
    return 0;
}
