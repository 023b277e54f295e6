#include "forms/Screen.h"

#include "forms/X11.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace forms {

QRect workAreaOf(const QRect& monitor, const QSize& root, const std::vector<Strut>& struts)
{
    int left = monitor.left(), top = monitor.top();
    int right = monitor.left() + monitor.width(), bottom = monitor.top() + monitor.height(); // exclusive
    auto meets = [](int from, int to, int lo, int hiExclusive) { return from < hiExclusive && to >= lo; };
    for (const Strut& s : struts) {
        if (s.left > monitor.left() && meets(s.leftStartY, s.leftEndY, monitor.top(), monitor.top() + monitor.height()))
            left = std::max(left, s.left);
        if (root.width() - s.right < monitor.left() + monitor.width() && s.right > 0
            && meets(s.rightStartY, s.rightEndY, monitor.top(), monitor.top() + monitor.height()))
            right = std::min(right, root.width() - s.right);
        if (s.top > monitor.top() && meets(s.topStartX, s.topEndX, monitor.left(), monitor.left() + monitor.width()))
            top = std::max(top, s.top);
        if (root.height() - s.bottom < monitor.top() + monitor.height() && s.bottom > 0
            && meets(s.bottomStartX, s.bottomEndX, monitor.left(), monitor.left() + monitor.width()))
            bottom = std::min(bottom, root.height() - s.bottom);
    }
    if (right <= left || bottom <= top)
        return monitor; // a panel claims it all: better the whole monitor than nothing
    return QRect(left, top, right - left, bottom - top);
}

namespace {

// A property of CARDINAL or WINDOW values, as 32-bit numbers.
std::vector<quint32> property32(xcb_connection_t* c, xcb_window_t w, xcb_atom_t atom, xcb_atom_t type)
{
    std::vector<quint32> out;
    auto cookie = xcb_get_property(c, 0, w, atom, type, 0, 4096);
    if (xcb_get_property_reply_t* r = xcb_get_property_reply(c, cookie, nullptr)) {
        if (r->format == 32) {
            const auto* v = static_cast<const quint32*>(xcb_get_property_value(r));
            out.assign(v, v + xcb_get_property_value_length(r) / 4);
        }
        std::free(r);
    }
    return out;
}

// The root window's size in device pixels, on X11.
bool x11Root(QSize& root)
{
    const xcb_screen_t* screen = x11::rootScreen(x11::connection());
    if (!screen)
        return false;
    root = QSize(screen->width_in_pixels, screen->height_in_pixels);
    return true;
}

// The struts of the windows the window manager lists; none without one.
bool x11Struts(std::vector<Strut>& struts, QSize& root)
{
    xcb_connection_t* c = x11::connection();
    const xcb_screen_t* screen = x11::rootScreen(c);
    if (!screen)
        return false;
    root = QSize(screen->width_in_pixels, screen->height_in_pixels);
    const xcb_atom_t clientList = x11::atom(c, "_NET_CLIENT_LIST");
    const xcb_atom_t partial = x11::atom(c, "_NET_WM_STRUT_PARTIAL");
    const xcb_atom_t plain = x11::atom(c, "_NET_WM_STRUT");
    if (clientList == XCB_ATOM_NONE)
        return false;
    const std::vector<quint32> clients = property32(c, screen->root, clientList, XCB_ATOM_WINDOW);
    for (quint32 w : clients) {
        std::vector<quint32> v = partial ? property32(c, w, partial, XCB_ATOM_CARDINAL) : std::vector<quint32>();
        Strut s;
        if (v.size() >= 12) {
            s = {int(v[0]), int(v[1]), int(v[2]), int(v[3]), int(v[4]),  int(v[5]),
                 int(v[6]), int(v[7]), int(v[8]), int(v[9]), int(v[10]), int(v[11])};
        } else if (v = plain ? property32(c, w, plain, XCB_ATOM_CARDINAL) : v; v.size() >= 4) {
            // The old form reserves its band along the whole edge.
            s = {int(v[0]), int(v[1]),         int(v[2]), int(v[3]),        0, root.height() - 1,
                 0,         root.height() - 1, 0,         root.width() - 1, 0, root.width() - 1};
        } else {
            continue;
        }
        struts.push_back(s);
    }
    return true;
}

} // namespace

QRect availableArea(const QScreen* screen)
{
    if (!screen)
        return QRect();
    const QRect available = screen->availableGeometry();
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return available;
    std::vector<Strut> struts;
    QSize root;
    if (!x11Struts(struts, root) || struts.empty())
        return available;
    // The root window counts device pixels; Qt's screen keeps its top-left
    // corner there and divides its size by the scale factor.
    const QRect logical = screen->geometry();
    const qreal dpr = screen->devicePixelRatio();
    const QRect native(logical.topLeft(), (QSizeF(logical.size()) * dpr).toSize());
    const QRect area = workAreaOf(native, root, struts);
    const QPoint at = logical.topLeft() + ((area.topLeft() - logical.topLeft()) / dpr);
    const QRect fromStruts(at, (QSizeF(area.size()) / dpr).toSize());
    const QRect both = available & fromStruts;
    return both.isEmpty() ? available : both;
}

QRect availableDeviceArea(const QScreen* screen)
{
    const QRect logical = availableArea(screen);
    const qreal dpr = screen ? screen->devicePixelRatio() : 1.0;
    if (logical.isEmpty() || dpr == 1.0)
        return logical;
    // Qt keeps the screen's top-left corner in device pixels and divides
    // the rest by the ratio, to the nearest pixel: each edge it gives lies
    // within half of its pixels of the true one.
    QSize root;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11Root(root))
        root = QSize();
    return toDeviceArea(logical, dpr, screen->geometry().topLeft(), root);
}

QRect toDeviceArea(const QRect& logical, qreal dpr, QPoint origin, QSize root)
{
    auto nearEdge = [dpr](int o, int v) { return static_cast<int>(std::floor(o + (v - o) * dpr + 0.5)); };
    auto farEdge = [dpr](int o, int v, int rootEdge) {
        const double d = o + (v - o) * dpr;
        if (rootEdge > 0 && std::abs(d - rootEdge) <= 0.5)
            return rootEdge;
        return static_cast<int>(std::ceil(d - 0.5));
    };
    const int left = nearEdge(origin.x(), logical.left()), top = nearEdge(origin.y(), logical.top());
    const int right = farEdge(origin.x(), logical.left() + logical.width(), root.isValid() ? root.width() : 0);
    const int bottom = farEdge(origin.y(), logical.top() + logical.height(), root.isValid() ? root.height() : 0);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QScreen* screenOf(const QWidget* window)
{
    QScreen* s = window ? QGuiApplication::screenAt(window->frameGeometry().center()) : nullptr;
    if (!s && window)
        s = window->screen();
    return s ? s : QGuiApplication::primaryScreen();
}

QRect keepTitleInside(const QRect& frame, const QRect& area)
{
    if (area.isEmpty())
        return frame;
    QPoint at = frame.topLeft();
    // Right and bottom first, so that a window larger than the area ends
    // with its top-left corner, and its title, inside it.
    at.setX(std::min(at.x(), area.left() + area.width() - frame.width()));
    at.setY(std::min(at.y(), area.top() + area.height() - frame.height()));
    at.setX(std::max(at.x(), area.left()));
    at.setY(std::max(at.y(), area.top()));
    return QRect(at, frame.size());
}

bool windowsCanBePlaced()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void preferXWayland()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    // The X server first; Wayland itself if XWayland does not answer.
    qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

} // namespace forms
