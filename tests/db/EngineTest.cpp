#include "Fixture.h"

#include "db/Errors.h"

#include <algorithm>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>

using namespace fixture;
using db::CursorType;
using db::LockType;
using db::Recordset;

namespace {

const QString Columns = QStringLiteral("select question,ans1,ans2,ans3,ans4,ans,bmp,flash,txbz,state from shiti2012 ");

std::vector<int> idsOf(Recordset& rs)
{
    std::vector<int> out;
    for (const QString& q : column(rs, QStringLiteral("question")))
        out.push_back(q.mid(2).toInt()); // "问题N"
    return out;
}

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("in.dll"));
        // Ids 1..21 in part 1 (chapters 1..7 in turn), written in descending
        // order so that only "order by" can give bank order; 100 and 101 in
        // part 2; 102 in no group.
        std::vector<banks::QuestionRow> rows;
        for (int id = 21; id >= 1; --id)
            rows.push_back(question(id, (id - 1) % 7 + 1, (id == 3 || id == 8 || id == 15) ? "1" : ""));
        rows.push_back(question(100, 8));
        rows.push_back(question(101, 14, "1"));
        rows.push_back(question(102, 15));
        banks::writeBank(path, Password, chapters(1, 14), rows);
    }

    void connect()
    {
        conn.setConnectionString(connString(path));
        conn.open();
    }

    std::vector<int> list(const QString& statement)
    {
        Recordset rs;
        rs.open(statement, conn, CursorType::Keyset, LockType::Optimistic);
        return idsOf(rs);
    }

    QTemporaryDir dir;
    QString path;
    db::Connection conn;
};

TEST_F(Engine, StatementsOfTheProgramGiveTheirRowsInOrder)
{
    connect();
    struct Case {
        QString statement;
        std::vector<int> ids;
    };
    std::vector<int> part1(21);
    std::iota(part1.begin(), part1.end(), 1);
    const Case cases[] = {
        {Columns + "where zhangjie<=7 order by id asc", part1},
        {Columns + "where zhangjie>=8 and zhangjie<=14 order by id asc", {100, 101}},
        {Columns + "where zhangjie<=7 and ycbz='1' order by id asc", {3, 8, 15}},
        {Columns + "where zhangjie in(2,4) order by id asc", {2, 4, 9, 11, 16, 18}},
        {Columns + "where zhangjie<=7 order by id desc", std::vector<int>(part1.rbegin(), part1.rend())},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list(c.statement), c.ids) << c.statement.toStdString();

    Recordset chapterIds;
    chapterIds.open(QStringLiteral("select id from shiti2012 where zhangjie=3"), conn);
    std::set<int> ids;
    for (; !chapterIds.eof(); chapterIds.moveNext())
        ids.insert(static_cast<int>(chapterIds.value(QStringLiteral("id")).toDouble()));
    EXPECT_EQ(ids, (std::set<int>{3, 10, 17}));

    Recordset chapterList;
    chapterList.open(
        QStringLiteral("select zhangjiename,zhangjieid from zhangjie where state=2 order by zhangjieid asc"), conn,
        CursorType::Keyset, LockType::Optimistic);
    EXPECT_EQ(chapterList.recordCount(), 7);
    EXPECT_EQ(chapterList.value(0).toString(), QStringLiteral("第8章"));
    EXPECT_DOUBLE_EQ(chapterList.value(1).toDouble(), 8);
}

