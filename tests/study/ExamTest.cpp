#include "Fixture.h"
#include "FrameProbe.h"
#include "Win32Support.h"

#include "forms/Timer.h"
#include "win32/Win32.h"

#include <QScreen>
#include <set>

using fixture::question;

namespace {

const long NotAnswered = 0xFEFDFF, Current = 0x42BE, Right = 0xFE7F80, Wrong = 0xFE;

class Exam : public fixture::ExamWindow {
protected:
    // A Penmaro bank with exactly the paper's quotas (every question is
    // drawn), the right answer B; `shape` changes rows.
    void paperBank(const std::function<void(std::vector<banks::QuestionRow>&)>& shape = {})
    {
        std::vector<banks::QuestionRow> rows = paperQuotaRows();
        rows.push_back(question(static_cast<int>(rows.size()) + 1, 6)); // never on a paper
        if (shape)
            shape(rows);
        writeBank(rows);
    }

    // Answers the paper question by question through the answer buttons:
    // the first `right` ones right, the rest wrong.
    void answerPaper(study::FormMain& f, int right)
    {
        ASSERT_TRUE(f.Rs && f.Rs->isOpen());
        const int n = f.Rs->recordCount();
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(f.Rs->absolutePosition(), i + 1);
            const int digit = f.Rs->value(QStringLiteral("ans")).toString().toInt();
            f.imgAnswer_Click(static_cast<std::int16_t>(i < right ? digit - 1 : digit % 4));
        }
    }

    int cellsOf(long colour) const
    {
        int n = 0;
        for (int i = 0; i <= 99; ++i)
            n += form->optNum(i).backColor() == colour;
        return n;
    }
};

TEST_F(Exam, StartsWithTheSheetAndTheClock)
{
    paperBank();
    study::FormMain& f = open();
    f.imgNav_Click(4);
    EXPECT_TRUE(f.Timer1.isEnabled());
    EXPECT_TRUE(f.Fr4->isVisible());
    EXPECT_TRUE(f.imgCommit->isVisible());
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("100 题"));
    EXPECT_EQ(f.lblTime->caption(), QStringLiteral("45:00")); // until the first tick
    EXPECT_EQ(f.optNum(0).backColor(), Current);
    EXPECT_EQ(cellsOf(NotAnswered), 99);
    // Four rows of 25, touching.
    EXPECT_EQ(f.optNum(24).left(), 120 + 24 * 550);
    EXPECT_EQ(f.optNum(25).left(), 120);
    EXPECT_EQ(f.optNum(99).top(), 30 + 3 * 270);
    EXPECT_EQ(f.optNum(99).mousePointer(), 99);
    // Exam style: the stored answer in red, the right answer empty.
    EXPECT_TRUE(f.lblMyAnswer->isVisible());
    EXPECT_EQ(f.lblRightAnswer->caption(), QString());
    clock.advance(1000);
    EXPECT_EQ(f.lblTime->caption(), QStringLiteral("44:59"));
}

TEST_F(Exam, HandInMarksScoresAndReviews)
{
    struct Case {
        int right;
        const char* score;
        const char* verdict;
    };
    const Case cases[] = {{90, "您的得分：90分！", "祝贺您通过考试！"},
                          {89, "您的得分：89分！", "未能通过考试,还需多多练习"},
                          {0, "您的得分：0分！", "未能通过考试,还需多多练习"}};
    for (const Case& c : cases) {
        paperBank();
        study::FormMain& f = open();
        results.clear();
        f.imgNav_Click(4);
        if (c.right > 0)
            answerPaper(f, c.right);
        f.imgCommit_Click();
        ASSERT_EQ(results.size(), 1u) << c.right;
        EXPECT_EQ(results[0].first, QString::fromUtf8(c.score));
        EXPECT_EQ(results[0].second, QString::fromUtf8(c.verdict));
        EXPECT_TRUE(f.Reviewing);
        EXPECT_FALSE(f.Timer1.isEnabled());
        EXPECT_FALSE(f.imgCommit->isVisible());
        EXPECT_EQ(f.lblTime->caption(), QStringLiteral("45:00"));
        // Marked colours are remembered; cell 0 is current again.
        const int answered = c.right > 0 ? 100 : 0;
        EXPECT_EQ(f.QuestionColors[0], c.right > 0 ? Right : NotAnswered);
        EXPECT_EQ(f.optNum(0).backColor(), Current);
        EXPECT_EQ(cellsOf(Right), c.right - (c.right > 0 ? 1 : 0));
        EXPECT_EQ(cellsOf(Wrong), answered - c.right);
        EXPECT_EQ(f.Rs->absolutePosition(), 1);
        f.unload();
    }
}

