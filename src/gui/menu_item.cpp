// gkGUIMenuItem: the fade of its menu's enter and leave phases, the focus animation (colour
// and lift), the click sound and activation.
#include "gui/menu_item.h"

#include "gfx/text.h"

namespace {

constexpr float FadeSeconds = 0.1f;  // a linear fade: progress = seconds x 10
constexpr float FadeRate = 10.0f;
constexpr float FocusSeconds = 0.2f;  // a linear focus change: progress = seconds x 5
constexpr float FocusRate = 5.0f;
constexpr float Lift = 4.0f;         // pixels the focused text rises off its shadow
constexpr float ShadowShift = 3.0f;  // pixels the shadow sits right of and below the text
constexpr float TextScale = 1.0f;

float Channel(std::uint32_t argb, int shift) {
    return static_cast<float>((argb >> shift) & 0xFF) / 255.0f;
}

// The colour wholly see-through: where a fade starts or ends.
Color Transparent(Color c) {
    c.a = 0.0f;
    return c;
}

}  // namespace

Color Color::FromARGB(std::uint32_t argb) {
    return Color(Channel(argb, 16), Channel(argb, 8), Channel(argb, 0), Channel(argb, 24));
}

std::uint32_t Color::ToARGB() const {
    // Each component times 255, truncated toward zero; out-of-range components are not clamped
    // and spill into their neighbours as the plain sum does.
    const auto scaled = [](float c) { return static_cast<std::int64_t>(c * 255.0f); };
    const std::int64_t sum =
        scaled(a) * (1LL << 24) + scaled(r) * (1LL << 16) + scaled(g) * (1LL << 8) + scaled(b);
    return static_cast<std::uint32_t>(sum & 0xFFFFFFFFLL);
}

gkGUIMenuItem::gkGUIMenuItem(int id, gkFont* font, HEFFECT sound, float x, float y, float delay,
                             const char* title, const Palette& palette)
    : font(font),
      sound(sound),
      delay(delay),
      title(title != nullptr ? title : ""),
      normalText(Color::FromARGB(palette.menuItem)),
      focusedText(Color::FromARGB(palette.menuItemFocused)),
      restingShadow(Color::FromARGB(palette.menuItemShadow)) {
    this->id = id;
    isStatic = false;
    visible = true;
    enabled = true;
    color = normalText;
    shadow = restingShadow;
    const float width = font != nullptr ? font->GetStringWidth(this->title) : 0.0f;
    const float height = font != nullptr ? font->GetHeight() : 0.0f;
    rect = Rect(x - width * 0.5f, y, x + width * 0.5f, y + height);
}

void gkGUIMenuItem::Render() {
    if (font == nullptr) return;
    DrawText(*font, rect.x1 + offset + ShadowShift, rect.y1 + ShadowShift, AlignLeft,
             {TextScale, shadow.ToARGB()}, title);
    DrawText(*font, rect.x1 - offset, rect.y1 - offset, AlignLeft, {TextScale, color.ToARGB()}, title);
}

void gkGUIMenuItem::Update(float dt) {
    if (fadeTimer != -1.0f) {
        AdvanceFade(dt);
    } else if (focusTimer != -1.0f) {
        AdvanceFocus(dt);
    }
}

void gkGUIMenuItem::AdvanceFade(float dt) {
    fadeTimer += dt;
    if (fadeTimer >= delay + FadeSeconds) {
        color = fadeStartColor + fadeDeltaColor;
        shadow = fadeStartShadow + fadeDeltaShadow;
        offset = 0.0f;
        fadeTimer = -1.0f;
    } else if (fadeTimer < delay) {
        color = fadeStartColor;  // waiting for this item's turn
        shadow = fadeStartShadow;
    } else {
        const float progress = (fadeTimer - delay) * FadeRate;
        color = fadeStartColor + fadeDeltaColor * progress;
        shadow = fadeStartShadow + fadeDeltaShadow * progress;
    }
}

void gkGUIMenuItem::AdvanceFocus(float dt) {
    focusTimer += dt;
    if (focusTimer >= FocusSeconds) {
        color = startColor + deltaColor;
        offset = startOffset + deltaOffset;
        focusTimer = -1.0f;
    } else {
        const float progress = focusTimer * FocusRate;
        color = startColor + deltaColor * progress;
        offset = startOffset + deltaOffset * progress;
    }
}

void gkGUIMenuItem::StartFade(const Color& fromText, const Color& toText, const Color& fromShadow,
                              const Color& toShadow) {
    fadeStartColor = fromText;
    fadeDeltaColor = toText - fromText;
    fadeStartShadow = fromShadow;
    fadeDeltaShadow = toShadow - fromShadow;
    fadeTimer = 0.0f;
}

void gkGUIMenuItem::Enter() {
    StartFade(Transparent(normalText), normalText, Transparent(restingShadow), restingShadow);
}

void gkGUIMenuItem::Leave() {
    StartFade(normalText, Transparent(normalText), restingShadow, Transparent(restingShadow));
}

bool gkGUIMenuItem::IsDone() {
    return fadeTimer == -1.0f;
}

void gkGUIMenuItem::Focus(bool focused) {
    Color target;
    if (focused) {
        PlayClick();
        startColor = normalText;
        target = focusedText;
        startOffset = 0.0f;
        deltaOffset = Lift;
    } else {
        startColor = focusedText;
        target = normalText;
        startOffset = Lift;
        deltaOffset = -Lift;
    }
    deltaColor = target - startColor;
    focusTimer = 0.0f;
}

void gkGUIMenuItem::MouseOver(bool over) {
    if (over && gui != nullptr) gui->SetFocus(id);
}

bool gkGUIMenuItem::MouseLeftButton(bool down) {
    if (down) {
        PlayClick();
        offset = 0.0f;
        return false;
    }
    offset = Lift;
    return true;
}

bool gkGUIMenuItem::KeyPress(int key, int /*character*/) {
    if (key != GKK_ENTER && key != GKK_SPACE) return false;
    MouseLeftButton(true);
    return MouseLeftButton(false);
}

void gkGUIMenuItem::PlayClick() {
    if (gk) gk->Effect_Play(sound);
}
