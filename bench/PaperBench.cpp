// Drawing and opening a Penmaro part-1 mock paper (OpenRandomSet(true)):
// reconnect, clear the answers, four chapter picks and the shuffles, the
// 100-question list opened and its first question shown. On the sample
// bank (Arg 0), and on generated banks of 1,041 and 10,000 questions spread
// like db_bench's, so the figures stand beside its PaperOpening.
#include "study/FormMain.h"

#include "GeneratedBank.h"
#include "forms/MsgBox.h"
#include "forms/Picture.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

const QString Password = QStringLiteral("qz.marvolen.t418");

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

void PaperDrawnAndOpened(benchmark::State& state)
{
    forms::setAppPath(folderOf(static_cast<int>(state.range(0))));
    study::FormMain form(study::penmaro());
    form.show();
    QApplication::processEvents();
    for (auto _ : state)
        form.OpenRandomSet(true);
    if (!form.Rs || !form.Rs->isOpen() || form.Rs->recordCount() != 100)
        state.SkipWithError("no 100-question paper was opened");
    form.unload();
    forms::setAppPath(QString());
}

} // namespace

BENCHMARK(PaperDrawnAndOpened)->Arg(0)->Arg(1041)->Arg(10000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    forms::installFontSubstitutes();
    forms::registerCursorResource(101, QStringLiteral(":/hand.svg"), QPoint(12, 1));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
