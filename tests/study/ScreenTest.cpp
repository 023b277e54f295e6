// What the learner sees of the question panel, read off the rendered
// window's pixels.
#include "Fixture.h"
#include "study/TextFit.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QRawFont>
#include <QTimer>
#include <algorithm>
#include <functional>

using fixture::question;

namespace {

// The question panel as it is drawn now.
QImage panel(const study::FormMain& f)
{
    return f.FR01->widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The part of the panel a control of the panel covers.
QImage under(const QImage& shot, const forms::Control& c)
{
    return shot.copy(c.widget()->geometry());
}

// A mark's picture alone on the panel's white.
QImage onWhite(const forms::Image& mark)
{
    const QPixmap& picture = mark.picture().pixmap();
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.drawPixmap(0, 0, picture);
    p.end();
    return image;
}

int differing(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

bool greenish(QRgb p)
{
    return qGreen(p) > qRed(p) + 40 && qGreen(p) > qBlue(p) + 40;
}

int greenPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += greenish(image.pixel(x, y));
    return n;
}

// The ink of `text` in `font` with nothing cut: what a reader must see.
int greenInk(const QString& text, const QFont& font)
{
    QImage image(800, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(QColor(0, 128, 0));
    p.drawText(QRect(20, 20, 760, 160), Qt::AlignLeft | Qt::AlignTop, text);
    p.end();
    return greenPixels(image);
}

// How many ideographs one line of `width` pixels holds.
int ideographsPerLine(const QFont& font, int width)
{
    int n = 1;
    while (study::wrapText(font, width, QString(n + 1, QChar(0x8F66))).lines.size() == 1)
        ++n;
    return n;
}

class Screen : public fixture::Window {
protected:
    study::FormMain& practice(const std::vector<banks::QuestionRow>& rows)
    {
        writeBank(rows);
        study::FormMain& f = open();
        f.imgNav_Click(0);
        return f;
    }
};

TEST_F(Screen, TheMarkShownLastIsTheOnlyOneSeen)
{
    // Manual jumping, so a right answer stays on screen after a wrong one.
    study::FormMain& f = practice({question(1, 1, "0", "3", "2")});
    f.cboJump->setListIndex(1);
    const QImage tick = onWhite(*f.imgOK), cross = onWhite(*f.imgErr);
    ASSERT_NE(tick, cross);
    struct Step {
        int button;
        const QImage* seen;
    };
    for (const Step& s : {Step{0, &cross}, Step{1, &tick}, Step{2, &cross}, Step{1, &tick}}) {
        f.imgAnswer_Click(static_cast<std::int16_t>(s.button));
        EXPECT_EQ(differing(under(panel(f), *f.imgOK), *s.seen), 0) << "after " << s.button;
    }
}

TEST_F(Screen, EveryLetterOfTheRightAnswerIsReadable)
{
    struct Case {
        const char* ans;
        const char* letters;
    };
    std::vector<banks::QuestionRow> rows;
    const Case cases[] = {{"1", "A"}, {"24", "BD"}, {"123", "ABC"}, {"134", "ACD"}, {"1234", "ABCD"}};
    for (const Case& c : cases) {
        rows.push_back(question(static_cast<int>(rows.size()) + 1, 1, "0", "2", c.ans));
        rows.back().bmp = QStringLiteral("\\tall.png"); // a picture reaching the bottom of its area
    }
    QDir().mkpath(folder + QStringLiteral("/testimages"));
    QImage tall(501, 220, QImage::Format_RGB32);
    tall.fill(Qt::white);
    ASSERT_TRUE(tall.save(folder + QStringLiteral("/testimages/tall.png")));
    study::FormMain& f = practice(rows);
    f.Reviewing = true; // the right answer shows without an answer
    for (const Case& c : cases) {
        f.ShowQuestion();
        ASSERT_EQ(f.lblRightAnswer->caption(), QString::fromLatin1(c.letters));
        // Everything green on the panel's answer line is the right answer.
        const QImage shot = panel(f);
        const QRect label = f.lblRightAnswer->widget()->geometry();
        const QImage line = shot.copy(QRect(label.left(), label.top() - 10, 400, label.height() + 20));
        EXPECT_EQ(greenPixels(line), greenInk(QString::fromLatin1(c.letters), f.lblRightAnswer->font())) << c.letters;
        f.Rs->moveNext();
    }
}

TEST_F(Screen, TheWindowIsSetInTahoma)
{
    study::FormMain& f = practice({question(1, 1)});
    // The metric-compatible Tahoma of fonts-wine, which the set-up installs.
    for (const forms::Control* c :
         {static_cast<forms::Control*>(f.lblTitle), static_cast<forms::Control*>(f.lblRightAnswer)})
        EXPECT_EQ(QFontInfo(c->font()).family(), QStringLiteral("Tahoma")) << c->name().toStdString();
    // A folder without it registers nothing (DejaVu Sans then stands in).
    EXPECT_FALSE(forms::registerTahoma(dir.path()));
}

// Pixels at least half-way from white to any text colour of the panel
// (black, red, green, orange): the strokes of its letters.
int strokes(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            n += 255 - std::min({qRed(p), qGreen(p), qBlue(p)}) >= 128;
        }
    return n;
}

TEST_F(Screen, BoldTextIsDrawnBold)
{
    study::FormMain& f = practice({question(1, 1)});
    f.lblTime->setVisible(true);
    f.lblMyAnswer->setVisible(true);
    f.lblRightAnswer->setVisible(true);
    f.cboJump->addItem(QString());
    f.cboJump->addItem(QStringLiteral("2013"));
    struct Case {
        forms::Control* control;
        std::function<void(const QString&)> write;
    };
    auto labelled = [](forms::Label* l) { return Case{l, [l](const QString& t) { l->setCaption(t); }}; };
    forms::ComboBox* combo = f.cboJump;
    const Case cases[] = {
        labelled(f.lblAll),
        labelled(f.lblTime),
        labelled(f.lblMyAnswer),
        labelled(f.lblRightAnswer),
        // Written as the display writes it, without a jump.
        {f.txtCurrent,
         [&f](const QString& t) {
             f.SuppressJump = true;
             f.txtCurrent->setText(t);
             f.SuppressJump = false;
         }},
        {f.FR01, [&f](const QString& t) { f.FR01->setCaption(t); }},
        // The jump box shows its items; an empty one and one of digits are
        // added for the measure.
        {combo,
         [combo](const QString& t) {
             const int item = t.isEmpty() ? 2 : t == QLatin1String("2013") ? 3 : 0;
             combo->setListIndex(item);
         }},
    };
    // The windows are laid out for the bold face's widths.
    const QString boldFace = QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf");
    ASSERT_TRUE(QFile::exists(boldFace));
    const QString digits = QStringLiteral("0123456789");
    for (const Case& c : cases) {
        const QFont designed = c.control->font();
        ASSERT_TRUE(designed.bold()) << c.control->name().toStdString();
        const QRawFont face(boldFace, QFontInfo(designed).pixelSize());
        double width = 0;
        for (const QPointF& advance : face.advancesForGlyphIndexes(face.glyphIndexesForString(digits)))
            width += advance.x();
        EXPECT_NEAR(QFontMetricsF(designed).horizontalAdvance(digits), width, 0.01) << c.control->name().toStdString();
        // What the letters add to the panel, in the designed font and in its
        // regular weight.
        auto letters = [&](const QString& text, bool bold) {
            QFont font = designed;
            font.setBold(bold);
            c.control->setFont(font);
            c.write(QString());
            const int without = strokes(panel(f));
            c.write(text);
            return strokes(panel(f)) - without;
        };
        // Digits, and Chinese (the jump box's own item).
        for (const QString& text : {QStringLiteral("2013"), QStringLiteral("自动")}) {
            const int regular = letters(text, false), bold = letters(text, true);
            EXPECT_GT(regular, 10) << c.control->name().toStdString();
            EXPECT_GE(bold, regular * 6 / 5) << c.control->name().toStdString() << " " << text.toStdString()
                                             << ": regular " << regular << ", bold " << bold;
        }
        c.control->setFont(designed);
    }
}

TEST_F(Screen, AMessageBoxShowsItsTextAndButtonsOnly)
{
    study::FormMain& f = practice({question(1, 1)});
    forms::setMsgBoxResponder(nullptr); // the real box, looked at and closed below
    struct Shot {
        QImage image;
        QString text;
    };
    std::vector<Shot> shots;
    auto lookAndClose = [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            // Above the buttons, whose default one has a coloured focus frame.
            const auto* buttons = box->findChild<QDialogButtonBox*>();
            const int top = buttons ? buttons->geometry().top() : box->height();
            shots.push_back({box->grab(QRect(0, 0, box->width(), top)).toImage().convertToFormat(QImage::Format_RGB32),
                             box->text()});
            box->done(QMessageBox::Yes);
        });
    };
    lookAndClose();
    f.imgNav_Click(7); // OK only
    lookAndClose();
    forms::msgBox(QStringLiteral("你确定要交卷吗?"), forms::vbYesNo, QStringLiteral("交卷"));
    ASSERT_EQ(shots.size(), 2u);
    for (const Shot& s : shots) {
        // The text is drawn in greys; an icon would bring colour (the blue
        // of information, the blue or yellow of a question).
        int coloured = 0;
        for (int y = 0; y < s.image.height(); ++y)
            for (int x = 0; x < s.image.width(); ++x) {
                const QColor c = s.image.pixelColor(x, y);
                coloured += c.hsvSaturation() > 80 && c.value() > 60;
            }
        EXPECT_EQ(coloured, 0) << s.text.toStdString();
    }
}

