// Input as the runtime delivers it: a double-click's events in their order,
// every key with its code and on to its widget.
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/VirtualKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

void mouse(QWidget* w, QEvent::Type type, QPoint at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The learner's double-click as Qt reports it: press, release, the second
// press as a double-click, release.
void doubleClick(QWidget* w, QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0)
        at = w->rect().center();
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                           QEvent::MouseButtonRelease})
        mouse(w, t, at);
}

// Records a control's mouse events by name.
struct Events {
    std::vector<std::string> seen;
    void watch(forms::Control& c, bool dblClickHandler)
    {
        c.onMouseDown = [this](int, int, float, float) { seen.emplace_back("MouseDown"); };
        c.onMouseUp = [this](int, int, float, float) { seen.emplace_back("MouseUp"); };
        c.onClick = [this] { seen.emplace_back("Click"); };
        if (dblClickHandler)
            c.onDblClick = [this] { seen.emplace_back("DblClick"); };
    }
};

using Sequence = std::vector<std::string>;

TEST(DoubleClick, RaisesOneClickAndTheDblClickInTheRuntimesOrder)
{
    const Sequence withHandler{"MouseDown", "MouseUp", "Click", "DblClick", "MouseUp"};
    const Sequence without{"MouseDown", "MouseUp", "Click", "MouseUp"};
    struct Case {
        const char* name;
        std::function<forms::Control*(forms::Form&)> make;
        bool handler;
        const Sequence& expected;
    };
    auto image = [](forms::Form& f) -> forms::Control* { return new forms::Image(f, nullptr, QStringLiteral("img")); };
    auto box = [](forms::Form& f) -> forms::Control* {
        return new forms::PictureBox(f, nullptr, QStringLiteral("pic"));
    };
    auto button = [](forms::Form& f) -> forms::Control* {
        return new forms::CommandButton(f, nullptr, QStringLiteral("cmd"));
    };
    const Case cases[] = {
        {"image with DblClick", image, true, withHandler},           {"image without", image, false, without},
        {"picture box with DblClick", box, true, withHandler},       {"picture box without", box, false, without},
        {"command button with DblClick", button, true, withHandler}, {"command button without", button, false, without},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::Form form;
        forms::Control* control = c.make(form);
        control->move(0, 0, 1200, 600);
        form.show();
        Events events;
        events.watch(*control, c.handler);
        doubleClick(control->widget());
        EXPECT_EQ(events.seen, c.expected);
    }
}

TEST(DoubleClick, TicksACheckBoxOnce)
{
    forms::Form form;
    auto* box = new forms::CheckBox(form, nullptr, QStringLiteral("chk"));
    box->move(0, 0, 1200, 300);
    form.show();
    int clicks = 0;
    box->onClick = [&] { ++clicks; };
    doubleClick(box->widget(), QPoint(6, box->widget()->height() / 2)); // on its tick box
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box->value(), 1);
}

TEST(DoubleClick, ASecondPressOnAnotherControlIsAPress)
{
    // The first click brought another control under the pointer: the
    // second press is that control's first, and clicks it.
    forms::Form form;
    auto* first = new forms::Image(form, nullptr, QStringLiteral("first"));
    auto* second = new forms::Image(form, nullptr, QStringLiteral("second"));
    first->move(0, 0, 1200, 600);
    second->move(0, 900, 1200, 600);
    form.show();
    Events one, two;
    one.watch(*first, true);
    two.watch(*second, true);
    const QPoint at(5, 5);
    mouse(first->widget(), QEvent::MouseButtonPress, at);
    mouse(first->widget(), QEvent::MouseButtonRelease, at);
    mouse(second->widget(), QEvent::MouseButtonDblClick, at);
    mouse(second->widget(), QEvent::MouseButtonRelease, at);
    EXPECT_EQ(one.seen, (Sequence{"MouseDown", "MouseUp", "Click"}));
    EXPECT_EQ(two.seen, (Sequence{"MouseDown", "MouseUp", "Click"}));
}

// A key press as the X server reports it: the key, its modifiers and the
// text it types ("\x7f" for Delete, nothing for the cursor keys).
struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
};

void press(QWidget* w, const Key& k)
{
    for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent e(t, k.key, k.modifiers, QString::fromUtf8(k.text));
        QApplication::sendEvent(w, &e);
    }
}

