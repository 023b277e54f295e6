// The work area of each monitor with the desktop's panels, and windows kept
// with their title bar inside it.
#include "forms/Screen.h"

#include <gtest/gtest.h>

namespace {

using forms::Strut;

struct AreaCase {
    const char* what;
    QRect monitor;
    std::vector<Strut> struts;
    QRect expected;
};

// Two monitors side by side, 1920 x 1080 and 1280 x 1024 at its right, on a
// root window of 3200 x 1080.
const QSize Root(3200, 1080);
const QRect Left(0, 0, 1920, 1080), Right(1920, 0, 1280, 1024);

TEST(WorkArea, PanelsCountOnTheMonitorsTheyLieOn)
{
    const AreaCase cases[] = {
        {"no panel", Left, {}, Left},
        {"bottom panel of the left monitor",
         Left,
         {Strut{.bottom = 40, .bottomStartX = 0, .bottomEndX = 1919}},
         QRect(0, 0, 1920, 1040)},
        {"bottom panel of the left monitor, seen from the right one",
         Right,
         {Strut{.bottom = 40, .bottomStartX = 0, .bottomEndX = 1919}},
         Right},
        // The right monitor is lower than the root: its bottom panel is
        // counted from the root's bottom edge, 56 + 40 pixels.
        {"bottom panel of the lower right monitor",
         Right,
         {Strut{.bottom = 96, .bottomStartX = 1920, .bottomEndX = 3199}},
         QRect(1920, 0, 1280, 984)},
        {"top panel on both", Right, {Strut{.top = 28, .topStartX = 0, .topEndX = 3199}}, QRect(1920, 28, 1280, 996)},
        {"top panel on the left one only", Right, {Strut{.top = 28, .topStartX = 0, .topEndX = 1919}}, Right},
        {"left dock", Left, {Strut{.left = 64, .leftStartY = 0, .leftEndY = 1079}}, QRect(64, 0, 1856, 1080)},
        {"left dock does not reach the right monitor",
         Right,
         {Strut{.left = 64, .leftStartY = 0, .leftEndY = 1079}},
         Right},
        {"right dock on the right monitor",
         Right,
         {Strut{.right = 48, .rightStartY = 0, .rightEndY = 1023}},
         QRect(1920, 0, 1232, 1024)},
        {"a panel on each",
         Left,
         {Strut{.top = 28, .topStartX = 0, .topEndX = 1919},
          Strut{.bottom = 96, .bottomStartX = 1920, .bottomEndX = 3199}},
         QRect(0, 28, 1920, 1052)},
        {"the largest of two panels on one edge",
         Left,
         {Strut{.bottom = 30, .bottomStartX = 0, .bottomEndX = 900},
          Strut{.bottom = 50, .bottomStartX = 1000, .bottomEndX = 1900}},
         QRect(0, 0, 1920, 1030)},
        {"a panel claiming the whole monitor is ignored",
         Left,
         {Strut{.left = 1920, .leftStartY = 0, .leftEndY = 1079}},
         Left},
    };
    for (const AreaCase& c : cases)
        EXPECT_EQ(forms::workAreaOf(c.monitor, Root, c.struts), c.expected) << c.what;
}

TEST(WorkArea, TitleBarStaysInside)
{
    const QRect area(0, 0, 1366, 728); // 1366 x 768 with a 40-pixel panel
    struct Case {
        const char* what;
        QRect window;
        QPoint expected;
    } cases[] = {
        {"fits: unchanged", QRect(100, 50, 400, 300), QPoint(100, 50)},
        {"above the screen", QRect(100, -47, 400, 300), QPoint(100, 0)},
        {"taller than the area, centred", QRect(-29, -49, 1241, 837), QPoint(0, 0)},
        {"wider than the area", QRect(-200, 10, 1600, 300), QPoint(0, 10)},
        {"off the right and bottom", QRect(1200, 700, 400, 300), QPoint(966, 428)},
        {"left of the area", QRect(-500, 100, 400, 300), QPoint(0, 100)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(forms::keepTitleInside(c.window, area).topLeft(), c.expected) << c.what;
    // An area that does not start at the origin: a second monitor.
    EXPECT_EQ(forms::keepTitleInside(QRect(1900, -30, 800, 1200), QRect(1920, 0, 1280, 1024)).topLeft(),
              QPoint(1920, 0));
}

} // namespace
