#include "FormMain.h"

#include "forms/MsgBox.h"
#include "vb/Conversions.h"
#include "vb/Failure.h"
#include "vb/Random.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace study {

using vb::skipOnFailure;

namespace {

// The part-2 paper is the same in every program.
const std::vector<std::pair<int, int>> PartTwoQuotas = {{8, 10},  {9, 20},  {10, 20}, {11, 10},
                                                        {12, 15}, {13, 20}, {14, 5}};

// A bank row with an empty id spoils every pass that draws it; when its
// chapter's quota takes all its rows every pass does. The bound ends that.
constexpr int MaxPaperPasses = 10;

// Dropping the last character of an empty text fails, as taking
// Len - 1 characters of it does in the runtime.
void removeLastCharacter(QString& text)
{
    if (text.isEmpty())
        vb::raise(vb::err::InvalidCall);
    text.chop(1);
}

// Cutting a text at every ",": an empty text gives an empty array.
std::vector<QString> splitIds(const QString& text)
{
    std::vector<QString> out;
    if (text.isEmpty())
        return out;
    const QStringList parts = text.split(QLatin1Char(','));
    out.assign(parts.begin(), parts.end());
    return out;
}

// A number read from the bank as it is joined into a statement: digits
// only, whatever the bank declares the column as, so that no value can
// change the statement's structure. Anything else fails with Type mismatch.
QString numberText(const vb::Variant& v)
{
    if (v.type() == vb::Variant::Type::Long)
        return QString::number(v.toInt64());
    const QString text = v.toString();
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]+$"));
    if (!digits.match(text).hasMatch())
        vb::raise(vb::err::TypeMismatch);
    return text;
}

// The ids of one open forward reading, in the engine's order. They become
// texts only when drawn: a paper takes at most 30 of a chapter's thousands.
// An id that is no number fails the reading, as joining it would.
std::vector<vb::Variant> readIds(db::Recordset& ids)
{
    std::vector<vb::Variant> out;
    out.reserve(static_cast<std::size_t>(ids.recordCount()));
    const QString id = QStringLiteral("id");
    for (; !ids.eof(); ids.moveNext()) {
        vb::Variant v = ids.value(id);
        if (!v.isNull() && v.type() != vb::Variant::Type::Long)
            numberText(v);
        out.push_back(std::move(v));
    }
    return out;
}

// Every id of one chapter, on a reading of its own (not the window's list).
std::vector<vb::Variant> chapterIds(db::Connection& conn, std::int16_t chapter, const QString& andCondition)
{
    db::Recordset ids;
    ids.open(QStringLiteral("select id from shiti2012 where zhangjie=") + QString::number(chapter) + andCondition,
             conn);
    std::vector<vb::Variant> all = readIds(ids);
    ids.close();
    return all;
}

// The draw of ShuffleArray, stopped after `count` picks: the first `count`
// places of the permutation it would give, from the same random numbers.
// Each pick takes a random one of the items left, and the last item fills
// its place.
template <class T>
std::vector<T> drawWithoutReplacement(std::vector<T>& items, std::size_t count)
{
    std::vector<T> result;
    result.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t u = items.size() - 1;
        // In double precision, so the product never rounds up to u + 1.
        const auto j =
            static_cast<std::size_t>(std::floor(static_cast<double>(vb::rnd()) * static_cast<double>(u + 1)));
        result.push_back(std::move(items[j]));
        if (j != u)
            items[j] = std::move(items[u]);
        items.pop_back();
    }
    return result;
}

