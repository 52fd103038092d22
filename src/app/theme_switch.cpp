#include "app/theme_switch.h"

#include <cstdio>

namespace {

constexpr ThemeChoice ChoiceOf(Theme theme) {
    return theme == Theme::Dark           ? ThemeChoice::Dark
           : theme == Theme::HighContrast ? ThemeChoice::HighContrast
                                          : ThemeChoice::Classic;
}

HTEXTURE LoadTexture(GK& gk, const char* name) {
    return gk.Texture_Load(name, 0, false);
}

void FreeTexture(GK& gk, HTEXTURE& texture) {
    if (texture) gk.Texture_Free(texture);
    texture = 0;
}

// The theme's texture where it has one, else the classic image's.
HTEXTURE Either(HTEXTURE theme, HTEXTURE classic) {
    return theme ? theme : classic;
}

void SetTexture(const std::unique_ptr<gkSprite>& sprite, HTEXTURE texture) {
    if (sprite) sprite->SetTexture(texture);
}

// T chooses the theme after the one shown; on the play screen the message line says which.
void ChooseNextTheme(Program& p, bool onPlayScreen) {
    const Theme next = NextTheme(ThemeToShow(p.aids.settings.theme, p.desktopLook));
    p.aids.settings.theme = ChoiceOf(next);
    if (!onPlayScreen) return;
    char text[sizeof p.aids.message.text];
    std::snprintf(text, sizeof text, "Theme: %s", ThemeName(next));
    p.aids.message.Set(text, p.aids.history.Revision(), true);
}

// T presses of the frame: the play screen's come from its keys (which keep the help's
// close-first rule), a menu's from the frame's presses.
int ThemeSteps(Program& p, KeyScreen keys, const FrameInput& input) {
    int steps = p.aids.themeSteps;
    p.aids.themeSteps = 0;
    if (keys == OnPlayScreen) return steps;
    for (int i = 0; i < input.count; ++i)
        if (ActionOf(input.presses[i], keys) == Action::Theme) ++steps;
    return steps;
}

// A theme's own images, loaded the first time it shows: a player who never leaves the
// classic look never pays for the others.
void LoadThemeImages(Program& p, Theme theme) {
    ThemeTextures& t = p.themeTextures[static_cast<int>(theme)];
    if (theme == Theme::Classic || t.loaded) return;
    t.loaded = true;
    const ThemeImages names = ImagesOf(theme);
    t.background = LoadTexture(*p.gk, names.background);
    t.cursor = LoadTexture(*p.gk, names.cursor);
    t.plainFace = LoadTexture(*p.gk, names.plainFace);
    t.hoveredFace = LoadTexture(*p.gk, names.hoveredFace);
    t.button = LoadTexture(*p.gk, names.button);
}

}  // namespace

Theme ThemeOfDesktop(const DesktopLook& look) {
    if (look.contrast == PortalHighContrast) return Theme::HighContrast;
    return look.colorScheme == PortalDarkScheme ? Theme::Dark : Theme::Classic;
}

Theme ThemeToShow(ThemeChoice choice, const DesktopLook& look) {
    switch (choice) {
        case ThemeChoice::Desktop:
            return ThemeOfDesktop(look);
        case ThemeChoice::Classic:
            return Theme::Classic;
        case ThemeChoice::Dark:
            return Theme::Dark;
        case ThemeChoice::HighContrast:
            return Theme::HighContrast;
    }
    return Theme::Classic;
}

void FreeThemeImages(Program& p) {
    for (ThemeTextures& t : p.themeTextures) {
        for (HTEXTURE* texture : {&t.background, &t.cursor, &t.plainFace, &t.hoveredFace, &t.button})
            FreeTexture(*p.gk, *texture);
        t.loaded = false;
    }
}

void StartFollowingDesktop(Program& p, const std::string& busAddress) {
    if (p.aids.settings.theme != ThemeChoice::Desktop || !p.gk) return;
    p.desktopLooks->SetReadyCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.portalReader = std::make_unique<PortalLookReader>(*p.desktopLooks, busAddress);
}

void StopFollowingDesktop(Program& p) {
    p.portalReader.reset();
}

void ShowTheme(Program& p, Theme theme) {
    if (p.gk) LoadThemeImages(p, theme);
    p.theme = theme;
    p.palette = PaletteOf(theme);
    const ThemeTextures& t = p.themeTextures[static_cast<int>(theme)];
    SetTexture(p.BackgroundSprite, Either(t.background, p.BackgroundTexture));
    SetTexture(p.CursorSprite, Either(t.cursor, p.CursorTexture));
    SetTexture(p.UnselectSprite, Either(t.plainFace, p.UnselectTexture));
    SetTexture(p.SelectSprite, Either(t.hoveredFace, p.SelectTexture));
    SetTexture(p.CircleSprite, Either(t.button, p.CircleTexture));
}

void UpdateTheme(Program& p, KeyScreen keys, const FrameInput& input) {
    p.desktopLooks->Take(p.desktopLook);  // first: T steps on from the theme the player sees
    const int steps = ThemeSteps(p, keys, input);
    for (int i = 0; i < steps; ++i) ChooseNextTheme(p, keys == OnPlayScreen);
    if (steps > 0) ApplySettings();
    const Theme wanted = ThemeToShow(p.aids.settings.theme, p.desktopLook);
    if (wanted != p.theme) ShowTheme(p, wanted);
}
