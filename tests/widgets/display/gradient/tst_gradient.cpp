#include "ExPanel.h"
#include "Gradient.h"

#include <QApplication>
#include <QPainter>
#include <QtTest>

namespace {

// Gives the tests the paint step itself, for sizes Qt would never paint.
class TTestGradient : public TGradient
{
public:
    using TGradient::Paint;
    using TGradient::TGradient;
};

QImage Render(TGradient& gradient)
{
    QImage image(gradient.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    gradient.render(&image);
    return image;
}

// The blue channel of a pixel; the default ramp has no red and no green.
int Blue(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    if (c.red() != 0 || c.green() != 0)
        return -1;
    return c.blue();
}

} // namespace

class TestGradient : public QObject
{
    Q_OBJECT

private slots:
    void newGradient();
    void bands_data();
    void bands();
    void pyramid();
    void oneStep_data();
    void oneStep();
    void concentricOddSizes_data();
    void concentricOddSizes();
    void rebuildsOnlyAfterAChange();
    void oneLinePaintsAsTheWholeArea_data();
    void oneLinePaintsAsTheWholeArea();
    void emptySizeDrawsNothing_data();
    void emptySizeDrawsNothing();
    void loadedRestoresStoredBounds_data();
    void loadedRestoresStoredBounds();
};

void TestGradient::newGradient()
{
    TGradient gradient;
    QCOMPARE(gradient.Style(), grHorizontal);
    QCOMPARE(gradient.StartColor(), clBlue);
    QCOMPARE(gradient.EndColor(), clBlack);
    QCOMPARE(gradient.Steps(), 100);
    QCOMPARE(GetAlign(&gradient), alClient);
    QVERIFY(gradient.testAttribute(Qt::WA_OpaquePaintEvent));
}

void TestGradient::bands_data()
{
    QTest::addColumn<TGradientStyle>("style");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("from");  // first pixel row (or column) of the band
    QTest::addColumn<int>("to");    // just past its last
    QTest::addColumn<int>("blue");
    // 476 high: 100 bands of 4.76 pixels, edges at R(i * 4.76).
    QTest::newRow("476 high, band 0 pure blue") << grVertical << 476 << 0 << 5 << 255;
    QTest::newRow("476 high, band 1") << grVertical << 476 << 5 << 10 << 252;
    QTest::newRow("476 high, band 2") << grVertical << 476 << 10 << 14 << 250;
    QTest::newRow("476 high, band 50: 127.5 rounds to even") << grVertical << 476 << 238 << 243 << 128;
    QTest::newRow("476 high, band 99: not black") << grVertical << 476 << 471 << 476 << 3;
    // 40 high: the steps are limited to 40, one pixel each, blue = R(255 - 6.375 i).
    QTest::newRow("40 high, band 1") << grVertical << 40 << 1 << 2 << 249;
    QTest::newRow("40 high, band 4: 229.5 rounds to even") << grVertical << 40 << 4 << 5 << 230;
    QTest::newRow("40 wide, band 4 of the horizontal ramp") << grHorizontal << 40 << 4 << 5 << 230;
    QTest::newRow("621 wide, last band") << grHorizontal << 621 << 615 << 621 << 3;
}

void TestGradient::bands()
{
    QFETCH(TGradientStyle, style);
    QFETCH(int, length);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, blue);
    TGradient gradient;
    gradient.SetStyle(style);
    const bool vertical = style == grVertical;
    constexpr int kAcross = 7;
    gradient.resize(vertical ? kAcross : length, vertical ? length : kAcross);
    const QImage image = Render(gradient);
    auto at = [&](int along, int across) {
        return vertical ? Blue(image, across, along) : Blue(image, along, across);
    };
    for (int along = from; along < to; ++along)
        for (int across = 0; across < kAcross; ++across)
            QCOMPARE(at(along, across), blue);
    if (from > 0)
        QVERIFY(at(from - 1, 0) != blue);
    if (to < length)
        QVERIFY(at(to, 0) != blue);
}

// 10 x 6, 100 steps: limited to 3; rectangles (0, 0, 10, 6), (2, 1, 8, 5), (3, 2, 7, 4) and an
// empty one at the centre.
void TestGradient::pyramid()
{
    TGradient gradient;
    gradient.SetStyle(grPyramid);
    gradient.resize(10, 6);
    const QImage image = Render(gradient);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            int want = 255;
            if (x >= 3 && x < 7 && y >= 2 && y < 4)
                want = 85;
            else if (x >= 2 && x < 8 && y >= 1 && y < 5)
                want = 170;
            QCOMPARE(Blue(image, x, y), want);
        }
}

