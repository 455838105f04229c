#include "PlainLabel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

bool IsPlainLine(const QString& text)
{
    for (const QChar c : text)
        if (c == u'&' || c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            return false;
    return true;
}

} // namespace

TLabel::TLabel(QWidget* owner)
    : TExGraphicControl(owner)
{
    FitHeightToFont();
}

void TLabel::SetCaption(const QString& caption)
{
    if (caption == FCaption)
        return;
    FCaption = caption;
    update();
}

void TLabel::SetFontColor(TColor color)
{
    if (color == FFontColor)
        return;
    FFontColor = color;
    update();
}

void TLabel::FitHeightToFont()
{
    const int lineHeight = fontMetrics().height();
    if (height() != lineHeight)
        resize(width(), lineHeight);
}

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(ToQColor(FFontColor));
    // Drawn within the label's own rectangle, so a long text is cut off at its right edge.
    if (IsPlainLine(FCaption)) {
        // No accelerator mark, line break or tab: the formatted drawing would put the same
        // glyphs at the same place, after a layout pass of its own.
        if (font().underline() || font().strikeOut()) {
            painter.drawText(0, fontMetrics().ascent(), FCaption);
            return;
        }
        // The finding texts come back again and again: each is laid out once per font.
        auto found = FLines.find(FCaption);
        if (found == FLines.end()) {
            constexpr qsizetype kMostLines = 32;
            if (FLines.size() >= kMostLines)
                FLines.clear();
            QStaticText line(FCaption);
            line.setTextFormat(Qt::PlainText);
            line.prepare(QTransform(), font());
            found = FLines.insert(FCaption, line);
        }
        painter.drawStaticText(0, 0, *found);
        return;
    }
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic, FCaption);
}

void TLabel::changeEvent(QEvent* event)
{
    TExGraphicControl::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FLines.clear();
        FitHeightToFont();
        update();
    }
}

void TLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FPressed = true;
    event->accept();  // the press belongs to the label, not to the panel under it
}

void TLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        FPressed = false;
    event->accept();
    if (click)
        Fire(OnClick, this);
}
