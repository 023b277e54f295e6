/* Starts a program and asks its window to close the moment the X server
 * maps it, as a person's Alt+F4 under a window manager does (the
 * WM_DELETE_WINDOW request), then waits for the program to end.
 *
 *   closeatmap [-t TIMEOUT_MS] [-d DELAY_MS] PROGRAM [ARGUMENT...]
 *
 * With -d the request waits that long after the map (for comparison: a
 * close once start-up has settled).
 * Prints the microseconds from the map to the program's end and how it
 * ended. Exit status 0 only when the program ended by itself with exit code
 * 0; 1 when it failed, crashed, or outlived the timeout (then it is killed);
 * 2 on a usage or display error. Nothing polls the window: the map comes
 * from listening to the root window's substructure. */
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

/* Waits for the child until the deadline; 1 when it ended, with its status. */
static int waitUntil(pid_t child, long long deadline, int* status)
{
    for (;;) {
        const pid_t r = waitpid(child, status, WNOHANG);
        if (r == child)
            return 1;
        if (r < 0 && errno != EINTR)
            return 1;
        if (nowMicros() >= deadline)
            return 0;
        const struct timespec ms = {0, 1000000};
        nanosleep(&ms, NULL);
    }
}

int main(int argc, char** argv)
{
    long timeoutMs = 20000, delayMs = 0;
    int opt;
    while ((opt = getopt(argc, argv, "+t:d:")) != -1) {
        if (opt == 't')
            timeoutMs = strtol(optarg, NULL, 10);
        else if (opt == 'd')
            delayMs = strtol(optarg, NULL, 10);
        else
            return 2;
    }
    if (optind >= argc) {
        fprintf(stderr, "usage: closeatmap [-t TIMEOUT_MS] [-d DELAY_MS] PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "closeatmap: no display\n");
        return 2;
    }
    fcntl(ConnectionNumber(d), F_SETFD, FD_CLOEXEC);
    const Window root = DefaultRootWindow(d);
    const Atom netWmPid = XInternAtom(d, "_NET_WM_PID", False);
    const Atom protocols = XInternAtom(d, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    const long long start = nowMicros();
    const pid_t child = fork();
    if (child < 0)
        return 2;
    if (child == 0) {
        execvp(argv[optind], argv + optind);
        _exit(127);
    }

    const long long deadline = start + timeoutMs * 1000LL;
    Window mapped = None;
    int status = 0, ended = 0;
    while (mapped == None && !ended && nowMicros() < deadline) {
        while (mapped == None && XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != MapNotify || e.xmap.event != root || e.xmap.override_redirect)
                continue;
            const long pid = windowPid(d, e.xmap.window, netWmPid);
            if (pid == -1 || pid == (long)child)
                mapped = e.xmap.window;
        }
        if (mapped != None)
            break;
        if (waitpid(child, &status, WNOHANG) == child) {
            ended = 1;
            break;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(d), &fds);
        struct timeval tv = {0, 20000};
        select(ConnectionNumber(d) + 1, &fds, NULL, NULL, &tv);
    }
    if (mapped == None) {
        fprintf(stderr, ended ? "closeatmap: %s ended without a window\n" : "closeatmap: no window of %s mapped\n",
                argv[optind]);
        if (!ended) {
            kill(child, SIGKILL);
            waitpid(child, NULL, 0);
        }
        return 1;
    }

    if (delayMs > 0) {
        const struct timespec delay = {delayMs / 1000, (delayMs % 1000) * 1000000L};
        nanosleep(&delay, NULL);
    }
    const long long mappedAt = nowMicros();
    XEvent close;
    memset(&close, 0, sizeof close);
    close.xclient.type = ClientMessage;
    close.xclient.window = mapped;
    close.xclient.message_type = protocols;
    close.xclient.format = 32;
    close.xclient.data.l[0] = (long)deleteWindow;
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, mapped, False, NoEventMask, &close);
    XFlush(d);

    if (!waitUntil(child, deadline, &status)) {
        fprintf(stderr, "closeatmap: %s still runs after the close\n", argv[optind]);
        kill(child, SIGKILL);
        waitpid(child, NULL, 0);
        return 1;
    }
    const long long took = nowMicros() - mappedAt;
    XCloseDisplay(d);
    if (WIFSIGNALED(status)) {
        printf("%lld signal %d\n", took, WTERMSIG(status));
        return 1;
    }
    printf("%lld exit %d\n", took, WEXITSTATUS(status));
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
