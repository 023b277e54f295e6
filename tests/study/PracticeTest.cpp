#include "Fixture.h"

#include "vb/Failure.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>

using fixture::question;
using study::FormMain;

namespace {

const QString Password = QStringLiteral(BANK_PASSWORD);

using Quotas = std::vector<std::pair<int, int>>;
const Quotas PartOneFive = {{1, 30}, {2, 30}, {3, 25}, {4, 10}, {5, 5}};
const Quotas PartOneFour = {{1, 30}, {2, 30}, {3, 25}, {4, 15}};
const Quotas PartTwo = {{8, 10}, {9, 20}, {10, 20}, {11, 10}, {12, 15}, {13, 20}, {14, 5}};

// Pearson's statistic of counts that should all be equal.
double chiSquare(const std::vector<int>& counts)
{
    const double expected =
        static_cast<double>(std::accumulate(counts.begin(), counts.end(), 0)) / static_cast<double>(counts.size());
    double chi2 = 0;
    for (int c : counts)
        chi2 += (c - expected) * (c - expected) / expected;
    return chi2;
}

// About five standard deviations above the mean of a chi-square with `df`
// degrees of freedom: a fair draw stays below it, a biased one does not.
double chiSquareBound(std::size_t df)
{
    const double d = static_cast<double>(df);
    return d + 5 * std::sqrt(2 * d) + 5;
}

long failureNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const vb::Failure& e) {
        return e.number();
    }
    return 0;
}

class Practice : public fixture::Window {
protected:
    // The bank under the file name of the program's connection string.
    void writeBankOf(const study::Deliverable& d, const std::vector<banks::QuestionRow>& rows,
                     const std::vector<banks::ChapterRow>& chapters = fixture::chapters())
    {
        const QString file = d.bankLiteral.section(QLatin1Char(';'), 0, 0).mid(1); // "\\hc.dll;..." gives "hc.dll"
        banks::writeBank(folder + QLatin1Char('/') + file, Password, chapters, rows);
    }

    // A bank of the given chapter sizes, ids counted from 1 chapter by
    // chapter; `chapterOf` remembers where each id went.
    std::vector<banks::QuestionRow> rowsOf(const std::map<int, int>& sizes)
    {
        std::vector<banks::QuestionRow> rows;
        int id = 1;
        for (const auto& [chapter, size] : sizes)
            for (int i = 0; i < size; ++i) {
                chapterOf[id] = chapter;
                rows.push_back(question(id++, chapter));
            }
        return rows;
    }

    // The ids of the current list, in list order.
    std::vector<int> listed()
    {
        std::vector<int> ids;
        db::Recordset& r = *form->Rs;
        if (!r.isOpen() || r.recordCount() == 0)
            return ids;
        for (r.moveFirst(); !r.eof(); r.moveNext())
            ids.push_back(r.value(QStringLiteral("question")).toString().mid(2).toInt());
        return ids;
    }

    std::vector<int> idsOfChapters(std::initializer_list<int> chapters) const
    {
        std::vector<int> ids;
        for (const auto& [id, chapter] : chapterOf)
            if (std::find(chapters.begin(), chapters.end(), chapter) != chapters.end())
                ids.push_back(id);
        return ids;
    }

    void openPaper(bool part2)
    {
        if (part2)
            form->OpenRandomSetPart2(true);
        else
            form->OpenRandomSet(true);
    }

    std::map<int, int> chapterOf;
};

// Chapter practice --------------------------------------------------------

