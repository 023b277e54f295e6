#include "Fixture.h"

#include "banks/format/BankFormat.h"
#include "forms/MsgBox.h"
#include "forms/Runtime.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using study::FormMain;

namespace {

const QString Password = QStringLiteral(BANK_PASSWORD);
using fixture::chapters;
using fixture::question;
using Window = fixture::Window;

TEST_F(Window, StartsIdleWithTheMenuReady)
{
    writeBank({question(1, 1)});
    FormMain& f = open();
    EXPECT_EQ(f.cboJump->text(), QStringLiteral("自动"));
    const long legend[] = {0xFEFDFF, 0x42BE, 0x84BFFE, 0xFE7F80, 0xFE};
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(f.optE(i).backColor(), legend[i]);
    for (long c : f.QuestionColors)
        EXPECT_EQ(c, 0xFEFDFF);
    EXPECT_FALSE(f.FR0->isVisible());
    EXPECT_EQ(f.imgNav(0).mousePointer(), 99);
    EXPECT_EQ(f.optNum(0).mousePointer(), 99);
    EXPECT_EQ(f.imgNav(1).left(), 3090); // Penmaro's second tab
    EXPECT_EQ(f.FR01->foreColor(), 0x8000);
    EXPECT_EQ(f.Conn, nullptr);
    EXPECT_EQ(f.Rs, nullptr);
    // Closing before any list does nothing but close.
    f.unload();
    EXPECT_FALSE(f.isLoaded());
}

TEST_F(Window, SequentialPracticeClearsAnswersAndShowsTheFirstQuestion)
{
    std::vector<banks::QuestionRow> rows;
    for (int id = 1; id <= 12; ++id)
        rows.push_back(question(id, id <= 10 ? (id % 7) + 1 : 9));
    rows[3].state = QStringLiteral("B");
    rows[4].state = vb::Variant::null();
    writeBank(rows);
    FormMain& f = open();
    f.imgNav_Click(0);
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("10 题"));
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("1.问题1"));
    EXPECT_EQ(f.txtCurrent->text(), QStringLiteral("1"));
    EXPECT_FALSE(f.SuppressJump);
    EXPECT_TRUE(f.FR0->isVisible());
    EXPECT_FALSE(f.Fr4->isVisible());
    EXPECT_FALSE(f.imgCommit->isVisible());
    EXPECT_EQ(states(), std::vector<QString>(12, QString()));

    // Answers given are gone when the tab is clicked again.
    f.Rs->moveNext();
    f.Rs->setValue(QStringLiteral("state"), QStringLiteral("A"));
    f.imgNav_Click(0);
    EXPECT_EQ(states(), std::vector<QString>(12, QString()));
    EXPECT_EQ(f.Rs->absolutePosition(), 1);
    f.Rs->setBookmark(f.CurBookmark);
    EXPECT_EQ(f.Rs->value(QStringLiteral("question")).toString(), QStringLiteral("问题1"));

    f.imgNav_Click(5); // part 2
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("2 题"));
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("1.问题11"));
}

TEST_F(Window, IntensivePracticeListsTheErrorProneQuestionsOfPartOne)
{
    writeBank({question(5, 1, "1"), question(2, 3, "1"), question(3, 2), question(9, 9, "1")});
    FormMain& f = open();
    f.imgNav_Click(3);
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("2 题"));
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("1.问题2"));
    f.Rs->moveNext();
    EXPECT_EQ(f.Rs->value(QStringLiteral("question")).toString(), QStringLiteral("问题5"));
}

TEST_F(Window, AnOpeningThatFailsNamesTheBankAndLeavesTheCount)
{
    struct Case {
        const char* name;
        bool write;
        QString password;
    };
    const Case cases[] = {{"missing bank", false, Password}, {"wrong password", true, QStringLiteral("x")}};
    for (const Case& c : cases) {
        QFile::remove(bank);
        if (c.write)
            writeBank({question(1, 1)}, c.password);
        FormMain& f = open();
        messages.clear();
        f.imgNav_Click(0);
        f.imgNav_Click(3);
        EXPECT_EQ(f.lblAll->caption(), QStringLiteral("xxxx")) << c.name;
        // Each click names the file once.
        ASSERT_EQ(messages.size(), 2u) << c.name;
        for (const auto& m : messages)
            EXPECT_EQ(m.prompt, QStringLiteral("题库文件 ") + bank + QStringLiteral(" 无法打开！")) << c.name;
        EXPECT_FALSE(f.FR0->isVisible()) << c.name;
        f.unload();
    }
    // An empty list opens: the count is 0 and no question is shown.
    writeBank({question(1, 9)});
    FormMain& f = open();
    f.imgNav_Click(3);
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("0 题"));
    EXPECT_EQ(f.lblTitle->caption(), QString()); // not the design's placeholder
}

