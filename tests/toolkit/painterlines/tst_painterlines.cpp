// One-pixel lines along an axis drawn as rectangles: the same pixels as QPainter::drawLine, and
// drawLine itself wherever the rectangle would differ.

#include "PainterLines.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

struct TLine {
    int x1, y1, x2, y2;
};

enum TPainterSetUp { kPlainPen, kCosmeticPen, kWidePen, kFlatCap, kAntialiased, kHalfPixelShift };

void SetUp(QPainter& painter, TPainterSetUp setUp)
{
    QPen pen(QColor(10, 20, 200));
    switch (setUp) {
    case kPlainPen: break;
    case kCosmeticPen: pen.setWidth(0); break;
    case kWidePen: pen.setWidth(3); break;
    case kFlatCap: pen.setCapStyle(Qt::FlatCap); break;
    case kAntialiased: painter.setRenderHint(QPainter::Antialiasing); break;
    case kHalfPixelShift: painter.translate(0.5, 0.5); break;
    }
    painter.setPen(pen);
}

QImage Drawn(const TLine& line, TPainterSetUp setUp, bool axisLine)
{
    QImage image(12, 12, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    SetUp(painter, setUp);
    if (axisLine)
        DrawAxisLine(painter, line.x1, line.y1, line.x2, line.y2);
    else
        painter.drawLine(line.x1, line.y1, line.x2, line.y2);
    return image;
}

} // namespace

Q_DECLARE_METATYPE(TLine)

class TestPainterLines : public QObject
{
    Q_OBJECT

private slots:
    void sameAsDrawLine_data()
    {
        QTest::addColumn<TLine>("line");
        QTest::addColumn<int>("setUp");
        QTest::newRow("horizontal") << TLine{1, 2, 9, 2} << int(kPlainPen);
        QTest::newRow("horizontal, drawn right to left") << TLine{9, 2, 1, 2} << int(kPlainPen);
        QTest::newRow("vertical") << TLine{3, 0, 3, 11} << int(kPlainPen);
        QTest::newRow("vertical, drawn upward") << TLine{3, 11, 3, 0} << int(kPlainPen);
        QTest::newRow("a single point") << TLine{5, 5, 5, 5} << int(kPlainPen);
        QTest::newRow("partly outside the image") << TLine{-4, 6, 20, 6} << int(kPlainPen);
        QTest::newRow("cosmetic pen") << TLine{0, 11, 11, 11} << int(kCosmeticPen);
        // Where a rectangle would not give drawLine's pixels, drawLine draws.
        QTest::newRow("diagonal") << TLine{1, 1, 9, 7} << int(kPlainPen);
        QTest::newRow("wide pen") << TLine{1, 5, 9, 5} << int(kWidePen);
        QTest::newRow("flat cap") << TLine{1, 5, 9, 5} << int(kFlatCap);
        QTest::newRow("antialiased") << TLine{1, 5, 9, 5} << int(kAntialiased);
        QTest::newRow("half-pixel translation") << TLine{1, 5, 9, 5} << int(kHalfPixelShift);
    }
    void sameAsDrawLine()
    {
        QFETCH(TLine, line);
        QFETCH(int, setUp);
        const QImage expected = Drawn(line, static_cast<TPainterSetUp>(setUp), false);
        QCOMPARE(Drawn(line, static_cast<TPainterSetUp>(setUp), true), expected);
        QImage blank(expected.size(), expected.format());
        blank.fill(Qt::white);
        QVERIFY(expected != blank); // the line shows at all
    }
};

QTEST_MAIN(TestPainterLines)
#include "tst_painterlines.moc"
