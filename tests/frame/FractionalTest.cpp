// The frame on a scaled screen, one build of this file per scale (the test
// main sets QT_SCALE_FACTOR from TEST_SCALE_FACTOR): 125, 150, 175 and 200 %.
// Each case checks the device pixels the window shows or the pointer meets,
// against what the same window shows at 100 %.
#include "FrameProbe.h"
#include "Win32Support.h"
#include "frame/SkinFrame.h"

#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Menu.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>

using testsupport::peek;

namespace {

// What each scale gives: the frame's pixel in device pixels and in twips.
struct Scale {
    double ratio;
    int n;
    double twips;
};
constexpr Scale Scales[] = {{1.25, 1, 12}, {1.5, 1, 10}, {1.75, 1, 15 / 1.75}, {2, 2, 15}};

const Scale& scale()
{
    const double r = qApp->devicePixelRatio();
    for (const Scale& s : Scales)
        if (std::abs(s.ratio - r) < 1e-9)
            return s;
    ADD_FAILURE() << "no row for the ratio " << r;
    return Scales[0];
}

constexpr int W = 600, H = 400;      // the window, in its own pixels
constexpr int DesignedTop = 36;      // the contained control's top at 100 %, in pixels
constexpr QRgb Inside = 0xFF0000FFu; // its colour, pure blue

class Fractional : public ::testing::Test {
protected:
    void SetUp() override
    {
        s = scale();
        ASSERT_EQ(forms::twipsPerWholePixelY(), static_cast<float>(s.twips));
        form.setCaption(QStringLiteral("Ab"));
        QPixmap icon(16, 16);
        icon.fill(QColor(200, 30, 40));
        form.setIcon(QIcon(icon));
        form.setBorderStyle(0);
        form.setClientSize(W * 15, H * 15);
        skin = new frame::SkinFrame(form, nullptr, QStringLiteral("SkinFrame1"));
        skin->move(0, 0, form.scaleWidth(), form.scaleHeight());
        skin->storedProperties() = {{QStringLiteral("themecolor"), 3}, {QStringLiteral("style"), 3}};
        // A control placed in the frame, as the program's windows have one,
        // 5 pixels below a title bar of 31 at 100 %.
        inside = new forms::Frame(form, skin, QStringLiteral("Frame1"));
        inside->move(60, DesignedTop * 15, (W - 8) * 15, 200 * 15);
        inside->setBackColor(0xFF0000);
        inside->setBorderStyle(0);
        form.show();
        form.move(300 * 15, 200 * 15, form.width(), form.height());
        QApplication::processEvents();
        T = peek(*skin).m_lTitleHeight();
        ASSERT_EQ(T, 31);
    }
    void TearDown() override
    {
        testsupport::setWorkAreaOverride(QRect());
        forms::setPopupResponder(nullptr);
    }