TEST_F(Window, TheLearnerSeesWhatTheModeShows)
{
    writeBank({question(1, 1)});
    FormMain& f = open();
    f.imgNav_Click(0);
    struct Case {
        const char* mode;
        bool timer, reviewing;
        const char* state;
        bool mine;
        long colour;
        bool right, ok, err;
    };
    const long Red = 0xFF, Green = 0x8000;
    const Case cases[] = {
        {"exam, unanswered", true, false, "", true, Red, false, false, false},
        {"exam, answered right", true, false, "A", true, Red, false, false, false},
        {"practice, unanswered", false, false, "", false, 0, false, false, false},
        {"practice, right", false, false, "A", true, Green, true, true, false},
        {"practice, wrong", false, false, "AC", true, Red, true, false, true},
        {"practice, small letters", false, false, "a", true, Red, true, false, true},
        {"review, unanswered", false, true, "", false, 0, true, false, false},
        {"review, wrong", false, true, "B", true, Red, true, false, true},
    };
    for (const Case& c : cases) {
        f.Timer1.setEnabled(c.timer);
        f.Reviewing = c.reviewing;
        f.GivenAnswers[1].letters = QString::fromLatin1(c.state);
        f.ShowQuestion();
        EXPECT_EQ(f.lblMyAnswer->isVisible(), c.mine) << c.mode;
        if (c.mine) {
            EXPECT_EQ(f.lblMyAnswer->caption(), QString::fromLatin1(c.state)) << c.mode;
            EXPECT_EQ(f.lblMyAnswer->foreColor(), c.colour) << c.mode;
        }
        EXPECT_EQ(f.lblRightAnswer->isVisible(), c.right) << c.mode;
        EXPECT_EQ(f.lblRightAnswer->caption(), c.timer ? QString() : QStringLiteral("A")) << c.mode;
        EXPECT_EQ(f.imgOK->isVisible(), c.ok) << c.mode;
        EXPECT_EQ(f.imgErr->isVisible(), c.err) << c.mode;
    }
    f.Timer1.setEnabled(false);
}

TEST_F(Window, OptionLinesButtonsAndTheConfirmButton)
{
    banks::QuestionRow twoOptions = question(1, 1, "0", "1");
    twoOptions.ans3 = vb::Variant::null();
    twoOptions.ans4 = QString();
    banks::QuestionRow noA = question(2, 1, "0", "2");
    noA.ans1 = vb::Variant::null();
    noA.ans = QStringLiteral("31");
    banks::QuestionRow untyped = question(3, 1);
    untyped.txbz = vb::Variant::null();
    writeBank({twoOptions, noA, untyped});
    FormMain& f = open();
    f.imgNav_Click(0);
    EXPECT_EQ(f.lblAnswer->caption(), QStringLiteral("A、甲\r\nB、乙\r\n"));
    EXPECT_EQ(f.lblAnswer->toolTipText(), f.lblAnswer->caption());
    const bool shown[] = {true, true, false, false};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.imgAnswer(i).isVisible(), shown[i]) << i;
    EXPECT_FALSE(f.imgDone->isVisible());

    f.Rs->moveNext();
    f.Reviewing = true;
    f.ShowQuestion();
    EXPECT_EQ(f.lblAnswer->caption(), QStringLiteral("B、乙\r\nC、丙\r\nD、丁"));
    EXPECT_FALSE(f.imgAnswer(0).isVisible());
    EXPECT_TRUE(f.imgAnswer(3).isVisible());
    EXPECT_TRUE(f.imgDone->isVisible());
    EXPECT_EQ(f.lblRightAnswer->caption(), QStringLiteral("AC"));

    f.Rs->moveNext();
    f.ShowQuestion();
    EXPECT_FALSE(f.imgDone->isVisible());
}

