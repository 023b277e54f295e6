// From a click on the sequential tab to the first question painted, on a
// generated bank of 1,041 questions: the handler, then a synchronous repaint
// of the window.
#include "study/FormMain.h"

#include "db/BankBuilder.h"
#include "forms/MsgBox.h"
#include "forms/Picture.h"
#include "forms/Runtime.h"

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

void writeBank(int size)
{
    std::vector<db::QuestionRow> rows;
    for (int id = 1; id <= size; ++id) {
        db::QuestionRow q;
        q.id = id;
        q.question = QStringLiteral("驾驶机动车在道路上行驶，遇到这种情况应当怎样做？第%1题").arg(id);
        q.ans1 = QStringLiteral("减速慢行，注意观察");
        q.ans2 = QStringLiteral("加速通过");
        q.ans3 = QStringLiteral("鸣喇叭示意");
        q.ans4 = QStringLiteral("停车等待");
        q.ans = QStringLiteral("1");
        q.bmp = vb::Variant::null();
        q.txbz = QStringLiteral("3");
        q.state = QString();
        q.zhangjie = id % 14 + 1;
        q.ycbz = QStringLiteral("0");
        rows.push_back(q);
    }
    std::vector<db::ChapterRow> chapters;
    for (int c = 1; c <= 14; ++c)
        chapters.push_back({c, QStringLiteral("第%1章").arg(c), c <= 7 ? 1 : 2});
    db::writeBank(forms::appPath() + QStringLiteral("/in.dll"), QStringLiteral("qz.marvolen.t418"), chapters, rows);
}

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
    writeBank(1041);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    QFile::remove(forms::appPath() + QStringLiteral("/in.dll"));
    return 0;
}
