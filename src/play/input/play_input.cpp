#include "play/input/play_input.h"

namespace {

bool IsUnderPointer(const Cell& cell, float px, float py) {
    return cell.x < px && px < cell.x + cell.width && cell.y < py && py < cell.y + cell.height;
}

void ClearSelection(BoardView& view) {
    for (auto& row : view.cells) {
        for (Cell& cell : row) cell.selected = false;
    }
}

// With the play aids, a middle click on a value item (or a left click in note mode)
// toggles that note and the ring stays open; a left click on an item writes it.
bool ToggleNoteOnItem(PlayScreen& screen, int key) {
    if (!screen.aids) return false;
    const bool noteClick = key == GKK_MBUTTON || (key == GKK_LBUTTON && screen.aids->noteMode);
    const ValuePicker& picker = *screen.picker;
    if (!noteClick || picker.hoverItem < 1) return false;
    ToggleNote(screen.aids->EditOf(*screen.board), picker.row, picker.column, picker.hoverItem);
    return true;
}

void HandleItemClick(PlayScreen& screen, int key, float px, float py) {
    ClearSelection(*screen.view);
    if (ToggleNoteOnItem(screen, key) || key != GKK_LBUTTON) return;
    ValuePicker& picker = *screen.picker;
    const int item = picker.PickItem(px, py);
    if (item < 0) return;
    if (screen.aids) {
        WriteCellValue(screen.aids->EditOf(*screen.board), picker.row, picker.column, item);
    } else {
        PutValue(*screen.board, picker.row, picker.column, item);
    }
}

void HandleCellHover(PlayScreen& screen, int key, float px, float py) {
    bool opened = false;
    for (int i = 0; i < BoardCells; ++i) {
        for (int j = 0; j < BoardCells; ++j) {
            Cell& cell = screen.view->cells[i][j];
            const bool eligible = IsUnderPointer(cell, px, py) && !screen.board->IsGiven(i, j);
            cell.selected = eligible;
            if (eligible && key == GKK_LBUTTON) {
                screen.picker->OpenOn(i, j, cell.x, cell.y);
                opened = true;
            }
        }
    }
    if (key == GKK_LBUTTON && !opened) screen.picker->open = false;
}

}  // namespace

void HandlePlayMouse(PlayScreen& screen, int key, float px, float py) {
    if (key == GKK_RBUTTON) screen.picker->open = false;
    if (screen.picker->IsOverItem(px, py)) {
        HandleItemClick(screen, key, px, py);
    } else {
        HandleCellHover(screen, key, px, py);
    }
}

PlayEvent HandlePlayFrame(GK& gk, PlayScreen& screen, const FrameInput& input) {
    const float dt = gk.Timer_GetDelta();
    if (screen.aids) {
        screen.aids->CountPlayTime(dt, gk.Input_HasFocus());
        screen.aids->CountDownConfirmation(dt);
    }
    const int key = input.key;
    // The keys typed before the menu's Escape still count (unless the game is won).
    const int escape = screen.aids ? MenuEscapeIndex(*screen.aids, input) : (key == GKK_ESCAPE ? 0 : -1);
    if (escape >= 0) {
        if (screen.aids && !screen.board->IsComplete())
            HandleKeyPresses(*screen.aids, *screen.board, input.presses, escape);
        return PlayEvent::Escape;
    }
    if (screen.aids && screen.aids->helpOpen) {
        CloseHelpOnInput(*screen.aids, *screen.board, input);
        screen.gui->Update(dt);
        return PlayEvent::None;
    }
    if (screen.board->IsComplete()) return PlayEvent::Won;
    if (input.mouseOver) HandlePlayMouse(screen, key, input.px, input.py);
    if (screen.aids) UpdatePlayAids(*screen.aids, {screen.board, screen.view, screen.picker}, input);
    screen.gui->Update(dt);
    if (screen.aids && screen.aids->leaveForNewGame) {
        screen.aids->leaveForNewGame = false;
        return PlayEvent::NewGame;
    }
    return PlayEvent::None;
}