TEST_F(Engine, ExpressionsFollowJet)
{
    std::vector<banks::QuestionRow> rows;
    for (int id : {7, 12, 123, 345})
        rows.push_back(question(id, 1));
    banks::writeBank(path, Password, chapters(1, 1), rows);
    connect();
    struct Case {
        const char* where;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {"Instr('abc','c')=3 and id=7", {7}},
        {"Instr('abc','x')=0 and id=7", {7}},
        {"cstr(id)='12'", {12}},
        {"'a'+'b'='ab' and id<=12", {7, 12}},
        {"id+1=13", {12}},
        {"-(id+0.5)=-7.5", {7}},
        {"id=1.2E+01", {12}},
        {"id<1.401764E-02+8", {7}},
        {"id<.5E+02", {7, 12}},
        {"id in(-1,345)", {345}},
        {"not id in(7,12)", {123, 345}},
        {"id not in(7,12) and (id=123 or id=7)", {123}},
        // A quote inside a literal stays inside it.
        {"question='a'' or ''1''=''1'", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list(Columns + "where " + c.where + " order by id asc"), c.ids) << c.where;

    EXPECT_EQ(failureNumber([&] { list(Columns + "where 'x'+1=1"); }), db::err::Provider);
}

TEST_F(Engine, PaperOrderRunsAgainstTheIdList)
{
    std::vector<banks::QuestionRow> rows;
    for (int id : {7, 12, 123, 345})
        rows.push_back(question(id, 1));
    banks::writeBank(path, Password, chapters(1, 1), rows);
    connect();
    auto paper = [&](const QString& ids) {
        return list(Columns + "where id in(" + ids + ") order by Instr('" + ids + "',','+cstr(id)) desc");
    };
    EXPECT_EQ(paper(QStringLiteral("12,7,345")), (std::vector<int>{345, 7, 12}));
    const std::vector<int> tie = paper(QStringLiteral("7,123,12"));
    ASSERT_EQ(tie.size(), 3u);
    EXPECT_EQ(std::set<int>(tie.begin(), tie.begin() + 2), (std::set<int>{123, 12}));
    EXPECT_EQ(tie[2], 7);
}

TEST_F(Engine, RndOrderIsFixedByItsArgumentAndWellSpread)
{
    std::vector<banks::QuestionRow> rows;
    for (int id = 1; id <= 1000; ++id)
        rows.push_back(question(id, (id % 7) + 1));
    banks::writeBank(path, Password, chapters(1, 7), rows);
    connect();
    const QString byX = Columns + "where zhangjie<=7 order by rnd(-(ID+%1))";
    const std::vector<int> a = list(byX.arg(QStringLiteral("0.7055475")));
    const std::vector<int> again = list(byX.arg(QStringLiteral("0.7055475")));
    const std::vector<int> other = list(byX.arg(QStringLiteral("1.401764E-02")));
    EXPECT_EQ(a, again);
    EXPECT_NE(a, other);
    std::vector<int> sorted = a;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> all(1000);
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(sorted, all);

    // A random order has about (n - 1) / 2 rises, with a spread of about
    // sqrt((n + 1) / 12) = 9; a weak hash keeps runs of neighbouring ids.
    int rises = 0;
    for (std::size_t i = 1; i < a.size(); ++i)
        rises += a[i] > a[i - 1];
    EXPECT_NEAR(rises, 499.5, 45);
    // Neither the first nor the last tenth of the list leans to small ids.
    const double firstMean = std::accumulate(a.begin(), a.begin() + 100, 0.0) / 100;
    const double lastMean = std::accumulate(a.end() - 100, a.end(), 0.0) / 100;
    EXPECT_NEAR(firstMean, 500, 90);
    EXPECT_NEAR(lastMean, 500, 90);

    EXPECT_EQ(failureNumber([&] { list(Columns + "order by rnd(id)"); }), db::err::Provider);
}

TEST_F(Engine, SetValueWritesThroughAndReadsBack)
{
    connect();
    Recordset rs;
    rs.open(Columns + "where zhangjie<=7 order by id asc", conn, CursorType::Keyset, LockType::Optimistic);
    rs.moveNext();
    rs.setValue(QStringLiteral("state"), QStringLiteral("AC"));
    EXPECT_EQ(rs.value(QStringLiteral("state")).toString(), QStringLiteral("AC"));
    rs.moveNext();
    EXPECT_EQ(rs.value(QStringLiteral("STATE")).toString(), QString());
    rs.movePrevious();
    EXPECT_EQ(rs.value(QStringLiteral("state")).toString(), QStringLiteral("AC"));

    // Another connection sees the row without any update being asked for.
    db::Connection other;
    other.setConnectionString(connString(path));
    other.open();
    Recordset seen;
    seen.open(Columns + "where id=2", other);
    EXPECT_EQ(seen.value(QStringLiteral("state")).toString(), QStringLiteral("AC"));

    // Reads see the bank's current values: a clear shows on the current row.
    conn.execute(QStringLiteral("update shiti2012 set state=''"));
    EXPECT_EQ(rs.value(QStringLiteral("state")).toString(), QString());

    Recordset readOnly;
    readOnly.open(Columns + "where id=2", conn);
    EXPECT_EQ(failureNumber([&] { readOnly.setValue(QStringLiteral("state"), QStringLiteral("A")); }),
              db::err::NotUpdatable);
    EXPECT_EQ(failureNumber([&] { rs.setValue(QStringLiteral("nosuch"), QStringLiteral("A")); }),
              db::err::ItemNotFound);
}

TEST_F(Engine, KeysetIsFixedWhenTheListOpens)
{
    connect();
    Recordset rs;
    rs.open(Columns + "where state='' order by id asc", conn, CursorType::Keyset, LockType::Optimistic);
    EXPECT_EQ(rs.recordCount(), 24);
    rs.setValue(QStringLiteral("state"), QStringLiteral("B"));
    // The answered row no longer meets the condition but stays in the list.
    EXPECT_EQ(rs.recordCount(), 24);
    rs.moveNext();
    rs.movePrevious();
    EXPECT_EQ(rs.value(QStringLiteral("state")).toString(), QStringLiteral("B"));
}

TEST_F(Engine, BookmarksAndPositions)
{
    connect();
    Recordset rs;
    rs.open(Columns + "where zhangjie<=7 order by id asc", conn, CursorType::Keyset, LockType::Optimistic);
    EXPECT_EQ(rs.absolutePosition(), 1);
    rs.moveNext();
    rs.moveNext();
    const vb::Variant third = rs.bookmark();
    EXPECT_EQ(rs.absolutePosition(), 3);
    while (!rs.eof())
        rs.moveNext();
    EXPECT_EQ(rs.absolutePosition(), Recordset::PosEOF);
    rs.setBookmark(third);
    EXPECT_EQ(rs.absolutePosition(), 3);
    EXPECT_EQ(rs.value(QStringLiteral("question")).toString(), QStringLiteral("问题3"));
    rs.moveFirst();
    EXPECT_EQ(rs.absolutePosition(), 1);

    Recordset part2;
    part2.open(Columns + "where zhangjie>=8 and zhangjie<=14 order by id asc", conn, CursorType::Keyset,
               LockType::Optimistic);
    EXPECT_EQ(failureNumber([&] { part2.setBookmark(third); }), db::err::BadArgument);
    EXPECT_EQ(failureNumber([&] { part2.setBookmark(QStringLiteral("x")); }), db::err::BadArgument);
}

TEST_F(Engine, EndsOfTheList)
{
    connect();
    Recordset rs;
    rs.open(Columns + "where zhangjie>=8 and zhangjie<=14 order by id asc", conn, CursorType::Keyset,
            LockType::Optimistic);
    EXPECT_FALSE(rs.bof());
    EXPECT_FALSE(rs.eof());
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.absolutePosition(), Recordset::PosBOF);
    EXPECT_EQ(failureNumber([&] { rs.value(QStringLiteral("question")); }), db::err::NoCurrentRecord);
    EXPECT_EQ(failureNumber([&] { rs.movePrevious(); }), db::err::NoCurrentRecord);
    rs.moveNext();
    EXPECT_EQ(rs.value(QStringLiteral("question")).toString(), QStringLiteral("问题100"));
    rs.moveNext();
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_FALSE(rs.bof());
    EXPECT_EQ(failureNumber([&] { rs.moveNext(); }), db::err::NoCurrentRecord);
    EXPECT_EQ(failureNumber([&] { rs.bookmark(); }), db::err::NoCurrentRecord);
    rs.movePrevious();
    EXPECT_EQ(rs.value(QStringLiteral("question")).toString(), QStringLiteral("问题101"));

    Recordset empty;
    empty.open(Columns + "where zhangjie=99 order by id asc", conn, CursorType::Keyset, LockType::Optimistic);
    EXPECT_TRUE(empty.eof());
    EXPECT_TRUE(empty.bof());
    EXPECT_EQ(empty.recordCount(), 0);
    EXPECT_EQ(failureNumber([&] { empty.bookmark(); }), db::err::NoCurrentRecord);
    EXPECT_EQ(failureNumber([&] { empty.moveNext(); }), db::err::NoCurrentRecord);

    Recordset forward;
    forward.open(QStringLiteral("select id from shiti2012 where zhangjie=1"), conn);
    EXPECT_EQ(failureNumber([&] { forward.movePrevious(); }), db::err::NotAllowed);
}

