// Arbitrary key sequences through the drop-down calculator. Input: a locale byte, then one
// byte per step: most bytes press a key; 0xFD loads the following text (up to a 0 byte) as the
// edit's text, 0xFE reads the value as the edit would on accepting, 0xFF presses the next byte
// as a raw character. After every step the display is "Error" exactly in the error state, and
// otherwise a text the toolkit's conversion reads back as a finite double; a typed digit never
// takes the display past the precision.

#include "Calc.h"
#include "FormatSettings.h"
#include "NumEdits.h"

#include <QApplication>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The keys a user can reach: the calculator's own characters, Enter, Escape, backspace, the
// copy and paste codes, and a few that mean nothing to it.
constexpr char16_t kKeys[] = u"0123456789_.,/*-+Q%R=CqrcE e\r\x1b\b\x03\x16x";

struct TSetup {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<TCalcEdit> edit;

    TSetup()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_calc";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        edit = std::make_unique<TCalcEdit>();
        edit->Calculator()->CalcPanel()->SetKeyPressPauseMs(0);
        // The font machinery caches what it loads on first use; load it before the first input
        // so that the leak check of each input sees only this code's allocations.
        for (const char16_t* text : {u"0123456789,.-E", u"Error"}) {
            edit->setText(QString::fromUtf16(text));
            edit->grab();
            edit->Calculator()->grab();
        }
        edit->setText(QString());
    }
};

void CheckDisplay(const TCalculatorPanel& panel)
{
    const QString text = panel.Text();
    const bool error = panel.Status() == csError;
    Check(error == (text == QString::fromUtf16(kCalcErrorText)));
    if (error)
        return;
    long double value = 0;
    Check(NumberText::TryConvert(text.toStdU16String(), Locale::FormatSettings(), value));
    Check(std::isfinite(value) && std::fabs(value) <= static_cast<long double>(DBL_MAX));
    Check(std::isfinite(panel.DisplayValue()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TSetup setup;
    if (size < 1)
        return 0;
    Locale::SetFormatSettings(data[0] & 1 ? NumberText::CFormatSettings() : NumberText::FrenchFormatSettings());
    TPopupCalculator* popup = setup.edit->Calculator();
    TLocCalculator* panel = popup->CalcPanel();
    popup->LoadDropDownValue(DropDownValue{});
    panel->ProcessKey(u'C');
    const int limit = std::max(2, panel->Precision());

    for (std::size_t i = 1; i < size; ++i) {
        const std::uint8_t byte = data[i];
        if (byte == 0xFD) {
            std::u16string text;
            while (i + 1 < size && data[i + 1] != 0)
                text.push_back(static_cast<char16_t>(data[++i]));
            popup->LoadDropDownValue(DropDownValue{text});
            Check(panel->Status() == csFirst);
        } else if (byte == 0xFE) {
            const DropDownValue value = popup->ReadDropDownValue();
            const double* number = std::get_if<double>(&value);
            Check(number && std::isfinite(*number));
        } else {
            char16_t key = byte == 0xFF && i + 1 < size ? static_cast<char16_t>(data[++i])
                                                        : kKeys[byte % (sizeof kKeys / sizeof kKeys[0] - 1)];
            const QString before = panel->Text();
            const bool digit = key >= u'0' && key <= u'9';
            if (byte & 0x80)
                panel->CalcKeyPress(nullptr, key);
            else
                panel->ProcessKey(key);
            const QString after = panel->Text();
            if (digit && after.size() > before.size() && after.startsWith(before == u"0" ? QString() : before))
                Check(after.size() <= limit + (after.contains(u'-') ? 1 : 0));
        }
        CheckDisplay(*panel);
    }
    return 0;
}
