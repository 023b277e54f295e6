// From a click on a tab to the first question painted: the handler, then a
// synchronous repaint of the window. On the sample bank (Arg 0) and on a
// generated bank of 10,000 questions (Arg 10000).
//   .../FirstClick: the first click after start-up. Each repetition starts
//     a window of its own on a fresh copy of the bank (so nothing of an
//     earlier opening is kept), shows it, and waits as long as a person
//     needs to see the window and reach a tab, before it clicks once.
//     Prepared: as the programs start (the bank made ready on a worker
//     thread once the window is shown); NotPrepared: without that, as before.
//   .../RepeatClick: the same tab clicked again on a window in use.
//   HandIn: 100 questions marked, the cells recoloured, the dialog shown
//     (and closed at once: the dialog itself is left out).
#include "study/FormMain.h"

#include "GeneratedBank.h"
#include "Ratios.h"
#include "forms/MsgBox.h"
#include "forms/Picture.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

namespace {

// What a person takes, at the least, between the window appearing and a
// click on one of its tabs.
constexpr int ReachMs = 250;

QTemporaryDir& tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

// The bank of each size, made once; every window opens a copy of it.
const QString& bankOf(int size)
{
    static std::map<int, QString> banks;
    if (auto found = banks.find(size); found != banks.end())
        return found->second;
    const QString path = tempDir().filePath(QStringLiteral("bank%1.dll").arg(size));
    if (size == 0) {
        if (!QFile::copy(QStringLiteral(SAMPLE_BANK), path))
            std::fprintf(stderr, "cannot copy the sample bank %s\n", SAMPLE_BANK);
    } else {
        writeGeneratedBank(path, size);
    }
    return banks[size] = path;
}

// A program folder holding a fresh copy of the bank as "in.dll".
QString freshFolder(int size)
{
    static int n = 0;
    const QString folder = tempDir().filePath(QStringLiteral("program%1").arg(++n));
    QDir().mkpath(folder);
    QFile::copy(bankOf(size), folder + QStringLiteral("/in.dll"));
    return folder;
}

void waitAsAPerson()
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ReachMs) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

double clickAndPaint(study::FormMain& form, std::int16_t tab)
{
    const auto start = std::chrono::steady_clock::now();
    form.imgNav_Click(tab);
    form.window()->repaint();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void firstClick(benchmark::State& state, std::int16_t tab, bool prepared)
{
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const QString folder = freshFolder(size);
        forms::setAppPath(folder);
        {
            study::FormMain form(study::penmaro());
            form.show();
            QApplication::processEvents();
            if (prepared)
                form.PrepareBank();
            waitAsAPerson();
            state.SetIterationTime(clickAndPaint(form, tab));
            form.unload();
        }
        QFile::remove(folder + QStringLiteral("/in.dll"));
    }
    forms::setAppPath(QString());
}

void repeatClick(benchmark::State& state, std::int16_t tab)
{
    const QString folder = freshFolder(static_cast<int>(state.range(0)));
    forms::setAppPath(folder);
    study::FormMain form(study::penmaro());
    form.show();
    QApplication::processEvents();
    form.PrepareBank();
    clickAndPaint(form, tab);
    for (auto _ : state)
        state.SetIterationTime(clickAndPaint(form, tab));
    form.unload();
    forms::setAppPath(QString());
}

void HandIn(benchmark::State& state)
{
    forms::setAppPath(freshFolder(static_cast<int>(state.range(0))));
    study::FormMain form(study::penmaro());
    form.show();
    QApplication::processEvents();
    forms::setMsgBoxResponder([](const forms::MsgBoxRequest&) { return forms::vbYes; });
    forms::setModalResponder([](forms::Form&) {});
    for (auto _ : state) {
        state.PauseTiming();
        form.imgNav_Click(4);
        for (int i = 0; i < 50; ++i)
            form.imgAnswer_Click(static_cast<std::int16_t>(i % 2));
        QApplication::processEvents();
        state.ResumeTiming();
        form.imgCommit_Click();
        form.window()->repaint();
    }
    forms::setModalResponder(nullptr);
    forms::setMsgBoxResponder(nullptr);
    form.unload();
    forms::setAppPath(QString());
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
    const struct {
        const char* name;
        std::int16_t tab;
    } tabs[] = {{"SequentialTab", 0}, {"ExamTab", 4}};
    for (const auto& t : tabs) {
        const std::string name = t.name;
        const std::int16_t tab = t.tab;
        for (const bool prepared : {true, false})
            RegisterBenchmark((name + "/FirstClick/" + (prepared ? "Prepared" : "NotPrepared")).c_str(),
                              [tab, prepared](benchmark::State& s) { firstClick(s, tab, prepared); })
                ->Arg(0)
                ->Arg(10000)
                ->UseManualTime()
                ->Iterations(1)
                ->Repetitions(21)
                ->Unit(benchmark::kMillisecond);
        RegisterBenchmark((name + "/RepeatClick").c_str(), [tab](benchmark::State& s) { repeatClick(s, tab); })
            ->Arg(0)
            ->Arg(10000)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    RegisterBenchmark("HandIn", HandIn)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(50);
    const int result = runBenchmarksWithRatios(argc, argv);
    return result;
}
