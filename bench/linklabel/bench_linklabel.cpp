// The link label at the size the main window gives it (259 pixels, "Arial" 12 px, transparent,
// height following the text), for the longest result texts:
//   BM_CaptionChange  a new caption: parse, layout with fresh word widths, paint
//   BM_Repaint        a paint of an unchanged caption: layout with the kept widths, paint
// The window changes up to eight captions per marker change.
//
//   build/test/bench/linklabel/bench_linklabel

#include "LinkLabel.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

const char* const kTexts[] = {
    "Echographie, Biométrie, Dopplers Art.U, Biologie",
    "Spina, Anencéphalie, Laparoschosis, Omphalocèle",
    "Contrôle écho, Crâne, Rachis, Ombilic, Reins",
    "Triploidie, Turner (45 X0), Placenta (T16)",
};

struct TBenchLabel {
    TLinkLabel Label;
    QImage Target;

    explicit TBenchLabel(const QString& caption)
    {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(12);
        Label.setFont(font);
        Label.resize(259, 17);
        Label.SetTransparent(true);
        Label.SetHotLinks(true);
        Label.SetFontColor(clBlue);
        Label.SetCaption(caption);
        // The first paint sets the height to the text's; the second draws at that height.
        Paint();
        Paint();
    }
    void Paint()
    {
        if (Target.size() != Label.size()) {
            Target = QImage(Label.size(), QImage::Format_ARGB32_Premultiplied);
            Target.fill(Qt::white);
        }
        Label.render(&Target);
    }
};

void BM_CaptionChange(benchmark::State& state)
{
    const QString text = QString::fromUtf8(kTexts[state.range(0)]);
    // The same text with a CR LF pair at the end: a different caption that parses and lays
    // out exactly alike, so that every iteration does the same work.
    const QString variant = text + QStringLiteral("\r\n");
    TBenchLabel bench(text);
    const int height = bench.Label.height();
    bool flip = false;
    for (auto _ : state) {
        bench.Label.SetCaption((flip = !flip) ? variant : text);
        bench.Paint();
    }
    if (bench.Label.height() != height)
        state.SkipWithError("the label changed its height while measured");
    state.SetLabel(QStringLiteral("lines: %1").arg(height / QFontMetrics(bench.Label.font()).height()).toStdString());
}

void BM_Repaint(benchmark::State& state)
{
    TBenchLabel bench(QString::fromUtf8(kTexts[state.range(0)]));
    for (auto _ : state)
        bench.Paint();
}

BENCHMARK(BM_CaptionChange)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Repaint)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

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
