// The edit with a drop-down button: where the drop-down opens, the button's geometry and
// width rules, read-only and direct-input states, the clipboard commands, change routing, the
// disabled look.

#include "../EntryTestHelpers.h"
#include "Calc.h"
#include "ComboEdit.h"
#include "NumEdits.h"

#include <QPushButton>
#include <QtTest>

using namespace EntryTest;

class TestComboEdit : public QObject
{
    Q_OBJECT

private slots:
    void init() { Locale::SetFormatSettings(NumberText::FrenchFormatSettings()); }

    void dropDownOrigin_data()
    {
        QTest::addColumn<QPoint>("edit");
        QTest::addColumn<int>("align");
        QTest::addColumn<QPoint>("origin");
        // Work area (0, 0)-(1280, 1000); edit 184 x 21; drop-down 137 x 127.
        QTest::newRow("right edges aligned, below") << QPoint(300, 100) << int(epaRight) << QPoint(347, 121);
        QTest::newRow("left edges aligned, below") << QPoint(300, 100) << int(epaLeft) << QPoint(300, 121);
        QTest::newRow("no room below: above") << QPoint(300, 900) << int(epaRight) << QPoint(347, 773);
        QTest::newRow("exactly room below") << QPoint(300, 852) << int(epaRight) << QPoint(347, 873);
        QTest::newRow("above goes past the top unchecked") << QPoint(300, 990) << int(epaLeft) << QPoint(300, 863);
        QTest::newRow("right-aligned would start left of the area: left edge") << QPoint(-100, 100) << int(epaRight)
                                                                               << QPoint(0, 121);
        QTest::newRow("right-aligned starting before the area moves to the edit") << QPoint(-30, 100)
                                                                                 << int(epaRight) << QPoint(17, 121);
        QTest::newRow("left-aligned past the right edge: right edges aligned")
            << QPoint(1200, 100) << int(epaLeft) << QPoint(1143 - 0, 121);
        QTest::newRow("clamped to the right edge") << QPoint(1250, 100) << int(epaRight) << QPoint(1143, 121);
    }
    void dropDownOrigin()
    {
        QFETCH(QPoint, edit);
        QFETCH(int, align);
        QFETCH(QPoint, origin);
        const QRect work(0, 0, 1280, 1000);
        QCOMPARE(DropDownOrigin(edit, QSize(184, 21), QSize(137, 127), work, static_cast<TPopupAlign>(align)), origin);
    }

    void buttonWidthRules()
    {
        TCalcEdit edit;
        edit.resize(184, 21);
        edit.show();
        QCOMPARE(edit.ButtonHost()->geometry(), QRect(160, 2, 21, 17));
        QCOMPARE(edit.FormattingRect().right() + 1, 184 - 26);
        edit.SetButtonWidth(1); // below 2: hidden, width remembered
        QVERIFY(edit.ButtonHost()->isHidden());
        QVERIFY(!edit.ShowButton());
        QCOMPARE(edit.ButtonWidth(), 21);
        QCOMPARE(edit.FormattingRect().right() + 1, 184 - 5);
        edit.SetShowButton(true);
        QCOMPARE(edit.ButtonHost()->geometry(), QRect(160, 2, 21, 17));
        edit.SetButtonWidth(30);
        QCOMPARE(edit.ButtonHost()->geometry(), QRect(151, 2, 30, 17));
        edit.SetShowButton(false);
        edit.SetShowButton(true);
        QCOMPARE(edit.ButtonWidth(), 30);
        // Typed text stays left of the button: in the editing view the text box scrolls the caret
        // into its formatting rectangle, which ends before the button.
        edit.activateWindow();
        edit.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        edit.setText(QString(60, u'8'));
        edit.setCursorPosition(60);
        edit.grab(); // the text box places its caret when it paints
        // Qt pads the caret's rectangle on both sides; the caret itself is its centre line.
        const int caretX = edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        QVERIFY2(caretX <= edit.FormattingRect().right(), qPrintable(QString::number(caretX)));
        QVERIFY(caretX < edit.ButtonHost()->x());
    }

