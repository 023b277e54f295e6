// From a click on the sequential tab to the first question painted, on a
// generated bank of 1,041 questions: the handler, then a synchronous repaint
// of the window.
#include "study/FormMain.h"

#include "GeneratedBank.h"
#include "forms/MsgBox.h"
#include "forms/Picture.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

void SequentialTabToFirstQuestionPainted(benchmark::State& state)
{
    study::FormMain form(study::penmaro());
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        form.imgNav_Click(0);
        form.window()->repaint();
    }
}

// The exam tab: the paper drawn and opened, 99 cells built, the first
// question shown and painted.
void ExamStart(benchmark::State& state)
{
    study::FormMain form(study::penmaro());
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        form.imgNav_Click(4);
        form.window()->repaint();
    }
}

// Hand-in: 100 questions marked, the cells recoloured, the dialog shown
// (and closed at once: the dialog itself is left out).
void HandIn(benchmark::State& state)
{
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
}

} // namespace

BENCHMARK(SequentialTabToFirstQuestionPainted)->Unit(benchmark::kMillisecond);
BENCHMARK(ExamStart)->Unit(benchmark::kMillisecond);
BENCHMARK(HandIn)->Unit(benchmark::kMillisecond)->Iterations(50);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    forms::installFontSubstitutes();
    forms::registerCursorResource(101, QStringLiteral(":/hand.svg"), QPoint(12, 1));
    writeGeneratedBank(forms::appPath() + QStringLiteral("/in.dll"), 1041);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    QFile::remove(forms::appPath() + QStringLiteral("/in.dll"));
    return 0;
}
