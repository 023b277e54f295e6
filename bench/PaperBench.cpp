// Drawing and opening a Penmaro part-1 mock paper (OpenRandomSet(true)):
// reconnect, clear the answers, four chapter picks and the shuffles, the
// 100-question list opened and its first question shown. On the sample
// bank (Arg 0), and on generated banks of 1,041 and 10,000 questions spread
// like db_bench's, so the figures stand beside its PaperOpening.
// FairRaw/...: a hand-written SQLCipher program doing the same draw well,
// side by side: one connection kept open, the statements prepared once, the
// same cache, warmed up; the ids of each chapter read as numbers, a partial
// shuffle taking the quota, the paper shuffled, the answered rows cleared,
// the paper's row ids read in order and its first row's columns.
#include "study/FormMain.h"

#include <sqlcipher/sqlite3.h>

#include "BankKey.h"
#include "GeneratedBank.h"
#include "Ratios.h"
#include "RawSqlite.h"
#include "forms/MsgBox.h"
#include "forms/Picture.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const QString Password = QStringLiteral(BANK_PASSWORD);

// One program folder per bank: the window opens "in.dll" in its folder.
const QString& folderOf(int size)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> dirs;
    static std::map<int, QString> folders;
    if (auto found = folders.find(size); found != folders.end())
        return found->second;
    auto dir = std::make_unique<QTemporaryDir>();
    const QString bank = dir->filePath(QStringLiteral("in.dll"));
    if (size == 0) {
        if (!QFile::copy(QStringLiteral(SAMPLE_BANK), bank))
            std::fprintf(stderr, "cannot copy the sample bank %s\n", SAMPLE_BANK);
    } else {
        writeGeneratedBank(bank, size);
    }
    folders[size] = dir->path();
    dirs[size] = std::move(dir);
    return folders[size];
}

constexpr int WarmUps = 3;

void EnginePaperDrawnAndOpened(benchmark::State& state)
{
    forms::setAppPath(folderOf(static_cast<int>(state.range(0))));
    study::FormMain form(study::penmaro());
    form.show();
    QApplication::processEvents();
    for (int i = 0; i < WarmUps; ++i)
        form.OpenRandomSet(true);
    for (auto _ : state)
        form.OpenRandomSet(true);
    if (!form.Rs || !form.Rs->isOpen() || form.Rs->recordCount() != 100)
        state.SkipWithError("no 100-question paper was opened");
    form.unload();
    forms::setAppPath(QString());
}

void FairRawPaperDrawnAndOpened(benchmark::State& state)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2((folderOf(static_cast<int>(state.range(0))) + QStringLiteral("/in.dll")).toUtf8().constData(), &db,
                    SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = Password.toUtf8();
    sqlite3_key(db, key.constData(), key.size());
    sqlite3_exec(db, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    std::mt19937 gen(std::random_device{}());
    {
        Prepared chapter(db, "SELECT id FROM shiti2012 WHERE zhangjie=?");
        Prepared clear(db, "UPDATE shiti2012 SET state='' WHERE state IS NULL OR state<'' OR state>''");
        Prepared row(db, "SELECT question,ans1,ans2,ans3,ans4,ans,bmp,flash,txbz,state FROM shiti2012 WHERE rowid=?");
        const std::vector<std::pair<int, int>> quotas = study::penmaro().paperQuotas;
        std::size_t count = 0;
        auto drawAndOpen = [&] {
            std::vector<sqlite3_int64> paper;
            for (const auto& [c, quota] : quotas) {
                std::vector<sqlite3_int64> ids;
                sqlite3_bind_int(chapter.get(), 1, c);
                while (sqlite3_step(chapter.get()) == SQLITE_ROW)
                    ids.push_back(sqlite3_column_int64(chapter.get(), 0));
                sqlite3_reset(chapter.get());
                if (ids.size() < static_cast<std::size_t>(quota))
                    continue;
                for (int i = 0; i < quota; ++i) {
                    std::uniform_int_distribution<std::size_t> pick(static_cast<std::size_t>(i), ids.size() - 1);
                    std::swap(ids[static_cast<std::size_t>(i)], ids[pick(gen)]);
                    paper.push_back(ids[static_cast<std::size_t>(i)]);
                }
            }
            std::shuffle(paper.begin(), paper.end(), gen);
            sqlite3_step(clear.get());
            sqlite3_reset(clear.get());
            std::string list;
            for (const sqlite3_int64 id : paper)
                list += (list.empty() ? "" : ",") + std::to_string(id);
            // The paper's own statement, in the order of the drawn list.
            Prepared open(db,
                          "SELECT rowid FROM shiti2012 WHERE id IN (" + list + ") ORDER BY instr('" + list
                              + "', ',' || id) DESC");
            std::vector<sqlite3_int64> keys;
            while (sqlite3_step(open.get()) == SQLITE_ROW)
                keys.push_back(sqlite3_column_int64(open.get(), 0));
            if (!keys.empty()) {
                sqlite3_bind_int64(row.get(), 1, keys.front());
                if (sqlite3_step(row.get()) == SQLITE_ROW)
                    for (int i = 0; i < 10; ++i)
                        benchmark::DoNotOptimize(sqlite3_column_text(row.get(), i));
                sqlite3_reset(row.get());
            }
            count = keys.size();
        };
        for (int i = 0; i < WarmUps; ++i)
            drawAndOpen();
        for (auto _ : state)
            drawAndOpen();
        if (count != 100)
            state.SkipWithError("no 100-question paper was opened");
    }
    sqlite3_close(db);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    forms::installFontSubstitutes();
    forms::registerCursorResource(101, QStringLiteral(":/hand.svg"), QPoint(12, 1));
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("Engine/PaperDrawnAndOpened", EnginePaperDrawnAndOpened)
        ->Arg(0)
        ->Arg(1041)
        ->Arg(10000)
        ->Unit(benchmark::kMicrosecond);
    RegisterBenchmark("FairRaw/PaperDrawnAndOpened", FairRawPaperDrawnAndOpened)
        ->Arg(0)
        ->Arg(1041)
        ->Arg(10000)
        ->Unit(benchmark::kMicrosecond);
    return runBenchmarksWithRatios(argc, argv);
}
