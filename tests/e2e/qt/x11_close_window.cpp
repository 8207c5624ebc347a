// Asks a window to close the way a window manager's close box (or Alt+F4) does: the
// ICCCM WM_DELETE_WINDOW message, sent to the window. Lets the whole-program tests
// close a window on an X server that runs no window manager.
// Usage: x11_close_window WINDOW_ID
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s WINDOW_ID\n", argv[0]);
    return 2;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "cannot open the display\n");
    return 2;
  }
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);

  // A window that does not take part in the protocol would be killed by a window
  // manager instead; that is not what is tested here.
  Atom* supported = nullptr;
  int count = 0;
  bool takesPart = false;
  if (XGetWMProtocols(display, window, &supported, &count) != 0) {
    for (int i = 0; i < count; ++i)
      takesPart = takesPart || supported[i] == deleteWindow;
    XFree(supported);
  }
  if (!takesPart) {
    std::fprintf(stderr, "window %s does not take WM_DELETE_WINDOW\n", argv[1]);
    XCloseDisplay(display);
    return 1;
  }

  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = protocols;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(deleteWindow);
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent != 0 ? 0 : 1;
}