TEST_F(Practice, TickedChaptersOpenInIdOrderAndOnlyTheSelectButtonClearsAnswers)
{
    std::vector<banks::QuestionRow> rows;
    for (int id = 1; id <= 20; ++id) {
        const int chapter = (id * 3) % 5 + 1; // chapters interleaved in id order
        chapterOf[id] = chapter;
        rows.push_back(question(id, chapter));
    }
    rows[2].state = QStringLiteral("A");
    rows[7].state = QStringLiteral("BC");
    writeBank(rows);
    std::vector<QString> answered = states();

    FormMain& f = open();
    f.imgNav_Click(1);
    EXPECT_EQ(states(), answered); // the panel stores and clears nothing
    f.chkChapter(1).setValue(1);   // chapter 2
    f.chkChapter(3).setValue(1);   // chapter 4
    f.imgSelect_Click();

    const std::vector<int> expected = idsOfChapters({2, 4});
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(f.lblAll->caption(), QString::number(expected.size()) + QStringLiteral(" 题"));
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("1.问题%1").arg(expected[0]));
    EXPECT_EQ(states(), std::vector<QString>(rows.size(), QString()));
    EXPECT_FALSE(f.Fr1->isVisible());
    EXPECT_TRUE(f.FR0->isVisible());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Practice, TheSelectButtonReadsOnlyTheBoxesOfItsProgram)
{
    struct Case {
        const char* name;
        const study::Deliverable& d;
        int partOneChapters;
        std::vector<int> ticked;
        std::vector<int> chapters; // opened; empty: the message
    };
    const Case cases[] = {
        {"nothing ticked", study::penmaro(), 7, {}, {}},
        {"Penmaro's fifth box", study::penmaro(), 7, {4}, {}},
        {"Penmaro's fourth and fifth", study::penmaro(), 7, {3, 4}, {4}},
        {"Quenvik's sixth and seventh", study::quenvik(), 7, {5, 6}, {}},
        {"Quenvik's fifth", study::quenvik(), 7, {4}, {5}},
        {"three chapters, five boxes read", study::quenvik(), 3, {0, 2}, {1, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<banks::ChapterRow> chapters;
        for (int n = 1; n <= c.partOneChapters; ++n)
            chapters.push_back({n, QStringLiteral("第%1章").arg(n), 1});
        chapterOf.clear();
        writeBankOf(c.d, rowsOf({{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}), chapters);
        messages.clear();

        FormMain& f = open(c.d);
        f.imgNav_Click(1);
        for (int i : c.ticked)
            f.chkChapter(i).setValue(1);
        db::Recordset* chapterList = f.Rs.get();
        const QString count = f.lblAll->caption();
        f.imgSelect_Click();

        if (c.chapters.empty()) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].prompt, QStringLiteral("请选择章节！"));
            EXPECT_EQ(messages[0].buttons, forms::vbOKOnly);
            EXPECT_EQ(messages[0].title, QStringLiteral("Torvasen"));
            EXPECT_TRUE(f.Fr1->isVisible());
            EXPECT_EQ(f.Rs.get(), chapterList);
            EXPECT_TRUE(f.Rs->isOpen());
            EXPECT_EQ(f.lblAll->caption(), count);
        } else {
            EXPECT_TRUE(messages.empty());
            std::vector<int> expected;
            for (int chapter : c.chapters)
                for (int id : idsOfChapters({chapter}))
                    expected.push_back(id);
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(listed(), expected);
            EXPECT_FALSE(f.Fr1->isVisible());
        }
        f.unload();
    }
}

