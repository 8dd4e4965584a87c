/* A notification area that shows nothing: it owns the X system-tray selection of screen 0, so
 * that a program under a bare X server (Xvfb) sees a tray and keeps its window hidden, as on a
 * desktop. Docking requests are left unanswered. Says "ready" on standard output once it owns the
 * selection; ends when the X server goes away. */
#include <X11/Xlib.h>
#include <stdio.h>

int main(void) {
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) {
    fprintf(stderr, "tray_stub: cannot open the display\n");
    return 1;
  }
  Window root = DefaultRootWindow(display);
  Window owner = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
  Atom selection = XInternAtom(display, "_NET_SYSTEM_TRAY_S0", False);
  XSetSelectionOwner(display, selection, owner, CurrentTime);
  if (XGetSelectionOwner(display, selection) != owner) {
    fprintf(stderr, "tray_stub: another tray owns the selection\n");
    return 1;
  }
  /* The announcement every tray manager makes when it starts. */
  XEvent manager = {0};
  manager.xclient.type = ClientMessage;
  manager.xclient.window = root;
  manager.xclient.message_type = XInternAtom(display, "MANAGER", False);
  manager.xclient.format = 32;
  manager.xclient.data.l[0] = CurrentTime;
  manager.xclient.data.l[1] = (long)selection;
  manager.xclient.data.l[2] = (long)owner;
  XSendEvent(display, root, False, StructureNotifyMask, &manager);
  XFlush(display);
  puts("ready");
  fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
  }
}
