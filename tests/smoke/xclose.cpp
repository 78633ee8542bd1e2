// Asks an X11 window to close the way a window manager would: a WM_DELETE_WINDOW
// client message. Without a window manager nothing else sends it, and destroying or
// killing the window would skip the program's close handler.
//
// Usage: tintara_xclose WINDOW-ID (decimal or 0x hexadecimal). Exit status 0 when the
// message was sent, 1 when the window does not take WM_DELETE_WINDOW, 2 on bad use.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Whether the window lists WM_DELETE_WINDOW among its WM_PROTOCOLS.
bool TakesDeleteWindow(Display* display, Window window, Atom deleteWindow) {
    Atom* protocols = nullptr;
    int count = 0;
    if (XGetWMProtocols(display, window, &protocols, &count) == 0)
        return false;
    bool found = false;
    for (int i = 0; i < count; ++i)
        found = found || protocols[i] == deleteWindow;
    XFree(protocols);
    return found;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW-ID\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const unsigned long id = std::strtoul(argv[1], &end, 0);
    if (end == argv[1] || *end != '\0' || id == 0) {
        std::fprintf(stderr, "%s: not a window id: %s\n", argv[0], argv[1]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "%s: cannot open the X display\n", argv[0]);
        return 2;
    }
    const Window window = static_cast<Window>(id);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    int status = 0;
    if (!TakesDeleteWindow(display, window, deleteWindow)) {
        std::fprintf(stderr, "%s: window 0x%lx does not take WM_DELETE_WINDOW\n", argv[0], id);
        status = 1;
    } else {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(deleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
        // Round trip, so the message is queued before this program reports success.
        XSync(display, False);
    }
    XCloseDisplay(display);
    return status;
}
