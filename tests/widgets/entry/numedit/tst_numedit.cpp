// The numeric edit: its two views, the typed-character filter, limits, the change events and
// the button picture. French and C number formats.

#include "../EntryTestHelpers.h"
#include "NumEdits.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QtTest>
#include <climits>
#include <memory>

using namespace EntryTest;

namespace {

const QString kGroup = QString::fromUtf16(u"\u202F");

// A shown edit of the main window's size, with its change events counted.
struct TEdit {
    QWidget window;
    QPushButton* first;
    TCalcEdit* edit;
    int changes = 0;

    TEdit()
    {
        window.resize(240, 60);
        // The window's first control takes the focus when it is shown, as on the main window.
        first = new QPushButton(QStringLiteral("first"), &window);
        first->setGeometry(200, 35, 30, 20);
        edit = new TCalcEdit(&window);
        edit->setGeometry(10, 10, 184, 21);
        edit->OnChange = [this](TObject*) { ++changes; };
        window.show();
    }
    void Focus()
    {
        window.activateWindow();
        edit->setFocus();
        QVERIFY(QTest::qWaitFor([this] { return edit->Editing(); }));
    }
};

// The columns of `image` inside `area` that hold a dark (text) pixel.
QList<int> DarkColumns(const QImage& image, const QRect& area)
{
    QList<int> columns;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                columns << x;
                break;
            }
    return columns;
}

} // namespace

class TestNumEdit : public QObject
{
    Q_OBJECT

private slots:
    void init() { Locale::SetFormatSettings(NumberText::FrenchFormatSettings()); }