void TestGradient::oneStep_data()
{
    QTest::addColumn<TGradientStyle>("style");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("centre");
    QTest::addColumn<int>("centreBlue");
    // Steps 0 behaves as 1: the bands show only the start colour; the concentric layouts draw
    // the full shape in the start colour and the centre shape in the end colour.
    QTest::newRow("horizontal") << grHorizontal << QSize(9, 5) << QPoint(4, 2) << 255;
    QTest::newRow("vertical") << grVertical << QSize(9, 5) << QPoint(4, 2) << 255;
    QTest::newRow("pyramid, even: empty centre") << grPyramid << QSize(10, 6) << QPoint(5, 3) << 255;
    QTest::newRow("ellipse, odd: one centre pixel") << grEllipse << QSize(11, 7) << QPoint(5, 3) << 0;
    QTest::newRow("mount, odd: one centre pixel") << grMount << QSize(11, 7) << QPoint(5, 3) << 0;
}

void TestGradient::oneStep()
{
    QFETCH(TGradientStyle, style);
    QFETCH(QSize, size);
    QFETCH(QPoint, centre);
    QFETCH(int, centreBlue);
    TGradient gradient;
    gradient.SetSteps(0);
    gradient.SetStyle(style);
    gradient.resize(size);
    const QImage image = Render(gradient);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            QCOMPARE(Blue(image, x, y), QPoint(x, y) == centre ? centreBlue : 255);
}

void TestGradient::concentricOddSizes_data()
{
    QTest::addColumn<TGradientStyle>("style");
    QTest::addColumn<QSize>("size");
    for (TGradientStyle style : {grEllipse, grPyramid, grMount})
        for (QSize size : {QSize(1, 5), QSize(3, 2), QSize(2, 9), QSize(621, 480), QSize(7, 1000)})
            QTest::addRow("style %d, %dx%d", style, size.width(), size.height()) << style << size;
}

// Odd sizes give odd shapes, but the outermost corner is the start colour and the centre is
// the darkest part.
void TestGradient::concentricOddSizes()
{
    QFETCH(TGradientStyle, style);
    QFETCH(QSize, size);
    TGradient gradient;
    gradient.SetStyle(style);
    gradient.resize(size);
    const QImage image = Render(gradient);
    QCOMPARE(Blue(image, 0, 0), 255);
    const int centre = Blue(image, size.width() / 2, size.height() / 2);
    QVERIFY(centre >= 0);
    for (int y = 0; y < size.height(); y += std::max(1, size.height() / 17))
        for (int x = 0; x < size.width(); x += std::max(1, size.width() / 17))
            QVERIFY(Blue(image, x, y) >= centre);
}

void TestGradient::rebuildsOnlyAfterAChange()
{
    QWidget parent;
    TGradient gradient(&parent);
    SetAlign(&gradient, alNone);
    gradient.setGeometry(0, 0, 20, 10);
    int rebuilds = 0;
    gradient.OnPaint = [&](TObject* sender, QPainter* canvas) {
        QCOMPARE(sender, &gradient);
        canvas->fillRect(0, 0, 1, 1, Qt::white);  // stays in the image until the next rebuild
        ++rebuilds;
    };
    QImage image = Render(gradient);
    QCOMPARE(rebuilds, 1);
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
    Render(gradient);
    QCOMPARE(rebuilds, 1);
    gradient.SetStartColor(clBlue);
    Render(gradient);
    QCOMPARE(rebuilds, 1);
    gradient.SetStartColor(clRed);
    image = Render(gradient);
    Render(gradient);
    QCOMPARE(rebuilds, 2);
    QCOMPARE(image.pixelColor(0, 1), QColor(255, 0, 0));
    gradient.move(5, 5);
    Render(gradient);
    QCOMPARE(rebuilds, 2);
    gradient.resize(21, 10);
    Render(gradient);
    QCOMPARE(rebuilds, 3);
    gradient.SetSteps(7);
    gradient.SetStyle(grVertical);
    gradient.SetEndColor(clWhite);
    Render(gradient);
    QCOMPARE(rebuilds, 4);
}

void TestGradient::oneLinePaintsAsTheWholeArea_data()
{
    QTest::addColumn<TGradientStyle>("style");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QSize>("line");
    QTest::newRow("vertical, the window's") << grVertical << QSize(621, 480) << 100 << QSize(1, 480);
    QTest::newRow("vertical, odd") << grVertical << QSize(37, 23) << 7 << QSize(1, 23);
    QTest::newRow("horizontal, odd") << grHorizontal << QSize(101, 3) << 100 << QSize(101, 1);
    QTest::newRow("horizontal, one wide") << grHorizontal << QSize(1, 40) << 5 << QSize(1, 1);
    QTest::newRow("filled") << grFilled << QSize(13, 9) << 100 << QSize(1, 1);
}

