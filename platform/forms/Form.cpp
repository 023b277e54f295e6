#include "forms/Form.h"

#include "forms/Control.h"
#include "forms/Runtime.h"
#include "forms/Screen.h"

#include "forms/Controls.h"
#include "forms/UserControl.h"
#include "forms/X11.h"
#include "vb/Failure.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace forms {

class Form::Widget : public QWidget {
public:
    explicit Widget(Form& form) : form_(form) {}
    std::function<void()> closed;
    // Set by the window's own handling of the close message.
    bool accepted = false;

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        form_.alignControls();
    }

    // The compositor's word on the window's state comes to the native
    // window, as a spontaneous state change.
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::WindowStateChange && e->spontaneous() && o == windowHandle())
            form_.compositorReported(windowHandle()->windowStates() & Qt::WindowMaximized);
        return false;
    }

    void closeEvent(QCloseEvent* e) override
    {
        accepted = false;
        form_.send(wm::Close, 0, 0);
        if (!accepted) {
            e->ignore();
            return;
        }
        e->accept();
        if (closed)
            closed();
    }

private:
    Form& form_;
};

Form::Form() : window_(std::make_unique<Widget>(*this))
{
    window_->setAttribute(Qt::WA_DeleteOnClose, false);
    attach(window_.get());
}

Form::~Form()
{
    // A window destroyed while loaded ends its user controls as an unload
    // does, before any of them goes: a control that put itself in front of
    // a window's procedure takes itself out again, so no message sent while
    // the controls are freed reaches one already freed.
    if (loaded_) {
        loaded_ = false;
        for (Control* c : std::vector<Control*>(controls_))
            if (auto* uc = dynamic_cast<UserControl*>(c))
                enter([uc] { uc->terminate(); });
    }
    // Controls delete their widgets, the newest first; the window goes
    // after them.
    while (!controls_.empty())
        delete controls_.back();
}

qintptr Form::defaultProcedure(unsigned msg, quintptr wParam, qintptr lParam)
{
    if (msg == wm::Close) {
        window_->accepted = queryClose(0);
        return 0;
    }
    if (msg == wm::NcLButtonDown && wParam == HtCaption) {
        dragMove();
        return 0;
    }
    return Window::defaultProcedure(msg, wParam, lParam);
}

QWidget* Form::window() const
{
    return window_.get();
}

QWidget* Form::client() const
{
    return window_.get();
}

QString Form::caption() const
{
    return window_->windowTitle();
}

void Form::setCaption(const QString& caption)
{
    window_->setWindowTitle(caption);
}

void Form::setIcon(const QIcon& icon)
{
    icon_ = icon;
    window_->setWindowIcon(icon);
}

float Form::left() const
{
    return toTwipsX(window_->frameGeometry().x());
}

float Form::top() const
{
    return toTwipsY(window_->frameGeometry().y());
}

float Form::width() const
{
    return toTwipsX(window_->frameGeometry().width());
}

float Form::height() const
{
    return toTwipsY(window_->frameGeometry().height());
}

void Form::move(float left, float top, float width, float height)
{
    const QRect frame = window_->frameGeometry();
    const QRect client = window_->geometry();
    const int extraW = frame.width() - client.width();
    const int extraH = frame.height() - client.height();
    const QSize inner(std::max(1, toPixelsX(width) - extraW), std::max(1, toPixelsY(height) - extraH));
    if (compositorMaximized()) {
        heldSize_ = inner; // the compositor places the window
        return;
    }
    // A position it already has is left alone: on a scaled screen the window
    // may sit between two of its pixels, and a move to the nearer one would
    // shift it.
    if (toPixelsX(left) != frame.x() || toPixelsY(top) != frame.y())
        window_->move(toPixelsX(left), toPixelsY(top));
    window_->resize(inner);
}

void Form::resizeInner(QSize size)
{
    if (compositorMaximized()) {
        heldSize_ = size;
        return;
    }
    window_->resize(size);
}

namespace {
// The device pixels of a window's pixel position or length, as Qt places it.
int onDevice(int pixels, qreal dpr)
{
    return qRound(pixels * dpr);
}
// The whole-pixel span [from, from + length) of a window whose device pixels
// lie inside [left, right) device pixels. The edges come from whole twips,
// a fraction of a device pixel off at some scales: a tenth is taken as none.
std::pair<int, int> spanWithin(double left, double right, qreal dpr)
{
    constexpr double slack = 0.1;
    int from = static_cast<int>(std::ceil((left - slack) / dpr));
    while (onDevice(from, dpr) < left - slack)
        ++from;
    const int start = onDevice(from, dpr);
    int length = static_cast<int>(std::floor((right + slack - start) / dpr)) + 1;
    while (length > 1 && start + onDevice(length, dpr) > right + slack)
        --length;
    return {from, std::max(1, length)};
}
} // namespace

