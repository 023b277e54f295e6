#include "FormMain.h"

#include "forms/MsgBox.h"
#include "vb/Conversions.h"
#include "vb/Failure.h"

#include <algorithm>

namespace study {

namespace {

const QString ReviewClock = QStringLiteral("45:00");

QString letterOf(int index)
{
    return QString(QChar(QLatin1Char('A').unicode() + index));
}

} // namespace

// The answer sheet -------------------------------------------------------

void FormMain::DrawQuestionNumber(std::int16_t i)
{
    forms::PictureBox& cell = optNum(i);
    const QString number = QString::number(i + 1);
    cell.setForeColor(0);
    // About a third of the way in, whatever the number of digits.
    cell.currentX = (cell.width() - static_cast<float>(number.size())) / 3;
    cell.currentY = 0;
    cell.print(number);
}

// The cell of a question the learner moves away from: answered or not, or
// after a hand-in the colour the marking gave it. Colours always come from
// the legend's swatches.
static void leaveCell(FormMain& f, int k, bool wasUnanswered)
{
    forms::PictureBox& cell = f.optNum(k);
    cell.setBackColor(f.optE(wasUnanswered ? 0 : 2).backColor());
    if (f.lblTime->caption() == ReviewClock)
        cell.setBackColor(f.QuestionColors[static_cast<std::size_t>(k)]);
    f.DrawQuestionNumber(static_cast<std::int16_t>(k));
}

static void enterCell(FormMain& f, int k)
{
    f.optNum(k).setBackColor(f.optE(1).backColor());
    f.DrawQuestionNumber(static_cast<std::int16_t>(k));
}

// Moving -----------------------------------------------------------------

void FormMain::imgNext_Click()
{
    Step(true);
}

void FormMain::imgPre_Click()
{
    Step(false);
}

// One question on or back. Past either end the list moves back onto the
// end record and nothing is redrawn.
void FormMain::Step(bool forward)
{
    if (!QuestionOnScreen())
        return;
    db::Recordset& r = rs();
    const bool wasUnanswered = CurrentAnswer().isEmpty();
    if (forward) {
        r.moveNext();
        // A list of duplicated ids can run past the sheet: a paper ends at
        // its last cell.
        if (r.eof() || (ExamLike() && r.absolutePosition() > SheetCells)) {
            r.movePrevious();
            return;
        }
    } else {
        r.movePrevious();
        if (r.bof()) {
            r.moveFirst();
            return;
        }
    }
    if (ExamLike()) {
        CurBookmark = r.bookmark();
        const int a = r.absolutePosition() - 1;
        leaveCell(*this, forward ? a - 1 : a + 1, wasUnanswered);
        enterCell(*this, a);
    }
    ShowQuestion();
}

void FormMain::optNum_Click(std::int16_t Index)
{
    if (!QuestionOnScreen())
        return;
    db::Recordset& r = rs();
    // A cell behind the end of a short paper has no question: the one on
    // screen stays.
    if (Index < 0 || Index >= r.recordCount())
        return;
    r.setBookmark(CurBookmark);
    leaveCell(*this, r.absolutePosition() - 1, CurrentAnswer().isEmpty());
    r.moveFirst();
    for (int i = 0; i < Index; ++i)
        r.moveNext();
    enterCell(*this, Index);
    CurBookmark = r.bookmark();
    ShowQuestion();
}

void FormMain::txtCurrent_KeyPress(std::int16_t& KeyAscii)
{
    const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
    if (!digit && KeyAscii != 46 && KeyAscii != 13 && KeyAscii != 8)
        KeyAscii = 0;
}

void FormMain::txtCurrent_Change()
{
    // The display writes the number with SuppressJump set: no jump then.
    if (SuppressJump || !QuestionOnScreen())
        return;
    if (txtCurrent->text().isEmpty())
        txtCurrent->setText(QStringLiteral("1")); // jumps to question 1 at once, inside this write
    db::Recordset& r = rs();
    const int count = ExamLike() ? std::min(r.recordCount(), SheetCells) : r.recordCount();
    // A text no 16-bit number can be made of (".", "..", "40000") is out of
    // range like any other.
    int n = 0;
    const bool number = vb::skipOnFailure([&] { n = vb::toInteger(vb::textToDouble(txtCurrent->text())); });
    if (!number || n > count || n < 1) {
        forms::msgBox(QStringLiteral("题号无效!范围 1-") + QString::number(count));
        txtCurrent->setText(QStringLiteral("1"));
        return;
    }
    if (ExamLike())
        leaveCell(*this, r.absolutePosition() - 1, CurrentAnswer().isEmpty());
    r.moveFirst();
    for (int i = 1; i < n; ++i)
        r.moveNext();
    if (Timer1.isEnabled())
        enterCell(*this, n - 1);
    CurBookmark = r.bookmark();
    ShowQuestion();
}

// Answering --------------------------------------------------------------

namespace {
// Question types 1 and 3 take one letter; a Null type is neither.
bool singleAnswer(const vb::Variant& type)
{
    if (type.isNull())
        return false;
    const double t = type.toDouble();
    return t == 1 || t == 3;
}
} // namespace

void FormMain::imgAnswer_Click(std::int16_t Index)
{
    if (!QuestionOnScreen())
        return;
    db::Recordset& r = rs();
    const QString letter = letterOf(Index);
    lblMyAnswer->setVisible(true);
    if (!singleAnswer(r.value(QStringLiteral("txbz")))) {
        // Several letters: toggled here, stored by the confirm button.
        QString mine = lblMyAnswer->caption();
        if (mine.contains(letter))
            mine.remove(letter);
        else
            mine += letter;
        lblMyAnswer->setCaption(SortAnswerLetters(mine));
        return;
    }
    lblMyAnswer->setCaption(letter);
    StoreAnswer();
    if (ExamLike()) {
        CurBookmark = r.bookmark();
        if (cboJump->listIndex() == 0)
            imgNext_Click();
        return;
    }
    lblRightAnswer->setVisible(true);
    const vb::Variant ans = r.value(QStringLiteral("ans"));
    double digit = 0;
    if (!ans.isNull() && vb::skipOnFailure([&] { digit = ans.toDouble(); })
        && (digit == 1 || digit == 2 || digit == 3 || digit == 4))
        lblRightAnswer->setCaption(letterOf(static_cast<int>(digit) - 1));
    if (MarkAnswer() && cboJump->listIndex() == 0)
        imgNext_Click();
}

void FormMain::StoreAnswer()
{
    db::Recordset& r = rs();
    vb::Variant bookmark = r.bookmark(); // fails without a current record
    GivenAnswers[r.absolutePosition()] = {lblMyAnswer->caption(), std::move(bookmark), false};
    // A bank that cannot be written (read-only, locked, gone) keeps nothing:
    // the learner is told once per list and goes on, the answers kept here.
    if (SaveAnswers() || answerUnsaved_)
        return;
    answerUnsaved_ = true;
    forms::msgBox(QStringLiteral("答案无法保存到题库文件！"));
}

bool FormMain::SaveAnswers()
{
    if (clearPending_) {
        if (!vb::skipOnFailure([&] { conn().execute(QStringLiteral("update shiti2012 set state=''")); }))
            return false;
        clearPending_ = false;
        for (auto& [place, given] : GivenAnswers)
            given.saved = false;
    }
    db::Recordset& r = rs();
    const vb::Variant here = r.bookmark();
    bool saved = true;
    for (auto& [place, given] : GivenAnswers) {
        if (given.saved)
            continue;
        saved = vb::skipOnFailure([&] {
            r.setBookmark(given.bookmark);
            r.setValue(QStringLiteral("state"), given.letters);
        });
        if (!saved)
            break;
        given.saved = true;
    }
    r.setBookmark(here);
    return saved;
}

QString FormMain::CurrentAnswer()
{
    const auto found = GivenAnswers.find(rs().absolutePosition());
    return found == GivenAnswers.end() ? QString() : found->second.letters;
}

bool FormMain::MarkAnswer()
{
    // The mark shown last lies on top of the other, in the same place, and
    // covers it: the other is hidden, since the pictures are transparent
    // (a letter of a long answer shows through them).
    const bool right = lblMyAnswer->caption() == lblRightAnswer->caption();
    lblMyAnswer->setForeColor(right ? lblRightAnswer->foreColor() : WrongColour);
    forms::Image* mark = right ? imgOK : imgErr;
    (right ? imgErr : imgOK)->setVisible(false);
    mark->setVisible(true);
    mark->zOrder(0);
    return right;
}

void FormMain::imgDone_Click()
{
    if (!QuestionOnScreen())
        return;
    db::Recordset& r = rs();
    if (Timer1.isEnabled()) {
        StoreAnswer();
        if (cboJump->listIndex() == 0)
            imgNext_Click();
        return;
    }
    lblRightAnswer->setVisible(true);
    lblRightAnswer->setCaption(AnswerLetters(r.value(QStringLiteral("ans")).toStringOrEmpty()));
    StoreAnswer();
    if (MarkAnswer() && cboJump->listIndex() == 0)
        imgNext_Click();
}

} // namespace study
