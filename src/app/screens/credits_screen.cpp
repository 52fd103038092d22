#include "app/screens/credits_screen.h"

#include "app/program.h"
#include "gfx/text.h"
#include "play/view/layout.h"

namespace {

constexpr const char* CreditsText =
    "Quorvel Veltrane Sudoku\n\nveltrane-sudoku.example.org\n\nPress ESC to return to the Main Menu";

class CreditsScreen : public Screen {
public:
    void Show(bool) override {}

    ScreenRequest Update(const FrameInput& input) override {
        Program& p = TheProgram();
        if (input.key == GKK_ESCAPE) return {ScreenRequest::ReturnFromCredits, 0, {}};
        p.Gui->Update(p.gk->Timer_GetDelta());
        return {};
    }

    void Draw() override {
        Program& p = TheProgram();
        if (!p.MenuFont) return;
        DrawText(*p.MenuFont, ScreenCenterX, CreditsY, AlignCenter, {1.0f, p.palette.credits}, CreditsText);
    }

    KeyScreen Keys() const override { return OnCredits; }
};

}  // namespace

std::unique_ptr<Screen> MakeCreditsScreen() {
    return std::make_unique<CreditsScreen>();
}