TEST_F(Engine, ClearingAnswersWritesOnlyAnsweredRows)
{
    std::vector<banks::QuestionRow> rows;
    for (int id = 1; id <= 5; ++id)
        rows.push_back(question(id, 1));
    rows[1].state = QStringLiteral("A");
    rows[2].state = vb::Variant::null();
    banks::writeBank(path, Password, chapters(1, 1), rows);
    connect();
    conn.execute(QStringLiteral("update shiti2012 set state=''"));
    Recordset rs;
    rs.open(Columns + "order by id asc", conn, CursorType::Keyset, LockType::Optimistic);
    for (; !rs.eof(); rs.moveNext()) {
        EXPECT_EQ(rs.value(QStringLiteral("state")).type(), vb::Variant::Type::String);
        EXPECT_EQ(rs.value(QStringLiteral("state")).toString(), QString());
    }
    rs.close();
    conn.close();

    // With nothing to clear, the file is not written at all.
    const QByteArray before = fileHash(path);
    connect();
    conn.execute(QStringLiteral("update shiti2012 set state=''"));
    conn.close();
    EXPECT_EQ(fileHash(path), before);
}

TEST_F(Engine, BadBankFilesFailToOpenAndStayAsTheyWere)
{
    const QByteArray bank = fileHash(path);
    struct Case {
        const char* name;
        QString target;
        QString password;
        long number;
    };
    const QString missing = dir.filePath(QStringLiteral("kc.dll"));
    const QString truncated = dir.filePath(QStringLiteral("short.dll"));
    const QString foreign = dir.filePath(QStringLiteral("foreign.dll"));
    const QString empty = dir.filePath(QStringLiteral("empty.dll"));
    {
        QFile in(path);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        QFile out(truncated);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(in.read(1500));
        QFile text(foreign);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("Standard Jet DB, or so it says\n");
        QFile none(empty);
        ASSERT_TRUE(none.open(QIODevice::WriteOnly));
    }
    const Case cases[] = {
        {"missing file", missing, Password, db::err::Provider},
        {"wrong password", path, QStringLiteral("qz.marvolen.t419"), db::err::BadPassword},
        {"empty password", path, QString(), db::err::BadPassword},
        {"truncated file", truncated, Password, 0},
        {"foreign file", foreign, Password, db::err::BadPassword},
        {"empty file", empty, Password, db::err::BadPassword},
    };
    for (const Case& c : cases) {
        const QByteArray before = fileHash(c.target);
        db::Connection bad;
        bad.setConnectionString(connString(c.target, c.password));
        try {
            bad.open();
            ADD_FAILURE() << c.name << ": opened";
        } catch (const vb::Failure& f) {
            if (c.number) {
                EXPECT_EQ(f.number(), c.number) << c.name;
            }
            EXPECT_FALSE(f.description().isEmpty()) << c.name;
        }
        EXPECT_FALSE(bad.isOpen()) << c.name;
        EXPECT_EQ(fileHash(c.target), before) << c.name;
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(fileHash(path), bank);

    db::Connection other;
    other.setConnectionString(QStringLiteral("Provider=SQLOLEDB;Data Source=") + path);
    EXPECT_EQ(failureNumber([&] { other.open(); }), db::err::ProviderNotFound);
}

TEST_F(Engine, AnIdFromTheBankIsAlwaysANumber)
{
    // A bank whose id column holds a text made to end the in-list early:
    // reading it fails, so it can never be joined into a paper statement.
    banks::QuestionRow evil = question(1, 1);
    evil.id = QStringLiteral("1) or (1=1");
    banks::writeBank(path, Password, chapters(1, 1), {evil, question(2, 1)});
    connect();
    Recordset ids;
    ids.open(QStringLiteral("select id from shiti2012 where zhangjie=1"), conn);
    std::vector<long> numbers;
    for (; !ids.eof(); ids.moveNext())
        numbers.push_back(failureNumber([&] { ids.value(QStringLiteral("id")); }));
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<long>{0, vb::err::TypeMismatch}));
}

