#include "Fixture.h"

using fixture::question;

namespace {

const long NotAnswered = 0xFEFDFF, Current = 0x42BE, Answered = 0x84BFFE, Right = 0xFE7F80, Wrong = 0xFE;
const long Green = 0x8000, Red = 0xFF;

class Answering : public fixture::Window {
protected:
    // A list of `n` part-1 questions; types and answers from the callback.
    study::FormMain& list(int n, const std::function<void(banks::QuestionRow&)>& shape = {})
    {
        std::vector<banks::QuestionRow> rows;
        for (int id = 1; id <= n; ++id) {
            rows.push_back(question(id, 1));
            if (shape)
                shape(rows.back());
        }
        writeBank(rows);
        study::FormMain& f = open();
        f.imgNav_Click(0);
        return f;
    }

    // The answer sheet as an exam leaves it: 100 cells, the clock running,
    // cell 0 current.
    void sheet(study::FormMain& f)
    {
        for (int i = 1; i <= 99; ++i)
            f.optNum.load(i);
        for (int i = 0; i <= 99; ++i)
            f.optNum(i).setBackColor(NotAnswered);
        f.optNum(0).setBackColor(Current);
        f.CurBookmark = f.Rs->bookmark();
        // A running clock; "45:00" would read as a review.
        if (f.Timer1.isEnabled())
            f.lblTime->setCaption(QStringLiteral("44:59"));
    }

    // The mark the learner sees: the one shown last lies on top.
    QString mark() const
    {
        const QObjectList& order = form->FR01->widget()->children();
        const bool ok = form->imgOK->isVisible(), err = form->imgErr->isVisible();
        if (ok && err)
            return order.indexOf(form->imgOK->widget()) > order.indexOf(form->imgErr->widget()) ? QStringLiteral("ok")
                                                                                                : QStringLiteral("err");
        return ok ? QStringLiteral("ok") : err ? QStringLiteral("err") : QString();
    }