// Without an OnPaint handler the ramps that run straight across keep one line; stretched, it must
// give every pixel the whole image gives, in a full paint and in a partial one.
void TestGradient::oneLinePaintsAsTheWholeArea()
{
    QFETCH(TGradientStyle, style);
    QFETCH(QSize, size);
    QFETCH(int, steps);
    QFETCH(QSize, line);
    TGradient kept, whole;
    int handlerRuns = 0;
    whole.OnPaint = [&](TObject*, QPainter*) { ++handlerRuns; };
    for (TGradient* g : {&kept, &whole}) {
        g->SetStyle(style);
        g->SetSteps(std::uint16_t(steps));
        g->SetStartColor(clRed);
        g->SetEndColor(0x00C08040);
        g->resize(size);
    }
    QCOMPARE(Render(kept), Render(whole));
    QCOMPARE(handlerRuns, 1);
    QVERIFY(kept.BufferIsLine());
    QCOMPARE(kept.Buffer().size(), line);
    QVERIFY(!whole.BufferIsLine());
    QCOMPARE(whole.Buffer().size(), size);

    const QRegion part = QRegion(size.width() / 3, size.height() / 4, size.width() / 2 + 1, size.height() / 2 + 1)
                         + QRegion(size.width() - 1, size.height() / 4, 1, 1)  // a gap on one row
                         + QRegion(0, size.height() - 1, 1, 1);
    auto renderPart = [&](TGradient& g) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        g.render(&image, QPoint(), part);
        return image;
    };
    QCOMPARE(renderPart(kept), renderPart(whole));
}

void TestGradient::emptySizeDrawsNothing_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("width 0") << QSize(0, 10);
    QTest::newRow("height 0") << QSize(10, 0);
}

void TestGradient::emptySizeDrawsNothing()
{
    QFETCH(QSize, size);
    TTestGradient gradient;
    gradient.resize(size);
    int rebuilds = 0;
    gradient.OnPaint = [&](TObject*, QPainter*) { ++rebuilds; };
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::magenta);
    {
        QPainter painter(&target);
        gradient.Paint(painter);
        gradient.SetStyle(grEllipse);
        gradient.Paint(painter);
    }
    QCOMPARE(rebuilds, 0);
    QCOMPARE(target.pixelColor(0, 0), QColor(Qt::magenta));
    gradient.resize(4, 4);
    QPainter painter(&target);
    gradient.Paint(painter);
    QCOMPARE(rebuilds, 1);
    QCOMPARE(target.pixelColor(0, 0), QColor(0, 0, 255));
}

void TestGradient::loadedRestoresStoredBounds_data()
{
    QTest::addColumn<TAlign>("align");
    QTest::addColumn<QRect>("geometry");
    // Stored bounds (5, 6) 50 x 40 in a 200 x 100 parent.
    QTest::newRow("no alignment: all stored bounds") << alNone << QRect(5, 6, 50, 40);
    QTest::newRow("custom: all stored bounds") << alCustom << QRect(5, 6, 50, 40);
    QTest::newRow("top: the stored height") << alTop << QRect(0, 0, 200, 40);
    QTest::newRow("left: the stored width") << alLeft << QRect(0, 0, 50, 100);
    QTest::newRow("client: fills the parent") << alClient << QRect(0, 0, 200, 100);
}

// The gradient fills its parent from its creation on, so the stored bounds are overwritten
// while they are read; Loaded gives them back for any other alignment.
void TestGradient::loadedRestoresStoredBounds()
{
    QFETCH(TAlign, align);
    QFETCH(QRect, geometry);
    TExPanel parent;
    parent.SetBevelOuter(bvNone);
    parent.resize(200, 100);
    parent.show();
    TGradient gradient(&parent);
    gradient.show();
    gradient.SetLeft(5);
    gradient.SetTop(6);
    gradient.SetWidth(50);
    gradient.SetHeight(40);
    QCOMPARE(gradient.geometry(), QRect(0, 0, 200, 100));
    SetAlign(&gradient, align);
    gradient.Loaded();
    QCOMPARE(gradient.geometry(), geometry);
}

QTEST_MAIN(TestGradient)
#include "tst_gradient.moc"
