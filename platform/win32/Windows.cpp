#include "win32/Win32.h"

#include "forms/Form.h"
#include "forms/Runtime.h"
#include "forms/Screen.h"
#include "win32/Internals.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace win32 {

QRect& internal::workAreaOverride()
{
    static QRect r;
    return r;
}

qintptr SendMessageA(HWND window, unsigned msg, quintptr wParam, qintptr lParam)
{
    forms::Window* w = forms::fromHandle(window);
    return w ? w->send(msg, wParam, lParam) : 0;
}

BOOL ReleaseCapture()
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    return 1;
}

BOOL SystemParametersInfoA(unsigned action, unsigned, void* out, unsigned)
{
    if (action != SPI_GETWORKAREA || !out)
        return 0;
    // In the frame's pixels, which can be finer than the window's: the
    // device pixels of the area, counted in whole pixels inward, so that a
    // window sized to it never reaches past it. A test's area is in the
    // window's pixels.
    const qreal dpr = forms::wholePixelRatio();
    QRect device;
    if (const QRect given = internal::workAreaOverride(); !given.isEmpty()) {
        device = forms::toDeviceArea(given, dpr);
    } else {
        // With several screens, the one the window is on: the active one's,
        // else the one under the pointer (the learner has just clicked in
        // the window), else the primary screen.
        const QWidget* active = QApplication::activeWindow();
        const QScreen* screen =
            active && active->screen() ? active->screen() : QGuiApplication::screenAt(QCursor::pos());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (!screen)
            return 0;
        device = forms::availableDeviceArea(screen);
    }
    const int n = forms::wholePixelScale(dpr);
    auto inward = [n](int v, bool up) {
        const int q = v / n - (v % n != 0 && v < 0 ? 1 : 0); // rounded down, below 0 too
        return up && q * n != v ? q + 1 : q;
    };
    auto* r = static_cast<RECT*>(out);
    *r = {inward(device.left(), true), inward(device.top(), true), inward(device.left() + device.width(), false),
          inward(device.top() + device.height(), false)};
    return 1;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, unsigned flags)
{
    auto* form = dynamic_cast<forms::Form*>(forms::fromHandle(window));
    if (!form)
        return 0;
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)
        form->setTopmost(insertAfter == HWND_TOPMOST);
    // Pixels as the frame counts them.
    const float tx = forms::twipsPerWholePixelX(), ty = forms::twipsPerWholePixelY();
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
        const float left = (flags & SWP_NOMOVE) ? form->left() : x * tx;
        const float top = (flags & SWP_NOMOVE) ? form->top() : y * ty;
        const float width = (flags & SWP_NOSIZE) ? form->width() : cx * tx;
        const float height = (flags & SWP_NOSIZE) ? form->height() : cy * ty;
        form->move(left, top, width, height);
    }
    if ((flags & SWP_SHOWWINDOW) && form->isLoaded())
        form->window()->show();
    return 1;
}

} // namespace win32
