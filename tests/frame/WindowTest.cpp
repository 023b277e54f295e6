// Window state, mouse, keyboard and the sizing grips, driven through the
// frame's handlers on a window of the test's own.
#include "FrameFixture.h"

#include "forms/Form.h"
#include "forms/Menu.h"
#include "forms/Runtime.h"

#include <QApplication>

namespace {

using SF = frame::SkinFrame;
constexpr float Tw = 15.0f; // twips per pixel at 96 dpi

class Window : public fixture::Frame {
protected:
    void TearDown() override
    {
        testsupport::setWorkAreaOverride(QRect());
        forms::setPopupResponder(nullptr);
        fixture::Frame::TearDown();
    }

    // A window of w x h pixels carrying a frame over all of it, set up as
    // the life cycle sets one up, shown, the grips made by a first move.
    SF& framed(int w = 800, int h = 600, bool grips = true)
    {
        form = std::make_unique<forms::Form>();
        form->setBorderStyle(0);
        form->setClientSize(w * Tw, h * Tw);
        skin = new SF(*form, nullptr, QStringLiteral("SkinFrame1"));
        skin->move(0, 0, w * Tw, h * Tw);
        // Read at the window's load: khaki, linear, a title of 30 pixels.
        skin->storedProperties() = {
            {QStringLiteral("themecolor"), 3}, {QStringLiteral("style"), 3}, {QStringLiteral("iconsize"), 15}};
        form->show();
        EXPECT_EQ(peek(*skin).m_lTitleHeight(), 30);
        form->move(1500, 1500, w * Tw, h * Tw);
        // The pointer over the window: the frame records where it now is.
        win32::SendMessageA(form->hWnd(), win32::WM_SETCURSOR, form->hWnd(), 0);
        EXPECT_EQ(peek(*skin).m_rcRestore().Left, 1500);
        if (grips)
            move(400, 300, 0);
        reports.clear();
        return *skin;
    }
    // The stored settings of `framed` with another style or icon size.
    static void restyled(SF& f, std::int32_t style, int iconSize = 15)
    {
        fixture::readStored(f, {{"Style", style}, {"IconSize", iconSize}});
    }
    // A press in the corner zone of the bottom grip: a corner drag begins.
    static void cornerPress(SF& f)
    {
        std::int16_t b = 0, s = 0;
        float x = static_cast<float>(f.scaleWidth()) - 10, y = 1;
        f.m_picBottom_MouseMove(b, s, x, y);
        b = 1;
        f.m_picBottom_MouseDown(b, s, x, y);
        ASSERT_EQ(peek(f).m_iSizeMode(), 8);
    }
    void move(float x, float y, std::int16_t button = 0)
    {
        std::int16_t shift = 0;
        skin->UserControl_MouseMove(button, shift, x, y);
    }
    void down(float x, float y, std::int16_t button = 1)
    {
        std::int16_t shift = 0;
        skin->UserControl_MouseDown(button, shift, x, y);
    }
    void up(float x, float y, std::int16_t button = 1)
    {
        std::int16_t shift = 0;
        skin->UserControl_MouseUp(button, shift, x, y);
    }
    QRect pixels() const
    {
        return QRect(qRound(form->left() / Tw), qRound(form->top() / Tw), qRound(form->width() / Tw),
                     qRound(form->height() / Tw));
    }
    static QRect gripPixels(const forms::Control& g)
    {
        return QRect(qRound(g.left() / Tw), qRound(g.top() / Tw), qRound(g.width() / Tw), qRound(g.height() / Tw));
    }
};

TEST_F(Window, PseudoMaximiseCoversTheWorkAreaAndRestoreComesBack)
{
    testsupport::setWorkAreaOverride(QRect(0, 0, 800, 600));
    SF& f = framed(400, 300);
    std::int32_t l, t, w, h;
    f.TB_GetDesktopWorkArea(l, t, w, h);
    EXPECT_EQ(QRect(l, t, w, h), QRect(0, 0, 800 * 15, 600 * 15));
    const QRect before = pixels();
    f.ToggleWindowState();
    EXPECT_EQ(peek(f).m_iWinState(), 2);
    EXPECT_EQ(pixels(), QRect(0, 0, 800, 600));
    EXPECT_TRUE(f.MnuSyst(0).isEnabled());
    EXPECT_FALSE(f.MnuSyst(2).isEnabled());
    EXPECT_TRUE(peek(f).m_picRight()->isVisible());
    f.ToggleWindowState();
    EXPECT_EQ(peek(f).m_iWinState(), 0);
    EXPECT_EQ(pixels(), before);
    EXPECT_FALSE(f.MnuSyst(0).isEnabled());
    EXPECT_TRUE(f.MnuSyst(2).isEnabled());
}

TEST_F(Window, FromThePlatformsMaximisedStateNothingMoves)
{
    SF& f = framed(400, 300);
    form->setWindowState(2);
    QApplication::processEvents();
    const QRect at = pixels();
    f.ToggleWindowState();
    EXPECT_EQ(peek(f).m_iWinState(), 2);
    EXPECT_TRUE(f.MnuSyst(0).isEnabled());
    EXPECT_FALSE(f.MnuSyst(2).isEnabled());
    EXPECT_FALSE(peek(f).m_picRight()->isVisible());
    EXPECT_FALSE(peek(f).m_picBottom()->isVisible());
    EXPECT_EQ(pixels(), at);
}

TEST_F(Window, APseudoMaximiseBeforeTheGripsExistStopsAtThem)
{
    SF& f = framed(400, 300, false);
    f.ToggleWindowState();
    EXPECT_EQ(peek(f).m_iWinState(), 2);
    EXPECT_EQ(reports, (std::vector<QString>{QStringLiteral("ToggleWindowState:91")}));
    f.ToggleWindowState(); // back to the saved bounds
    EXPECT_EQ(peek(f).m_iWinState(), 0);
}

TEST_F(Window, ContainedControlsAreAlignedBelowTheTitle)
{
    SF& f = framed(400, 300, false);
    EXPECT_EQ(f.GetControlsOffset(53), 0); // nothing inside the frame
    auto* a = new forms::Frame(*form, &f, QStringLiteral("a"));
    a->move(0, 540, 600, 600); // 36 px
    auto* b = new forms::Frame(*form, &f, QStringLiteral("b"));
    b->move(0, 2400, 600, 600); // 160 px
    auto* nested = new forms::Frame(*form, a, QStringLiteral("nested"));
    nested->move(0, 0, 300, 300); // inside a: not contained in the frame
    struct Case {
        std::int16_t minTop, offset;
    } const cases[] = {{53, 17}, {20, -16}, {36, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(f.GetControlsOffset(c.minTop), c.offset) << c.minTop;
    b->setTop(0);
    a->setTop(1520 * Tw);
    b->setTop(1520 * Tw);
    EXPECT_EQ(f.GetControlsOffset(20), -1000);

    // Relocating moves the controls and the window by the same amount.
    a->setTop(540);
    b->setTop(2400);
    restyled(f, SF::StyleLinear, 18); // a title of 33 pixels
    f.TitleBarHeightSetup();
    const float height = form->height();
    f.RelocateControls(false);
    EXPECT_FLOAT_EQ(a->top(), 540 + 17 * Tw);
    EXPECT_FLOAT_EQ(b->top(), 2400 + 17 * Tw);
    EXPECT_FLOAT_EQ(form->height(), height + 17 * Tw);
    EXPECT_FLOAT_EQ(nested->top(), 0);
}

TEST_F(Window, TheTallStyleAddsTenPixelsOnce)
{
    SF& f = framed(400, 300, false);
    auto* a = new forms::Frame(*form, &f, QStringLiteral("a"));
    a->move(0, 900, 600, 600);
    const float h0 = form->height();
    struct Step {
        std::int32_t style;
        float extra; // pixels over the first height
    } const steps[] = {{SF::StyleGripBar, 10},
                       {SF::StyleLinear, 0},
                       {SF::StyleCylinder, 0},
                       {SF::StyleGripBar, 10},
                       {SF::StyleGripBar, 10}};
    for (const Step& s : steps) {
        restyled(f, s.style);
        f.RelocateControls(true);
        EXPECT_FLOAT_EQ(form->height(), h0 + s.extra * Tw) << s.style;
        EXPECT_FLOAT_EQ(a->top(), 900 + s.extra * Tw) << s.style;
    }
    // Pseudo-maximised (over a work area where the window already is), the
    // saved normal height takes the change.
    move(200, 200); // the grips, which the toggle hides and shows
    testsupport::setWorkAreaOverride(pixels());
    f.ToggleWindowState();
    ASSERT_EQ(peek(f).m_iWinState(), 2);
    const std::int32_t saved = peek(f).m_rcRestore().Height;
    restyled(f, SF::StyleLinear);
    f.RelocateControls(true);
    EXPECT_EQ(peek(f).m_rcRestore().Height, saved - 150);
    EXPECT_FLOAT_EQ(form->height(), h0 + 10 * Tw);
}

TEST_F(Window, TheGripsLieAlongTheRightAndBottomEdges)
{
    SF& f = framed(800, 600);
    ASSERT_TRUE(peek(f).m_bGripsMade());
    EXPECT_EQ(gripPixels(*peek(f).m_picRight()), QRect(796, 39, 3, 560));
    EXPECT_EQ(gripPixels(*peek(f).m_picBottom()), QRect(4, 596, 792, 3));
    EXPECT_EQ(peek(f).m_picRight()->backColor(), 0x486B62);
    // In front of the frame: the grip's pixels are what the window shows.
    const QImage shot = form->window()->grab().toImage();
    EXPECT_EQ(shot.pixel(797, 300), qRgb(0x62, 0x6B, 0x48));
    // Laid out again at every resize.
    form->setClientSize(600 * Tw, 500 * Tw);
    f.move(0, 0, 600 * Tw, 500 * Tw);
    EXPECT_EQ(gripPixels(*peek(f).m_picRight()), QRect(596, 39, 3, 460));
    EXPECT_EQ(gripPixels(*peek(f).m_picBottom()), QRect(4, 496, 592, 3));
}

TEST_F(Window, GripPointersAndTheirCornerZones)
{
    SF& f = framed(800, 600);
    std::int16_t b = 0, s = 0;
    struct Case {
        bool right;
        float x, y;
        int pointer;
    } const cases[] = {
        {false, 785, 1, 7},
        {false, 786, 1, 8}, // window x 789 and 790
        {true, 1, 550, 9},
        {true, 1, 551, 8}, // window y 589 and 590
    };
    for (const Case& c : cases) {
        float x = c.x, y = c.y;
        if (c.right) {
            f.m_picRight_MouseMove(b, s, x, y);
            EXPECT_EQ(peek(f).m_picRight()->mousePointer(), c.pointer) << c.y;
        } else {
            f.m_picBottom_MouseMove(b, s, x, y);
            EXPECT_EQ(peek(f).m_picBottom()->mousePointer(), c.pointer) << c.x;
        }
    }
}

TEST_F(Window, BorderDragsStopAtTheirMinimums)
{
    SF& f = framed(800, 600);
    cornerPress(f);
    peek(f).m_picRight()->setMousePointer(9);
    peek(f).m_picBottom()->setMousePointer(7);
    move(100, 10, 1);
    EXPECT_EQ(pixels().size(), QSize(135, 50));
    EXPECT_EQ(peek(f).m_picRight()->mousePointer(), 0);
    EXPECT_EQ(peek(f).m_picBottom()->mousePointer(), 0);
    EXPECT_FLOAT_EQ(f.width(), form->width());
}

TEST_F(Window, ACornerDragFollowsThePointer)
{
    SF& f = framed(800, 600);
    int resized = 0;
    f.ReSize = [&] { ++resized; };
    std::int16_t b = 0, s = 0;
    float x = 790, y = 1; // the corner zone of the bottom grip
    f.m_picBottom_MouseMove(b, s, x, y);
    ASSERT_EQ(peek(f).m_picBottom()->mousePointer(), 8);
    b = 1;
    f.m_picBottom_MouseDown(b, s, x, y);
    EXPECT_EQ(peek(f).m_iSizeMode(), 8);
    x = 500 - 4;
    y = 400 - 596; // window (500, 400), in the grip's own pixels
    f.m_picBottom_MouseMove(b, s, x, y);
    EXPECT_EQ(pixels().size(), QSize(505, 405));
    EXPECT_GT(resized, 0);
    EXPECT_EQ(gripPixels(*peek(f).m_picBottom()), QRect(4, 401, 497, 3));
    f.m_picBottom_MouseUp(b, s, x, y);
    EXPECT_EQ(peek(f).m_iSizeMode(), 0);
    move(300, 300, 1);
    EXPECT_EQ(pixels().size(), QSize(505, 405));
}

TEST_F(Window, WithoutASizableBorderOrPseudoMaximisedTheGripsDoNothing)
{
    for (bool pseudo : {false, true}) {
        SF& f = framed(800, 600);
        if (pseudo) {
            testsupport::setWorkAreaOverride(QRect(0, 0, 800, 600));
            f.ToggleWindowState();
        } else {
            f.setBorderStyle(0);
        }
        std::int16_t b = 1, s = 0;
        float x = 790, y = 1;
        f.m_picBottom_MouseMove(b, s, x, y);
        EXPECT_EQ(peek(f).m_picBottom()->mousePointer(), 0);
        f.m_picBottom_MouseDown(b, s, x, y);
        EXPECT_EQ(peek(f).m_iSizeMode(), 0);
        x = 200;
        f.m_picBottom_MouseMove(b, s, x, y);
        EXPECT_EQ(pixels().size(), QSize(800, 600)) << pseudo;
    }
}

TEST_F(Window, ThePressOnTheIconOpensTheMenu)
{
    SF& f = framed(400, 300);
    std::vector<forms::PopupRequest> popups;
    forms::setPopupResponder([&](const forms::PopupRequest& r) {
        popups.push_back(r);
        return -1;
    });
    int downs = 0;
    f.MouseDown = [&](std::int16_t&, std::int16_t&, float&, float&) {
        EXPECT_EQ(popups.size(), 1u); // raised after the menu has closed
        ++downs;
    };
    down(3, 5);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].at, f.widget()->mapToGlobal(QPoint(3, 30)));
    ASSERT_GE(popups[0].defaultIndex, 0);
    EXPECT_EQ(popups[0].items[static_cast<std::size_t>(popups[0].defaultIndex)], &f.MnuSyst(4));
    f.MouseDown = nullptr;
    down(2, 5);
    down(23, 5); // IconSize 15 + 8

    down(3, 5, 2);
    EXPECT_EQ(popups.size(), 1u);
    EXPECT_EQ(downs, 1);
}

TEST_F(Window, ButtonsLightUnderThePointer)
{
    SF& f = framed(400, 300);
    const auto& close = peek(f).m_aCapBtn()[0];
    const auto& minimise = peek(f).m_aCapBtn()[2];
    const int gx = close.Left + 1, gy = close.Top + 1; // inside the highlight's outline
    const std::int32_t bare = at(gx, gy);
    move(200, 10);
    EXPECT_EQ(peek(f).m_iLitBtn(), -1);
    move(close.Left + 9, close.Top + 9);
    EXPECT_EQ(peek(f).m_iLitBtn(), 0);
    EXPECT_EQ(f.mousePointer(), 99);
    EXPECT_NE(at(gx, gy), bare);
    EXPECT_EQ(f.toolTipText(), QStringLiteral("关闭"));
    move(minimise.Left + 9, minimise.Top + 9);
    EXPECT_EQ(peek(f).m_iLitBtn(), 2);
    EXPECT_EQ(at(gx, gy), bare);
    EXPECT_TRUE(peek(f).m_aCapBtn()[2].Hot);
    move(100, 10);
    EXPECT_EQ(peek(f).m_iLitBtn(), -1);
    EXPECT_EQ(f.mousePointer(), 0);
    EXPECT_FALSE(peek(f).m_aCapBtn()[2].Hot);
    EXPECT_TRUE(peek(f).m_bOverTitle());
}

TEST_F(Window, ReleasesOverTheCloseButton)
{
    SF& f = framed(400, 300);
    std::vector<std::string> seen;
    f.MouseUp = [&](std::int16_t& b, std::int16_t&, float&, float&) { seen.push_back("MouseUp" + std::to_string(b)); };
    f.BtnCloseClick = [&] {
        EXPECT_TRUE(form->isLoaded());
        seen.push_back("BtnCloseClick");
    };
    const auto& close = peek(f).m_aCapBtn()[0];
    move(close.Left + 9, close.Top + 9);
    up(close.Left + 9, close.Top + 9, 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"MouseUp2"}));
    EXPECT_TRUE(form->isLoaded());
    up(close.Left + 9, close.Top + 9, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"MouseUp2", "MouseUp1", "BtnCloseClick"}));
    EXPECT_FALSE(form->isLoaded());
}

