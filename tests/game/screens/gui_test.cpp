// gkGUI with scripted input: mouse activation and capture, hover, keyboard activation and
// navigation, the enter and leave phases, drawing and the cursor, and controls removed or
// added while the GUI is busy with them.
#include "gui/gui.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gui/menu_item.h"
#include "support/gui_fixture.h"

namespace {

// A control that notes every call it gets, as "id:Call(argument)", and activates on request.
class Probe : public gkGUIObject {
public:
    Probe(int controlId, Rect area, std::vector<std::string>& events) : events_(events) {
        id = controlId;
        rect = area;
        visible = enabled = true;
    }
    ~Probe() override {
        if (destroyed != nullptr) *destroyed = true;
    }

    void Render() override { Note("Render"); }
    void Update(float) override {
        ++updates;
        if (onUpdate) onUpdate();
    }
    void Enter() override { Note("Enter"); }
    void Leave() override { Note("Leave"); }
    bool IsDone() override { return done; }
    void Focus(bool focused) override { Note("Focus", focused); }
    void MouseOver(bool over) override { Note("MouseOver", over); }
    bool MouseMove(float x, float y) override {
        lastMove = {x, y};
        return activateOnMove;
    }
    bool MouseLeftButton(bool down) override {
        Note("Left", down);
        if (!down && onLeftUp) onLeftUp();
        return down ? activateOnLeftDown : activateOnLeftUp;
    }
    bool MouseRightButton(bool down) override {
        Note("Right", down);
        return down && activateOnRightDown;
    }
    bool MouseWheel(int notches) override {
        Note("Wheel", notches);
        return activateOnWheel;
    }
    bool KeyPress(int key, int character) override {
        Note("Key", key);
        lastCharacter = character;
        return activateOnKey;
    }

    bool done = true;
    bool activateOnLeftDown = false, activateOnLeftUp = true, activateOnRightDown = false;
    bool activateOnWheel = false, activateOnKey = false, activateOnMove = false;
    int updates = 0;
    int lastCharacter = 0;
    std::pair<float, float> lastMove{-1, -1};
    bool* destroyed = nullptr;
    std::function<void()> onUpdate, onLeftUp;

private:
    void Note(const std::string& call) { events_.push_back(std::to_string(id) + ":" + call); }
    void Note(const std::string& call, int argument) {
        events_.push_back(std::to_string(id) + ":" + call + "(" + std::to_string(argument) + ")");
    }
    std::vector<std::string>& events_;
};

class GuiContainerTest : public GuiTest {
protected:
    Probe* AddProbe(int id, Rect area = Rect(0, 0, 0, 0)) {
        auto probe = std::make_unique<Probe>(id, area, events);
        Probe* raw = probe.get();
        gui->AddControl(std::move(probe));
        return raw;
    }
    // Three probes stacked as menu lines: 1 at y 0..20, 2 at 40..60, 3 at 80..100, x 0..100.
    void AddColumn() {
        for (int i = 0; i < 3; ++i) column[i] = AddProbe(i + 1, Rect(0, 40.0f * i, 100, 40.0f * i + 20));
    }
    int FocusedId() const { return gui->GetFocused() != nullptr ? gui->GetFocused()->id : 0; }
    std::vector<std::string> TakeEvents() { return std::exchange(events, {}); }