    void buttonActionAndReadOnly()
    {
        QWidget window;
        auto* first = new QPushButton(QStringLiteral("first"), &window);
        first->move(200, 0);
        auto* edit = new TCalcEdit(&window);
        edit->setGeometry(0, 0, 184, 21);
        window.show();
        int clicks = 0;
        edit->OnButtonClick = [&](TObject*) { ++clicks; };
        edit->SetReadOnly(true);
        edit->DoClick();
        QCOMPARE(clicks, 0);
        QVERIFY(!edit->PopupVisible());
        edit->SetAlwaysEnableButton(true); // the button works, the drop-down still stays shut
        edit->DoClick();
        QCOMPARE(clicks, 1);
        QVERIFY(!edit->PopupVisible());
        edit->SetAlwaysShowPopup(true);
        edit->DoClick();
        QVERIFY(edit->PopupVisible());
        edit->DoClick(); // closing: ReadOnly, so the value is not taken
        QVERIFY(!edit->PopupVisible());
        QCOMPARE(clicks, 3);

        // Without a drop-down the button only reports its click.
        TCustomComboEdit plain;
        int plainClicks = 0;
        plain.OnButtonClick = [&](TObject*) { ++plainClicks; };
        plain.DoClick();
        QCOMPARE(plainClicks, 1);
        QVERIFY(!plain.PopupVisible());
    }

    void directInputAndClipboard()
    {
        TCustomComboEdit edit;
        edit.setText(QStringLiteral("abcdef"));
        edit.setSelection(1, 2);
        edit.ClearText(); // the whole text, not the selection
        QCOMPARE(edit.text(), QString());

        SetClipboard(QStringLiteral("xyz"));
        edit.SetClipboardCommands(kAllClipboardCommands & ~caPaste);
        edit.PasteFromClipboard();
        QCOMPARE(edit.text(), QString());
        edit.SetClipboardCommands(kAllClipboardCommands);
        edit.SetDirectInput(false);
        QVERIFY(edit.isReadOnly());
        edit.PasteFromClipboard();
        QCOMPARE(edit.text(), QString());
        edit.setText(QStringLiteral("kept"));
        edit.SelectAll();
        QVERIFY(!edit.hasSelectedText()); // only with DirectInput
        edit.SetDirectInput(true);
        QVERIFY(!edit.isReadOnly());
        edit.PasteFromClipboard();
        QCOMPARE(edit.text(), QStringLiteral("keptxyz"));
    }

    void changesRouteByTheDropDownState()
    {
        QWidget window;
        auto* edit = new TCalcEdit(&window);
        edit->setGeometry(0, 0, 184, 21);
        window.show();
        int changes = 0, popupChanges = 0;
        edit->OnChange = [&](TObject*) { ++changes; };
        edit->FOnPopupChange = [&](TObject*) { ++popupChanges; };
        edit->setText(QStringLiteral("1"));
        edit->setText(QStringLiteral("1")); // the same text again changes nothing
        QCOMPARE(changes, 1);
        edit->OpenDropDown(true);
        changes = popupChanges = 0;
        edit->setText(QStringLiteral("2"));
        QCOMPARE(changes, 0);
        QCOMPARE(popupChanges, 1);
        edit->CloseDropDown(false);
        QVERIFY(!edit->PopupVisible());
    }