TEST_F(Window, ReleasesOverTheOtherButtons)
{
    testsupport::setWorkAreaOverride(QRect(0, 0, 800, 600));
    SF& f = framed(400, 300);
    const auto& max = peek(f).m_aCapBtn()[1];
    move(max.Left + 9, max.Top + 9);
    up(max.Left + 9, max.Top + 9);
    EXPECT_EQ(peek(f).m_iWinState(), 2);
    EXPECT_EQ(pixels(), QRect(0, 0, 800, 600));
    const auto& min = peek(f).m_aCapBtn()[2];
    move(min.Left + 9, min.Top + 9);
    up(min.Left + 9, min.Top + 9);
    EXPECT_EQ(peek(f).m_iLitBtn(), -1);
    EXPECT_FALSE(peek(f).m_aCapBtn()[2].Hot);
    move(min.Left + 9, min.Top + 9);
    EXPECT_EQ(peek(f).m_iLitBtn(), 2); // lit again at the next move
}

TEST_F(Window, AltF4ClosesOnlyWithTheCloseButtonShown)
{
    for (bool shown : {false, true}) {
        SF& f = framed(400, 300);
        f.setCloseButton(shown);
        bool clicked = false;
        f.BtnCloseClick = [&] { clicked = true; };
        std::int16_t f4 = 115, alt = 4, ctrlAlt = 6, plain = 0;
        f.UserControl_KeyDown(f4, plain);
        EXPECT_TRUE(form->isLoaded());
        f.UserControl_KeyDown(f4, shown ? ctrlAlt : alt);
        EXPECT_EQ(form->isLoaded(), !shown);
        EXPECT_FALSE(clicked);
    }
}

