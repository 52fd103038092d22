// The P key's print: the request made on the frame, the page drawn and written on the
// print's thread, the outcome on the message line.
#include "app/puzzles/print_puzzle.h"

#include <sys/stat.h>

#include <cstdio>
#include <utility>

#include "app/program.h"
#include "platform/documents_folder.h"
#include "play/input/key_bindings.h"
#include "play/view/status_line.h"
#include "print/booklet.h"
#include "save/save.h"

namespace {

constexpr int kMaxNumber = 999;  // names tried before giving up
constexpr const char* PrintingText = "Printing the puzzle...";
// The longest message that fits the window's width at the status line's scale.
constexpr std::size_t kMessageRoom = 84;

// Anything at path, a link too, takes the name; a folder that cannot be searched is
// left to the write, which says why.
bool IsTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The level word a file name carries: the level when the puzzle has one, else where it came from.
std::string FileLevelOf(const Program& p) {
    switch (p.aids.origin.kind) {
        case PuzzleKind::Classic:
            return IsLevel(p.board.difficulty) ? LevelName(p.board.difficulty) : "Classic";
        case PuzzleKind::Logic:
            return LevelName(p.aids.origin.level);
        case PuzzleKind::Pasted:
        case PuzzleKind::File:
            return IsLevel(p.aids.origin.level) ? LevelName(p.aids.origin.level) : "Pasted";
    }
    return "Puzzle";
}

PrintRequest RequestOf(const Program& p) {
    PrintRequest request;
    request.givens = p.board.givens;
    char name[96];
    request.puzzleName = PuzzleName(p.board, p.aids.origin, name, sizeof name);
    request.fileLevel = FileLevelOf(p);
    return request;
}

// The message for a print written: the path with the home folder as "~", cut to the
// file's name when the whole would not fit the message line.
std::string PrintedText(const std::string& path, std::size_t room) {
    std::string text = "Printed to " + PathForPlayer(path);
    if (text.size() < room) return text;
    return "Printed to .../" + path.substr(path.rfind('/') + 1);
}

void Tell(Program& p, const std::string& text) {
    p.aids.message.Set(text.c_str(), p.aids.history.Revision());
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

void HandlePrintKey(Program& p, const FrameInput& input) {
    PrintOutcome outcome;
    if (p.GameState == Playing && p.printer.Take(outcome)) {
        Tell(p, outcome.printed ? PrintedText(outcome.path, kMessageRoom) : "Not printed: " + outcome.reason);
    }
    if (p.GameState != Playing || p.aids.helpOpen) return;  // a key only closes the help
    for (int i = 0; i < input.count; ++i) {
        if (ActionOf(input.presses[i], OnPlayScreen) != Action::Print) continue;
        p.printer.Start(RequestOf(p));
        Tell(p, PrintingText);
    }
}
