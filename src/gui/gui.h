// gkGUI and gkGUIObject: the GUI container and the abstract base of its controls.
// The container owns its controls (a list threaded through the controls
// themselves), turns the engine's raw input into control events (hover, focus,
// capture, activation), runs the enter and leave phases of a whole menu and tells
// its caller when a leave phase has finished. Each container and control holds
// one engine reference.
#pragma once

#include <memory>
#include <vector>

#include "engine/gk.h"
#include "gfx/sprite.h"

struct Rect {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Rect() = default;
    Rect(float left, float top, float right, float bottom) : x1(left), y1(top), x2(right), y2(bottom) {}
    // Half-open: x1 <= x < x2 and y1 <= y < y2.
    bool TestPoint(float x, float y) const { return x >= x1 && x < x2 && y >= y1 && y < y2; }
};

class gkGUI;

class gkGUIObject {
public:
    gkGUIObject() = default;
    virtual ~gkGUIObject() = default;
    gkGUIObject(const gkGUIObject&) = delete;
    gkGUIObject& operator=(const gkGUIObject&) = delete;

    virtual void Render() = 0;
    virtual void Update(float /*dt*/) {}
    virtual void Enter() {}
    virtual void Leave() {}
    virtual bool IsDone() { return true; }
    // True while a timer of the control runs (its next frames may differ, or it waits to start).
    virtual bool IsAnimating() { return !IsDone(); }
    virtual void Focus(bool /*focused*/) {}
    virtual void MouseOver(bool /*over*/) {}
    // A true result from the operations below means the control was activated.
    virtual bool MouseMove(float /*x*/, float /*y*/) { return false; }
    virtual bool MouseLeftButton(bool /*down*/) { return false; }
    virtual bool MouseRightButton(bool /*down*/) { return false; }
    virtual bool MouseWheel(int /*notches*/) { return false; }
    virtual bool KeyPress(int /*key*/, int /*character*/) { return false; }

    int id = 0;
    bool isStatic = false;
    bool visible = false;
    bool enabled = false;
    Rect rect;
    gkGUI* gui = nullptr;
    gkGUIObject* next = nullptr;
    gkGUIObject* prev = nullptr;

protected:
    gkEngineRef gk;
};

enum gkNavMode { NavHorizontal = 1, NavVertical = 2, NavWrap = 4 };

class gkGUI {
public:
    gkGUI() = default;
    ~gkGUI();
    gkGUI(const gkGUI&) = delete;
    gkGUI& operator=(const gkGUI&) = delete;

    // Takes ownership; appends at the end of the list.
    void AddControl(std::unique_ptr<gkGUIObject> control);
    // Unlinks and destroys the first control with that id (none: nothing).
    void RemoveControl(int id);
    gkGUIObject* GetControl(int id) const;
    void SetNavMode(int flags) { navMode = flags; }
    void SetCursor(gkSprite* sprite) { cursor = sprite; }
    void SetFocus(int id);
    void Enter();
    void Leave();
    // 0: nothing happened; a control's id: it was activated; -1: a leave phase has ended.
    int Update(float dt);
    // The frame's key belongs to the caller (a shortcut it acted on): the next Update
    // gives it to no control.
    void WithholdKey() { keyWithheld = true; }
    // True while one of the controls animates (the game then asks for frames at once).
    bool Animating() const;
    void Render();

    // Read-only views for the game and tests.
    gkGUIObject* GetFocused() const { return focused; }
    gkGUIObject* GetHovered() const { return hovered; }
    gkGUIObject* GetCaptured() const { return captured; }
    gkGUIObject* First() const { return first; }
    int GetNavMode() const { return navMode; }
    int GetEnterLeave() const { return enterLeave; }
    // A leave phase is under way: a control was chosen and the menu is going away.
    bool IsLeaving() const { return enterLeave == Leaving; }

private:
    enum Phase { Idle = 0, Leaving = 1, Entering = 2 };
    class CallGuard;

    // Takes the control out of the list and clears every reference to it; the caller owns it.
    std::unique_ptr<gkGUIObject> Unlink(gkGUIObject* control);
    // True while the control is in this GUI's list (not removed meanwhile).
    bool Owns(const gkGUIObject* control) const;
    static bool IsEligible(const gkGUIObject* control);
    std::vector<gkGUIObject*> Snapshot() const;
    void ChangeFocus(gkGUIObject* target);
    void ChangeHover(gkGUIObject* target);
    void ReadInput();
    bool AllDone();
    // True when Update must return result now.
    bool HandleKeyboard(int key, int& result);
    gkGUIObject* FindNavigationTarget(bool forwards) const;
    gkGUIObject* TopmostUnderMouse() const;
    int HandleMouse();
    int DeliverMouse(gkGUIObject* target);

    gkEngineRef gk;
    gkGUIObject* first = nullptr;  // controls, in the order they were added; owned
    gkGUIObject* last = nullptr;
    gkGUIObject* captured = nullptr;
    gkGUIObject* focused = nullptr;
    gkGUIObject* hovered = nullptr;
    int navMode = 0;
    int enterLeave = Idle;
    gkSprite* cursor = nullptr;
    float mouseX = 0, mouseY = 0;
    int wheel = 0;
    bool leftDown = false, leftWasDown = false, rightDown = false, rightWasDown = false;
    bool keyWithheld = false;
    // Controls removed while the GUI was calling into its controls; destroyed when that call ends.
    int callDepth = 0;
    std::vector<std::unique_ptr<gkGUIObject>> removedDuringCall;
};