// `quota` ids drawn from all of a chapter's ids: the first `quota` places of
// a random permutation, each followed by "," (a missing id leaves only its
// comma). A chapter without ids fails as the removal of the final comma of
// an empty text would; too few candidates fail at the first one missing, so
// a short chapter gives nothing.
QString takeRandom(std::vector<vb::Variant> all, int quota)
{
    if (all.empty())
        vb::raise(vb::err::InvalidCall);
    vb::randomize();
    // Only the places taken are drawn: a chapter holds thousands of ids at
    // the most, the paper takes at most 30 of them.
    const std::size_t taken = std::min(all.size() - 1, static_cast<std::size_t>(std::max(quota, 0)));
    std::vector<vb::Variant> permuted = drawWithoutReplacement(all, taken);
    if (permuted.size() < static_cast<std::size_t>(quota))
        permuted.push_back(std::move(all[0]));
    QString out;
    for (int i = 0; i < quota; ++i) {
        if (static_cast<std::size_t>(i) >= permuted.size())
            vb::raise(vb::err::SubscriptOutOfRange);
        const vb::Variant& id = permuted[static_cast<std::size_t>(i)];
        out += (id.isNull() ? QString() : numberText(id)) + QLatin1Char(',');
    }
    return out;
}

QString paperStatement(const QString& list)
{
    return FormMain::QuestionSelect(QStringLiteral("id in(") + list + QStringLiteral(") order by Instr('") + list
                                    + QStringLiteral("',','+cstr(id)) desc"));
}

// The id list of a paper: each chapter's pick, then the whole list shuffled
// again so the chapters mix. Every step that fails is skipped.
QString buildPaper(FormMain& form, const std::vector<std::pair<int, int>>& quotas)
{
    QString list;
    bool sound = false;
    for (int pass = 0; pass < MaxPaperPasses && !sound; ++pass) {
        list.clear();
        // Not a structured binding: a lambda may not capture one before C++20's
        // rule, which Clang 14 does not implement.
        for (const auto& pick : quotas)
            skipOnFailure([&] {
                list +=
                    form.PickChapterIds(static_cast<std::int16_t>(pick.first), static_cast<std::int16_t>(pick.second));
            });
        sound = !list.contains(QStringLiteral(",,")) && !list.startsWith(QLatin1Char(','));
    }
    if (!sound) {
        // Out of passes: the paper is made of the ids the last pass has.
        const QStringList ids = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
        list = ids.isEmpty() ? QString() : ids.join(QLatin1Char(',')) + QLatin1Char(',');
    }
    skipOnFailure([&] { removeLastCharacter(list); });
    skipOnFailure([&] { list = form.ShuffleIdList(list); });
    skipOnFailure([&] { removeLastCharacter(list); });
    return list;
}

} // namespace

// Chapter practice -----------------------------------------------------

void FormMain::ChapterPracticeEntry(bool part2)
{
    PracticePreamble();
    LoadChapterList(part2);
    EndOpening(Shown::ChapterPanel);
}

void FormMain::LoadChapterList(bool part2)
{
    skipOnFailure([&] { rs().close(); });
    skipOnFailure([&] { conn().close(); });
    const QString condition = part2 ? QStringLiteral("state=2") : QStringLiteral("state=1");
    skipOnFailure([&] { Conn = std::make_unique<db::Connection>(); });
    skipOnFailure([&] { conn().setConnectionString(ConnString()); });
    skipOnFailure([&] { conn().open(); });
    skipOnFailure([&] { Rs = std::make_unique<db::Recordset>(); });
    GivenAnswers.clear(); // the chapter rows take no answers
    skipOnFailure([&] {
        rs().open(QStringLiteral("select zhangjiename,zhangjieid from zhangjie where ") + condition
                      + QStringLiteral(" order by zhangjieid asc"),
                  conn(), db::CursorType::Keyset, db::LockType::Optimistic);
    });

    // A list that cannot be read has no rows: a failing test ends the
    // filling rather than running it blind.
    auto moreRows = [&] {
        bool more = false;
        skipOnFailure([&] { more = !rs().eof(); });
        return more;
    };
    // A missing title or number fails its own step and leaves the box's
    // caption or Tag as it was.
    auto fill = [&](forms::CheckBox& box) {
        skipOnFailure([&] { box.setCaption(rs().value(0).toString()); });
        skipOnFailure([&] { box.setTag(numberText(rs().value(1))); });
        skipOnFailure([&] { box.setValue(0); });
    };

    if (moreRows()) {
        fill(chkChapter(0));
        skipOnFailure([&] { rs().moveNext(); });
    }
    for (int i = 1; moreRows(); ++i) {
        // Boxes of an earlier visit are reused: loading them again fails.
        skipOnFailure([&] { chkChapter.load(i); });
        forms::CheckBox* box = nullptr;
        skipOnFailure([&] { box = &chkChapter(i); });
        if (!box)
            break;
        fill(*box);
        skipOnFailure([&] { box->setLeft(chkChapter(0).left()); });
        skipOnFailure([&] { box->setTop(static_cast<float>(chkChapter(i - 1).top() + 1.2 * chkChapter(0).height())); });
        box->setVisible(true);
        if (!skipOnFailure([&] { rs().moveNext(); }))
            break;
    }
}

