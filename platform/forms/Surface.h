#pragma once

#include "forms/Window.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QWidget>

class QPainter;
#include <functional>
#include <memory>

namespace forms {

// The persistent image of a picture box or a user control: what is drawn
// on it stays until it is cleared, and the control's widget only copies it
// when it paints.
//
// The contract:
// - drawing is pixel-exact: nothing draws with antialiasing, and callers
//   set pixels or draw 1-pixel lines themselves;
// - the image is kept across resizes: a larger surface keeps what was
//   drawn and shows the back colour in the new area;
// - no painter is held across calls: each drawing call opens and closes
//   its own, so the image can be read and written between any two calls;
// - drawing does not repaint the widget: refresh() does, and the runtime's
//   own drawing methods (clear, print) call it;
// - the image is made when the control first has a size, not before.
//
// Each surface has a device-context handle, for the drawing calls of the
// platform layer above.
class Surface {
public:
    explicit Surface(QWidget* view);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    Handle hDC() const { return hDC_; }
    QWidget* view() const { return view_; }

    // The image; null until the surface has a size.
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    QSize size() const { return image_.size(); }
    void resize(QSize size);

    QColor backColor() const { return back_; }
    void setBackColor(const QColor& colour) { back_ = colour; }
    // A picture drawn at the top-left corner by every clear.
    const QPixmap& background() const { return background_; }
    void setBackground(const QPixmap& picture) { background_ = picture; }

    // Fills the surface with the back colour and draws the background
    // picture over it; refreshes.
    void clear();
    // Schedules the widget's repaint with what the image holds now.
    void refresh();
    // For the widget's paint event.
    void paint(QWidget* widget) const;

    // How the image meets a screen whose device pixel ratio is not 1.
    // Device: the image holds device pixels and everything drawn on it
    // through a painter (text, fills, pictures) is sharp; for picture boxes.
    // Whole pixels: the image holds pixels of n x n device pixels each, n
    // the ratio rounded down, and covers the view's whole device area in
    // them from its top-left corner; the drawing calls set these pixels one
    // by one, so a line drawn one pixel wide shows n device pixels wide
    // everywhere and nothing shows twice or is left out.
    enum class Scaling { Device, WholePixels };
    void setScaling(Scaling scaling) { scaling_ = scaling; }
    Scaling scaling() const { return scaling_; }
    // The image's pixels per pixel of the view.
    qreal imageScale() const { return scale_; }
    // The size of the image for a view of a size (view pixels) at a device
    // pixel ratio.
    QSize pixelsFor(QSize viewSize, qreal dpr) const;
    // The image pixel a point of the view shows (view pixels, at the
    // view's device pixel ratio).
    QPoint fromView(QPointF at, qreal dpr) const;
    // What the view shows at a device pixel ratio, device pixel by device
    // pixel, as paint() draws it.
    QImage shown(qreal dpr) const;

    // The font and text colour that text drawn through the device context
    // takes: the control's own.
    const QFont& font() const { return font_; }
    void setFont(const QFont& font) { font_ = font; }
    QColor textColour() const { return text_; }
    void setTextColour(const QColor& colour) { text_ = colour; }

    // Text in a font and colour at a pixel position (the top of the line).
    void drawText(const QFont& font, const QColor& colour, QPoint topLeft, const QString& text);
    // A picture stretched over a rectangle of the surface, from a part of
    // the picture (an empty part: all of it).
    void drawPicture(const QPixmap& picture, const QRect& target, const QRect& source = QRect());

    // What the drawing layer above keeps for this device context (its
    // drawing position, its selected pen); it goes with the surface.
    std::shared_ptr<void>& drawingState() { return drawingState_; }

private:
    QWidget* view_;
    Handle hDC_;
    std::shared_ptr<void> drawingState_;
    // The image is a view of a larger store, so that a window dragged a
    // pixel at a time neither allocates nor copies: rows keep their stride,
    // and what was drawn stays where it was.
    // Every view holds a reference to its store, so a copy of the image
    // taken elsewhere never points at freed rows.
    std::shared_ptr<QImage> store_;
    QImage image_;
    QColor back_ = Qt::white;
    Scaling scaling_ = Scaling::Device;
    qreal scale_ = 1;
    int whole_ = 1;
    QPixmap background_;
    QFont font_;
    QColor text_ = Qt::black;
};

// The widget of a control with a persistent surface: it copies the image
// when it paints, then whatever the control draws over it (a border).
class SurfaceView : public QWidget {
public:
    void setSurface(const Surface* surface) { surface_ = surface; }
    std::function<void(QPainter&)> paintOver;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const Surface* surface_ = nullptr;
};

// The surface of a device-context handle, or nullptr.
Surface* surfaceFromDC(Handle hDC);

} // namespace forms