TEST_F(Engine, AReopenedBankIsCheckedAgain)
{
    // A connection closed and opened again must notice a bank that was
    // replaced or removed in between.
    connect();
    conn.close();
    QFile::remove(path);
    EXPECT_EQ(failureNumber([&] { conn.open(); }), db::err::Provider);
    banks::writeBank(path, QStringLiteral("another.password"), chapters(1, 1), {question(1, 1)});
    EXPECT_EQ(failureNumber([&] { conn.open(); }), db::err::BadPassword);

    // Copied over the bank in place with its size and time kept, as a
    // restore from a backup does: the same file, size and time stamp.
    banks::writeBank(path, Password, chapters(1, 1), {question(1, 1)});
    connect();
    conn.close();
    const QString other = dir.filePath(QStringLiteral("other.dll"));
    banks::writeBank(other, QStringLiteral("another.password"), chapters(1, 1), {question(1, 1)});
    QFile source(other);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    ASSERT_EQ(bytes.size(), before.st_size);
    {
        QFile target(path);
        ASSERT_TRUE(target.open(QIODevice::WriteOnly | QIODevice::Truncate));
        target.write(bytes);
    }
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    EXPECT_EQ(failureNumber([&] { conn.open(); }), db::err::BadPassword);
}

TEST_F(Engine, APreparedBankIsCheckedAgainWhenOpened)
{
    // A bank prepared ahead of its connection is opened on another thread;
    // whatever happened to the file after that, the connection sees the file
    // as it is when it opens, with the failures of a first opening.
    const QString other = QStringLiteral("another.password");
    auto bank = [](const QString& file, const QString& password) {
        banks::writeBank(file, password, chapters(1, 1), {question(1, 1)});
    };
    auto nothing = [](const QString&) {};
    struct Case {
        const char* name;
        bool there;               // the file exists when it is prepared
        QString preparedPassword; // the password of the preparation
        std::function<void(const QString&)> then;
        QString openPassword;
        long number; // 0: opens and lists the bank's one question
    };
    const Case cases[] = {
        {"unchanged", true, Password, nothing, Password, 0},
        {"removed", true, Password, [](const QString& f) { QFile::remove(f); }, Password, db::err::Provider},
        {"replaced, another password", true, Password, [&](const QString& f) { bank(f, other); }, Password,
         db::err::BadPassword},
        {"replaced, same password", true, Password, [&](const QString& f) { bank(f, Password); }, Password, 0},
        {"prepared and opened with a wrong password", true, other, nothing, other, db::err::BadPassword},
        {"prepared with a wrong password", true, other, nothing, Password, 0},
        {"missing when prepared", false, Password, [&](const QString& f) { bank(f, Password); }, Password, 0},
    };
    std::vector<QString> files;
    for (const Case& c : cases) {
        files.push_back(dir.filePath(QStringLiteral("prepared%1.dll").arg(files.size())));
        if (c.there)
            bank(files.back(), Password);
        db::prepareConnection(connString(files.back(), c.preparedPassword));
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        c.then(files[i]);
        db::Connection prepared;
        prepared.setConnectionString(connString(files[i], c.openPassword));
        EXPECT_EQ(failureNumber([&] { prepared.open(); }), c.number) << c.name;
        if (c.number == 0) {
            Recordset rs;
            rs.open(Columns + QStringLiteral("where zhangjie<=7"), prepared, CursorType::Keyset, LockType::Optimistic);
            EXPECT_EQ(idsOf(rs), std::vector<int>{1}) << c.name;
        }
    }
}