void FormMain::imgSelect_Click()
{
    QString chapters;
    // A group may have fewer chapters than the program reads boxes.
    for (int i = 0; i < deliverable_.chapterBoxes; ++i)
        if (chkChapter.exists(i) && chkChapter(i).value() == 1)
            chapters += chkChapter(i).tag() + QLatin1Char(',');
    if (chapters.isEmpty()) {
        forms::msgBox(QStringLiteral("请选择章节！"));
        return;
    }
    chapters.chop(1);
    OpenList(
        [&] { return QuestionSelect(QStringLiteral("zhangjie in(") + chapters + QStringLiteral(") order by id asc")); },
        false);
    EndOpening(Shown::ChapterList);
}

// Random practice and the papers ----------------------------------------

void FormMain::RandomPracticeEntry()
{
    PracticePreamble();
    OpenRandomSet(false);
    EndOpening(Shown::Practice);
}

void FormMain::OpenRandomSet(bool paper)
{
    if (paper) {
        OpenList([&] { return paperStatement(buildPaper(*this, deliverable_.paperQuotas)); });
        return;
    }
    OpenList([] {
        vb::randomize();
        // Written with a full stop whatever the user's number format, so
        // the statement stays valid.
        const QString x = vb::singleText(vb::rnd());
        return QuestionSelect(QStringLiteral("zhangjie<=7 order by rnd(-(ID+") + x + QStringLiteral("))"));
    });
}

void FormMain::OpenRandomSetPart2(bool paper)
{
    if (!paper) {
        OpenRandomSet(false);
        return;
    }
    OpenList([&] { return paperStatement(buildPaper(*this, PartTwoQuotas)); });
}

QString FormMain::PickChapterIds(std::int16_t chapter, std::int16_t quota)
{
    vb::randomize();
    return takeRandom(chapterIds(conn(), chapter, QString()), quota);
}

QString FormMain::PickChapterIdsNoMulti(std::int16_t chapter, std::int16_t quota)
{
    return takeRandom(chapterIds(conn(), chapter, QStringLiteral(" and txbz<>'2'")), quota);
}

QString FormMain::PickMultiIdsPart2()
{
    rs().open(QStringLiteral("select id from shiti2012 where zhangjie>=8 and zhangjie<=14 and txbz='2'"), conn());
    std::vector<vb::Variant> all = readIds(rs());
    rs().close();
    return takeRandom(std::move(all), 10);
}

QString FormMain::ShuffleIdList(const QString& idList)
{
    std::vector<QString> items = splitIds(idList);
    QString out;
    for (const QString& id : ShuffleArray(items))
        out += id + QLatin1Char(',');
    return out;
}

std::vector<QString> FormMain::ShuffleArray(std::vector<QString>& items)
{
    // A draw without replacement: each pick takes a random one of the
    // items left, and the last item fills its place.
    if (items.empty())
        vb::raise(vb::err::SubscriptOutOfRange);
    vb::randomize();
    std::vector<QString> result = drawWithoutReplacement(items, items.size() - 1);
    result.push_back(items[0]);
    return result;
}

} // namespace study
