#include "LinkLabelTools.h"

#include <QPainter>
#include <algorithm>
#include <map>
#include <vector>

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

namespace {

// By font and resolution; the map's nodes stay where they are while others are added. Every paint
// of a label asks again for the same few fonts, and building a font's key costs more than laying
// out a short line: the fonts asked for last are found by comparing them first.
TPainterCanvas::TMeasured& MeasuredFor(const QFont& font, const QPaintDevice* device)
{
    struct TRecent {
        QFont Font;
        int DpiX = 0;
        int DpiY = 0;
        TPainterCanvas::TMeasured* Measured = nullptr;
    };
    constexpr std::size_t kMostRecent = 8;
    static std::vector<TRecent> recent;
    static std::map<QString, TPainterCanvas::TMeasured> measured;

    const int dpiX = device ? device->logicalDpiX() : 0;
    const int dpiY = device ? device->logicalDpiY() : 0;
    for (auto it = recent.begin(); it != recent.end(); ++it) {
        if (it->DpiX == dpiX && it->DpiY == dpiY && it->Font == font) {
            std::rotate(recent.begin(), it, it + 1);
            return *recent.front().Measured;
        }
    }
    QString key = font.key();
    if (device)
        key += QStringLiteral("@%1x%2").arg(dpiX).arg(dpiY);
    TPainterCanvas::TMeasured& found = measured[key];
    if (recent.size() == kMostRecent)
        recent.pop_back();
    recent.insert(recent.begin(), TRecent{font, dpiX, dpiY, &found});
    return found;
}

bool IsSingleLine(const QString& text)
{
    for (const QChar c : text)
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    return true;
}

} // namespace

TPainterCanvas::TStyledFont& TPainterCanvas::Styled(TFontStyles styles)
{
    auto& slot = FFonts[styles.Bits()];
    if (!slot) {
        QFont f = FontWithStyles(FFont, styles);
        // Metrics for the painter's device, so that widths match what is drawn there.
        QFontMetrics metrics(f, FPainter.device());
        slot.emplace(TStyledFont{f, metrics, &MeasuredFor(f, FPainter.device())});
    }
    return *slot;
}

int TPainterCanvas::TextWidth(const QString& text, TFontStyles styles)
{
    TStyledFont& styled = Styled(styles);
    QHash<QString, int>& widths = styled.Measured->Widths;
    if (const auto found = widths.constFind(text); found != widths.constEnd())
        return *found;
    const int width = styled.Metrics.horizontalAdvance(text);
    // Bounded: a text of any length can pass through a label, the program's own are few.
    constexpr qsizetype kMostWidths = 4096;
    if (widths.size() >= kMostWidths)
        widths.clear();
    widths.insert(text, width);
    return width;
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
    // A line laid out once is drawn with the same glyphs at the same place as drawText puts
    // them; underlined and struck-out text, and anything with a break or a tab, take drawText.
    if (!styles.Contains(fsUnderline) && !styles.Contains(fsStrikeOut) && IsSingleLine(text)) {
        QHash<QString, QStaticText>& lines = styled.Measured->Lines;
        auto found = lines.find(text);
        if (found == lines.end()) {
            constexpr qsizetype kMostLines = 512;
            if (lines.size() >= kMostLines)
                lines.clear();
            QStaticText line(text);
            line.setTextFormat(Qt::PlainText);
            line.prepare(QTransform(), styled.Font);
            found = lines.insert(text, line);
        }
        FPainter.drawStaticText(x, y, *found);
        return;
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
