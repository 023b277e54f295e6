/* Waits until a pixel of the screen shows a colour and reports how long
 * that took: started right after an input has been sent (xdotool returns
 * once the release is on its way), it measures the time to the redraw a
 * person sees.
 *
 *   pixelwait X Y RRGGBB [TIMEOUT_MS]
 *
 * Prints the milliseconds (with a tenth) from its start to the first look
 * at the pixel that shows the colour, polling the root window every 0.2 ms.
 * Exit status 1 when the colour did not show in time (default 5,000 ms). */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv)
{
    const double start = now_ms();
    if (argc < 4) {
        fprintf(stderr, "usage: pixelwait X Y RRGGBB [TIMEOUT_MS]\n");
        return 2;
    }
    const int x = atoi(argv[1]), y = atoi(argv[2]);
    const unsigned long want = strtoul(argv[3][0] == '#' ? argv[3] + 1 : argv[3], NULL, 16);
    const double timeout = argc > 4 ? atof(argv[4]) : 5000.0;
    Display* d = XOpenDisplay(NULL);
    if (!d)
        return 2;
    const Window root = DefaultRootWindow(d);
    const struct timespec pause = {0, 200000};
    for (;;) {
        XImage* img = XGetImage(d, root, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long p = img ? XGetPixel(img, 0, 0) & 0xFFFFFF : 0;
        if (img)
            XDestroyImage(img);
        const double t = now_ms() - start;
        if (p == want) {
            printf("%.1f\n", t);
            XCloseDisplay(d);
            return 0;
        }
        if (t > timeout) {
            printf("timeout %06lX\n", p);
            XCloseDisplay(d);
            return 1;
        }
        nanosleep(&pause, NULL);
    }
}
