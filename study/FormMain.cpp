#include "FormMain.h"
#include "TextFit.h"

#include "forms/MsgBox.h"
#include "forms/Picture.h"
#include "forms/Runtime.h"
#include "vb/Conversions.h"
#include "vb/Failure.h"
#include "vb/Paths.h"

#include <QDir>
#include <QWidget>

namespace study {

using forms::font;
using vb::skipOnFailure;

namespace {

const QString Tahoma = QStringLiteral("Tahoma");
constexpr double WindowFontSize = 14.25;

// "Object variable not set": what using a never-created object gives.
[[noreturn]] void objectNotSet()
{
    vb::raise(vb::err::ObjectNotSet);
}

// What the display lays out of one text of the bank: a hostile bank's
// megabyte of text would stall the window for seconds at every move.
constexpr int MaxShownText = 1000;

QString shownText(const QString& text)
{
    if (text.size() <= MaxShownText)
        return text;
    const int keep = text[MaxShownText - 1].isHighSurrogate() ? MaxShownText - 1 : MaxShownText;
    return text.left(keep) + QStringLiteral("…");
}

// The picture file of a question. The bank's value is joined to the
// folder's name, so "..\" in it could reach any file on the disk: a path
// that leaves the program's folder is a missing picture.
QString picturePath(const QString& bmp)
{
    const QString folder = QDir::cleanPath(vb::nativePath(forms::appPath()));
    const QString path = QDir::cleanPath(vb::nativePath(forms::appPath() + QStringLiteral("\\testimages") + bmp));
    if (path.contains(QChar(0)) || !path.startsWith(folder + QLatin1Char('/')))
        vb::raise(vb::err::FileNotFound);
    return path;
}

template <class T>
T* place(T* control, float left, float top, float width, float height)
{
    control->move(left, top, width, height);
    return control;
}

} // namespace

FormMain::FormMain(const Deliverable& deliverable) : deliverable_(deliverable)
{
    setCaption(QString());
    setIcon(forms::resourceIcon(QStringLiteral(":/icon.svg"), {128, 64, 48, 32, 16}));
    setClientSize(14895, 10050);
    // Stored without a system frame: SkinFrame1 draws the title and the
    // border. It is movable by its title and keeps no taskbar entry.
    setBorderStyle(0);
    setShowInTaskbar(false);
    window()->setFont(font(Tahoma, WindowFontSize));
    buildControls();
    wireEvents();
}

void FormMain::wireEvents()
{
    onLoad = [this] { Form_Load(); };
    onQueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
    imgNav.onClick = [this](int index) { imgNav_Click(static_cast<std::int16_t>(index)); };
    imgAnswer.onClick = [this](int index) { imgAnswer_Click(static_cast<std::int16_t>(index)); };
    optNum.onClick = [this](int index) { optNum_Click(static_cast<std::int16_t>(index)); };
    imgDone->onClick = [this] { imgDone_Click(); };
    imgPre->onClick = [this] { imgPre_Click(); };
    imgNext->onClick = [this] { imgNext_Click(); };
    imgCommit->onClick = [this] { imgCommit_Click(); };
    imgSelect->onClick = [this] { imgSelect_Click(); };
    txtCurrent->onChange = [this] { txtCurrent_Change(); };
    txtCurrent->onKeyPress = [this](int& key) {
        std::int16_t k = static_cast<std::int16_t>(key);
        txtCurrent_KeyPress(k);
        key = k;
    };
    Timer1.onTimer = [this] { Timer1_Timer(); };
}

FormMain::~FormMain()
{
    // Closed at once after start-up, the window may go while the bank it
    // asked for is still being prepared: that worker must end before the
    // program does and its libraries are torn down under it.
    db::endPreparations();
}

// Within a container the first control listed lies on top: each list is
// stacked once the whole window is built.
void FormMain::buildControls()
{
    using namespace forms;
    Stacks stacks;
    SkinFrame1 = place(new frame::SkinFrame(*this, nullptr, QStringLiteral("SkinFrame1")), 0, 0, 14895, 10050);
    SkinFrame1->setAlign(1);
    SkinFrame1->storedProperties() = {
        {QStringLiteral("themecolor"), 3},     {QStringLiteral("style"), 3},
        {QStringLiteral("closebutton"), true}, {QStringLiteral("custombackcolor"), 0xD8E9EC},
        {QStringLiteral("_extentx"), 26273},   {QStringLiteral("_extenty"), 17727}};
    Frame1 = place(new Frame(*this, SkinFrame1, QStringLiteral("Frame1")), 60, 540, 14700, 9400);

    buildQuestionPanel(stacks);
    buildTabs(stacks);
    buildChapterPanel(stacks);
    stacks.push_back({Frame1, Fr1});

    for (const auto& list : stacks)
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            (*it)->zOrder(0);
}

namespace {
// An image of the question panel, with its picture when it has one.
forms::Image* panelImage(forms::Form& form, forms::Control* panel, const char* name, const char* picture, float l,
                         float t, float w, float h)
{
    auto* img = new forms::Image(form, panel, QString::fromLatin1(name));
    img->move(l, t, w, h);
    if (picture)
        img->setPicture(forms::resourcePicture(QString::fromLatin1(picture)));
    return img;
}
} // namespace

// The question panel: the question with its picture, the go-to box, the
// answer buttons, the learner's and the right answer with the marks, the
// moves, and the answer sheet below.
void FormMain::buildQuestionPanel(Stacks& stacks)
{
    using namespace forms;
    FR0 = place(new Frame(*this, Frame1, QStringLiteral("FR0")), 160, 1440, 14400, 7890);
    FR0->setVisible(false);
    FR01 = place(new Frame(*this, FR0, QStringLiteral("FR01")), 50, 50, 14300, 7800);
    FR01->setBorderStyle(1);
    FR01->setCaption(QStringLiteral("考试题目"));
    FR01->setForeColor(deliverable_.questionCaptionColour);
    FR01->setFont(font(Tahoma, 10.5, true));
    Timer1.setInterval(1000);
    Timer1.setEnabled(false);

    buildAnswerSheet(stacks);

    FrameBack = place(new Frame(*this, FR01, QStringLiteral("FrameBack")), 6480, 1620, 7515, 3300);
    imgTitlePic = place(new Image(*this, FrameBack, QStringLiteral("imgTitlePic")), 0, 0, 7515, 3300);

    // A drop-down list's height follows its font: placed once it has it.
    cboJump = new ComboBox(*this, FR01, QStringLiteral("cboJump"));
    cboJump->setFont(font(Tahoma, 9.75, true));
    cboJump->addItem(QStringLiteral("自动"));
    cboJump->addItem(QStringLiteral("手动"));
    cboJump->move(240, 5450, 885, 360);

    txtCurrent = place(new TextBox(*this, FR01, QStringLiteral("txtCurrent")), 12240, 420, 795, 375);
    txtCurrent->setFont(font(Tahoma, 12, true));
    txtCurrent->setAlignment(2);
    txtCurrent->setText(QStringLiteral("0"));

    buildAnswerControls();
    buildQuestionTexts();

    // The right answer's letters run into the picture area when there are
    // three or four of them: they lie over it, so none is cut.
    std::vector<Control*> fr01 = {Fr4,       lblRightAnswer, FrameBack, cboJump,     txtCurrent, imgDone,
                                  imgCommit, lblTime,        imgOK,     lblMyAnswer, imgNext,    imgPre};
    for (int i = 3; i >= 0; --i)
        fr01.push_back(&imgAnswer(i));
    fr01.insert(fr01.end(), {&lbl(3), &lbl(2), lblAnswer, lblTitle, &lbl(1), lblAll, &lbl(0), imgErr});
    stacks.push_back(std::move(fr01));
}

// The answer sheet of the exam: cell 0 of the 100 (the others are loaded
// when an exam starts) and the legend of its five colours.
void FormMain::buildAnswerSheet(Stacks& stacks)
{
    using namespace forms;
    Fr4 = place(new Frame(*this, FR01, QStringLiteral("Fr4")), 120, 6100, 14055, 1515);
    Fr4->setVisible(false);
    auto& cell0 = optNum.add(new PictureBox(*this, Fr4, QStringLiteral("optNum"), 0));
    cell0.move(120, 30, 550, 270);
    cell0.setBackColor(WindowBackground);
    cell0.setForeColor(WindowText);
    cell0.setFont(font(Tahoma, 8.25));
    Frame2 = place(new Frame(*this, Fr4, QStringLiteral("Frame2")), 0, 1200, 8175, 345);
    Frame2->setEnabled(false);
    stacks.push_back({&cell0, Frame2});

    std::vector<Control*> legend;
    const float swatchLeft[] = {150, 1560, 3210, 4800, 6510};
    for (int i = 4; i >= 0; --i) {
        auto& swatch = optE.add(new PictureBox(*this, Frame2, QStringLiteral("optE"), i));
        swatch.move(swatchLeft[i], 30, 480, 270);
        legend.push_back(&swatch);
    }
    struct LegendLabel {
        int index;
        float left, width;
        const char* caption;
    };
    const LegendLabel labels[] = {{8, 690, 540, "未答题"},
                                  {7, 2100, 720, "当前答题"},
                                  {6, 3750, 540, "已答题"},
                                  {5, 5340, 720, "回答正确"},
                                  {4, 7080, 720, "回答错误"}};
    for (const LegendLabel& l : labels) {
        auto& label = lbl.add(new Label(*this, Frame2, QStringLiteral("lbl"), l.index));
        label.move(l.left, 68, l.width, 195);
        label.setFont(font(Tahoma, 8.25));
        label.setAutoSize(true);
        label.setCaption(QString::fromUtf8(l.caption));
        legend.push_back(&label);
    }
    stacks.push_back(std::move(legend));
}

// The confirm and hand-in buttons, the clock, the marks, the learner's and
// the right answer, the moves and the four answer buttons.
void FormMain::buildAnswerControls()
{
    using namespace forms;
    imgDone = new Image(*this, FR01, QStringLiteral("imgDone"));
    imgDone->setStretch(true);
    imgDone->move(11520, 5000, 1230, 480);
    imgDone->setPicture(resourcePicture(QStringLiteral(":/btn_done.rgb32")));
    imgDone->setVisible(false);
    imgCommit = panelImage(*this, FR01, "imgCommit", ":/btn_commit.rgb32", 10920, 5595, 900, 345);

    lblTime = place(new Label(*this, FR01, QStringLiteral("lblTime")), 7320, 480, 900, 375);
    lblTime->setForeColor(WrongColour);
    lblTime->setFont(font(Tahoma, 15.75, true));
    lblTime->setAutoSize(true);
    lblTime->setCaption(QStringLiteral("45:00"));
    lblTime->setVisible(false);

    imgOK = panelImage(*this, FR01, "imgOK", ":/tick.rgb32", 2670, 4900, 270, 270);

    lblRightAnswer = place(new Label(*this, FR01, QStringLiteral("lblRightAnswer")), 5880, 4755, 300, 525);
    lblRightAnswer->setForeColor(0x8000);
    lblRightAnswer->setFont(font(Tahoma, 21.75, true));
    lblRightAnswer->setAutoSize(true);
    lblRightAnswer->setCaption(QStringLiteral("A"));

    lblMyAnswer = place(new Label(*this, FR01, QStringLiteral("lblMyAnswer")), 1800, 4700, 330, 585);
    lblMyAnswer->setForeColor(WrongColour);
    lblMyAnswer->setFont(font(Tahoma, 24, true));
    lblMyAnswer->setAutoSize(true);
    lblMyAnswer->setCaption(QStringLiteral("A"));

    imgNext = panelImage(*this, FR01, "imgNext", ":/btn_next.rgb32", 9720, 5600, 900, 345);
    imgPre = panelImage(*this, FR01, "imgPre", ":/btn_prev.rgb32", 8520, 5600, 900, 345);

    const float answerLeft[] = {8520, 9240, 9960, 10680};
    const char* const answerPicture[] = {":/btn_a.rgb32", ":/btn_b.rgb32", ":/btn_c.rgb32", ":/btn_d.rgb32"};
    for (int i = 3; i >= 0; --i) {
        auto& b = imgAnswer.add(new Image(*this, FR01, QStringLiteral("imgAnswer"), i));
        b.move(answerLeft[i], 5000, 450, 450);
        b.setPicture(resourcePicture(QString::fromLatin1(answerPicture[i])));
    }
}

// The texts of the question panel: the question and its options, the count,
// the go-to box's words, the answer line, and the cross.
void FormMain::buildQuestionTexts()
{
    using namespace forms;
    auto label = [&](int index, float l, float t, float w, float h, const QString& caption, const QFont& f,
                     bool sized) {
        auto& x = lbl.add(new Label(*this, FR01, QStringLiteral("lbl"), index));
        x.move(l, t, w, h);
        x.setFont(f);
        x.setAutoSize(sized);
        x.setCaption(caption);
    };
    label(3, 1260, 5500, 1350, 240, QStringLiteral("跳转到下一题"), font(Tahoma, 9.75), true);
    label(2, 255, 4950, 5505, 345, QStringLiteral("您的答案:______________       正确答案是:"),
          font(Tahoma, WindowFontSize), true);

    lblAnswer =
        place(new Label(*this, FR01, QStringLiteral("lblAnswer")), 255, 1920, OptionsLabel.width, OptionsLabel.height);
    lblAnswer->setFont(OptionsLabel.font());
    lblAnswer->setCaption(QStringLiteral("答案"));
    lblTitle = place(new Label(*this, FR01, QStringLiteral("lblTitle")), 255, 930, TitleLabel.width, TitleLabel.height);
    lblTitle->setFont(TitleLabel.font());
    lblTitle->setCaption(QStringLiteral("题目"));

    label(1, 11400, 480, 2310, 480, QStringLiteral("转到第") + QString(16, QLatin1Char(' ')) + QStringLiteral("题"),
          font(Tahoma, 12), false);

    lblAll = place(new Label(*this, FR01, QStringLiteral("lblAll")), 960, 480, 660, 345);
    lblAll->setFont(font(Tahoma, 14.25, true));
    lblAll->setAutoSize(true);
    lblAll->setCaption(QStringLiteral("xxxx"));
    label(0, 240, 480, 570, 345, QStringLiteral("共计"), font(Tahoma, WindowFontSize), true);

    imgErr = panelImage(*this, FR01, "imgErr", ":/cross.rgb32", 2670, 4900, 270, 270);
}

// The tabs: the five hot spots of the background picture (and the five of
// the hidden part-2 modes) over the picture itself, the question panel on top.
void FormMain::buildTabs(Stacks& stacks)
{
    using namespace forms;
    std::vector<Control*> frame1 = {FR0};
    const float partTwoTop[] = {5650, 6330, 7030, 7730, 8400}; // entries 5 to 9
    for (int i = 9; i >= 5; --i) {
        auto& spot = imgNav.add(new Image(*this, Frame1, QStringLiteral("imgNav"), i));
        spot.move(370, partTwoTop[i - 5], 2055, 555);
        spot.setVisible(false);
        frame1.push_back(&spot);
    }
    const float tabLeft[] = {190, deliverable_.secondTabLeft, 5970, 8850, 11750};
    for (int i = 4; i >= 0; --i) {
        auto& spot = imgNav.add(new Image(*this, Frame1, QStringLiteral("imgNav"), i));
        spot.move(tabLeft[i], 850, 2730, 555);
        frame1.push_back(&spot);
    }
    imgBack = new Image(*this, Frame1, QStringLiteral("imgBack"));
    imgBack->move(0, 0, 14685, 9375);
    imgBack->setPicture(resourcePicture(deliverable_.background));
    frame1.push_back(imgBack);
    stacks.push_back(std::move(frame1));
}

// The chapter panel: box 0 of the chapter boxes (the others are loaded with
// the chapters) and the select button.
void FormMain::buildChapterPanel(Stacks& stacks)
{
    using namespace forms;
    Fr1 = place(new Frame(*this, SkinFrame1, QStringLiteral("Fr1")), 500, 2400, 13855, 7250);
    Fr1->setCaption(QStringLiteral("章节练习"));
    Fr1->setFont(font(Tahoma, 15.75));
    auto& box0 = chkChapter.add(new CheckBox(*this, Fr1, QStringLiteral("chkChapter"), 0));
    box0.move(10, 600, 8235, 405);
    box0.setCaption(QStringLiteral("章节"));
    box0.setBackColor(0xFFFFFF);
    box0.setFont(font(Tahoma, 9.75));
    imgSelect = new Image(*this, Fr1, QStringLiteral("imgSelect"));
    imgSelect->move(8300, 1000, 1275, 420);
    imgSelect->setPicture(resourcePicture(QStringLiteral(":/btn_select.rgb32")));
    stacks.push_back({&box0, imgSelect});
}

// Start-up and shutdown -------------------------------------------------

void FormMain::Form_Load()
{
    SetHandCursors();
    cboJump->setListIndex(0);
    optNum(0).setBackColor(0xFEFDFF);
    const long legend[] = {0xFEFDFF, 0x42BE, 0x84BFFE, 0xFE7F80, 0xFE};
    for (int i = 0; i <= 4; ++i)
        optE(i).setBackColor(legend[i]);
    QuestionColors.fill(0xFEFDFF);
}

void FormMain::SetHandCursors()
{
    std::vector<forms::Control*> clickable;
    for (int i = 0; i <= 9; ++i)
        clickable.push_back(&imgNav(i));
    for (int i = 0; i <= 3; ++i)
        clickable.push_back(&imgAnswer(i));
    clickable.insert(clickable.end(), {imgPre, imgNext, imgDone, imgCommit, imgSelect, &optNum(0)});
    for (forms::Control* c : clickable) {
        c->setMousePointer(99);
        c->setMouseIcon(forms::resourceCursor(101));
    }
}

void FormMain::Form_QueryUnload(int&, int)
{
    // The first step that fails ends the shutdown; the window closes anyway.
    vb::skipOnFailure([&] {
        rs().close();
        conn().close();
        Rs.reset();
        Conn.reset();
        for (int i = 1; i <= 99; ++i)
            optNum.unload(i);
    });
}

// The mode menu ---------------------------------------------------------

void FormMain::PracticePreamble()
{
    Timer1.setEnabled(false);
    lblTime->setVisible(false);
    imgCommit->setVisible(false);
}

void FormMain::QuestionPanelUp()
{
    FR0->zOrder(0);
    FR0->setVisible(true);
}

void FormMain::ChapterPanelUp()
{
    Fr1->zOrder(0);
    Fr1->setVisible(true);
    FR0->setEnabled(false);
}

void FormMain::ChapterPanelHidden()
{
    Fr1->setVisible(false);
    FR0->setEnabled(true);
}

void FormMain::imgNav_Click(std::int16_t Index)
{
    if (Reviewing && Index != 4 && Index != 9)
        Reviewing = false;
    switch (Index) {
    case 0:
    case 5:
        PracticePreamble();
        OpenSequentialSet(Index == 5);
        EndOpening(Shown::Practice);
        break;
    case 1:
    case 6: ChapterPracticeEntry(Index == 6); break;
    case 2: RandomPracticeEntry(); break;
    case 4:
    case 9: ExamEntry(Index == 9); break;
    case 3:
        PracticePreamble();
        OpenErrorProneSet();
        EndOpening(Shown::Practice);
        break;
    case 7: forms::msgBox(QStringLiteral("2013年科目一考试已取消动画！")); break;
    case 8: forms::msgBox(QStringLiteral("2013年科目一考试已取消多选！")); break;
    default: break;
    }
}

// Question lists --------------------------------------------------------

db::Connection& FormMain::conn()
{
    if (!Conn)
        Conn = std::make_unique<db::Connection>();
    return *Conn;
}

db::Recordset& FormMain::rs()
{
    if (!Rs)
        objectNotSet();
    return *Rs;
}

QString FormMain::ConnString() const
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + forms::appPath()
        + deliverable_.bankLiteral;
}

