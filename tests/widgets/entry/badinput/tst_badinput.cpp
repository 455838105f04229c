// Bad input typed key by key and pasted into a numeric edit: each class has one visible
// outcome, and nothing else changes: not the other edit, not the slider, not the calculator's
// memory.

#include "../EntryTestHelpers.h"
#include "Calc.h"
#include "NumEdits.h"
#include "TrackBar.h"

#include <QPushButton>
#include <QtTest>

using namespace EntryTest;

namespace {

struct TPanel {
    QWidget window;
    TCalcEdit* edit;
    TCalcEdit* other;
    TTrackBar* slider;
    int changes = 0;
    int otherChanges = 0;
    int sliderChanges = 0;

    TPanel()
    {
        window.resize(400, 120);
        auto* first = new QPushButton(QStringLiteral("first"), &window);
        first->setGeometry(300, 80, 60, 24);
        edit = new TCalcEdit(&window);
        edit->setGeometry(10, 10, 184, 21);
        other = new TCalcEdit(&window);
        other->setGeometry(10, 40, 184, 21);
        other->SetValue(1.5L);
        slider = new TTrackBar(&window);
        slider->setGeometry(200, 10, 180, 28);
        slider->SetMax(35);
        slider->SetPosition(10);
        // Something in the calculator's memory.
        TLocCalculator* panel = edit->Calculator()->CalcPanel();
        panel->SetDisplayValue(42);
        panel->KeyButtonClicked(cbMS);
        panel->ProcessKey(u'C');
        edit->setText(QString());
        edit->OnChange = [this](TObject*) { ++changes; };
        other->OnChange = [this](TObject*) { ++otherChanges; };
        slider->OnChange = [this](TObject*) { ++sliderChanges; };
        window.show();
        window.activateWindow();
        edit->setFocus();
    }
    void VerifyNothingElseChanged() const
    {
        QCOMPARE(other->text(), QStringLiteral("1,5"));
        QCOMPARE(otherChanges, 0);
        QCOMPARE(slider->Position(), 10);
        QCOMPARE(sliderChanges, 0);
        QCOMPARE(edit->Calculator()->CalcPanel()->Memory(), 42.0);
        QVERIFY(!edit->PopupVisible());
    }
};

const QString kNoBreak = QString::fromUtf16(u"\u00A0");
const QString kNarrowNoBreak = QString::fromUtf16(u"\u202F");
const QString kArabicIndic = QString::fromUtf16(u"\u0661\u0662");
const QString kFullWidth = QString::fromUtf16(u"\uFF11\uFF12");

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

private slots:
    void init() { Locale::SetFormatSettings(NumberText::FrenchFormatSettings()); }

