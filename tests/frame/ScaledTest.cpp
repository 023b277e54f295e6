// The frame on a screen scaled by 1.5 (the test main sets QT_SCALE_FACTOR): the lines that share one width at 100 %
// share one width again, and the pointer still finds the caption buttons where they are drawn.
#include "FrameProbe.h"
#include "frame/SkinFrame.h"

#include "forms/Form.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using testsupport::peek;

class ScaledFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(qApp->devicePixelRatio(), 1.5);
        form.setCaption(QStringLiteral("Scaled"));
        QPixmap icon(16, 16);
        icon.fill(QColor(200, 30, 40));
        form.setIcon(QIcon(icon));
        form.setBorderStyle(0);
        form.setClientSize(400 * 15, 300 * 15);
        skin = new frame::SkinFrame(form, nullptr, QStringLiteral("SkinFrame1"));
        skin->move(0, 0, form.scaleWidth(), form.scaleHeight());
        skin->storedProperties() = {{QStringLiteral("themecolor"), 3}, {QStringLiteral("style"), 3}};
        form.show();
        QApplication::processEvents();
        shot = form.window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QRgb logical(int x, int y) { return skin->surface().image().pixel(x, y) | 0xFF000000u; }
    // The lengths of the runs of equal colour along a row or a column of
    // the screenshot, from one end, as many as asked.
    std::vector<int> runs(bool row, int at, bool fromEnd, int count)
    {
        std::vector<int> out;
        const int n = row ? shot.width() : shot.height();
        auto px = [&](int i) {
            const int k = fromEnd ? n - 1 - i : i;
            return (row ? shot.pixel(k, at) : shot.pixel(at, k)) | 0xFF000000u;
        };
        int i = 0;
        while (static_cast<int>(out.size()) < count && i < n) {
            const QRgb c = px(i);
            int len = 0;
            while (i < n && px(i) == c) {
                ++i;
                ++len;
            }
            out.push_back(len);
        }
        return out;
    }

    forms::Form form;
    frame::SkinFrame* skin = nullptr;
    QImage shot;
};

TEST_F(ScaledFrame, BorderLinesShareOneWidth)
{
    // Two frame-coloured lines and a dark one on each side, and on the
    // bottom: each line one device pixel wide (the ratio rounded down), on
    // every side.
    const int midY = shot.height() / 2, midX = shot.width() / 2;
    const QRgb F = logical(0, 150), D = logical(2, 150);
    ASSERT_NE(F, D);
    EXPECT_EQ(shot.pixel(0, midY) | 0xFF000000u, F);
    EXPECT_EQ(runs(true, midY, false, 2), (std::vector<int>{2, 1})) << "left";
    EXPECT_EQ(runs(false, midX, true, 2), (std::vector<int>{2, 1})) << "bottom";
}

TEST_F(ScaledFrame, TitleLineIsAsWideAsTheBorderLines)
{
    // Row T carries the dark line between the title and the client area;
    // it shows as wide as the dark border line.
    const int T = peek(*skin).m_lTitleHeight();
    const int x = 200;
    const QRgb D = logical(x, T);
    int rows = 0;
    for (int y = 0; y < shot.height() / 2; ++y) // the bottom border's dark line is lower
        if ((shot.pixel(x * 3 / 2, y) | 0xFF000000u) == D)
            ++rows;
    EXPECT_EQ(rows, 1);
}

TEST_F(ScaledFrame, GlyphStrokesShareOneWidth)
{
    // The close button shows pixel for pixel as drawn, at the window's
    // top-right corner: its glyph strokes keep their widths.
    const auto& b = peek(*skin).m_aCapBtn()[0];
    ASSERT_TRUE(b.Visible);
    const QImage& img = skin->surface().image();
    int checked = 0;
    for (int y = b.Top + 4; y < b.Top + b.Height - 4; ++y) {
        const int dy = y;
        // Counted from the right: image column c shows at device column
        // dw - (w - c), the surface as wide as the window's device pixels.
        const int w = img.width(), dw = shot.width();
        for (int c = b.Left; c < b.Left + b.Width; ++c) {
            const QRgb want = img.pixel(c, y) | 0xFF000000u;
            const int dx = dw - (w - c);
            EXPECT_EQ(shot.pixel(dx, dy) | 0xFF000000u, want) << c << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

TEST_F(ScaledFrame, PointerFindsTheButtonsWhereTheyShow)
{
    // The pixel under a point of the window is the one drawn there.
    const auto& b = peek(*skin).m_aCapBtn()[0];
    const QPoint middleShown((shot.width() - (skin->surface().image().width() - b.Left - b.Width / 2)) / 1.5,
                             (b.Top + b.Height / 2) / 1.5);
    const QPoint p = skin->mousePixels(QPointF(middleShown) + QPointF(0.3, 0.3));
    EXPECT_EQ(skin->HitTestCaptionBtn(static_cast<std::int16_t>(p.x()), static_cast<std::int16_t>(p.y())), 0)
        << p.x() << "," << p.y();
}

} // namespace
