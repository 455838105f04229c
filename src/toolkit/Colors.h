#pragma once
// Toolkit colours: 0x00BBGGRR values, or system colours 0xFF0000nn resolved through the
// application palette when drawn.

#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0xFF000000u;

inline constexpr TColor clScrollBar = 0xFF000000u;
inline constexpr TColor clBackground = 0xFF000001u;
inline constexpr TColor clActiveCaption = 0xFF000002u;
inline constexpr TColor clInactiveCaption = 0xFF000003u;
inline constexpr TColor clMenu = 0xFF000004u;
inline constexpr TColor clWindow = 0xFF000005u;
inline constexpr TColor clWindowFrame = 0xFF000006u;
inline constexpr TColor clMenuText = 0xFF000007u;
inline constexpr TColor clWindowText = 0xFF000008u;
inline constexpr TColor clCaptionText = 0xFF000009u;
inline constexpr TColor clActiveBorder = 0xFF00000Au;
inline constexpr TColor clInactiveBorder = 0xFF00000Bu;
inline constexpr TColor clAppWorkSpace = 0xFF00000Cu;
inline constexpr TColor clHighlight = 0xFF00000Du;
inline constexpr TColor clHighlightText = 0xFF00000Eu;
inline constexpr TColor clBtnFace = 0xFF00000Fu;
inline constexpr TColor clBtnShadow = 0xFF000010u;
inline constexpr TColor clGrayText = 0xFF000011u;
inline constexpr TColor clBtnText = 0xFF000012u;
inline constexpr TColor clInactiveCaptionText = 0xFF000013u;
inline constexpr TColor clBtnHighlight = 0xFF000014u;
inline constexpr TColor cl3DDkShadow = 0xFF000015u;
inline constexpr TColor cl3DLight = 0xFF000016u;
inline constexpr TColor clInfoText = 0xFF000017u;
inline constexpr TColor clInfoBk = 0xFF000018u;
inline constexpr TColor clHotLight = 0xFF00001Au;
inline constexpr TColor clGradientActiveCaption = 0xFF00001Bu;
inline constexpr TColor clGradientInactiveCaption = 0xFF00001Cu;
inline constexpr TColor clMenuHighlight = 0xFF00001Du;
inline constexpr TColor clMenuBar = 0xFF00001Eu;

inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clMaroon = 0x000080u;
inline constexpr TColor clGreen = 0x008000u;
inline constexpr TColor clOlive = 0x008080u;
inline constexpr TColor clNavy = 0x800000u;
inline constexpr TColor clPurple = 0x800080u;
inline constexpr TColor clTeal = 0x808000u;
inline constexpr TColor clGray = 0x808080u;
inline constexpr TColor clSilver = 0xC0C0C0u;
inline constexpr TColor clRed = 0x0000FFu;
inline constexpr TColor clLime = 0x00FF00u;
inline constexpr TColor clYellow = 0x00FFFFu;
inline constexpr TColor clBlue = 0xFF0000u;
inline constexpr TColor clFuchsia = 0xFF00FFu;
inline constexpr TColor clAqua = 0xFFFF00u;
inline constexpr TColor clWhite = 0xFFFFFFu;
inline constexpr TColor clMoneyGreen = 0xC0DCC0u;
inline constexpr TColor clSkyBlue = 0xF0CAA6u;
inline constexpr TColor clCream = 0xF0FBFFu;
inline constexpr TColor clMedGray = 0xA4A0A0u;
inline constexpr TColor clNone = 0x1FFFFFFFu;
inline constexpr TColor clDefault = 0x20000000u;

inline constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == kSystemColorFlag; }

// The RGB value (0x00BBGGRR) a colour stands for now: system colours through the application
// palette, clNone and clDefault as black, RGB values unchanged (low 24 bits).
TColor ColorToRGB(TColor color);
// The same as a QColor, opaque.
QColor ToQColor(TColor color);
// An opaque QColor as 0x00BBGGRR.
TColor FromQColor(const QColor& color);

// A colour name of the toolkit ("clRed", "clBtnFace", ...; compared without case), else a
// number: decimal, or hexadecimal after a leading "$" (an optional "-" before either). Nothing
// when the text is neither.
std::optional<TColor> StringToColor(const QString& text);
