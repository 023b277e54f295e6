#include "FormMain.h"

#include "forms/MsgBox.h"
#include "forms/Picture.h"
#include "vb/Failure.h"

namespace study {

using vb::skipOnFailure;

namespace {
constexpr int ExamLength = 2700; // ticks of one second
} // namespace

void FormMain::ExamEntry(bool part2)
{
    // The exam entries leave Reviewing as it is.
    ExamSeconds = 0;
    lblTime->setVisible(true);
    imgCommit->setVisible(true);
    Timer1.setEnabled(true);
    StartExam(part2);
    // Duplicated ids can give more rows than the sheet has cells; the paper
    // is its first hundred.
    if (ListOpen() && Rs->recordCount() > SheetCells)
        lblAll->setCaption(QString::number(SheetCells) + QStringLiteral(" 题"));
    if (!EndOpening(Shown::Exam))
        return; // no paper could be opened: nothing is sat
    optNum(0).setBackColor(optE(1).backColor());
    DrawQuestionNumber(0);
    skipOnFailure([&] { CurBookmark = Rs->bookmark(); }); // an empty paper has none
}

void FormMain::StartExam(bool part2)
{
    skipOnFailure([&] { rs().close(); });
    skipOnFailure([&] { conn().close(); });
    skipOnFailure([&] {
        if (part2)
            OpenRandomSetPart2(true);
        else
            OpenRandomSet(true);
    });
    // The sheet: 4 rows of 25 cells with cell 0's size as the pitch; cells
    // of an earlier exam are reused.
    for (int c = 1; c <= 99; ++c) {
        skipOnFailure([&] { optNum.load(c); });
        skipOnFailure([&] {
            forms::PictureBox& cell = optNum(c);
            if (c % 25 != 0) {
                cell.setLeft(optNum(c - 1).left() + optNum(0).width());
                cell.setTop(optNum(c - c % 25).top());
            } else {
                cell.setLeft(optNum(c - 25).left());
                cell.setTop(optNum(c - 25).top() + optNum(0).height());
            }
        });
        skipOnFailure([&] { optNum(c).setBackColor(optE(0).backColor()); });
        skipOnFailure([&] {
            optNum(c).setMousePointer(99);
            optNum(c).setMouseIcon(forms::resourceCursor(101));
        });
        skipOnFailure([&] { optNum(c).setVisible(true); });
        skipOnFailure([&] { DrawQuestionNumber(static_cast<std::int16_t>(c)); });
    }
}

void FormMain::Timer1_Timer()
{
    ExamSeconds = static_cast<std::int16_t>(ExamSeconds + 1);
    if (ExamSeconds < ExamLength) {
        const int r = ExamLength - ExamSeconds;
        lblTime->setCaption(
            QStringLiteral("%1:%2").arg(r / 60, 2, 10, QLatin1Char('0')).arg(r % 60, 2, 10, QLatin1Char('0')));
        return;
    }
    Timer1.setEnabled(false);
    forms::msgBox(QStringLiteral("考试时间到!"));
}

void FormMain::imgCommit_Click()
{
    if (forms::msgBox(QStringLiteral("你确定要交卷吗?"), forms::vbYesNo, QStringLiteral("交卷")) != forms::vbYes)
        return;
    imgCommit->setVisible(false);
    lblTime->setVisible(false);
    Timer1.setEnabled(false);
    lblTime->setCaption(QStringLiteral("45:00"));

    int score = 0;
    if (Rs && Rs->isOpen() && Rs->recordCount() > 0) {
        db::Recordset& r = *Rs;
        r.moveFirst();
        // The paper ends at the sheet's last cell, however many rows its ids
        // gave; a question that cannot be read counts as not answered.
        for (; !r.eof() && r.absolutePosition() <= SheetCells; r.moveNext()) {
            const int k = r.absolutePosition() - 1;
            optNum(k).setBackColor(optE(0).backColor());
            skipOnFailure([&] {
                // The right letters in the order of the digits, unsorted: a
                // stored answer is always sorted, so "431" is never matched.
                const QString right = DigitsToLetters(r.value(QStringLiteral("ans")).toStringOrEmpty());
                // Only the answers given to this paper count.
                const QString state = CurrentAnswer();
                // No answer is ever right, not even against an empty right
                // answer.
                if (state.isEmpty())
                    return;
                const bool isRight = state == right;
                optNum(k).setBackColor(optE(isRight ? 3 : 4).backColor());
                score += isRight;
            });
            DrawQuestionNumber(static_cast<std::int16_t>(k));
        }
        for (int i = 0; i <= 99; ++i)
            QuestionColors[static_cast<std::size_t>(i)] = optNum(i).backColor();
        // Whatever the first question holds, the score is shown and the
        // review begins.
        skipOnFailure([&] { optNum_Click(0); });
        skipOnFailure([&] { CurBookmark = r.bookmark(); });
    }
    ShowMessage(QStringLiteral("您的得分：") + QString::number(score) + QStringLiteral("分！"),
                score >= 90 ? QStringLiteral("祝贺您通过考试！") : QStringLiteral("未能通过考试,还需多多练习"));
    Reviewing = true;
}

DlgMsg& FormMain::dlgMsg()
{
    if (!dlgMsg_)
        dlgMsg_ = std::make_unique<DlgMsg>();
    return *dlgMsg_;
}

void FormMain::ShowMessage(const QString& line1, const QString& line2)
{
    DlgMsg& d = dlgMsg();
    d.str1 = line1;
    d.str2 = line2;
    d.showModal();
}

} // namespace study