TEST_F(Practice, OneBoxPerChapterRowReusedAndUntickedOnEveryVisit)
{
    writeBank({question(1, 1), question(2, 9)});
    FormMain& f = open();
    f.imgNav_Click(1);
    ASSERT_EQ(f.chkChapter.count(), 7);
    for (int i = 0; i <= 6; ++i) {
        SCOPED_TRACE(i);
        const forms::CheckBox& box = f.chkChapter(i);
        EXPECT_FLOAT_EQ(box.top(), 600.0f + 486.0f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(box.left(), 10.0f);
        EXPECT_EQ(box.caption(), QStringLiteral("第%1章").arg(i + 1));
        EXPECT_EQ(box.tag(), QString::number(i + 1));
        EXPECT_TRUE(box.isVisible());
    }
    // The panel is in front of the frame that covers it, the question
    // panel behind it, and no exam is running.
    const QObjectList stacking = f.SkinFrame1->widget()->children();
    EXPECT_GT(stacking.indexOf(f.Fr1->widget()), stacking.indexOf(f.Frame1->widget()));
    EXPECT_TRUE(f.Fr1->isVisible());
    EXPECT_TRUE(f.FR0->isVisible());
    EXPECT_FALSE(f.Fr4->isVisible());
    EXPECT_FALSE(f.Timer1.isEnabled());

    for (int i : {0, 3, 6})
        f.chkChapter(i).setValue(1);
    f.imgNav_Click(0);
    f.imgNav_Click(1);
    EXPECT_EQ(f.chkChapter.count(), 7);
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(f.chkChapter(i).value(), 0) << i;

    f.imgNav_Click(6); // part 2: the same boxes, captioned anew
    EXPECT_EQ(f.chkChapter.count(), 7);
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(f.chkChapter(i).tag(), QString::number(i + 8)) << i;
}

TEST_F(Practice, UnderTheChapterPanelTheQuestionPanelTakesNoKeys)
{
    writeBank({question(1, 1), question(2, 1), question(3, 2)});
    FormMain& f = open();
    QCoreApplication::processEvents(); // the window is the active one
    f.imgNav_Click(0);
    // The learner was in the go-to box when the chapter tab was clicked.
    f.txtCurrent->widget()->setFocus();
    ASSERT_TRUE(f.txtCurrent->widget()->hasFocus());
    f.imgNav_Click(1);
    db::Recordset* chapterList = f.Rs.get();
    // A digit typed goes wherever the window's focus now is.
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : f.window();
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent key(type, Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
        QCoreApplication::sendEvent(target, &key);
    }
    EXPECT_EQ(f.txtCurrent->text(), QStringLiteral("1"));
    EXPECT_EQ(f.Rs.get(), chapterList);
    EXPECT_TRUE(messages.empty());

    // Once the chapters are chosen the box takes keys again.
    f.chkChapter(0).setValue(1);
    f.imgSelect_Click();
    f.txtCurrent->widget()->setFocus();
    EXPECT_TRUE(f.txtCurrent->widget()->hasFocus());
    f.txtCurrent->setText(QStringLiteral("2"));
    EXPECT_EQ(f.lblTitle->caption(), QStringLiteral("2.问题2"));
}

// Papers --------------------------------------------------------------------

TEST_F(Practice, PapersHoldTheirQuotasAndDrawEveryQuestionAboutEquallyOften)
{
    // Every quota plus three more questions, so each draw has a choice.
    const std::map<int, int> sizes = {{1, 33}, {2, 33}, {3, 28},  {4, 18},  {5, 8},   {6, 3},   {7, 3},
                                      {8, 13}, {9, 23}, {10, 23}, {11, 13}, {12, 18}, {13, 23}, {14, 8}};
    const std::vector<banks::QuestionRow> rows = rowsOf(sizes);
    for (const study::Deliverable* d : {&study::quenvik(), &study::lodrasse(), &study::penmaro()})
        writeBankOf(*d, rows);
    struct Case {
        const char* name;
        const study::Deliverable& d;
        bool part2;
        const Quotas& quotas;
    };
    const Case cases[] = {{"Quenvik", study::quenvik(), false, PartOneFive},
                          {"Lodrasse", study::lodrasse(), false, PartOneFive},
                          {"Penmaro", study::penmaro(), false, PartOneFour},
                          {"part 2", study::penmaro(), true, PartTwo}};
    constexpr int Draws = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormMain& f = open(c.d);
        std::map<int, int> drawn;
        for (int draw = 0; draw < Draws; ++draw) {
            openPaper(c.part2);
            const std::vector<int> ids = listed();
            std::map<int, int> perChapter;
            for (int id : ids) {
                ++perChapter[chapterOf.at(id)];
                ++drawn[id];
            }
            ASSERT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size()) << "a question twice";
            const std::map<int, int> quotas(c.quotas.begin(), c.quotas.end());
            ASSERT_EQ(perChapter, quotas);
            ASSERT_EQ(f.lblAll->caption(), QStringLiteral("100 题"));
        }
        for (const auto& [chapter, quota] : c.quotas) {
            std::vector<int> counts;
            for (int id : idsOfChapters({chapter}))
                counts.push_back(drawn[id]);
            EXPECT_LT(chiSquare(counts), chiSquareBound(counts.size() - 1)) << "chapter " << chapter;
        }
        f.unload();
    }
}

