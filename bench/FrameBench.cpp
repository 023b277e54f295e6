// The frame's drawing against the floor of filling the same pixels with
// QPainter, side by side in one run.
//   title_gradient: a full-width title gradient, the cylinder over
//   1,920 x 31 pixels, one pen per line as the frame draws it;
//   title_fill_rows: the same 31 rows filled with QPainter::fillRect.
#include "frame/SkinFrame.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr int Width = 1920, Title = 31;

void title_gradient(benchmark::State& state)
{
    forms::Form form;
    auto* skin = new frame::SkinFrame(form, nullptr, QStringLiteral("SkinFrame1"));
    skin->move(0, 0, Width * 15.0f, 40 * 15.0f);
    for (auto _ : state) {
        skin->DrawGradientInRectangle(skin->hDC(), 0x486B62, 0xF2F8F8, {0, -1, Width, Title + 1},
                                      frame::SkinFrame::GradCylinderVertical, false, 0, 5.01);
        benchmark::DoNotOptimize(skin->surface().image().constBits());
    }
}
BENCHMARK(title_gradient);

void title_fill_rows(benchmark::State& state)
{
    QImage image(Width, 40, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        for (int y = 0; y < Title; ++y)
            p.fillRect(0, y, Width, 1, QColor(98 + y, 107 + y, 72 + y));
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(title_fill_rows);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
