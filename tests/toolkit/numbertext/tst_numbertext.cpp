#include "NumberText.h"

#include <QtTest>
#include <cfloat>
#include <cmath>

using namespace NumberText;

namespace {
TFormatSettings Settings(const QString& name)
{
    return name == "fr" ? FrenchFormatSettings() : CFormatSettings();
}
std::u16string U(const QString& s)
{
    return s.toStdU16String();
}
QString Q(const std::u16string& s)
{
    return QString::fromStdU16String(s);
}
// Digit groups in French are separated by U+202F.
const QString kNnbsp = QString(QChar(0x202F));
} // namespace

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void formatFloat_data();
    void formatFloat();
    void editingFormat_data();
    void editingFormat();
    void generalRendering_data();
    void generalRendering();
    void normalise_data();
    void normalise();
    void convertReads_data();
    void convertReads();
    void convertRefuses_data();
    void convertRefuses();
    void convertExtremes();
    void formattedTextsReadBack_data();
    void formattedTextsReadBack();
    void applyLimits_data();
    void applyLimits();
    void applyLimitsRaises();
    void applyLimitsNeverBreaksOnExtremes();
    void utf8RoundTrip();
};

void TestNumberText::formatFloat_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("fr 2.5") << "fr" << ",0.##" << 2.5 << "2,5";
    QTest::newRow("fr 0.14") << "fr" << ",0.##" << 0.14 << "0,14";
    QTest::newRow("fr 700") << "fr" << ",0.##" << 700.0 << "700";
    QTest::newRow("fr 5000 grouped") << "fr" << ",0.##" << 5000.0 << "5" + kNnbsp + "000";
    QTest::newRow("fr 1234567.891") << "fr" << ",0.##" << 1234567.891 << "1" + kNnbsp + "234" + kNnbsp + "567,89";
    QTest::newRow("C 5000 grouped") << "C" << ",0.##" << 5000.0 << "5,000";
    QTest::newRow("C 2.5") << "C" << ",0.##" << 2.5 << "2.5";
    QTest::newRow("half away up") << "C" << ",0.##" << 0.125 << "0.13";
    QTest::newRow("half away negative") << "C" << ",0.##" << -0.125 << "-0.13";
    QTest::newRow("binary 2.675 still rounds up") << "C" << ",0.##" << 2.675 << "2.68";
    QTest::newRow("1.005 rounds up") << "C" << ",0.##" << 1.005 << "1.01";
    QTest::newRow("no decimals half") << "C" << ",0" << 2.5 << "3";
    QTest::newRow("no decimals -0.5") << "C" << ",0" << -0.5 << "-1";
    QTest::newRow("carry into new digit") << "C" << ",0.##" << 999.999 << "1,000";
    QTest::newRow("zero") << "C" << ",0.##" << 0.0 << "0";
    QTest::newRow("tiny negative is no -0") << "C" << ",0.##" << -0.001 << "0";
    QTest::newRow("required decimals") << "C" << ",0.00" << 2.5 << "2.50";
    QTest::newRow("mixed decimals") << "fr" << ",0.0#" << 3.0 << "3,0";
    QTest::newRow("no grouping") << "C" << "0.##" << 123456.0 << "123456";
    QTest::newRow("pattern point no digits") << "C" << ",0." << 7.4 << "7";
    QTest::newRow("small value") << "C" << ",0.##" << 0.004 << "0";
    QTest::newRow("1e20 fixed") << "C" << ",0" << 1e20 << "100,000,000,000,000,000,000";
    QTest::newRow("15 significant digits") << "C" << "0.##" << 123456789012345678.0 << "123456789012346000";
}

void TestNumberText::formatFloat()
{
    QFETCH(QString, locale);
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(Q(FormatFloat(U(pattern), value, Settings(locale))), expected);
}

void TestNumberText::editingFormat_data()
{
    QTest::addColumn<unsigned>("places");
    QTest::addColumn<bool>("always");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default") << 2u << false << ",0.##";
    QTest::newRow("none") << 0u << false << ",0";
    QTest::newRow("none always") << 0u << true << ",0";
    QTest::newRow("three always") << 3u << true << ",0.000";
    QTest::newRow("huge capped") << 4000000000u << false << ",0." + QString(int(kMaxDecimalPlaces), '#');
}

void TestNumberText::editingFormat()
{
    QFETCH(unsigned, places);
    QFETCH(bool, always);
    QFETCH(QString, expected);
    QCOMPARE(Q(EditingFormat(places, always)), expected);
}

