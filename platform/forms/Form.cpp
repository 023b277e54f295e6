#include "forms/Form.h"

#include "forms/Control.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace forms {

class Form::Window : public QWidget {
public:
    explicit Window(Form& form) : form_(form) {}
    std::function<void()> closed;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        if (!form_.queryClose(0)) {
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
    : window_(std::make_unique<Window>(*this))
    , client_(window_.get())
{
    window_->setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form()
{
    // Controls delete their widgets; the window goes after them.
    while (!controls_.empty())
        delete controls_.back();
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
    raiseEvent(onLoad);
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

void Form::show()
{
    // Each load is a new window, placed anew: a dialog shown again stands
    // over its owner wherever the owner has moved since.
    const bool loading = !loaded_;
    const QWidget* owner = ownerOf(window_.get());
    load();
    if (loading) {
        const QScreen* s = QGuiApplication::primaryScreen();
        const QPoint half(window_->width() / 2, window_->height() / 2);
        if (startUpPosition_ == 1 && owner)
            window_->move(owner->frameGeometry().center() - half);
        else if (s)
            window_->move(s->availableGeometry().center() - half);
    }
    auto& shown = shownWindows();
    shown.erase(std::remove_if(shown.begin(), shown.end(), [&](const QPointer<QWidget>& w) { return !w || w == window_.get(); }),
                shown.end());
    shown.emplace_back(window_.get());
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
        raiseEvent([&] { onQueryUnload(cancel, mode); });
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

quintptr Form::hWnd() const
{
    return static_cast<quintptr>(window_->winId());
}

} // namespace forms