TEST_F(Engine, ClosedObjectsFail)
{
    EXPECT_EQ(failureNumber([&] { conn.close(); }), db::err::ObjectClosed);
    EXPECT_EQ(failureNumber([&] { conn.execute(QStringLiteral("update shiti2012 set state=''")); }),
              db::err::ObjectClosed);
    Recordset rs;
    EXPECT_EQ(failureNumber([&] { rs.close(); }), db::err::ObjectClosed);
    EXPECT_EQ(failureNumber([&] { rs.open(Columns + "order by id asc", conn); }), db::err::ConnectionUnusable);
    connect();
    EXPECT_EQ(failureNumber([&] { conn.open(); }), db::err::ObjectOpen);
    rs.open(Columns + "order by id asc", conn, CursorType::Keyset, LockType::Optimistic);
    EXPECT_EQ(failureNumber([&] { rs.open(Columns + "order by id asc", conn); }), db::err::ObjectOpen);
    conn.close();
    // Closing the connection closed its list.
    EXPECT_FALSE(rs.isOpen());
    EXPECT_EQ(failureNumber([&] { rs.value(QStringLiteral("question")); }), db::err::ObjectClosed);
    EXPECT_EQ(failureNumber([&] { rs.close(); }), db::err::ObjectClosed);
}