TEST_F(Exam, NoAtTheConfirmationChangesNothing)
{
    paperBank();
    study::FormMain& f = open();
    f.imgNav_Click(4);
    answer = forms::vbNo;
    f.imgCommit_Click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].prompt, QStringLiteral("你确定要交卷吗?"));
    EXPECT_EQ(messages[0].title, QStringLiteral("交卷"));
    EXPECT_EQ(messages[0].buttons, forms::vbYesNo);
    EXPECT_TRUE(f.Timer1.isEnabled());
    EXPECT_TRUE(f.imgCommit->isVisible());
    EXPECT_TRUE(results.empty());
    EXPECT_FALSE(f.Reviewing);
}

TEST_F(Exam, TheTimeRunsOutOnceAndALaterHandInMarks)
{
    paperBank();
    study::FormMain& f = open();
    f.imgNav_Click(4);
    clock.advance(2699 * 1000);
    EXPECT_EQ(f.lblTime->caption(), QStringLiteral("00:01"));
    EXPECT_TRUE(messages.empty());
    clock.advance(1000);
    clock.advance(60 * 1000);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].prompt, QStringLiteral("考试时间到!"));
    EXPECT_FALSE(f.Timer1.isEnabled());
    EXPECT_EQ(f.lblTime->caption(), QStringLiteral("00:01"));
    EXPECT_TRUE(f.imgCommit->isVisible());
    EXPECT_TRUE(results.empty());
    f.imgCommit_Click();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].first, QStringLiteral("您的得分：0分！"));
}

TEST_F(Exam, ANewExamFromAnyState)
{
    paperBank();
    study::FormMain& f = open();
    // Abandoned at 37:12: the next exam shows it until its first tick.
    f.imgNav_Click(4);
    clock.advance(468 * 1000);
    EXPECT_EQ(f.lblTime->caption(), QStringLiteral("37:12"));
    f.imgAnswer_Click(1);
    f.imgNav_Click(0);
    EXPECT_FALSE(f.Timer1.isEnabled());
    EXPECT_FALSE(f.lblTime->isVisible());
    f.imgNav_Click(4);
    EXPECT_EQ(f.ExamSeconds, 0);
    EXPECT_EQ(f.lblTime->caption(), QStringLiteral("37:12"));
    EXPECT_EQ(f.optNum(0).backColor(), Current);
    EXPECT_EQ(f.optNum(1).backColor(), NotAnswered);
    EXPECT_EQ(states(), std::vector<QString>(101, QString()));

    // After a hand-in the review test holds during the first second.
    answerPaper(f, 100);
    f.imgCommit_Click();
    f.imgNav_Click(4);
    EXPECT_TRUE(f.Reviewing);
    EXPECT_EQ(f.lblTime->caption(), QStringLiteral("45:00"));
    EXPECT_EQ(f.QuestionColors[5], Right);
    f.imgNext_Click(); // leaves cell 0 with its remembered colour
    EXPECT_EQ(f.optNum(0).backColor(), Right);
    clock.advance(1000);
    EXPECT_EQ(f.lblTime->caption(), QStringLiteral("44:59"));
}

TEST_F(Exam, MultipleAnswersAreMarkedAgainstTheDigitsInOrder)
{
    paperBank([](std::vector<banks::QuestionRow>& rows) {
        rows[0].txbz = QStringLiteral("2");
        rows[0].ans = QStringLiteral("134");
        rows[1].txbz = QStringLiteral("2");
        rows[1].ans = QStringLiteral("431");
    });
    study::FormMain& f = open();
    f.imgNav_Click(4);
    for (int pass = 0; pass < 2; ++pass) {
        // Find each of the two on the paper and answer ACD.
        for (int i = 0; i < 100; ++i) {
            f.optNum_Click(static_cast<std::int16_t>(i));
            const QString ans = f.Rs->value(QStringLiteral("ans")).toString();
            if (ans == QLatin1String(pass == 0 ? "134" : "431")) {
                for (int b : {0, 2, 3})
                    f.imgAnswer_Click(static_cast<std::int16_t>(b));
                f.imgDone_Click();
                break;
            }
        }
    }
    f.imgCommit_Click();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].first, QStringLiteral("您的得分：1分！"));
    EXPECT_EQ(cellsOf(Wrong), 1);
}

