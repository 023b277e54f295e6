#include "frame/SkinFrame.h"

#include "vb/Conversions.h"
#include "win32/Win32.h"

#include <cmath>
#include <limits>

namespace frame {

using namespace win32;

namespace {

// 32-bit and 16-bit sums as the language forms them: overflow fails.
std::int32_t add32(std::int64_t a, std::int64_t b)
{
    const std::int64_t s = a + b;
    if (s < std::numeric_limits<std::int32_t>::min() || s > std::numeric_limits<std::int32_t>::max())
        vb::raise(vb::err::Overflow);
    return static_cast<std::int32_t>(s);
}
std::int16_t add16(std::int32_t a, std::int32_t b)
{
    const std::int32_t s = a + b;
    if (s < -32768 || s > 32767)
        vb::raise(vb::err::Overflow);
    return static_cast<std::int16_t>(s);
}

// A channel of a colour value: red bits 0-7, green 8-15, blue 16-23.
int channel(std::int32_t colour, int shift)
{
    return (static_cast<std::uint32_t>(colour) >> shift) & 0xFF;
}

// Every line makes, selects and deletes its own pen.
template <class Draw>
void withPen(HDC dc, std::int32_t colour, Draw&& draw)
{
    const HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(colour));
    const HGDIOBJ old = SelectObject(dc, pen);
    draw();
    SelectObject(dc, old);
    DeleteObject(pen);
}

} // namespace

void SkinFrame::APILineEx(forms::Handle hDC, std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2,
                          std::int32_t lColor)
{
    reportOnFailure("APILineEx", [&] {
        withPen(hDC, lColor, [&] {
            MoveToEx(hDC, X1, Y1, nullptr);
            LineTo(hDC, X2, Y2);
        });
    });
}

void SkinFrame::ApiRectangle(forms::Handle hDC, std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H,
                             std::int32_t lColor)
{
    reportOnFailure("ApiRectangle", [&] {
        const std::int32_t right = add32(X, W);
        const std::int32_t bottom = add32(Y, H);
        withPen(hDC, lColor, [&] {
            MoveToEx(hDC, X, Y, nullptr);
            LineTo(hDC, right, Y);
            LineTo(hDC, right, bottom);
            LineTo(hDC, X, bottom);
            LineTo(hDC, X, Y);
        });
    });
}

void SkinFrame::DrawGradientEx(forms::Handle hDC, std::int32_t lStartColor, std::int32_t lEndColor, std::int32_t X,
                               std::int32_t Y, std::int32_t X2, std::int32_t Y2, bool bRows)
{
    reportOnFailure("DrawGradientEx", [&] {
        const float c0[3] = {static_cast<float>(channel(lStartColor, 0)), static_cast<float>(channel(lStartColor, 8)),
                             static_cast<float>(channel(lStartColor, 16))};
        const float c1[3] = {static_cast<float>(channel(lEndColor, 0)), static_cast<float>(channel(lEndColor, 8)),
                             static_cast<float>(channel(lEndColor, 16))};
        const std::int32_t n = bRows ? Y2 : X2;
        float step[3];
        for (int c = 0; c < 3; ++c) {
            const double d = static_cast<double>(c1[c]) - static_cast<double>(c0[c]);
            if (n == 0)
                vb::raise(d == 0 ? vb::err::Overflow : vb::err::DivisionByZero);
            step[c] = static_cast<float>(d / n); // held in single precision
        }
        for (std::int32_t i = 1; i <= n - 1; ++i) {
            std::int32_t rgb[3];
            for (int c = 0; c < 3; ++c)
                rgb[c] = vb::toLong(static_cast<double>(c0[c]) + static_cast<double>(step[c]) * i);
            const std::int32_t colour = rgb[0] + rgb[1] * 256 + rgb[2] * 65536;
            if (bRows) {
                const std::int32_t y = add32(Y, i);
                APILineEx(hDC, X, y, X2, y, colour);
            } else {
                const std::int32_t x = add32(X, i);
                APILineEx(hDC, x, Y, x, Y2, colour);
            }
        }
    });
}

