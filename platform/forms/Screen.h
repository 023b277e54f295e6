#pragma once

#include <QRect>
#include <vector>

class QScreen;
class QWidget;

namespace forms {

// What a desktop reserves along the edges of the whole screen for its
// panels (a window's _NET_WM_STRUT_PARTIAL): the widths from the left,
// right, top and bottom edges of the root window, each over a range of the
// other axis (first and last pixel, inclusive).
struct Strut {
    int left = 0, right = 0, top = 0, bottom = 0;
    int leftStartY = 0, leftEndY = 0, rightStartY = 0, rightEndY = 0;
    int topStartX = 0, topEndX = 0, bottomStartX = 0, bottomEndX = 0;
};

// The part of one monitor that no panel reserves. Everything in the root
// window's pixels; a strut counts for a monitor only where its range meets
// the monitor and its band reaches into it.
QRect workAreaOf(const QRect& monitor, const QSize& root, const std::vector<Strut>& struts);

// The available area of a screen, as a window may cover it: Qt's available
// geometry, and on an X11 desktop also the panels of every monitor, which
// Qt leaves out when there are several.
QRect availableArea(const QScreen* screen);
// The same in device pixels, as near as Qt's rounding lets them be known.
QRect availableDeviceArea(const QScreen* screen);
// A rectangle of logical pixels in device pixels at a ratio, for a screen
// whose top-left corner Qt keeps at `origin` in device pixels: each edge at
// the nearest device pixel, a tie taken inward; a far edge within half a
// device pixel of the root window's (`root`, where known) is that edge.
QRect toDeviceArea(const QRect& logical, qreal dpr, QPoint origin = QPoint(), QSize root = QSize());

// The screen a window is on (its centre's), else the primary one.
QScreen* screenOf(const QWidget* window);

// A window's outer rectangle moved, not resized, so that its title bar lies
// inside an area: as much of the window as fits, and at least its top-left
// corner, where the title and the system menu begin.
QRect keepTitleInside(const QRect& frame, const QRect& area);

// Whether the program can place its own windows: false on a Wayland
// session, where the compositor places them.
bool windowsCanBePlaced();

// Before the application is made: on a Wayland session that also offers an
// X server (XWayland), the X11 platform, where the windows place
// themselves. A platform the user has named in QT_QPA_PLATFORM wins.
void preferXWayland();

} // namespace forms
