// The P key: the request made on the frame from the program's game, the outcome on the
// message line.
#include "app/puzzles/print_key.h"

#include <string>

#include "app/program.h"
#include "platform/documents_folder.h"
#include "play/input/key_bindings.h"
#include "play/view/status_line.h"

namespace {

constexpr const char* PrintingText = "Printing the puzzle...";
// The longest message that fits the window's width at the status line's scale.
constexpr std::size_t kMessageRoom = 84;

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