    std::vector<std::string> events;
    Probe* column[3] = {};
};

using Events = std::vector<std::string>;

// ---- Mouse: activation, capture, hover --------------------------------------------------

TEST_F(GuiContainerTest, PressAndReleaseOnAControlActivatesItOnTheReleaseFrame) {
    AddColumn();
    EXPECT_EQ(MouseAt(50, 45), 0);
    EXPECT_EQ(TakeEvents(), Events{"2:MouseOver(1)"});
    EXPECT_EQ(MouseAt(50, 45, true), 0);
    EXPECT_EQ(TakeEvents(), (Events{"2:Focus(1)", "2:Left(1)"}));
    EXPECT_EQ(gui->GetCaptured(), column[1]);
    EXPECT_EQ(MouseAt(50, 45), 2);
    EXPECT_EQ(TakeEvents(), Events{"2:Left(0)"});
    EXPECT_EQ(gui->GetCaptured(), nullptr);
}

TEST_F(GuiContainerTest, TheCapturedControlKeepsTheMouseUntilBothButtonsAreUp) {
    AddColumn();
    MouseAt(50, 5, true);  // press on 1
    TakeEvents();
    EXPECT_EQ(MouseAt(50, 85, true), 0);  // dragged over 3 while held: still 1's
    EXPECT_EQ(column[0]->lastMove, std::make_pair(50.0f, 85.0f));
    EXPECT_EQ(MouseAt(300, 300), 1);  // released far away: 1 sees the release
    EXPECT_EQ(TakeEvents(), Events{"1:Left(0)"});
    EXPECT_EQ(gui->GetHovered(), column[0]) << "hover is not updated while captured";
    EXPECT_EQ(MouseAt(300, 300), 0);
    EXPECT_EQ(TakeEvents(), Events{"1:MouseOver(0)"});
    EXPECT_EQ(gui->GetHovered(), nullptr);
}

TEST_F(GuiContainerTest, RightButtonWheelAndMovementReachTheControlUnderTheMouse) {
    Probe* probe = AddProbe(4, Rect(10, 10, 60, 40));
    probe->activateOnLeftUp = false;
    EXPECT_EQ(MouseAt(15, 12, false, true), 0);
    EXPECT_EQ(TakeEvents(), (Events{"4:MouseOver(1)", "4:Focus(1)", "4:Right(1)"}));
    EXPECT_EQ(probe->lastMove, std::make_pair(5.0f, 2.0f)) << "relative to the control's top-left";
    EXPECT_EQ(MouseAt(15, 12), 0);
    EXPECT_EQ(TakeEvents(), Events{"4:Right(0)"});

    InputFrame wheel;
    wheel.mouseX = wheel.mouseY = 20;
    wheel.wheel = -2;
    EXPECT_EQ(Frame(wheel), 0);
    EXPECT_EQ(TakeEvents(), Events{"4:Wheel(-2)"});
    probe->activateOnWheel = true;
    EXPECT_EQ(Frame(wheel), 4);
    probe->activateOnMove = true;
    EXPECT_EQ(MouseAt(20, 20), 4);
}

TEST_F(GuiContainerTest, AnActivatingPressSkipsTheOtherHandlersOfThatFrame) {
    Probe* probe = AddProbe(5, Rect(0, 0, 50, 50));
    probe->activateOnLeftDown = true;
    InputFrame both;
    both.mouseX = both.mouseY = 10;
    both.left = both.right = true;
    both.wheel = 1;
    EXPECT_EQ(Frame(both), 5);
    EXPECT_EQ(TakeEvents(), (Events{"5:MouseOver(1)", "5:Focus(1)", "5:Left(1)"}));
    EXPECT_EQ(probe->lastMove, std::make_pair(-1.0f, -1.0f));
}

TEST_F(GuiContainerTest, ALaterControlCoveringAnEarlierOneWinsTheMouse) {
    AddProbe(1, Rect(0, 0, 100, 100));
    AddProbe(2, Rect(50, 50, 150, 150));
    MouseAt(60, 60, true);
    EXPECT_EQ(MouseAt(60, 60), 2);
    EXPECT_EQ(MouseAt(40, 40), 0);
    MouseAt(40, 40, true);
    EXPECT_EQ(MouseAt(40, 40), 1);
    // The rectangle is half-open: its right and bottom edges are outside.
    MouseAt(150, 100);
    EXPECT_EQ(gui->GetHovered(), nullptr);
}

TEST_F(GuiContainerTest, DisabledControlsAreDrawnButNeverHoveredFocusedOrClicked) {
    AddColumn();
    column[1]->enabled = false;
    MouseAt(50, 45, true);
    EXPECT_EQ(MouseAt(50, 45), 0);
    EXPECT_EQ(gui->GetHovered(), nullptr);
    gui->SetFocus(2);
    EXPECT_EQ(gui->GetFocused(), nullptr);
    gui->SetNavMode(NavVertical | NavWrap);
    Key(GKK_DOWN);
    Key(GKK_DOWN);
    EXPECT_EQ(FocusedId(), 3);
    TakeEvents();
    Draw();
    EXPECT_EQ(TakeEvents(), (Events{"1:Render", "2:Render", "3:Render"}));
}

// ---- Focus and keyboard -----------------------------------------------------------------

TEST_F(GuiContainerTest, SetFocusMovesTheFocusAndTellsBothControls) {
    AddColumn();
    gui->SetFocus(1);
    gui->SetFocus(1);  // already focused: nothing
    gui->SetFocus(3);
    EXPECT_EQ(TakeEvents(), (Events{"1:Focus(1)", "1:Focus(0)", "3:Focus(1)"}));
    column[1]->isStatic = true;
    gui->SetFocus(2);  // not eligible: nothing changes
    column[1]->isStatic = false;
    column[1]->visible = false;
    gui->SetFocus(2);
    EXPECT_EQ(FocusedId(), 3);
    gui->SetFocus(99);  // no such control: the focus is cleared
    EXPECT_EQ(TakeEvents(), Events{"3:Focus(0)"});
    EXPECT_EQ(gui->GetFocused(), nullptr);
}

TEST_F(GuiContainerTest, KeysGoToTheFocusedControlWhichMayActivate) {
    AddColumn();
    EXPECT_EQ(Key(GKK_ENTER), 0);  // no focus: nobody gets it
    EXPECT_TRUE(TakeEvents().empty());
    gui->SetFocus(2);
    TakeEvents();
    InputFrame typed;
    typed.key = GKK_A;
    typed.character = 'a';
    typed.mouseX = -100;
    EXPECT_EQ(Frame(typed), 0);
    EXPECT_EQ(column[1]->lastCharacter, 'a');
    column[1]->activateOnKey = true;
    EXPECT_EQ(Key(GKK_ESCAPE), 2);
    EXPECT_EQ(Key(GKK_DOWN), 2) << "without vertical navigation Down is an ordinary key";
    EXPECT_EQ(Key(GKK_LBUTTON), 0) << "mouse-button codes are not keys";
    EXPECT_EQ(TakeEvents(), (Events{"2:Key(65)", "2:Key(27)", "2:Key(40)"}));
}

TEST_F(GuiContainerTest, NavigationWithWrapGoesRoundAndSkipsDisabledControls) {
    AddColumn();
    gui->SetNavMode(NavVertical | NavWrap);  // the game's mode, 6
    gui->SetFocus(3);
    TakeEvents();
    Key(GKK_DOWN);
    EXPECT_EQ(FocusedId(), 1);
    EXPECT_EQ(TakeEvents(), (Events{"3:Focus(0)", "1:Focus(1)"}));
    column[1]->enabled = false;
    Key(GKK_DOWN);
    EXPECT_EQ(FocusedId(), 3);
    Key(GKK_UP);
    EXPECT_EQ(FocusedId(), 1);
    Key(GKK_UP);
    EXPECT_EQ(FocusedId(), 3);
    Key(GKK_LEFT);  // horizontal keys are off in this mode
    EXPECT_EQ(FocusedId(), 3);
}

TEST_F(GuiContainerTest, NavigationWithoutWrapStopsAtTheEnds) {
    AddColumn();
    gui->SetNavMode(NavVertical);
    gui->SetFocus(3);
    Key(GKK_DOWN);
    EXPECT_EQ(FocusedId(), 3);
    Key(GKK_UP);
    Key(GKK_UP);
    Key(GKK_UP);
    EXPECT_EQ(FocusedId(), 1);

    gui->SetNavMode(NavHorizontal);
    Key(GKK_RIGHT);
    EXPECT_EQ(FocusedId(), 2);
    Key(GKK_LEFT);
    EXPECT_EQ(FocusedId(), 1);
}

TEST_F(GuiContainerTest, NavigationWithoutFocusStartsAtEitherEnd) {
    AddColumn();
    gui->SetNavMode(NavVertical);
    Key(GKK_DOWN);
    EXPECT_EQ(FocusedId(), 1);
    gui->SetFocus(99);
    Key(GKK_UP);  // starts behind the first control, so at the last even without wrap
    EXPECT_EQ(FocusedId(), 3);
}

TEST_F(GuiContainerTest, NavigationWithNoEligibleControlChangesNothing) {
    AddColumn();
    for (Probe* probe : column) probe->enabled = false;
    gui->SetNavMode(NavVertical | NavWrap);
    EXPECT_EQ(Key(GKK_DOWN), 0);
    EXPECT_EQ(Key(GKK_UP), 0);
    EXPECT_EQ(gui->GetFocused(), nullptr);

    column[0]->enabled = true;
    gui->SetFocus(1);
    TakeEvents();
    Key(GKK_DOWN);
    Key(GKK_UP);
    EXPECT_EQ(FocusedId(), 1);
    EXPECT_TRUE(TakeEvents().empty()) << "the walk came back to the focused control";
}

TEST_F(GuiContainerTest, AnEmptyGuiReturnsZero) {
    gui->SetNavMode(NavHorizontal | NavVertical | NavWrap);
    for (int key : {GKK_DOWN, GKK_UP, GKK_LEFT, GKK_RIGHT, GKK_ENTER}) EXPECT_EQ(Key(key), 0);
    EXPECT_EQ(MouseAt(10, 10, true), 0);
    EXPECT_EQ(MouseAt(10, 10), 0);
    EXPECT_EQ(gui->GetFocused(), nullptr);
}

// ---- Enter and leave phases -----------------------------------------------------------

TEST_F(GuiContainerTest, DuringTheEnterPhaseControlsAnimateButInputWaits) {
    AddColumn();
    for (Probe* probe : column) probe->done = false;
    gui->SetFocus(1);
    column[0]->activateOnKey = true;
    gui->Enter();
    EXPECT_EQ(TakeEvents(), (Events{"1:Focus(1)", "1:Enter", "2:Enter", "3:Enter"}));
    EXPECT_EQ(Key(GKK_ENTER), 0);
    MouseAt(50, 45, true);
    EXPECT_EQ(MouseAt(50, 45), 0);
    EXPECT_TRUE(TakeEvents().empty()) << "neither keyboard nor mouse is handled";
    EXPECT_EQ(column[2]->updates, 3) << "controls keep being updated";

    for (Probe* probe : column) probe->done = true;
    EXPECT_EQ(Key(GKK_ENTER), 1) << "the frame that ends the phase handles input";
    EXPECT_EQ(gui->GetEnterLeave(), 0);
}

TEST_F(GuiContainerTest, AfterLeaveUpdateReturnsMinusOneOnceAllAreDoneUntilEnter) {
    AddColumn();
    MouseAt(50, 45, true);
    column[2]->done = false;
    TakeEvents();
    gui->Leave();
    EXPECT_EQ(TakeEvents(), (Events{"1:Leave", "2:Leave", "3:Leave"})) << "no Focus(0) or MouseOver(0)";
    EXPECT_EQ(gui->GetFocused(), nullptr);
    EXPECT_EQ(gui->GetHovered(), nullptr);
    EXPECT_EQ(gui->GetCaptured(), nullptr);
    EXPECT_EQ(Idle(0.1f), 0);
    EXPECT_EQ(Idle(0.1f), 0);
    column[2]->done = true;
    EXPECT_EQ(Idle(0.1f), -1);
    EXPECT_EQ(Key(GKK_ENTER), -1);
    EXPECT_EQ(MouseAt(50, 45), -1);
    gui->Enter();
    EXPECT_EQ(Idle(0.1f), 0);
}

// ---- Drawing -------------------------------------------------------------------------

TEST_F(GuiContainerTest, RenderDrawsVisibleControlsInOrderThenTheCursorAtTheMouse) {
    AddColumn();
    column[1]->visible = false;
    gkSprite cursor(0, 0, 0, 32, 32);
    gui->SetCursor(&cursor);
    MouseAt(300, 200);
    TakeEvents();
    Draw();
    EXPECT_EQ(TakeEvents(), (Events{"1:Render", "3:Render"}));
    ASSERT_EQ(engine.quads.size(), 1u);
    EXPECT_FLOAT_EQ(engine.quads[0].v[0].x, 300);
    EXPECT_FLOAT_EQ(engine.quads[0].v[2].y, 232);

    InputFrame outside;
    outside.mouseOver = false;
    Frame(outside);
    Draw();
    EXPECT_TRUE(engine.quads.empty()) << "no cursor while the mouse is outside the window";
    gui->SetCursor(nullptr);
    MouseAt(10, 10);
    Draw();
    EXPECT_TRUE(engine.quads.empty());
}

// ---- Ownership and removal ------------------------------------------------------------

TEST_F(GuiContainerTest, ControlsAreFoundByIdAndDestroyedWithTheGui) {
    const int references = engine.references;
    bool firstGone = false, secondGone = false;
    AddProbe(7)->destroyed = &firstGone;
    AddProbe(7)->destroyed = &secondGone;
    EXPECT_EQ(engine.references, references + 2) << "each control holds an engine reference";
    EXPECT_EQ(gui->GetControl(7), gui->First());
    EXPECT_EQ(gui->GetControl(8), nullptr);
    EXPECT_EQ(gui->First()->gui, gui.get());
    gui->RemoveControl(8);
    gui->RemoveControl(7);  // the first one only
    EXPECT_TRUE(firstGone);
    EXPECT_FALSE(secondGone);
    gui.reset();
    EXPECT_TRUE(secondGone);
    EXPECT_EQ(engine.references, references - 1) << "the GUI's own reference is gone too";
    gui = std::make_unique<gkGUI>();
}

TEST_F(GuiContainerTest, RemovingTheFocusedHoveredCapturedControlLeavesNoReference) {
    AddColumn();
    MouseAt(50, 45, true);  // 2 is hovered, focused and captured
    ASSERT_EQ(gui->GetCaptured(), column[1]);
    gui->RemoveControl(2);
    EXPECT_EQ(gui->GetFocused(), nullptr);
    EXPECT_EQ(gui->GetHovered(), nullptr);
    EXPECT_EQ(gui->GetCaptured(), nullptr);
    TakeEvents();
    EXPECT_EQ(MouseAt(50, 45), 0);  // the release frame finds nothing there
    gui->SetNavMode(NavVertical | NavWrap);
    Key(GKK_DOWN);
    Key(GKK_DOWN);
    EXPECT_EQ(FocusedId(), 3);
    EXPECT_EQ(TakeEvents(), (Events{"1:Focus(1)", "1:Focus(0)", "3:Focus(1)"}));
}

TEST_F(GuiContainerTest, ControlsRemovedOrAddedDuringUpdateDoNotDisturbTheWalk) {
    AddColumn();
    bool secondGone = false;
    column[1]->destroyed = &secondGone;
    column[0]->onUpdate = [&] {
        gui->RemoveControl(2);  // the next control in the walk
        column[0]->onUpdate = nullptr;
    };
    Probe* added = nullptr;
    column[2]->onUpdate = [&] {
        added = AddProbe(4);
        column[2]->onUpdate = nullptr;
    };
    Idle(0.1f);
    EXPECT_TRUE(secondGone);
    EXPECT_EQ(column[0]->updates, 1);
    EXPECT_EQ(column[2]->updates, 1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->updates, 0) << "joins the walk from the next frame";
    Idle(0.1f);
    EXPECT_EQ(added->updates, 1);
}

TEST_F(GuiContainerTest, AControlMayRemoveItselfFromItsOwnHandlers) {
    AddColumn();
    bool gone = false;
    column[1]->destroyed = &gone;
    column[1]->onLeftUp = [&] {
        gui->RemoveControl(2);
        EXPECT_FALSE(gone) << "still alive while its own handler runs";
    };
    MouseAt(50, 45, true);
    EXPECT_EQ(MouseAt(50, 45), 2) << "its activation is still reported";
    EXPECT_TRUE(gone) << "destroyed once the update is over";
    EXPECT_EQ(gui->GetControl(2), nullptr);

    column[2]->onUpdate = [&] { gui->RemoveControl(3); };
    column[0]->onUpdate = [&] { gui->RemoveControl(1); };
    EXPECT_EQ(Idle(0.1f), 0);
    EXPECT_EQ(gui->First(), nullptr);
}

}  // namespace
