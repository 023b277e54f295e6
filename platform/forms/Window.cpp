#include "forms/Window.h"

#include "forms/Runtime.h"
#include "forms/VirtualKey.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QScopeGuard>
#include <QWidget>
#include <unordered_map>

namespace forms {

namespace {

// Handles start well away from 0 and from small numbers a program might
// mistake for counts, and step by 4 as native handles do.
Handle nextHandle = 0x10000;

std::unordered_map<Handle, Window*>& registry()
{
    static std::unordered_map<Handle, Window*> r;
    return r;
}

bool* currentPass = nullptr;
// The modifiers of the key press being delivered.
Qt::KeyboardModifiers currentKeyModifiers;
bool inKeyPress = false;
int pointerHoldDepth = 0;
unsigned long presses = 0;

// Mouse buttons and modifier keys as a mouse message carries them.
quintptr mouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    quintptr k = 0;
    if (buttons & Qt::LeftButton)
        k |= MkLButton;
    if (buttons & Qt::RightButton)
        k |= MkRButton;
    if (buttons & Qt::MiddleButton)
        k |= MkMButton;
    if (mods & Qt::ShiftModifier)
        k |= MkShift;
    if (mods & Qt::ControlModifier)
        k |= MkControl;
    return k;
}

unsigned buttonMessage(QEvent::Type type, Qt::MouseButton button)
{
    const int column = type == QEvent::MouseButtonPress ? 0 : type == QEvent::MouseButtonRelease ? 1 : 2;
    switch (button) {
    case Qt::LeftButton: return wm::LButtonDown + column;
    case Qt::RightButton: return wm::RButtonDown + column;
    case Qt::MiddleButton: return wm::MButtonDown + column;
    default: return 0;
    }
}

// The one event filter of the runtime: every Qt event of a window or
// control that the program can see becomes a message to its procedure.
class Dispatcher : public QObject {
public:
    static Dispatcher& instance()
    {
        static Dispatcher* d = new Dispatcher; // outlives every window
        return *d;
    }

    void attach(QWidget* widget, Handle h)
    {
        widgets_[widget] = h;
        widget->installEventFilter(this);
        widget->setMouseTracking(true);
        QObject::connect(widget, &QObject::destroyed, this, [this, widget] { widgets_.remove(widget); });
    }
    void detach(QWidget* widget) { widgets_.remove(widget); }

    Window* windowOf(QObject* o) const
    {
        auto found = widgets_.constFind(static_cast<QWidget*>(o));
        return found == widgets_.constEnd() ? nullptr : fromHandle(found.value());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Enter:
        case QEvent::Leave: break;
        default: return false;
        }
        Window* w = windowOf(watched);
        if (!w)
            return false;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            ++presses;
        if (pointerHoldDepth > 0 && event->type() != QEvent::KeyPress)
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        bool pass = false;
        bool* outer = currentPass;
        currentPass = &pass;
        const bool eaten = deliver(*w, widget, event, pass);
        currentPass = outer;
        return eaten;
    }

private:
    // The carrying window of a widget: the top-level one the runtime knows.
    Window* topOf(QWidget* widget) const { return windowOf(widget->window()); }

    void leaveAncestors(QWidget* widget)
    {
        // Entering a child is leaving its containers' own area.
        for (QWidget* p = widget->parentWidget(); p; p = p->parentWidget())
            if (Window* a = windowOf(p); a && a->leaveRequested()) {
                a->clearLeave();
                a->send(wm::MouseLeave, 0, 0);
            }
    }

    bool deliver(Window& w, QWidget* widget, QEvent* event, bool& pass)
    {
        const Handle h = w.hWnd();
        switch (event->type()) {
        case QEvent::Enter: leaveAncestors(widget); return false;
        case QEvent::Leave:
            if (w.leaveRequested()) {
                w.clearLeave();
                w.send(wm::MouseLeave, 0, 0);
            }
            return false;
        case QEvent::KeyPress: {
            auto* ke = static_cast<QKeyEvent*>(event);
            const bool alt = ke->modifiers() & Qt::AltModifier;
            const Qt::KeyboardModifiers outerModifiers = currentKeyModifiers;
            const bool outerKeyPress = inKeyPress;
            currentKeyModifiers = ke->modifiers();
            inKeyPress = true;
            const auto restore = qScopeGuard([&] {
                currentKeyModifiers = outerModifiers;
                inKeyPress = outerKeyPress;
            });
            pass = false;
            w.send(alt ? wm::SysKeyDown : wm::KeyDown, static_cast<quintptr>(virtualKey(*ke)), alt ? (1 << 29) : 0);
            if (!pass || !fromHandle(h))
                return !pass;
            const int c = typedCharacter(*ke);
            if (c == 0)
                return false;
            pass = false;
            w.send(wm::Char, static_cast<quintptr>(c), 0);
            return !pass;
        }
        default: break;
        }
        if (!widget->isEnabled())
            return false; // a disabled control takes no pointer input
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint at = w.mousePixels(me->position());
        const qintptr l = makeLParam(at.x(), at.y());
        if (event->type() == QEvent::MouseMove) {
            if (!deliverMove(w, widget, at, me->buttons(), me->modifiers()))
                return true;
            return !pass;
        }
        unsigned msg = buttonMessage(event->type(), me->button());
        if (msg == 0)
            return false;
        // A double-click is two presses on one control; a second press on
        // another one (the first click put it under the pointer) is a press.
        if (event->type() == QEvent::MouseButtonDblClick && h != lastPress_)
            msg -= wm::LButtonDblClk - wm::LButtonDown;
        if (event->type() != QEvent::MouseButtonRelease)
            lastPress_ = h;
        w.send(msg, mouseKeys(me->buttons() | me->button(), me->modifiers()), l);
        return !pass;
    }

public:
    // A pointer move over a window: the cursor question to its carrying
    // window, then the move itself. False when the window went meanwhile.
    bool deliverMove(Window& w, QWidget* widget, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
    {
        const Handle h = w.hWnd();
        if (Window* top = topOf(widget))
            top->send(wm::SetCursor, h, 1 | (wm::MouseMove << 16));
        if (!fromHandle(h))
            return false;
        w.send(wm::MouseMove, mouseKeys(buttons, mods), makeLParam(at.x(), at.y()));
        return true;
    }

    // The window of the runtime under a point of the screen and the widget
    // it stands for, or nullptr.
    Window* windowAt(QPoint global, QWidget*& widget) const
    {
        for (widget = QApplication::widgetAt(global); widget; widget = widget->parentWidget())
            if (Window* w = windowOf(widget))
                return w;
        return nullptr;
    }

private:
    QHash<QWidget*, Handle> widgets_;
    Handle lastPress_ = 0;
};

// Watches the top-level windows of the application (the program's, and
// message boxes and menus too): when one is moved, sized, shown or hidden,
// the window under a still pointer is due a mouse move.
class PointerWatch : public QObject {
public:
    static PointerWatch& instance()
    {
        static PointerWatch* p = [] {
            auto* watch = new PointerWatch; // outlives every window
            qApp->installEventFilter(watch);
            return watch;
        }();
        return *p;
    }