TEST_F(Window, TheTenthQuestionWritesItsNumberWithoutAJump)
{
    std::vector<banks::QuestionRow> rows;
    for (int id = 1; id <= 12; ++id)
        rows.push_back(question(id, 1));
    writeBank(rows);
    FormMain& f = open();
    f.imgNav_Click(0);
    for (int i = 1; i < 10; ++i)
        f.Rs->moveNext();
    f.ShowQuestion();
    EXPECT_EQ(f.txtCurrent->text(), QStringLiteral("10"));
    EXPECT_TRUE(f.lblTitle->caption().startsWith(QStringLiteral("10.问题10")));
    EXPECT_EQ(f.Rs->absolutePosition(), 10);
    EXPECT_FALSE(f.SuppressJump);

    // A jump to the question on screen would land where the list already
    // is; what gives it away is the bookmark it records. In an exam it
    // would also enter the question's cell.
    const vb::Variant first = f.CurBookmark;
    f.Rs->moveNext(); // question 11, shown by the display alone
    f.ShowQuestion();
    EXPECT_EQ(f.txtCurrent->text(), QStringLiteral("11"));
    EXPECT_EQ(f.CurBookmark, first);
    f.Timer1.setEnabled(true);
    for (int i = 1; i <= 11; ++i)
        f.optNum.load(i);
    f.Rs->movePrevious();
    f.ShowQuestion();
    EXPECT_EQ(f.CurBookmark, first);
    EXPECT_NE(f.optNum(9).backColor(), f.optE(1).backColor()) << "the cell of question 10 was entered";
    f.Timer1.setEnabled(false);
}

