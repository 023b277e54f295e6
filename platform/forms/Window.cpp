#include "forms/Window.h"


#include "forms/Runtime.h"

#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
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

// The virtual-key code of a Qt key, for the keys the program looks at.
quintptr virtualKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<quintptr>(key);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<quintptr>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + static_cast<quintptr>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Delete: return 0x2E;
    default: return 0;
    }
}

// The character a key press types, as the key event of a text box sees it.
int typedCharacter(const QKeyEvent* ke)
{
    switch (ke->key()) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return 9;
    default:
        if (!ke->text().isEmpty() && !(ke->modifiers() & Qt::ControlModifier))
            return ke->text().at(0).unicode();
        return 0;
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
        case QEvent::Enter:
            leaveAncestors(widget);
            return false;
        case QEvent::Leave:
            if (w.leaveRequested()) {
                w.clearLeave();
                w.send(wm::MouseLeave, 0, 0);
            }
            return false;
        case QEvent::KeyPress: {
            auto* ke = static_cast<QKeyEvent*>(event);
            const bool alt = ke->modifiers() & Qt::AltModifier;
            pass = false;
            w.send(alt ? wm::SysKeyDown : wm::KeyDown, virtualKey(ke->key()), alt ? (1 << 29) : 0);
            if (!pass || !fromHandle(h))
                return !pass;
            const int c = typedCharacter(ke);
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
            if (Window* top = topOf(widget))
                top->send(wm::SetCursor, h, 1 | (wm::MouseMove << 16));
            if (!fromHandle(h))
                return true;
            w.send(wm::MouseMove, mouseKeys(me->buttons(), me->modifiers()), l);
            return !pass;
        }
        const unsigned msg = buttonMessage(event->type(), me->button());
        if (msg == 0)
            return false;
        w.send(msg, mouseKeys(me->buttons() | me->button(), me->modifiers()), l);
        return !pass;
    }

    QHash<QWidget*, Handle> widgets_;
};

} // namespace

Handle issueHandle()
{
    const Handle h = nextHandle;
    nextHandle += 4;
    return h;
}

Window::Window()
    : handle_(issueHandle())
{
    registry()[handle_] = this;
}

Window::~Window()
{
    registry().erase(handle_);
}

void Window::attach(QWidget* widget)
{
    if (widget)
        Dispatcher::instance().attach(widget, handle_);
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

} // namespace forms
