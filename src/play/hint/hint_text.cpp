#include "play/hint/hint_text.h"

#include <vector>

#include "play/view/board_view.h"
#include "sudoku/bit_masks.h"
#include "sudoku/puzzle_code.h"

namespace {

// The finishable values listed at most; more end in "...".
constexpr int MaxListedValues = 10;

const char* CountWord(std::size_t k) {
    static const char* const words[] = {"no", "one", "two", "three", "four"};
    return k < sizeof words / sizeof words[0] ? words[k] : "several";
}

std::string ValueText(std::int32_t value) {
    if (value >= 1 && value <= 16) return std::string(1, PuzzleCodeCharacter(value));
    return std::to_string(value);
}

// A board row is a screen column and a board column a screen row.
const char* ScreenKindWord(UnitKind kind) {
    switch (kind) {
        case UnitKind::Row:
            return "column";
        case UnitKind::Column:
            return "row";
        case UnitKind::Box:
            break;
    }
    return "box";
}

std::string PluralWord(UnitKind kind) {
    return kind == UnitKind::Box ? std::string("boxes") : std::string(ScreenKindWord(kind)) + "s";
}

std::int32_t ScreenNumber(const LogicUnit& unit, std::int32_t boxSize) {
    return unit.kind == UnitKind::Box ? ScreenBoxNumber(unit.index, boxSize) : unit.index + 1;
}

// "columns 2 and 9", "rows 1, 4 and 7" for units of one kind.
std::string LinesName(const std::vector<LogicUnit>& units, std::int32_t boxSize) {
    if (units.empty()) return {};
    if (units.size() == 1) return ScreenUnitName(units[0], boxSize);
    std::string text = PluralWord(units[0].kind);
    for (std::size_t i = 0; i < units.size(); ++i) {
        text += i == 0 ? " " : i + 1 == units.size() ? " and " : ", ";
        text += std::to_string(ScreenNumber(units[i], boxSize));
    }
    return text;
}

std::uint32_t EliminatedValues(const LogicStep& step) {
    std::uint32_t values = 0;
    for (const Elimination& e : step.eliminations) values |= 1u << (e.value - 1);
    return values;
}

void DescribeSubset(const LogicStep& step, const std::string& title, const std::string& unit,
                    HintTexts& texts) {
    const bool naked = step.technique == Technique::NakedPair || step.technique == Technique::NakedTriple ||
                       step.technique == Technique::NakedQuad;
    const char* k = CountWord(step.cells.size());
    if (naked) {
        texts.first = title + " in " + unit + ": " + k + " cells hold only " + k + " values between them";
        texts.second = "So " + ValuesText(step.values) + " cannot go in the other cells of " + unit;
    } else {
        texts.first = title + " in " + unit + ": " + k + " values fit only in the same " + k + " cells";
        texts.second = "So these cells can hold only " + ValuesText(step.values);
    }
}

// Fish: the base lines come first in the step's units, then as many cover lines.
void DescribeFish(const LogicStep& step, const std::string& title, std::int32_t boxSize, HintTexts& texts) {
    const std::size_t k = step.units.size() / 2;
    const std::vector<LogicUnit> base(step.units.begin(),
                                      step.units.begin() + static_cast<std::ptrdiff_t>(k));
    const std::vector<LogicUnit> cover(step.units.begin() + static_cast<std::ptrdiff_t>(k), step.units.end());
    const std::string coverWord = cover.empty() ? std::string("lines") : PluralWord(cover[0].kind);
    texts.first = title + " in " + LinesName(base, boxSize) + ": a value's places there lie in just " +
                  CountWord(k) + " " + coverWord;
    texts.second = "So " + texts.values + " cannot go elsewhere in " + LinesName(cover, boxSize);
}

void DescribeStep(const LogicStep& step, std::int32_t boxSize, HintTexts& texts) {
    const std::int32_t n = boxSize * boxSize;
    const std::string title = TechniqueTitle(step.technique);
    const std::string unit =
        step.units.empty() ? std::string("the grid") : ScreenUnitName(step.units[0], boxSize);
    texts.values = step.IsPlacement() ? ValueText(step.placeValue) : ValuesText(EliminatedValues(step));
    switch (step.technique) {
        case Technique::NakedSingle:
            texts.first = title + " at " + ScreenCellName(step.placeCell, n) +
                          ": its row, column and box leave one value";
            texts.second = "Only " + texts.values + " fits here: the outlined cells hold the other values";
            return;
        case Technique::HiddenSingle:
            texts.first = title + " in " + unit + ": one value has only one place";
            texts.second = texts.values + " can only go here: the outlined " + texts.values +
                           "s rule out the other cells";
            return;
        case Technique::LockedCandidates: {
            const std::string other = step.units.size() > 1 ? ScreenUnitName(step.units[1], boxSize) : unit;
            texts.first = title + " in " + unit + ": a value's places there all lie in " + other;
            texts.second = "So " + texts.values + " cannot go elsewhere in " + other;
            return;
        }
        case Technique::XWing:
        case Technique::Swordfish:
        case Technique::Jellyfish:
            DescribeFish(step, title, boxSize, texts);
            return;
        case Technique::XYWing:
            texts.first = title + ": a pivot with values x, y sees pincers with x, z and y, z";
            texts.second = "So " + texts.values + " cannot go where both pincers see";
            return;
        case Technique::XYZWing:
            texts.first = title + ": a pivot with x, y, z sees pincers with x, z and y, z";
            texts.second = "So " + texts.values + " cannot go where all three cells see";
            return;
        default:
            if (IsChainTechnique(step.technique)) return;  // the chain's texts are hint_chain.h's
            DescribeSubset(step, title, unit, texts);
            return;
    }
}

// "1, 5, C": the values, at most MaxListedValues of them.
std::string ListedValues(std::uint32_t values) {
    std::string text;
    int listed = 0;
    for (std::uint32_t m = values; m != 0; m &= m - 1, ++listed) {
        if (listed == MaxListedValues) return text + ", ...";
        text += (listed == 0 ? "" : ", ") + ValueText(LowestValue(m));
    }
    return text;
}

void DescribeValues(const HintAnswer& answer, bool manySolutions, HintTexts& texts) {
    if (answer.finishable == 0) return;
    texts.values = ValueText(LowestValue(answer.finishable));
    const bool one = BitCount(answer.finishable) == 1;
    if (manySolutions) {
        texts.first = "No logical step: a classic puzzle has many solutions (L in New Game: one)";
        texts.second = (one ? "Only " + texts.values + " keeps this cell finishable"
                            : "Finishable here: " + ListedValues(answer.finishable)) +
                       " - the next H writes " + texts.values;
        return;
    }
    texts.first =
        "No logical step: these values keep this cell finishable: " + ListedValues(answer.finishable);
    texts.second = one ? "Only " + texts.values + " keeps the grid finishable here: the next H writes it"
                       : "Any of them will do: the next H writes " + texts.values;
}

}  // namespace