void Form::moveWithin(float left, float top, float width, float height)
{
    const qreal dpr = window_->devicePixelRatioF();
    if (dpr == 1.0 || compositorMaximized()) {
        move(left, top, width, height);
        return;
    }
    const QRect frame = window_->frameGeometry();
    const QRect inner = window_->geometry();
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    const auto [x, w] = spanWithin(left / tx * dpr, (left + width) / tx * dpr, dpr);
    const auto [y, h] = spanWithin(top / ty * dpr, (top + height) / ty * dpr, dpr);
    if (x != frame.x() || y != frame.y())
        window_->move(x, y);
    window_->resize(std::max(1, w - (frame.width() - inner.width())),
                    std::max(1, h - (frame.height() - inner.height())));
}

float Form::scaleWidth() const
{
    return toTwipsX(window_->width());
}

float Form::scaleHeight() const
{
    return toTwipsY(window_->height());
}

void Form::setClientSize(float width, float height)
{
    resizeInner(QSize(toPixelsX(width), toPixelsY(height)));
}

void Form::setBorderStyle(int style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    // Qt makes a new native window for the change; the handle stays ours.
    const bool visible = window_->isVisible();
    window_->setWindowFlag(Qt::FramelessWindowHint, style == 0);
    if (visible)
        window_->show();
}

int Form::windowState() const
{
    const Qt::WindowStates s = window_->windowState();
    return (s & Qt::WindowMinimized) ? 1 : (s & Qt::WindowMaximized) ? 2 : 0;
}

void Form::setWindowState(int state)
{
    // A maximised window minimised stays maximised for its return (a
    // compositor told to leave its maximised state would ask for a new size).
    const Qt::WindowStates kept = window_->windowState() & Qt::WindowMaximized;
    window_->setWindowState(state == 1       ? (Qt::WindowMinimized | kept)
                                : state == 2 ? Qt::WindowMaximized
                                             : Qt::WindowNoState);
}

void Form::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    if (design_) {
        // A new window: as designed, in the normal order of windows.
        if (topmost())
            setTopmost(false);
        window_->setWindowState(Qt::WindowNoState);
        // A window shown again is a new surface, in no state of the
        // compositor's yet.
        wantMaximized_ = reportedMaximized_ = false;
        heldSize_ = QSize();
        window_->resize(designSize_);
        if (controls_.empty())
            enter(design_);
    }
    // The user controls read their stored settings as they are sited,
    // before the window's own load event.
    for (Control* c : std::vector<Control*>(controls_))
        if (auto* uc = dynamic_cast<UserControl*>(c))
            enter([uc] { uc->readProperties(uc->storedProperties()); });
    enter(onLoad);
}