    void displayView_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("display");
        QTest::newRow("fr 0: empty text, painted 0") << "fr" << 0.0 << "" << "0";
        QTest::newRow("fr 2.5") << "fr" << 2.5 << "2,5" << "2,5";
        QTest::newRow("fr 5000 grouped") << "fr" << 5000.0 << "5" + kGroup + "000" << "5" + kGroup + "000";
        QTest::newRow("C 1234.5 grouped") << "C" << 1234.5 << "1,234.5" << "1,234.5";
        QTest::newRow("C -0.004 rounds to 0 without a sign") << "C" << -0.004 << "0" << "0";
    }
    void displayView()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QFETCH(QString, display);
        TLocaleScope scope(SettingsNamed(locale));
        TCalcEdit edit;
        edit.SetValue(value);
        QCOMPARE(edit.text(), text);
        QCOMPARE(edit.DisplayText(), display);
    }

    // Without the focus the value is painted right-aligned in the formatting rectangle; with
    // the focus the text box shows its (empty) text.
    void paintsTheValueUnlessEditing()
    {
        TEdit e;
        const QRect r = e.edit->FormattingRect();
        QCOMPARE(r.left() + r.width(), 184 - (3 + 21 + 2));
        QVERIFY(QTest::qWaitForWindowExposed(&e.window));
        QVERIFY(!e.edit->Editing());
        QImage shot = e.edit->grab().toImage();
        QList<int> dark = DarkColumns(shot, r);
        QVERIFY2(!dark.isEmpty(), "no 0 painted");
        const int textWidth = e.edit->fontMetrics().horizontalAdvance(u'0');
        QVERIFY(dark.first() >= r.left() + r.width() - textWidth - 1);

        e.edit->SetAlignment(Qt::AlignLeft);
        dark = DarkColumns(e.edit->grab().toImage(), r);
        QVERIFY(!dark.isEmpty());
        QVERIFY(dark.last() <= r.left() + textWidth + 1);

        e.Focus();
        QCOMPARE(e.edit->text(), QString());
        // Nothing but the caret at the left edge.
        dark = DarkColumns(e.edit->grab().toImage(), r.adjusted(3, 0, 0, 0));
        QVERIFY2(dark.isEmpty(), "the editing view paints the value");
    }

    void limits_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("assigned");
        QTest::addColumn<double>("stored");
        QTest::newRow("0..10: 12 stores 10") << 0.0 << 10.0 << 12.0 << 10.0;
        QTest::newRow("0..10: -1 stores 0") << 0.0 << 10.0 << -1.0 << 0.0;
        QTest::newRow("min 5 max 0: 3 stores 5") << 5.0 << 0.0 << 3.0 << 5.0;
        QTest::newRow("min 5 max 0: 1000 stays") << 5.0 << 0.0 << 1000.0 << 1000.0;
        QTest::newRow("min 0 max -5: only the upper limit") << 0.0 << -5.0 << 3.0 << -5.0;
        QTest::newRow("min 3 max 2: no limit") << 3.0 << 2.0 << 100.0 << 100.0;
        QTest::newRow("0 and 0: no limit") << 0.0 << 0.0 << -7.0 << -7.0;
    }
    void limits()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, assigned);
        QFETCH(double, stored);
        TCalcEdit edit;
        edit.SetMinValue(min);
        edit.SetMaxValue(max);
        edit.SetValue(assigned);
        QCOMPARE(static_cast<double>(edit.Value()), stored);
    }

    void decimalPlaceRoundAndFormats()
    {
        TCalcEdit edit;
        edit.SetDecimalPlaces(1);
        edit.SetDecimalPlaceRound(true);
        edit.SetValue(2.25L);
        QCOMPARE(edit.text(), QStringLiteral("2,3"));
        edit.SetValue(-2.25L);
        QCOMPARE(edit.text(), QStringLiteral("-2,3"));
        // A custom display pattern is dropped when the decimals change.
        edit.SetDisplayFormat(QStringLiteral("0.000"));
        QCOMPARE(edit.DisplayText(), QStringLiteral("-2,300"));
        edit.SetDecimalPlacesAlwaysShown(true);
        QCOMPARE(edit.DisplayFormat(), QStringLiteral(",0.0"));
        edit.SetDisplayFormat(QString()); // the general rendering
        edit.SetValue(1e20L);
        QCOMPARE(edit.DisplayText(), QStringLiteral("1E20"));
    }

    void asIntegerTruncatesAndSaturates()
    {
        TCalcEdit edit;
        edit.SetValue(-2.7L);
        QCOMPARE(edit.AsInteger(), -2);
        edit.SetValue(1e30L);
        QCOMPARE(edit.AsInteger(), INT_MAX);
        edit.SetValue(-1e30L);
        QCOMPARE(edit.AsInteger(), INT_MIN);
    }

    void typedFilter_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("positiveLimits"); // MinValue 0, MaxValue 10
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("beeps");
        QTest::newRow("fr: a point becomes the comma") << "fr" << false << "1.25" << "1,25" << 1.25 << 0;
        QTest::newRow("fr: a third decimal is refused") << "fr" << false << "1,256" << "1,25" << 1.25 << 1;
        QTest::newRow("fr: a second separator is refused") << "fr" << false << "1,2,3" << "1,23" << 1.23 << 1;
        QTest::newRow("fr: decimals stop at the exponent") << "fr" << false << "1,25E3" << "1,25E3" << 1.253 << 0;
        QTest::newRow("fr: 1E3 reads without its mark") << "fr" << false << "1E3" << "1E3" << 13.0 << 0;
        QTest::newRow("fr: letters are refused") << "fr" << false << "a1b" << "1" << 1.0 << 2;
        QTest::newRow("fr: a lone minus is kept") << "fr" << false << "-" << "-" << 0.0 << 0;
        QTest::newRow("fr: a lone plus is refused") << "fr" << false << "+" << "" << 0.0 << 1;
        QTest::newRow("fr: the group separator passes") << "fr" << false << "12" + kGroup + "345" << "12" + kGroup + "345"
                                                        << 12345.0 << 0;
        QTest::newRow("C: a point is the decimal separator") << "C" << false << "2.75" << "2.75" << 2.75 << 0;
        QTest::newRow("C: a comma is a digit group") << "C" << false << "1,5" << "1,5" << 15.0 << 0;
        QTest::newRow("C: a third decimal is refused") << "C" << false << "0.125" << "0.12" << 0.12 << 1;
        QTest::newRow("0..10: the digit after a minus is refused") << "fr" << true << "-5" << "-" << 0.0 << 1;
        QTest::newRow("0..10: above the limit can be typed") << "fr" << true << "12" << "12" << 10.0 << 0;
    }
    void typedFilter()
    {
        QFETCH(QString, locale);
        QFETCH(bool, positiveLimits);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, beeps);
        TLocaleScope scope(SettingsNamed(locale));
        TEdit e;
        if (positiveLimits) {
            e.edit->SetMinValue(0);
            e.edit->SetMaxValue(10);
        }
        e.Focus();
        const int beepsBefore = Application::BeepCount();
        e.changes = 0;
        Type(e.edit, typed);
        QCOMPARE(e.edit->text(), text);
        QCOMPARE(static_cast<double>(e.edit->Value()), value);
        QCOMPARE(Application::BeepCount() - beepsBefore, beeps);
        QCOMPARE(e.changes, text.size()); // one change per character kept
    }

    // The deleting keys type no character, whatever text the window system attaches to them:
    // X11 sends DEL (U+007F) with Delete and Ctrl+Delete.
    void deletingKeysAreNoCharacters_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::newRow("Delete removes the character after the caret") << int(Qt::NoModifier) << "134";
        QTest::newRow("Ctrl+Delete removes the rest of the word") << int(Qt::ControlModifier) << "1";
    }
    void deletingKeysAreNoCharacters()
    {
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        TEdit e;
        e.Focus();
        Type(e.edit, QStringLiteral("1234"));
        e.edit->setCursorPosition(1);
        e.changes = 0;
        const int beepsBefore = Application::BeepCount();
        const auto mods = static_cast<Qt::KeyboardModifiers>(modifiers);
        QTest::sendKeyEvent(QTest::Press, e.edit, Qt::Key_Delete, QString(QChar(0x7F)), mods);
        QTest::sendKeyEvent(QTest::Release, e.edit, Qt::Key_Delete, QString(QChar(0x7F)), mods);
        QCOMPARE(e.edit->text(), text);
        QCOMPARE(Application::BeepCount() - beepsBefore, 0);
        QCOMPARE(e.changes, 1);
    }

    void noBeepWhenSwitchedOff()
    {
        TEdit e;
        e.Focus();
        e.edit->SetBeepOnError(false);
        const int before = Application::BeepCount();
        Type(e.edit, QStringLiteral("x"));
        QCOMPARE(Application::BeepCount(), before);
    }

    void escapeRewritesFromTheStoredValue()
    {
        TEdit e;
        e.edit->SetValue(2.5L);
        e.Focus();
        e.edit->selectAll();
        Type(e.edit, QStringLiteral("7"));
        QCOMPARE(e.edit->text(), QStringLiteral("7"));
        e.changes = 0;
        QTest::keyClick(e.edit, Qt::Key_Escape);
        QCOMPARE(e.edit->text(), QStringLiteral("2,5"));
        QCOMPARE(e.edit->selectedText(), QStringLiteral("2,5"));
        QCOMPARE(e.changes, 1);
    }

    void formatOnEditingGroupsWhileTyping()
    {
        TEdit e;
        e.edit->SetFormatOnEditing(true);
        e.Focus();
        Type(e.edit, QStringLiteral("12345"));
        QCOMPARE(e.edit->text(), "12" + kGroup + "345");
        QCOMPARE(e.edit->cursorPosition(), e.edit->text().size());
        QCOMPARE(e.changes, 5);
    }

    void assigningTextConverts()
    {
        TCalcEdit edit;
        edit.SetText(QStringLiteral(" 1.5 "));
        QCOMPARE(edit.text(), QStringLiteral("1,5"));
        QVERIFY_THROWS_EXCEPTION(NumberText::EConvertError, edit.SetText(QStringLiteral("1,2,3")));
        QCOMPARE(edit.text(), QStringLiteral("1,5"));
        edit.Clear();
        QCOMPARE(edit.text(), QString());
    }

    void buttonShowsTheCalculatorPicture()
    {
        TEdit e;
        QCOMPARE(e.edit->ButtonWidth(), 21);
        QCOMPARE(e.edit->ButtonHost()->geometry(), QRect(184 - 21 - 3, 2, 21, 17));
        QVERIFY(TCustomComboEdit::DefaultImages().Count() >= 2);
        QVERIFY(QTest::qWaitForWindowExposed(&e.window));
        const QImage button = e.edit->Button()->grab().toImage();
        int teal = 0, magenta = 0;
        for (int y = 0; y < button.height(); ++y)
            for (int x = 0; x < button.width(); ++x) {
                teal += button.pixel(x, y) == qRgb(0, 128, 128);
                magenta += button.pixel(x, y) == qRgb(255, 0, 255);
            }
        QVERIFY(teal > 20);
        QCOMPARE(magenta, 0); // magenta is the transparent colour
    }
};

QTEST_MAIN(TestNumEdit)
#include "tst_numedit.moc"
