#include "forms/Surface.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

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

Surface::Surface(QWidget* view) : view_(view), hDC_(issueHandle())
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
QImage viewOf(const std::shared_ptr<QImage>& store, QSize size, qreal scale)
{
    auto* keep = new std::shared_ptr<QImage>(store);
    QImage view(
        store->bits(), size.width(), size.height(), store->bytesPerLine(), QImage::Format_RGB32,
        [](void* info) { delete static_cast<std::shared_ptr<QImage>*>(info); }, keep);
    view.setDevicePixelRatio(scale);
    return view;
}

// The image pixel that device pixel d of one axis shows, for a surface
// drawn in whole pixels: the first half anchored at 0, the second at the
// far end, n device pixels per image pixel.
int wholePixelOf(int d, int pixels, int devicePixels, int n)
{
    return d < devicePixels / 2 ? d / n : pixels - 1 - (devicePixels - 1 - d) / n;
}

std::vector<int> wholePixelMap(int pixels, int devicePixels, int n)
{
    std::vector<int> map(static_cast<std::size_t>(std::max(devicePixels, 0)));
    for (int d = 0; d < devicePixels; ++d)
        map[static_cast<std::size_t>(d)] = std::clamp(wholePixelOf(d, pixels, devicePixels, n), 0, pixels - 1);
    return map;
}

// The device pixels an image of the view's pixels covers.
QSize deviceSize(QSize pixels, qreal dpr)
{
    return QSize(static_cast<int>(std::ceil(pixels.width() * dpr)), static_cast<int>(std::ceil(pixels.height() * dpr)));
}

// Whole device pixels per image pixel: the ratio rounded down, so that the
// title bar and the buttons, laid out in the window's pixels, never grow
// past the room the window's layout gives them.
int wholeScale(qreal dpr)
{
    return std::max(1, static_cast<int>(std::floor(dpr + 1e-6)));
}
} // namespace

void Surface::resize(QSize size)
{
    size = size.expandedTo(QSize(1, 1));
    const qreal scale = scaling_ == Scaling::Device && view_ ? view_->devicePixelRatioF() : 1.0;
    // The image in its own pixels: device pixels, or the view's.
    const QSize pixels = scale == 1.0 ? size : (QSizeF(size) * scale).toSize().expandedTo(QSize(1, 1));
    if (image_.size() == pixels && scale == scale_)
        return;
    const bool rescaled = scale != scale_;
    scale_ = scale;
    // What already shows its content: the old image, or on a first image
    // the background picture drawn into it.
    const QSize shown = rescaled ? QSize(0, 0)
        : !image_.isNull()       ? image_.size()
        : background_.isNull()   ? QSize(0, 0)
                                 : (background_.deviceIndependentSize() * scale_).toSize();
    const bool isView = !rescaled && !image_.isNull() && store_ && image_.constBits() == store_->constBits();
    if (isView && pixels.width() <= store_->width() && pixels.height() <= store_->height()) {
        image_ = viewOf(store_, pixels, scale_);
    } else {
        size = pixels;
        // Room to grow by a quarter before the next allocation.
        const QSize room(size.width() + size.width() / 4, size.height() + size.height() / 4);
        auto store = std::make_shared<QImage>(room, QImage::Format_RGB32);
        QImage view = viewOf(store, size, scale_);
        if (!image_.isNull() && !rescaled) {
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
        fillOutside(image_, (background_.deviceIndependentSize() * scale_).toSize(), back_);
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
    const qreal dpr = widget->devicePixelRatioF();
    if (scaling_ == Scaling::WholePixels && dpr != 1.0)
        p.drawImage(QPointF(0, 0), shown(dpr));
    else
        p.drawImage(QPointF(0, 0), image_);
}

QImage Surface::shown(qreal dpr) const
{
    if (image_.isNull() || scaling_ != Scaling::WholePixels || dpr == 1.0)
        return image_;
    const int n = wholeScale(dpr);
    const int w = image_.width(), h = image_.height();
    const QSize device = deviceSize(image_.size(), dpr);
    const int dw = device.width(), dh = device.height();
    const std::vector<int> xs = wholePixelMap(w, dw, n), ys = wholePixelMap(h, dh, n);
    QImage out(dw, dh, QImage::Format_RGB32);
    for (int y = 0; y < dh; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image_.constScanLine(ys[static_cast<std::size_t>(y)]));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < dw; ++x)
            to[x] = from[xs[static_cast<std::size_t>(x)]];
    }
    out.setDevicePixelRatio(dpr);
    return out;
}

QPoint Surface::fromView(QPointF at, qreal dpr) const
{
    if (scaling_ != Scaling::WholePixels || dpr == 1.0 || image_.isNull())
        return at.toPoint();
    const int n = wholeScale(dpr);
    const QSize device = deviceSize(image_.size(), dpr);
    auto one = [n](double v, int pixels, int devicePixels) {
        const int d = static_cast<int>(std::floor(v));
        if (d < 0)
            return d / n; // outside, to the left or above: stays outside
        if (d >= devicePixels)
            return pixels + (d - devicePixels) / n;
        return wholePixelOf(d, pixels, devicePixels, n);
    };
    return QPoint(one(at.x() * dpr, image_.width(), device.width()),
                  one(at.y() * dpr, image_.height(), device.height()));
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
