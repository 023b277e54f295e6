// The engine against a hand-written SQLCipher program doing the same work
// well, on generated banks of 1,041, 10,000 and 100,000 questions, side by
// side in one run:
//   ListOpening: close, connect, clear the answers, open the sequential
//                list, count it, read the first row's ten columns;
//   PaperOpening: open a 100-question mock paper on an open connection;
//   ClearAnswers: clear the answers when 100 rows are answered.
// FairRaw/...: one connection kept open, the statements prepared once, the
// clear touching only the answered rows, the engine's cache size, warmed up
// like the engine. LiteralRaw/...: the same program running the program's
// literal clearing statement, which rewrites every row.
#include <sqlcipher/sqlite3.h>

#include "BankKey.h"
#include "GeneratedBank.h"
#include "Ratios.h"
#include "RawSqlite.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "vb/Failure.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <random>

namespace {

const QString Password = QStringLiteral(BANK_PASSWORD);
const char* const Columns = "question,ans1,ans2,ans3,ans4,ans,bmp,flash,txbz,state";

QTemporaryDir& tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

// One bank per size, chapters 1 to 14 in the proportions of a real bank.
const QString& bankOf(int size)
{
    static std::map<int, QString> banks;
    auto found = banks.find(size);
    if (found != banks.end())
        return found->second;
    const QString path = tempDir().filePath(QStringLiteral("bank%1.dll").arg(size));
    writeGeneratedBank(path, size);
    return banks[size] = path;
}

QString connString(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
        + QStringLiteral(";jet oledb:database password=") + Password;
}

std::string paperIds(int size)
{
    std::mt19937 gen(42);
    std::vector<int> all(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        all[static_cast<std::size_t>(i)] = i + 1;
    std::shuffle(all.begin(), all.end(), gen);
    std::string ids;
    for (int i = 0; i < 100; ++i)
        ids += (i ? "," : "") + std::to_string(all[static_cast<std::size_t>(i)]);
    return ids;
}

// Both sides run their work a few times before the clock starts: the pages
// of the bank are then in the cache, as they are after a person's first click.
constexpr int WarmUps = 3;

// Engine ------------------------------------------------------------------

void readFirstRow(db::Recordset& rs, benchmark::State& state)
{
    if (rs.eof())
        return;
    for (const char* c : {"question", "ans1", "ans2", "ans3", "ans4", "ans", "bmp", "flash", "txbz", "state"})
        benchmark::DoNotOptimize(rs.value(QLatin1String(c)));
    (void)state;
}

void EngineListOpening(benchmark::State& state)
{
    const QString path = bankOf(static_cast<int>(state.range(0)));
    db::Connection conn;
    std::unique_ptr<db::Recordset> rs = std::make_unique<db::Recordset>();
    const QString statement =
        QStringLiteral("select %1 from shiti2012 where zhangjie<=7 order by id asc").arg(QLatin1String(Columns));
    auto opening = [&] {
        vb::skipOnFailure([&] { rs->close(); });
        vb::skipOnFailure([&] { conn.close(); });
        conn.setConnectionString(connString(path));
        conn.open();
        conn.execute(QStringLiteral("update shiti2012 set state=''"));
        rs = std::make_unique<db::Recordset>();
        rs->open(statement, conn, db::CursorType::Keyset, db::LockType::Optimistic);
        benchmark::DoNotOptimize(rs->recordCount());
        readFirstRow(*rs, state);
    };
    for (int i = 0; i < WarmUps; ++i)
        opening();
    for (auto _ : state)
        opening();
}

void EnginePaperOpening(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    db::Connection conn;
    conn.setConnectionString(connString(bankOf(size)));
    conn.open();
    const QString ids = QString::fromStdString(paperIds(size));
    const QString statement =
        QStringLiteral("select %1 from shiti2012 where id in(%2) order by Instr('%2',','+cstr(id)) desc")
            .arg(QLatin1String(Columns), ids);
    auto opening = [&] {
        db::Recordset rs;
        rs.open(statement, conn, db::CursorType::Keyset, db::LockType::Optimistic);
        benchmark::DoNotOptimize(rs.recordCount());
        readFirstRow(rs, state);
    };
    for (int i = 0; i < WarmUps; ++i)
        opening();
    for (auto _ : state)
        opening();
}

void EngineClearAnswers(benchmark::State& state)
{
    const QString path = bankOf(static_cast<int>(state.range(0)));
    db::Connection conn;
    conn.setConnectionString(connString(path));
    conn.open();
    for (int i = 0; i < WarmUps; ++i)
        conn.execute(QStringLiteral("update shiti2012 set state=''"));
    for (auto _ : state) {
        state.PauseTiming();
        conn.execute(QStringLiteral("update shiti2012 set state='A' where id<=100"));
        state.ResumeTiming();
        conn.execute(QStringLiteral("update shiti2012 set state=''"));
    }
    conn.close();
}

// Raw SQLCipher -----------------------------------------------------------

sqlite3* rawOpen(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = Password.toUtf8();
    sqlite3_key(db, key.constData(), key.size());
    // The engine's cache: room for a whole bank's pages.
    sqlite3_exec(db, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    return db;
}

// What a careful program writes: only the rows that hold an answer, found
// through the index on the column.
const char* const FairClear = "UPDATE shiti2012 SET state='' WHERE state IS NULL OR state<'' OR state>''";
const char* const LiteralClear = "UPDATE shiti2012 SET state=''";
// A list as a careful program keeps it: the row ids, counted, and a row's
// columns read when it is shown.
const char* const RawSequential = "SELECT rowid FROM shiti2012 WHERE zhangjie<=7 ORDER BY id ASC";
const std::string RawRow = std::string("SELECT ") + Columns + " FROM shiti2012 WHERE rowid=?";

void countAndShowFirst(Prepared& list, Prepared& row)
{
    const std::vector<sqlite3_int64> keys = list.keys();
    benchmark::DoNotOptimize(keys.size());
    if (!keys.empty())
        row.readRow(keys.front());
}

void rawListOpening(benchmark::State& state, const char* clear)
{
    sqlite3* db = rawOpen(bankOf(static_cast<int>(state.range(0))));
    {
        Prepared clearing(db, clear);
        Prepared list(db, RawSequential);
        Prepared row(db, RawRow);
        auto opening = [&] {
            clearing.run();
            countAndShowFirst(list, row);
        };
        for (int i = 0; i < WarmUps; ++i)
            opening();
        for (auto _ : state)
            opening();
    }
    sqlite3_close(db);
}

void FairRawListOpening(benchmark::State& state)
{
    rawListOpening(state, FairClear);
}

void LiteralRawListOpening(benchmark::State& state)
{
    rawListOpening(state, LiteralClear);
}

void FairRawPaperOpening(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    sqlite3* db = rawOpen(bankOf(size));
    const std::string ids = paperIds(size);
    // Every paper has ids of its own, so its statement is prepared afresh.
    const std::string sql =
        "SELECT rowid FROM shiti2012 WHERE id IN (" + ids + ") ORDER BY instr('" + ids + "', ',' || id) DESC";
    {
        Prepared row(db, RawRow);
        auto opening = [&] {
            Prepared paper(db, sql);
            countAndShowFirst(paper, row);
        };
        for (int i = 0; i < WarmUps; ++i)
            opening();
        for (auto _ : state)
            opening();
    }
    sqlite3_close(db);
}

void rawClearAnswers(benchmark::State& state, const char* clear)
{
    sqlite3* db = rawOpen(bankOf(static_cast<int>(state.range(0))));
    {
        Prepared clearing(db, clear);
        for (int i = 0; i < WarmUps; ++i)
            clearing.run();
        for (auto _ : state) {
            state.PauseTiming();
            // The set-up, not measured: 100 answered rows, on the same connection.
            sqlite3_exec(db, "UPDATE shiti2012 SET state='A' WHERE id<=100", nullptr, nullptr, nullptr);
            state.ResumeTiming();
            clearing.run();
        }
    }
    sqlite3_close(db);
}

void FairRawClearAnswers(benchmark::State& state)
{
    rawClearAnswers(state, FairClear);
}

void LiteralRawClearAnswers(benchmark::State& state)
{
    rawClearAnswers(state, LiteralClear);
}

void sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(1041)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
}

} // namespace

int main(int argc, char** argv)
{
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("Engine/ListOpening", EngineListOpening)->Apply(sizes);
    RegisterBenchmark("FairRaw/ListOpening", FairRawListOpening)->Apply(sizes);
    RegisterBenchmark("LiteralRaw/ListOpening", LiteralRawListOpening)->Apply(sizes);
    RegisterBenchmark("Engine/PaperOpening", EnginePaperOpening)->Apply(sizes);
    RegisterBenchmark("FairRaw/PaperOpening", FairRawPaperOpening)->Apply(sizes);
    // Fixed iterations: the unmeasured set-up of each would otherwise repeat
    // thousands of times.
    RegisterBenchmark("Engine/ClearAnswers", EngineClearAnswers)->Apply(sizes)->Iterations(30);
    RegisterBenchmark("FairRaw/ClearAnswers", FairRawClearAnswers)->Apply(sizes)->Iterations(30);
    RegisterBenchmark("LiteralRaw/ClearAnswers", LiteralRawClearAnswers)->Apply(sizes)->Iterations(30);
    return runBenchmarksWithRatios(argc, argv);
}
