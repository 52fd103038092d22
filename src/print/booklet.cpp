// The booklet's puzzles and its pages, drawn with Cairo's PDF surface into memory.
#include "print/booklet.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <memory>

#include "sudoku/completion.h"
#include "sudoku/generator.h"
#include "sudoku/grid.h"
#include "sudoku/logic/logic_generator.h"
#include "sudoku/puzzle_code.h"

namespace {

// --- Cairo handles ---------------------------------------------------------------
struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;

// Cairo's PDF surface hands its output over in pieces; they collect in a string.
cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// --- Page geometry, in points (1/72 inch) ------------------------------------------
struct PageSize {
    double width;
    double height;
};

PageSize SizeOf(PaperSize paper) {
    return paper == PaperSize::Letter ? PageSize{612.0, 792.0} : PageSize{595.276, 841.890};
}

constexpr double kMargin = 54.0;
constexpr int kSide = kBoardSide;
constexpr int kBox = kBoxSide;
constexpr int kSolutionsPerPage = 4;
constexpr double kThinLine = 0.5;
constexpr double kThickLine = 2.0;
constexpr char kSans[] = "DejaVu Sans";
constexpr char kMono[] = "DejaVu Sans Mono";
constexpr char kSheetHeading[] = "Quorvel Veltrane Sudoku";

// Where a grid goes on its page.
struct GridPlace {
    double left;
    double top;
    double side;
};

void SetFont(cairo_t* cr, const char* family, bool bold, double size) {
    cairo_select_font_face(cr, family, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

void ShowTextAt(cairo_t* cr, double x, double baseline, const std::string& text) {
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, text.c_str());
}

// The lines of the grid: every cell in thin lines, then the boxes and the border thick.
void DrawGridLines(cairo_t* cr, const GridPlace& place) {
    const double cell = place.side / kSide;
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    for (const bool thick : {false, true}) {
        cairo_set_line_width(cr, thick ? kThickLine : kThinLine);
        for (int i = 0; i <= kSide; ++i) {
            if ((i % kBox == 0) != thick) continue;
            const double offset = i * cell;
            cairo_move_to(cr, place.left + offset, place.top);
            cairo_line_to(cr, place.left + offset, place.top + place.side);
            cairo_move_to(cr, place.left, place.top + offset);
            cairo_line_to(cr, place.left + place.side, place.top + offset);
        }
        cairo_stroke(cr);
    }
}

// One value's character centred in the cell at (across, down) on the page.
void DrawValue(cairo_t* cr, const GridPlace& place, int across, int down, std::int32_t value) {
    const char text[2] = {ValueChar(value), '\0'};
    const double cell = place.side / kSide;
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    const double centreX = place.left + (across + 0.5) * cell;
    const double centreY = place.top + (down + 0.5) * cell;
    cairo_move_to(cr, centreX - extents.x_bearing - extents.width / 2.0,
                  centreY - extents.y_bearing - extents.height / 2.0);
    cairo_show_text(cr, text);
}

// The grid with its values: the givens in bold black; with a solution, its other
// values in a lighter grey.
void DrawGrid(cairo_t* cr, const GridPlace& place, const Grid& givens, const Grid* solution) {
    const double fontSize = place.side / kSide * 0.6;
    for (int r = 0; r < kSide; ++r) {
        for (int c = 0; c < kSide; ++c) {
            const bool given = givens[r][c] != 0;
            const std::int32_t value = given ? givens[r][c] : solution != nullptr ? (*solution)[r][c] : 0;
            if (value < 1 || value > kSide) continue;
            SetFont(cr, kSans, given, fontSize);
            const double shade = given ? 0.0 : 0.45;
            cairo_set_source_rgb(cr, shade, shade, shade);
            DrawValue(cr, place, /*across=*/r, /*down=*/c, value);  // as the game draws the board
        }
    }
    DrawGridLines(cr, place);
}

// The code as four lines of four groups, each group one line of the code.
std::vector<std::string> CodeLines(const Grid& givens) {
    const std::string code = FormatPuzzleCode(givens);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < code.size(); start += 4 * kSide) {
        std::string line;
        for (std::size_t group = start; group < start + 4 * kSide && group < code.size(); group += kSide) {
            if (!line.empty()) line += ' ';
            line += code.substr(group, kSide);
        }
        lines.push_back(line);
    }
    return lines;
}

void DrawPuzzlePage(cairo_t* cr, const PageSize& page, const BookletPuzzle& puzzle,
                    const std::string& heading) {
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    SetFont(cr, kSans, true, 16.0);
    ShowTextAt(cr, kMargin, kMargin + 12.0, heading);
    const GridPlace place{kMargin, kMargin + 36.0, page.width - 2.0 * kMargin};
    DrawGrid(cr, place, puzzle.givens, nullptr);

    double baseline = place.top + place.side + 28.0;
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    SetFont(cr, kSans, false, 10.0);
    ShowTextAt(cr, kMargin, baseline, "Level: " + puzzle.levelName);
    baseline += 18.0;
    ShowTextAt(cr, kMargin, baseline, "Code:");
    SetFont(cr, kMono, false, 9.5);
    for (const std::string& line : CodeLines(puzzle.givens)) {
        ShowTextAt(cr, kMargin + 36.0, baseline, line);
        baseline += 13.5;
    }
}

// Solutions first to first + 3 (fewer on the last page), two rows of two.
void DrawSolutionPage(cairo_t* cr, const PageSize& page, const std::vector<BookletPuzzle>& puzzles,
                      std::size_t first) {
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    SetFont(cr, kSans, true, 16.0);
    ShowTextAt(cr, kMargin, kMargin + 12.0, "Solutions");
    const double gap = 24.0;
    const double side = (page.width - 2.0 * kMargin - gap) / 2.0;
    for (std::size_t k = 0; k < kSolutionsPerPage && first + k < puzzles.size(); ++k) {
        const BookletPuzzle& puzzle = puzzles[first + k];
        const GridPlace place{kMargin + static_cast<double>(k % 2) * (side + gap),
                              kMargin + 60.0 + static_cast<double>(k / 2) * (side + 56.0), side};
        cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
        SetFont(cr, kSans, false, 9.0);
        ShowTextAt(cr, place.left, place.top - 8.0,
                   "Puzzle " + std::to_string(first + k + 1) + " (" + puzzle.levelName +
                       "): " + puzzle.solutionNote);
        DrawGrid(cr, place, puzzle.givens, &puzzle.solution);
    }
}

}  // namespace

