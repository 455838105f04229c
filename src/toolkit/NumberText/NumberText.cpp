#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace NumberText {

namespace {

// A value's decimal form: magnitude = 0.digits × 10^exponent, digits without leading zeros
// (empty for zero).
struct TDecimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

TDecimal ToDecimal(long double value, int significant)
{
    TDecimal result;
    result.negative = std::signbit(value);
    if (value == 0)
        return result;
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, significant - 1);
    // "d.ddddde+xx" or "de+xx"
    const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    const auto e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.')
            result.digits.push_back(c);
    int scientific = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), scientific);
    result.exponent = scientific + 1;
    return result;
}

// Rounds the decimal form to `decimals` places after the point, halves away from zero.
void RoundToDecimals(TDecimal& d, int decimals)
{
    const long long keep = static_cast<long long>(d.exponent) + decimals;
    if (keep >= static_cast<long long>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = d.digits.size();
        while (i > 0 && d.digits[i - 1] == '9') {
            d.digits[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        } else {
            ++d.digits[i - 1];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.exponent = 0;
}

std::u16string Widen(std::string_view ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Group(const std::string& integerDigits, const std::u16string& separator)
{
    std::u16string out;
    const std::size_t n = integerDigits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out.push_back(static_cast<char16_t>(integerDigits[i]));
    }
    return out;
}

bool StartsWith(std::u16string_view text, std::size_t at, std::u16string_view prefix)
{
    return !prefix.empty() && text.size() >= at && text.size() - at >= prefix.size()
           && text.compare(at, prefix.size(), prefix) == 0;
}

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to)
{
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (StartsWith(text, i, from)) {
            out += to;
            i += from.size();
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

std::u16string NonFinite(long double value)
{
    if (std::isnan(value))
        return u"NAN";
    return value < 0 ? u"-INF" : u"INF";
}

} // namespace

TFormatSettings FrenchFormatSettings()
{
    return {u",", u"\u202F", u"€"};
}

TFormatSettings CFormatSettings()
{
    return {u".", u",", u"$"};
}

namespace {

// Built by appending: GCC 12 at -O3 takes `"'" + std::string&&` for an overlapping copy.
std::string ConvertErrorText(std::u16string_view text)
{
    std::string message = "'";
    message += ToUtf8(text);
    message += "' n'est pas une valeur en virgule flottante correcte";
    return message;
}

} // namespace

EConvertError::EConvertError(std::u16string_view text)
    : std::runtime_error(ConvertErrorText(text))
{
}

std::u16string FormatFloat(std::u16string_view pattern, long double value, const TFormatSettings& settings)
{
    if (!std::isfinite(value))
        return NonFinite(value);

    int minIntegerDigits = 0, requiredDecimals = 0, optionalDecimals = 0;
    bool grouping = false, afterPoint = false;
    for (char16_t c : pattern) {
        if (c == u'.') {
            afterPoint = true;
        } else if (c == u',') {
            if (!afterPoint)
                grouping = true;
        } else if (c == u'0') {
            if (afterPoint)
                ++requiredDecimals;
            else
                ++minIntegerDigits;
        } else if (c == u'#') {
            if (afterPoint)
                ++optionalDecimals;
        }
    }
    const int decimals = requiredDecimals + optionalDecimals;

    TDecimal d = ToDecimal(value, kSignificantDigits);
    RoundToDecimals(d, decimals);

    std::string integerDigits, fraction;
    if (d.exponent > 0) {
        const auto intCount = static_cast<std::size_t>(d.exponent);
        integerDigits = d.digits.substr(0, std::min(intCount, d.digits.size()));
        integerDigits.append(intCount - integerDigits.size(), '0');
        if (d.digits.size() > intCount)
            fraction = d.digits.substr(intCount);
    } else {
        fraction.assign(static_cast<std::size_t>(-d.exponent), '0');
        fraction += d.digits;
    }
    if (static_cast<int>(integerDigits.size()) < minIntegerDigits)
        integerDigits.insert(0, static_cast<std::size_t>(minIntegerDigits) - integerDigits.size(), '0');
    fraction.resize(static_cast<std::size_t>(decimals), '0');
    while (static_cast<int>(fraction.size()) > requiredDecimals && fraction.back() == '0')
        fraction.pop_back();

    std::u16string out;
    if (d.negative && !d.digits.empty())
        out += u'-';
    out += grouping ? Group(integerDigits, settings.ThousandSeparator) : Widen(integerDigits);
    if (!fraction.empty()) {
        out += settings.DecimalSeparator;
        out += Widen(fraction);
    }
    return out;
}

std::u16string EditingFormat(unsigned decimalPlaces, bool decimalPlacesAlwaysShown)
{
    if (decimalPlaces == 0)
        return u",0";
    const unsigned shown = std::min(decimalPlaces, kMaxDecimalPlaces);
    return u",0." + std::u16string(shown, decimalPlacesAlwaysShown ? u'0' : u'#');
}

std::u16string GeneralRendering(long double value, int precision, const TFormatSettings& settings)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    precision = std::clamp(precision, 1, 18);
    TDecimal d = ToDecimal(value, precision);
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        return u"0";

    std::u16string out = d.negative ? u"-" : u"";
    const int scientific = d.exponent - 1;
    if (scientific >= -5 && d.exponent <= precision) {
        if (d.exponent <= 0) {
            out += u'0';
            out += settings.DecimalSeparator;
            out += std::u16string(static_cast<std::size_t>(-d.exponent), u'0');
            out += Widen(d.digits);
        } else {
            const auto intCount = static_cast<std::size_t>(d.exponent);
            std::string integerDigits = d.digits.substr(0, std::min(intCount, d.digits.size()));
            integerDigits.append(intCount - integerDigits.size(), '0');
            out += Widen(integerDigits);
            if (d.digits.size() > intCount) {
                out += settings.DecimalSeparator;
                out += Widen(d.digits.substr(intCount));
            }
        }
        return out;
    }
    out += static_cast<char16_t>(d.digits[0]);
    if (d.digits.size() > 1) {
        out += settings.DecimalSeparator;
        out += Widen(d.digits.substr(1));
    }
    out += u'E';
    out += Widen(std::to_string(scientific));
    return out;
}

std::u16string NormaliseNumberText(std::u16string_view text, const TFormatSettings& settings, TNormalise steps)
{
    const std::u16string& dec = settings.DecimalSeparator;
    const std::u16string& thou = settings.ThousandSeparator;

    std::size_t first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    std::u16string s(text.substr(first, last - first));

    if (dec != thou && !thou.empty())
        s = ReplaceAll(s, thou, u"");
    if (dec != u"." && thou != u".")
        s = ReplaceAll(s, u".", dec);
    if (dec != u"," && thou != u",")
        s = ReplaceAll(s, u",", dec);

    if (steps == TNormalise::Full) {
        std::u16string kept;
        std::size_t i = 0;
        while (i < s.size()) {
            if (StartsWith(s, i, dec)) {
                kept += dec;
                i += dec.size();
            } else if (StartsWith(s, i, thou)) {
                kept += thou;
                i += thou.size();
            } else {
                const char16_t c = s[i++];
                if (c == u'+' || c == u'-' || (c >= u'0' && c <= u'9'))
                    kept.push_back(c);
            }
        }
        s = std::move(kept);
    }

    if (s.empty())
        return u"0";
    if (s == u"-")
        return u"-0";
    return s;
}

bool TryConvert(std::u16string_view text, const TFormatSettings& settings, long double& value)
{
    const std::u16string& dec = settings.DecimalSeparator;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == u' ')
        ++i;

    std::string ascii;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            ascii.push_back('-');
        ++i;
    }
    std::string integerDigits, fractionDigits;
    bool seenSeparator = false;
    while (i < n) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            (seenSeparator ? fractionDigits : integerDigits).push_back(static_cast<char>(c));
            ++i;
        } else if (!seenSeparator && StartsWith(text, i, dec)) {
            seenSeparator = true;
            i += dec.size();
        } else {
            break;
        }
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return false;

    long long exponent = 0;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        constexpr long long kExponentCap = 1'000'000'000;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            exponent = std::min(kExponentCap, exponent * 10 + (text[i] - u'0'));
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return false;

    // Leading zeros carry no value; dropping them keeps the digit text short.
    const auto nonZero = integerDigits.find_first_not_of('0');
    integerDigits.erase(0, nonZero == std::string::npos ? integerDigits.size() : nonZero);
    const bool allZero = integerDigits.find_first_not_of('0') == std::string::npos
                         && fractionDigits.find_first_not_of('0') == std::string::npos;
    if (allZero) {
        value = ascii.empty() ? 0.0L : -0.0L;
        return true;
    }

    ascii += integerDigits.empty() ? "0" : integerDigits;
    if (!fractionDigits.empty()) {
        ascii += '.';
        ascii += fractionDigits;
    }
    ascii += 'e';
    ascii += std::to_string(exponent);

    long double parsed = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range either way: the leading digit's power of ten tells which way.
        long long lead = exponent;
        if (!integerDigits.empty())
            lead += static_cast<long long>(integerDigits.size());
        else
            lead -= static_cast<long long>(fractionDigits.find_first_not_of('0'));
        if (lead > 0)
            return false;
        value = ascii[0] == '-' ? -0.0L : 0.0L;
        return true;
    }
    if (result.ec != std::errc() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

long double convert(std::u16string_view text, const TFormatSettings& settings)
{
    long double value = 0;
    if (!TryConvert(text, settings, value))
        throw EConvertError(text);
    return value;
}

long double ApplyLimits(long double value, const TNumberLimits& limits, bool raiseOnError,
                        const TFormatSettings& settings)
{
    long double x = value;
    if (limits.DecimalPlaceRound && x != 0 && std::isfinite(x)) {
        const long double p = limits.DecimalPlaces;
        const long double scaled = x * std::exp(p * std::log(10.0L));
        // A value too large to scale has no decimals left to round.
        if (std::isfinite(scaled)) {
            const long double s = x < 0 ? -1.0L : 1.0L;
            x = std::trunc(scaled + s * 0.50000001L) * std::exp(-p * std::log(10.0L));
        }
    }

    const long double lo = limits.MinValue, hi = limits.MaxValue;
    long double limited = x;
    if (lo < hi) {
        limited = std::clamp(x, lo, hi);
    } else if (lo > hi) {
        if (hi == 0)
            limited = std::max(x, lo);
        else if (lo == 0)
            limited = std::min(x, hi);
    }

    if (raiseOnError && limited != x) {
        const std::u16string pattern = limits.DecimalPlaces == 0
            ? u"0"
            : u"0." + std::u16string(std::min(limits.DecimalPlaces, kMaxDecimalPlaces), u'0');
        throw ERangeError("Value must be between " + ToUtf8(FormatFloat(pattern, lo, settings)) + " and "
                          + ToUtf8(FormatFloat(pattern, hi, settings)));
    }
    return limited;
}

std::string ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        char32_t c = 0xFFFD;
        std::size_t length = 1;
        if (b < 0x80) {
            c = b;
        } else if (b >= 0xC2 && b < 0xF5) {
            length = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            if (i + length <= text.size()) {
                char32_t v = b & (0xFF >> (length + 1));
                bool valid = true;
                for (std::size_t k = 1; k < length; ++k) {
                    const auto t = static_cast<unsigned char>(text[i + k]);
                    valid = valid && (t & 0xC0) == 0x80;
                    v = (v << 6) | (t & 0x3F);
                }
                const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
                if (valid && v >= minimum && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF))
                    c = v;
                else
                    length = 1;
            } else {
                length = 1;
            }
        }
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += length;
    }
    return out;
}

} // namespace NumberText
