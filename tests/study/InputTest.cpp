// The main window and the result dialog under the learner's keys and
// double-clicks, sent as Qt delivers them to the focused control.
#include "Fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

using fixture::question;

namespace {

// A key as the X server reports it: the text Delete types is "\x7f", the
// cursor keys type nothing.
struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    const char* text = "";
};

void press(QWidget* w, const Key& k)
{
    // A key that closes a window takes its controls with it: the release
    // then has nowhere to go.
    const QPointer<QWidget> target(w);
    for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
        if (!target)
            return;
        QKeyEvent e(t, k.key, k.modifiers, QString::fromUtf8(k.text));
        QApplication::sendEvent(target, &e);
    }
}

void doubleClick(QWidget* w)
{
    const QPoint at = w->rect().center();
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                           QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(t, at, w->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

class Input : public fixture::ExamWindow {
protected:
    // Sequential practice over `n` questions whose right answer is A.
    study::FormMain& practice(int n)
    {
        std::vector<banks::QuestionRow> rows;
        for (int id = 1; id <= n; ++id)
            rows.push_back(question(id, 1));
        writeBank(rows);
        study::FormMain& f = open();
        QCoreApplication::processEvents(); // the window is the active one
        f.imgNav_Click(0);
        return f;
    }
};

TEST_F(Input, TheGoToBoxTakesEditingKeysAndFiltersCharacters)
{
    study::FormMain& f = practice(30);
    auto* edit = static_cast<QLineEdit*>(f.txtCurrent->widget());
    edit->setFocus();
    ASSERT_EQ(f.window()->focusWidget(), edit);
    const Qt::KeyboardModifiers sh = Qt::ShiftModifier;
    struct Case {
        const char* name;
        std::vector<Key> keys; // from "12" with the cursor at its end
        const char* text;
        int cursor;
        const char* selected;
        int question;
        bool message = false; // "题号无效!范围 1-30"
    };
    const Case cases[] = {
        {"Home", {{Qt::Key_Home}}, "12", 0, "", 12},
        {"End", {{Qt::Key_Home}, {Qt::Key_End}}, "12", 2, "", 12},
        {"Shift+Home", {{Qt::Key_Home, sh}}, "12", 0, "12", 12},
        {"Shift+End", {{Qt::Key_Home}, {Qt::Key_End, sh}}, "12", 2, "12", 12},
        {"Left", {{Qt::Key_Left}}, "12", 1, "", 12},
        {"Right", {{Qt::Key_Home}, {Qt::Key_Right}}, "12", 1, "", 12},
        // A jump writes the question's number back, the cursor at its end.
        {"Delete", {{Qt::Key_Home}, {Qt::Key_Delete, Qt::NoModifier, "\x7f"}}, "2", 1, "", 2},
        {"Backspace", {{Qt::Key_Backspace, Qt::NoModifier, "\b"}}, "1", 1, "", 1},
        // ".12" is about 0: out of range.
        {"full stop", {{Qt::Key_Home}, {Qt::Key_Period, Qt::NoModifier, "."}}, "1", 1, "", 1, true},
        {"letter", {{Qt::Key_A, Qt::NoModifier, "a"}}, "12", 2, "", 12},
        {"keypad digit",
         {{Qt::Key_Backspace, Qt::NoModifier, "\b"}, {Qt::Key_5, Qt::KeypadModifier, "5"}},
         "15",
         2,
         "",
         15},
        // Select the whole number and type another over it.
        {"End, Shift+Home, 27",
         {{Qt::Key_End}, {Qt::Key_Home, sh}, {Qt::Key_2, Qt::NoModifier, "2"}, {Qt::Key_7, Qt::NoModifier, "7"}},
         "27",
         2,
         "",
         27},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.txtCurrent->setText(QStringLiteral("12"));
        ASSERT_EQ(edit->cursorPosition(), 2);
        messages.clear();
        for (const Key& k : c.keys)
            press(edit, k);
        EXPECT_EQ(f.txtCurrent->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(edit->cursorPosition(), c.cursor);
        EXPECT_EQ(edit->selectedText(), QString::fromLatin1(c.selected));
        EXPECT_EQ(title(), QStringLiteral("%1.问题%1").arg(c.question));
        ASSERT_EQ(messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(messages[0].prompt, QStringLiteral("题号无效!范围 1-30"));
        }
    }
}

TEST_F(Input, ADoubleClickGivesOneAnswerAndOneStep)
{
    study::FormMain& f = practice(5);
    ASSERT_EQ(f.cboJump->listIndex(), 0); // 自动
    doubleClick(f.imgAnswer(0).widget()); // A, right: question 1 is answered and the window moves on
    EXPECT_EQ(title(), QStringLiteral("2.问题2"));
    EXPECT_EQ(states(), (std::vector<QString>{"A", "", "", "", ""}));
    EXPECT_FALSE(f.imgOK->isVisible());
    EXPECT_FALSE(f.imgErr->isVisible());

    doubleClick(f.imgNext->widget());
    EXPECT_EQ(title(), QStringLiteral("3.问题3"));
    EXPECT_EQ(states(), (std::vector<QString>{"A", "", "", "", ""}));
}

TEST_F(Input, ReturnAndSpaceCloseTheResultDialogAndEscapeDoesNot)
{
    study::FormMain& f = open();
    struct Case {
        const char* name;
        Key key;
        bool closes;
    };
    const Case cases[] = {
        {"Escape", {Qt::Key_Escape, Qt::NoModifier, "\x1b"}, false},
        {"Return", {Qt::Key_Return, Qt::NoModifier, "\r"}, true},
        {"Space", {Qt::Key_Space, Qt::NoModifier, " "}, true},
        {"keypad Enter", {Qt::Key_Enter, Qt::KeypadModifier, "\r"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool shown = false, closed = false;
        forms::setModalResponder([&](forms::Form& w) {
            auto& d = static_cast<study::DlgMsg&>(w);
            shown = true;
            // Its one control that takes the focus has it at every show.
            QWidget* focus = d.window()->focusWidget();
            ASSERT_EQ(focus, d.cmd->widget());
            press(focus, c.key);
            closed = !d.isLoaded();
        });
        f.ShowMessage(QStringLiteral("您的得分：90分！"), QStringLiteral("祝贺您通过考试！"));
        EXPECT_TRUE(shown);
        EXPECT_EQ(closed, c.closes);
    }
}

} // namespace
