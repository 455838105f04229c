// The drop-down calculator: key sequences typed into the edit, its error state, the precision
// limit, the change events of the edit around it, and its key layout.

#include "../EntryTestHelpers.h"
#include "Calc.h"
#include "NumEdits.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>
#include <cfloat>

using namespace EntryTest;

namespace {

// An edit in a shown window, focused, with its change events counted.
struct TEdit {
    QWidget window;
    TCalcEdit* edit;
    int changes = 0;

    TEdit()
    {
        window.resize(300, 200);
        auto* first = new QPushButton(QStringLiteral("first"), &window);
        first->setGeometry(220, 150, 60, 24);
        edit = new TCalcEdit(&window);
        edit->setGeometry(10, 10, 184, 21);
        edit->OnChange = [this](TObject*) { ++changes; };
        window.show();
        window.activateWindow();
        edit->setFocus();
    }
    TLocCalculator* Panel() const { return edit->Calculator()->CalcPanel(); }
    void Open()
    {
        QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(edit->PopupVisible());
    }
};

} // namespace

class TestCalc : public QObject
{
    Q_OBJECT

private slots:
    void init() { Locale::SetFormatSettings(NumberText::FrenchFormatSettings()); }

    void keySequences_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("beeps");
        QTest::newRow("2.5 * 4 Enter gives 10 and closes") << 2.5 << "*4\r" << "10" << false << 0;
        QTest::newRow("1 + 2 + 3 = chains to 6") << 0.0 << "1+2+3=" << "6" << false << 0;
        QTest::newRow("5 + = adds nothing") << 0.0 << "5+=" << "5" << false << 0;
        QTest::newRow("no precedence: 2 + 3 * 4 = gives 20") << 0.0 << "2+3*4=" << "20" << false << 0;
        QTest::newRow("200 + 10 % gives 220 and closes") << 0.0 << "200+10%" << "220" << false << 0;
        QTest::newRow("200 - 10 % gives 180") << 0.0 << "200-10%" << "180" << false << 0;
        QTest::newRow("200 * 10 % gives 20") << 0.0 << "200*10%" << "20" << false << 0;
        QTest::newRow("50 / 25 % gives 200") << 0.0 << "50/25%" << "200" << false << 0;
        QTest::newRow("a digit after opening replaces the number") << 2.5 << "7" << "7" << true << 0;
        QTest::newRow("a point types the decimal comma") << 0.0 << "1.5" << "1,5" << true << 0;
        QTest::newRow("backspace on -5 gives 0") << 0.0 << "5_\b" << "0" << true << 0;
        QTest::newRow("backspace on 12 gives 1") << 0.0 << "12\b" << "1" << true << 0;
        QTest::newRow("backspace on 7 gives 0") << 0.0 << "7\b" << "0" << true << 0;
        QTest::newRow("the 16th digit is refused") << 0.0 << "1234567890123456" << "123456789012345" << true << 1;
        QTest::newRow("a minus sign allows 16 characters") << 0.0 << "12345678901234_56" << "-123456789012345"
                                                           << true << 1;
        QTest::newRow("the separator is appended at the limit") << 0.0 << "123456789012345,6"
                                                                << "123456789012345," << true << 1;
        // A small result shows with an exponent; like a digit, a separator then adds nothing, so the
        // display keeps a number.
        QTest::newRow("no separator after an exponent") << 0.0 << "0,000001_," << "-1E-6" << true << 0;
        QTest::newRow("q takes the square root") << 0.0 << "9q" << "3" << true << 0;
        QTest::newRow("r takes the reciprocal") << 0.0 << "4r" << "0,25" << true << 0;
        QTest::newRow("c clears") << 0.0 << "12c" << "0" << true << 0;
        QTest::newRow("1 / 0 = shows Error and stays open") << 0.0 << "1/0=" << "Error" << true << 1;
        QTest::newRow("square root of a negative is an error") << 0.0 << "9_q" << "Error" << true << 1;
        QTest::newRow("reciprocal of 0 is an error") << 0.0 << "0r" << "Error" << true << 1;
        // 1E300 times 1E15 is beyond the double range: an error, never "INF".
        QTest::newRow("an overflowing product is an error") << 1e300 << "*999999999999999=" << "Error" << true << 1;
    }
    void keySequences()
    {
        QFETCH(double, start);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(bool, open);
        QFETCH(int, beeps);
        TEdit e;
        e.edit->SetValue(start);
        e.Open();
        e.Panel()->SetKeyPressPauseMs(0);
        const int before = Application::BeepCount();
        Type(e.edit, keys);
        QCOMPARE(e.edit->text(), text); // the calculator's display, or the result taken
        QCOMPARE(e.edit->PopupVisible(), open);
        QCOMPARE(Application::BeepCount() - before, beeps);
        if (open) {
            QCOMPARE(e.Panel()->Text(), text);
        } else {
            long double expected = 0;
            QVERIFY(NumberText::TryConvert(text.toStdU16String(), Locale::FormatSettings(), expected));
            QCOMPARE(e.edit->Value(), expected);
        }
    }

    void onlyClearLeavesTheError()
    {
        TEdit e;
        e.Open();
        e.Panel()->SetKeyPressPauseMs(0);
        Type(e.edit, QStringLiteral("1/0="));
        QCOMPARE(e.Panel()->Status(), csError);
        Type(e.edit, QStringLiteral("5+=q\r\b_,"));
        QCOMPARE(e.Panel()->Text(), QStringLiteral("Error"));
        QVERIFY(e.edit->PopupVisible());
        Type(e.edit, QStringLiteral("C"));
        QCOMPARE(e.Panel()->Text(), QStringLiteral("0"));
        QCOMPARE(e.Panel()->Status(), csFirst);
        Type(e.edit, QStringLiteral("8"));
        QCOMPARE(e.Panel()->Text(), QStringLiteral("8"));
    }

    // Ctrl+Enter takes the display without finishing; an error display beeps and puts 0 in,
    // which empties the edit: that change is reported, the value having changed.
    void acceptingTheErrorPutsZero()
    {
        TEdit e;
        e.edit->SetValue(3);
        e.Open();
        e.Panel()->SetKeyPressPauseMs(0);
        Type(e.edit, QStringLiteral("1/0="));
        e.changes = 0;
        const int before = Application::BeepCount();
        QTest::keyClick(e.edit, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!e.edit->PopupVisible());
        QCOMPARE(Application::BeepCount() - before, 1);
        QCOMPARE(e.edit->text(), QString());
        QCOMPARE(e.edit->Value(), 0.0L);
        QCOMPARE(e.changes, 1);
        // The next opening loads the edit's number and leaves the error.
        e.Open();
        QCOMPARE(e.Panel()->Status(), csFirst);
        QCOMPARE(e.Panel()->Text(), QStringLiteral("0"));
    }

    // While the calculator is open the edit shows its display and is locked: a paste request is
    // not carried out and does not make the display the edit's number, so cancelling afterwards
    // still brings back the number the edit held.
    void pasteWhileOpenTakesNothing_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("a number on the display") << "7";
        QTest::newRow("the error display") << "1/0=";
    }
    void pasteWhileOpenTakesNothing()
    {
        QFETCH(QString, keys);
        TEdit e;
        e.edit->SetValue(2.5L);
        e.Open();
        e.Panel()->SetKeyPressPauseMs(0);
        Type(e.edit, keys);
        const QString display = e.Panel()->Text();
        SetClipboard(QStringLiteral("3"));
        QTest::keyClick(e.edit, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(e.edit->PopupVisible());
        QCOMPARE(e.edit->text(), display);
        e.changes = 0;
        QTest::keyClick(e.edit, Qt::Key_Escape);
        QVERIFY(!e.edit->PopupVisible());
        QCOMPARE(e.edit->text(), QStringLiteral("2,5"));
        QCOMPARE(e.edit->Value(), 2.5L);
        QCOMPARE(e.changes, 0);
    }

    void changeEventsAroundTheCalculator_data()
    {
        QTest::addColumn<double>("previous"); // opened and cancelled on this value first
        QTest::addColumn<double>("start");
        QTest::addColumn<bool>("enablePopupChange");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("onOpen");
        QTest::addColumn<int>("whileOpen");
        QTest::addColumn<QString>("after");
        const QString grouped = QString::fromUtf16(u"1\u202F234,5");
        // Opening copies the calculator's ungrouped display into the edit: one change.
        const double none = -1;
        QTest::newRow("accepted with Enter: no change") << none << 1234.5 << false << "\r" << 1 << 0 << grouped;
        QTest::newRow("cancelled with Escape: no change") << none << 1234.5 << false << "7\x1b" << 1 << 0 << grouped;
        QTest::newRow("an empty edit gets the calculator's new 0") << 2.5 << 0.0 << false << "\x1b" << 1 << 0 << "";
        QTest::newRow("the calculator's 0 unchanged: no change") << none << 0.0 << false << "\x1b" << 0 << 0 << "";
        QTest::newRow("the text already in the calculator's form") << none << 2.5 << false << "*4\r" << 0 << 0 << "10";
        QTest::newRow("EnablePopupChange reports each display") << none << 2.5 << true << "*4\r" << 0 << 3 << "10";
    }
    void changeEventsAroundTheCalculator()
    {
        QFETCH(double, previous);
        QFETCH(double, start);
        QFETCH(bool, enablePopupChange);
        QFETCH(QString, keys);
        QFETCH(int, onOpen);
        QFETCH(int, whileOpen);
        QFETCH(QString, after);
        TEdit e;
        if (previous >= 0) {
            e.edit->SetValue(previous);
            e.Open();
            QTest::keyClick(e.edit, Qt::Key_Escape);
        }
        e.edit->SetEnablePopupChange(enablePopupChange);
        e.edit->SetValue(start);
        int popupChanges = 0;
        e.edit->FOnPopupChange = [&](TObject*) { ++popupChanges; };
        e.changes = 0;
        e.Open();
        e.Panel()->SetKeyPressPauseMs(0);
        QCOMPARE(e.changes, onOpen);
        QCOMPARE(popupChanges, 0);
        e.changes = 0;
        Type(e.edit, keys);
        QVERIFY(!e.edit->PopupVisible());
        QCOMPARE(e.changes, whileOpen);
        QCOMPARE(e.edit->text(), after);
        QVERIFY(popupChanges >= whileOpen);
    }

    void typedKeysArePressedVisibly()
    {
        TEdit e;
        e.Open();
        TCalcButton* seven = e.Panel()->KeyButton(cbNum7);
        bool pressedDuringClick = false;
        e.Panel()->OnCalcKey = [&](QObject*, char16_t&) { pressedDuringClick = seven->Pressed(); };
        QElapsedTimer timer;
        timer.start();
        Type(e.edit, QStringLiteral("7"));
        QVERIFY(timer.elapsed() >= 20);
        QVERIFY(pressedDuringClick);
        QVERIFY(!seven->Pressed());
        QCOMPARE(e.Panel()->Text(), QStringLiteral("7"));
    }

    void clickingKeys()
    {
        TEdit e;
        e.Open();
        QTest::mouseClick(e.Panel()->KeyButton(cbNum4), Qt::LeftButton);
        QTest::mouseClick(e.Panel()->KeyButton(cbMul), Qt::LeftButton);
        QTest::mouseClick(e.Panel()->KeyButton(cbNum3), Qt::LeftButton);
        QCOMPARE(e.edit->text(), QStringLiteral("3"));
        QVERIFY(e.edit->PopupVisible());
        QTest::mouseClick(e.Panel()->KeyButton(cbEql), Qt::LeftButton);
        QVERIFY(!e.edit->PopupVisible());
        QCOMPARE(e.edit->Value(), 12.0L);
    }

    void layout()
    {
        TEdit e;
        TLocCalculator* panel = e.Panel();
        QCOMPARE(panel->geometry(), QRect(1, 1, 135, 125));
        struct Key {
            TCalcBtnKind kind;
            QRect rect;
            QString caption;
            TColor colour;
        };
        const Key keys[] = {
            {cbNum7, {6, 6, 21, 21}, "7", clBtnText},       {cbDiv, {75, 6, 21, 21}, "/", clPurple},
            {cbSqr, {98, 6, 31, 21}, "sqrt", clNavy},       {cbPcnt, {98, 29, 31, 21}, "%", clNavy},
            {cbRev, {98, 52, 31, 21}, "1/x", clNavy},       {cbDcm, {29, 75, 21, 21}, ",", clBtnText},
            {cbSgn, {52, 75, 21, 21}, "", clBtnText},       {cbAdd, {75, 75, 21, 44}, "+", clPurple},
            {cbEql, {98, 75, 31, 44}, "=", clPurple},       {cbClr, {6, 98, 21, 21}, "C", clMaroon},
            {cbBck, {29, 98, 44, 21}, "<-", clMaroon},
        };
        for (const Key& k : keys) {
            TCalcButton* button = panel->KeyButton(k.kind);
            QVERIFY(button);
            QCOMPARE(button->geometry(), k.rect);
            QCOMPARE(button->Caption(), k.caption);
            QCOMPARE(button->CaptionColor(), k.colour);
            QCOMPARE(button->Style(), bsWin31); // the drop-down's panel is not 3-D
        }
        QCOMPARE(panel->Keys().size(), 22);
        QVERIFY(!panel->KeyButton(cbMS)); // no memory or OK keys in this layout
        QVERIFY(panel->font().bold());
    }

    void findKeyButton_data()
    {
        QTest::addColumn<QChar>("key");
        QTest::addColumn<int>("kind");
        QTest::newRow("comma") << QChar(',') << int(cbDcm);
        QTest::newRow("point") << QChar('.') << int(cbDcm);
        QTest::newRow("Enter") << QChar(13) << int(cbEql);
        QTest::newRow("Escape") << QChar(27) << int(cbClr);
        QTest::newRow("lower-case q") << QChar('q') << int(cbSqr);
        QTest::newRow("underscore") << QChar('_') << int(cbSgn);
        QTest::newRow("backspace") << QChar(8) << int(cbBck);
        QTest::newRow("x has no key") << QChar('x') << int(cbNone);
        QTest::newRow("the null character has no key") << QChar(0) << int(cbNone);
    }
    void findKeyButton()
    {
        QFETCH(QChar, key);
        QFETCH(int, kind);
        TCalculatorPanel panel(nullptr, clPopup);
        TCalcButton* found = panel.FindKeyButton(key.unicode());
        QCOMPARE(found ? int(found->Kind()) : int(cbNone), kind);
    }

    void memoryKeys()
    {
        TCalculatorPanel panel(nullptr, clPopup);
        panel.SetDisplayValue(4);
        panel.KeyButtonClicked(cbMS);
        panel.KeyButtonClicked(cbMP);
        QCOMPARE(panel.Memory(), 8.0);
        panel.ProcessKey(u'C');
        panel.KeyButtonClicked(cbMR);
        QCOMPARE(panel.Text(), QStringLiteral("8"));
        panel.KeyButtonClicked(cbMC);
        QCOMPARE(panel.Memory(), 0.0);
    }

    void pasteAndCopy_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("text");
        QTest::newRow("the currency symbol and blanks are dropped") << QString::fromUtf16(u" 12,5 \u20AC ") << "12,5";
        QTest::newRow("an unreadable text gives 0") << "abc" << "0";
        QTest::newRow("beyond the double range gives 0") << "1e400" << "0";
        QTest::newRow("a long number is rounded to 15 digits") << "1234567890123456789" << "1,23456789012346E18";
    }
    void pasteAndCopy()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, text);
        TCalculatorPanel panel(nullptr, clPopup);
        panel.SetDisplayValue(7);
        SetClipboard(clipboard);
        panel.Paste();
        QCOMPARE(panel.Text(), text);
        QCOMPARE(panel.Status(), csFirst);
        panel.Copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }
};

QTEST_MAIN(TestCalc)
#include "tst_calc.moc"
