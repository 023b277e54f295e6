// Pens and lines on a control's surface, pixel by pixel.
#include "Surface.h"
#include "Win32Support.h"

#include <QPoint>
#include <algorithm>
#include <vector>

namespace {

using namespace win32;
using Gdi = fixture::Surface;

TEST_F(Gdi, ALineSetsEveryPixelUpToButNotItsEndPoint)
{
    struct Case {
        const char* name;
        QPoint from, to;
        std::vector<QPoint> drawn;
    };
    const Case cases[] = {
        {"rightwards", {2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
        {"leftwards", {6, 5}, {2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
        {"downwards", {3, 1}, {3, 4}, {{3, 1}, {3, 2}, {3, 3}}},
        {"upwards", {3, 4}, {3, 1}, {{3, 4}, {3, 3}, {3, 2}}},
        {"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {"one pixel long", {7, 7}, {8, 7}, {{7, 7}}},
        {"no length", {4, 4}, {4, 4}, {}},
        {"partly outside", {-2, 0}, {2, 0}, {{0, 0}, {1, 0}}},
    };
    for (const Case& c : cases) {
        box->cls();
        const HPEN pen = CreatePen(PS_SOLID, 1, 0x0000FF);
        const HGDIOBJ old = SelectObject(dc(), pen);
        ASSERT_NE(old, 0u) << c.name;
        MoveToEx(dc(), c.from.x(), c.from.y(), nullptr);
        EXPECT_EQ(LineTo(dc(), c.to.x(), c.to.y()), 1) << c.name;
        std::vector<QPoint> drawn = ink();
        auto order = [](QPoint a, QPoint b) { return std::make_pair(a.y(), a.x()) < std::make_pair(b.y(), b.x()); };
        std::vector<QPoint> expected = c.drawn;
        std::sort(drawn.begin(), drawn.end(), order);
        std::sort(expected.begin(), expected.end(), order);
        EXPECT_EQ(drawn, expected) << c.name;
        for (QPoint p : drawn)
            EXPECT_EQ(at(p.x(), p.y()), 0x0000FFu) << c.name; // pixel-exact, no blending
        SelectObject(dc(), old);
        EXPECT_EQ(DeleteObject(pen), 1) << c.name;
    }
    EXPECT_EQ(testsupport::livePens(), 0);
}

TEST_F(Gdi, TheEndPointBecomesTheDrawingPositionSoAPolylineClosesItsCorners)
{
    const HPEN pen = CreatePen(PS_SOLID, 1, 0);
    const HGDIOBJ old = SelectObject(dc(), pen);
    MoveToEx(dc(), 1, 1, nullptr);
    LineTo(dc(), 5, 1);
    LineTo(dc(), 5, 4);
    POINT at{-1, -1};
    MoveToEx(dc(), 0, 0, &at);
    EXPECT_EQ(at.x, 5);
    EXPECT_EQ(at.y, 4);
    EXPECT_EQ(this->at(5, 1), 0u); // the corner: drawn by the second line
    EXPECT_EQ(this->at(5, 3), 0u);
    EXPECT_EQ(this->at(5, 4), White);
    EXPECT_EQ(ink().size(), 7u);
    SelectObject(dc(), old);
    DeleteObject(pen);
}

TEST_F(Gdi, PensAndPixelsKeepTheirContracts)
{
    // A null pen moves the position and draws nothing; an unknown style is
    // no pen.
    const HPEN none = CreatePen(PS_NULL, 1, 0);
    ASSERT_NE(none, 0u);
    EXPECT_EQ(CreatePen(2, 1, 0), 0u);
    const HGDIOBJ stock = SelectObject(dc(), none);
    MoveToEx(dc(), 0, 0, nullptr);
    LineTo(dc(), 10, 0);
    EXPECT_TRUE(ink().empty());
    // The stock pen is black and is never deleted; a deleted pen is gone.
    EXPECT_EQ(SelectObject(dc(), stock), none);
    EXPECT_EQ(DeleteObject(stock), 0);
    EXPECT_EQ(DeleteObject(none), 1);
    EXPECT_EQ(DeleteObject(none), 0);
    EXPECT_EQ(SelectObject(dc(), none), 0u);
    EXPECT_EQ(testsupport::livePens(), 0);
    LineTo(dc(), 10, 2); // with the stock pen again
    EXPECT_EQ(at(10, 0), 0u);
    EXPECT_EQ(at(10, 1), 0u);

    // SetPixel: the colour set, or -1 outside the surface and for a handle
    // that is no device context.
    EXPECT_EQ(SetPixel(dc(), 39, 19, 0x123456), 0x123456u);
    EXPECT_EQ(at(39, 19), 0x123456u);
    EXPECT_EQ(SetPixel(dc(), 40, 0, 0x123456), 0xFFFFFFFFu);
    EXPECT_EQ(SetPixel(dc(), -1, 0, 0x123456), 0xFFFFFFFFu);
    EXPECT_EQ(SetPixel(0, 0, 0, 0x123456), 0xFFFFFFFFu);
    EXPECT_EQ(LineTo(0, 1, 1), 0);
}

} // namespace
