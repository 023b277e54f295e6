#include "forms/Form.h"

#include "forms/Control.h"
#include "forms/Runtime.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace forms {

class Form::Widget : public QWidget {
public:
    explicit Widget(Form& form) : form_(form) {}
    std::function<void()> closed;
    // Set by the window's own handling of the close message.
    bool accepted = false;

protected:
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

Form::Form()
    : window_(std::make_unique<Widget>(*this))
    , client_(window_.get())
{
    window_->setAttribute(Qt::WA_DeleteOnClose, false);
    attach(window_.get());
}

Form::~Form()
{
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
    return Window::defaultProcedure(msg, wParam, lParam);
}

QWidget* Form::window() const
{
    return window_.get();
}

QWidget* Form::client() const
{
    return client_;
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
    const QRect inner = window_->geometry();
    const int extraW = frame.width() - inner.width();
    const int extraH = frame.height() - inner.height();
    window_->move(toPixelsX(left), toPixelsY(top));
    window_->resize(std::max(1, toPixelsX(width) - extraW), std::max(1, toPixelsY(height) - extraH));
}

float Form::scaleWidth() const
{
    return toTwipsX(client_->width());
}

float Form::scaleHeight() const
{
    return toTwipsY(client_->height());
}

void Form::setClientSize(float width, float height)
{
    window_->resize(toPixelsX(width), toPixelsY(height));
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
    window_->setWindowState(state == 1 ? Qt::WindowMinimized : state == 2 ? Qt::WindowMaximized : Qt::WindowNoState);
}

void Form::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    enter(onLoad);
}

void Form::show()
{
    load();
    if (!shownOnce_) {
        shownOnce_ = true;
        if (const QScreen* s = QGuiApplication::primaryScreen()) {
            const QRect avail = s->availableGeometry();
            window_->move(avail.center() - QPoint(window_->width() / 2, window_->height() / 2));
        }
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
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
    return true;
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
