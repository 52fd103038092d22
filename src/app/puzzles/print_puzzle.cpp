// The print of one puzzle's page: drawn and written on the print's thread.
#include "app/puzzles/print_puzzle.h"

#include <sys/stat.h>

#include <cstdio>
#include <utility>

#include "platform/documents_folder.h"
#include "print/booklet.h"
#include "save/save.h"

namespace {

constexpr int kMaxNumber = 999;  // names tried before giving up

// Anything at path, a link too, takes the name; a folder that cannot be searched is
// left to the write, which says why.
bool IsTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::string PrintFileName(const std::string& level, std::time_t when, int number) {
    std::tm local{};
    char stamp[32] = "";
    if (::localtime_r(&when, &local) != nullptr)
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &local);
    std::string name = "Veltrane Sudoku " + level + " " + stamp;
    if (number > 1) name += " (" + std::to_string(number) + ")";
    return name + ".pdf";
}

PrintOutcome PrintPuzzle(const PrintRequest& request, std::time_t when) {
    PrintOutcome outcome;
    const std::string folder = request.folder.empty() ? DocumentsDirectory() : request.folder;
    if (folder.empty()) {
        outcome.reason = "no documents folder and no home folder";
        return outcome;
    }
    std::string pdf;
    const BookletPuzzle puzzle{request.givens, {}, request.puzzleName, ""};
    if (!RenderPuzzleSheet(puzzle, PaperSize::A4, pdf, outcome.reason)) return outcome;
    for (int number = 1; number <= kMaxNumber; ++number) {
        const std::string path = folder + PrintFileName(request.fileLevel, when, number);
        if (IsTaken(path)) continue;
        if (const int failure = WriteFileAtomically(path, pdf)) {
            outcome.reason = WriteFailureReason(failure);
            return outcome;
        }
        outcome.printed = true;
        outcome.path = path;
        return outcome;
    }
    outcome.reason = "every name for this print is taken";
    return outcome;
}

bool PuzzlePrinter::Start(PrintRequest request) {
    if (job_.Busy()) return false;
    printedAny_ = true;
    job_.Start([request = std::move(request)](
                   const std::atomic<bool>&) { return PrintPuzzle(request, std::time(nullptr)); },
               ready_);
    return true;
}

void PuzzlePrinter::Stop() {
    job_.Stop();
    if (printedAny_) ReleasePrintFonts();  // no other thread draws with Cairo now
    printedAny_ = false;
}
