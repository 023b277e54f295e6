#pragma once

#include "Deliverable.h"
#include "DlgMsg.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Timer.h"
#include "vb/Variant.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace study {

// The main window: the mode menu over the tabs of the background picture,
// the question panel, the exam panel with its answer sheet, the chapter
// panel, and the connection to the bank with the current question list.
class FormMain : public forms::Form {
public:
    explicit FormMain(const Deliverable& deliverable);
    ~FormMain() override;

    const Deliverable& deliverable() const { return deliverable_; }

    // Window state.
    std::unique_ptr<db::Connection> Conn; // created on first use
    std::unique_ptr<db::Recordset> Rs;
    vb::Variant CurBookmark;
    bool SuppressJump = false;
    std::int16_t ExamSeconds = 0;
    bool Reviewing = false;
    std::array<long, 100> QuestionColors{};

    // Controls.
    forms::Frame* SkinFrame1;
    forms::Frame* Frame1;
    forms::Frame* FR0;
    forms::Frame* FR01;
    forms::Timer Timer1{QStringLiteral("Timer1")};
    forms::Frame* Fr4;
    forms::ControlArray<forms::PictureBox> optNum{QStringLiteral("optNum")};
    forms::Frame* Frame2;
    forms::ControlArray<forms::PictureBox> optE{QStringLiteral("optE")};
    forms::ControlArray<forms::Label> lbl{QStringLiteral("lbl")};
    forms::Frame* FrameBack;
    forms::Image* imgTitlePic;
    forms::ComboBox* cboJump;
    forms::TextBox* txtCurrent;
    forms::Image* imgDone;
    forms::Image* imgCommit;
    forms::Label* lblTime;
    forms::Image* imgOK;
    forms::Label* lblRightAnswer;
    forms::Label* lblMyAnswer;
    forms::Image* imgNext;
    forms::Image* imgPre;
    forms::ControlArray<forms::Image> imgAnswer{QStringLiteral("imgAnswer")};
    forms::Label* lblAnswer;
    forms::Label* lblTitle;
    forms::Label* lblAll;
    forms::Image* imgErr;
    forms::ControlArray<forms::Image> imgNav{QStringLiteral("imgNav")};
    forms::Image* imgBack;
    forms::Frame* Fr1;
    forms::ControlArray<forms::CheckBox> chkChapter{QStringLiteral("chkChapter")};
    forms::Image* imgSelect;

    // Start-up, the mode menu, shutdown (FormMain.cpp).
    void Form_Load();
    void SetHandCursors();
    void imgNav_Click(std::int16_t Index);
    void Form_QueryUnload(int& Cancel, int UnloadMode);

    // Question lists and the display (FormMain.cpp).
    QString ConnString() const;
    // Has the engine open the bank on a worker thread, so that its key is
    // derived before the first click instead of inside it. Conn and Rs are
    // untouched: the first list opening still creates and opens them.
    void PrepareBank() const;
    void OpenSequentialSet(bool part2);
    void OpenErrorProneSet();
    void ShowQuestion();
    static QString SortAnswerLetters(const QString& text);
    // The right answer's digits 1 to 4 as the letters A to D, in place.
    static QString DigitsToLetters(const QString& digits);
    // DigitsToLetters, then sorted: the written form of the right answer.
    static QString AnswerLetters(const QString& digits);
    // The learner's answer in red: wrong, or given in a running exam.
    static constexpr long WrongColour = 0xFF;
    // A select of the ten columns of a question list; `rest` is the
    // condition and the order.
    static QString QuestionSelect(const QString& rest);
    // An option, a picture or a stored answer that is not there.
    static bool NullOrEmpty(const vb::Variant& v);

    // Chapter practice, random practice and the papers (FormMainPractice.cpp).
    void ChapterPracticeEntry(bool part2); // mode-menu entries 1 and 6
    void RandomPracticeEntry();            // entry 2
    void LoadChapterList(bool part2);
    void imgSelect_Click();
    void OpenRandomSet(bool paper);
    void OpenRandomSetPart2(bool paper);
    QString PickChapterIds(std::int16_t chapter, std::int16_t quota);
    QString PickChapterIdsNoMulti(std::int16_t chapter, std::int16_t quota);
    QString PickMultiIdsPart2();
    QString ShuffleIdList(const QString& idList);
    std::vector<QString> ShuffleArray(std::vector<QString>& items);

    // Answering and moving between questions (FormMainAnswering.cpp).
    void imgAnswer_Click(std::int16_t Index);
    void imgDone_Click();
    void DrawQuestionNumber(std::int16_t i);
    void optNum_Click(std::int16_t Index);
    void imgPre_Click();
    void imgNext_Click();
    void txtCurrent_KeyPress(std::int16_t& KeyAscii);
    void txtCurrent_Change();

    // The mock examination (FormMainExam.cpp).
    void ExamEntry(bool part2); // mode-menu entries 4 and 9
    void StartExam(bool part2);
    void Timer1_Timer();
    void imgCommit_Click();
    void ShowMessage(const QString& line1, const QString& line2);
    // The result dialog: one instance, made on first use and kept.
    DlgMsg& dlgMsg();

private:
    void buildControls();
    void wireEvents();
    db::Connection& conn();
    db::Recordset& rs();
    bool ExamLike() const { return Reviewing || Timer1.isEnabled(); }
    // Judges the answer buffer against the right answer on screen: the
    // letters' colour and the mark, brought to the front. True when right.
    bool MarkAnswer();
    // The list-opening sequence; the statement is made when the list opens.
    void OpenList(const std::function<QString()>& statement, bool recordBookmark = true);
    // Steps 11 and 12 of the display, each run through `run`.
    void ShowAnswers(const std::function<void(const std::function<void()>&)>& run);
    void PracticePreamble();
    void Step(bool forward);
    void QuestionPanelUp();

    const Deliverable& deliverable_;
    std::unique_ptr<DlgMsg> dlgMsg_;
};

} // namespace study