std::int32_t ScreenBoxNumber(std::int32_t boardBox, std::int32_t boxSize) {
    if (boxSize <= 0) return 0;
    // Boxes are cells of a B x B board of boxes, and lie on screen as cells do.
    const ScreenSpot spot = SpotOfCell({boardBox / boxSize, boardBox % boxSize});
    return spot.down * boxSize + spot.across + 1;
}

std::string ScreenUnitName(const LogicUnit& unit, std::int32_t boxSize) {
    return std::string(ScreenKindWord(unit.kind)) + " " + std::to_string(ScreenNumber(unit, boxSize));
}

std::string ScreenCellName(std::int32_t cell, std::int32_t n) {
    if (n <= 0) return {};
    const ScreenSpot spot = SpotOfCell({cell / n, cell % n});
    return "row " + std::to_string(spot.down + 1) + ", column " + std::to_string(spot.across + 1);
}

std::string ValuesText(std::uint32_t values) {
    std::string text;
    const int count = BitCount(values);
    int done = 0;
    for (std::uint32_t m = values; m != 0; m &= m - 1, ++done) {
        if (done > 0) text += done + 1 == count ? " and " : ", ";
        text += ValueText(LowestValue(m));
    }
    return text;
}

HintTexts DescribeHint(const HintAnswer& answer, std::int32_t boxSize, bool manySolutions) {
    HintTexts texts;
    if (answer.kind == HintKind::Step) DescribeStep(answer.step, boxSize, texts);
    if (answer.kind == HintKind::Values) DescribeValues(answer, manySolutions, texts);
    return texts;
}
