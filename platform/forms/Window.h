#pragma once

#include <QPoint>
#include <QPointF>

#include <QtGlobal>
#include <functional>
#include <vector>

class QWidget;

namespace forms {

// A window handle as the runtime issues it: the same for the life of the
// window or control, whatever happens to the native window under it.
using Handle = quintptr;

// The messages the runtime passes through a window's procedure.
namespace wm {
constexpr unsigned Size = 0x0005;
constexpr unsigned Close = 0x0010;
constexpr unsigned SetCursor = 0x0020;
constexpr unsigned KeyDown = 0x0100;
constexpr unsigned KeyUp = 0x0101;
constexpr unsigned Char = 0x0102;
constexpr unsigned SysKeyDown = 0x0104;
constexpr unsigned SysKeyUp = 0x0105;
constexpr unsigned MouseMove = 0x0200;
constexpr unsigned LButtonDown = 0x0201;
constexpr unsigned LButtonUp = 0x0202;
constexpr unsigned LButtonDblClk = 0x0203;
constexpr unsigned RButtonDown = 0x0204;
constexpr unsigned RButtonUp = 0x0205;
constexpr unsigned RButtonDblClk = 0x0206;
constexpr unsigned MButtonDown = 0x0207;
constexpr unsigned MButtonUp = 0x0208;
constexpr unsigned MButtonDblClk = 0x0209;
constexpr unsigned MouseLeave = 0x02A3;
constexpr unsigned NcLButtonDown = 0x00A1;
} // namespace wm

// The title bar, as the hit-test code of a non-client message.
constexpr quintptr HtCaption = 2;

// Button and key-state bits of a mouse message's wParam.
constexpr quintptr MkLButton = 0x0001, MkRButton = 0x0002, MkShift = 0x0004, MkControl = 0x0008, MkMButton = 0x0010;

// A mouse position as a message carries it: x in the low, y in the high
// signed 16 bits.
constexpr qintptr makeLParam(int x, int y)
{
    return static_cast<qintptr>(static_cast<quint32>(static_cast<quint16>(x))
                                | (static_cast<quint32>(static_cast<quint16>(y)) << 16));
}
constexpr int lParamX(qintptr l)
{
    return static_cast<qint16>(static_cast<quint16>(l & 0xFFFF));
}
constexpr int lParamY(qintptr l)
{
    return static_cast<qint16>(static_cast<quint16>((l >> 16) & 0xFFFF));
}

// A window procedure: what a window does with a message. The runtime's own
// handling is the last procedure of every window; a procedure installed
// over it decides whether to pass a message on (the platform layer above
// offers this as SetWindowLong and CallWindowProc).
class WindowProc {
public:
    virtual ~WindowProc() = default;
    virtual qintptr call(Handle hWnd, unsigned msg, quintptr wParam, qintptr lParam) = 0;
};

// What every window and every control is to the runtime: a handle from the
// registry, a procedure, and the count of messages and events that are
// inside it. Everything the learner does reaches the program through
// enter(): one place counts the depth, stops every exception and runs the
// work deferred until the window is idle.
class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Handle hWnd() const { return handle_; }
    virtual QWidget* widget() const = 0;

    // The installed procedure, or nullptr for the runtime's own.
    WindowProc* procedure() const { return procedure_; }
    // Installs a procedure and returns the one it replaces.
    WindowProc* setProcedure(WindowProc* procedure);

    // A mouse position over the window's widget, in the pixels the
    // window's mouse messages carry.
    virtual QPoint mousePixels(QPointF at) const { return at.toPoint(); }
    // The runtime's own handling of a message: the end of every chain.
    virtual qintptr defaultProcedure(unsigned msg, quintptr wParam, qintptr lParam);

    // Passes a message through the window's procedure, as sending it does.
    qintptr send(unsigned msg, quintptr wParam, qintptr lParam);

    // Runs an event handler inside the window: counted, every exception
    // stopped and written to standard error.
    void enter(const std::function<void()>& handler);

    // True while a message or event is inside the window.
    bool busy() const { return depth_ > 0; }
    // Runs `work` once nothing is inside the window any more; at once when
    // nothing is. The work may delete the window.
    void whenIdle(std::function<void()> work);

    // The pointer's leaving is reported once (wm::MouseLeave) after each
    // request.
    void requestLeave() { leaveRequested_ = true; }
    bool leaveRequested() const { return leaveRequested_; }
    void clearLeave() { leaveRequested_ = false; }

protected:
    // The Qt widget under this window is known to the dispatcher.
    void attach(QWidget* widget);

private:
    void leave();
    Handle handle_;
    WindowProc* procedure_ = nullptr;
    int depth_ = 0;
    bool leaveRequested_ = false;
    std::vector<std::function<void()>> deferred_;
};

// A handle of the runtime's one series, for windows and device contexts.
Handle issueHandle();

// The window or control of a handle, or nullptr once it is gone.
Window* fromHandle(Handle handle);

// Whether the runtime's own handling of the Qt event in progress should let
// the widget have it as well (typing in a text box, opening a list).
void passToWidget();

// The shift mask (1 Shift, 2 Ctrl, 4 Alt) of the keyboard as the key
// message in progress found it.
int keyShift();
// While a move loop runs, the pointer's input is the loop's: Qt still sees
// every move, press and release (so its own state ends as after a normal
// release), but no window of the program gets a message for them.
class PointerHold {
public:
    PointerHold();
    ~PointerHold();
    PointerHold(const PointerHold&) = delete;
    PointerHold& operator=(const PointerHold&) = delete;
};
bool pointerHeld();
// Counts the presses of a pointer button on the program's windows: a drag
// tells by it whether a press is still the one it started with.
unsigned long pressCount();

// When windows change under a still pointer (a window moved, sized, shown
// or hidden), the window under the pointer gets a mouse move, as the
// system sends one; done once the change has been handled. Runs now what
// would otherwise wait for the event loop (tests).
void deliverPendingPointerMove();

} // namespace forms
