#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace {

struct TColorName {
    const char* name;
    TColor color;
};

constexpr std::array kColorNames{
    TColorName{"clBlack", clBlack}, TColorName{"clMaroon", clMaroon}, TColorName{"clGreen", clGreen},
    TColorName{"clOlive", clOlive}, TColorName{"clNavy", clNavy}, TColorName{"clPurple", clPurple},
    TColorName{"clTeal", clTeal}, TColorName{"clGray", clGray}, TColorName{"clSilver", clSilver},
    TColorName{"clRed", clRed}, TColorName{"clLime", clLime}, TColorName{"clYellow", clYellow},
    TColorName{"clBlue", clBlue}, TColorName{"clFuchsia", clFuchsia}, TColorName{"clAqua", clAqua},
    TColorName{"clWhite", clWhite}, TColorName{"clMoneyGreen", clMoneyGreen},
    TColorName{"clSkyBlue", clSkyBlue}, TColorName{"clCream", clCream}, TColorName{"clMedGray", clMedGray},
    TColorName{"clScrollBar", clScrollBar}, TColorName{"clBackground", clBackground},
    TColorName{"clActiveCaption", clActiveCaption}, TColorName{"clInactiveCaption", clInactiveCaption},
    TColorName{"clMenu", clMenu}, TColorName{"clWindow", clWindow}, TColorName{"clWindowFrame", clWindowFrame},
    TColorName{"clMenuText", clMenuText}, TColorName{"clWindowText", clWindowText},
    TColorName{"clCaptionText", clCaptionText}, TColorName{"clActiveBorder", clActiveBorder},
    TColorName{"clInactiveBorder", clInactiveBorder}, TColorName{"clAppWorkSpace", clAppWorkSpace},
    TColorName{"clHighlight", clHighlight}, TColorName{"clHighlightText", clHighlightText},
    TColorName{"clBtnFace", clBtnFace}, TColorName{"clBtnShadow", clBtnShadow},
    TColorName{"clGrayText", clGrayText}, TColorName{"clBtnText", clBtnText},
    TColorName{"clInactiveCaptionText", clInactiveCaptionText}, TColorName{"clBtnHighlight", clBtnHighlight},
    TColorName{"cl3DDkShadow", cl3DDkShadow}, TColorName{"cl3DLight", cl3DLight},
    TColorName{"clInfoText", clInfoText}, TColorName{"clInfoBk", clInfoBk}, TColorName{"clHotLight", clHotLight},
    TColorName{"clGradientActiveCaption", clGradientActiveCaption},
    TColorName{"clGradientInactiveCaption", clGradientInactiveCaption},
    TColorName{"clMenuHighlight", clMenuHighlight}, TColorName{"clMenuBar", clMenuBar},
    TColorName{"clNone", clNone}, TColorName{"clDefault", clDefault},
};

// The palette colour that stands in for a system colour on this desktop.
QColor SystemColor(unsigned index)
{
    const QPalette palette = QGuiApplication::palette();
    auto role = [&](QPalette::ColorRole r) { return palette.color(QPalette::Active, r); };
    switch (index) {
    case 0x00: return role(QPalette::Button);            // scroll bar
    case 0x01: return role(QPalette::Dark);              // desktop background
    case 0x02: return role(QPalette::Highlight);         // active caption
    case 0x03: return palette.color(QPalette::Inactive, QPalette::Highlight).lighter(130);
    case 0x04: return role(QPalette::Window);            // menu
    case 0x05: return role(QPalette::Base);              // window
    case 0x06: return role(QPalette::WindowText);        // window frame
    case 0x07: return role(QPalette::WindowText);        // menu text
    case 0x08: return role(QPalette::WindowText);        // window text
    case 0x09: return role(QPalette::HighlightedText);   // caption text
    case 0x0A: case 0x0B: return role(QPalette::Button); // borders
    case 0x0C: return role(QPalette::Dark);              // MDI workspace
    case 0x0D: return role(QPalette::Highlight);
    case 0x0E: return role(QPalette::HighlightedText);
    case 0x0F: return role(QPalette::Button);            // button face
    case 0x10: return role(QPalette::Dark);              // button shadow
    case 0x11: return palette.color(QPalette::Disabled, QPalette::Text);
    case 0x12: return role(QPalette::ButtonText);
    case 0x13: return palette.color(QPalette::Disabled, QPalette::WindowText);
    case 0x14: return role(QPalette::Light);             // button highlight
    case 0x15: return role(QPalette::Shadow);            // 3-D dark shadow
    case 0x16: return role(QPalette::Midlight);          // 3-D light
    case 0x17: return role(QPalette::ToolTipText);
    case 0x18: return role(QPalette::ToolTipBase);       // info background
    case 0x1A: return role(QPalette::Link);              // hot-tracked item
    case 0x1B: return role(QPalette::Highlight).lighter(140);
    case 0x1C: return palette.color(QPalette::Inactive, QPalette::Highlight).lighter(160);
    case 0x1D: return role(QPalette::Highlight);         // menu highlight
    case 0x1E: return role(QPalette::Window);            // menu bar
    default: return role(QPalette::Window);
    }
}

} // namespace

TColor FromQColor(const QColor& color)
{
    return static_cast<TColor>(color.red()) | static_cast<TColor>(color.green()) << 8
           | static_cast<TColor>(color.blue()) << 16;
}

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return FromQColor(SystemColor(color & 0xFFu));
    if (color == clNone || color == clDefault)
        return clBlack;
    return color & 0x00FFFFFFu;
}

QColor ToQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>((rgb >> 16) & 0xFF));
}

std::optional<TColor> StringToColor(const QString& text)
{
    for (const auto& entry : kColorNames)
        if (text.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.color;
    QString number = text.trimmed();
    bool negative = false;
    if (number.startsWith(u'-')) {
        negative = true;
        number.remove(0, 1);
    }
    bool ok = false;
    qlonglong value = 0;
    if (number.startsWith(u'$'))
        value = number.mid(1).toLongLong(&ok, 16);
    else if (!number.isEmpty() && number.front().isDigit())
        value = number.toLongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFLL)
        return std::nullopt;
    if (negative)
        value = -value;
    return static_cast<TColor>(static_cast<std::uint32_t>(value));
}
