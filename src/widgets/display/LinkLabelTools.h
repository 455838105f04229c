#pragma once
// Shared pieces of the link label's mark-up engine: font styles, the canvas the engine measures
// and draws text on, and small text helpers. The engine itself knows nothing of widgets; it
// talks to a TLinkLabelCanvas, which the label backs with a QPainter and tests back with a
// fixed-width stand-in.

#include "Colors.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QStaticText>
#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>

class QPainter;

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles.
class TFontStyles
{
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles)
    {
        for (TFontStyle s : styles)
            FBits = static_cast<std::uint8_t>(FBits | Bit(s));
    }

    constexpr bool Contains(TFontStyle style) const { return (FBits & Bit(style)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TFontStyles With(TFontStyle style) const { return FromBits(static_cast<std::uint8_t>(FBits | Bit(style))); }
    constexpr TFontStyles operator|(TFontStyles other) const { return FromBits(static_cast<std::uint8_t>(FBits | other.FBits)); }
    // 0..15: one value per combination, for tables indexed by styles.
    constexpr std::uint8_t Bits() const { return FBits; }
    static constexpr TFontStyles FromBits(std::uint8_t bits)
    {
        TFontStyles s;
        s.FBits = static_cast<std::uint8_t>(bits & 0x0F);
        return s;
    }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    static constexpr std::uint8_t Bit(TFontStyle s) { return static_cast<std::uint8_t>(1u << s); }
    std::uint8_t FBits = 0;
};

// The styles a font carries, and a font with exactly the given styles.
TFontStyles StylesOfFont(const QFont& font);
QFont FontWithStyles(QFont font, TFontStyles styles);

// What the layout needs of a drawing surface. Positions are in pixels; y is the top of the line.
class TLinkLabelCanvas
{
public:
    virtual ~TLinkLabelCanvas() = default;
    // Advance width of `text` in the canvas font with exactly `styles`.
    virtual int TextWidth(const QString& text, TFontStyles styles) = 0;
    // Height of one line: the text "Yy" in the canvas font with its styles removed.
    virtual int LineHeight() = 0;
    // Draws `text` with its top-left corner at (x, y), without a background.
    virtual void DrawText(int x, int y, const QString& text, TFontStyles styles, TColor color) = 0;
};

// The canvas on a QPainter, in a given base font. Font metrics are made once per style
// combination, since the layout asks for many widths in few styles.
class TPainterCanvas final : public TLinkLabelCanvas
{
public:
    TPainterCanvas(QPainter& painter, const QFont& font);

    int TextWidth(const QString& text, TFontStyles styles) override;
    int LineHeight() override;
    void DrawText(int x, int y, const QString& text, TFontStyles styles, TColor color) override;

    // What one font has measured, shared by every canvas drawing in that font on a device of the
    // same resolution: the labels show the texts of a small fixed table, so the same words and
    // lines come back again and again, and each is shaped once rather than at every layout.
    struct TMeasured {
        QHash<QString, int> Widths;
        QHash<QString, QStaticText> Lines; // single lines, laid out for drawing
    };

private:
    struct TStyledFont {
        QFont Font;
        QFontMetrics Metrics;
        TMeasured* Measured = nullptr;
    };
    TStyledFont& Styled(TFontStyles styles);

    QPainter& FPainter;
    QFont FFont;
    std::array<std::optional<TStyledFont>, 16> FFonts;
    std::optional<std::uint8_t> FCurrentFont;
    std::optional<TColor> FCurrentColor;
};

// The text with "&lt;" and "&gt;" standing for "<" and ">"; no other entity exists.
QString ReplaceEntities(const QString& text);