    void deliver()
    {
        if (!pending_)
            return;
        pending_ = false;
        // A held button means a drag: its own moves follow. A move loop or
        // an open menu has the pointer to itself.
        if (pointerHoldDepth > 0 || QGuiApplication::mouseButtons() != Qt::NoButton
            || QApplication::activePopupWidget())
            return;
        const QPoint global = QCursor::pos();
        QWidget* widget = nullptr;
        Window* w = Dispatcher::instance().windowAt(global, widget);
        if (!w || !widget->isEnabled() || !widget->isVisible())
            return;
        // Behind a modal window nothing takes the pointer.
        if (const QWidget* modal = QApplication::activeModalWidget(); modal && widget->window() != modal)
            return;
        Dispatcher::instance().deliverMove(*w, widget, widget->mapFromGlobal(global), Qt::NoButton,
                                           QGuiApplication::keyboardModifiers());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide: break;
        default: return false;
        }
        if (!watched->isWidgetType() || !static_cast<QWidget*>(watched)->isWindow() || pending_)
            return false;
        pending_ = true;
        QMetaObject::invokeMethod(
            this, [this] { deliver(); }, Qt::QueuedConnection);
        return false;
    }

private:
    bool pending_ = false;
};

} // namespace

Handle issueHandle()
{
    const Handle h = nextHandle;
    nextHandle += 4;
    return h;
}

Window::Window() : handle_(issueHandle())
{
    registry()[handle_] = this;
}

Window::~Window()
{
    registry().erase(handle_);
}

void Window::attach(QWidget* widget)
{
    if (!widget)
        return;
    Dispatcher::instance().attach(widget, handle_);
    PointerWatch::instance();
}

WindowProc* Window::setProcedure(WindowProc* procedure)
{
    WindowProc* previous = procedure_;
    procedure_ = procedure;
    return previous;
}

qintptr Window::defaultProcedure(unsigned, quintptr, qintptr)
{
    return 0;
}

qintptr Window::send(unsigned msg, quintptr wParam, qintptr lParam)
{
    qintptr result = 0;
    const Handle h = handle_;
    enter([&] {
        result = procedure_ ? procedure_->call(h, msg, wParam, lParam) : defaultProcedure(msg, wParam, lParam);
    });
    return result;
}

void Window::enter(const std::function<void()>& handler)
{
    if (!handler)
        return;
    ++depth_;
    raiseEvent(handler);
    if (--depth_ == 0 && !deferred_.empty())
        leave();
}

void Window::leave()
{
    // The work may delete this window: nothing of it is touched afterwards.
    std::vector<std::function<void()>> work;
    work.swap(deferred_);
    for (auto& w : work)
        raiseEvent(w);
}

void Window::whenIdle(std::function<void()> work)
{
    if (depth_ > 0) {
        deferred_.push_back(std::move(work));
        return;
    }
    work();
}

Window* fromHandle(Handle handle)
{
    auto found = registry().find(handle);
    return found == registry().end() ? nullptr : found->second;
}

void passToWidget()
{
    if (currentPass)
        *currentPass = true;
}

int keyShift()
{
    const Qt::KeyboardModifiers m = inKeyPress ? currentKeyModifiers : QGuiApplication::keyboardModifiers();
    return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

PointerHold::PointerHold()
{
    ++pointerHoldDepth;
}

PointerHold::~PointerHold()
{
    --pointerHoldDepth;
}

bool pointerHeld()
{
    return pointerHoldDepth > 0;
}

unsigned long pressCount()
{
    return presses;
}

void deliverPendingPointerMove()
{
    PointerWatch::instance().deliver();
}

} // namespace forms
