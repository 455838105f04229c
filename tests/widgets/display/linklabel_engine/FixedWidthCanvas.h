#pragma once
// A canvas whose characters all have one width per style, so that layouts are exact and do not
// depend on fonts: 10 pixels a character, 12 in bold, lines 10 pixels high. It records what is
// drawn and counts the measurements.

#include "LinkLabelTools.h"

#include <QString>
#include <QStringList>

class TFixedWidthCanvas final : public TLinkLabelCanvas
{
public:
    static constexpr int kCharWidthPx = 10;
    static constexpr int kBoldCharWidthPx = 12;
    static constexpr int kLineHeightPx = 10;

    struct TDrawn {
        int X;
        int Y;
        QString Text;
        TFontStyles Styles;
        TColor Color;
    };

    int TextWidth(const QString& text, TFontStyles styles) override
    {
        ++Measurements;
        return static_cast<int>(text.size()) * (styles.Contains(fsBold) ? kBoldCharWidthPx : kCharWidthPx);
    }
    int LineHeight() override { return kLineHeightPx; }
    void DrawText(int x, int y, const QString& text, TFontStyles styles, TColor color) override
    {
        Drawn.push_back({x, y, text, styles, color});
    }

    // "x,y:text", with a "*" after bold text.
    QStringList Pieces() const
    {
        QStringList pieces;
        for (const TDrawn& d : Drawn)
            pieces << QStringLiteral("%1,%2:%3%4").arg(d.X).arg(d.Y).arg(d.Text, d.Styles.Contains(fsBold) ? "*" : "");
        return pieces;
    }

    std::vector<TDrawn> Drawn;
    int Measurements = 0;
};
