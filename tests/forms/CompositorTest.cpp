// A window whose place and state the compositor keeps (Wayland): while the
// compositor holds it maximised, no size of the window's own may reach it
// (the compositor ends the connection over a size that contradicts the
// state it configured); the size asked for meanwhile comes once the
// compositor reports the window normal again. The offscreen platform
// reports state changes the way a compositor does.

#include "forms/Form.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

struct SizeCase {
    const char* what;
    std::function<void(forms::Form&)> ask; // a size asked for while maximised
    QSize inner;                           // the window's client size after the restore
};

} // namespace

TEST(CompositorMaximized, NoSizeOfItsOwnUntilTheCompositorHasLetGo)
{
    const float tx = forms::twipsPerPixelX(), ty = forms::twipsPerPixelY();
    const QSize designed(400, 300);
    const SizeCase cases[] = {
        // The restore to the saved bounds, the frame's own.
        {"move", [&](forms::Form& f) { f.move(30 * tx, 40 * ty, 420 * tx, 310 * ty); }, QSize(420, 310)},
        {"setClientSize", [&](forms::Form& f) { f.setClientSize(350 * tx, 260 * ty); }, QSize(350, 260)},
        // Two sizes asked for: the last one counts.
        {"two moves",
         [&](forms::Form& f) {
             f.move(0, 0, 500 * tx, 500 * ty);
             f.setClientSize(380 * tx, 290 * ty);
         },
         QSize(380, 290)},
    };
    for (const SizeCase& c : cases) {
        forms::Form form;
        form.setBorderStyle(0);
        form.window()->resize(designed);
        form.show();
        settle();
        ASSERT_EQ(form.window()->size(), designed) << c.what;

        form.setCompositorMaximized(true);
        settle();
        const QSize maximized = form.window()->size();
        ASSERT_NE(maximized, designed) << c.what << ": the platform did not maximise";
        EXPECT_TRUE(form.compositorMaximized()) << c.what;
        c.ask(form);
        settle();
        EXPECT_EQ(form.window()->size(), maximized) << c.what << ": sized while the compositor holds it";

        form.setCompositorMaximized(false);
        // Left, but not yet confirmed: still the compositor's size.
        EXPECT_TRUE(form.compositorMaximized()) << c.what;
        EXPECT_EQ(form.window()->size(), maximized) << c.what;
        settle();
        EXPECT_FALSE(form.compositorMaximized()) << c.what;
        EXPECT_EQ(form.window()->size(), c.inner) << c.what << ": the size asked for after the restore";
        // Normal again: sizes apply at once.
        form.setClientSize(300 * tx, 200 * ty);
        EXPECT_EQ(form.window()->size(), QSize(300, 200)) << c.what;
        form.unload();
    }
}

TEST(CompositorMaximized, MinimisingKeepsTheMaximisedStateForTheReturn)
{
    forms::Form form;
    form.setBorderStyle(0);
    form.window()->resize(400, 300);
    form.show();
    settle();
    form.setCompositorMaximized(true);
    settle();
    form.setWindowState(1);
    settle();
    EXPECT_EQ(form.windowState(), 1);
    EXPECT_TRUE(form.window()->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(form.compositorMaximized());
    form.unload();
}
