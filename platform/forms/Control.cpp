#include "forms/Control.h"

#include "forms/Form.h"
#include "forms/Runtime.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
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
        widget_->installEventFilter(this);
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
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (widget_)
        widget_->setGeometry(toPixelsX(left), toPixelsY(top), std::max(0, toPixelsX(width)),
                             std::max(0, toPixelsY(height)));
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
    return widget_ ? widget_->isEnabled() : true;
}

void Control::setEnabled(bool enabled)
{
    if (widget_)
        widget_->setEnabled(enabled);
}

QString Control::toolTipText() const
{
    return widget_ ? widget_->toolTip() : QString();
}

void Control::setToolTipText(const QString& text)
{
    if (widget_)
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

bool Control::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget_ && clickOnRelease_ && event->type() == QEvent::MouseButtonRelease && onClick) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && widget_->rect().contains(me->position().toPoint())) {
            raiseEvent(onClick);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace forms
