// gkGUI: the control list, focus, hover and capture, keyboard navigation, the enter and leave
// phases, and the mouse delivery of one frame.
//
// Controls may add or remove controls (themselves included) from any handler the GUI calls.
// While the GUI is inside such a call, a removed control is unlinked at once (so no walk and
// no focus, hover or capture reference reaches it) but destroyed only when the outermost call
// has returned, so the code that called it never touches freed memory. Walks run over a
// snapshot of the list and skip controls removed meanwhile; controls added meanwhile join
// from the next walk.
#include "gui/gui.h"

#include <vector>

// Marks the GUI as busy calling into its controls for the holder's lifetime.
class gkGUI::CallGuard {
public:
    explicit CallGuard(gkGUI& gui) : gui_(gui) { ++gui_.callDepth; }
    ~CallGuard() {
        if (--gui_.callDepth == 0) gui_.removedDuringCall.clear();
    }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

private:
    gkGUI& gui_;
};

gkGUI::~gkGUI() {
    while (first != nullptr) Unlink(first);  // each control is destroyed as it is unlinked
}

void gkGUI::AddControl(std::unique_ptr<gkGUIObject> control) {
    if (!control) return;
    gkGUIObject* added = control.release();  // owned by the list from here on
    added->gui = this;
    added->next = nullptr;
    added->prev = last;
    if (last != nullptr)
        last->next = added;
    else
        first = added;
    last = added;
}

void gkGUI::RemoveControl(int id) {
    gkGUIObject* control = GetControl(id);
    if (control == nullptr) return;
    std::unique_ptr<gkGUIObject> removed = Unlink(control);
    if (callDepth > 0) removedDuringCall.push_back(std::move(removed));
}

std::unique_ptr<gkGUIObject> gkGUI::Unlink(gkGUIObject* control) {
    if (control->prev != nullptr)
        control->prev->next = control->next;
    else
        first = control->next;
    if (control->next != nullptr)
        control->next->prev = control->prev;
    else
        last = control->prev;
    control->next = control->prev = nullptr;
    control->gui = nullptr;
    if (focused == control) focused = nullptr;
    if (hovered == control) hovered = nullptr;
    if (captured == control) captured = nullptr;
    return std::unique_ptr<gkGUIObject>(control);
}

gkGUIObject* gkGUI::GetControl(int id) const {
    for (gkGUIObject* control = first; control != nullptr; control = control->next) {
        if (control->id == id) return control;
    }
    return nullptr;
}

bool gkGUI::IsEligible(const gkGUIObject* control) {
    return !control->isStatic && control->visible && control->enabled;
}

bool gkGUI::Owns(const gkGUIObject* control) const {
    return control != nullptr && control->gui == this;
}

std::vector<gkGUIObject*> gkGUI::Snapshot() const {
    std::vector<gkGUIObject*> controls;
    for (gkGUIObject* control = first; control != nullptr; control = control->next)
        controls.push_back(control);
    return controls;
}

void gkGUI::SetFocus(int id) {
    CallGuard guard(*this);
    gkGUIObject* target = GetControl(id);
    if (target != nullptr && target == focused) return;
    if (target == nullptr) {
        ChangeFocus(nullptr);
    } else if (IsEligible(target)) {
        ChangeFocus(target);
    }
}

void gkGUI::ChangeFocus(gkGUIObject* target) {
    // The reference moves first, so a handler that removes either control leaves it consistent.
    gkGUIObject* old = focused;
    focused = target;
    if (Owns(old)) old->Focus(false);
    if (Owns(target)) target->Focus(true);
}

void gkGUI::ChangeHover(gkGUIObject* target) {
    gkGUIObject* old = hovered;
    hovered = target;
    if (Owns(old)) old->MouseOver(false);
    if (Owns(target)) target->MouseOver(true);
}

void gkGUI::Enter() {
    CallGuard guard(*this);
    for (gkGUIObject* control : Snapshot()) {
        if (Owns(control)) control->Enter();
    }
    enterLeave = Entering;
}

void gkGUI::Leave() {
    CallGuard guard(*this);
    for (gkGUIObject* control : Snapshot()) {
        if (Owns(control)) control->Leave();
    }
    focused = hovered = captured = nullptr;
    enterLeave = Leaving;
}

void gkGUI::Render() {
    CallGuard guard(*this);
    for (gkGUIObject* control : Snapshot()) {
        if (Owns(control) && control->visible) control->Render();
    }
    if (cursor != nullptr && gk && gk->Input_IsMouseOver()) cursor->Render(mouseX, mouseY);
}

