#include "LinkLabelTools.h"

#include <QPainter>

TFontStyles StylesOfFont(const QFont& font)
{
    TFontStyles styles;
    if (font.bold())
        styles = styles.With(fsBold);
    if (font.italic())
        styles = styles.With(fsItalic);
    if (font.underline())
        styles = styles.With(fsUnderline);
    if (font.strikeOut())
        styles = styles.With(fsStrikeOut);
    return styles;
}

QFont FontWithStyles(QFont font, TFontStyles styles)
{
    font.setBold(styles.Contains(fsBold));
    font.setItalic(styles.Contains(fsItalic));
    font.setUnderline(styles.Contains(fsUnderline));
    font.setStrikeOut(styles.Contains(fsStrikeOut));
    return font;
}

TPainterCanvas::TPainterCanvas(QPainter& painter, const QFont& font)
    : FPainter(painter)
    , FFont(font)
{
}

TPainterCanvas::TStyledFont& TPainterCanvas::Styled(TFontStyles styles)
{
    auto& slot = FFonts[styles.Bits()];
    if (!slot) {
        QFont f = FontWithStyles(FFont, styles);
        // Metrics for the painter's device, so that widths match what is drawn there.
        QFontMetrics metrics(f, FPainter.device());
        slot.emplace(TStyledFont{f, metrics});
    }
    return *slot;
}

int TPainterCanvas::TextWidth(const QString& text, TFontStyles styles)
{
    return Styled(styles).Metrics.horizontalAdvance(text);
}

int TPainterCanvas::LineHeight()
{
    return Styled(TFontStyles{}).Metrics.height();
}

void TPainterCanvas::DrawText(int x, int y, const QString& text, TFontStyles styles, TColor color)
{
    TStyledFont& styled = Styled(styles);
    if (FCurrentFont != styles.Bits()) {
        FPainter.setFont(styled.Font);
        FCurrentFont = styles.Bits();
    }
    if (FCurrentColor != color) {
        FPainter.setPen(ToQColor(color));
        FCurrentColor = color;
    }
    FPainter.drawText(x, y + styled.Metrics.ascent(), text);
}

QString ReplaceEntities(const QString& text)
{
    if (!text.contains(u'&'))
        return text;
    QString result = text;
    result.replace(QLatin1String("&lt;"), QLatin1String("<"));
    result.replace(QLatin1String("&gt;"), QLatin1String(">"));
    return result;
}
