#include "CpuTime.h"
#include "Fixture.h"
#include "RawBank.h"

#include <QImage>
#include <QWidget>

using fixture::question;
using study::FormMain;

namespace {

// Banks the program cannot fully use: each gives the failure its step
// prescribes, never a crash, a wrong answer stored or shown, or an answer
// lost without a word.
class HostileBank : public fixture::ExamWindow {
protected:
    // Penmaro's paper quotas exactly, right answer B, and chapters 6 and 8
    // with a question each (never on a part-1 paper).
    std::vector<banks::QuestionRow> paperRows()
    {
        std::vector<banks::QuestionRow> rows = paperQuotaRows();
        const int id = static_cast<int>(rows.size()) + 1;
        rows.push_back(question(id, 6));
        rows.push_back(question(id + 1, 8));
        return rows;
    }

    // The paper's questions by their texts; the list is left at its first.
    std::vector<QString> paperQuestions(FormMain& f)
    {
        std::vector<QString> out;
        if (!f.Rs || !f.Rs->isOpen())
            return out;
        for (f.Rs->moveFirst(); !f.Rs->eof(); f.Rs->moveNext())
            out.push_back(f.Rs->value(QStringLiteral("question")).toString());
        f.Rs->moveFirst();
        return out;
    }

    void handIn(FormMain& f)
    {
        results.clear();
        f.imgCommit_Click();
    }
};

// A text made to close the in-list early, in a key column declared TEXT:
// chapter practice and the paper still hold only what they should.
TEST_F(HostileBank, ValuesInTextColumnsNeverWidenAStatement)
{
    const QString injection = QStringLiteral("1) or (1=1) or zhangjie in(1");
    {
        writeBank(paperRows());
        rawbank::retable(bank, QStringLiteral("zhangjie"),
                         QStringLiteral("zhangjieid TEXT, zhangjiename TEXT, state INTEGER"),
                         QStringLiteral("zhangjieid, zhangjiename, state"));
        rawbank::Raw(bank).exec(
            QStringLiteral("UPDATE zhangjie SET zhangjieid='%1' WHERE zhangjieid=1").arg(injection));
        FormMain& f = open();
        f.imgNav_Click(1);
        for (int i = 0; i < 4; ++i)
            f.chkChapter(i).setValue(1);
        f.imgSelect_Click();
        // Chapters 2 to 4 at most: never chapter 1 by the injected text,
        // nor anything of part 2.
        const std::vector<QString> listed = paperQuestions(f);
        EXPECT_LE(listed.size(), 70u);
        for (const QString& q : listed)
            EXPECT_GT(q.mid(2).toInt(), 30) << q.toStdString();
        f.unload();
        form.reset();
    }
    {
        writeBank(paperRows());
        rawbank::changeQuestionColumn(bank, QStringLiteral("id"), QStringLiteral("TEXT"));
        rawbank::Raw(bank).exec(QStringLiteral("UPDATE shiti2012 SET id='1) or (1=1) or id in(1' WHERE id=5"));
        FormMain& f = open();
        f.imgNav_Click(4);
        const std::vector<QString> paper = paperQuestions(f);
        // The chapter of the hostile id is left out; no question of
        // chapters 6 or 8 comes in.
        EXPECT_EQ(paper.size(), 70u);
        EXPECT_EQ(f.lblAll->caption(), QStringLiteral("70 题"));
        for (const QString& q : paper)
            EXPECT_GT(q.mid(2).toInt(), 30) << q.toStdString();
        handIn(f);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].first, QStringLiteral("您的得分：0分！"));
    }
}

// Every row twice: the paper is its first hundred questions, moves stop at
// the last cell, and every answer lands on the question shown.
TEST_F(HostileBank, DuplicateIdsGiveAPaperOfAHundredAtMost)
{
    writeBank(paperRows());
    rawbank::Raw(bank).exec(QStringLiteral("INSERT INTO shiti2012 SELECT * FROM shiti2012"));
    FormMain& f = open();
    f.imgNav_Click(4);
    ASSERT_TRUE(f.Rs && f.Rs->isOpen());
    EXPECT_GT(f.Rs->recordCount(), 100);
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("100 题"));
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(f.Rs->absolutePosition(), i + 1);
        ASSERT_TRUE(f.lblTitle->caption().startsWith(QString::number(i + 1) + QLatin1Char('.')));
        f.imgAnswer_Click(1); // B, right; moves on by itself
    }
    EXPECT_EQ(f.Rs->absolutePosition(), 100);
    EXPECT_TRUE(f.lblTitle->caption().startsWith(QStringLiteral("100.")));
    f.imgNext_Click();
    EXPECT_EQ(f.Rs->absolutePosition(), 100);
    f.imgAnswer_Click(0); // A, wrong, on question 100 as shown
    EXPECT_EQ(f.Rs->value(QStringLiteral("state")).toString(), QStringLiteral("A"));
    messages.clear();
    f.txtCurrent->setText(QStringLiteral("101"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].prompt, QStringLiteral("题号无效!范围 1-100"));
    handIn(f);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].first, QStringLiteral("您的得分：99分！"));
    EXPECT_TRUE(f.Reviewing);
}

// Whatever one question holds, the hand-in shows the score and begins the
// review.
TEST_F(HostileBank, AHandInScoresWhateverAQuestionHolds)
{
    const char* const columns[] = {"ans", "question", "ans1", "txbz", "bmp"};
    for (const char* column : columns) {
        writeBank(paperRows());
        rawbank::Raw(bank).exec(QStringLiteral("UPDATE shiti2012 SET %1=%2")
                                    .arg(QLatin1String(column),
                                         QLatin1String(column) == QLatin1String("bmp") ? QStringLiteral("x'00ff'")
                                                                                       : QStringLiteral("NULL")));
        FormMain& f = open();
        f.imgNav_Click(4);
        handIn(f);
        ASSERT_EQ(results.size(), 1u) << column;
        EXPECT_EQ(results[0].first, QStringLiteral("您的得分：0分！")) << column;
        EXPECT_TRUE(f.Reviewing) << column;
        EXPECT_FALSE(f.imgCommit->isVisible()) << column;
        f.unload();
        form.reset();
    }
}