int gkGUI::Update(float dt) {
    if (!gk) return 0;
    CallGuard guard(*this);
    ReadInput();
    const int key = keyWithheld ? 0 : gk->Input_GetKey();
    keyWithheld = false;
    for (gkGUIObject* control : Snapshot()) {
        if (Owns(control)) control->Update(dt);
    }
    if (enterLeave != Idle) {
        if (!AllDone()) return 0;
        if (enterLeave == Leaving) return -1;
        enterLeave = Idle;
    }
    int activated = 0;
    if (HandleKeyboard(key, activated)) return activated;
    return HandleMouse();
}

void gkGUI::ReadInput() {
    gk->Input_GetMousePos(&mouseX, &mouseY);
    leftWasDown = leftDown;
    leftDown = gk->Input_GetKeyState(GKK_LBUTTON);
    rightWasDown = rightDown;
    rightDown = gk->Input_GetKeyState(GKK_RBUTTON);
    wheel = gk->Input_GetMouseWheel();
}

bool gkGUI::Animating() const {
    for (gkGUIObject* control = first; control != nullptr; control = control->next) {
        if (control->IsAnimating()) return true;
    }
    return false;
}

bool gkGUI::AllDone() {
    for (gkGUIObject* control : Snapshot()) {
        if (Owns(control) && !control->IsDone()) return false;
    }
    return true;
}

bool gkGUI::HandleKeyboard(int key, int& result) {
    const bool previous =
        (key == GKK_LEFT && (navMode & NavHorizontal)) || (key == GKK_UP && (navMode & NavVertical));
    const bool next =
        (key == GKK_RIGHT && (navMode & NavHorizontal)) || (key == GKK_DOWN && (navMode & NavVertical));
    if (previous || next) {
        if (first == nullptr) {
            result = 0;
            return true;
        }
        gkGUIObject* found = FindNavigationTarget(next);
        if (found != nullptr) ChangeFocus(found);
        return false;
    }
    if (key != 0 && key != GKK_LBUTTON && key != GKK_RBUTTON && focused != nullptr) {
        gkGUIObject* control = focused;
        if (control->KeyPress(key, gk->Input_GetChar())) {
            result = control->id;
            return true;
        }
    }
    return false;
}

gkGUIObject* gkGUI::FindNavigationTarget(bool forwards) const {
    const bool wrap = (navMode & NavWrap) != 0;
    gkGUIObject* control =
        focused == nullptr ? (forwards ? first : nullptr) : (forwards ? focused->next : focused->prev);
    // Each control is visited at most once, so a list without an eligible control ends the walk.
    int count = 0;
    for (gkGUIObject* c = first; c != nullptr; c = c->next) ++count;
    for (int step = 0; step < count; ++step) {
        if (control == nullptr) {
            if (!wrap && focused != nullptr) return nullptr;
            control = forwards ? first : last;
        }
        if (control == focused) return nullptr;
        if (IsEligible(control)) return control;
        control = forwards ? control->next : control->prev;
    }
    return nullptr;
}

gkGUIObject* gkGUI::TopmostUnderMouse() const {
    for (gkGUIObject* control = last; control != nullptr; control = control->prev) {
        if (control->enabled && control->rect.TestPoint(mouseX, mouseY)) return control;
    }
    return nullptr;
}

int gkGUI::HandleMouse() {
    gkGUIObject* target = nullptr;
    if (captured != nullptr) {
        target = captured;
        // Released: the capture ends, but the control still gets this frame to see the release.
        if (!leftDown && !rightDown) captured = nullptr;
    } else {
        target = TopmostUnderMouse();
        if (target == nullptr) {
            ChangeHover(nullptr);
            return 0;
        }
        if (target != hovered) ChangeHover(target);
    }
    return DeliverMouse(target);
}

int gkGUI::DeliverMouse(gkGUIObject* target) {
    // Each handler may remove the target; delivery then stops (it stays alive until Update ends).
    bool activated = false;
    if (Owns(target) && leftDown && !leftWasDown) {
        captured = target;
        SetFocus(target->id);
        if (Owns(target)) activated = target->MouseLeftButton(true);
    }
    if (Owns(target) && rightDown && !rightWasDown) {
        captured = target;
        SetFocus(target->id);
        if (Owns(target) && !activated) activated = target->MouseRightButton(true);
    }
    if (Owns(target) && !activated && leftWasDown && !leftDown) activated = target->MouseLeftButton(false);
    if (Owns(target) && !activated && rightWasDown && !rightDown) activated = target->MouseRightButton(false);
    if (Owns(target) && !activated && wheel != 0) activated = target->MouseWheel(wheel);
    if (Owns(target) && !activated) {
        activated = target->MouseMove(mouseX - target->rect.x1, mouseY - target->rect.y1);
    }
    return activated ? target->id : 0;
}
