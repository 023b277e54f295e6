#include "CpuTime.h"
#include "Fixture.h"
#include "RawBank.h"

#include <QImage>
#include <QWidget>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <optional>
#include <sys/stat.h>

using fixture::question;
using study::FormMain;

namespace {

const QString Unsaved = QStringLiteral("答案无法保存到题库文件！");

// The faults a learner's machine brings to the bank: read-only, locked by
// another program, missing, damaged, replaced, removed while the program
// runs. None may show or score an answer that was not given to the list on
// screen, hold the window, or leave a screen that claims a list.
class BankFault : public fixture::ExamWindow {
protected:
    // Penmaro's paper quotas exactly, every right answer B, and every
    // question answered B by an earlier session.
    std::vector<banks::QuestionRow> answeredPaperRows()
    {
        std::vector<banks::QuestionRow> rows = paperQuotaRows();
        for (auto& row : rows)
            row.state = QStringLiteral("B");
        return rows;
    }

    void handIn(FormMain& f)
    {
        results.clear();
        f.imgCommit_Click();
    }

    // What the learner was told, the hand-in's question aside.
    std::vector<QString> prompts() const
    {
        std::vector<QString> out;
        for (const auto& m : messages)
            if (m.prompt != QStringLiteral("你确定要交卷吗?"))
                out.push_back(m.prompt);
        return out;
    }
    static bool listOpen(const FormMain& f) { return f.Rs && f.Rs->isOpen(); }

    QImage shot() { return form->window()->grab().toImage(); }
};

// A second program holding a write transaction on the bank, until released.
class Lock {
public:
    explicit Lock(const QString& path) : raw_(path) { raw_.exec(QStringLiteral("BEGIN IMMEDIATE")); }
    void release()
    {
        if (held_)
            raw_.exec(QStringLiteral("COMMIT"));
        held_ = false;
    }
    ~Lock() { release(); }

private:
    rawbank::Raw raw_;
    bool held_ = true;
};

// An earlier session's answers stay in a bank that refuses the clearing: a
// trigger refusing every write (as a read-only file does), or a lock held by
// another program. Practice shows no answer and no mark for them, and a paper
// scores exactly the answers given to it.
TEST_F(BankFault, AnEarlierSessionsAnswersAreNoAnswers)
{
    for (const char* fault : {"refused", "locked"}) {
        SCOPED_TRACE(fault);
        writeBank(answeredPaperRows());
        const bool locked = QLatin1String(fault) == QLatin1String("locked");
        if (!locked)
            rawbank::Raw(bank).exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON shiti2012 BEGIN "
                                                   "SELECT RAISE(ABORT, 'attempt to write a readonly database'); END"));
        std::optional<Lock> lock;
        if (locked)
            lock.emplace(bank);
        messages.clear();
        FormMain& f = open();

        f.imgNav_Click(0);
        ASSERT_EQ(f.lblAll->caption(), QStringLiteral("100 题"));
        EXPECT_TRUE(f.lblTitle->caption().startsWith(QStringLiteral("1.")));
        EXPECT_FALSE(f.lblMyAnswer->isVisible());
        EXPECT_FALSE(f.imgOK->isVisible());
        EXPECT_FALSE(f.imgErr->isVisible());
        EXPECT_FALSE(f.lblRightAnswer->isVisible());
        f.imgNext_Click();
        EXPECT_FALSE(f.imgOK->isVisible());

        f.imgNav_Click(4);
        handIn(f);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].first, QStringLiteral("您的得分：0分！"));
        for (int i = 0; i < 100; ++i)
            EXPECT_EQ(f.QuestionColors[static_cast<std::size_t>(i)], 0xFEFDFF) << i;
        EXPECT_TRUE(prompts().empty());

        // The answers given to a paper count, saved or not; the learner is
        // told once that they cannot be saved.
        f.imgNav_Click(4);
        f.imgAnswer_Click(1); // right
        f.imgAnswer_Click(0); // wrong
        f.imgAnswer_Click(1); // right
        EXPECT_EQ(prompts(), std::vector<QString>{Unsaved});
        f.imgPre_Click();
        f.imgPre_Click();
        EXPECT_EQ(f.lblMyAnswer->caption(), QStringLiteral("A"));
        handIn(f);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].first, QStringLiteral("您的得分：2分！"));
        int right = 0, wrong = 0;
        for (int i = 0; i < 100; ++i) {
            right += f.QuestionColors[static_cast<std::size_t>(i)] == 0xFE7F80;
            wrong += f.QuestionColors[static_cast<std::size_t>(i)] == 0xFE;
        }
        EXPECT_EQ(right, 2);
        EXPECT_EQ(wrong, 1);
        f.unload();
        form.reset();
    }
}

