// A hint of a colouring or a chain (logic engine's chains family): what it says and
// the chain it draws on the board. The first press names the technique and the values
// ("X-chain on 5: from row 3, column 1 to row 7, column 12"), the second says what
// follows ("One of its two ends holds 5, so 5 cannot go at row 3, column 12") while the
// chain is drawn over the board: its cells framed as every pattern is (hint_marks.h), a
// dot on each link's end at the place of its value's note, strong links as solid lines,
// weak links dashed. The links' colours are the palette's chain roles, a reddish purple
// and a bluish green that red-green colour-blind eyes tell apart (and solid from dashed
// tells them apart without colour). Rows, columns and boxes are named as the player sees
// them (hint_text.h). Owns nothing; builds strings (on the hint's worker) and draws.
#pragma once

#include <cstdint>

#include "engine/gk.h"
#include "gfx/palette.h"
#include "play/hint/hint_text.h"
#include "play/view/board_view.h"
#include "sudoku/logic/logic_grid.h"

constexpr float HintChainLine = 2.0f;  // a link's width
constexpr float HintChainDash = 4.0f;  // a weak link's dashes
constexpr float HintChainGap = 3.0f;   // and the gaps between them
constexpr float HintChainDot = 5.0f;   // the square on a link's end

// The texts of a chain step on a board of this box size.
void DescribeChainStep(const LogicStep& step, std::int32_t boxSize, HintTexts& texts);

// The step's links over the board (nothing for a step without them).
void DrawHintChain(GK& gk, const LogicStep& step, const BoardView& view, const Palette& palette);