void FormMain::PrepareBank() const
{
    db::prepareConnection(ConnString());
}

bool FormMain::EndOpening(Shown shown)
{
    if (!ListOpen()) {
        // Nothing on screen may claim a list, and no button may wait for
        // one: the clock stops, the panels go, and the tabs are there to try
        // again. The learner is told what is true: the file did not open, or
        // it opened and cannot give this mode its questions (no paper can be
        // drawn from it, or it lacks a table or column the mode reads).
        const bool readable = Conn && Conn->readsWhole();
        PracticePreamble();
        ChapterPanelHidden();
        Fr4->setVisible(false);
        FR0->setVisible(false);
        QString file = ConnString().section(QStringLiteral("Data Source="), 1);
        file = vb::nativePath(file.left(file.indexOf(QLatin1Char(';'))));
        forms::msgBox(QStringLiteral("题库文件 ") + file
                      + (readable ? QStringLiteral(" 无法提供本模式的题目！") : QStringLiteral(" 无法打开！")));
        return false;
    }
    if (shown == Shown::ChapterPanel)
        ChapterPanelUp();
    else
        ChapterPanelHidden();
    if (shown == Shown::ChapterList)
        return true;
    QuestionPanelUp();
    Fr4->setVisible(shown == Shown::Exam);
    return true;
}

