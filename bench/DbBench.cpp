// The engine against the raw SQLCipher C API on generated banks of 1,041,
// 10,000 and 100,000 questions, side by side:
//   ListOpening: close, connect, clear every answer, open the sequential
//                list, count it, read the first row's ten columns;
//   PaperOpening: open a 100-question mock paper on an open connection;
//   ClearAnswers: clear the answers when 100 rows are answered.
// Raw/...: the same statements with no engine in between. RawKeptOpen/...:
// the raw list opening on a handle that is never closed, which is what the
// engine's reuse of closed connections amounts to.
#include <sqlcipher/sqlite3.h>

#include "GeneratedBank.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "vb/Failure.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <random>

namespace {

const QString Password = QStringLiteral("qz.marvolen.t418");
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
    const QString statement = QStringLiteral("select %1 from shiti2012 where zhangjie<=7 order by id asc")
                                  .arg(QLatin1String(Columns));
    for (auto _ : state) {
        vb::skipOnFailure([&] { rs->close(); });
        vb::skipOnFailure([&] { conn.close(); });
        conn.setConnectionString(connString(path));
        conn.open();
        conn.execute(QStringLiteral("update shiti2012 set state=''"));
        rs = std::make_unique<db::Recordset>();
        rs->open(statement, conn, db::CursorType::Keyset, db::LockType::Optimistic);
        benchmark::DoNotOptimize(rs->recordCount());
        readFirstRow(*rs, state);
    }
}

void EnginePaperOpening(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    db::Connection conn;
    conn.setConnectionString(connString(bankOf(size)));
    conn.open();
    const QString ids = QString::fromStdString(paperIds(size));
    const QString statement = QStringLiteral("select %1 from shiti2012 where id in(%2) order by Instr('%2',','+cstr(id)) desc")
                                  .arg(QLatin1String(Columns), ids);
    for (auto _ : state) {
        db::Recordset rs;
        rs.open(statement, conn, db::CursorType::Keyset, db::LockType::Optimistic);
        benchmark::DoNotOptimize(rs.recordCount());
        readFirstRow(rs, state);
    }
}

sqlite3* rawOpen(const QString& path);

// The set-up of a clear, not measured: 100 answered rows, in one step.
void answerHundred(sqlite3* db)
{
    sqlite3_exec(db, "UPDATE shiti2012 SET state='A' WHERE id<=100", nullptr, nullptr, nullptr);
}

void EngineClearAnswers(benchmark::State& state)
{
    const QString path = bankOf(static_cast<int>(state.range(0)));
    sqlite3* setup = rawOpen(path);
    db::Connection conn;
    conn.setConnectionString(connString(path));
    conn.open();
    for (auto _ : state) {
        state.PauseTiming();
        answerHundred(setup);
        state.ResumeTiming();
        conn.execute(QStringLiteral("update shiti2012 set state=''"));
    }
    conn.close();
    sqlite3_close(setup);
}

// Raw SQLCipher -----------------------------------------------------------

sqlite3* rawOpen(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = Password.toUtf8();
    sqlite3_key(db, key.constData(), key.size());
    return db;
}

int rawListAndFirstRow(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
    int count = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        if (count++ == 0)
            for (int i = 0; i < 10; ++i)
                benchmark::DoNotOptimize(sqlite3_column_text(s, i));
    }
    sqlite3_finalize(s);
    return count;
}

const std::string RawSequential = std::string("SELECT ") + Columns + " FROM shiti2012 WHERE zhangjie<=7 ORDER BY id ASC";

void RawListOpening(benchmark::State& state)
{
    const QString path = bankOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        sqlite3* db = rawOpen(path);
        sqlite3_exec(db, "UPDATE shiti2012 SET state=''", nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(rawListAndFirstRow(db, RawSequential));
        sqlite3_close(db);
    }
}

void RawKeptOpenListOpening(benchmark::State& state)
{
    sqlite3* db = rawOpen(bankOf(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        sqlite3_exec(db, "UPDATE shiti2012 SET state=''", nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(rawListAndFirstRow(db, RawSequential));
    }
    sqlite3_close(db);
}

void RawPaperOpening(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    sqlite3* db = rawOpen(bankOf(size));
    const std::string ids = paperIds(size);
    const std::string sql = std::string("SELECT ") + Columns + " FROM shiti2012 WHERE id IN (" + ids
        + ") ORDER BY instr('" + ids + "', ',' || id) DESC";
    for (auto _ : state)
        benchmark::DoNotOptimize(rawListAndFirstRow(db, sql));
    sqlite3_close(db);
}

void RawClearAnswers(benchmark::State& state)
{
    sqlite3* db = rawOpen(bankOf(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        answerHundred(db);
        state.ResumeTiming();
        sqlite3_exec(db, "update shiti2012 set state=''", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
}

void sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(1041)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(EngineListOpening)->Apply(sizes);
BENCHMARK(RawListOpening)->Apply(sizes);
BENCHMARK(RawKeptOpenListOpening)->Apply(sizes);
BENCHMARK(EnginePaperOpening)->Apply(sizes);
BENCHMARK(RawPaperOpening)->Apply(sizes);
// Fixed iterations: the unmeasured set-up of each would otherwise repeat
// thousands of times.
BENCHMARK(EngineClearAnswers)->Apply(sizes)->Iterations(30);
BENCHMARK(RawClearAnswers)->Apply(sizes)->Iterations(30);

BENCHMARK_MAIN();
