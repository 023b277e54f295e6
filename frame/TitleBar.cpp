#include "frame/SkinFrame.h"

#include "forms/Form.h"
#include "vb/Codepage.h"
#include "vb/Conversions.h"
#include "win32/Win32.h"

namespace frame {

using namespace win32;

namespace {
std::int16_t sum16(std::int32_t a, std::int32_t b)
{
    return vb::toInteger(static_cast<double>(a) + b);
}
} // namespace

std::int32_t SkinFrame::TitleHeightOfStyle() const
{
    // The tall style's strip of grip dots adds 10 pixels.
    return m_lStyle == StyleGripBar ? m_lCaptionHeight + 10 : m_lCaptionHeight;
}

void SkinFrame::TitleBarHeightSetup()
{
    reportOnFailure("TitleBarHeightSetup", [&] {
        m_lCaptionHeight = vb::toLong(static_cast<double>(textHeight(QStringLiteral("H"))) + 10);
        const std::int16_t least = sum16(m_iIconSize, 15);
        if (m_lCaptionHeight < least)
            m_lCaptionHeight = least;
        m_lTitleHeight = TitleHeightOfStyle();
    });
}

// The title background of Style, from column x0 over `width` columns (the
// initial picture passes -1 and X0 + 2, a repaint X0 and SW + 1, a caption
// button its own column). A button's column leaves the grip strip of the
// tall style alone.
void SkinFrame::PaintTitleBackground(std::int32_t x0, std::int32_t width, std::int32_t t, bool outline, bool gripStrip)
{
    const std::int32_t F = m_lFrameColor, L = m_lFillColor;
    switch (m_lStyle) {
    case StyleCylinder:
        DrawGradientInRectangle(hDC(), F, L, {x0, -1, width, t + 1}, GradCylinderVertical, outline, F, 5.01);
        break;
    case StyleGripBar:
        if (gripStrip)
            DrawGradientInRectangle(hDC(), F, L, {x0, -2, width, 10}, GradCylinderVertical, false, 0, 5.01);
        DrawGradientInRectangle(hDC(), F, L, {x0, 7, width, t - 7}, GradCylinderVertical, false, 0, 5.01);
        break;
    case StyleSolid:
        DrawGradientInRectangle(hDC(), F, L, {x0, -2, width, 10}, GradVertical, false, 0, 5.01);
        DrawGradientInRectangle(hDC(), F, F, {x0, 7, width, t - 7}, GradCylinderVertical, false, 0, 5.01);
        break;
    case StyleLinear: DrawGradientInRectangle(hDC(), F, L, {x0, -1, width, t + 1}, GradVertical, false, 0, 5.01); break;
    default: break;
    }
}

void SkinFrame::DrawTitleBarInitial()
{
    reportOnFailure("DrawTitleBarInitial", [&] {
        const float sw = static_cast<float>(scaleWidth());
        const QIcon& icon = form().icon();
        if (icon.isNull()) {
            m_picIcon = forms::Picture();
            m_lTitleStartX = 0;
        } else {
            m_picIcon = forms::Picture(icon.pixmap(m_iIconSize, m_iIconSize));
            m_lTitleStartX = vb::toLong(static_cast<double>(sw) - 1);
        }
        // Emptying the picture wipes the surface too, so that the copy taken
        // below holds only the static background and the icon.
        surface().setBackground(QPixmap());
        cls();
        if (m_lStyle >= StyleCylinder && m_lStyle <= StyleLinear) {
            m_lTitleHeight = TitleHeightOfStyle();
            PaintTitleBackground(-1, m_lTitleStartX + 2, m_lTitleHeight, m_lStyle == StyleCylinder);
        }
        if (!m_picIcon.isNull()) {
            const double y = m_lStyle == StyleGripBar ? (m_lTitleHeight - m_iIconSize - 8) / 2.0 + 10
                                                      : (m_lTitleHeight - m_iIconSize) / 2.0 + 2;
            // A half row goes to the even one, as every conversion here.
            paintPicture(m_picIcon, 9, static_cast<int>(vb::roundHalfEven(y)), m_iIconSize, m_iIconSize);
        }
        if (!surface().image().isNull())
            surface().setBackground(QPixmap::fromImage(surface().image().copy(), Qt::NoFormatConversion));
    });
}

void SkinFrame::DrawTitleBar()
{
    reportOnFailure("DrawTitleBar", [&] {
        const float sw = static_cast<float>(scaleWidth());
        const float sh = static_cast<float>(scaleHeight());
        auto lng = [](double v) { return vb::toLong(v); };
        // 1. The buttons as they stand before they are placed again.
        const std::int16_t h = btn(0).Visible ? vb::toInteger(btn(0).Height) : std::int16_t{18};
        const std::int16_t bx = btn(m_iLeftBtn).Visible ? vb::toInteger(btn(m_iLeftBtn).Left) : vb::toInteger(sw);
        const std::int32_t F = m_lFrameColor, L = m_lFillColor;
        const std::int32_t D = BlendColors(F, 0);
        const std::int32_t B = TranslateColor(static_cast<std::int32_t>(backColor()));
        const std::int32_t Bd = BlendColors(B, 0);

        // 2. Background, the line pair on row T, the dots, the caption
        // rectangle and the buttons' offset.
        RECT rc{0, 0, 0, 0};
        if (m_lStyle >= StyleCylinder && m_lStyle <= StyleLinear) {
            m_lTitleHeight = TitleHeightOfStyle();
            const std::int32_t T = m_lTitleHeight;
            PaintTitleBackground(m_lTitleStartX, lng(sw + 1), T, false);
            APILineEx(hDC(), -1, T, lng(sw + 1), T, F);
            APILineEx(hDC(), 5, T, lng(sw - 5), T, D);
            if (m_lStyle == StyleGripBar) {
                PaintShpInBar(L, D, 7);
                SetRect(&rc, 9, 11, sum16(bx, -12), T + 3);
            } else {
                SetRect(&rc, 9, 4, sum16(bx, -12), T);
            }
            m_lBtnTop = lng((T - h) / 2.0);
        }
        const std::int32_t T = m_lTitleHeight;

        // 3. The border: three outlines round the client area.
        ApiRectangle(hDC(), 0, T + 1, lng(sw - 1), lng(sh - T - 2), F);
        ApiRectangle(hDC(), 1, T + 1, lng(sw - 3), lng(sh - T - 3), F);
        ApiRectangle(hDC(), 2, T + 1, lng(sw - 5), lng(sh - T - 4), D);

        // 4. The buttons follow the width and the title height.
        std::int16_t k = 0;
        for (int i = 0; i <= 2; ++i)
            if (m_aCapBtn[i].Visible) {
                m_aCapBtn[i].Top = m_lBtnTop + 2;
                m_aCapBtn[i].Left = lng(sw - 3 - vb::toInteger((k + 1) * 21.0));
                ++k;
            }

        // 5. The shadow band under the title.
        DrawGradientInRectangle(hDC(), B, Bd, {3, T, lng(sw - 6), 8}, GradVertical, false, 0, 2.01);

        // 6. Bevel pixels at the two upper inner corners.
        const std::int32_t r = lng(sw - 3), r1 = lng(sw - 4), r2 = lng(sw - 5);
        const struct {
            std::int32_t x, y, colour;
        } bevel[] = {{2, T + 1, F}, {2, T + 2, F}, {3, T + 1, F},  {4, T + 1, D},  {3, T + 2, D},
                     {r, T + 1, F}, {r, T + 2, F}, {r1, T + 1, F}, {r2, T + 1, D}, {r1, T + 2, D}};
        for (const auto& p : bevel)
            SetPixel(hDC(), p.x, p.y, static_cast<COLORREF>(p.colour));

        // 7 and 8: from here a failing step is skipped.
        DrawCaption(rc);
        vb::skipOnFailure([&] { PaintCaptionBtns(-1); });
    });
}

void SkinFrame::DrawCaption(RECT& rc)
{
    if (!m_picIcon.isNull()) {
        const std::int16_t shift = sum16(m_iIconSize, 6);
        OffsetRect(&rc, shift, 0);
        rc.right -= m_iIconSize;
    }
    vb::skipOnFailure([&] {
        if (ambientUserMode()) {
            const QString tag = form().tag();
            if (!tag.isEmpty() && tag != m_sCaption)
                m_sCaption = tag;
        }
    });
    if (m_sCaption.isEmpty())
        return;
    QString s;
    vb::skipOnFailure([&] { s = TrimWord(m_sCaption, rc.right - rc.left); });
    vb::skipOnFailure([&] { setForeColor(m_lFillColor); });
    vb::skipOnFailure([&] {
        const QByteArray bytes = vb::toAnsi(s);
        DrawTextExA(hDC(), bytes.constData(), static_cast<int>(bytes.size()), &rc, DT_SINGLELINE | DT_VCENTER, nullptr);
    });
}

QString SkinFrame::TrimWord(const QString& text, std::int32_t width)
{
    QString s = text;
    reportOnFailure("TrimWord", [&] {
        const QString dots = QStringLiteral("...");
        if (static_cast<double>(textWidth(text)) <= width)
            return;
        qsizetype n = text.size();
        while (static_cast<double>(textWidth(s + dots)) > width && n != 0) {
            --n;
            s = text.left(n);
        }
        s = n != 0 ? s + dots : QString();
    });
    return s;
}

void SkinFrame::BorderStyleSetup()
{
    reportOnFailure("BorderStyleSetup", [&] {
        if (!ambientUserMode())
            form().setBorderStyle(0);
        MnuSyst(4).setEnabled(m_bCloseButton);
        m_aCapBtn[0].Visible = m_bCloseButton;
        m_aCapBtn[1].Visible = m_bMaxButton;
        m_aCapBtn[2].Visible = m_bMinButton;
        for (std::int16_t i = 0; i <= 2; ++i)
            if (m_aCapBtn[i].Visible)
                m_iLeftBtn = i;
        CaptionBtnSetup();
        DrawTitleBarInitial();
        if (ambientUserMode())
            DrawTitleBar();
    });
}

} // namespace frame
