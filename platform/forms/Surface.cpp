#include "forms/Surface.h"

#include "forms/Runtime.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
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

// The device pixels a view of a size covers, rounded as Qt rounds a
// window's size, so that a frame over the whole window ends where it ends.
QSize deviceSize(QSize pixels, qreal dpr)
{
    auto one = [dpr](int v) { return static_cast<int>(std::lround(v * dpr)); };
    return QSize(one(pixels.width()), one(pixels.height()));
}
} // namespace

void Surface::resize(QSize size)
{
    size = size.expandedTo(QSize(1, 1));
    const qreal dpr = view_ ? view_->devicePixelRatioF() : 1.0;
    // Device pixels per image pixel in whole pixels; image pixels per view
    // pixel on a device surface. A change of either starts a new image.
    const qreal scale = scaling_ == Scaling::Device ? dpr : 1.0;
    const int whole = scaling_ == Scaling::WholePixels ? wholePixelScale(dpr) : 1;
    const QSize pixels = pixelsFor(size, dpr);
    if (image_.size() == pixels && scale == scale_ && whole == whole_)
        return;
    const bool rescaled = scale != scale_ || whole != whole_;
    scale_ = scale;
    whole_ = whole;
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

QSize Surface::pixelsFor(QSize viewSize, qreal dpr) const
{
    viewSize = viewSize.expandedTo(QSize(1, 1));
    if (dpr == 1.0)
        return viewSize;
    if (scaling_ == Scaling::Device)
        return (QSizeF(viewSize) * dpr).toSize().expandedTo(QSize(1, 1));
    const int n = wholePixelScale(dpr);
    const QSize device = deviceSize(viewSize, dpr);
    return QSize((device.width() + n - 1) / n, (device.height() + n - 1) / n);
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
    const int n = wholePixelScale(dpr);
    if (n == 1) {
        // Pixel for pixel: the same rows, only marked with the ratio.
        QImage out(image_.constBits(), image_.width(), image_.height(), image_.bytesPerLine(), image_.format());
        out.setDevicePixelRatio(dpr);
        return out;
    }
    const int w = image_.width(), h = image_.height();
    QImage out(w * n, h * n, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y * n));
        for (int x = 0; x < w; ++x)
            std::fill_n(to + x * n, n, from[x]);
        for (int k = 1; k < n; ++k)
            std::copy_n(to, w * n, reinterpret_cast<QRgb*>(out.scanLine(y * n + k)));
    }
    out.setDevicePixelRatio(dpr);
    return out;
}

QPoint Surface::fromView(QPointF at, qreal dpr) const
{
    if (scaling_ != Scaling::WholePixels || dpr == 1.0)
        return at.toPoint();
    // The device pixel under the point, then the whole pixel holding it;
    // a point outside stays outside.
    const int n = wholePixelScale(dpr);
    auto one = [n, dpr](double v) {
        const int d = static_cast<int>(std::floor(v * dpr + 1e-6));
        return d >= 0 ? d / n : -1 - (-1 - d) / n;
    };
    return QPoint(one(at.x()), one(at.y()));
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