// Another program holds a write transaction through a list's opening and
// three answers: no action waits on it for more than a quarter of a second
// beyond its own work, every answer is kept and counted, and all of it
// reaches the bank at the first answer after the lock is gone. The wait is
// the time an action spends off the processor, beyond what the same action
// spends there without the lock (the disk's own waits), so that neither a
// slower build nor a busy machine counts as waiting.
TEST_F(BankFault, ALockNeverHoldsTheWindowAndLosesNoAnswer)
{
    writeBank(answeredPaperRows());
    FormMain& f = open();
    f.imgNav_Click(4); // the bank's key is derived once, here
    cputime::OffProcessor t;
    // The same actions without a lock, for their own waits.
    t.start();
    f.imgNav_Click(4);
    const qint64 openFree = t.ms();
    t.start();
    f.imgAnswer_Click(1);
    const qint64 answerFree = t.ms();

    qint64 openLocked = 0, answerLocked = 0;
    {
        Lock lock(bank);
        t.start();
        f.imgNav_Click(4);
        openLocked = t.ms();
        ASSERT_TRUE(listOpen(f));
        for (int i = 0; i < 3; ++i) {
            t.start();
            f.imgAnswer_Click(i == 1 ? 0 : 1); // right, wrong, right
            answerLocked = std::max(answerLocked, t.ms());
        }
        EXPECT_EQ(prompts(), std::vector<QString>{Unsaved});
        EXPECT_EQ(f.Rs->absolutePosition(), 4);
    }
    std::cout << "[ figures  ] off the processor: paper opening " << openFree << " ms free, " << openLocked
              << " ms under a lock; answer " << answerFree << " ms free, " << answerLocked
              << " ms under a lock (longest of 3)\n";
    EXPECT_LE(openLocked - openFree, 250);
    EXPECT_LE(answerLocked - answerFree, 250);

    // Released: the next answer writes the clearing and all four answers.
    f.imgAnswer_Click(1);
    EXPECT_EQ(prompts().size(), 1u);
    std::map<QString, int> held;
    for (const QString& s : states())
        ++held[s];
    EXPECT_EQ(held, (std::map<QString, int>{{QString(), 96}, {QStringLiteral("A"), 1}, {QStringLiteral("B"), 3}}));
    handIn(f);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].first, QStringLiteral("您的得分：3分！"));
}

// A bank that cannot be opened is named once, at the mode click, and the
// window goes back to its tabs: no placeholder, no mark, no dead button.
// Brought back, the bank opens at the next click.
TEST_F(BankFault, ABankThatCannotBeOpenedIsNamedOnce)
{
    const std::vector<banks::QuestionRow> rows = {question(1, 1, "1"), question(2, 2, "1")};
    const std::vector<banks::QuestionRow> paper = paperQuotaRows("1", "1"); // a paper can be drawn from it
    struct Fault {
        const char* name;
        std::function<void()> make;
    };
    const Fault faults[] = {
        {"missing", [&] { QFile::remove(bank); }},
        {"random bytes",
         [&] {
             QFile f(bank);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             QByteArray bytes(8192, '\0');
             for (int i = 0; i < bytes.size(); ++i)
                 bytes[i] = static_cast<char>((i * 7919 + 13) % 251);
             f.write(bytes);
         }},
        {"empty file",
         [&] {
             QFile f(bank);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         }},
        {"wrong key", [&] { writeBank(rows, QStringLiteral("another.password")); }},
        {"damaged pages",
         [&] {
             writeBank(rows);
             QFile f(bank);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             const qint64 size = f.size();
             f.seek(1024);
             f.write(QByteArray(static_cast<int>(size - 1024), '\x5a'));
         }},
    };
    const std::int16_t tabs[] = {0, 1, 2, 3, 4};
    for (const Fault& fault : faults) {
        for (const std::int16_t tab : tabs) {
            SCOPED_TRACE(std::string(fault.name) + ", tab " + std::to_string(tab));
            fault.make();
            FormMain& f = open();
            const QImage before = shot();
            messages.clear();
            f.imgNav_Click(tab);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].prompt, QStringLiteral("题库文件 ") + folder + QStringLiteral("/in.dll 无法打开！"));
            EXPECT_FALSE(f.FR0->isVisible());
            EXPECT_FALSE(f.Timer1.isEnabled());
            EXPECT_TRUE(shot() == before) << "the window shows more than its tabs";

            writeBank(paper);
            messages.clear();
            f.imgNav_Click(tab);
            EXPECT_TRUE(messages.empty());
            EXPECT_TRUE(listOpen(f));
            EXPECT_TRUE(f.FR0->isVisible());
            f.unload();
            form.reset();
        }
    }
}

