// Writes the display widgets' pictures and the program icon:
//   <resources>/display/CustomLEDGREEN.png, CustomLEDMASK.png   the lamp and its mask, from the maps below
//   <resources>/display/icon-<name>-<N>.png                     the caption panels' icons, N = 16, 32, 48
//   <resources>/icons/hicolor/<N>x<N>/apps/serolis.png           the program icon
// Build the target display_pictures and run it with the resources folder as its argument; the
// pictures it writes are committed, so the program's build never runs it.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QFileInfo>
#include <array>
#include <functional>
#include <cstdio>

namespace {

// The lamp, 17 x 17: '.' black, 'g' grey, 'L' lime (the part that takes the lamp's colour),
// 'W' white highlight.
constexpr std::array<const char*, 17> kLampMap{
    ".................", ".................", "......ggggg......", "....ggLLLLLgg....",
    "...gLLLLLLLLLg...", "...gLLWWWLLLLg...", "..gLLWWWLLLLLLg..", "..gLLWWLLLLLLLg..",
    "..gLLWLLLLLLLLg..", "..gLLLLLLLLLLLg..", "..gLLLLLLLLLLLg..", "...gLLLLLLLLLg...",
    "...gLLLLLLLLLg...", "....ggLLLLLgg....", "......gggggg.....", ".................",
    ".................",
};

// The standard 16-colour palette, in its usual order.
const QList<QRgb> kPalette16{
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
    qRgb(192, 192, 192), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};
constexpr int kBlack = 0, kGrey = 7, kLime = 10, kWhite = 15;

QImage MapImage(bool mask)
{
    QImage image(17, 17, QImage::Format_Indexed8);
    image.setColorTable(kPalette16);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) {
            const char c = kLampMap[static_cast<std::size_t>(y)][x];
            int index = kBlack;
            if (mask)
                index = c == '.' ? kWhite : kBlack;  // the mask is black wherever the lamp is not
            else
                index = c == 'g' ? kGrey : c == 'L' ? kLime : c == 'W' ? kWhite : kBlack;
            image.setPixel(x, y, static_cast<uint>(index));
        }
    return image;
}

// ---- icons, drawn on a 48-unit grid and scaled to the picture's size ----

const QColor kOutline(60, 60, 70);
const QColor kGlass(236, 244, 250);
const QColor kYellow(250, 220, 20);
const QColor kCyan(20, 200, 230);
const QColor kMagenta(220, 30, 170);

// Pen width in grid units for a 1-pixel line (a little more on small pictures, so it stays crisp).
double LineWidth(int size)
{
    return 48.0 / size * (size <= 16 ? 1.0 : size <= 32 ? 1.2 : 1.5);
}

// An upright test tube: rim at `top`, rounded bottom at `bottom`, filled with `liquid` from
// `level` (0 empty .. 1 full).
void DrawTube(QPainter& p, int size, double x, double width, double top, double bottom, const QColor& liquid,
              double level)
{
    const double r = width / 2;
    QPainterPath body;
    body.moveTo(x, top);
    body.lineTo(x, bottom - r);
    body.arcTo(x, bottom - width, width, width, 180, 180);
    body.lineTo(x + width, top);
    p.setPen(Qt::NoPen);
    p.setBrush(kGlass);
    p.drawPath(body);
    // The liquid: the part of the body below its surface.
    const double surface = bottom - (bottom - top) * level;
    QPainterPath below;
    below.addRect(x - 1, surface, width + 2, bottom - surface + 1);
    p.setBrush(liquid);
    p.drawPath(body.intersected(below));
    // A highlight along the glass.
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawRect(QRectF(x + width * 0.2, top + 3, width * 0.16, bottom - top - r - 4));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, LineWidth(size)));
    p.drawPath(body);
    // The rim.
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawRect(QRectF(x - 1.5, top - 1.5, width + 3, 3));
}

void DrawThreeTubes(QPainter& p, int size, const std::array<QColor, 3>& colours)
{
    constexpr double kWidth = 11, kGap = 4.5, kBottom = 45;
    constexpr std::array<double, 3> kTops{4, 13, 22};  // each tube shorter than the one before
    for (std::size_t i = 0; i < 3; ++i) {
        const double x = 3 + static_cast<double>(i) * (kWidth + kGap);
        DrawTube(p, size, x, kWidth, kTops[i], kBottom, colours[i], 0.62);
    }
}

