#pragma once
// The toolkit's number formatting and text-to-number conversion, shared by the marker-input
// models and the real numeric edit. Standard library only.
//
// Texts are UTF-16 (the edit box's own encoding). The locale's separators are passed in as
// strings, so that a separator outside Latin-1 (U+202F in French) compares as one whole
// character.

#include <stdexcept>
#include <string>
#include <string_view>

namespace NumberText {

// The regional settings the number texts depend on.
struct TFormatSettings {
    std::u16string DecimalSeparator = u".";
    std::u16string ThousandSeparator = u",";
    std::u16string CurrencyString = u"$";
};

// French (France): decimal comma, narrow no-break space between digit groups.
TFormatSettings FrenchFormatSettings();
// The C locale: decimal point, comma between digit groups.
TFormatSettings CFormatSettings();

// A text that cannot be read as a number. The message is
// "'<text>' n'est pas une valeur en virgule flottante correcte", in UTF-8.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(std::u16string_view text);
};

// A value outside the limits (ApplyLimits with raiseOnError).
class ERangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimals beyond this many are never shown: a value carries at most 15 significant digits.
inline constexpr unsigned kMaxDecimalPlaces = 20;
// Significant digits of a value's decimal form (formatting and general rendering).
inline constexpr int kSignificantDigits = 15;

// Picture formatting: "0" a required digit, "#" an optional digit, "." the decimal separator,
// "," before it digit grouping with the thousands separator. The value is first taken to 15
// significant digits, then rounded to the pattern's decimals with halves away from zero.
// Optional trailing zeros and a separator without digits after it are dropped; a negative
// value that does not round to zero gets a leading "-". Large values stay in fixed notation,
// so that every formatted text reads back as the value it shows. Characters other than
// "0", "#", "." and "," are ignored. Non-finite values give "INF", "-INF" or "NAN".
std::u16string FormatFloat(std::u16string_view pattern, long double value, const TFormatSettings& settings);

// The display pattern of a numeric edit: ",0" without decimals, otherwise ",0." followed by
// the decimals, "0" when always shown and "#" otherwise. Decimals are capped at
// kMaxDecimalPlaces.
std::u16string EditingFormat(unsigned decimalPlaces, bool decimalPlacesAlwaysShown);

// General rendering: the shortest text with at most `precision` significant digits (1 to 18),
// locale decimal separator, no grouping, no trailing zeros; fixed notation when the integer
// part has at most `precision` digits and the magnitude is at least 0.00001 (or the value is 0),
// otherwise "d.dddE[-]x" (no "+", no leading zeros in the exponent).
std::u16string GeneralRendering(long double value, int precision, const TFormatSettings& settings);

// Which steps NormaliseNumberText applies.
enum class TNormalise {
    Full,                // steps 1 to 5: the text every conversion of edit text reads
    KeepAllCharacters,   // steps 1, 2, 3 and 5: the typed-character test sees exponent marks
};

// 1. Spaces (U+0020) removed at both ends. 2. If the separators differ, every thousands
// separator deleted. 3. If neither separator is ".", every "." becomes the decimal separator;
// likewise for ",". 4. (Full only) only "+", "-", "0" to "9" and the two separators kept.
// 5. An empty result becomes "0", a lone "-" becomes "-0".
std::u16string NormaliseNumberText(std::u16string_view text, const TFormatSettings& settings,
                                   TNormalise steps = TNormalise::Full);

// Text to number: blanks (U+0020) allowed before and after; an optional sign; decimal digits
// (at least one) with at most one decimal separator among them; an optional exponent mark
// "E"/"e" with an optional sign and digits (none counts as 0, so "1E" reads 1). A value too
// large for the type is not a number the program can hold: it raises EConvertError like any
// unreadable text. A value too small to represent reads as 0.
long double convert(std::u16string_view text, const TFormatSettings& settings);
// The same without the error: false when the text does not convert.
bool TryConvert(std::u16string_view text, const TFormatSettings& settings, long double& value);

// The limits and rounding of a numeric edit.
struct TNumberLimits {
    long double MinValue = 0;
    long double MaxValue = 0;
    unsigned DecimalPlaces = 2;
    bool DecimalPlaceRound = false;
};

// Optional rounding to DecimalPlaces, then the limits: Min = Max no limit; Min < Max clamps
// to [Min, Max]; Min > Max with Max = 0 only Min; Min > Max with Min = 0 only Max; otherwise
// no limit. With raiseOnError, a limited value that differs from the input raises ERangeError
// "Value must be between <Min> and <Max>" (each with DecimalPlaces decimals).
long double ApplyLimits(long double value, const TNumberLimits& limits, bool raiseOnError,
                        const TFormatSettings& settings);

// UTF-16 <-> UTF-8, for messages and tests.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

} // namespace NumberText