TEST_F(Window, PicturesStandCentredAndAMissingOneHidesNothing)
{
    QDir().mkpath(folder + QStringLiteral("/testimages"));
    // 300 twips (20 px) narrower than the picture area.
    QImage narrow(481, 100, QImage::Format_RGB32);
    narrow.fill(Qt::red);
    ASSERT_TRUE(narrow.save(folder + QStringLiteral("/testimages/narrow.png")));
    QFile junk(folder + QStringLiteral("/testimages/junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    const char* pictures[] = {"\\narrow.png", "\\missing.png", "\\junk.png", "narrow.png"};
    std::vector<banks::QuestionRow> rows;
    for (int i = 0; i < 4; ++i) {
        rows.push_back(question(i + 1, 1));
        rows.back().bmp = QString::fromLatin1(pictures[i]);
        rows.back().state = QStringLiteral("B");
    }
    writeBank(rows);
    FormMain& f = open();
    f.imgNav_Click(0);
    EXPECT_FALSE(f.imgTitlePic->picture().isNull());
    EXPECT_EQ(f.imgTitlePic->left(), 150);
    EXPECT_EQ(f.imgTitlePic->top(), 0);
    EXPECT_TRUE(f.imgTitlePic->isVisible());
    for (int i = 1; i < 4; ++i) {
        f.Rs->moveNext();
        f.GivenAnswers[f.Rs->absolutePosition()].letters = QStringLiteral("B");
        f.ShowQuestion();
        EXPECT_TRUE(f.imgTitlePic->picture().isNull()) << pictures[i];
        // The answers are still shown.
        EXPECT_TRUE(f.lblMyAnswer->isVisible()) << pictures[i];
        EXPECT_TRUE(f.imgErr->isVisible()) << pictures[i];
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Window, HiddenEntriesSevenAndEightOnlySpeak)
{
    writeBank({question(1, 1), question(2, 1)});
    FormMain& f = open();
    f.imgNav_Click(0);
    f.Rs->moveNext();
    f.imgNav_Click(7);
    f.imgNav_Click(8);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].prompt, QStringLiteral("2013年科目一考试已取消动画！"));
    EXPECT_EQ(messages[1].prompt, QStringLiteral("2013年科目一考试已取消多选！"));
    EXPECT_EQ(messages[0].title, QStringLiteral("Torvasen"));
    EXPECT_EQ(messages[0].buttons, forms::vbOKOnly);
    EXPECT_EQ(f.Rs->absolutePosition(), 2);
    EXPECT_TRUE(f.FR0->isVisible());

    // Closing closes the list and the connection.
    f.unload();
    EXPECT_EQ(f.Rs, nullptr);
    EXPECT_EQ(f.Conn, nullptr);
}

TEST(Letters, SortedAndFromDigits)
{
    struct Case {
        const char* in;
        const char* sorted;
    };
    for (const Case& c : {Case{"DBA", "ABD"}, Case{"ab", ""}, Case{"AACB", "ABC"}, Case{"", ""}, Case{"x D", "D"}})
        EXPECT_EQ(FormMain::SortAnswerLetters(QString::fromLatin1(c.in)), QString::fromLatin1(c.sorted)) << c.in;
    for (const Case& c : {Case{"31", "AC"}, Case{"2", "B"}, Case{"134", "ACD"}, Case{"431", "ACD"}})
        EXPECT_EQ(FormMain::AnswerLetters(QString::fromLatin1(c.in)), QString::fromLatin1(c.sorted)) << c.in;
}

TEST_F(Window, OnlyTheExamEntriesKeepAReviewGoing)
{
    writeBank({question(1, 1), question(2, 9)});
    FormMain& f = open();
    for (std::int16_t entry = 0; entry <= 9; ++entry) {
        if (entry == 4 || entry == 9)
            continue;       // papers of their own below
        f.Reviewing = true; // as a hand-in leaves it
        f.imgNav_Click(entry);
        EXPECT_FALSE(f.Reviewing) << entry;
    }
    for (std::int16_t entry : {4, 9}) {
        f.Reviewing = true;
        f.imgNav_Click(entry);
        EXPECT_TRUE(f.Reviewing) << entry;
    }
}

TEST_F(Window, APracticeTabStopsARunningExam)
{
    std::vector<banks::QuestionRow> rows;
    for (int id = 1; id <= 100; ++id)
        rows.push_back(question(id, id <= 30 ? 1 : id <= 60 ? 2 : id <= 85 ? 3 : 4));
    rows.push_back(question(101, 1, "1"));
    writeBank(rows);
    FormMain& f = open();
    for (std::int16_t entry : {0, 1, 2, 3, 5, 6}) {
        f.imgNav_Click(4);
        ASSERT_TRUE(f.Timer1.isEnabled());
        f.imgNav_Click(entry);
        EXPECT_FALSE(f.Timer1.isEnabled()) << entry;
        EXPECT_FALSE(f.lblTime->isVisible()) << entry;
        EXPECT_FALSE(f.imgCommit->isVisible()) << entry;
    }
}

TEST_F(Window, ClosingDuringAnExamReleasesTheListAndTheSheet)
{
    std::vector<banks::QuestionRow> rows;
    for (int id = 1; id <= 100; ++id)
        rows.push_back(question(id, id <= 30 ? 1 : id <= 60 ? 2 : id <= 85 ? 3 : 4));
    writeBank(rows);
    FormMain& f = open();
    f.imgNav_Click(4);
    ASSERT_TRUE(f.Timer1.isEnabled());
    ASSERT_TRUE(f.optNum.exists(99));
    f.unload();
    EXPECT_EQ(f.Rs, nullptr);
    EXPECT_EQ(f.Conn, nullptr);
    for (int i = 1; i <= 99; ++i)
        EXPECT_FALSE(f.optNum.exists(i)) << i;
    EXPECT_TRUE(f.optNum.exists(0));
    EXPECT_EQ(states(), std::vector<QString>(rows.size(), QString())); // nothing marked or stored
}

TEST_F(Window, PartTwoIsChaptersEightToFourteen)
{
    writeBank({question(1, 7), question(2, 8), question(3, 14), question(4, 15)});
    FormMain& f = open();
    f.imgNav_Click(5);
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("2 题"));
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("1.问题2"));
    f.imgNext_Click();
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("2.问题3"));
    f.imgNav_Click(0); // and part 1 up to chapter 7
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("1 题"));
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("1.问题1"));
}

} // namespace