namespace {
// The program's windows in the order they were last shown.
std::vector<QPointer<QWidget>>& shownWindows()
{
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

// A window's owner: the active window, or where nothing is active (no
// window manager gives focus) the one shown last that is still up.
const QWidget* ownerOf(const QWidget* window)
{
    const QWidget* active = QApplication::activeWindow();
    if (active && active != window)
        return active;
    auto& shown = shownWindows();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        if (*it && *it != window && (*it)->isVisible())
            return *it;
    return nullptr;
}
} // namespace

void Form::placeAtStartUp(const QWidget* owner)
{
    // Centred on the owner, else on the screen; never with a part of the
    // title bar outside the available area, where it could not be reached.
    const QScreen* s = startUpPosition_ == 1 && owner ? screenOf(owner) : QGuiApplication::primaryScreen();
    const QRect area = availableArea(s);
    QRect outer = window_->frameGeometry();
    outer.moveCenter(startUpPosition_ == 1 && owner ? owner->frameGeometry().center() : area.center());
    window_->move(keepTitleInside(outer, area).topLeft());
}

void Form::show()
{
    // Each load is a new window, placed anew: a dialog shown again stands
    // over its owner wherever the owner has moved since.
    const bool loading = !loaded_;
    const QWidget* owner = ownerOf(window_.get());
    load();
    if (loading)
        placeAtStartUp(owner);
    auto& shown = shownWindows();
    shown.erase(std::remove_if(shown.begin(), shown.end(),
                               [&](const QPointer<QWidget>& w) { return !w || w == window_.get(); }),
                shown.end());
    shown.emplace_back(window_.get());
    window_->show();
    if (loading)
        focusFirstControl();
    window_->raise();
    window_->activateWindow();
}

void Form::focusFirstControl()
{
    // The first control in creation order that takes the focus by the
    // keyboard: a window's keys go to it from the start.
    for (Control* c : controls_) {
        QWidget* w = c->widget();
        if (w && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window_.get()) && w->isEnabled()) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

namespace {
ModalResponder& modalResponder()
{
    static ModalResponder r;
    return r;
}
} // namespace

void setModalResponder(ModalResponder responder)
{
    modalResponder() = std::move(responder);
}

void Form::showModal()
{
    if (modalResponder()) {
        show();
        modalResponder()(*this);
        unload();
        return;
    }
    window_->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    window_->closed = [&loop] { loop.quit(); };
    show();
    if (loaded_ && window_->isVisible())
        loop.exec();
    window_->closed = nullptr;
    window_->setWindowModality(Qt::NonModal);
}

bool Form::queryClose(int mode)
{
    if (closing_ || !loaded_)
        return true;
    int cancel = 0;
    if (onQueryUnload)
        enter([&] { onQueryUnload(cancel, mode); });
    if (cancel != 0)
        return false;
    loaded_ = false;
    for (Control* c : std::vector<Control*>(controls_))
        if (auto* uc = dynamic_cast<UserControl*>(c))
            enter([uc] { uc->terminate(); });
    if (design_)
        retireControls();
    return true;
}

void Form::setDesign(std::function<void()> build)
{
    design_ = std::move(build);
    designSize_ = window_->size();
}

void Form::retireControls()
{
    // Out of the window at once, so that a load before they are freed
    // builds new ones; freed, the newest first, once no message is inside
    // them (the close button's release is still on its way out).
    std::vector<Control*> gone(controls_.rbegin(), controls_.rend());
    controls_.clear();
    for (Control* c : gone)
        if (QWidget* w = c->widget())
            w->hide();
    for (Control* c : gone)
        destroyControl(c);
}

void Form::alignControls()
{
    for (Control* c : std::vector<Control*>(controls_))
        if (c->align() == 1 && !c->container() && c->width() != scaleWidth())
            c->move(0, 0, scaleWidth(), c->height());
}

void Form::unload()
{
    if (!loaded_)
        return;
    if (!queryClose(1))
        return;
    closing_ = true;
    window_->close();
    closing_ = false;
}

void Form::registerControl(Control* c)
{
    controls_.push_back(c);
}

void Form::unregisterControl(Control* c)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

Control& Form::addControl(const QString& className, const QString& name)
{
    if (className.compare(QLatin1String("vb.PictureBox"), Qt::CaseInsensitive) == 0)
        return *new PictureBox(*this, nullptr, name);
    vb::raise(711, QStringLiteral("Invalid class string"));
}

void Form::setCompositorMaximized(bool on)
{
    if (QWindow* handle = window_->windowHandle())
        handle->installEventFilter(window_.get());
    wantMaximized_ = on;
    if (on) {
        window_->showMaximized();
        return;
    }
    window_->showNormal();
    // Already normal by the compositor's last word: nothing to wait for.
    if (!reportedMaximized_)
        compositorReported(false);
}

void Form::compositorReported(bool maximized)
{
    reportedMaximized_ = maximized;
    if (compositorMaximized() || !heldSize_.isValid())
        return;
    // After Qt has handled the rest of the compositor's configuration,
    // whose size would otherwise win over the held one.
    QTimer::singleShot(0, window_.get(), [this] {
        if (compositorMaximized() || !heldSize_.isValid())
            return;
        const QSize size = heldSize_;
        heldSize_ = QSize();
        window_->resize(size);
    });
}

void Form::repaint()
{
    window_->repaint();
}

bool Form::topmost() const
{
    return window_->windowFlags() & Qt::WindowStaysOnTopHint;
}

void Form::setTopmost(bool on)
{
    const Qt::WindowFlags flags = window_->windowFlags().setFlag(Qt::WindowStaysOnTopHint, on);
    // Told to the native window directly: setWindowFlags would make a new
    // one, which flickers and can lose its place on X11.
    window_->overrideWindowFlags(flags);
    if (QWindow* handle = window_->windowHandle())
        handle->setFlags(flags);
}

namespace {

// Follows the pointer with the window until the left button is let go.
class MoveLoop : public QObject {
public:
    MoveLoop(QWidget* window, QPoint pressedAt) : window_(window), start_(window->pos()), from_(pressedAt) {}

    void run()
    {
        if (!(QGuiApplication::mouseButtons() & Qt::LeftButton))
            return; // the button is already up: nothing to follow
        // Qt sees the drag's input, the release included, so that its own
        // state ends as after any release; the program sees none of it.
        PointerHold hold;
        qApp->installEventFilter(this);
        window_->grabMouse();
        loop_.exec();
        window_->releaseMouse();
        qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            window_->move(start_ + (me->globalPosition().toPoint() - from_));
            if (!(me->buttons() & Qt::LeftButton))
                loop_.quit();
            return false;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
                loop_.quit();
            return false;
        default: return false;
        }
    }

private:
    QWidget* window_;
    QPoint start_, from_;
    QEventLoop loop_;
};

// The X server's own word on the left button, where the program talks to
// one: Qt's knows only the events it has read, and under load the moves of
// a quick drag are read after its release.
enum class Button { Up, Down, Unknown };

Button leftButtonOnServer()
{
    xcb_connection_t* c = x11::connection();
    const xcb_screen_t* screen = x11::rootScreen(c);
    if (!screen)
        return Button::Unknown;
    xcb_query_pointer_reply_t* r = xcb_query_pointer_reply(c, xcb_query_pointer(c, screen->root), nullptr);
    if (!r)
        return Button::Unknown;
    const bool down = r->mask & XCB_BUTTON_MASK_1;
    std::free(r);
    return down ? Button::Down : Button::Up;
}

// Asks the window manager to end a move of the window (_NET_WM_MOVERESIZE,
// _NET_WM_MOVERESIZE_CANCEL). Sent once the server has shown the button up,
// it reaches the window manager after the release: a move that the release
// ended has nothing to cancel, one that began after it ends where it began.
void cancelWindowManagerMove(const QWidget* window)
{
    xcb_connection_t* c = x11::connection();
    const xcb_screen_t* screen = x11::rootScreen(c);
    // No window manager that knows the request: no move of its to end.
    const xcb_atom_t moveResize = screen ? x11::atom(c, "_NET_WM_MOVERESIZE") : xcb_atom_t{XCB_ATOM_NONE};
    if (moveResize == XCB_ATOM_NONE)
        return;
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = static_cast<xcb_window_t>(window->winId());
    ev.type = moveResize;
    ev.data.data32[2] = 11; // _NET_WM_MOVERESIZE_CANCEL
    ev.data.data32[3] = XCB_BUTTON_INDEX_1;
    ev.data.data32[4] = 1; // from an application
    char bytes[32];
    static_assert(sizeof ev == sizeof bytes);
    std::memcpy(bytes, &ev, sizeof bytes);
    xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   bytes);
    xcb_flush(c);
}

// Waits for the end of a move that the window system runs: until the X
// server shows the left button up, where there is one; elsewhere until Qt
// sees no button held or the release, or the window has not moved for a
// while (some window systems never deliver the release after such a move).
class SystemMoveWait : public QObject {
public:
    explicit SystemMoveWait(QWidget* window) : window_(window) {}
    void run()
    {
        // The window system owns the drag: what reaches the program's
        // windows meanwhile, the release included, is the drag's.
        PointerHold hold;
        const bool server = leftButtonOnServer() != Button::Unknown;
        if (!server)
            qApp->installEventFilter(this);
        QTimer poll;
        poll.setInterval(server ? 20 : 50);
        QObject::connect(&poll, &QTimer::timeout, [this, server] {
            if (server) {
                if (leftButtonOnServer() != Button::Down)
                    loop_.quit();
                return;
            }
            idle_ += 50;
            if (!(QGuiApplication::mouseButtons() & Qt::LeftButton) || idle_ >= 2000)
                loop_.quit();
        });
        poll.start();
        loop_.exec();
        if (!server)
            qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonRelease)
            loop_.quit();
        if (e->type() == QEvent::Move && o == window_)
            idle_ = 0;
        return false;
    }

private:
    QWidget* window_;
    QEventLoop loop_;
    int idle_ = 0;
};

} // namespace

void Form::dragMove()
{
    // One press, one move: the moves of a drag that reach the window after
    // its move has ended belong to the same press and start nothing.
    if (dragPress_ == pressCount())
        return;
    dragPress_ = pressCount();
    // A move asked for once the button is up would follow the pointer with
    // no button held, until the next click.
    if (leftButtonOnServer() == Button::Up)
        return;
    QWindow* handle = window_->windowHandle();
    if (handle && handle->startSystemMove()) {
        SystemMoveWait(window_.get()).run();
        if (leftButtonOnServer() == Button::Up)
            cancelWindowManagerMove(window_.get());
        return;
    }
    MoveLoop(window_.get(), QCursor::pos()).run();
}

void Form::destroyControl(Control* c)
{
    if (!c)
        return;
    const Handle h = c->hWnd();
    auto destroy = [this, h] {
        // Still ours and idle: the window may have gone busy again.
        if (Window* w = fromHandle(h))
            if (auto* control = dynamic_cast<Control*>(w); control && &control->form() == this)
                delete control;
    };
    c->whenIdle([this, destroy] { whenIdle(destroy); });
}

} // namespace forms
