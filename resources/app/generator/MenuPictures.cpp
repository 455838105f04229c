// Draws the menu image list: twelve 16 x 16 pictures with transparency, written as
// <folder>/menu-00.png ... menu-11.png. The menus use 4 (ideas box), 5 (exit), 6 (bulb in a red
// ring) and 7 (a pale four-coloured window flag); the others are spare pictures of the list.
// The pictures are committed; run this by hand after changing one:
//   cmake --build <build> --target app_pictures && <build>/src/app/app_pictures resources/app

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kSize = 16;
const QColor kOutline(50, 50, 60);

QPen Outline(qreal width = 1.0)
{
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, qreal shaft, qreal head)
{
    const QLineF line(from, to);
    const QLineF unit = line.unitVector();
    const QPointF d = unit.p2() - unit.p1();
    const QPointF n(-d.y(), d.x());
    const QPointF base = to - d * head;
    QPainterPath path;
    path.moveTo(from + n * shaft / 2);
    path.lineTo(base + n * shaft / 2);
    path.lineTo(base + n * head * 0.7);
    path.lineTo(to);
    path.lineTo(base - n * head * 0.7);
    path.lineTo(base - n * shaft / 2);
    path.lineTo(from - n * shaft / 2);
    path.closeSubpath();
    p.setPen(Outline(0.8));
    p.setBrush(colour);
    p.drawPath(path);
}

// 0: a blank page with a folded corner.
void Page(QPainter& p)
{
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(200, 200, 210));
    p.drawPolygon(QPolygonF{{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}});
}

// 1: an open folder.
void Folder(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(220, 170, 60));
    p.drawPolygon(QPolygonF{{1.5, 3.5}, {6.5, 3.5}, {7.5, 5.5}, {13.5, 5.5}, {13.5, 13.5}, {1.5, 13.5}});
    p.setBrush(QColor(250, 210, 100));
    p.drawPolygon(QPolygonF{{3.5, 7.5}, {15.0, 7.5}, {13.5, 13.5}, {1.5, 13.5}});
}

// 2: a diskette.
void Diskette(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(60, 90, 170));
    p.drawPolygon(QPolygonF{{1.5, 1.5}, {13.5, 1.5}, {14.5, 2.5}, {14.5, 14.5}, {1.5, 14.5}});
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(3.5, 9.5, 9, 5));
}

// 3: a printer.
void Printer(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 6));
    p.setBrush(QColor(170, 170, 180));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 180, 60));
    p.drawRect(QRectF(11.5, 8, 1.5, 1.5));
}

// 4: the ideas box, a yellow box with a teal arrow pointing into it.
void IdeasBox(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(250, 215, 40));
    p.drawPolygon(QPolygonF{{1.5, 8.5}, {14.5, 8.5}, {13.5, 14.5}, {2.5, 14.5}});
    p.setBrush(QColor(200, 160, 20));
    p.drawPolygon(QPolygonF{{1.5, 8.5}, {4.5, 6.5}, {11.5, 6.5}, {14.5, 8.5}});
    Arrow(p, {8.0, 0.5}, {8.0, 11.0}, QColor(0, 150, 150), 3.0, 5.0);
}

// 5: exit, an arrow passing through an open door.
void Exit(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(60, 60, 70));
    p.drawRect(QRectF(6.5, 1.5, 7, 13));  // the dark doorway
    p.setBrush(QColor(170, 110, 50));
    p.drawPolygon(QPolygonF{{6.5, 1.5}, {10.5, 3.5}, {10.5, 15.0}, {6.5, 14.5}});  // the door, ajar
    Arrow(p, {0.8, 8.0}, {14.8, 8.0}, QColor(40, 170, 60), 3.0, 4.5);
}

// 6: a yellow bulb inside a red ring.
void BulbInRing(QPainter& p)
{
    p.setPen(QPen(QColor(210, 30, 30), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(1.0, 1.0, 14.0, 14.0));
    p.setPen(Outline(0.8));
    p.setBrush(QColor(255, 225, 40));
    QPainterPath bulb;
    bulb.addEllipse(QRectF(4.5, 3.0, 7.0, 7.0));
    p.drawPath(bulb);
    p.setBrush(QColor(170, 170, 180));
    p.drawRect(QRectF(6.5, 10.0, 3.0, 2.5));
}

// 7: a pale four-coloured window flag, waving.
void WindowFlag(QPainter& p)
{
    const std::array<QColor, 4> panes{QColor(250, 160, 140), QColor(170, 225, 150), QColor(150, 190, 250),
                                      QColor(255, 230, 140)};
    const auto wave = [](qreal x) { return 1.2 * std::sin(x / 14.0 * 3.14159 * 1.5); };
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col) {
            const qreal x0 = 1.0 + col * 7.0, x1 = x0 + 6.5;
            const qreal y0 = 2.0 + row * 6.5, y1 = y0 + 6.0;
            QPainterPath pane;
            pane.moveTo(x0, y0 + wave(x0));
            pane.cubicTo((2 * x0 + x1) / 3, y0 + wave((2 * x0 + x1) / 3), (x0 + 2 * x1) / 3,
                         y0 + wave((x0 + 2 * x1) / 3), x1, y0 + wave(x1));
            pane.lineTo(x1, y1 + wave(x1));
            pane.cubicTo((x0 + 2 * x1) / 3, y1 + wave((x0 + 2 * x1) / 3), (2 * x0 + x1) / 3,
                         y1 + wave((2 * x0 + x1) / 3), x0, y1 + wave(x0));
            pane.closeSubpath();
            p.setPen(QPen(QColor(120, 120, 130), 0.6));
            p.setBrush(panes[static_cast<std::size_t>(row * 2 + col)]);
            p.drawPath(pane);
        }
}

// 8: a question mark in a blue disc.
void Question(QPainter& p)
{
    p.setPen(Outline(0.8));
    p.setBrush(QColor(50, 110, 210));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
}

// 9: a green tick.
void Tick(QPainter& p)
{
    p.setPen(QPen(QColor(30, 150, 40), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{{2.5, 8.5}, {6.0, 12.5}, {13.5, 3.5}});
}

// 10: a red cross.
void Cross(QPainter& p)
{
    p.setPen(QPen(QColor(210, 30, 30), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

// 11: a magnifying glass.
void Magnifier(QPainter& p)
{
    p.setPen(QPen(QColor(90, 60, 30), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.0, 14.0));
    p.setPen(Outline(1.5));
    p.setBrush(QColor(200, 230, 250));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
}

const std::array<std::function<void(QPainter&)>, 12> kPictures{
    Page, Folder, Diskette, Printer, IdeasBox, Exit, BulbInRing, WindowFlag, Question, Tick, Cross, Magnifier,
};

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: app_pictures <resources/app folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (std::size_t i = 0; i < kPictures.size(); ++i) {
        QImage image(kSize, kSize, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        kPictures[i](painter);
        painter.end();
        const QString name = folder.filePath(QStringLiteral("menu-%1.png").arg(i, 2, 10, QLatin1Char('0')));
        if (!image.save(name)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