TEST_F(Exam, AShortPaperIsMarkedOverTheQuestionsItHas)
{
    // Chapter 4 one short of its 15: none of it is drawn.
    paperBank([](std::vector<banks::QuestionRow>& rows) { rows.erase(rows.begin() + 99); });
    study::FormMain& f = open();
    f.imgNav_Click(4);
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("85 题"));
    answerPaper(f, 85);
    f.optNum_Click(90); // no question behind it
    EXPECT_EQ(f.Rs->absolutePosition(), 85);
    f.imgCommit_Click();
    EXPECT_EQ(results[0].first, QStringLiteral("您的得分：85分！"));
    for (int i = 85; i <= 99; ++i)
        EXPECT_EQ(f.QuestionColors[static_cast<std::size_t>(i)], NotAnswered) << i;
}

TEST_F(Exam, WithoutABankNoPaperIsClaimed)
{
    study::FormMain& f = open();
    f.imgNav_Click(4);
    EXPECT_FALSE(f.Timer1.isEnabled());
    EXPECT_FALSE(f.imgCommit->isVisible());
    EXPECT_FALSE(f.Fr4->isVisible());
    EXPECT_FALSE(f.FR0->isVisible());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].prompt, QStringLiteral("题库文件 ") + bank + QStringLiteral(" 无法打开！"));
}

TEST_F(Exam, TheResultDialogCentresEachLineAndShowsTheLatest)
{
    paperBank();
    study::FormMain& f = open();
    forms::setModalResponder([this](forms::Form& w) {
        auto& d = static_cast<study::DlgMsg&>(w);
        results.emplace_back(d.lblLabel1->caption(), d.lblLabel2->caption());
        EXPECT_NEAR(d.lblLabel1->left(), (d.Frame1->width() - d.lblLabel1->width()) / 2, 0.01);
        EXPECT_NEAR(d.lblLabel2->left(), (d.Frame1->width() - d.lblLabel2->width()) / 2, 0.01);
        EXPECT_LT(d.lblLabel1->width(), d.Frame1->width());
        EXPECT_EQ(d.caption(), QStringLiteral("Torvasen           "));
        d.cmd_Click();
    });
    f.ShowMessage(QStringLiteral("您的得分：90分！"), QStringLiteral("祝贺您通过考试！"));
    f.ShowMessage(QStringLiteral("您的得分：89分！"), QStringLiteral("未能通过考试,还需多多练习"));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[1].first, QStringLiteral("您的得分：89分！"));
    EXPECT_EQ(results[1].second, QStringLiteral("未能通过考试,还需多多练习"));
    EXPECT_FALSE(f.dlgMsg().isLoaded());
}

TEST_F(Exam, TheResultDialogStandsOverTheMainWindowAtEveryShow)
{
    paperBank();
    study::FormMain& f = open();
    std::vector<QPoint> centres;
    // Nothing is active yet (as under a display without a window manager):
    // the owner is the window shown before.
    forms::setModalResponder([&](forms::Form& w) { centres.push_back(w.window()->frameGeometry().center()); });
    // Places where the dialog, centred on the owner, lies on the screen.
    const QPoint places[] = {{40, 30}, {-200, -100}, {100, 150}};
    for (const QPoint& p : places) {
        f.window()->move(p);
        f.ShowMessage(QStringLiteral("您的得分：90分！"), QStringLiteral("祝贺您通过考试！"));
    }
    ASSERT_EQ(centres.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        f.window()->move(places[i]);
        const QPoint owner = f.window()->frameGeometry().center();
        EXPECT_LE((centres[i] - owner).manhattanLength(), 3) << i; // halves rounded
    }
}

TEST_F(Exam, TheResultDialogStaysOnTheScreenWhenItsOwnerDoesNot)
{
    // The owner far to the bottom right: centred on it, the dialog would
    // leave the screen; it stops at the screen's edges instead.
    paperBank();
    study::FormMain& f = open();
    QRect shown;
    forms::setModalResponder([&](forms::Form& w) { shown = w.window()->frameGeometry(); });
    const QRect screen = f.window()->screen()->availableGeometry();
    for (const QPoint& p : {QPoint(screen.right() - 100, screen.bottom() - 50), QPoint(-900, -600)}) {
        f.window()->move(p);
        f.ShowMessage(QStringLiteral("您的得分：90分！"), QStringLiteral("祝贺您通过考试！"));
        EXPECT_TRUE(screen.contains(shown)) << p.x() << "," << p.y() << ": " << shown.x() << "," << shown.y();
    }
}

