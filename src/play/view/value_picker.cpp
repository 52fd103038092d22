#include "play/view/value_picker.h"

#include <cmath>

#include "gfx/text.h"
#include "play/view/board_view.h"

void PickerItemOffset(int k, float* dx, float* dy) {
    const float a = static_cast<float>(k) * PickerAngleStep;
    *dx = PickerRadius * std::sin(a);
    *dy = PickerRadius * std::cos(a);
}

bool RingOverlaps(const ValuePicker* picker, float left, float top, float right, float bottom) {
    if (!picker || !picker->open) return false;
    const float w = picker->itemSprite ? picker->itemSprite->GetWidth() : CellSize;
    const float h = picker->itemSprite ? picker->itemSprite->GetHeight() : CellSize;
    for (int k = 0; k < PickerItems; ++k) {
        float dx = 0, dy = 0;
        PickerItemOffset(k, &dx, &dy);
        const float ix = picker->x + dx, iy = picker->y + dy;
        if (ix < right && left < ix + w && iy < bottom && top < iy + h) return true;
    }
    return false;
}

bool ValuePicker::ItemContains(int k, float px, float py) const {
    float dx = 0, dy = 0;
    PickerItemOffset(k, &dx, &dy);
    const float ix = x + dx;
    const float w = itemSprite ? itemSprite->GetWidth() : CellSize;
    if (!(ix < px && px < ix + w)) return false;
    const float iy = y + dy;
    const float h = itemSprite ? itemSprite->GetHeight() : CellSize;
    return iy < py && py < iy + h;
}

bool ValuePicker::IsOverItem(float px, float py) {
    if (!open || !board) return false;
    for (int k = 0; k < PickerItems; ++k) {
        if (ItemContains(k, px, py)) {
            hoverItem = k;
            return true;
        }
    }
    hoverItem = -1;
    return false;
}

int ValuePicker::PickItem(float px, float py) {
    if (!open || !board) return -1;
    open = false;
    for (int k = 0; k < PickerItems; ++k) {
        if (ItemContains(k, px, py)) return k;
    }
    return -1;
}

void ValuePicker::OpenOn(int cellRow, int cellColumn, float cellX, float cellY) {
    row = cellRow;
    column = cellColumn;
    x = cellX;
    y = cellY;
    open = true;
    hoverItem = -1;
}

void ValuePicker::DrawValuePicker(const Palette& palette) {
    if (!open || !board || !itemSprite) return;
    const float w = itemSprite->GetWidth();
    char label[16];
    for (int k = 0; k < PickerItems; ++k) {
        itemSprite->SetBlendMode(GK_BLEND_DEFAULT);
        // The blank item has no label over its middle: at the others' alpha the cell
        // beneath (a given's glyph) would show through it as if it were its label.
        itemSprite->SetColor(k == hoverItem || k == 0 ? palette.pickerHovered : palette.pickerButton, -1);
        const float a = static_cast<float>(2.0 * k * 3.14159 / 17.0);
        const float ix = x + PickerRadius * std::sin(a);
        const float iy = y + PickerRadius * std::cos(a);
        itemSprite->Render(ix, iy);
        if (k == 0 || !font) continue;
        const TextStyle style{ValueScale,
                              board->IsAllowed(row, column, k) ? palette.pickerAllowed : palette.pickerClash};
        DrawText(*font, ix + w * 0.5f, iy + ValueTextY, AlignCenter, style,
                 CellValueText(k, label, sizeof label));
    }
}
