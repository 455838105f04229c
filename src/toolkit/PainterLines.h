#pragma once
// One-pixel lines along an axis. QPainter::drawLine sends such a line through the line stroker,
// which blends it pixel by pixel; a filled rectangle covers the same pixels (both end points, as
// the default square cap does) in one span per row. Any other line, pen or transform is drawn by
// drawLine itself.

#include <QPainter>
#include <QPen>
#include <QTransform>
#include <algorithm>

inline void DrawAxisLine(QPainter& painter, int x1, int y1, int x2, int y2)
{
    const QPen& pen = painter.pen();
    const QTransform& transform = painter.worldTransform();
    const bool whole = transform.type() == QTransform::TxNone
                       || (transform.type() == QTransform::TxTranslate && transform.dx() == qRound(transform.dx())
                           && transform.dy() == qRound(transform.dy()));
    const bool plain = (x1 == x2 || y1 == y2) && pen.style() == Qt::SolidLine && pen.capStyle() == Qt::SquareCap
                       && pen.widthF() <= 1 && pen.brush().style() == Qt::SolidPattern
                       && !painter.testRenderHint(QPainter::Antialiasing) && whole;
    if (!plain) {
        painter.drawLine(x1, y1, x2, y2);
        return;
    }
    painter.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))),
                     pen.color());
}