// A bank that opens but cannot give a mode its questions is not called
// unopenable: the learner is told that this bank has no questions for the
// mode, once, and the window goes back to its tabs. The other modes of the
// same bank work on.
TEST_F(BankFault, ABankThatOpenedButCannotGiveTheModeItsQuestionsSaysSo)
{
    const QString cannotGive = QStringLiteral("题库文件 ") + folder + QStringLiteral("/in.dll 无法提供本模式的题目！");
    struct Case {
        const char* name;
        std::function<void()> make;
        std::int16_t tab;
        std::int16_t workingTab; // a mode the same bank still serves
    };
    const Case cases[] = {
        {"no part-1 question: no paper",
         [&] {
             writeBank({question(1, 8), question(2, 9)});
         },
         4, 5},
        {"no zhangjie table",
         [&] {
             writeBank({question(1, 1), question(2, 2)});
             rawbank::Raw(bank).exec(QStringLiteral("DROP TABLE zhangjie"));
         },
         1, 0},
        {"no state column",
         [&] {
             writeBank({question(1, 1), question(2, 2)});
             rawbank::changeQuestionColumn(bank, QStringLiteral("state"));
         },
         0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        FormMain& f = open();
        const QImage before = shot();
        messages.clear();
        f.imgNav_Click(c.tab);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].prompt, cannotGive);
        EXPECT_FALSE(f.FR0->isVisible());
        EXPECT_FALSE(f.Timer1.isEnabled());
        EXPECT_TRUE(shot() == before) << "the window shows more than its tabs";
        messages.clear();
        f.imgNav_Click(c.workingTab);
        EXPECT_TRUE(messages.empty());
        EXPECT_TRUE(f.FR0->isVisible());
        f.unload();
        form.reset();
    }
}

// The bank is removed while a list is open: the answers go on being judged
// and kept, the learner is told once; the next mode click names the file.
TEST_F(BankFault, ABankRemovedWhileTheProgramRuns)
{
    writeBank({question(1, 1), question(2, 1), question(3, 1), question(4, 1)});
    FormMain& f = open();
    f.imgNav_Click(0);
    f.imgAnswer_Click(0); // right, moves on
    ASSERT_TRUE(QFile::remove(bank));
    f.imgAnswer_Click(0); // right, moves on
    f.imgAnswer_Click(2); // wrong, stays
    f.imgAnswer_Click(0); // right, moves on
    EXPECT_EQ(prompts(), std::vector<QString>{Unsaved});
    f.imgPre_Click();
    EXPECT_EQ(f.Rs->absolutePosition(), 3);
    EXPECT_TRUE(f.lblMyAnswer->isVisible());
    EXPECT_EQ(f.lblMyAnswer->caption(), QStringLiteral("A"));
    EXPECT_TRUE(f.imgOK->isVisible());
    f.imgPre_Click();
    EXPECT_EQ(f.lblMyAnswer->caption(), QStringLiteral("A"));
    EXPECT_TRUE(f.imgOK->isVisible());

    messages.clear();
    f.imgNav_Click(0);
    EXPECT_EQ(prompts(),
              std::vector<QString>{QStringLiteral("题库文件 ") + folder + QStringLiteral("/in.dll 无法打开！")});
    EXPECT_FALSE(f.FR0->isVisible());
    f.imgNav_Click(4);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_FALSE(f.Fr4->isVisible());
    EXPECT_FALSE(f.lblTime->isVisible());

    writeBank({question(1, 1), question(2, 1)});
    messages.clear();
    f.imgNav_Click(0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(f.lblAll->caption(), QStringLiteral("2 题"));
    EXPECT_TRUE(f.FR0->isVisible());
    EXPECT_FALSE(f.lblMyAnswer->isVisible());
}

// A bank copied over the one in use with its size and time stamp kept, as a
// restore from a backup does: the next opening reads the new bank.
TEST_F(BankFault, ABankReplacedWithTheSameSizeAndTimeIsReadAfresh)
{
    std::vector<banks::QuestionRow> rows = {question(1, 1), question(2, 1), question(3, 1)};
    writeBank(rows);
    FormMain& f = open();
    f.imgNav_Click(0);
    ASSERT_EQ(f.lblTitle->caption(), QStringLiteral("1.问题1"));

    for (auto& r : rows)
        r.question = r.question.toString().replace(QStringLiteral("问题"), QStringLiteral("试题"));
    const QString other = dir.filePath(QStringLiteral("other.dll"));
    banks::writeBank(other, QStringLiteral(BANK_PASSWORD), fixture::chapters(), rows);
    QFile source(other);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(bank).constData(), &st), 0);
    ASSERT_EQ(bytes.size(), st.st_size) << "the two banks must be of one size";
    {
        QFile target(bank); // written in place: the same file, as cp -p does
        ASSERT_TRUE(target.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(target.write(bytes), bytes.size());
    }
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(bank).constData(), times, 0), 0);
    struct stat now {};
    ASSERT_EQ(::stat(QFile::encodeName(bank).constData(), &now), 0);
    ASSERT_EQ(now.st_ino, st.st_ino);
    ASSERT_EQ(now.st_mtim.tv_nsec, st.st_mtim.tv_nsec);

    f.imgNav_Click(0);
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("1.试题1"));
    EXPECT_TRUE(messages.empty());
}

} // namespace