void FormMain::OpenList(const std::function<QString()>& statement, bool recordBookmark)
{
    // Every step runs whatever happened to the one before.
    skipOnFailure([&] { rs().close(); });
    skipOnFailure([&] { conn().close(); });
    skipOnFailure([&] { conn().setConnectionString(ConnString()); });
    skipOnFailure([&] { conn().open(); });
    // A bank that refuses the clearing (read-only, locked, gone) keeps an
    // earlier session's answers: they are never read as this list's, and
    // the clearing is tried again before the next answer is written.
    clearPending_ = !skipOnFailure([&] { conn().execute(QStringLiteral("update shiti2012 set state=''")); });
    skipOnFailure([&] { Rs = std::make_unique<db::Recordset>(); });
    GivenAnswers.clear();
    answerUnsaved_ = false;
    skipOnFailure([&] { rs().open(statement(), conn(), db::CursorType::Keyset, db::LockType::Optimistic); });
    skipOnFailure([&] { lblAll->setCaption(QString::number(rs().recordCount()) + QStringLiteral(" 题")); });
    skipOnFailure([&] {
        if (!rs().eof())
            ShowQuestion();
        else
            ShowNoQuestion();
    });
    if (recordBookmark)
        skipOnFailure([&] { CurBookmark = rs().bookmark(); });
}