// Dark pixels: the ink of black text on the panel's white.
int ink(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 160;
    return n;
}

// The ink of a label's caption wrapped at its width with nothing cut.
int wholeInk(const forms::Label& label)
{
    const QRect r = label.widget()->geometry();
    QImage image(r.width(), 4000, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(label.font());
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, r.width(), 4000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QString(label.caption()).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    p.end();
    return ink(image);
}

TEST_F(Screen, LongTextsGetASmallerFontDownToNinePoints)
{
    const QString clause = QStringLiteral("在高速公路上行驶遇到前方车辆紧急制动时应当");
    auto times = [](const QString& t, int n) {
        QString out;
        for (int i = 0; i < n; ++i)
            out += t;
        return out;
    };
    struct Case {
        const char* name;
        QString question, option;
        bool lowered, whole; // a smaller font; every character seen
    };
    const Case cases[] = {
        {"short", QStringLiteral("问题"), QStringLiteral("甲"), false, true},
        {"three lines an option", times(clause, 7), times(clause, 2) + QStringLiteral("减速"), true, true},
        {"short again", QStringLiteral("问题"), QStringLiteral("乙"), false, true},
        {"too long even at the floor", times(clause, 14), times(clause, 7), true, false},
    };
    std::vector<banks::QuestionRow> rows;
    for (const Case& c : cases) {
        rows.push_back(question(static_cast<int>(rows.size()) + 1, 1));
        rows.back().question = c.question;
        rows.back().ans1 = rows.back().ans2 = rows.back().ans3 = rows.back().ans4 = c.option;
    }
    study::FormMain& f = practice(rows);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (forms::Label* label : {f.lblTitle, f.lblAnswer}) {
            // The two labels overlap by a few pixels: each is looked at alone.
            forms::Label* other = label == f.lblTitle ? f.lblAnswer : f.lblTitle;
            other->setVisible(false);
            const QImage shot = panel(f);
            other->setVisible(true);
            const double points = label->font().pointSizeF();
            if (c.lowered) {
                EXPECT_LT(points, 15);
                EXPECT_GE(points, 9);
            } else {
                EXPECT_EQ(points, 15);
            }
            if (c.whole) {
                EXPECT_EQ(ink(under(shot, *label)), wholeInk(*label)) << label->name().toStdString();
            } else {
                EXPECT_LT(ink(under(shot, *label)), wholeInk(*label)) << label->name().toStdString();
            }
        }
        if (!c.whole) {
            EXPECT_EQ(f.lblAnswer->font().pointSizeF(), 9);
        }
        f.imgNext_Click();
    }
}

