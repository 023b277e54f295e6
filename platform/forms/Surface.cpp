#include "forms/Surface.h"

#include <QPainter>
#include <algorithm>
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

namespace {
// Fills the parts of an image that a picture at (0, 0) leaves uncovered.
void fillOutside(QImage& image, QSize covered, const QColor& colour)
{
    const int w = image.width(), h = image.height();
    const int cw = std::min(covered.width(), w), ch = std::min(covered.height(), h);
    if (cw <= 0 || ch <= 0) {
        image.fill(colour);
        return;
    }
    const QRgb c = colour.rgb();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (y < ch)
            std::fill(row + cw, row + w, c);
        else
            std::fill(row, row + w, c);
    }
}
// A view of the store's top-left corner, keeping the store alive.
QImage viewOf(const std::shared_ptr<QImage>& store, QSize size)
{
    auto* keep = new std::shared_ptr<QImage>(store);
    return QImage(
        store->bits(), size.width(), size.height(), store->bytesPerLine(), QImage::Format_RGB32,
        [](void* info) { delete static_cast<std::shared_ptr<QImage>*>(info); }, keep);
}
} // namespace

void Surface::resize(QSize size)
{
    size = size.expandedTo(QSize(1, 1));
    if (image_.size() == size)
        return;
    // What already shows its content: the old image, or on a first image
    // the background picture drawn into it.
    const QSize shown = !image_.isNull() ? image_.size() : background_.isNull() ? QSize(0, 0) : background_.size();
    const bool isView = !image_.isNull() && store_ && image_.constBits() == store_->constBits();
    if (isView && size.width() <= store_->width() && size.height() <= store_->height()) {
        image_ = viewOf(store_, size);
    } else {
        // Room to grow by a quarter before the next allocation.
        const QSize room(size.width() + size.width() / 4, size.height() + size.height() / 4);
        auto store = std::make_shared<QImage>(room, QImage::Format_RGB32);
        QImage view = viewOf(store, size);
        if (!image_.isNull()) {
            QPainter p(&view);
            p.drawImage(0, 0, image_);
        } else if (!background_.isNull()) {
            QPainter p(&view);
            p.drawPixmap(0, 0, background_);
        }
        store_ = std::move(store);
        image_ = std::move(view);
    }
    // The new area shows the back colour.
    fillOutside(image_, shown, back_);
    refresh();
}

void Surface::clear()
{
    if (image_.isNull())
        return;
    if (background_.isNull()) {
        image_.fill(back_);
    } else {
        fillOutside(image_, background_.size(), back_);
        QPainter p(&image_);
        p.setCompositionMode(QPainter::CompositionMode_Source);
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

void SurfaceView::paintEvent(QPaintEvent*)
{
    if (surface_)
        surface_->paint(this);
    if (paintOver) {
        QPainter p(this);
        paintOver(p);
    }
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
