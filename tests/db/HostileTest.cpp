#include "CpuTime.h"
#include "Fixture.h"
#include "RawBank.h"

#include "db/Errors.h"

using namespace fixture;
using db::CursorType;
using db::LockType;
using db::Recordset;

namespace {

QString repeated(const QString& part, int n)
{
    QString out;
    out.reserve(part.size() * n);
    for (int i = 0; i < n; ++i)
        out += part;
    return out;
}

// The bank of these tests: questions 1 to 88 of chapter 1.
class Hostile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("in.dll"));
        std::vector<banks::QuestionRow> rows;
        for (int id = 1; id <= 88; ++id)
            rows.push_back(question(id, 1, id % 2 ? "1" : "0"));
        banks::writeBank(path, Password, chapters(1, 1), rows);
    }
    void connect()
    {
        conn.setConnectionString(connString(path));
        conn.open();
    }
    // The number of rows the statement opens, or the failure it gives.
    struct Outcome {
        long failure = 0;
        int rows = -1;
        bool operator==(const Outcome&) const = default;
    };
    Outcome open(const QString& statement)
    {
        Outcome o;
        o.failure = failureNumber([&] {
            Recordset rs;
            rs.open(statement, conn, CursorType::Keyset, LockType::Optimistic);
            o.rows = rs.recordCount();
        });
        return o;
    }
    QTemporaryDir dir;
    QString path;
    db::Connection conn;
};

// Statements made to break the dialect's translation: each gives its rows
// or a clean failure, never a crash, a hang or a wrong result.
TEST_F(Hostile, StatementsGiveTheirRowsOrFailCleanly)
{
    connect();
    const QString where = QStringLiteral("select question from shiti2012 where ");
    QStringList ors;
    for (int id = 1; id <= 88; ++id)
        ors << QStringLiteral("id=%1").arg(id);
    auto nested = [](const QString& open, const QString& inner, const QString& close, int n) {
        return repeated(open, n) + inner + repeated(close, n);
    };
    // Found by the fuzz target (tests/fuzz): brackets after comparisons,
    // 1,722 bytes, overflowed the stack of the recursive descent.
    QString fuzzBrackets = QStringLiteral("select questione from shiti2012 where");
    for (int n : {170, 151, 171, 89, 225, 89, 181, 171, 89, 181, 38})
        fuzzBrackets += repeated(QStringLiteral("("), n) + QStringLiteral(" zhangjie<=");
    fuzzBrackets += QStringLiteral("8 andy +c");
    const long Syntax = db::err::Syntax;
    const long Provider = db::err::Provider;
    struct Case {
        const char* name;
        QString statement;
        Outcome outcome;
    };
    const Case cases[] = {
        {"5,640 open brackets", where + repeated(QStringLiteral("("), 5640), {Syntax}},
        {"5,640 closed brackets",
         where + nested(QStringLiteral("("), QStringLiteral("id=1"), QStringLiteral(")"), 5640),
         {Syntax}},
        {"fuzz finding: brackets after comparisons", fuzzBrackets, {Syntax}},
        {"100,000 not", where + repeated(QStringLiteral("not "), 100000) + QStringLiteral("id=1"), {Syntax}},
        {"100,000 unary minus",
         where + QStringLiteral("id=") + repeated(QStringLiteral("-"), 100000) + QStringLiteral("1"),
         {Syntax}},
        {"100,000 unary plus",
         where + QStringLiteral("id=") + repeated(QStringLiteral("+"), 100000) + QStringLiteral("1"),
         {Syntax}},
        {"10,000 nested calls",
         where + nested(QStringLiteral("cstr("), QStringLiteral("id"), QStringLiteral(")"), 10000)
             + QStringLiteral("='1'"),
         {Syntax}},
        {"brackets at the depth limit",
         where + nested(QStringLiteral("("), QStringLiteral("id=1"), QStringLiteral(")"), 16),
         {0, 1}},
        {"brackets past the depth limit",
         where + nested(QStringLiteral("("), QStringLiteral("id=1"), QStringLiteral(")"), 17),
         {Syntax}},
        {"calls at the depth limit",
         where + nested(QStringLiteral("cstr("), QStringLiteral("id"), QStringLiteral(")"), 16)
             + QStringLiteral("='7'"),
         {0, 1}},
        {"joins in brackets at the depth limit",
         where + nested(QStringLiteral("(''+"), QStringLiteral("cstr(id)"), QStringLiteral(")"), 7)
             + QStringLiteral("='7'"),
         {0, 1}},
        {"conditions in brackets at the depth limit",
         where + nested(QStringLiteral("(id>0 and not "), QStringLiteral("id<>7"), QStringLiteral(")"), 8),
         {0, 87}},
        {"88 or terms", where + ors.join(QStringLiteral(" or ")), {0, 88}},
        {"30 + joins", where + repeated(QStringLiteral("''+"), 30) + QStringLiteral("question='问题5'"), {0, 1}},
        {"300 + joins", where + repeated(QStringLiteral("''+"), 300) + QStringLiteral("question='问题5'"), {0, 1}},
        {"+ and - mixed 30 times",
         where + QStringLiteral("id") + repeated(QStringLiteral("+1-1"), 30) + QStringLiteral("=3"),
         {0, 1}},
        {"+ and - mixed on texts", where + QStringLiteral("'1'+'2'-2+'0'=10 and id=1"), {0, 1}},
        {"100,000 + joins", where + repeated(QStringLiteral("''+"), 100000) + QStringLiteral("question='x'"), {Syntax}},
        {"100,000 or terms",
         where + repeated(QStringLiteral("id<>id or "), 100000) + QStringLiteral("id=1"),
         {Provider}},
        {"unknown column selected", QStringLiteral("select question,nosuchcol from shiti2012 where id=1"), {Provider}},
        {"unknown column compared", where + QStringLiteral("nosuch='nosuch'"), {Provider}},
        {"unknown column ordered", where + QStringLiteral("id=1 order by nosuch"), {Provider}},
        {"unknown table", QStringLiteral("select question from nosuch"), {Provider}},
        {"a name in double quotes", where + QStringLiteral("\"question\"='问题1'"), {Syntax}},
    };
    for (const Case& c : cases) {
        const qint64 start = cputime::threadMs();
        EXPECT_EQ(open(c.statement), c.outcome) << c.name;
        // Linear work: each of these is done in well under a second.
        EXPECT_LT(cputime::threadMs() - start, 2000 * cputime::SanitizerScale) << c.name;
    }
    EXPECT_EQ(failureNumber([&] { conn.execute(QStringLiteral("update shiti2012 set nosuch=''")); }), Provider);
}

