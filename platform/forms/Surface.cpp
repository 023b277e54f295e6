#include "forms/Surface.h"

#include <QPainter>
#include <unordered_map>

namespace forms {

namespace {
std::unordered_map<Handle, Surface*>& deviceContexts()
{
    static std::unordered_map<Handle, Surface*> dcs;
    return dcs;
}
// Drawing calls come in runs on one surface: the last one found is kept.
Handle lastDC = 0;
Surface* lastSurface = nullptr;
} // namespace

Surface::Surface(QWidget* view)
    : view_(view)
    , hDC_(issueHandle())
{
    deviceContexts()[hDC_] = this;
}

Surface::~Surface()
{
    deviceContexts().erase(hDC_);
    if (lastDC == hDC_) {
        lastDC = 0;
        lastSurface = nullptr;
    }
}

void Surface::resize(QSize size)
{
    size = size.expandedTo(QSize(1, 1));
    if (image_.size() == size)
        return;
    QImage grown(size, QImage::Format_RGB32);
    grown.fill(back_);
    if (!image_.isNull()) {
        QPainter p(&grown);
        p.drawImage(0, 0, image_);
    } else if (!background_.isNull()) {
        QPainter p(&grown);
        p.drawPixmap(0, 0, background_);
    }
    image_ = std::move(grown);
    refresh();
}

void Surface::clear()
{
    if (image_.isNull())
        return;
    image_.fill(back_);
    if (!background_.isNull()) {
        QPainter p(&image_);
        p.drawPixmap(0, 0, background_);
    }
    refresh();
}

void Surface::refresh()
{
    if (view_)
        view_->update();
}

void Surface::paint(QWidget* widget) const
{
    if (image_.isNull())
        return;
    QPainter p(widget);
    p.drawImage(0, 0, image_);
}

void Surface::drawText(const QFont& font, const QColor& colour, QPoint topLeft, const QString& text)
{
    if (image_.isNull())
        return;
    QPainter p(&image_);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(topLeft.x(), topLeft.y() + QFontMetrics(font).ascent(), text);
}

void Surface::drawPicture(const QPixmap& picture, const QRect& target, const QRect& source)
{
    if (image_.isNull() || picture.isNull())
        return;
    QPainter p(&image_);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawPixmap(target, picture, source.isNull() ? picture.rect() : source);
}

Surface* surfaceFromDC(Handle hDC)
{
    if (hDC != 0 && hDC == lastDC)
        return lastSurface;
    auto found = deviceContexts().find(hDC);
    if (found == deviceContexts().end())
        return nullptr;
    lastDC = hDC;
    lastSurface = found->second;
    return lastSurface;
}

} // namespace forms