TEST_F(Exam, ThePartTwoExamRuns)
{
    std::vector<banks::QuestionRow> rows;
    int id = 1;
    const std::vector<std::pair<int, int>> quotas = {{8, 10}, {9, 20}, {10, 20}, {11, 10}, {12, 15}, {13, 20}, {14, 5}};
    for (const auto& [chapter, quota] : quotas)
        for (int i = 0; i < quota; ++i)
            rows.push_back(question(id++, chapter, "0", "3", "2"));
    for (int i = 0; i < 30; ++i)
        rows.push_back(question(id++, 1 + i % 4)); // part 1 stays off the paper
    writeBank(rows);
    study::FormMain& f = open();
    f.imgNav_Click(9);
    EXPECT_TRUE(f.Timer1.isEnabled());
    EXPECT_TRUE(f.Fr4->isVisible());
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("100 题"));
    ASSERT_TRUE(f.Rs && f.Rs->isOpen());
    std::set<QString> seen;
    for (f.Rs->moveFirst(); !f.Rs->eof(); f.Rs->moveNext())
        seen.insert(f.Rs->value(QStringLiteral("question")).toString());
    EXPECT_EQ(seen.size(), 100u);
    for (int i = 1; i <= 100; ++i)
        EXPECT_TRUE(seen.count(QStringLiteral("问题%1").arg(i))) << i;
    // Answered through and handed in like the part-1 paper.
    f.Rs->moveFirst();
    answerPaper(f, 95);
    f.imgCommit_Click();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].first, QStringLiteral("您的得分：95分！"));
    EXPECT_TRUE(f.Reviewing);
}

} // namespace

namespace {

// Each show of the result dialog is a new window: what the learner did to
// the last one (pseudo-maximised, pinned on top, a host's menu item) is
// gone, while the dialog's own two lines stay with the dialog.
TEST(ResultDialog, EachShowBuildsTheFrameAnewAtTheDesignedSize)
{
    testsupport::setWorkAreaOverride(QRect(0, 0, 800, 600));
    study::DlgMsg d;
    int shows = 0;
    QSize designed;
    frame::SkinFrame* first = nullptr;
    forms::setModalResponder([&](forms::Form& w) {
        auto& dlg = static_cast<study::DlgMsg&>(w);
        frame::SkinFrame& f = *dlg.SkinFrame1;
        const QImage& drawn = f.surface().image();
        if (shows++ == 0) {
            first = &f;
            designed = dlg.window()->size();
            std::int16_t b = 0, s = 0;
            float x = 100, y = 100;
            f.UserControl_MouseMove(b, s, x, y); // the grips
            f.ToggleWindowState();
            f.MnuSyst_Click(6);
            f.FormMenuAdd(QStringLiteral("附加"), true, true, false, true);
            EXPECT_EQ(dlg.window()->size(), QSize(800, 600));
            EXPECT_TRUE(dlg.topmost());
        } else {
            EXPECT_EQ(dlg.window()->size(), designed);
            EXPECT_EQ(drawn.size(), designed);
            EXPECT_EQ(testsupport::peek(f).m_iWinState(), 0);
            EXPECT_FALSE(f.MnuSyst(0).isEnabled());
            EXPECT_TRUE(f.MnuSyst(2).isEnabled());
            EXPECT_FALSE(f.MnuSyst(6).checked());
            EXPECT_FALSE(dlg.topmost());
            EXPECT_EQ(f.MnuSyst.ubound(), 6);
            EXPECT_FALSE(testsupport::peek(f).m_bGripsMade());
            EXPECT_EQ(dlg.lblLabel1->caption(), QStringLiteral("第一行"));
        }
        dlg.cmd_Click();
    });
    d.str1 = QStringLiteral("第一行");
    d.str2 = QStringLiteral("第二行");
    d.showModal();
    d.showModal();
    forms::setModalResponder(nullptr);
    testsupport::setWorkAreaOverride(QRect());
    EXPECT_EQ(shows, 2);
    EXPECT_EQ(designed, QSize(360, 193));
    EXPECT_EQ(d.str2, QStringLiteral("第二行"));
    EXPECT_FALSE(d.isLoaded());
}

} // namespace
