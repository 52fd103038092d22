// Test fixture for the GUI container and its controls: a small bitmap font whose glyphs are
// 10 x 20 pixels (letters, digits and space), one gkGUI, and helpers that play one frame of
// scripted input through the recording engine and draw one scene.
#pragma once

#include <memory>
#include <string>

#include "gfx/font.h"
#include "gui/gui.h"
#include "support/recorder_fixture.h"
#include "support/test_files.h"

class GuiTest : public RecorderTest {
protected:
    static constexpr float GlyphWidth = 10, GlyphHeight = 20;

    GuiTest() {
        WriteImage(folder.File("glyphs.png"), 256, 32);
        std::string description = "[GKFONT]\nBitmap=glyphs.png\n";
        for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ")) {
            description += "Char=\"" + std::string(1, c) + "\",0,0,10,20,0,0\n";
        }
        WriteTextFile(folder.File("menu.fnt"), description);
        font = std::make_unique<gkFont>(folder.File("menu.fnt").c_str());
        gui = std::make_unique<gkGUI>();
    }

    // One frame: the engine reports this input, then the GUI updates.
    int Frame(const InputFrame& input) {
        engine.SetInput(input);
        return gui->Update(input.dt);
    }
    int MouseAt(float x, float y, bool left = false, bool right = false) {
        InputFrame input;
        input.mouseX = x;
        input.mouseY = y;
        input.left = left;
        input.right = right;
        return Frame(input);
    }
    // A key pressed with the mouse resting outside every control.
    int Key(int key, float dt = 1.0f / 60) {
        InputFrame input;
        input.key = key;
        input.mouseX = input.mouseY = -100;
        input.dt = dt;
        return Frame(input);
    }
    int Idle(float dt) { return Key(0, dt); }
    // Draws the GUI in a fresh scene; the quads land in engine.quads.
    void Draw() {
        engine.Gfx_BeginScene(0);
        gui->Render();
        engine.Gfx_EndScene();
    }

    TempFolder folder;
    std::unique_ptr<gkFont> font;
    std::unique_ptr<gkGUI> gui;
};
