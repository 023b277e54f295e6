// The frame on a window of the desktop, driven by pointer input through Qt
// (the pointer placed, buttons pressed and let go): a title drag through
// the runtime's own move loop, and the refit of the frame when the window
// changes under a still pointer.
#include "FrameFixture.h"

#include "forms/Form.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

using SF = frame::SkinFrame;
constexpr float Tw = 15.0f;
const QRgb KhakiFrame = qRgb(0x62, 0x6B, 0x48);

class Desktop : public fixture::Frame {
protected:
    void TearDown() override
    {
        testsupport::setWorkAreaOverride(QRect());
        QCursor::setPos(2000, 2000);
        fixture::Frame::TearDown();
    }

    // A 400 x 300 window at (100, 100) carrying a frame docked to its top,
    // as the programs' windows carry theirs: khaki, linear, a 30-pixel
    // title.
    SF& framed()
    {
        QCursor::setPos(2000, 2000);
        form = std::make_unique<forms::Form>();
        form->setBorderStyle(0);
        form->setClientSize(400 * Tw, 300 * Tw);
        skin = new SF(*form, nullptr, QStringLiteral("SkinFrame1"));
        skin->move(0, 0, 400 * Tw, 300 * Tw);
        skin->setAlign(1);
        skin->storedProperties() = {
            {QStringLiteral("themecolor"), 3}, {QStringLiteral("style"), 3}, {QStringLiteral("iconsize"), 15}};
        form->show();
        form->move(100 * Tw, 100 * Tw, 400 * Tw, 300 * Tw);
        settle();
        // The pointer over the window: the frame records where it now is.
        win32::SendMessageA(form->hWnd(), win32::WM_SETCURSOR, form->hWnd(), 0);
        EXPECT_EQ(peek(*skin).m_rcRestore().Width, 6000);
        reports.clear();
        return *skin;
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
        forms::deliverPendingPointerMove();
    }
    // The pointer placed on the screen: a move, delivered at once.
    static void pointTo(QPoint global)
    {
        QCursor::setPos(global);
        QApplication::processEvents();
    }
    QWindow* win() const { return form->window()->windowHandle(); }
    QPoint local(QPoint global) const { return global - form->window()->pos(); }
    QRect geometry() const { return form->window()->geometry(); }
    // The frame as drawn: its surface's size and the colour of a pixel.
    QSize drawn() { return img().size(); }
    QRgb drawnAt(int x, int y) { return img().pixel(x, y); }
};

// Without a window manager the runtime follows the pointer itself. The
// release ends the drag and leaves Qt's input as any release does: the
// next press on a grip starts a border drag, not a press on the frame.
TEST_F(Desktop, ATitleDragOfTheOwnMoveLoopEndsAtTheReleaseAndAGripDragFollows)
{
    framed();
    pointTo(QPoint(200, 112)); // over the title: the first move makes the grips
    ASSERT_TRUE(peek(*skin).m_bGripsMade());
    QTest::mousePress(win(), Qt::LeftButton, {}, local(QPoint(200, 112)));
    // Inside the move loop: a move, then the release.
    QTimer inside;
    QObject::connect(&inside, &QTimer::timeout, [&] {
        if (!forms::pointerHeld())
            return;
        inside.stop();
        pointTo(QPoint(250, 192));
        QTest::mouseRelease(win(), Qt::LeftButton, {}, local(QPoint(250, 192)));
    });
    inside.start(5);
    pointTo(QPoint(205, 114)); // the drag starts here and returns at the release
    settle();
    EXPECT_FALSE(inside.isActive());
    EXPECT_EQ(geometry(), QRect(145, 178, 400, 300));
    EXPECT_EQ(QGuiApplication::mouseButtons(), Qt::NoButton);
    pointTo(QPoint(600, 700)); // no button: the window stays
    settle();
    EXPECT_EQ(geometry().topLeft(), QPoint(145, 178));

    // The bottom grip's corner zone, dragged in to 300, 200 of the window
    // (the offscreen platform gives no moves outside a window).
    pointTo(QPoint(145 + 394, 178 + 297));
    ASSERT_EQ(peek(*skin).m_picBottom()->mousePointer(), 8);
    QTest::mousePress(win(), Qt::LeftButton, {}, local(QPoint(145 + 394, 178 + 297)));
    pointTo(QPoint(145 + 300, 178 + 200));
    QTest::mouseRelease(win(), Qt::LeftButton, {}, local(QPoint(145 + 300, 178 + 200)));
    settle();
    EXPECT_EQ(geometry(), QRect(145, 178, 305, 205));
    EXPECT_EQ(drawn(), QSize(305, 205));
    EXPECT_EQ(drawnAt(304, 100), KhakiFrame);
    EXPECT_TRUE(reports.empty());
}

// A pseudo-maximise and a restore under a still pointer: the window under
// the pointer gets a mouse move, so the frame refits to the whole window;
// with the pointer elsewhere the docking alone makes the frame span the
// window's width.
TEST_F(Desktop, TheFrameFollowsAPseudoMaximiseAndARestoreAtOnce)
{
    testsupport::setWorkAreaOverride(QRect(0, 0, 800, 600));
    struct Case {
        QPoint pointer;
        QSize maximised, restored;
    };
    const Case cases[] = {
        {{300, 112}, {800, 600}, {400, 300}},  // over the window before and after
        {{1000, 900}, {800, 300}, {400, 300}}, // outside: the width follows, the height stays
    };
    for (const Case& c : cases) {
        SF& f = framed();
        pointTo(QPoint(200, 112)); // the grips are made
        pointTo(c.pointer);
        settle();
        f.ToggleWindowState();
        settle();
        EXPECT_EQ(geometry(), QRect(0, 0, 800, 600)) << c.pointer.x();
        EXPECT_EQ(drawn(), c.maximised) << c.pointer.x();
        // The close button drawn at the new right end, and the right border.
        EXPECT_EQ(peek(f).m_aCapBtn()[0].Left + peek(f).m_aCapBtn()[0].Width, 800 - 6) << c.pointer.x();
        EXPECT_EQ(drawnAt(799, 100), KhakiFrame) << c.pointer.x();
        EXPECT_NE(drawnAt(peek(f).m_aCapBtn()[0].Left + 9, peek(f).m_aCapBtn()[0].Top + 9), drawnAt(500, 15))
            << c.pointer.x();
        f.ToggleWindowState();
        settle();
        EXPECT_EQ(geometry(), QRect(100, 100, 400, 300)) << c.pointer.x();
        EXPECT_EQ(drawn().width(), c.restored.width()) << c.pointer.x();
        EXPECT_EQ(drawnAt(399, 100), KhakiFrame) << c.pointer.x();
        EXPECT_EQ(peek(f).m_aCapBtn()[0].Left + peek(f).m_aCapBtn()[0].Width, 400 - 6) << c.pointer.x();
        if (c.pointer == QPoint(300, 112)) {
            EXPECT_EQ(drawn(), c.restored);
        }
    }
}

} // namespace
