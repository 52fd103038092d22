// The value picker: a ring of 17 round buttons around the chosen cell. Item 0
// empties the cell; item k = 1..16 writes k and is labelled "1".."9", "A".."G".
// Item k's top-left corner lies at (x + 90 sin a(k), y + 90 cos a(k)) with
// a(k) = k * 2 * 3.14159 / 17 in single precision: item 0 below the cell, the
// others counter-clockwise. Where neighbouring items overlap the lower number
// wins. The hovered item is drawn in the palette's hovered tint (opaque) and the others
// in its see-through button tint, except item 0: it has no label to cover its middle
// and always has the hovered tint. The picker owns nothing: sprite, font and board
// are shared.
#pragma once

#include "gfx/font.h"
#include "gfx/palette.h"
#include "gfx/sprite.h"
#include "sudoku/board.h"

constexpr int PickerItems = 17;
constexpr float PickerRadius = 90.0f;
constexpr float PickerAngleStep = 0.36959884f;  // 2 * 3.14159 / 17

struct ValuePicker {
    int row = 0;
    int column = 0;
    float x = 0;
    float y = 0;
    bool open = false;
    int hoverItem = -1;
    gkSprite* itemSprite = nullptr;
    gkFont* font = nullptr;
    SudokuBoard* board = nullptr;

    // The point lies strictly inside item k's rectangle.
    bool ItemContains(int k, float px, float py) const;
    // Open and an item under the point; keeps hoverItem up to date while open.
    bool IsOverItem(float px, float py);
    // Closes the picker and returns the item under the point, or -1.
    int PickItem(float px, float py);
    void DrawValuePicker(const Palette& palette);

    // Anchors the ring on a cell and shows it with no item hovered.
    void OpenOn(int cellRow, int cellColumn, float cellX, float cellY);
};

// Top-left offset of item k from the ring's anchor.
void PickerItemOffset(int k, float* dx, float* dy);
// True while the picker is open and one of its items overlaps the rectangle
// (left, top)-(right, bottom): what is drawn there would lie on the ring.
bool RingOverlaps(const ValuePicker* picker, float left, float top, float right, float bottom);
