#include "win32/Win32.h"

#include "forms/Surface.h"
#include "win32/Internals.h"

#include <QImage>
#include <cstdlib>
#include <memory>
#include <vector>

namespace win32 {

namespace {

struct Pen {
    bool live;
    bool visible;
    QRgb colour;
};

// Pens by handle: slot i of the table is handle PenBase + i, and freed
// entries are taken again, so a gradient's pen per line allocates nothing.
// The stock black pen is slot 0 and is never deleted.
constexpr HPEN PenBase = 0x1000;
constexpr HPEN StockBlackPen = PenBase;
struct PenTable {
    std::vector<Pen> entries{{true, true, qRgb(0, 0, 0)}};
    std::vector<std::size_t> free;
    int live = 0;

    Pen* find(HGDIOBJ h)
    {
        if (h < PenBase || h - PenBase >= entries.size())
            return nullptr;
        Pen& p = entries[h - PenBase];
        return p.live ? &p : nullptr;
    }
};
PenTable& pens()
{
    static PenTable t;
    return t;
}

struct DcState {
    POINT at{0, 0};
    HPEN pen = StockBlackPen;
};

QRgb toRgb(COLORREF c)
{
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

QImage* imageOf(HDC dc)
{
    forms::Surface* s = forms::surfaceFromDC(dc);
    if (!s || s->image().isNull())
        return nullptr;
    return &s->image();
}

DcState* stateOf(HDC dc)
{
    forms::Surface* s = forms::surfaceFromDC(dc);
    if (!s)
        return nullptr;
    std::shared_ptr<void>& state = s->drawingState();
    if (!state)
        state = std::make_shared<DcState>();
    return static_cast<DcState*>(state.get());
}

// One row of pixels from x0 up to, not including, x1 (either direction).
void span(QImage& img, int y, int x0, int x1, QRgb colour)
{
    if (y < 0 || y >= img.height())
        return;
    int from = x0 < x1 ? x0 : x1 + 1;
    int to = x0 < x1 ? x1 : x0 + 1; // exclusive
    from = std::max(from, 0);
    to = std::min(to, img.width());
    if (from >= to)
        return;
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    std::fill(row + from, row + to, colour);
}

void plot(QImage& img, int x, int y, QRgb colour)
{
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
        reinterpret_cast<QRgb*>(img.scanLine(y))[x] = colour;
}

// A line from (x0, y0) to (x1, y1), the last point excluded.
void line(QImage& img, int x0, int y0, int x1, int y1, QRgb colour)
{
    if (y0 == y1) {
        span(img, y0, x0, x1, colour);
        return;
    }
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        plot(img, x, y, colour);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace

HPEN CreatePen(int style, int, COLORREF colour)
{
    if (style != PS_SOLID && style != PS_NULL)
        return 0;
    PenTable& t = pens();
    const Pen pen{true, style == PS_SOLID, toRgb(colour)};
    std::size_t slot;
    if (!t.free.empty()) {
        slot = t.free.back();
        t.free.pop_back();
        t.entries[slot] = pen;
    } else {
        slot = t.entries.size();
        t.entries.push_back(pen);
    }
    ++t.live;
    return PenBase + slot;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    DcState* s = stateOf(dc);
    if (!s || !pens().find(object))
        return 0;
    const HPEN previous = s->pen;
    s->pen = object;
    return previous;
}

BOOL DeleteObject(HGDIOBJ object)
{
    PenTable& t = pens();
    Pen* p = t.find(object);
    if (!p || object == StockBlackPen)
        return 0;
    p->live = false;
    t.free.push_back(object - PenBase);
    --t.live;
    return 1;
}

int internal::livePens()
{
    return pens().live;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* old)
{
    DcState* s = stateOf(dc);
    if (!s)
        return 0;
    if (old)
        *old = s->at;
    s->at = {x, y};
    return 1;
}

BOOL LineTo(HDC dc, int x, int y)
{
    DcState* s = stateOf(dc);
    if (!s)
        return 0;
    const POINT from = s->at;
    s->at = {x, y};
    const Pen* pen = pens().find(s->pen);
    QImage* img = imageOf(dc);
    if (img && pen && pen->visible)
        line(*img, from.x, from.y, x, y, pen->colour);
    return 1;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour)
{
    QImage* img = imageOf(dc);
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height())
        return 0xFFFFFFFF;
    plot(*img, x, y, toRgb(colour));
    return colour & 0xFFFFFF;
}

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom)
{
    if (!rect)
        return 0;
    *rect = {left, top, right, bottom};
    return 1;
}

BOOL OffsetRect(RECT* rect, int dx, int dy)
{
    if (!rect)
        return 0;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return 1;
}

} // namespace win32
