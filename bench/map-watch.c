/* Times one program start from launch to its window appearing on the X display:
 *   map-watch TITLE PROGRAM [ARGUMENTS...]
 * watches the root window for windows being mapped, starts PROGRAM, and as soon as a window
 * named TITLE is mapped prints the microseconds since the launch, ends the program (SIGKILL to
 * the process it started) and waits for it. Exit status 1 when no such window appears within
 * 20 seconds or the program ends first. Watching MapNotify on the root window sees the mapping
 * the moment the X server performs it, without polling. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static const int kTimeoutMs = 20000;

static long long NowMicroseconds(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000 + now.tv_nsec / 1000;
}

/* The window's WM_NAME equals the title (Wine sets it before mapping). */
static int HasTitle(Display* display, Window window, const char* title) {
    XTextProperty name;
    int match = 0;
    if (XGetWMName(display, window, &name) && name.value != NULL) {
        match = strcmp((const char*)name.value, title) == 0;
        XFree(name.value);
    }
    return match;
}

static void EndChild(pid_t child) {
    kill(child, SIGKILL);
    waitpid(child, NULL, 0);
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: map-watch TITLE PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const char* title = argv[1];
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "map-watch: cannot open the display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const long long launched = NowMicroseconds();
    const pid_t child = fork();
    if (child < 0) {
        perror("map-watch: fork");
        return 2;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[2], argv + 2);
        perror("map-watch: exec");
        _exit(127);
    }

    struct pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && HasTitle(display, event.xmap.window, title)) {
                const long long mapped = NowMicroseconds();
                printf("%lld\n", mapped - launched);
                EndChild(child);
                return 0;
            }
        }
        if (waitpid(child, NULL, WNOHANG) == child) {
            fprintf(stderr, "map-watch: %s ended before \"%s\" appeared\n", argv[2], title);
            return 1;
        }
        const int remaining = kTimeoutMs - (int)((NowMicroseconds() - launched) / 1000);
        if (remaining <= 0) {
            fprintf(stderr, "map-watch: no window \"%s\" within %d ms\n", title, kTimeoutMs);
            EndChild(child);
            return 1;
        }
        poll(&connection, 1, remaining < 100 ? remaining : 100);
    }
}