    QImage shot() { return form.window()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // A pointer event at the middle of a device pixel of the frame.
    void send(QEvent::Type type, int dx, int dy, Qt::MouseButton button, Qt::MouseButtons held)
    {
        const QPointF at((dx + 0.5) / s.ratio, (dy + 0.5) / s.ratio);
        QWidget* w = skin->widget();
        QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void moveTo(int dx, int dy, Qt::MouseButtons held = Qt::NoButton)
    {
        send(QEvent::MouseMove, dx, dy, Qt::NoButton, held);
    }
    // The window's device pixels, as Qt places it.
    QRect device() const
    {
        const QRect g = form.window()->geometry();
        return QRect(qRound(g.x() * s.ratio), qRound(g.y() * s.ratio), qRound(g.width() * s.ratio),
                     qRound(g.height() * s.ratio));
    }

    Scale s{};
    forms::Form form;
    frame::SkinFrame* skin = nullptr;
    forms::Frame* inside = nullptr;
    int T = 0;
};

TEST_F(Fractional, TheContainedControlsBeginRightUnderTheTitleBar)
{
    const QImage img = shot();
    const int x = img.width() / 2;
    int line = -1, first = -1;
    const QRgb lineColour = skin->surface().image().pixel(W / 2, T) | 0xFF000000u;
    for (int y = 0; y < img.height() && first < 0; ++y) {
        const QRgb c = img.pixel(x, y) | 0xFF000000u;
        if (line < 0 && c == lineColour)
            line = y;
        if (c == Inside)
            first = y;
    }
    ASSERT_EQ(line, T * s.n) << "the title bar's line";
    const int gapAt100 = DesignedTop - T;
    EXPECT_GT(first, line + s.n - 1) << "the control covers the line";
    EXPECT_LE(first - line, static_cast<int>(std::ceil(s.ratio * gapAt100)) + 1) << "a band under the title bar";
    // The window is as much shorter as the control moved up: the space
    // below it stays as designed.
    const double moved = T * (s.twips - 15);
    EXPECT_NEAR(inside->top(), DesignedTop * 15 + moved, 0.01);
    EXPECT_NEAR(form.height(), H * 15 + moved, 15);
}

TEST_F(Fractional, TheSurfaceCoversTheWindowAndAShortCaptionShowsOnce)
{
    const QImage img = shot();
    const QImage& surface = skin->surface().image();
    // The whole device area, n device pixels per frame pixel.
    EXPECT_EQ(surface.width() * s.n, qRound(W * s.ratio));
    EXPECT_GE(surface.height() * s.n, static_cast<int>(std::floor(form.window()->height() * s.ratio)));
    // The title rows: the caption's ink on the left, and along the middle
    // third nothing but the background, whose colour changes by row only.
    int ink = 0;
    for (int y = 0; y < T * s.n; ++y) {
        const QRgb background = img.pixel(img.width() / 2, y);
        for (int x = img.width() / 3; x < img.width() * 2 / 3; ++x)
            ASSERT_EQ(img.pixel(x, y), background) << "caption ink at " << x << "," << y;
        for (int x = 0; x < img.width() / 3; ++x)
            ink += img.pixel(x, y) != background;
    }
    EXPECT_GT(ink, 40) << "no caption or icon on the left";
    // Every device pixel of the title bar is its frame pixel.
    for (int y = 0; y < T * s.n; ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_EQ(img.pixel(x, y) | 0xFF000000u, surface.pixel(x / s.n, y / s.n) | 0xFF000000u) << x << "," << y;
}

TEST_F(Fractional, TheIconsMenuHangsFromTheTitleBarsLowerEdge)
{
    std::vector<QPoint> at;
    forms::setPopupResponder([&](const forms::PopupRequest& r) {
        at.push_back(r.at);
        return -1;
    });
    std::int16_t b = 1, sh = 0;
    float x = 10, y = 10;
    skin->UserControl_MouseDown(b, sh, x, y);
    ASSERT_EQ(at.size(), 1u);
    const QPoint top = skin->widget()->mapToGlobal(QPoint(0, 0));
    // Where Qt puts the menu, in device pixels from the window's top.
    const int dy = qRound(at[0].y() * s.ratio) - qRound(top.y() * s.ratio);
    EXPECT_GE(dy, T * s.n);
    EXPECT_LE(dy, T * s.n + 1);
    EXPECT_LE(std::abs(qRound(at[0].x() * s.ratio) - qRound(top.x() * s.ratio) - 3 * s.n), 1);
}

TEST_F(Fractional, ThePseudoMaximiseStaysInsideTheWorkArea)
{
    // A screen of 1280 x 1024 device pixels with a panel of 30 at the top,
    // as Qt gives it in the window's pixels.
    const QRect deviceArea(0, 30, 1280, 994);
    const QRect logical(QPoint(qRound(deviceArea.x() / s.ratio), qRound(deviceArea.y() / s.ratio)),
                        QSize(qRound(deviceArea.width() / s.ratio), qRound(deviceArea.height() / s.ratio)));
    testsupport::setWorkAreaOverride(logical);
    moveTo(300, 300);
    ASSERT_TRUE(peek(*skin).m_bGripsMade());
    // A double-click on the title, as the pointer gives it.
    const int tx = 200 * s.n, ty = 12 * s.n;
    moveTo(tx, ty);
    send(QEvent::MouseButtonPress, tx, ty, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, tx, ty, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, tx, ty, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, tx, ty, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(peek(*skin).m_iWinState(), 2);
    const QRect d = device();
    EXPECT_TRUE(deviceArea.contains(d)) << d.x() << "," << d.y() << " " << d.width() << "x" << d.height();
    // Short of the area by less than one of the window's pixels on each side.
    const int slack = static_cast<int>(std::ceil(s.ratio));
    EXPECT_LE(d.left() - deviceArea.left(), slack);
    EXPECT_LE(d.top() - deviceArea.top(), slack);
    EXPECT_LE(deviceArea.right() - d.right(), slack);
    EXPECT_LE(deviceArea.bottom() - d.bottom(), slack);
}

TEST_F(Fractional, AGripReactsOnAllButItsOutermostPixelAndSizesInPlace)
{
    moveTo(300, 300);
    ASSERT_TRUE(peek(*skin).m_bGripsMade());
    const int fw = skin->scaleWidth(), fh = skin->scaleHeight();
    ASSERT_EQ(fw * s.n, qRound(W * s.ratio));
    // Along the middle row, from 12 device pixels in to the right edge:
    // the right grip's pointer at exactly its three frame pixels.
    const int midY = fh * s.n / 2;
    for (int dx = fw * s.n - 12; dx < fw * s.n; ++dx) {
        moveTo(300, 300);
        moveTo(dx, midY);
        const bool reacts = peek(*skin).m_picRight()->mousePointer() != 0;
        const bool reach = dx >= (fw - 4) * s.n && dx < (fw - 1) * s.n;
        EXPECT_EQ(reacts, reach) << "device column " << dx;
    }
    // Along the middle column, up to the bottom edge: the bottom grip.
    const int midX = fw * s.n / 2;
    for (int dy = fh * s.n - 12; dy < fh * s.n; ++dy) {
        moveTo(300, 300);
        moveTo(midX, dy);
        const bool reacts = peek(*skin).m_picBottom()->mousePointer() != 0;
        const bool reach = dy >= (fh - 4) * s.n && dy < (fh - 1) * s.n;
        EXPECT_EQ(reacts, reach) << "device row " << dy;
    }
    // A corner drag of (-50, -40) window pixels: the window's size follows,
    // its position does not move.
    const QRect before = device();
    const int cx = (fw - 3) * s.n, cy = (fh - 3) * s.n;
    moveTo(cx, cy);
    ASSERT_EQ(peek(*skin).m_picRight()->mousePointer(), 8);
    send(QEvent::MouseButtonPress, cx, cy, Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(peek(*skin).m_iSizeMode(), 8);
    const int ex = cx - qRound(50 * s.ratio), ey = cy - qRound(40 * s.ratio);
    moveTo(ex, ey, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, ex, ey, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(peek(*skin).m_iSizeMode(), 0);
    const QRect after = device();
    EXPECT_EQ(after.topLeft(), before.topLeft());
    // The new size reaches 5 frame pixels past the pointer, to the nearest
    // of the window's pixels.
    EXPECT_LE(std::abs(after.width() - (ex / s.n + 5) * s.n), static_cast<int>(std::ceil(s.ratio)));
    EXPECT_LE(std::abs(after.height() - (ey / s.n + 5) * s.n), static_cast<int>(std::ceil(s.ratio)));
}

} // namespace