    // A disabled edit fills its client area with DisabledColor and shows its text in
    // DisabledTextColor, whether the numeric edit paints its value or the text box its text.
    void disabledLook_data()
    {
        QTest::addColumn<bool>("numeric");
        QTest::newRow("numeric edit") << true;
        QTest::newRow("plain edit") << false;
    }
    void disabledLook()
    {
        QFETCH(bool, numeric);
        QWidget window;
        window.resize(200, 40);
        TCustomComboEdit* edit = numeric ? new TCalcEdit(&window) : new TCustomComboEdit(&window);
        edit->setGeometry(0, 0, 184, 21);
        edit->SetText(QStringLiteral("8"));
        edit->SetDisabledColor(clYellow);
        edit->SetDisabledTextColor(clRed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->setEnabled(false);
        QVERIFY(!edit->Button()->isEnabled());
        const QImage shot = edit->grab().toImage();
        const QRect r = edit->FormattingRect();
        int red = 0;
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                red += qRed(shot.pixel(x, y)) > 200 && qGreen(shot.pixel(x, y)) < 80;
        // Away from the 8, at the left end (numeric: right-aligned) or the right end (plain).
        const int clearX = numeric ? r.left() + 2 : r.right() - 2;
        QCOMPARE(shot.pixel(clearX, r.top() + 2), qRgb(255, 255, 0));
        QVERIFY2(red > 5, "the 8 is not drawn in the disabled text colour");
    }

    // The button's classic face: while it is up, a face-coloured line at x = 0 and a highlight
    // line at x = 1 run along its left edge, flat button or not; pressed, neither.
    void buttonLeftEdgeLines_data()
    {
        QTest::addColumn<bool>("flat");
        QTest::addColumn<bool>("pressed");
        QTest::newRow("raised, up") << false << false;
        QTest::newRow("flat, up") << true << false;
        QTest::newRow("raised, pressed") << false << true;
        QTest::newRow("flat, pressed") << true << true;
    }
    void buttonLeftEdgeLines()
    {
        QFETCH(bool, flat);
        QFETCH(bool, pressed);
        QWidget window;
        auto* edit = new TCalcEdit(&window);
        edit->setGeometry(0, 0, 184, 21);
        edit->SetButtonFlat(flat);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->Button()->SetPressed(pressed);
        const QImage face = edit->Button()->grab().toImage();
        const QRgb faceColour = ToQColor(clBtnFace).rgb(), highlight = ToQColor(clBtnHighlight).rgb();
        QVERIFY(faceColour != highlight);
        for (int y = 1; y <= face.height() - 3; ++y) {
            QCOMPARE(face.pixel(0, y) == faceColour, !pressed);
            QCOMPARE(face.pixel(1, y) == highlight, !pressed);
        }
    }

    // An error while the accepted value is put in brings the edit's text back and is passed on;
    // the drop-down is closed and the text box writable again all the same.
    void failedAcceptRestoresAndCloses()
    {
        QWidget window;
        auto* edit = new TCalcEdit(&window);
        edit->setGeometry(0, 0, 184, 21);
        window.show();
        edit->SetValue(2.5L);
        edit->OpenDropDown(true);
        edit->Calculator()->CalcPanel()->SetKeyPressPauseMs(0);
        edit->Calculator()->KeyPress(u'7');
        QCOMPARE(edit->text(), QStringLiteral("7"));
        edit->FOnPopupValueAccepted = [](TObject*) { throw std::runtime_error("refused"); };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, edit->CloseDropDown(true));
        QVERIFY(!edit->PopupVisible());
        QVERIFY(!edit->Calculator()->isVisible());
        QVERIFY(!edit->isReadOnly());
        QCOMPARE(edit->text(), QStringLiteral("2,5"));
        QCOMPARE(edit->Value(), 2.5L);
    }

    void destroyingWhileOpenClosesWithoutAccepting()
    {
        QWidget window;
        auto* edit = new TCalcEdit(&window);
        edit->setGeometry(0, 0, 184, 21);
        window.show();
        edit->OpenDropDown(true);
        QPointer<TPopupWindow> popup = edit->Popup();
        QVERIFY(popup && popup->isVisible());
        delete edit;
        QVERIFY(popup.isNull());
        // A press elsewhere after that reaches no filter of the gone edit.
        QTest::mouseClick(&window, Qt::LeftButton);
    }
};

QTEST_MAIN(TestComboEdit)
#include "tst_comboedit.moc"
