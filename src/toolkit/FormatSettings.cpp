#include "FormatSettings.h"

#include <optional>

namespace Locale {

namespace {
std::optional<NumberText::TFormatSettings> gSettings;
}

NumberText::TFormatSettings FromQLocale(const QLocale& locale)
{
    NumberText::TFormatSettings settings;
    settings.DecimalSeparator = locale.decimalPoint().toStdU16String();
    settings.ThousandSeparator = locale.groupSeparator().toStdU16String();
    settings.CurrencyString = locale.currencySymbol().toStdU16String();
    return settings;
}

const NumberText::TFormatSettings& FormatSettings()
{
    if (!gSettings)
        gSettings = FromQLocale(QLocale::system());
    return *gSettings;
}

void SetFormatSettings(const NumberText::TFormatSettings& settings)
{
    gSettings = settings;
}

} // namespace Locale