    long cell(int i) const { return form->optNum(i).backColor(); }
    int position() const { return form->Rs->absolutePosition(); }
    QString stored() const { return form->Rs->value(QStringLiteral("state")).toString(); }
};

TEST_F(Answering, GoToBoxTakesNumbersInRangeOnly)
{
    study::FormMain& f = list(100);
    struct Case {
        const char* text;
        int question; // where the list stands after the write
        bool message;
    };
    const Case cases[] = {
        {"15", 15, false},   {"0", 1, true}, {"150", 1, true}, {"2.5", 2, false},  {"3.5", 4, false},
        {"100", 100, false}, {".", 1, true}, {"..", 1, true},  {"40000", 1, true}, {"", 1, false},
    };
    for (const Case& c : cases) {
        f.txtCurrent->setText(QStringLiteral("7")); // from somewhere else
        messages.clear();
        f.txtCurrent->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(position(), c.question) << c.text;
        EXPECT_EQ(title(), QStringLiteral("%1.问题%1").arg(c.question)) << c.text;
        ASSERT_EQ(messages.size(), c.message ? 1u : 0u) << c.text;
        if (c.message) {
            EXPECT_EQ(messages[0].prompt, QStringLiteral("题号无效!范围 1-100")) << c.text;
            EXPECT_EQ(messages[0].title, QStringLiteral("Torvasen"));
            EXPECT_EQ(f.txtCurrent->text(), QStringLiteral("1")) << c.text;
        }
    }
    // Keys: digits, the full stop, Enter and Backspace pass.
    for (int key : {int('0'), int('9'), int('.'), 13, 8, int('a'), int('E'), int('-'), int(' '), int('+')}) {
        std::int16_t k = static_cast<std::int16_t>(key);
        f.txtCurrent_KeyPress(k);
        const bool passes = (key >= '0' && key <= '9') || key == '.' || key == 13 || key == 8;
        EXPECT_EQ(k, passes ? key : 0) << key;
    }
}

TEST_F(Answering, PreviousAndNextStopAtTheEnds)
{
    study::FormMain& f = list(3);
    f.imgPre_Click();
    EXPECT_EQ(position(), 1);
    f.imgNext_Click();
    f.imgNext_Click();
    f.imgNext_Click();
    EXPECT_EQ(position(), 3);
    EXPECT_EQ(title(), QStringLiteral("3.问题3"));
    f.imgPre_Click();
    EXPECT_EQ(title(), QStringLiteral("2.问题2"));
}

TEST_F(Answering, TheSheetFollowsMovesInAnExam)
{
    study::FormMain& f = list(100);
    f.Timer1.setEnabled(true);
    sheet(f);
    f.txtCurrent->setText(QStringLiteral("3"));
    EXPECT_EQ(cell(0), NotAnswered);
    EXPECT_EQ(cell(2), Current);
    f.imgAnswer_Click(1); // answers 3 and moves on by itself
    EXPECT_EQ(stored(), QString());
    EXPECT_EQ(position(), 4);
    EXPECT_EQ(cell(2), Answered);
    EXPECT_EQ(cell(3), Current);
    f.imgPre_Click(); // leaves 4 unanswered
    EXPECT_EQ(cell(3), NotAnswered);
    EXPECT_EQ(cell(2), Current);
    EXPECT_EQ(stored(), QStringLiteral("B"));
    f.optNum_Click(49);
    EXPECT_EQ(cell(2), Answered);
    EXPECT_EQ(cell(49), Current);
    EXPECT_EQ(title(), QStringLiteral("50.问题50"));
    // The cell shows its number over the colour.
    const QImage& drawn = f.optNum(49).surface();
    int ink = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            ink += drawn.pixelColor(x, y) != forms::toQColor(Current);
    EXPECT_GT(ink, 20);
    f.Timer1.setEnabled(false);
}

TEST_F(Answering, ReviewGivesBackTheMarkedColours)
{
    study::FormMain& f = list(100);
    sheet(f);
    for (int i = 0; i < 100; ++i)
        f.QuestionColors[static_cast<std::size_t>(i)] = (i % 3 == 0) ? Right : (i % 3 == 1) ? Wrong : NotAnswered;
    f.Reviewing = true;
    f.lblTime->setCaption(QStringLiteral("45:00"));
    f.imgNext_Click();
    f.imgNext_Click();
    EXPECT_EQ(cell(0), Right);
    EXPECT_EQ(cell(1), Wrong);
    EXPECT_EQ(cell(2), Current);
    // An answer changed in review does not change the marked colour.
    f.imgAnswer_Click(0);
    f.imgPre_Click();
    EXPECT_EQ(cell(3), Right);
    // A typed jump enters no cell.
    f.txtCurrent->setText(QStringLiteral("10"));
    EXPECT_EQ(cell(2), NotAnswered);
    for (int i = 0; i < 100; ++i)
        EXPECT_NE(cell(i), Current) << i;
}

TEST_F(Answering, ACellBehindTheEndOfAShortPaperDoesNothing)
{
    study::FormMain& f = list(50);
    f.Timer1.setEnabled(true);
    sheet(f);
    f.imgNext_Click();
    f.optNum_Click(60);
    EXPECT_EQ(position(), 2);
    EXPECT_EQ(cell(1), Current);
    f.Timer1.setEnabled(false);
}

TEST_F(Answering, SingleAnswersInPractice)
{
    study::FormMain& f = list(3, [](banks::QuestionRow& q) { q.ans = QStringLiteral("3"); });
    f.imgAnswer_Click(0); // wrong
    EXPECT_EQ(f.lblMyAnswer->caption(), QStringLiteral("A"));
    EXPECT_EQ(f.lblMyAnswer->foreColor(), Red);
    EXPECT_EQ(mark(), QStringLiteral("err"));
    EXPECT_TRUE(f.lblRightAnswer->isVisible());
    EXPECT_EQ(f.lblRightAnswer->caption(), QStringLiteral("C"));
    EXPECT_EQ(position(), 1);
    f.imgAnswer_Click(2); // right: moves on
    EXPECT_EQ(position(), 2);
    EXPECT_EQ(states()[0], QStringLiteral("C"));

    f.cboJump->setListIndex(1); // manual: stays, marked right
    f.imgAnswer_Click(2);
    EXPECT_EQ(position(), 2);
    EXPECT_EQ(mark(), QStringLiteral("ok"));
    EXPECT_EQ(f.lblMyAnswer->foreColor(), Green);
    EXPECT_EQ(stored(), QStringLiteral("C"));

    // On the last question the window stays.
    f.cboJump->setListIndex(0);
    f.imgNext_Click();
    f.imgAnswer_Click(2);
    EXPECT_EQ(position(), 3);
    EXPECT_EQ(title(), QStringLiteral("3.问题3"));
}

TEST_F(Answering, MultipleAnswersToggleAndConfirm)
{
    study::FormMain& f = list(3, [](banks::QuestionRow& q) {
        q.txbz = QStringLiteral("2");
        q.ans = QStringLiteral("134");
    });
    for (int i : {0, 2, 0, 1})
        f.imgAnswer_Click(static_cast<std::int16_t>(i));
    EXPECT_EQ(f.lblMyAnswer->caption(), QStringLiteral("BC"));
    EXPECT_EQ(stored(), QString()); // nothing stored before the confirm
    f.imgNext_Click();              // moving away unconfirmed discards it
    EXPECT_EQ(states()[0], QString());

    struct Case {
        std::vector<int> clicks;
        const char* shown;
        bool right;
    };
    const Case cases[] = {{{2, 0, 3}, "ACD", true}, {{2, 0}, "AC", false}, {{}, "", false}};
    f.cboJump->setListIndex(1);
    for (const Case& c : cases) {
        f.ShowQuestion();
        f.lblMyAnswer->setCaption(QString());
        for (int i : c.clicks)
            f.imgAnswer_Click(static_cast<std::int16_t>(i));
        EXPECT_EQ(f.lblMyAnswer->caption(), QString::fromLatin1(c.shown));
        f.imgDone_Click();
        EXPECT_EQ(stored(), QString::fromLatin1(c.shown));
        EXPECT_EQ(f.lblRightAnswer->caption(), QStringLiteral("ACD"));
        EXPECT_EQ(mark(), c.right ? QStringLiteral("ok") : QStringLiteral("err")) << c.shown;
        EXPECT_EQ(position(), 2);
    }
}

TEST_F(Answering, TheExamStoresWithoutFeedbackAndReviewStillJudgesConfirms)
{
    study::FormMain& f = list(3, [](banks::QuestionRow& q) {
        if (q.id.toDouble() == 2) {
            q.txbz = QStringLiteral("2");
            q.ans = QStringLiteral("12");
        }
    });
    f.Timer1.setEnabled(true);
    sheet(f);
    f.imgAnswer_Click(3);
    EXPECT_EQ(position(), 2);
    f.ShowQuestion();
    f.imgAnswer_Click(0);
    f.imgDone_Click();
    EXPECT_EQ(position(), 3);
    f.imgAnswer_Click(1);
    EXPECT_EQ(position(), 3);
    EXPECT_FALSE(f.imgOK->isVisible());
    EXPECT_FALSE(f.imgErr->isVisible());
    EXPECT_EQ(states(), (std::vector<QString>{QStringLiteral("D"), QStringLiteral("A"), QStringLiteral("B")}));
    f.Timer1.setEnabled(false);

    // Review: a confirmed multiple answer gets a mark of its own.
    f.Reviewing = true;
    f.lblTime->setCaption(QStringLiteral("45:00"));
    f.imgPre_Click();
    EXPECT_EQ(mark(), QStringLiteral("err")); // "A" against "AB", from the display
    f.imgAnswer_Click(1);
    f.cboJump->setListIndex(1);
    f.imgDone_Click();
    EXPECT_EQ(stored(), QStringLiteral("AB"));
    EXPECT_EQ(mark(), QStringLiteral("ok"));
}

} // namespace
