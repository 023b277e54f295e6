#pragma once

#include "Deliverable.h"
#include "DlgMsg.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Timer.h"
#include "frame/SkinFrame.h"
#include "vb/Variant.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
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
    // The answers given to the open list, by their records' places (from
    // 1). The display and the marking read these, never the bank's `state`
    // column: a value found there that this list was not given (left by an
    // earlier session when the clearing could not be written, or written by
    // another program) is no answer. Each is written into the bank as well,
    // at once or, while the bank refuses, at a later answer.
    struct GivenAnswer {
        QString letters;
        vb::Variant bookmark; // of its record, for a later write
        bool saved = false;   // the bank holds it
    };
    std::map<int, GivenAnswer> GivenAnswers;

    // Controls.
    frame::SkinFrame* SkinFrame1 = nullptr;
    forms::Frame* Frame1 = nullptr;
    forms::Frame* FR0 = nullptr;
    forms::Frame* FR01 = nullptr;
    forms::Timer Timer1{QStringLiteral("Timer1")};
    forms::Frame* Fr4 = nullptr;
    forms::ControlArray<forms::PictureBox> optNum{QStringLiteral("optNum")};
    forms::Frame* Frame2 = nullptr;
    forms::ControlArray<forms::PictureBox> optE{QStringLiteral("optE")};
    forms::ControlArray<forms::Label> lbl{QStringLiteral("lbl")};
    forms::Frame* FrameBack = nullptr;
    forms::Image* imgTitlePic = nullptr;
    forms::ComboBox* cboJump = nullptr;
    forms::TextBox* txtCurrent = nullptr;
    forms::Image* imgDone = nullptr;
    forms::Image* imgCommit = nullptr;
    forms::Label* lblTime = nullptr;
    forms::Image* imgOK = nullptr;
    forms::Label* lblRightAnswer = nullptr;
    forms::Label* lblMyAnswer = nullptr;
    forms::Image* imgNext = nullptr;
    forms::Image* imgPre = nullptr;
    forms::ControlArray<forms::Image> imgAnswer{QStringLiteral("imgAnswer")};
    forms::Label* lblAnswer = nullptr;
    forms::Label* lblTitle = nullptr;
    forms::Label* lblAll = nullptr;
    forms::Image* imgErr = nullptr;
    forms::ControlArray<forms::Image> imgNav{QStringLiteral("imgNav")};
    forms::Image* imgBack = nullptr;
    forms::Frame* Fr1 = nullptr;
    forms::ControlArray<forms::CheckBox> chkChapter{QStringLiteral("chkChapter")};
    forms::Image* imgSelect = nullptr;

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
    // The panel of an empty list.
    void ShowNoQuestion();
    static QString SortAnswerLetters(const QString& text);
    // The right answer's digits 1 to 4 as the letters A to D, in place.
    static QString DigitsToLetters(const QString& digits);
    // DigitsToLetters, then sorted: the written form of the right answer.
    static QString AnswerLetters(const QString& digits);
    // The cells of the answer sheet: no paper runs past them.
    static constexpr int SheetCells = 100;
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
    // The window's design, panel by panel; each leaves its lists of
    // controls to be stacked once the whole window stands.
    using Stacks = std::vector<std::vector<forms::Control*>>;
    void buildControls();
    void buildQuestionPanel(Stacks& stacks);
    void buildAnswerSheet(Stacks& stacks);
    void buildAnswerControls();
    void buildQuestionTexts();
    void buildTabs(Stacks& stacks);
    void buildChapterPanel(Stacks& stacks);
    void wireEvents();
    db::Connection& conn();
    db::Recordset& rs();
    bool ExamLike() const { return Reviewing || Timer1.isEnabled(); }
    // Judges the answer buffer against the right answer on screen: the
    // letters' colour and the mark, brought to the front. True when right.
    bool MarkAnswer();
    // Gives the answer buffer to the current record and writes it into
    // its `state`; a refusal is told once per list.
    void StoreAnswer();
    // Writes into the bank what it refused before: the opening's clearing,
    // then the answers not yet saved. Stops at the first refusal, so a lock
    // costs one short wait per action. True when nothing is left.
    bool SaveAnswers();
    // The answer given to the current record in this list; empty when none.
    QString CurrentAnswer();
    // Whether the mode's opening left a list open.
    bool ListOpen() const { return Rs && Rs->isOpen(); }
    // Whether the list has a question on screen: moving, answering and
    // going to a number need one.
    bool QuestionOnScreen() const { return ListOpen() && Rs->recordCount() > 0; }
    // The end of a mode's opening: the panels of what it opened shown (the
    // list, the chapter panel over it, or the exam with its sheet), or, when
    // it left no list (the bank missing, foreign, locked, damaged, gone, or
    // unable to give the mode its questions), the tabs back and the learner
    // told which of the two. True when a list is shown.
    enum class Shown { Practice, ChapterPanel, ChapterList, Exam };
    bool EndOpening(Shown shown);
    // The list-opening sequence; the statement is made when the list opens.
    void OpenList(const std::function<QString()>& statement, bool recordBookmark = true);
    // The display's last part: the stored answer and, where due, the right
    // one with its mark; each step run through `run`.
    void ShowAnswers(const std::function<void(const std::function<void()>&)>& run);
    void PracticePreamble();
    void Step(bool forward);
    void QuestionPanelUp();
    // The chapter panel covers the question panel, whose controls then take
    // no input: nothing may read the list while it holds the chapter rows.
    void ChapterPanelUp();
    void ChapterPanelHidden();

    const Deliverable& deliverable_;
    std::unique_ptr<DlgMsg> dlgMsg_;
    bool answerUnsaved_ = false; // the learner was told this list keeps no answers
    bool clearPending_ = false;  // the opening's clearing was refused
};

} // namespace study
