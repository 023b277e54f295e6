// The frame's drawing against the floor of filling the same pixels with
// QPainter, side by side in one run.
//   title_gradient: a full-width title gradient, the cylinder over
//   1,920 x 31 pixels, one pen per line as the frame draws it;
//   title_fill_rows: the same 31 rows filled with QPainter::fillRect;
//   title_bar_repaint: a whole title bar of a 1,920 x 1,080 window, against
//   one 60 Hz frame (16.7 ms);
//   grip_size_step: one size step of a grip drag on a 1,920 x 1,080 window,
//   the frame docked to the window's top (1) or not (0).
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

// The whole title bar of a 1,920-pixel-wide window repainted: the clear,
// then every step of DrawTitleBar with the caption and the three buttons.
// Without an icon the title background is painted over the full width.
// A window of w x h pixels carrying the frame as the programs' windows do:
// its stored settings (khaki, linear) read when the window loads.
struct Framed {
    forms::Form form;
    frame::SkinFrame* skin;
    Framed(int w, int h, const QString& caption = QString(), bool docked = true)
    {
        form.window()->setFont(QFont(QStringLiteral("Tahoma"), 14));
        form.setCaption(caption);
        form.setBorderStyle(0);
        form.setClientSize(w * 15.0f, h * 15.0f);
        skin = new frame::SkinFrame(form, nullptr, QStringLiteral("SkinFrame1"));
        skin->move(0, 0, form.scaleWidth(), form.scaleHeight());
        if (docked)
            skin->setAlign(1); // as the programs' windows dock theirs
        skin->storedProperties() = {{QStringLiteral("themecolor"), 3}, {QStringLiteral("style"), 3}};
        form.show();
        QApplication::processEvents();
    }
};

// The whole title bar of a 1,920-pixel-wide window repainted: the clear,
// then every step of DrawTitleBar with the caption and the three buttons.
// Without an icon the title background is painted over the full width.
void title_bar_repaint(benchmark::State& state)
{
    Framed w(Width, 1080, QStringLiteral("驾驶员理论考试模拟系统 Torvasen"));
    frame::SkinFrame* skin = w.skin;
    const bool clear = state.range(0) != 0;
    for (auto _ : state) {
        if (clear)
            skin->cls();
        skin->DrawTitleBar();
        benchmark::DoNotOptimize(skin->surface().image().constBits());
    }
}
// Arg 1: with the clear of the whole surface that a resize does first.
BENCHMARK(title_bar_repaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One step of a grip drag on a 1,920 x 1,080 window: the window and the
// control sized, the title bar repainted, the grips laid out, the window
// repainted. Steps alternate between two sizes a pixel apart. Arg 1: the
// frame docked to the window's top, as the programs have it; 0 not docked.
void grip_size_step(benchmark::State& state)
{
    Framed w(1920, 1080, QStringLiteral("驾驶员理论考试模拟系统 Torvasen"), state.range(0) != 0);
    frame::SkinFrame* skin = w.skin;
    std::int16_t button = 1, shift = 0;
    float x = 1000, y = 500;
    skin->UserControl_MouseMove(button, shift, x, y); // makes the grips
    // A press in the corner zone of the bottom grip begins a corner drag.
    float gx = static_cast<float>(skin->scaleWidth()) - 10, gy = 1;
    std::int16_t none = 0;
    skin->m_picBottom_MouseMove(none, shift, gx, gy);
    skin->m_picBottom_MouseDown(button, shift, gx, gy);
    bool odd = false;
    for (auto _ : state) {
        x = odd ? 1915.0f : 1914.0f;
        y = odd ? 1075.0f : 1074.0f;
        odd = !odd;
        skin->UserControl_MouseMove(button, shift, x, y);
    }
}
BENCHMARK(grip_size_step)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