void FormMain::OpenSequentialSet(bool part2)
{
    const QString condition = part2 ? QStringLiteral("zhangjie>=8 and zhangjie<=14") : QStringLiteral("zhangjie<=7");
    OpenList([&] { return QuestionSelect(condition + QStringLiteral(" order by id asc")); });
}

void FormMain::OpenErrorProneSet()
{
    OpenList([] { return QuestionSelect(QStringLiteral("zhangjie<=7 and ycbz='1' order by id asc")); });
}

// The question on screen -----------------------------------------------

QString FormMain::SortAnswerLetters(const QString& text)
{
    QString out;
    for (const QChar letter : {QLatin1Char('A'), QLatin1Char('B'), QLatin1Char('C'), QLatin1Char('D')})
        if (text.contains(letter, Qt::CaseSensitive))
            out += letter;
    return out;
}

QString FormMain::DigitsToLetters(const QString& digits)
{
    QString letters = digits;
    letters.replace(QLatin1Char('1'), QLatin1Char('A'))
        .replace(QLatin1Char('2'), QLatin1Char('B'))
        .replace(QLatin1Char('3'), QLatin1Char('C'))
        .replace(QLatin1Char('4'), QLatin1Char('D'));
    return letters;
}

QString FormMain::AnswerLetters(const QString& digits)
{
    return SortAnswerLetters(DigitsToLetters(digits));
}

