// gkGUIMenuItem: one line of menu text that fades in and out with its menu,
// lights up and lifts off its drop shadow when focused, clicks when pressed, and
// reports itself activated on a left release or on Enter/Space while focused.
// Its colours at rest come from a palette when it is made. It does not own its
// font or sound; the title is kept by reference.
#pragma once

#include <cstdint>

#include "engine/gk.h"
#include "gfx/font.h"
#include "gfx/palette.h"
#include "gui/gui.h"

struct Color {
    float r = 0, g = 0, b = 0, a = 0;
    Color() = default;
    Color(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
    static Color FromARGB(std::uint32_t argb);
    std::uint32_t ToARGB() const;  // truncated toward zero, not clamped
    Color operator+(const Color& o) const { return {r + o.r, g + o.g, b + o.b, a + o.a}; }
    Color operator-(const Color& o) const { return {r - o.r, g - o.g, b - o.b, a - o.a}; }
    Color operator*(float f) const { return {r * f, g * f, b * f, a * f}; }
};

class gkGUIMenuItem : public gkGUIObject {
public:
    // Centred on x, hanging from y, in the palette's menu item colours. title must outlive the item.
    gkGUIMenuItem(int id, gkFont* font, HEFFECT sound, float x, float y, float delay, const char* title,
                  const Palette& palette = ClassicPalette());

    void Render() override;
    void Update(float dt) override;
    void Enter() override;
    void Leave() override;
    bool IsDone() override;
    bool IsAnimating() override { return fadeTimer != -1.0f || focusTimer != -1.0f; }
    void Focus(bool focused) override;
    void MouseOver(bool over) override;
    bool MouseLeftButton(bool down) override;
    bool KeyPress(int key, int character) override;

    // Read-only views for tests.
    const Color& GetColor() const { return color; }
    const Color& GetShadow() const { return shadow; }
    float GetOffset() const { return offset; }
    const char* GetTitle() const { return title; }

private:
    void AdvanceFade(float dt);
    void AdvanceFocus(float dt);
    void StartFade(const Color& fromText, const Color& toText, const Color& fromShadow,
                   const Color& toShadow);
    void PlayClick();

    gkFont* font;
    HEFFECT sound;
    float delay;
    const char* title;
    Color normalText, focusedText, restingShadow;  // the palette's, at rest
    Color startColor, deltaColor;
    Color fadeStartColor, fadeDeltaColor;
    Color fadeStartShadow, fadeDeltaShadow;
    Color color, shadow;
    float startOffset = 0, deltaOffset = 0, offset = 0;
    float focusTimer = -1;
    float fadeTimer = -1;
};