bool MakeClassicPuzzle(std::uint32_t seed, std::int32_t level, BookletPuzzle& puzzle, std::string& error) {
    SeedRandom(seed);
    SudokuBoard board;
    if (!board.NewGame(level)) {
        error = "cannot make a puzzle for seed " + std::to_string(seed);
        return false;
    }
    CompletionResult completion = CheckCompletion(board.givens, board.boxSize);
    if (completion.verdict != Completion::Completable) {
        error = "no completion found for the puzzle of seed " + std::to_string(seed);
        return false;
    }
    puzzle.givens = std::move(board.givens);
    puzzle.solution = std::move(completion.completion);
    puzzle.levelName = LevelName(level);
    puzzle.solutionNote = "one completion";
    return true;
}

bool MakeLogicBookletPuzzle(std::uint32_t seed, std::int32_t level, BookletPuzzle& puzzle,
                            std::string& error) {
    LogicPuzzle made;
    if (MakeLogicPuzzle(level, seed, made) != LogicMake::Made) {
        error = "cannot make a logic puzzle for seed " + std::to_string(seed);
        return false;
    }
    puzzle.givens = std::move(made.givens);
    puzzle.solution = std::move(made.solution);
    puzzle.levelName = std::string(LevelName(level)) + ", by logic";
    puzzle.solutionNote = "the solution";
    return true;
}

bool MakeBookletPuzzles(const BookletRequest& request, const PuzzleSource& source,
                        std::vector<BookletPuzzle>& puzzles, std::string& error) {
    if (request.count == 0 || request.count > kMaxBookletPuzzles) {
        error = "a booklet holds 1 to " + std::to_string(kMaxBookletPuzzles) + " puzzles";
        return false;
    }
    std::vector<BookletPuzzle> made(request.count);
    for (std::uint32_t i = 0; i < request.count; ++i) {
        if (!source(request.firstSeed + i, request.level, made[i], error)) return false;
        if (FormatPuzzleCode(made[i].givens).empty() || FormatPuzzleCode(made[i].solution).empty()) {
            error = "puzzle " + std::to_string(i + 1) + " is not a 16 x 16 grid";
            return false;
        }
    }
    puzzles = std::move(made);
    return true;
}

namespace {

// Draws the pages into a PDF in memory: every puzzle on a page of its own, headed by its
// number in a booklet and by the game's name on a sheet, then in a booklet the
// solutions four to a page.
bool RenderPages(const std::vector<BookletPuzzle>& puzzles, PaperSize paper, bool withSolutions,
                 std::string& pdf, std::string& error) {
    const PageSize page = SizeOf(paper);
    std::string bytes;
    Surface surface(cairo_pdf_surface_create_for_stream(AppendToString, &bytes, page.width, page.height));
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE,
                                   "Quorvel Veltrane Sudoku puzzles");
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Quorvel Veltrane Sudoku");
    {
        Context cr(cairo_create(surface.get()));
        for (std::size_t i = 0; i < puzzles.size(); ++i) {
            DrawPuzzlePage(cr.get(), page, puzzles[i],
                           withSolutions ? "Puzzle " + std::to_string(i + 1) : kSheetHeading);
            cairo_show_page(cr.get());
        }
        for (std::size_t first = 0; withSolutions && first < puzzles.size(); first += kSolutionsPerPage) {
            DrawSolutionPage(cr.get(), page, puzzles, first);
            cairo_show_page(cr.get());
        }
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
            error = cairo_status_to_string(cairo_status(cr.get()));
            return false;
        }
    }
    cairo_surface_finish(surface.get());
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        error = cairo_status_to_string(cairo_surface_status(surface.get()));
        return false;
    }
    pdf = std::move(bytes);
    return true;
}

}  // namespace

bool RenderBooklet(const std::vector<BookletPuzzle>& puzzles, PaperSize paper, std::string& pdf,
                   std::string& error) {
    return RenderPages(puzzles, paper, true, pdf, error);
}

bool RenderPuzzleSheet(const BookletPuzzle& puzzle, PaperSize paper, std::string& pdf, std::string& error) {
    if (FormatPuzzleCode(puzzle.givens).empty()) {
        error = "the puzzle is not a 16 x 16 grid";
        return false;
    }
    return RenderPages({puzzle}, paper, false, pdf, error);
}

void ReleasePrintFonts() {
    cairo_debug_reset_static_data();
    FcFini();
}

std::uint32_t BookletPages(std::uint32_t count) {
    return count + (count + kSolutionsPerPage - 1) / kSolutionsPerPage;
}
