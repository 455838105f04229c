// Arbitrary UTF-16 text through NormaliseNumberText, convert and the numeric edit's typed-
// character test. Input: a locale byte, a decimal-places byte, a limits byte, a selection byte,
// then the text as UTF-16 code units (little-endian byte pairs); the last unit is the typed
// character.

#include "NumEdits.h"
#include "NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace NumberText;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

TFormatSettings SettingsFor(std::uint8_t selector)
{
    switch (selector % 4) {
    case 0: return FrenchFormatSettings();
    case 1: return CFormatSettings();
    case 2: return {u",", u".", u"kr"}; // separators swapped
    default: return {u".", u".", u""};  // one character for both
    }
}

bool OnlyNumberCharacters(const std::u16string& text, const TFormatSettings& s)
{
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, s.DecimalSeparator.size(), s.DecimalSeparator) == 0) {
            i += s.DecimalSeparator.size();
        } else if (!s.ThousandSeparator.empty() && text.compare(i, s.ThousandSeparator.size(), s.ThousandSeparator) == 0) {
            i += s.ThousandSeparator.size();
        } else {
            const char16_t c = text[i++];
            if (!(c == u'+' || c == u'-' || (c >= u'0' && c <= u'9')))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const TFormatSettings settings = SettingsFor(data[0]);
    TNumberLimits limits;
    limits.DecimalPlaces = data[1] % 22;
    limits.DecimalPlaceRound = (data[2] & 1) != 0;
    if (data[2] & 2) {
        limits.MinValue = 0;
        limits.MaxValue = 10;
    } else if (data[2] & 4) {
        limits.MinValue = 5;
        limits.MaxValue = 0;
    }
    std::u16string text;
    for (std::size_t i = 4; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

    // Normalising always leaves a text of number characters only.
    const std::u16string full = NormaliseNumberText(text, settings);
    Check(!full.empty() && OnlyNumberCharacters(full, settings));
    const std::u16string kept = NormaliseNumberText(text, settings, TNormalise::KeepAllCharacters);
    Check(!kept.empty());

    // convert raises exactly when TryConvert fails, and never yields a non-finite number.
    const std::u16string* const candidates[] = {&text, &full, &kept};
    for (const std::u16string* candidate : candidates) {
        long double value = 0;
        const bool ok = TryConvert(*candidate, settings, value);
        bool threw = false;
        try {
            const long double converted = convert(*candidate, settings);
            Check(converted == value || (std::isnan(converted) && std::isnan(value)));
        } catch (const EConvertError&) {
            threw = true;
        }
        Check(ok != threw);
        if (!ok)
            continue;
        Check(std::isfinite(value));
        const long double limited = ApplyLimits(value, limits, false, settings);
        Check(std::isfinite(limited));
        const std::u16string shown = FormatFloat(EditingFormat(limits.DecimalPlaces, false), limited, settings);
        long double back = 0;
        // What the edit shows for the value, the edit reads back: in every locale whose two
        // separators differ (with one character for both, a grouped number cannot be told from a
        // decimal one, and only the absence of a crash is checked).
        if (settings.DecimalSeparator != settings.ThousandSeparator)
            Check(TryConvert(NormaliseNumberText(shown, settings), settings, back));
        const std::u16string general = GeneralRendering(value, kSignificantDigits, settings);
        Check(TryConvert(general, settings, back));
    }

    // The typed-character test: a character it keeps leaves a text that converts.
    if (!text.empty()) {
        const char16_t typed = text.back();
        const std::u16string before = text.substr(0, text.size() - 1);
        const std::size_t start = before.empty() ? 0 : data[3] % (before.size() + 1);
        const std::size_t length = data[3] >> 4;
        if (CharKeepsNumber(before, start, length, typed, limits, settings)) {
            std::u16string after = before;
            const std::size_t at = std::min(start, after.size());
            after.replace(at, std::min(length, after.size() - at), 1, typed);
            long double value = 0;
            Check(TryConvert(NormaliseNumberText(after, settings, TNormalise::KeepAllCharacters), settings, value));
        }
    }
    return 0;
}