TEST_F(Window, DoubleClicksToggleOnlyWithTheMaximiseButton)
{
    testsupport::setWorkAreaOverride(QRect(0, 0, 800, 600));
    SF& f = framed(400, 300);
    int dbl = 0;
    f.DblClick = [&] { ++dbl; };
    move(100, 10);
    down(100, 10);
    f.UserControl_DblClick();
    EXPECT_EQ(peek(f).m_iWinState(), 2);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(peek(f).m_iDownButton(), 0);
    move(100, 150); // below the title: only the event
    down(100, 150);
    f.UserControl_DblClick();
    EXPECT_EQ(peek(f).m_iWinState(), 2);
    EXPECT_EQ(dbl, 2);
    f.setMaxButton(false);
    move(100, 10);
    down(100, 10);
    f.UserControl_DblClick();
    EXPECT_EQ(dbl, 2);
    EXPECT_EQ(peek(f).m_iDownButton(), 1);
    EXPECT_EQ(peek(f).m_iWinState(), 2);
}

TEST_F(Window, MovesWithoutTheLeftButtonRecordNothing)
{
    SF& f = framed(400, 300);
    peek(f).m_picRight()->setMousePointer(9);
    testsupport::FrameProbe::asIfNormalBoundsWere(f, {1, 2, 3, 4});
    move(200, 200, 0);
    EXPECT_EQ(peek(f).m_picRight()->mousePointer(), 0);
    EXPECT_EQ(peek(f).m_rcRestore().Left, 1);
    move(200, 200, 1); // a left-button move below the title records the bounds
    EXPECT_EQ(peek(f).m_rcRestore().Width, 400 * 15);
    // Pseudo-maximised (over a work area where the window already is):
    // lighting still works, nothing is recorded.
    testsupport::setWorkAreaOverride(pixels());
    f.ToggleWindowState();
    ASSERT_EQ(peek(f).m_iWinState(), 2);
    testsupport::FrameProbe::asIfNormalBoundsWere(f, {1, 2, 3, 4});
    move(200, 200, 1);
    EXPECT_EQ(peek(f).m_rcRestore().Left, 1);
    move(peek(f).m_aCapBtn()[0].Left + 9, peek(f).m_aCapBtn()[0].Top + 9, 1);
    EXPECT_EQ(peek(f).m_iLitBtn(), 0);
}

} // namespace