QString FormMain::QuestionSelect(const QString& rest)
{
    return QStringLiteral("select question,ans1,ans2,ans3,ans4,ans,bmp,flash,txbz,state from shiti2012 where ") + rest;
}

bool FormMain::NullOrEmpty(const vb::Variant& v)
{
    return v.isNull() || v.toStringOrEmpty().isEmpty();
}
void FormMain::ShowQuestion()
{
    db::Recordset& r = rs();
    lblMyAnswer->setVisible(false);
    imgOK->setVisible(false);
    imgErr->setVisible(false);
    imgDone->setVisible(false);
    lblMyAnswer->setCaption(QString());
    lblRightAnswer->setCaption(QString());
    imgTitlePic->setPicture(forms::Picture());

    const std::int16_t n = vb::toInteger(r.absolutePosition());
    SuppressJump = true;
    txtCurrent->setText(QString::number(n));
    SuppressJump = false;

    // A question without its text is shown as one with an empty text.
    const QString title =
        QString::number(n) + QLatin1Char('.') + shownText(r.value(QStringLiteral("question")).toStringOrEmpty());
    lblTitle->setCaption(title);
    fitCaption(*lblTitle, TitleLabel);
    lblTitle->setToolTipText(title);
    lblAnswer->setVisible(true);

    const char* const columns[] = {"ans1", "ans2", "ans3", "ans4"};
    std::array<QString, 4> options;
    for (int i = 0; i < 4; ++i) {
        const vb::Variant option = r.value(QLatin1String(columns[i]));
        const bool present = !NullOrEmpty(option);
        if (present)
            options[static_cast<std::size_t>(i)] = shownText(option.toString());
        imgAnswer(i).setVisible(present);
    }
    const QString lines = optionLines(options);
    lblAnswer->setCaption(lines);
    fitCaption(*lblAnswer, OptionsLabel);
    lblAnswer->setToolTipText(lines);

    const vb::Variant type = r.value(QStringLiteral("txbz"));
    imgDone->setVisible(!type.isNull() && type.toDouble() == 2);

    const vb::Variant bmp = r.value(QStringLiteral("bmp"));
    if (!NullOrEmpty(bmp)) {
        // From here on a failing step is skipped: a missing picture never
        // hides the answers.
        skipOnFailure([&] {
            imgTitlePic->setLeft(0);
            imgTitlePic->setTop(0);
        });
        skipOnFailure([&] { imgTitlePic->setPicture(forms::loadPicture(picturePath(bmp.toString()))); });
        skipOnFailure([&] { imgTitlePic->setLeft((FrameBack->width() - imgTitlePic->width()) / 2); });
        skipOnFailure([&] { imgTitlePic->setVisible(true); });
        ShowAnswers([](const std::function<void()>& step) { skipOnFailure(step); });
        return;
    }
    imgTitlePic->setVisible(false);
    ShowAnswers([](const std::function<void()>& step) { step(); });
}

