#include "frame/SkinFrame.h"

#include "vb/Conversions.h"

namespace frame {

namespace {

struct Line {
    int x1, y1, x2, y2;
};
struct Box {
    int x, y, w, h;
};
// Offsets from a button's top-left corner.
constexpr Line CloseGlyph[] = {{6, 5, 14, 13}, {5, 5, 14, 14}, {5, 6, 13, 14},
                               {5, 12, 13, 4}, {5, 13, 14, 4}, {6, 13, 14, 5}};
constexpr Line MaximiseLines[] = {{4, 5, 15, 5}};
constexpr Box MaximiseBox{4, 6, 10, 8};
constexpr Line RestoreLines[] = {{7, 5, 7, 8},    {7, 5, 16, 5},    {7, 4, 16, 4},
                                 {15, 4, 15, 11}, {15, 11, 11, 11}, {3, 9, 11, 9}};
constexpr Box RestoreBox{3, 8, 8, 7};
constexpr Line MinimiseGlyph[] = {{5, 11, 14, 11}, {5, 12, 14, 12}, {5, 13, 14, 13}};

} // namespace

SkinFrame::CapBtnEntry& SkinFrame::btn(std::int32_t index)
{
    if (index < 0 || index > 2)
        vb::raise(vb::err::SubscriptOutOfRange);
    return m_aCapBtn[static_cast<std::size_t>(index)];
}

void SkinFrame::CaptionBtnSetup()
{
    reportOnFailure("CaptionBtnSetup", [&] {
        const double sw = scaleWidth();
        int n = 0;
        for (CapBtnEntry& b : m_aCapBtn)
            if (b.Visible) {
                b.Left = vb::toLong(sw - 3 - 21 * (n + 1));
                ++n;
                b.Width = 18;
                b.Height = 18;
                b.Hot = false;
            }
        m_aCapBtn[0].Tooltip = QStringLiteral("关闭");
        m_aCapBtn[2].Tooltip = QStringLiteral("最小化");
        MnuSyst(0).setCaption(QStringLiteral("还原"));
        MnuSyst(2).setCaption(QStringLiteral("最大化"));
        MnuSyst(6).setCaption(QStringLiteral("窗体置顶"));
        MnuSyst(1).setCaption(m_aCapBtn[2].Tooltip);
        MnuSyst(4).setCaption(m_aCapBtn[0].Tooltip + QString(12, QLatin1Char(' ')) + QStringLiteral("Alt+F4"));
        MnuSyst(1).setVisible(m_aCapBtn[2].Visible);
        MnuSyst(2).setVisible(m_aCapBtn[1].Visible);
    });
}

std::int16_t SkinFrame::HitTestCaptionBtn(std::int16_t x, std::int16_t y) const
{
    for (std::int16_t i = 0; i <= 2; ++i) {
        const CapBtnEntry& b = m_aCapBtn[i];
        if (b.Visible && b.Left < x && x < b.Left + b.Width && b.Top < y && y < b.Top + b.Height)
            return i;
    }
    return -1;
}

void SkinFrame::PaintCaptionBtns(std::int16_t iBtn)
{
    reportOnFailure("PaintCaptionBtns", [&] {
        if (iBtn == -1) {
            DrawCaptionBtns(false, m_lFrameColor, -1);
            setMousePointer(0);
            return;
        }
        for (std::int16_t i = 0; i <= 2; ++i)
            if (m_aCapBtn[i].Visible)
                DrawCaptionBtns(i == iBtn, m_lFrameColor, i);
    });
}

void SkinFrame::DrawCaptionBtns(bool bHot, std::int32_t lColor, std::int16_t iBtn)
{
    reportOnFailure("DrawCaptionBtns", [&] {
        std::int32_t glyph = lColor;
        if (iBtn != -1)
            btn(iBtn).Hot = bHot;
        // The buttons this drawing concerns.
        std::vector<std::int16_t> which;
        if (iBtn != -1)
            which.push_back(iBtn);
        else
            for (std::int16_t i = 0; i <= 2; ++i)
                if (m_aCapBtn[i].Visible)
                    which.push_back(i);

        if (bHot) {
            CapBtnEntry& b = btn(iBtn);
            DrawGradientInRectangle(hDC(), BlendColors(lColor, 0xFFFFFF), 0xFFFFFF, {b.Left, b.Top, b.Width, b.Height},
                                    GradCylinderVertical, true, m_lFrameColor, 2.01);
            if (iBtn == 1)
                b.Tooltip = m_iWinState == 2 ? QStringLiteral("还原") : QStringLiteral("最大化");
            setToolTipText(b.Tooltip);
        } else {
            // The title background comes back over each button's column.
            for (std::int16_t i : which) {
                CapBtnEntry& b = btn(i);
                b.Hot = false; // a plain drawing of all takes every highlight off
                PaintTitleBackground(b.Left - 1, b.Width + 2, m_lTitleHeight, false, false);
            }
            if (m_lStyle == StyleSolid)
                glyph = m_lFillColor;
            setToolTipText(QString());
        }

        for (std::int16_t i : which) {
            const CapBtnEntry& b = btn(i);
            auto lines = [&](const auto& list) {
                for (const Line& l : list)
                    APILineEx(hDC(), b.Left + l.x1, b.Top + l.y1, b.Left + l.x2, b.Top + l.y2, glyph);
            };
            auto box = [&](const Box& r) { ApiRectangle(hDC(), b.Left + r.x, b.Top + r.y, r.w, r.h, glyph); };
            switch (i) {
            case 0:
                if (m_aCapBtn[0].Visible)
                    lines(CloseGlyph);
                break;
            case 1:
                if (m_iWinState == 2) {
                    lines(RestoreLines);
                    box(RestoreBox);
                } else {
                    lines(MaximiseLines);
                    box(MaximiseBox);
                }
                break;
            default: lines(MinimiseGlyph); break;
            }
        }
        refresh();
    });
}

} // namespace frame
