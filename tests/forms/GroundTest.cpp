// The ground the frame stands on: one dispatch point, handles of the
// runtime's own, one owner for every control.
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Runtime.h"
#include "forms/UserControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using forms::Handle;
namespace wm = forms::wm;

// A drawn control that owns a control array of menu items, as the frame
// owns its system menu.
struct MenuOwner : forms::UserControl {
    MenuOwner(forms::Form& f) : UserControl(f, nullptr, QStringLiteral("Owner"))
    {
        for (int i = 0; i < 3; ++i)
            items.add(new forms::MenuItem(f, this, QStringLiteral("Item"), i));
        items.load(3);
    }
    forms::ControlArray<forms::MenuItem> items{QStringLiteral("Item")};
};

// Sends a press and a release at a point of a widget, as the learner's
// click arrives.
void click(QWidget* w, QPoint at = QPoint(2, 2), Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void moveOver(QWidget* w, QPoint at = QPoint(3, 3))
{
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

TEST(Ownership, AControlOwningAnArrayGoesWithItsWindowOnce)
{
    // The window deletes every control once, the array's elements included;
    // the array itself only referred to them.
    auto form = std::make_unique<forms::Form>();
    auto* owner = new MenuOwner(*form);
    const Handle ownerHandle = owner->hWnd();
    const Handle itemHandle = owner->items(3).hWnd();
    EXPECT_EQ(form->controls().size(), 5u);
    form.reset();
    EXPECT_EQ(forms::fromHandle(ownerHandle), nullptr);
    EXPECT_EQ(forms::fromHandle(itemHandle), nullptr);
}

TEST(Ownership, UnloadingAnElementFromItsOwnClickFreesItAfterwards)
{
    forms::Form form;
    forms::ControlArray<forms::PictureBox> cells(QStringLiteral("cell"));
    auto& first = cells.add(new forms::PictureBox(form, nullptr, QStringLiteral("cell"), 0));
    first.move(0, 0, 600, 300);
    forms::PictureBox& second = cells.load(1);
    second.setVisible(true);
    const Handle h = second.hWnd();
    QString seenAfterUnload;
    cells.onClick = [&](int index) {
        forms::PictureBox& self = cells(index);
        cells.unload(index);
        seenAfterUnload = self.name(); // still alive until the click has returned
    };
    form.show();
    click(second.widget());
    EXPECT_EQ(seenAfterUnload, QStringLiteral("cell"));
    EXPECT_FALSE(cells.exists(1));
    EXPECT_EQ(forms::fromHandle(h), nullptr);
}

TEST(Handles, StayTheSameWhenTheSystemFrameGoes)
{
    forms::Form form;
    auto* label = new forms::Label(form, nullptr, QStringLiteral("lbl"));
    form.show();
    const Handle before = form.hWnd();
    const WId nativeBefore = form.window()->winId();
    // Taking the system frame away makes a new native window.
    form.window()->setWindowFlags(form.window()->windowFlags() | Qt::FramelessWindowHint);
    form.show();
    const WId nativeAfter = form.window()->winId();
    EXPECT_EQ(form.hWnd(), before);
    EXPECT_EQ(forms::fromHandle(before), &form);
    // A control's handle leaves its widget alien: no native window is made.
    EXPECT_NE(label->hWnd(), 0u);
    EXPECT_NE(label->hWnd(), before);
    EXPECT_FALSE(label->widget()->testAttribute(Qt::WA_NativeWindow));
    EXPECT_EQ(label->widget()->internalWinId(), 0u);
    (void)nativeBefore;
    (void)nativeAfter;
}

TEST(Dispatch, NoExceptionCrossesTheEventLoop)
{
    forms::Form form;
    auto* label = new forms::Label(form, nullptr, QStringLiteral("lbl"));
    label->move(0, 0, 600, 300);
    form.show();
    int clicks = 0;
    const std::function<void()> throwers[] = {
        [&] {
            ++clicks;
            throw std::runtime_error("a handler's own fault");
        },
        [&] {
            ++clicks;
            throw 42;
        },
        [&] {
            ++clicks;
            vb::raise(vb::err::TypeMismatch);
        },
    };
    // Each escape is written once to standard error, here read by the test
    // so that no test's output carries the line.
    testing::internal::CaptureStderr();
    for (const auto& t : throwers) {
        label->onClick = t;
        click(label->widget());
    }
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(clicks, 3);
    EXPECT_FALSE(label->busy());
    EXPECT_EQ(written,
              "Run-time error: a handler's own fault\nRun-time error: unknown exception\n"
              "Run-time error '13': Type mismatch\n");
}

// A procedure that records what it sees and passes on all but one message.
struct Recorder : forms::WindowProc {
    forms::Window* window = nullptr;
    forms::WindowProc* previous = nullptr;
    std::vector<unsigned> seen;
    unsigned swallow = 0;
    qintptr call(Handle, unsigned msg, quintptr w, qintptr l) override
    {
        seen.push_back(msg);
        if (msg == swallow)
            return 0;
        return previous ? previous->call(window->hWnd(), msg, w, l) : window->defaultProcedure(msg, w, l);
    }
};

TEST(Dispatch, MessagesPassThroughTheInstalledProcedureFirst)
{
    forms::Form form;
    auto* label = new forms::Label(form, nullptr, QStringLiteral("lbl"));
    label->move(0, 0, 600, 300);
    form.show();
    int clicks = 0;
    label->onClick = [&] { ++clicks; };
    Recorder onLabel;
    onLabel.window = label;
    onLabel.previous = label->setProcedure(&onLabel);
    Recorder onForm;
    onForm.window = &form;
    onForm.previous = form.setProcedure(&onForm);

    moveOver(label->widget());
    click(label->widget());
    EXPECT_EQ(clicks, 1);
    // The carrying window hears the cursor message of every move over it.
    EXPECT_EQ(onForm.seen, (std::vector<unsigned>{wm::SetCursor}));
    EXPECT_EQ(onLabel.seen, (std::vector<unsigned>{wm::MouseMove, wm::LButtonDown, wm::LButtonUp}));

    // A release the procedure keeps to itself is no click.
    onLabel.swallow = wm::LButtonUp;
    click(label->widget());
    EXPECT_EQ(clicks, 1);
    label->setProcedure(onLabel.previous);
    form.setProcedure(onForm.previous);
}

TEST(Dispatch, TheLeaveIsReportedOnceForEachRequest)
{
    forms::Form form;
    auto* owner = new forms::UserControl(form, nullptr, QStringLiteral("uc"));
    owner->move(0, 0, 1500, 1500);
    form.show();
    Recorder rec;
    rec.window = owner;
    rec.previous = owner->setProcedure(&rec);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(owner->widget(), &leave);
    owner->requestLeave();
    QApplication::sendEvent(owner->widget(), &leave);
    QApplication::sendEvent(owner->widget(), &leave);
    EXPECT_EQ(std::count(rec.seen.begin(), rec.seen.end(), wm::MouseLeave), 1);
    owner->setProcedure(rec.previous);
}

TEST(Surface, IsMadeAtTheFirstSizeAndKeptAcrossResizes)
{
    forms::Form form;
    auto* uc = new forms::UserControl(form, nullptr, QStringLiteral("uc"));
    EXPECT_TRUE(uc->surface().image().isNull());
    uc->setBackColor(0xFFFFFF);
    uc->move(0, 0, 150, 150); // 10 x 10 pixels
    ASSERT_EQ(uc->surface().size(), QSize(10, 10));
    uc->surface().image().setPixel(3, 4, qRgb(1, 2, 3));
    uc->move(0, 0, 300, 300);
    EXPECT_EQ(uc->surface().size(), QSize(20, 20));
    EXPECT_EQ(uc->surface().image().pixel(3, 4), qRgb(1, 2, 3));
    EXPECT_EQ(uc->surface().image().pixel(15, 15), qRgb(255, 255, 255));
    // A clear brings the background picture back over the back colour.
    QPixmap dot(2, 2);
    dot.fill(QColor(9, 8, 7));
    uc->setPicture(forms::Picture(dot));
    EXPECT_EQ(uc->surface().image().pixel(1, 1), qRgb(9, 8, 7));
    EXPECT_EQ(uc->surface().image().pixel(3, 4), qRgb(255, 255, 255));
    EXPECT_EQ(forms::surfaceFromDC(uc->hDC()), &uc->surface());
}

TEST(PropertyBag, KeysMatchWithoutCaseAndDefaultsAreNotWritten)
{
    forms::PropertyBag bag{{QStringLiteral("themecolor"), 3}};
    EXPECT_EQ(bag.readProperty(QStringLiteral("ThemeColor"), 6), vb::Variant(3));
    EXPECT_EQ(bag.readProperty(QStringLiteral("Style"), 0), vb::Variant(0));
    bag.writeProperty(QStringLiteral("THEMECOLOR"), 6, 6); // back to its default: the key goes
    EXPECT_FALSE(bag.contains(QStringLiteral("themecolor")));
    bag.writeProperty(QStringLiteral("CloseButton"), false, true);
    EXPECT_EQ(bag.readProperty(QStringLiteral("closebutton"), true), vb::Variant(false));
    EXPECT_EQ(bag.entries().size(), 1u);
}

} // namespace