void TestNumberText::generalRendering_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << "C" << 0.0 << "0";
    QTest::newRow("negative zero") << "C" << -0.0 << "0";
    QTest::newRow("fr decimal") << "fr" << 1234.5 << "1234,5";
    QTest::newRow("no grouping") << "C" << 1234567.0 << "1234567";
    QTest::newRow("0.1") << "C" << 0.1 << "0.1";
    QTest::newRow("one third") << "C" << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("0.00001 fixed") << "C" << 0.00001 << "0.00001";
    QTest::newRow("0.000001 exponent") << "C" << 0.000001 << "1E-6";
    QTest::newRow("15 integer digits fixed") << "C" << 123456789012345.0 << "123456789012345";
    QTest::newRow("16 integer digits exponent") << "C" << 1234567890123456.0 << "1.23456789012346E15";
    QTest::newRow("rounding crosses to exponent") << "C" << 999999999999999.9 << "1E15";
    QTest::newRow("1e40") << "fr" << 1e40 << "1E40";
    QTest::newRow("negative exponent mantissa") << "fr" << -2.5e-7 << "-2,5E-7";
    QTest::newRow("infinity") << "C" << double(INFINITY) << "INF";
}

void TestNumberText::generalRendering()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(Q(GeneralRendering(value, kSignificantDigits, Settings(locale))), expected);
}

void TestNumberText::normalise_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("full");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << "fr" << "" << true << "0";
    QTest::newRow("blanks only") << "fr" << "   " << true << "0";
    QTest::newRow("lone minus") << "fr" << "-" << true << "-0";
    QTest::newRow("fr group removed") << "fr" << "1" + kNnbsp + "000" << true << "1000";
    QTest::newRow("fr point becomes comma") << "fr" << "2.5" << true << "2,5";
    QTest::newRow("fr nbsp is dropped") << "fr" << QString("1") + QChar(0x00A0) + "000" << true << "1000";
    QTest::newRow("C comma is the group") << "C" << "1,000.5" << true << "1000.5";
    QTest::newRow("exponent mark dropped") << "fr" << "1E3" << true << "13";
    QTest::newRow("exponent kept for typing") << "fr" << "1E3" << false << "1E3";
    QTest::newRow("letters dropped") << "C" << "abc" << true << "0";
    QTest::newRow("outer spaces") << "C" << "  12  " << true << "12";
    QTest::newRow("inner space kept for typing") << "C" << " 1 2 " << false << "1 2";
    QTest::newRow("both separators fr") << "fr" << "1.234,5" << true << "1,234,5";
}

void TestNumberText::normalise()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, full);
    QFETCH(QString, expected);
    QCOMPARE(Q(NormaliseNumberText(U(text), Settings(locale), full ? TNormalise::Full : TNormalise::KeepAllCharacters)),
             expected);
}

void TestNumberText::convertReads_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("integer") << "C" << "700" << 700.0;
    QTest::newRow("fr decimal") << "fr" << "2,5" << 2.5;
    QTest::newRow("C decimal") << "C" << "2.5" << 2.5;
    QTest::newRow("1E3") << "C" << "1E3" << 1000.0;
    QTest::newRow("1e-2") << "fr" << "1e-2" << 0.01;
    QTest::newRow("1E") << "C" << "1E" << 1.0;
    QTest::newRow("1E+") << "C" << "1E+" << 1.0;
    QTest::newRow("-0 from lone minus") << "C" << "-0" << 0.0;
    QTest::newRow("plus sign") << "C" << "+3" << 3.0;
    QTest::newRow("blanks around") << "C" << "  4.5  " << 4.5;
    QTest::newRow("leading separator") << "fr" << ",5" << 0.5;
    QTest::newRow("trailing separator") << "fr" << "5," << 5.0;
    QTest::newRow("forty digits") << "C" << "1" + QString(40, '0') << 1e40;
    QTest::newRow("1E999 fits the type") << "C" << "1E999" << double(INFINITY);
    QTest::newRow("underflow reads 0") << "C" << "1E-99999" << 0.0;
    QTest::newRow("many leading zeros") << "C" << QString(5000, '0') + "7" << 7.0;
}

void TestNumberText::convertReads()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, expected);
    const long double value = convert(U(text), Settings(locale));
    if (std::isinf(expected)) {
        // 1E999 exceeds a double but not the edit's extended precision.
        QVERIFY(std::isfinite(value));
        QVERIFY(value > 1e998L);
    } else {
        QCOMPARE(double(value), expected);
    }
}

void TestNumberText::convertRefuses_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "C" << "";
    QTest::newRow("lone minus") << "C" << "-";
    QTest::newRow("lone plus") << "C" << "+";
    QTest::newRow("separator only") << "fr" << ",";
    QTest::newRow("point in fr") << "fr" << "2.5";
    QTest::newRow("two separators") << "C" << "1.2.3";
    QTest::newRow("group separator") << "C" << "1,000";
    QTest::newRow("letters") << "C" << "abc";
    QTest::newRow("inf") << "C" << "inf";
    QTest::newRow("nan") << "C" << "nan";
    QTest::newRow("exponent only") << "C" << "E5";
    QTest::newRow("inner blank") << "C" << "1 2";
    QTest::newRow("overflow of the type") << "C" << "1E5000";
    QTest::newRow("overflow huge exponent") << "C" << "9E99999999999999999999";
    QTest::newRow("newline") << "C" << "1\n";
}

