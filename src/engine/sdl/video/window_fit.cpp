#include "engine/sdl/video/window_fit.h"

#include <SDL_syswm.h>

#if defined(VELTRANE_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// Window managers that follow the desktop conventions (and so answer a full-screen
// request) name their check window on the root window.
bool WindowManagerRuns(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* value = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                          &type, &format, &items, &remaining, &value);
    if (value != nullptr) XFree(value);
    return status == Success && type == XA_WINDOW && items == 1;
}

}  // namespace

bool CoverDisplayWithoutWindowManager(SDL_Window* window) {
    if (window == nullptr || (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;
    const Window xWindow = info.info.x11.window;
    if (display == nullptr || WindowManagerRuns(display)) return false;
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0) return false;
    XWindowAttributes now{};
    if (XGetWindowAttributes(display, xWindow, &now) == 0) return false;
    if (now.x == bounds.x && now.y == bounds.y && now.width == bounds.w && now.height == bounds.h)
        return false;
    XMoveResizeWindow(display, xWindow, bounds.x, bounds.y, static_cast<unsigned>(bounds.w),
                      static_cast<unsigned>(bounds.h));
    XRaiseWindow(display, xWindow);
    XFlush(display);
    return true;
}

#else

bool CoverDisplayWithoutWindowManager(SDL_Window* /*window*/) {
    return false;
}

#endif