// A bank that refuses every write: the learner is told once per list that
// answers are not saved, and practice goes on.
TEST_F(HostileBank, AnAnswerThatCannotBeSavedIsToldOnce)
{
    writeBank({question(1, 1), question(2, 1), question(3, 1)});
    rawbank::Raw(bank).exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON shiti2012 BEGIN SELECT RAISE(ABORT, "
                                           "'attempt to write a readonly database'); END"));
    FormMain& f = open();
    f.imgNav_Click(0);
    ASSERT_EQ(f.lblAll->caption(), QStringLiteral("3 题"));
    f.cboJump->setListIndex(1); // stay on the question
    f.imgAnswer_Click(1);       // wrong
    f.imgAnswer_Click(0);       // right
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].prompt, QStringLiteral("答案无法保存到题库文件！"));
    // Judged all the same.
    EXPECT_TRUE(f.imgOK->isVisible());
    EXPECT_EQ(f.lblMyAnswer->caption(), QStringLiteral("A"));
    // A new list tells again, once.
    f.imgNav_Click(0);
    f.imgAnswer_Click(0);
    f.imgAnswer_Click(0);
    EXPECT_EQ(messages.size(), 2u);
}

// Picture values that climb out of the program's folder show nothing; a
// picture inside it is shown.
TEST_F(HostileBank, PicturesOutsideTheProgramFolderAreMissing)
{
    // The program's folder is a subfolder, so that a picture can lie just
    // outside it.
    const QString app = dir.filePath(QStringLiteral("app"));
    QDir().mkpath(app + QStringLiteral("/testimages"));
    forms::setAppPath(app);
    bank = app + QStringLiteral("/in.dll");
    QImage red(300, 200, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(dir.filePath(QStringLiteral("outside.png"))));
    ASSERT_TRUE(red.save(app + QStringLiteral("/testimages/inside.png")));
    struct Case {
        const char* bmp;
        bool shown;
    };
    const Case cases[] = {{"\\inside.png", true},
                          {"\\..\\..\\outside.png", false},
                          {"/../../outside.png", false},
                          {"\\..\\..\\..\\..\\..\\..\\..\\..\\..\\etc\\passwd", false},
                          {"\\sub\\..\\..\\..\\outside.png", false}};
    std::vector<banks::QuestionRow> rows;
    for (const Case& c : cases) {
        rows.push_back(question(static_cast<int>(rows.size()) + 1, 1));
        rows.back().bmp = QString::fromLatin1(c.bmp);
    }
    writeBank(rows);
    FormMain& f = open();
    f.imgNav_Click(0);
    for (const Case& c : cases) {
        const QImage shot = f.window()->grab().toImage();
        int redPixels = 0;
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2)
                redPixels += shot.pixel(x, y) == qRgb(255, 0, 0);
        EXPECT_EQ(redPixels > 0, c.shown) << c.bmp;
        EXPECT_EQ(!f.imgTitlePic->picture().isNull(), c.shown) << c.bmp;
        f.imgNext_Click();
    }
    EXPECT_TRUE(messages.empty());
}

// A megabyte of question text: the window lays out a bounded part of it,
// so showing and moving stay quick.
TEST_F(HostileBank, AHugeTextDoesNotStallTheWindow)
{
    std::vector<banks::QuestionRow> rows = {question(1, 1), question(2, 1), question(3, 1)};
    rows[1].question = QString(1000000, QChar(0x95EE)); // 问
    rows[1].ans2 = QString(1000000, QLatin1Char('x'));
    writeBank(rows);
    FormMain& f = open();
    f.imgNav_Click(0);
    // The window's work, all of it on this thread, in processor time.
    const qint64 start = cputime::threadMs();
    for (int i = 0; i < 4; ++i) {
        if (i % 2 == 0)
            f.imgNext_Click();
        else
            f.imgPre_Click();
        f.window()->grab();
    }
    EXPECT_LT(cputime::threadMs() - start, 2000 * cputime::SanitizerScale);
    f.imgNext_Click();
    EXPECT_LT(f.lblTitle->caption().size(), 1100);
    EXPECT_LT(f.lblAnswer->caption().size(), 4100);
    EXPECT_TRUE(f.lblTitle->caption().startsWith(QStringLiteral("2.问问")));
}

// A bank without a column the lists read: the list does not open, and no
// column name is ever shown as an answer.
TEST_F(HostileBank, ABankWithoutAColumnOpensNoList)
{
    struct Case {
        const char* column;
        std::int16_t tab;
    };
    for (const Case& c : {Case{"state", 0}, Case{"ycbz", 3}}) {
        writeBank({question(1, 1, "1"), question(2, 1, "1")});
        rawbank::changeQuestionColumn(bank, QString::fromLatin1(c.column));
        FormMain& f = open();
        f.imgNav_Click(c.tab);
        EXPECT_EQ(f.lblAll->caption(), QStringLiteral("xxxx")) << c.column;
        EXPECT_FALSE(f.Rs && f.Rs->isOpen()) << c.column;
        EXPECT_NE(f.lblMyAnswer->caption(), QString::fromLatin1(c.column)) << c.column;
        f.unload();
        form.reset();
    }
}

} // namespace
