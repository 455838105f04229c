#pragma once
// The user's regional settings for numbers, read once from the system locale.

#include "NumberText.h"

#include <QLocale>
#include <QString>

namespace Locale {

// The settings every number text of the program uses (the system locale's, unless a test
// replaced them).
const NumberText::TFormatSettings& FormatSettings();
void SetFormatSettings(const NumberText::TFormatSettings& settings);
NumberText::TFormatSettings FromQLocale(const QLocale& locale);

inline QString ToQString(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}
inline std::u16string FromQString(const QString& text)
{
    return text.toStdU16String();
}

} // namespace Locale