TEST_F(Screen, ATitleKeepsItsSizeUntilItsLettersReachThePicture)
{
    // A line holds a little under 46 ideographs at 15 pt; the picture area
    // begins 415 pixels from the title's left and 46 pixels below its top.
    const int perLine = ideographsPerLine(study::TitleLabel.font(), 920);
    struct Case {
        const char* name;
        QString question;
        bool designSize;
    };
    const Case cases[] = {
        {"two lines, the second running over the picture area", QString(perLine + 24, QChar(0x8F66)), true},
        {"two lines with descenders", QString(perLine + 20, QChar(0x8F66)) + QStringLiteral(" gjpqy"), true},
        {"three lines", QString(2 * perLine + 25, QChar(0x8F66)), false},
    };
    std::vector<banks::QuestionRow> rows;
    for (const Case& c : cases) {
        rows.push_back(question(static_cast<int>(rows.size()) + 1, 1));
        rows.back().question = c.question;
        rows.back().bmp = QStringLiteral("\\wide.png");
    }
    // A dark picture across the whole area, which hides what lies under it.
    QDir().mkpath(folder + QStringLiteral("/testimages"));
    QImage wide(501, 220, QImage::Format_RGB32);
    wide.fill(QColor(20, 20, 20));
    ASSERT_TRUE(wide.save(folder + QStringLiteral("/testimages/wide.png")));
    study::FormMain& f = practice(rows);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(study::wrapText(study::TitleLabel.font(), 920, f.lblTitle->caption()).lines.size(),
                  c.designSize ? 2u : 3u);
        if (c.designSize) {
            EXPECT_EQ(f.lblTitle->font().pointSizeF(), 15);
        } else {
            EXPECT_LT(f.lblTitle->font().pointSizeF(), 15);
        }
        // Every letter is seen: the title's ink outside the picture area is
        // the whole of it.
        f.lblAnswer->setVisible(false);
        QImage shot = panel(f);
        f.lblAnswer->setVisible(true);
        QPainter p(&shot);
        p.fillRect(f.FrameBack->widget()->geometry(), Qt::white);
        p.end();
        EXPECT_EQ(ink(under(shot, *f.lblTitle)), wholeInk(*f.lblTitle));
        f.imgNext_Click();
    }
}