std::int32_t SkinFrame::BlendColors(std::int32_t lColorA, std::int32_t lColorB)
{
    std::int32_t out = 0;
    for (int shift : {0, 8, 16}) {
        const double mean = (channel(lColorA, shift) + channel(lColorB, shift)) / 2.0;
        out |= vb::toLong(mean) << shift;
    }
    return out;
}

std::int32_t SkinFrame::TranslateColor(std::int32_t lColor)
{
    COLORREF result = 0;
    if (OleTranslateColor(static_cast<OLE_COLOR>(lColor), 0, &result) != S_OK)
        return -1;
    return static_cast<std::int32_t>(result);
}

void SkinFrame::DrawGradientInRectangle(forms::Handle hDC, std::int32_t lColor1, std::int32_t lColor2, const Rect& r,
                                        std::int32_t mode, bool bOutline, std::int32_t lOutlineColor, double ratio)
{
    reportOnFailure("DrawGradientInRectangle", [&] {
        switch (mode) {
        case GradVertical:
            DrawGradientEx(hDC, lColor2, lColor1, r.Left, r.Top, add32(r.Left, r.Width), r.Height, true);
            break;
        case GradHorizontal:
            DrawGradientEx(hDC, lColor2, lColor1, r.Left, r.Top, r.Width, add32(r.Top, r.Height), false);
            break;
        case GradCylinderVertical: DrawGradCilinder(hDC, lColor1, lColor2, r, true, ratio); break;
        case GradCylinderHorizontal: DrawGradCilinder(hDC, lColor1, lColor2, r, false, ratio); break;
        default: break;
        }
        if (bOutline)
            ApiRectangle(hDC, r.Left, r.Top, r.Width, r.Height, lOutlineColor);
    });
}

void SkinFrame::DrawGradCilinder(forms::Handle hDC, std::int32_t lColor1, std::int32_t lColor2, const Rect& r,
                                 bool bVertical, double ratio)
{
    reportOnFailure("DrawGradCilinder", [&] {
        if (!(ratio > 1))
            ratio = 1.01;
        const double extent = bVertical ? r.Height : r.Width;
        const double lead = bVertical ? r.Top : r.Left;
        const std::int32_t n1 = vb::toLong(extent / ratio);
        const std::int32_t n2 = vb::toLong((ratio - 1) * extent / ratio + 1);
        const std::int32_t at2 = vb::toLong(extent / ratio + lead - 1);
        if (bVertical) {
            const std::int32_t right = add32(r.Left, r.Width);
            DrawGradientEx(hDC, lColor1, lColor2, r.Left, r.Top, right, n1, true);
            DrawGradientEx(hDC, lColor2, lColor1, r.Left, at2, right, n2, true);
        } else {
            const std::int32_t bottom = add32(r.Top, r.Height);
            DrawGradientEx(hDC, lColor1, lColor2, r.Left, r.Top, n1, bottom, false);
            DrawGradientEx(hDC, lColor2, lColor1, at2, r.Top, n2, bottom, false);
        }
    });
}

void SkinFrame::PaintShpInBar(std::int32_t lLight, std::int32_t lDark, std::int32_t lHeight)
{
    reportOnFailure("PaintShpInBar", [&] {
        const float width = static_cast<float>(scaleWidth());
        const std::int16_t x0 = vb::toInteger((static_cast<double>(width) - 18 - 16) / 2);
        const std::int16_t y0 = vb::toInteger((static_cast<double>(lHeight) - 2) / 2);
        RECT rec{};
        for (std::int16_t i = 0; i <= 8; ++i) {
            const std::int16_t x = add16(x0, 4 * i);
            const std::int16_t lightX = add16(x, 1);
            const std::int16_t lightY = add16(y0, 1);
            SetRect(&rec, lightX, lightY, 1, 1);
            ApiRectangle(hDC(), lightX, lightY, 1, 1, lLight);
            SetRect(&rec, x, y0, 1, 1);
            ApiRectangle(hDC(), x, y0, 1, 1, lDark);
        }
    });
}

} // namespace frame