// A blood-sample tube with its stopper, a document and a clock.
void DrawTriplo(QPainter& p, int size)
{
    const double lw = LineWidth(size);
    // The document, behind.
    QPainterPath page;
    page.moveTo(17, 3);
    page.lineTo(36, 3);
    page.lineTo(44, 11);
    page.lineTo(44, 40);
    page.lineTo(17, 40);
    page.closeSubpath();
    p.setPen(QPen(kOutline, lw));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(210, 210, 220));
    QPainterPath fold;
    fold.moveTo(36, 3);
    fold.lineTo(36, 11);
    fold.lineTo(44, 11);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(QPen(QColor(90, 110, 160), lw * 1.3));
    for (double y : {15.0, 20.0, 25.0})
        p.drawLine(QPointF(21, y), QPointF(40, y));
    // The tube: red blood, a blue stopper.
    DrawTube(p, size, 4, 10, 9, 44, QColor(200, 20, 30), 0.7);
    p.setPen(QPen(kOutline, lw));
    p.setBrush(QColor(40, 90, 210));
    p.drawRoundedRect(QRectF(2.5, 3, 13, 8), 2, 2);
    // The clock, in front at the bottom right.
    const QPointF centre(33, 35);
    const double radius = 11;
    p.setPen(QPen(kOutline, lw * 1.4));
    p.setBrush(QColor(255, 250, 225));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Qt::black, lw * 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(0, -7.5));
    p.drawLine(centre, centre + QPointF(5.5, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 20, 30));
    p.drawEllipse(centre, 1.6, 1.6);
}

// An open book; its two pages carry a window of four coloured panes, split by the spine.
void DrawBook(QPainter& p, int size)
{
    const double lw = LineWidth(size);
    // The cover, showing below and beside the pages.
    QPainterPath cover;
    cover.moveTo(2, 12);
    cover.lineTo(24, 16);
    cover.lineTo(46, 12);
    cover.lineTo(46, 41);
    cover.lineTo(24, 45);
    cover.lineTo(2, 41);
    cover.closeSubpath();
    p.setPen(QPen(kOutline, lw));
    p.setBrush(QColor(120, 60, 30));
    p.drawPath(cover);
    auto pageShape = [](bool left) {
        const double s = left ? -1 : 1;
        QPainterPath path;
        path.moveTo(24, 13);
        path.cubicTo(24 + s * 7, 7, 24 + s * 14, 8, 24 + s * 20, 9);
        path.lineTo(24 + s * 20, 38);
        path.cubicTo(24 + s * 14, 37, 24 + s * 7, 36, 24, 42);
        path.closeSubpath();
        return path;
    };
    const std::array<std::array<QColor, 2>, 2> panes{{
        {QColor(230, 40, 30), QColor(40, 90, 220)},   // left page: top, bottom
        {QColor(40, 170, 60), QColor(250, 200, 20)},  // right page: top, bottom
    }};
    for (int side = 0; side < 2; ++side) {
        const bool left = side == 0;
        const QPainterPath page = pageShape(left);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(page);
        const double x0 = left ? 7 : 26.5;
        for (int row = 0; row < 2; ++row) {
            QPainterPath pane;
            pane.addRect(QRectF(x0, row == 0 ? 12.5 : 25, 14.5, 10.5));
            p.setBrush(panes[static_cast<std::size_t>(side)][static_cast<std::size_t>(row)]);
            p.drawPath(page.intersected(pane));
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kOutline, lw));
        p.drawPath(page);
    }
}

QImage Icon(int size, const std::function<void(QPainter&, int)>& draw)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    draw(p, size);
    p.end();
    return image;
}

bool Save(const QImage& image, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: display_pictures <resources folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    bool ok = Save(MapImage(false), root + "/display/CustomLEDGREEN.png");
    ok = Save(MapImage(true), root + "/display/CustomLEDMASK.png") && ok;

    const auto tubes = [](std::array<QColor, 3> colours) {
        return [colours](QPainter& p, int size) { DrawThreeTubes(p, size, colours); };
    };
    const std::array<std::pair<const char*, std::function<void(QPainter&, int)>>, 5> icons{{
        {"triplo", DrawTriplo},
        {"afp", tubes({kYellow, kCyan, kMagenta})},
        {"hcg", tubes({kCyan, kYellow, kMagenta})},
        {"e3", tubes({kMagenta, kCyan, kYellow})},
        {"book", DrawBook},
    }};
    for (const auto& [name, draw] : icons)
        for (int size : {16, 32, 48})
            ok = Save(Icon(size, draw), QString("%1/display/icon-%2-%3.png").arg(root).arg(name).arg(size)) && ok;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok = Save(Icon(size, icons[1].second),
                  QString("%1/icons/hicolor/%2x%2/apps/serolis.png").arg(root).arg(size)) && ok;
    return ok ? 0 : 1;
}