void FormMain::ShowNoQuestion()
{
    // An empty list: its count, and nothing of any question, the design's
    // placeholders included.
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{lblMyAnswer, lblRightAnswer, imgOK, imgErr, imgDone, imgTitlePic})
        c->setVisible(false);
    for (int i = 0; i <= 3; ++i)
        imgAnswer(i).setVisible(false);
    lblMyAnswer->setCaption(QString());
    lblRightAnswer->setCaption(QString());
    imgTitlePic->setPicture(forms::Picture());
    for (forms::Label* text : {lblTitle, lblAnswer}) {
        text->setCaption(QString());
        text->setToolTipText(QString());
    }
    SuppressJump = true;
    txtCurrent->setText(QString());
    SuppressJump = false;
}

void FormMain::ShowAnswers(const std::function<void(const std::function<void()>&)>& run)
{
    db::Recordset& r = rs();
    if (Timer1.isEnabled()) {
        // Exam running: the stored answer in red, never the right one.
        run([&] { lblMyAnswer->setCaption(CurrentAnswer()); });
        run([&] { lblMyAnswer->setForeColor(WrongColour); });
        run([&] { lblMyAnswer->setVisible(true); });
        return;
    }
    run([&] { lblRightAnswer->setVisible(Reviewing); });
    // A right answer that is Null shows no letters.
    run([&] { lblRightAnswer->setCaption(AnswerLetters(r.value(QStringLiteral("ans")).toStringOrEmpty())); });
    bool answered = true;
    run([&] { answered = !CurrentAnswer().isEmpty(); });
    if (!answered)
        return;
    run([&] { lblRightAnswer->setVisible(true); });
    run([&] { lblMyAnswer->setVisible(true); });
    run([&] { lblMyAnswer->setCaption(CurrentAnswer()); });
    run([&] {
        if (lblMyAnswer->caption() == lblRightAnswer->caption()) {
            lblMyAnswer->setForeColor(lblRightAnswer->foreColor());
            imgOK->setVisible(true);
        } else {
            lblMyAnswer->setForeColor(WrongColour);
            imgErr->setVisible(true);
        }
    });
}

} // namespace study
