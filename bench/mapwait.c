/* Starts a program and reports when the X server maps its first top-level
 * window: the moment the window appears for a person at the screen.
 *
 *   mapwait [-t TIMEOUT_MS] [-c SHELL_COMMAND] PROGRAM [ARGUMENT...]
 *
 * Prints the microseconds from just before the program was started to the
 * MapNotify of its window, and the window's id. The events come from
 * listening to the root window's substructure, so nothing polls: the wait
 * blocks on the X connection. With -c, the shell command runs after the map
 * (with WINDOW set to the id), before the program is ended with SIGTERM.
 * Exit status 1 when no window of the program was mapped in time. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long nowMicros(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000LL + t.tv_nsec / 1000;
}

/* The process that owns a window, as its toolkit declares it; -1 when the
 * window declares none. */
static long windowPid(Display* d, Window w, Atom netWmPid)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = NULL;
    long pid = -1;
    if (XGetWindowProperty(d, w, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data) == Success
        && type == XA_CARDINAL && format == 32 && items == 1)
        pid = (long)*(unsigned long*)data;
    if (data)
        XFree(data);
    return pid;
}

static void usage(void)
{
    fprintf(stderr, "usage: mapwait [-t TIMEOUT_MS] [-c SHELL_COMMAND] PROGRAM [ARGUMENT...]\n");
    exit(2);
}

int main(int argc, char** argv)
{
    long timeoutMs = 20000;
    const char* then = NULL;
    int opt;
    while ((opt = getopt(argc, argv, "+t:c:")) != -1) {
        if (opt == 't')
            timeoutMs = strtol(optarg, NULL, 10);
        else if (opt == 'c')
            then = optarg;
        else
            usage();
    }
    if (optind >= argc)
        usage();

    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "mapwait: no display\n");
        return 2;
    }
    const int xfd = ConnectionNumber(d);
    fcntl(xfd, F_SETFD, FD_CLOEXEC);
    const Window root = DefaultRootWindow(d);
    const Atom netWmPid = XInternAtom(d, "_NET_WM_PID", False);
    XSelectInput(d, root, SubstructureNotifyMask);
    /* Listening before the program starts: no map can be missed. */
    XSync(d, False);

    const long long start = nowMicros();
    const pid_t child = fork();
    if (child < 0) {
        perror("mapwait: fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[optind], argv + optind);
        perror("mapwait: exec");
        _exit(127);
    }

    const long long deadline = start + timeoutMs * 1000LL;
    Window mapped = None;
    long long at = 0;
    int exited = 0;
    while (mapped == None) {
        while (mapped == None && XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            const long long when = nowMicros();
            if (e.type != MapNotify || e.xmap.event != root || e.xmap.override_redirect)
                continue;
            /* Another client may map a window meanwhile: only the program's own counts. */
            const long pid = windowPid(d, e.xmap.window, netWmPid);
            if (pid == -1 || pid == (long)child) {
                mapped = e.xmap.window;
                at = when;
            }
        }
        if (mapped != None)
            break;
        if (waitpid(child, NULL, WNOHANG) == child) {
            exited = 1;
            break;
        }
        const long long left = deadline - nowMicros();
        if (left <= 0)
            break;
        /* Wakes for the next event, or after 50 ms to notice a program that ended. */
        const long long slice = left < 50000 ? left : 50000;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(xfd, &fds);
        struct timeval tv = {(time_t)(slice / 1000000), (suseconds_t)(slice % 1000000)};
        if (select(xfd + 1, &fds, NULL, NULL, &tv) < 0 && errno != EINTR) {
            perror("mapwait: select");
            break;
        }
    }

    if (mapped != None) {
        printf("%lld 0x%lx\n", at - start, (unsigned long)mapped);
        fflush(stdout);
        if (then) {
            char id[32];
            snprintf(id, sizeof id, "%lu", (unsigned long)mapped);
            setenv("WINDOW", id, 1);
            if (system(then) != 0)
                fprintf(stderr, "mapwait: the command after the map failed\n");
        }
    } else {
        fprintf(stderr, exited ? "mapwait: %s ended without a window\n" : "mapwait: no window of %s mapped in time\n",
                argv[optind]);
    }
    if (!exited) {
        kill(child, SIGTERM);
        waitpid(child, NULL, 0);
    }
    XCloseDisplay(d);
    return mapped != None ? 0 : 1;
}