namespace {

TEST_F(Window, ChangeAllBackgroundsRecoloursTheWindowsControlsAtAResize)
{
    for (bool change : {false, true}) {
        SF& f = framed(400, 300);
        auto* panel = new forms::Frame(*form, &f, QStringLiteral("panel"));
        panel->move(600, 900, 1500, 1500);
        auto* box = new forms::TextBox(*form, &f, QStringLiteral("box")); // the window background colour
        box->move(3000, 900, 1500, 400);
        auto* button = new forms::CommandButton(*form, &f, QStringLiteral("button"));
        button->move(3000, 1800, 1500, 400);
        button->setStyle(0);
        fixture::readStored(f, {{"ChangeAllBackgrounds", change}, {"BackColorStyle", SF::BackThemeFill}});
        form->setClientSize(420 * Tw, 300 * Tw);
        f.move(0, 0, 420 * Tw, 300 * Tw); // a resize
        const QImage shot = form->window()->grab().toImage();
        const QRgb fill = qRgb(0xF8, 0xF8, 0xF2), white = qRgb(255, 255, 255);
        EXPECT_EQ(shot.pixel(60, 80), change ? fill : white) << change;
        EXPECT_EQ(box->backColor(), static_cast<long>(0x80000005));
        EXPECT_EQ(button->style(), change ? 1 : 0);
        EXPECT_EQ(peek(f).m_picRight()->backColor(), 0x486B62); // the grips keep the frame colour
        EXPECT_EQ(shot.pixel(417, 150), qRgb(0x62, 0x6B, 0x48));
    }
}

} // namespace
