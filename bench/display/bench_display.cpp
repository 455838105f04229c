// Costs of the display widgets' hot paths: a lamp toggle (recolour and immediate repaint), a
// gradient rebuild at the main window's size and a caption panel repaint at an input panel's.

#include "CaptionPanel.h"
#include "Gradient.h"
#include "LED.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

void LampToggle(benchmark::State& state)
{
    QWidget strip;
    strip.resize(40, 29);
    TLED led(&strip);
    led.setGeometry(3, 3, 17, 23);
    strip.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        led.SetStatus(!led.Status());  // recolours the picture and repaints at once
    benchmark::DoNotOptimize(led.Picture().constBits());
}
BENCHMARK(LampToggle);

// Argument 0: the window's vertical ramp, which keeps one line of its bands. Argument 1: the same
// ramp with an OnPaint handler, which needs the whole picture.
void GradientRebuild(benchmark::State& state)
{
    TGradient gradient;
    gradient.SetStyle(grVertical);
    if (state.range(0) == 1)
        gradient.OnPaint = [](TObject*, QPainter* canvas) { canvas->drawPoint(0, 0); };
    gradient.resize(621, 480);
    QImage target(621, 480, QImage::Format_RGB32);
    bool dark = false;
    for (auto _ : state) {
        dark = !dark;
        gradient.SetEndColor(dark ? clBlack : clNavy);  // makes the image stale
        gradient.render(&target);
    }
    if (gradient.BufferIsLine() != (state.range(0) == 0))
        state.SkipWithError("the gradient did not keep what this case measures");
    benchmark::DoNotOptimize(target.constBits());
}
BENCHMARK(GradientRebuild)->Arg(0)->Arg(1);

void CaptionPanelRepaint(benchmark::State& state)
{
    TCaptionPanel panel;
    panel.SetCaptionPosition(dpTop);
    panel.SetOutlookLook(true);
    panel.SetFlatButtons(true);
    panel.SetResizable(false);
    panel.SetButtons({capClose, capHelp});
    panel.SetCaption(QStringLiteral("AFP"));
    panel.SetIcon(QIcon(QStringLiteral(":/display/icon-afp-16.png")));
    panel.resize(236, 88);
    panel.show();
    QCoreApplication::processEvents();
    bool red = false;
    for (auto _ : state) {
        red = !red;
        panel.SetCaptionColor(red ? clRed : clBlue);
        panel.repaint();
    }
}
BENCHMARK(CaptionPanelRepaint);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