    // What is left after typing the input key by key into the empty edit.
    void typed_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("beeps");
        QTest::newRow("empty text") << "" << "" << 0.0 << 0;
        QTest::newRow("lone plus: refused") << "+" << "" << 0.0 << 1;
        QTest::newRow("lone minus: kept, reads 0") << "-" << "-" << 0.0 << 0;
        QTest::newRow("both separators") << "1" + kNarrowNoBreak + "234,5" << "1" + kNarrowNoBreak + "234,5" << 1234.5 << 0;
        QTest::newRow("a second decimal separator: refused") << "1,2,3" << "1,23" << 1.23 << 1;
        QTest::newRow("a third decimal digit: refused") << "1,234" << "1,23" << 1.23 << 1;
        QTest::newRow("exponent form: the mark is not read") << "2E3" << "2E3" << 23.0 << 0;
        QTest::newRow("1e400: within reach while typing") << "1e400" << "1e400" << 1400.0 << 0;
        QTest::newRow("inf: every letter refused") << "inf" << "" << 0.0 << 3;
        QTest::newRow("nan: every letter refused") << "nan" << "" << 0.0 << 3;
        QTest::newRow("surrounding blanks") << " 12 " << " 12 " << 12.0 << 0;
        QTest::newRow("a blank inside: the digit after it refused") << "1 2" << "1 " << 1.0 << 1;
        QTest::newRow("U+00A0: refused") << "1" + kNoBreak + "234" << "1234" << 1234.0 << 1;
        QTest::newRow("U+202F: the group separator") << "1" + kNarrowNoBreak + "234" << "1" + kNarrowNoBreak + "234"
                                                     << 1234.0 << 0;
        QTest::newRow("Arabic-Indic digits pass untested, read 0") << kArabicIndic << kArabicIndic << 0.0 << 0;
        QTest::newRow("full-width digits pass untested, read 0") << kFullWidth << kFullWidth << 0.0 << 0;
        QTest::newRow("a line feed is dropped") << "12\n34" << "1234" << 1234.0 << 0;
        QTest::newRow("a tab is dropped") << "12\t3" << "123" << 123.0 << 0;
        QTest::newRow("a control character is not inserted") << QString("1") + QChar(1) + "2" << "12" << 12.0 << 0;
    }
    void typed()
    {
        QFETCH(QString, input);
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, beeps);
        TPanel p;
        const int before = Application::BeepCount();
        Type(p.edit, input);
        QCOMPARE(p.edit->text(), text);
        QCOMPARE(static_cast<double>(p.edit->Value()), value);
        QCOMPARE(Application::BeepCount() - before, beeps);
        p.VerifyNothingElseChanged();
    }

    // What is left after pasting the input into the edit holding 7.
    void pasted_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("beeps");
        const QString tenThousandDigits(10000, u'9');
        QTest::newRow("empty clipboard: nothing pasted") << "" << "7" << 7.0 << 0;
        QTest::newRow("lone plus: restored, beep") << "+" << "7" << 7.0 << 1;
        QTest::newRow("lone minus: taken, reads 0") << "-" << "-" << 0.0 << 0;
        QTest::newRow("both separators") << "1" + kNarrowNoBreak + "234,5" << "1" + kNarrowNoBreak + "234,5" << 1234.5 << 0;
        QTest::newRow("a point and a comma read as two separators: restored") << "1.234,5" << "7" << 7.0 << 1;
        QTest::newRow("a second decimal separator: restored") << "1.2.3" << "7" << 7.0 << 1;
        QTest::newRow("a third decimal digit: taken") << "1,234" << "1,234" << 1.234 << 0;
        QTest::newRow("exponent form: the mark is not read") << "2E3" << "2E3" << 23.0 << 0;
        QTest::newRow("1e400: read without its mark") << "1e400" << "1e400" << 1400.0 << 0;
        QTest::newRow("inf: taken, reads 0") << "inf" << "inf" << 0.0 << 0;
        QTest::newRow("nan: taken, reads 0") << "nan" << "nan" << 0.0 << 0;
        QTest::newRow("surrounding blanks") << " 12 " << " 12 " << 12.0 << 0;
        QTest::newRow("U+00A0 is dropped when read") << "1" + kNoBreak + "234" << "1" + kNoBreak + "234" << 1234.0 << 0;
        QTest::newRow("Arabic-Indic digits: taken, read 0") << kArabicIndic << kArabicIndic << 0.0 << 0;
        QTest::newRow("full-width digits: taken, read 0") << kFullWidth << kFullWidth << 0.0 << 0;
        QTest::newRow("10,000 digits overflow: restored") << tenThousandDigits << "7" << 7.0 << 1;
        QTest::newRow("10,000 letters: taken, read 0") << QString(10000, u'x') << QString(10000, u'x') << 0.0 << 0;
        QTest::newRow("text after a line break is left out") << "12\r\n34" << "12" << 12.0 << 0;
        QTest::newRow("control characters are dropped when read") << QString("1") + QChar(1) + "2"
                                                                   << QString("1") + QChar(1) + "2" << 12.0 << 0;
    }
    void pasted()
    {
        QFETCH(QString, input);
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, beeps);
        TPanel p;
        p.edit->SetValue(7);
        p.edit->selectAll();
        SetClipboard(input);
        const int before = Application::BeepCount();
        QTest::keyClick(p.edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p.edit->text(), text);
        QCOMPARE(static_cast<double>(p.edit->Value()), value);
        QCOMPARE(Application::BeepCount() - before, beeps);
        if (beeps > 0) {
            QVERIFY(!p.edit->isModified());
            QCOMPARE(p.edit->selectedText(), text); // restored and selected
        }
        p.VerifyNothingElseChanged();
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