// Banks that differ from what the program expects: each fails where the
// program reads what is not there, and a sound read stays sound.
TEST_F(Hostile, BanksWithoutAColumnFailWhereItIsRead)
{
    const QString list =
        QStringLiteral("select question,ans1,ans2,ans3,ans4,ans,bmp,flash,txbz,state from shiti2012 where ");
    struct Case {
        const char* column;
        QString statement;
    };
    const Case cases[] = {
        {"state", list + QStringLiteral("zhangjie<=7 order by id asc")},
        {"ycbz", list + QStringLiteral("zhangjie<=7 and ycbz='1' order by id asc")},
        {"zhangjie", list + QStringLiteral("zhangjie<=7 order by id asc")},
        {"id", list + QStringLiteral("zhangjie<=7 order by id asc")},
    };
    for (const Case& c : cases) {
        SetUp();
        rawbank::changeQuestionColumn(path, QString::fromLatin1(c.column));
        connect();
        EXPECT_EQ(open(c.statement), (Outcome{db::err::Provider, -1})) << c.column;
        conn.close();
    }
    // The clearing fails on a bank without answers, and writes nothing.
    SetUp();
    rawbank::changeQuestionColumn(path, QStringLiteral("state"));
    const QByteArray before = fileHash(path);
    connect();
    EXPECT_EQ(failureNumber([&] { conn.execute(QStringLiteral("update shiti2012 set state=''")); }), db::err::Provider);
    conn.close();
    EXPECT_EQ(fileHash(path), before);
}

TEST_F(Hostile, RowIdsAboveTwoToThe53AreBookmarksOfTheirOwn)
{
    {
        rawbank::Raw raw(path);
        // Three rows whose ids a double cannot tell apart, and the largest.
        raw.exec(QStringLiteral("UPDATE shiti2012 SET rowid = 9007199254740992 + id - 1 WHERE id <= 3;"
                                "UPDATE shiti2012 SET rowid = 9223372036854775807 WHERE id = 4"));
    }
    connect();
    Recordset rs;
    rs.open(QStringLiteral("select question,state from shiti2012 where id<=4 order by id asc"), conn,
            CursorType::Keyset, LockType::Optimistic);
    std::vector<vb::Variant> marks;
    for (; !rs.eof(); rs.moveNext())
        marks.push_back(rs.bookmark());
    ASSERT_EQ(marks.size(), 4u);
    for (int i : {3, 1, 0, 2}) {
        rs.setBookmark(marks[static_cast<std::size_t>(i)]);
        EXPECT_EQ(rs.value(QStringLiteral("question")).toString(), QStringLiteral("问题%1").arg(i + 1));
        rs.setValue(QStringLiteral("state"), QStringLiteral("ABCD").mid(i, 1));
    }
    EXPECT_EQ(
        column(rs, QStringLiteral("state")),
        (std::vector<QString>{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")}));
    // Bookmarks that name no row, or could not be converted, fail alike.
    for (const vb::Variant& bad :
         {vb::Variant(9.3e18), vb::Variant(1e300), vb::Variant(-1e300), vb::Variant(std::nan("")), vb::Variant(1.5)})
        EXPECT_EQ(failureNumber([&] { rs.setBookmark(bad); }), db::err::BadArgument);
}

// Another program holding the write lock is waited for only briefly: the
// write then fails with the provider's failure and changes nothing, and
// goes through once the lock is gone.
TEST_F(Hostile, ALockedBankIsWaitedForBriefly)
{
    connect();
    Recordset rs;
    rs.open(QStringLiteral("select question,state from shiti2012 where id<=2 order by id asc"), conn,
            CursorType::Keyset, LockType::Optimistic);
    auto other = std::make_unique<rawbank::Raw>(path);
    other->exec(QStringLiteral("BEGIN IMMEDIATE; UPDATE shiti2012 SET ans='2' WHERE id=88"));
    // The wait itself: the time off the processor, which a busy machine
    // lengthens only by the little work the two writes do.
    cputime::OffProcessor t;
    t.start();
    EXPECT_EQ(failureNumber([&] { rs.setValue(QStringLiteral("state"), QStringLiteral("B")); }), db::err::Provider);
    EXPECT_EQ(failureNumber([&] { conn.execute(QStringLiteral("update shiti2012 set state=''")); }), db::err::Provider);
    EXPECT_LT(t.ms(), 250);
    // Reads go on meanwhile.
    EXPECT_EQ(rs.value(QStringLiteral("state")).toString(), QString());
    other->exec(QStringLiteral("COMMIT"));
    other.reset();
    EXPECT_EQ(failureNumber([&] { rs.setValue(QStringLiteral("state"), QStringLiteral("B")); }), 0);
    EXPECT_EQ(rs.value(QStringLiteral("state")).toString(), QStringLiteral("B"));
}

} // namespace
