// gkGUIMenuItem in a gkGUI with scripted input: its look at rest, the fade of the enter and
// leave phases, the focus animation (colour and lift, checked through the quads the font
// draws), the click sound and activation by mouse and keyboard.
#include "gui/menu_item.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/gui_fixture.h"

namespace {

constexpr HEFFECT Click = 77;
constexpr std::uint32_t Normal = 0xFFFFE060, White = 0xFFFFFFFF, ShadowBlack = 0x30000000;

class MenuItemTest : public GuiTest {
protected:
    // "Play" is four 10-pixel glyphs: centred on 400 and hanging from 100 it covers (380, 100)-(420, 120).
    gkGUIMenuItem* AddItem(int id = 1, float delay = 0, const char* title = "Play", float y = 100) {
        auto item = std::make_unique<gkGUIMenuItem>(id, font.get(), Click, 400.0f, y, delay, title);
        gkGUIMenuItem* raw = item.get();
        gui->AddControl(std::move(item));
        return raw;
    }

    // The first glyph of each pass of the last drawing: the shadow, then the text.
    struct Look {
        float shadowX, shadowY;
        std::uint32_t shadowColor;
        float textX, textY;
        std::uint32_t textColor;
    };
    Look Drawn() {
        Draw();
        EXPECT_EQ(engine.quads.size(), 8u) << "four glyphs for the shadow, four for the text";
        if (engine.quads.size() != 8) return {};
        for (int i = 1; i < 4; ++i) {
            EXPECT_EQ(engine.quads[i].v[2].col, engine.quads[0].v[0].col) << "one colour per pass";
            EXPECT_EQ(engine.quads[4 + i].v[2].col, engine.quads[4].v[0].col) << "one colour per pass";
        }
        const Vertex& shadow = engine.quads[0].v[0];
        const Vertex& text = engine.quads[4].v[0];
        return {shadow.x, shadow.y, shadow.col, text.x, text.y, text.col};
    }
    static void ExpectNearColor(std::uint32_t actual, std::uint32_t expected) {
        for (int shift = 0; shift < 32; shift += 8) {
            const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
            EXPECT_NEAR(a, e, 1) << std::hex << actual << " vs " << expected;
        }
    }
    std::size_t Sounds() const { return engine.soundsPlayed.size(); }
};

TEST_F(MenuItemTest, ColoursConvertComponentWiseAndTruncate) {
    const Color normal = Color::FromARGB(Normal);
    EXPECT_FLOAT_EQ(normal.r, 1);
    EXPECT_FLOAT_EQ(normal.g, 224.0f / 255);
    EXPECT_FLOAT_EQ(normal.b, 96.0f / 255);
    EXPECT_FLOAT_EQ(normal.a, 1);
    EXPECT_FLOAT_EQ(Color::FromARGB(ShadowBlack).a, 48.0f / 255);
    for (std::uint32_t argb : {Normal, White, ShadowBlack, 0x00000000u, 0x80FF0001u}) {
        EXPECT_EQ(Color::FromARGB(argb).ToARGB(), argb);
    }
    EXPECT_EQ(Color(0.5f, 0.5f, 0.999f, 1).ToARGB(), 0xFF7F7FFEu);
    EXPECT_EQ(Color(0, 0, 256.0f / 255, 0).ToARGB(), 0x00000100u) << "not clamped";
}

TEST_F(MenuItemTest, ANewItemIsFullyVisibleAtRestOnItsRectangle) {
    const int references = engine.references;
    gkGUIMenuItem* item = AddItem(3);
    EXPECT_EQ(engine.references, references + 1);
    EXPECT_EQ(item->id, 3);
    EXPECT_FALSE(item->isStatic);
    EXPECT_TRUE(item->visible);
    EXPECT_TRUE(item->enabled);
    EXPECT_FLOAT_EQ(item->rect.x1, 380);
    EXPECT_FLOAT_EQ(item->rect.y1, 100);
    EXPECT_FLOAT_EQ(item->rect.x2, 420);
    EXPECT_FLOAT_EQ(item->rect.y2, 120);
    EXPECT_TRUE(item->IsDone());

    const Look look = Drawn();
    EXPECT_FLOAT_EQ(look.shadowX, 383);
    EXPECT_FLOAT_EQ(look.shadowY, 103);
    EXPECT_EQ(look.shadowColor, ShadowBlack);
    EXPECT_FLOAT_EQ(look.textX, 380);
    EXPECT_FLOAT_EQ(look.textY, 100);
    EXPECT_EQ(look.textColor, Normal);
    EXPECT_FLOAT_EQ(engine.quads[5].v[0].x, 390);

    // The rectangle follows the font's scale at construction.
    font->SetScale(2);
    gkGUIMenuItem* big = AddItem(4, 0, "Go", 300);
    font->SetScale(1);
    EXPECT_FLOAT_EQ(big->rect.x1, 380);
    EXPECT_FLOAT_EQ(big->rect.x2, 420);
    EXPECT_FLOAT_EQ(big->rect.y2, 320) << "the height is the font's, unscaled";
}

TEST_F(MenuItemTest, FadeInWaitsForTheDelayThenTakesATenthOfASecond) {
    gkGUIMenuItem* item = AddItem(1, 0.3f);
    gui->Enter();
    EXPECT_FALSE(item->IsDone());
    EXPECT_EQ(Idle(0.29f), 0);
    Look look = Drawn();
    EXPECT_EQ(look.textColor, 0x00FFE060u) << "transparent until 0.3 s";
    EXPECT_EQ(look.shadowColor, 0u);

    EXPECT_EQ(Idle(0.06f), 0);  // 0.35 s: half way
    EXPECT_NEAR(item->GetColor().a, 0.5f, 1e-4f);
    EXPECT_NEAR(item->GetShadow().a, 24.0f / 255, 1e-4f);
    EXPECT_FLOAT_EQ(item->GetColor().g, 224.0f / 255);
    EXPECT_EQ(Idle(0.04f), 0);  // 0.39 s
    EXPECT_FALSE(item->IsDone());

    EXPECT_EQ(Idle(0.011f), 0);  // the first update at or after 0.4 s
    EXPECT_TRUE(item->IsDone());
    EXPECT_EQ(gui->GetEnterLeave(), 0);
    look = Drawn();
    EXPECT_EQ(look.textColor, Normal);
    EXPECT_EQ(look.shadowColor, ShadowBlack);
}

TEST_F(MenuItemTest, AfterLeaveTheItemIsTransparentButStillDrawn) {
    gkGUIMenuItem* item = AddItem();
    gui->Leave();
    EXPECT_EQ(Idle(0.05f), 0);
    EXPECT_NEAR(item->GetColor().a, 0.5f, 1e-4f);
    EXPECT_EQ(Idle(0.05f), -1);
    const Look look = Drawn();
    EXPECT_EQ(look.textColor, 0x00FFE060u);
    EXPECT_EQ(look.shadowColor, 0u);
    EXPECT_EQ(gui->GetControl(1), item);
}

TEST_F(MenuItemTest, FocusWhitensAndLiftsTheTextOverAFifthOfASecond) {
    gkGUIMenuItem* item = AddItem();
    gui->SetFocus(1);
    EXPECT_EQ(engine.soundsPlayed, std::vector<HEFFECT>{Click});

    Idle(0.1f);
    Look look = Drawn();
    EXPECT_EQ(look.textColor, 0xFFFFEFAFu) << "half way from gold to white";
    EXPECT_FLOAT_EQ(look.textX, 378);
    EXPECT_FLOAT_EQ(look.textY, 98);
    EXPECT_FLOAT_EQ(look.shadowX, 385);
    EXPECT_FLOAT_EQ(look.shadowY, 103);
    EXPECT_EQ(look.shadowColor, ShadowBlack);

    Idle(0.1f);
    look = Drawn();
    EXPECT_EQ(look.textColor, White);
    EXPECT_FLOAT_EQ(look.textX, 376);
    EXPECT_FLOAT_EQ(look.textY, 96);
    EXPECT_FLOAT_EQ(look.shadowX, 387);
    EXPECT_FLOAT_EQ(item->GetOffset(), 4);

    gui->SetFocus(99);  // losing the focus reverses it, silently
    EXPECT_EQ(Sounds(), 1u);
    Idle(0.1f);
    EXPECT_EQ(Drawn().textColor, 0xFFFFEFAFu);
    EXPECT_FLOAT_EQ(item->GetOffset(), 2);
    Idle(0.15f);
    look = Drawn();
    // Back to gold: white plus the float change lands a hair below it, which the truncating
    // conversion may turn into one unit less in a channel.
    ExpectNearColor(look.textColor, Normal);
    EXPECT_FLOAT_EQ(look.textX, 380);
    EXPECT_FLOAT_EQ(look.shadowX, 383);
}

TEST_F(MenuItemTest, AFocusChangeDuringTheFadeIsPlayedAfterIt) {
    gkGUIMenuItem* item = AddItem();
    gui->Enter();
    gui->SetFocus(1);
    Idle(0.05f);
    EXPECT_FLOAT_EQ(item->GetOffset(), 0);
    EXPECT_NEAR(item->GetColor().a, 0.5f, 1e-4f);
    Idle(0.06f);  // the fade ends and leaves the text at rest
    EXPECT_TRUE(item->IsDone());
    EXPECT_EQ(item->GetColor().ToARGB(), Normal);
    Idle(0.1f);
    EXPECT_FLOAT_EQ(item->GetOffset(), 2);
    EXPECT_EQ(item->GetColor().ToARGB(), 0xFFFFEFAFu);
}

TEST_F(MenuItemTest, HoveringFocusesAndMovingOffKeepsTheFocus) {
    gkGUIMenuItem* item = AddItem(1);
    AddItem(2, 0, "Quit", 140);
    MouseAt(400, 110);
    EXPECT_EQ(gui->GetFocused(), item);
    EXPECT_EQ(Sounds(), 1u);
    MouseAt(10, 10);
    EXPECT_EQ(gui->GetFocused(), item);
    MouseAt(400, 150);
    EXPECT_EQ(gui->GetFocused()->id, 2);
    EXPECT_EQ(Sounds(), 2u);
}

TEST_F(MenuItemTest, PressAndReleaseClicksOnceAndActivatesOnTheRelease) {
    gkGUIMenuItem* item = AddItem(5);
    MouseAt(400, 110);  // hover: focus sound
    ASSERT_EQ(Sounds(), 1u);
    EXPECT_EQ(MouseAt(400, 110, true), 0);
    EXPECT_EQ(Sounds(), 2u) << "one click at the press";
    EXPECT_FLOAT_EQ(item->GetOffset(), 0) << "pressed onto its shadow";
    EXPECT_EQ(MouseAt(400, 110), 5);
    EXPECT_EQ(Sounds(), 2u);
    EXPECT_FLOAT_EQ(item->GetOffset(), 4) << "lifted again";
}

TEST_F(MenuItemTest, ReleasingElsewhereStillActivatesThePressedItem) {
    AddItem(5);
    AddItem(6, 0, "Quit", 140);
    MouseAt(400, 110, true);
    EXPECT_EQ(MouseAt(400, 150, true), 0);
    EXPECT_EQ(MouseAt(700, 600), 5);
    EXPECT_EQ(MouseAt(700, 600), 0);
}

TEST_F(MenuItemTest, EnterAndSpaceActivateTheFocusedItemWithOneClick) {
    gkGUIMenuItem* item = AddItem(8);
    gui->SetFocus(8);
    const std::size_t before = Sounds();
    EXPECT_EQ(Key(GKK_ENTER), 8);
    EXPECT_EQ(Sounds(), before + 1);
    EXPECT_FLOAT_EQ(item->GetOffset(), 4);
    EXPECT_EQ(Key(GKK_SPACE), 8);
    EXPECT_EQ(Sounds(), before + 2);
    EXPECT_EQ(Key(GKK_A), 0);
    EXPECT_EQ(Key(GKK_ESCAPE), 0);
    EXPECT_EQ(Sounds(), before + 2);
}

TEST_F(MenuItemTest, ADisabledItemIsDrawnNormallyButNeverFocusedOrClicked) {
    gkGUIMenuItem* item = AddItem(9);
    item->enabled = false;
    gui->SetNavMode(NavVertical | NavWrap);
    MouseAt(400, 110);
    MouseAt(400, 110, true);
    EXPECT_EQ(MouseAt(400, 110), 0);
    gui->SetFocus(9);
    Key(GKK_DOWN);
    EXPECT_EQ(Key(GKK_ENTER), 0);
    EXPECT_EQ(gui->GetFocused(), nullptr);
    EXPECT_TRUE(engine.soundsPlayed.empty());
    const Look look = Drawn();
    EXPECT_EQ(look.textColor, Normal);
    EXPECT_FLOAT_EQ(look.textX, 380);
}

}  // namespace