void TestNumberText::convertRefuses()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    try {
        convert(U(text), Settings(locale));
        QFAIL("no error raised");
    } catch (const EConvertError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), "'" + text + "' n'est pas une valeur en virgule flottante correcte");
    }
}

void TestNumberText::convertExtremes()
{
    // The largest finite value still converts; one order above it does not.
    long double v = 0;
    QVERIFY(TryConvert(u"1.1E4932", CFormatSettings(), v));
    QVERIFY(std::isfinite(v));
    QVERIFY(!TryConvert(u"1.2E4932", CFormatSettings(), v));
    // A 10,000-digit text is read without trouble (and is far too large for the type).
    QVERIFY(!TryConvert(std::u16string(10000, u'9'), CFormatSettings(), v));
}

void TestNumberText::formattedTextsReadBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    for (const char* locale : {"fr", "C"})
        for (double value : {0.14, 2.5, 5000.0, 1234567.25, 1e20, 1e40, 1.7e308, -3.5})
            QTest::addRow("%s %g", locale, value) << QString(locale) << value;
}

void TestNumberText::formattedTextsReadBack()
{
    // What the edit writes for a value must read back as that value (after normalising),
    // whatever its magnitude.
    QFETCH(QString, locale);
    QFETCH(double, value);
    const TFormatSettings s = Settings(locale);
    const std::u16string text = FormatFloat(u",0.##", value, s);
    const long double back = convert(NormaliseNumberText(text, s), s);
    QCOMPARE(FormatFloat(u",0.##", back, s), text);
    QVERIFY(std::fabs(double(back) - value) <= std::fabs(value) * 1e-14);
}

void TestNumberText::applyLimits_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<bool>("round");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("no limits") << 0.0 << 0.0 << false << -12.0 << -12.0;
    QTest::newRow("clamped high") << 0.0 << 10.0 << false << 12.0 << 10.0;
    QTest::newRow("clamped low") << 0.0 << 10.0 << false << -1.0 << 0.0;
    QTest::newRow("only min") << 5.0 << 0.0 << false << 3.0 << 5.0;
    QTest::newRow("only min leaves large") << 5.0 << 0.0 << false << 1000.0 << 1000.0;
    QTest::newRow("only max") << 0.0 << -5.0 << false << 3.0 << -5.0;
    QTest::newRow("inverted both non-zero") << 7.0 << 3.0 << false << 100.0 << 100.0;
    QTest::newRow("round half up") << 0.0 << 0.0 << true << 1.005 << 1.01;
    QTest::newRow("round negative") << 0.0 << 0.0 << true << -1.236 << -1.24;
    QTest::newRow("round keeps") << 0.0 << 0.0 << true << 2.5 << 2.5;
}

void TestNumberText::applyLimits()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(bool, round);
    QFETCH(double, value);
    QFETCH(double, expected);
    TNumberLimits limits{min, max, 2, round};
    QCOMPARE(double(ApplyLimits(value, limits, false, CFormatSettings())), expected);
}

void TestNumberText::applyLimitsRaises()
{
    TNumberLimits limits{0, 10, 2, false};
    QCOMPARE(double(ApplyLimits(10, limits, true, FrenchFormatSettings())), 10.0);
    try {
        ApplyLimits(12, limits, true, FrenchFormatSettings());
        QFAIL("no error raised");
    } catch (const ERangeError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), "Value must be between 0,00 and 10,00");
    }
}

void TestNumberText::applyLimitsNeverBreaksOnExtremes()
{
    TNumberLimits limits{0, 0, 4000000000u, true};
    const long double huge = LDBL_MAX;
    QCOMPARE(ApplyLimits(huge, limits, false, CFormatSettings()), huge);
    QCOMPARE(double(ApplyLimits(0, limits, false, CFormatSettings())), 0.0);
    limits.DecimalPlaces = 2;
    QCOMPARE(ApplyLimits(huge, limits, false, CFormatSettings()), huge);
}

void TestNumberText::utf8RoundTrip()
{
    const std::u16string text = u"Biométrie \u202F€ 𝄞";
    QCOMPARE(FromUtf8(ToUtf8(text)), text);
    QCOMPARE(QString::fromUtf8(ToUtf8(text)), QString::fromStdU16String(text));
    QCOMPARE(FromUtf8("\xff\xc3"), std::u16string(u"\uFFFD\uFFFD"));
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
