/* Starts a program and reports when the X server maps its first top-level
 * window: the moment the window appears for a person at the screen.
 *
 *   mapwait [-t TIMEOUT_MS] [-c SHELL_COMMAND | -k DELAY_MS] PROGRAM [ARGUMENT...]
 *
 * Prints the microseconds from just before the program was started to the
 * MapNotify of its window, and the window's id. The events come from
 * listening to the root window's substructure, so nothing polls: the wait
 * blocks on the X connection. With -c, the shell command runs after the map
 * (with WINDOW set to the id), before the program is ended with SIGTERM.
 * Exit status 1 when no window of the program was mapped in time.
 *
 * With -k, the window is asked to close DELAY_MS after the map, as a
 * person's Alt+F4 under a window manager does (the WM_DELETE_WINDOW
 * request), and the program must end by itself: printed are the
 * microseconds from the request to its end and how it ended; exit status 0
 * only when it ended with exit code 0 (it is killed when it outlives the
 * timeout). */
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
    fprintf(stderr, "usage: mapwait [-t TIMEOUT_MS] [-c SHELL_COMMAND | -k DELAY_MS] PROGRAM [ARGUMENT...]\n");
    exit(2);
}

/* Waits for the child until the deadline; 1 when it ended, with its status. */
static int waitUntil(pid_t child, long long deadline, int* status)
{
    for (;;) {
        const pid_t r = waitpid(child, status, WNOHANG);
        if (r == child || (r < 0 && errno != EINTR))
            return 1;
        if (nowMicros() >= deadline)
            return 0;
        const struct timespec ms = {0, 1000000};
        nanosleep(&ms, NULL);
    }
}

/* Asks the window to close after the delay and waits for the program to end
 * by itself. */
static int closeAndWait(Display* d, Window w, pid_t child, long delayMs, long long deadline, const char* name)
{
    if (delayMs > 0) {
        const struct timespec delay = {delayMs / 1000, (delayMs % 1000) * 1000000L};
        nanosleep(&delay, NULL);
    }
    const long long askedAt = nowMicros();
    XEvent close;
    memset(&close, 0, sizeof close);
    close.xclient.type = ClientMessage;
    close.xclient.window = w;
    close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &close);
    XFlush(d);
    int status = 0;
    if (!waitUntil(child, deadline, &status)) {
        fprintf(stderr, "mapwait: %s still runs after the close\n", name);
        kill(child, SIGKILL);
        waitpid(child, NULL, 0);
        return 1;
    }
    const long long took = nowMicros() - askedAt;
    if (WIFSIGNALED(status)) {
        printf("%lld signal %d\n", took, WTERMSIG(status));
        return 1;
    }
    printf("%lld exit %d\n", took, WEXITSTATUS(status));
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}

int main(int argc, char** argv)
{
    long timeoutMs = 20000;
    long closeDelayMs = -1;
    const char* then = NULL;
    int opt;
    while ((opt = getopt(argc, argv, "+t:c:k:")) != -1) {
        if (opt == 't')
            timeoutMs = strtol(optarg, NULL, 10);
        else if (opt == 'c')
            then = optarg;
        else if (opt == 'k')
            closeDelayMs = strtol(optarg, NULL, 10);
        else
            usage();
    }
    if (then && closeDelayMs >= 0)
        usage();
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

    if (mapped != None && closeDelayMs >= 0) {
        const int code = closeAndWait(d, mapped, child, closeDelayMs, deadline, argv[optind]);
        XCloseDisplay(d);
        return code;
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