TEST(Keys, EveryKeyCarriesItsCodeAndReachesTheTextBox)
{
    forms::Form form;
    auto* box = new forms::TextBox(form, nullptr, QStringLiteral("txt"));
    box->move(0, 0, 2400, 300);
    form.show();
    auto* edit = static_cast<QLineEdit*>(box->widget());
    int code = -1, shift = -1;
    box->onKeyDown = [&](int& c, int s) {
        code = c;
        shift = s;
    };
    struct Case {
        const char* name;
        Key key;
        int code, shift;
        const char* text; // the box's text after the key, from "ab" with the cursor after "a"
        int cursor;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier, kp = Qt::KeypadModifier, sh = Qt::ShiftModifier;
    const Case cases[] = {
        {"Home", {Qt::Key_Home, none, ""}, 0x24, 0, "ab", 0},
        {"End", {Qt::Key_End, none, ""}, 0x23, 0, "ab", 2},
        {"Shift+Home", {Qt::Key_Home, sh, ""}, 0x24, 1, "ab", 0},
        {"Page Up", {Qt::Key_PageUp, none, ""}, 0x21, 0, "ab", 1},
        {"Page Down", {Qt::Key_PageDown, none, ""}, 0x22, 0, "ab", 1},
        {"Insert", {Qt::Key_Insert, none, ""}, 0x2D, 0, "ab", 1},
        {"Delete", {Qt::Key_Delete, none, "\x7f"}, 0x2E, 0, "a", 1},
        {"F5", {Qt::Key_F5, none, ""}, 0x74, 0, "ab", 1},
        {"full stop", {Qt::Key_Period, none, "."}, 0xBE, 0, "a.b", 2},
        {"comma", {Qt::Key_Comma, none, ","}, 0xBC, 0, "a,b", 2},
        {"minus", {Qt::Key_Minus, none, "-"}, 0xBD, 0, "a-b", 2},
        {"equals", {Qt::Key_Equal, none, "="}, 0xBB, 0, "a=b", 2},
        {"semicolon", {Qt::Key_Semicolon, none, ";"}, 0xBA, 0, "a;b", 2},
        {"slash", {Qt::Key_Slash, none, "/"}, 0xBF, 0, "a/b", 2},
        {"grave", {Qt::Key_QuoteLeft, none, "`"}, 0xC0, 0, "a`b", 2},
        {"bracket", {Qt::Key_BracketLeft, none, "["}, 0xDB, 0, "a[b", 2},
        {"backslash", {Qt::Key_Backslash, none, "\\"}, 0xDC, 0, "a\\b", 2},
        {"closing bracket", {Qt::Key_BracketRight, none, "]"}, 0xDD, 0, "a]b", 2},
        {"apostrophe", {Qt::Key_Apostrophe, none, "'"}, 0xDE, 0, "a'b", 2},
        {"Shift+1", {Qt::Key_Exclam, sh, "!"}, 0x31, 1, "a!b", 2},
        {"keypad 7", {Qt::Key_7, kp, "7"}, 0x67, 0, "a7b", 2},
        {"keypad *", {Qt::Key_Asterisk, kp, "*"}, 0x6A, 0, "a*b", 2},
        {"keypad +", {Qt::Key_Plus, kp, "+"}, 0x6B, 0, "a+b", 2},
        {"keypad -", {Qt::Key_Minus, kp, "-"}, 0x6D, 0, "a-b", 2},
        {"keypad decimal", {Qt::Key_Period, kp, "."}, 0x6E, 0, "a.b", 2},
        {"keypad /", {Qt::Key_Slash, kp, "/"}, 0x6F, 0, "a/b", 2},
        {"keypad Home, Num Lock off", {Qt::Key_Home, kp, ""}, 0x24, 0, "ab", 0},
        {"letter", {Qt::Key_Q, none, "q"}, 0x51, 0, "aqb", 2},
        // A key the table cannot name still types.
        {"unnamed", {Qt::Key_Eacute, none, "é"}, 0, 0, "aéb", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box->setText(QStringLiteral("ab"));
        edit->setCursorPosition(1);
        code = shift = -1;
        press(box->widget(), c.key);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(shift, c.shift);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(edit->cursorPosition(), c.cursor);
    }

    // Only a handler that sets the code to 0 keeps a key from the box.
    box->onKeyDown = [](int& c, int) {
        if (c == forms::vk::Home || c == forms::vk::OemPeriod)
            c = 0;
    };
    box->setText(QStringLiteral("ab"));
    edit->setCursorPosition(1);
    press(box->widget(), {Qt::Key_Home, Qt::NoModifier, ""});
    press(box->widget(), {Qt::Key_Period, Qt::NoModifier, "."});
    EXPECT_EQ(box->text(), QStringLiteral("ab"));
    EXPECT_EQ(edit->cursorPosition(), 1);
}

TEST(Keys, AFocusedCommandButtonIsClickedByReturnAndSpace)
{
    forms::Form form;
    auto* cmd = new forms::CommandButton(form, nullptr, QStringLiteral("cmd"));
    cmd->move(0, 0, 1200, 375);
    int clicks = 0;
    cmd->onClick = [&] { ++clicks; };
    form.show();
    // The only control that takes the focus has it from the start.
    ASSERT_EQ(form.window()->focusWidget(), cmd->widget());
    struct Case {
        Key key;
        int clicks;
    };
    const Case cases[] = {
        {{Qt::Key_Return, Qt::NoModifier, "\r"}, 1}, {{Qt::Key_Enter, Qt::KeypadModifier, "\r"}, 1},
        {{Qt::Key_Space, Qt::NoModifier, " "}, 1},   {{Qt::Key_Escape, Qt::NoModifier, "\x1b"}, 0},
        {{Qt::Key_A, Qt::NoModifier, "a"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.key);
        clicks = 0;
        press(cmd->widget(), c.key);
        EXPECT_EQ(clicks, c.clicks);
    }
}

} // namespace
