#include "forms/Control.h"

#include "forms/Form.h"
#include "forms/Runtime.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWidget>

namespace forms {

Control::Control(Form& form, Control* container, QString name, int index, QWidget* widget)
    : form_(form)
    , container_(container)
    , name_(std::move(name))
    , index_(index)
    , widget_(widget)
{
    if (widget_) {
        widget_->setParent(container_ && container_->widget() ? container_->widget() : form_.client());
        attach(widget_);
        widget_->show();
    }
    form_.registerControl(this);
}

Control::~Control()
{
    form_.unregisterControl(this);
    delete widget_;
}

void Control::move(float left, float top, float width, float height)
{
    setGeometryTwips(left, top, width, height);
}

void Control::setGeometryTwips(float left, float top, float width, float height)
{
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (widget_)
        widget_->setGeometry(toPixelsX(left), toPixelsY(top), std::max(0, toPixelsX(width)),
                             std::max(0, toPixelsY(height)));
    geometryChanged();
    if (resized && onResize)
        fireEvent(onResize);
}

void Control::copyFrom(const Control& first)
{
    tag_ = first.tag_;
    mousePointer_ = first.mousePointer_;
    if (first.mouseIcon_)
        mouseIcon_ = std::make_unique<QCursor>(*first.mouseIcon_);
    applyCursor();
    backColor_ = first.backColor_;
    foreColor_ = first.foreColor_;
    applyColours();
    Control::setFont(first.font());
    setToolTipText(first.toolTipText());
    setGeometryTwips(first.left_, first.top_, first.width_, first.height_);
    setVisible(false);
}

void Control::setVisible(bool visible)
{
    visible_ = visible;
    if (widget_)
        widget_->setVisible(visible);
}

bool Control::isEnabled() const
{
    return widget_ ? widget_->isEnabled() : enabled_;
}

void Control::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (widget_)
        widget_->setEnabled(enabled);
}

QString Control::toolTipText() const
{
    return widget_ ? widget_->toolTip() : QString();
}

void Control::setToolTipText(const QString& text)
{
    if (!widget_)
        return;
    // A tip on the screen goes with its text, as the system's goes with its
    // tool: Qt would keep it up until the pointer leaves the widget.
    if (text.isEmpty() && QToolTip::isVisible() && !widget_->toolTip().isEmpty()
        && QToolTip::text() == widget_->toolTip())
        QToolTip::hideText();
    widget_->setToolTip(text);
}

void Control::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    applyCursor();
}

void Control::setMouseIcon(const QCursor& cursor)
{
    mouseIcon_ = std::make_unique<QCursor>(cursor);
    applyCursor();
}

void Control::applyCursor()
{
    if (!widget_)
        return;
    switch (mousePointer_) {
    case 7: widget_->setCursor(Qt::SizeVerCursor); break;
    case 8: widget_->setCursor(Qt::SizeFDiagCursor); break;
    case 9: widget_->setCursor(Qt::SizeHorCursor); break;
    case 99:
        if (mouseIcon_)
            widget_->setCursor(*mouseIcon_);
        else
            widget_->unsetCursor();
        break;
    default: widget_->unsetCursor(); break;
    }
}

void Control::setAlign(int align)
{
    align_ = align;
    if (align_ == 1 && !container_)
        move(0, 0, form_.scaleWidth(), height_);
}

void Control::zOrder(int position)
{
    if (!widget_)
        return;
    if (position == 0)
        widget_->raise();
    else
        widget_->lower();
}

QFont Control::font() const
{
    return widget_ ? widget_->font() : QFont();
}

void Control::setFont(const QFont& font)
{
    if (widget_)
        widget_->setFont(font);
}

void Control::setBackColor(long colour)
{
    backColor_ = colour;
    applyColours();
}

void Control::setForeColor(long colour)
{
    foreColor_ = colour;
    applyColours();
}

void Control::applyColours()
{
    if (!widget_)
        return;
    QPalette p = widget_->palette();
    p.setColor(QPalette::Window, toQColor(backColor_));
    p.setColor(QPalette::Base, toQColor(backColor_));
    p.setColor(QPalette::Button, toQColor(backColor_)); // check boxes, buttons, lists
    p.setColor(QPalette::WindowText, toQColor(foreColor_));
    p.setColor(QPalette::Text, toQColor(foreColor_));
    p.setColor(QPalette::ButtonText, toQColor(foreColor_));
    widget_->setPalette(p);
}

qintptr Control::defaultProcedure(unsigned msg, quintptr wParam, qintptr lParam)
{
    const int shift = ((wParam & MkShift) ? 1 : 0) | ((wParam & MkControl) ? 2 : 0);
    const float x = pixelScale_ ? static_cast<float>(lParamX(lParam)) : toTwipsX(lParamX(lParam));
    const float y = pixelScale_ ? static_cast<float>(lParamY(lParam)) : toTwipsY(lParamY(lParam));
    auto mouse = [&](const std::function<void(int, int, float, float)>& handler, int button) {
        if (handler)
            fireEvent([&] { handler(button, shift, x, y); });
    };
    auto button = [](unsigned m) { return m <= wm::LButtonDblClk ? 1 : m <= wm::RButtonDblClk ? 2 : 4; };
    switch (msg) {
    case wm::MouseMove: {
        const int held =
            ((wParam & MkLButton) ? 1 : 0) | ((wParam & MkRButton) ? 2 : 0) | ((wParam & MkMButton) ? 4 : 0);
        mouse(onMouseMove, held);
        break;
    }
    case wm::LButtonDown:
    case wm::RButtonDown:
    case wm::MButtonDown: mouse(onMouseDown, button(msg)); break;
    case wm::LButtonDblClk:
        // The second press of a double-click is the double-click and
        // nothing else: no press, and its release is no click. A control
        // without a handler for it hears only the release.
        releaseEndsDblClick_ = true;
        if (onDblClick)
            fireEvent(onDblClick);
        if (!widgetTakesDblClick_)
            return 0;
        break;
    case wm::RButtonDblClk:
    case wm::MButtonDblClk: mouse(onMouseDown, button(msg)); break;
    case wm::LButtonUp:
    case wm::RButtonUp:
    case wm::MButtonUp: {
        const bool afterDblClick = msg == wm::LButtonUp && releaseEndsDblClick_;
        if (msg == wm::LButtonUp)
            releaseEndsDblClick_ = false;
        mouse(onMouseUp, button(msg));
        const QWidget* w = widget();
        if (msg == wm::LButtonUp && !afterDblClick && clickOnRelease_ && onClick && w
            && w->rect().contains(lParamX(lParam), lParamY(lParam)))
            fireEvent(onClick);
        break;
    }
    case wm::KeyDown:
    case wm::SysKeyDown: {
        // Every key goes on to the widget, one the table has no code for
        // as well; only a handler that sets the code to 0 keeps it back.
        const int named = static_cast<int>(wParam);
        int code = named;
        if (onKeyDown)
            fireEvent([&] { onKeyDown(code, keyShift() | (msg == wm::SysKeyDown ? 4 : 0)); });
        if (code != 0 || named == 0)
            passToWidget();
        return 0;
    }
    case wm::Char:
        // A control without a key filter lets the widget type it.
        passToWidget();
        return 0;
    default: return 0;
    }
    if (widgetTakesInput_)
        passToWidget();
    return 0;
}

} // namespace forms