TEST(TextFit, MeasuresAsTheLabelDrawsAndFindsALetterLeftAlone)
{
    const QString clause = QStringLiteral("在高速公路上行驶遇到前方车辆紧急制动时应当");
    const QString texts[] = {QStringLiteral("短"), clause + clause + clause, QStringLiteral("A、正确\r\nB、错误\r\n"),
                             QStringLiteral("A、ABS (anti-lock) 防抱死制动系统\r\nB、") + clause + clause
                                 + QStringLiteral("\r\nC、乙")};
    const QFont fonts[] = {study::TitleLabel.font(), forms::font(QStringLiteral("Tahoma"), 9),
                           forms::font(QStringLiteral("Tahoma"), 12, true)};
    for (const QString& text : texts)
        for (const QFont& font : fonts)
            for (int width : {388, 920}) {
                const QRect drawn = QFontMetrics(font).boundingRect(
                    QRect(0, 0, width, 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                    QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
                const study::Wrap w = study::wrapText(font, width, text);
                EXPECT_EQ(w.height, drawn.height()) << text.toStdString() << " " << font.pointSizeF() << " " << width;
                EXPECT_EQ(w.width, drawn.width()) << text.toStdString() << " " << font.pointSizeF() << " " << width;
            }

    // A line of n characters; one more is left alone on a line of its own.
    const QFont font = study::OptionsLabel.font();
    const int perLine = ideographsPerLine(font, 388);
    struct Case {
        QString text;
        bool orphan;
    };
    const Case cases[] = {{QString(perLine, QChar(0x8F66)), false},
                          {QString(perLine + 1, QChar(0x8F66)), true},
                          {QString(perLine + 1, QChar(0x8F66)) + QStringLiteral("。"), true},
                          {QString(perLine + 2, QChar(0x8F66)), false},
                          {QStringLiteral("A、甲\r\nB、乙"), false}};
    for (const Case& c : cases)
        EXPECT_EQ(study::wrapText(font, 388, c.text).orphan, c.orphan) << c.text.size();
}

bool reddish(QRgb p)
{
    return qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60;
}

TEST_F(Screen, InARunningExamTheLearnersLettersAreRedAfterAGreenPractice)
{
    study::FormMain& f = practice({question(1, 1, "0", "3", "1"), question(2, 1, "0", "3", "1")});
    f.cboJump->setListIndex(1);
    f.imgAnswer_Click(0); // right: green
    auto colours = [&] {
        const QImage letters = under(panel(f), *f.lblMyAnswer);
        int red = 0, green = 0;
        for (int y = 0; y < letters.height(); ++y)
            for (int x = 0; x < letters.width(); ++x) {
                red += reddish(letters.pixel(x, y));
                green += greenish(letters.pixel(x, y));
            }
        return std::make_pair(red, green);
    };
    ASSERT_GT(colours().second, 0);
    ASSERT_EQ(colours().first, 0);
    // The exam shows the stored answer of the same question, red.
    f.Timer1.setEnabled(true);
    f.ShowQuestion();
    ASSERT_EQ(f.lblMyAnswer->caption(), QStringLiteral("A"));
    EXPECT_GT(colours().first, 0);
    EXPECT_EQ(colours().second, 0);
    f.Timer1.setEnabled(false);
}

// One colour all over: nothing drawn there.
bool blank(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}

// An empty list shows its count and nothing of any question: no text, no
// option, no answer button, no letters, no mark, no picture, whether it
// replaces a list whose question was answered wrong (cross, red and green
// letters on screen) or is the first list of the run (the design's
// placeholders). Moving, answering and going to a number then do nothing.
TEST_F(Screen, AnEmptyListShowsItsCountAndABlankPanel)
{
    // Chapter 1 only, none of it error-prone; Penmaro reads four chapter boxes.
    const std::vector<banks::QuestionRow> rows = {question(1, 1, "0", "3", "1"), question(2, 1, "0", "3", "1")};
    struct Case {
        const char* name;
        bool replacing;
        bool chapter; // a ticked chapter without questions, else the empty error-prone set
    };
    const Case cases[] = {{"error-prone, replacing", true, false},
                          {"error-prone, first list", false, false},
                          {"chapter, replacing", true, true},
                          {"chapter, first list", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBank(rows);
        study::FormMain& f = open();
        if (c.replacing) {
            f.imgNav_Click(0);
            f.imgAnswer_Click(1); // wrong: the cross, B in red, A in green
            ASSERT_TRUE(f.imgErr->isVisible());
        }
        if (c.chapter) {
            f.imgNav_Click(1);
            f.chkChapter(1).setValue(1); // chapter 2
            f.imgSelect_Click();
        } else {
            f.imgNav_Click(3);
        }
        EXPECT_EQ(f.lblAll->caption(), QStringLiteral("0 题"));
        EXPECT_TRUE(f.FR0->isVisible());
        EXPECT_FALSE(f.Fr1->isVisible());
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(f.txtCurrent->text(), QString());
        const QImage shown = panel(f);
        std::vector<const forms::Control*> empty = {f.lblTitle, f.lblAnswer, f.FrameBack, f.imgDone};
        for (int i = 0; i <= 3; ++i)
            empty.push_back(&f.imgAnswer(i));
        for (const forms::Control* part : empty)
            EXPECT_TRUE(blank(under(shown, *part))) << part->name().toStdString() << " shows something";
        const std::vector<const forms::Control*> marks = {f.lblMyAnswer, f.lblRightAnswer, f.imgOK, f.imgErr};
        for (const forms::Control* part : marks) {
            const QImage area = under(shown, *part);
            int coloured = 0;
            for (int y = 0; y < area.height(); ++y)
                for (int x = 0; x < area.width(); ++x)
                    coloured += reddish(area.pixel(x, y)) || greenish(area.pixel(x, y));
            EXPECT_EQ(coloured, 0) << part->name().toStdString() << " shows letters or a mark";
        }

        f.imgNext_Click();
        f.imgPre_Click();
        f.imgAnswer_Click(0);
        f.imgDone_Click();
        f.optNum_Click(0);
        f.txtCurrent->setText(QStringLiteral("1"));
        f.txtCurrent->setText(QString());
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(differing(panel(f), shown), 0) << "the panel changed";
        f.unload();
        form.reset();
    }
}

// A question without its text is shown with an empty text after its
// number, with its options and answer buttons, as any other.
TEST_F(Screen, AQuestionWithoutItsTextIsShownWholeWithAnEmptyText)
{
    std::vector<banks::QuestionRow> rows = {question(1, 1), question(2, 1), question(3, 1)};
    rows[1].question = vb::Variant::null();
    rows[1].ans1 = QStringLiteral("第二题的甲");
    study::FormMain& f = practice(rows);
    const QImage first = panel(f);
    f.imgNext_Click();
    EXPECT_EQ(f.txtCurrent->text(), QStringLiteral("2"));
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("2."));
    const QImage second = panel(f);
    EXPECT_GT(differing(under(second, *f.lblTitle), under(first, *f.lblTitle)), 0) << "the title is question 1's";
    EXPECT_GT(differing(under(second, *f.lblAnswer), under(first, *f.lblAnswer)), 0) << "the options are question 1's";
    for (int i = 0; i <= 3; ++i)
        EXPECT_FALSE(blank(under(second, f.imgAnswer(i)))) << "no answer button " << i;
    f.cboJump->setListIndex(1); // manual: the mark stays on screen
    f.imgAnswer_Click(0);       // right: marked and stored as for any question
    EXPECT_TRUE(f.imgOK->isVisible());
    EXPECT_EQ(states()[1], QStringLiteral("A"));
}

} // namespace