TEST_F(Practice, AChapterAtItsQuotaGivesAllAndOneShortGivesNone)
{
    struct Case {
        const char* name;
        const study::Deliverable& d;
        bool part2;
        std::map<int, int> sizes;
        int whole;   // every question of it on the paper
        int missing; // none of it on the paper (0: none missing)
        int count;
        bool nullId = false; // one row of `whole` has no id
    };
    const Case cases[] = {
        {"Penmaro, chapter 4 one short", study::penmaro(), false, {{1, 33}, {2, 31}, {3, 25}, {4, 14}}, 3, 4, 85},
        {"Quenvik, chapter 5 empty", study::quenvik(), false, {{1, 30}, {2, 33}, {3, 28}, {4, 12}}, 1, 5, 95},
        {"part 2, chapter 8 one short",
         study::penmaro(),
         true,
         {{8, 9}, {9, 21}, {10, 20}, {11, 11}, {12, 15}, {13, 22}, {14, 5}},
         14,
         8,
         90},
        // The quota takes the row without an id in every pass: the passes
        // end and the paper keeps the ids it has.
        {"Penmaro, an id missing", study::penmaro(), false, {{1, 30}, {2, 30}, {3, 25}, {4, 15}}, 4, 0, 99, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chapterOf.clear();
        std::vector<banks::QuestionRow> rows = rowsOf(c.sizes);
        if (c.nullId) {
            auto row = std::find_if(rows.begin(), rows.end(),
                                    [&](const banks::QuestionRow& q) { return q.zhangjie.toDouble() == c.whole; });
            chapterOf.erase(static_cast<int>(row->id.toDouble()));
            row->id = vb::Variant::null();
        }
        writeBankOf(c.d, rows);
        FormMain& f = open(c.d);
        for (int draw = 0; draw < 3; ++draw) {
            openPaper(c.part2);
            std::vector<int> ids = listed();
            EXPECT_EQ(f.lblAll->caption(), QString::number(c.count) + QStringLiteral(" 题"));
            EXPECT_EQ(ids.size(), static_cast<std::size_t>(c.count));
            std::sort(ids.begin(), ids.end());
            for (int id : idsOfChapters({c.whole}))
                EXPECT_TRUE(std::binary_search(ids.begin(), ids.end(), id)) << id;
            for (int id : idsOfChapters({c.missing}))
                EXPECT_FALSE(std::binary_search(ids.begin(), ids.end(), id)) << id;
        }
        f.unload();
    }
}

TEST_F(Practice, ShuffleIdListGivesEveryOrderAboutEquallyOften)
{
    FormMain& f = open();
    std::map<QString, int> orders;
    constexpr int Draws = 2400;
    for (int i = 0; i < Draws; ++i)
        ++orders[f.ShuffleIdList(QStringLiteral("4,5,6,7"))];
    std::vector<int> counts;
    for (const auto& [order, n] : orders) {
        QStringList ids = order.split(QLatin1Char(','));
        ASSERT_EQ(ids.takeLast(), QString()) << "trailing form: " << order.toStdString();
        ids.sort();
        const QStringList same = {QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")};
        ASSERT_EQ(ids, same) << order.toStdString();
        counts.push_back(n);
    }
    ASSERT_EQ(counts.size(), 24u);
    EXPECT_LT(chiSquare(counts), chiSquareBound(23));
}

TEST_F(Practice, ShuffleArrayOfOneElementAndOfNone)
{
    FormMain& f = open();
    std::vector<QString> one = {QStringLiteral("17")};
    EXPECT_EQ(f.ShuffleArray(one), std::vector<QString>{QStringLiteral("17")});
    std::vector<QString> none;
    EXPECT_EQ(failureNumber([&] { f.ShuffleArray(none); }), vb::err::SubscriptOutOfRange);
}

// Random practice -------------------------------------------------------

TEST_F(Practice, RandomPracticeHoldsEveryPartOneQuestionOnceInANewOrderEachTime)
{
    std::vector<banks::QuestionRow> rows =
        rowsOf({{1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 4}, {6, 4}, {7, 4}, {8, 3}, {14, 3}});
    writeBank(rows);
    const std::vector<int> partOne = idsOfChapters({1, 2, 3, 4, 5, 6, 7});
    FormMain& f = open();
    std::vector<std::vector<int>> orders;
    for (int visit = 0; visit < 2; ++visit) {
        f.imgNav_Click(2);
        orders.push_back(listed());
        std::vector<int> sorted = orders.back();
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, partOne);
        EXPECT_EQ(f.lblAll->caption(), QString::number(partOne.size()) + QStringLiteral(" 题"));
    }
    EXPECT_NE(orders[0], orders[1]);
    EXPECT_TRUE(f.FR0->isVisible());
    EXPECT_FALSE(f.Fr1->isVisible());
    EXPECT_FALSE(f.Fr4->isVisible());
}

TEST_F(Practice, APapersChaptersAreMixed)
{
    // Exactly the quotas: every paper holds every question, so only the
    // order can tell a shuffled paper from one chapter after another.
    const std::vector<banks::QuestionRow> rows = rowsOf({{1, 30}, {2, 30}, {3, 25}, {4, 15}});
    writeBank(rows);
    open();
    for (int draw = 0; draw < 5; ++draw) {
        openPaper(false);
        const std::vector<int> ids = listed();
        ASSERT_EQ(ids.size(), 100u);
        int changes = 0;
        for (std::size_t i = 1; i < ids.size(); ++i)
            changes += chapterOf.at(ids[i]) != chapterOf.at(ids[i - 1]);
        // In chapter order there are 3 changes; a random order has about 70.
        EXPECT_GT(changes, 40) << draw;
    }
}

} // namespace
