#include "forms/UserControl.h"

#include "forms/Form.h"
#include "forms/Runtime.h"

#include <QFontMetrics>
#include <QWidget>

namespace forms {

UserControl::UserControl(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, new SurfaceView)
    , view_(static_cast<SurfaceView*>(widget()))
    , surface_(view_)
{
    view_->setSurface(&surface_);
    // The frame sets its pixels one by one: on a scaled screen each shows
    // whole, as a block of device pixels.
    surface_.setScaling(Surface::Scaling::WholePixels);
    view_->setFocusPolicy(Qt::ClickFocus);
    pixelScale_ = true;
    backColor_ = ButtonFace;
    surface_.setBackColor(toQColor(backColor_));
    surface_.setFont(view_->font());
}

void UserControl::setBackColor(long colour)
{
    const QColor c = toQColor(colour);
    Control::setBackColor(colour);
    surface_.setBackColor(c);
    surface_.clear();
}

void UserControl::setForeColor(long colour)
{
    const QColor c = toQColor(colour);
    Control::setForeColor(colour);
    surface_.setTextColour(c);
}

void UserControl::setFont(const QFont& font)
{
    Control::setFont(font);
    surface_.setFont(font);
}

void UserControl::setPicture(const Picture& picture)
{
    picture_ = picture;
    surface_.setBackground(picture.pixmap());
    surface_.clear();
}

QPoint UserControl::mousePixels(QPointF at) const
{
    return surface_.fromView(at, view_->devicePixelRatioF());
}

void UserControl::geometryChanged()
{
    surface_.resize(view_->size());
}

// In the surface's pixels, before it has an image too.
int UserControl::scaleWidth() const
{
    return surface_.pixelsFor(view_->size(), view_->devicePixelRatioF()).width();
}

int UserControl::scaleHeight() const
{
    return surface_.pixelsFor(view_->size(), view_->devicePixelRatioF()).height();
}

void UserControl::cls()
{
    surface_.clear();
}

void UserControl::refresh()
{
    surface_.refresh();
}

int UserControl::textWidth(const QString& text) const
{
    return QFontMetrics(font()).horizontalAdvance(text);
}

int UserControl::textHeight(const QString&) const
{
    return QFontMetrics(font()).height();
}

void UserControl::paintPicture(const Picture& picture, int x, int y, int width, int height, int srcX, int srcY,
                               int srcWidth, int srcHeight)
{
    const QPixmap& p = picture.pixmap();
    surface_.drawPicture(
        p, QRect(x, y, width, height),
        QRect(srcX, srcY, srcWidth < 0 ? p.width() : srcWidth, srcHeight < 0 ? p.height() : srcHeight));
}

bool UserControl::ambientUserMode() const
{
    return form().userMode();
}

QFont UserControl::ambientFont() const
{
    return form().window()->font();
}

void UserControl::propertyChanged(const QString& name)
{
    if (form().onPropertyChanged)
        form().onPropertyChanged(*this, name);
}

MenuItem::MenuItem(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, nullptr)
{
}

MenuItem::MenuItem(const MenuItem& first, int index) : MenuItem(first.form(), first.container(), first.name(), index)
{
    caption_ = first.caption_;
    checked_ = first.checked_;
    setEnabled(first.isEnabled());
    setVisible(first.isVisible());
}

} // namespace forms
