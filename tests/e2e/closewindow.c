/* Asks a window to close, as a window manager's close button does: sends it the
 * WM_DELETE_WINDOW message of the WM_PROTOCOLS protocol. Usage: closewindow WINDOW-ID */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s WINDOW-ID\n", argv[0]);
        return 2;
    }
    char* end = NULL;
    unsigned long window = strtoul(argv[1], &end, 0);
    if (end == argv[1] || *end != '\0' || window == 0) {
        fprintf(stderr, "closewindow: not a window id: %s\n", argv[1]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "closewindow: cannot open display %s\n", XDisplayName(NULL));
        return 1;
    }
    XEvent message;
    memset(&message, 0, sizeof message);
    message.xclient.type = ClientMessage;
    message.xclient.window = (Window)window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    message.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, (Window)window, False, NoEventMask, &message);
    XSync(display, False);
    XCloseDisplay(display);
    if (sent == 0) {
        fprintf(stderr, "closewindow: could not send to window 0x%lx\n", window);
        return 1;
    }
    return 0;
}