TEST_F(Engine, StatementsOutsideTheDialectFailAndChangeNothing)
{
    connect();
    conn.execute(QStringLiteral("update shiti2012 set state=''")); // leaves nothing to write later
    conn.close();
    const QByteArray before = fileHash(path);
    connect();
    const char* statements[] = {
        "select question from shiti2012; delete from shiti2012",
        "update shiti2012 set state='A'; update shiti2012 set ans=''",
        "delete from shiti2012",
        "drop table shiti2012",
        "select * from shiti2012",
        "select question from shiti2012 where id in(1,'2')",
        "select question from shiti2012 where id in()",
        "select question from shiti2012 where id in(1) or 1=1) --",
        "select question from shiti2012 where id in(1) -- comment",
        "select question from shiti2012 where question like '%'",
        "select question from shiti2012 order by unknownfn(id)",
        "select question from shiti2012 where id=1 union select zhangjiename from zhangjie",
        "select question from shiti2012 where question='open",
        "select question from shiti2012 where id=1e",
        "select [question from shiti2012",
        "",
    };
    for (const char* s : statements) {
        const QString statement = QString::fromUtf8(s);
        EXPECT_EQ(failureNumber([&] {
                      Recordset rs;
                      rs.open(statement, conn);
                  }),
                  db::err::Syntax)
            << s;
        EXPECT_NE(failureNumber([&] { conn.execute(statement); }), 0) << s;
    }
    EXPECT_EQ(failureNumber([&] { conn.execute(Columns + "where id=1"); }), db::err::NotAllowed);
    conn.close();
    EXPECT_EQ(fileHash(path), before);
}

} // namespace
