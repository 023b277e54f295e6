#include "FrameFixture.h"

#include "forms/Runtime.h"

#include <cmath>

namespace {

using Frame = fixture::Frame;
using SF = frame::SkinFrame;

TEST_F(Frame, ALineStopsBeforeItsEndPoint)
{
    SF& f = make();
    f.APILineEx(f.hDC(), 0, 5, 10, 5, 0x0000FF);
    for (int x = 0; x <= 9; ++x)
        EXPECT_EQ(at(x, 5), 0x0000FF) << x;
    EXPECT_EQ(at(10, 5), White);
    EXPECT_EQ(at(0, 4), White);
    EXPECT_EQ(testsupport::livePens(), 0); // each line deletes its pen
}

TEST_F(Frame, AnOutlineCoversBothEnds)
{
    SF& f = make();
    f.ApiRectangle(f.hDC(), 0, 0, 1, 1, 0);
    int set = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            set += at(x, y) == 0;
    EXPECT_EQ(set, 4);
    EXPECT_EQ(at(1, 1), 0);

    f.cls();
    f.ApiRectangle(f.hDC(), 0, 10, 99, 20, 0x123456);
    for (int y = 10; y <= 30; ++y) {
        EXPECT_EQ(at(0, y), 0x123456) << y;
        EXPECT_EQ(at(99, y), 0x123456) << y;
    }
    for (int x = 0; x <= 99; ++x) {
        EXPECT_EQ(at(x, 10), 0x123456) << x;
        EXPECT_EQ(at(x, 30), 0x123456) << x;
    }
    EXPECT_EQ(at(50, 20), White);
    EXPECT_EQ(at(50, 31), White);
}

TEST_F(Frame, LinearGradients)
{
    SF& f = make();
    // Two steps: one line in the middle colour, 127.5 going to 128.
    f.DrawGradientEx(f.hDC(), 0, White, 0, 0, 100, 2, true);
    EXPECT_EQ(at(0, 1), grey(128));
    EXPECT_EQ(at(99, 1), grey(128));
    EXPECT_EQ(at(0, 0), White);
    EXPECT_EQ(at(0, 2), White);

    f.cls();
    img().fill(qRgb(1, 2, 3));
    f.DrawGradientInRectangle(f.hDC(), 0, White, {0, 0, 10, 8}, SF::GradVertical, false, 0, 0);
    EXPECT_EQ(at(0, 1), grey(223));
    EXPECT_EQ(at(9, 7), grey(32));
    EXPECT_EQ(at(10, 7), 0x030201);
    EXPECT_EQ(at(5, 0), 0x030201); // row T keeps what it showed
    EXPECT_EQ(at(5, 8), 0x030201);

    // Columns: colour 2 at the left.
    f.cls();
    f.DrawGradientInRectangle(f.hDC(), 0, White, {0, 0, 4, 3}, SF::GradHorizontal, false, 0, 0);
    EXPECT_EQ(at(1, 0), grey(191)); // 255 - 63.75 = 191.25
    EXPECT_EQ(at(3, 2), grey(64));
    EXPECT_EQ(at(1, 3), White);
}

TEST_F(Frame, AnUnknownModeDrawsOnlyTheOutline)
{
    SF& f = make();
    f.DrawGradientInRectangle(f.hDC(), 0, 0x00FF00, {2, 2, 10, 10}, 5, true, 0xFF0000, 5.01);
    EXPECT_EQ(at(2, 2), 0xFF0000);
    EXPECT_EQ(at(12, 12), 0xFF0000);
    EXPECT_EQ(at(6, 6), White);
}

TEST_F(Frame, CylinderGradientsSplitAtOneOverTheRatio)
{
    SF& f = make(100, 40);
    struct Case {
        int top, height;
        double ratio;
        int firstFrom, firstTo, secondFrom, secondTo;
    } const cases[] = {
        {-1, 32, 5.01, 0, 4, 5, 30}, // a title 31 pixels high
        {7, 24, 5.01, 8, 11, 12, 30},
    };
    for (const Case& c : cases) {
        f.cls();
        f.DrawGradCilinder(f.hDC(), 0, White, {0, c.top, 50, c.height}, true, c.ratio);
        // From black towards white, then back from white towards black.
        for (int y = c.firstFrom; y < c.firstTo; ++y)
            EXPECT_LT(at(10, y) & 0xFF, at(10, y + 1) & 0xFF) << y;
        EXPECT_GT(at(10, c.secondFrom) & 0xFF, at(10, c.firstTo) & 0xFF);
        for (int y = c.secondFrom; y < c.secondTo; ++y)
            EXPECT_GT(at(10, y) & 0xFF, at(10, y + 1) & 0xFF) << y;
        EXPECT_EQ(at(10, c.secondTo + 1), White) << c.top;
        if (c.top >= 0) {
            EXPECT_EQ(at(10, c.top), White);
        }
    }
    // The title's values: steps of 42.5 down to row 4, then of 255/27 back.
    f.cls();
    f.DrawGradCilinder(f.hDC(), 0, White, {0, -1, 50, 32}, true, 5.01);
    const int expected[] = {42, 85, 128, 170, 212, 246};
    for (int y = 0; y <= 5; ++y)
        EXPECT_EQ(at(3, y), grey(expected[y])) << y;
    EXPECT_EQ(at(3, 30), grey(9));
    EXPECT_EQ(at(50, 3), White);
}

TEST_F(Frame, RatiosOfOneOrLessActAsOnePointZeroOne)
{
    SF& f = make(60, 40);
    auto draw = [&](double ratio) {
        f.cls();
        f.DrawGradCilinder(f.hDC(), 0x102030, 0xF0E0D0, {0, 0, 30, 30}, true, ratio);
        return img().copy();
    };
    const QImage reference = draw(1.01);
    EXPECT_EQ(draw(1), reference);
    EXPECT_EQ(draw(0), reference);
    EXPECT_EQ(draw(std::nan("")), reference);
}

TEST_F(Frame, ZeroStepsAreReportedAndDrawNothing)
{
    SF& f = make();
    f.DrawGradientEx(f.hDC(), 0, White, 0, 0, 100, 0, true);
    EXPECT_EQ(reports, (std::vector<QString>{QStringLiteral("DrawGradientEx:11")}));
    EXPECT_EQ(at(0, 0), White);

    // A cylinder one pixel high: the first part has no steps, the second is
    // still drawn.
    reports.clear();
    f.DrawGradCilinder(f.hDC(), 0, White, {0, 5, 50, 1}, true, 5.01);
    EXPECT_EQ(reports, (std::vector<QString>{QStringLiteral("DrawGradientEx:11")}));
    EXPECT_EQ(at(10, 5), grey(128));
}

TEST_F(Frame, BlendingAndTranslatingColours)
{
    EXPECT_EQ(SF::BlendColors(0xFFFFFF, 0), grey(128));
    EXPECT_EQ(SF::BlendColors(0x050301, 0), 0x020200); // RGB(1, 3, 5) darkens to RGB(0, 2, 2)
    EXPECT_EQ(SF::BlendColors(0x9C6113, 0), 0x4E300A); // RGB(19, 97, 156) to RGB(10, 48, 78)
    EXPECT_EQ(SF::BlendColors(0x9C6113, 0xFFFFFF), 0xCEB089);

    EXPECT_EQ(SF::TranslateColor(0x123456), 0x123456);
    EXPECT_EQ(SF::TranslateColor(static_cast<std::int32_t>(0x8000000F)),
              static_cast<std::int32_t>(forms::fromQColor(forms::toQColor(forms::ButtonFace))));
    EXPECT_EQ(SF::TranslateColor(0x01000000), -1);
    EXPECT_EQ(SF::TranslateColor(static_cast<std::int32_t>(0x800000FF)), -1);
}

TEST_F(Frame, GripDotsAreEngraved)
{
    SF& f = make(100, 20);
    f.PaintShpInBar(0xFFFFFF - 1, 0x000010, 7);
    for (int i = 0; i <= 8; ++i) {
        const int x = 33 + 4 * i;
        EXPECT_EQ(at(x, 2), 0x000010) << i;
        EXPECT_EQ(at(x + 1, 2), 0x000010) << i;
        EXPECT_EQ(at(x, 3), 0x000010) << i;
        EXPECT_EQ(at(x + 1, 3), 0x000010) << i;
        EXPECT_EQ(at(x + 2, 3), 0xFFFFFE) << i;
        EXPECT_EQ(at(x + 1, 4), 0xFFFFFE) << i;
        EXPECT_EQ(at(x + 2, 4), 0xFFFFFE) << i;
    }
    EXPECT_EQ(at(32, 2), White);
    EXPECT_EQ(at(68, 3), White);
}

TEST_F(Frame, GripDotsBeyondSixteenBitsStopThere)
{
    // x0 = 32760: the third dot's column passes 32767.
    SF& f = make(65554, 8);
    f.PaintShpInBar(0xEEEEEE, 0x111111, 7);
    EXPECT_EQ(reports, (std::vector<QString>{QStringLiteral("PaintShpInBar:6")}));
    EXPECT_EQ(at(32760, 2), 0x111111);
    EXPECT_EQ(at(32764, 2), 0x111111);
    EXPECT_EQ(at(32768 - 1, 2), White);
}

} // namespace
