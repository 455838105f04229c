// The drop-down of the numeric edit in a real window: opening, every way of closing it, focus
// entry and exit. Run under Xvfb, where focus and pop-up windows are real.

#include "../EntryTestHelpers.h"
#include "Calc.h"
#include "NumEdits.h"
#include "TrackBar.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QtTest>
#include <functional>
#include <memory>

using namespace EntryTest;

namespace {

// A window with the edit under test, a second numeric edit and a slider, like an input panel.
struct TWindow {
    QWidget window;
    TCalcEdit* edit;
    TCalcEdit* other;
    TTrackBar* slider;
    int changes = 0;

    explicit TWindow(QPoint at = QPoint(100, 100))
    {
        window.setGeometry(QRect(at, QSize(420, 160)));
        edit = new TCalcEdit(&window);
        edit->setGeometry(20, 20, 184, 21);
        other = new TCalcEdit(&window);
        other->setGeometry(20, 60, 184, 21);
        slider = new TTrackBar(&window);
        slider->setGeometry(220, 20, 180, 28);
        slider->SetMax(35);
        edit->OnChange = [this](TObject*) { ++changes; };
        window.show();
        window.activateWindow();
    }
    bool Ready()
    {
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        edit->setFocus();
        return QTest::qWaitFor([this] { return edit->hasFocus(); });
    }
    TPopupCalculator* Calculator() const { return edit->Calculator(); }
};

void AltDown(QWidget* w)
{
    QTest::keyClick(w, Qt::Key_Down, Qt::AltModifier);
}

// Long enough for the posted close request and the focus changes of the window system.
constexpr int kSettleMs = 2000;

} // namespace

class TestDropDown : public QObject
{
    Q_OBJECT

private slots:
    void init() { Locale::SetFormatSettings(NumberText::FrenchFormatSettings()); }

    void opensUnderTheEditWithoutTakingTheFocus()
    {
        TWindow w;
        QVERIFY(w.Ready());
        w.edit->SetValue(2.5L);
        AltDown(w.edit);
        QVERIFY(w.edit->PopupVisible());
        TPopupCalculator* calc = w.Calculator();
        QVERIFY(calc->isVisible());
        QCOMPARE(calc->size(), QSize(137, 127));
        // epaRight: the drop-down's right edge on the edit's right edge, right under it.
        const QPoint edit = w.edit->mapToGlobal(QPoint(0, 0));
        QCOMPARE(calc->pos(), QPoint(edit.x() + 184 - 137, edit.y() + 21));
        QTest::qWait(50);
        QVERIFY(w.edit->hasFocus());
        QVERIFY(w.window.isActiveWindow());
        QVERIFY(w.edit->isReadOnly()); // locked while open
        QCOMPARE(w.edit->text(), QStringLiteral("2,5"));
        QCOMPARE(calc->GetPopupText(), QStringLiteral("2,5"));

        const QString shots = qEnvironmentVariable("SEROLIS_SHOT_DIR");
        if (!shots.isEmpty()) {
            Type(w.edit, QStringLiteral("*4"));
            QTest::qWait(100);
            QDir().mkpath(shots);
            QGuiApplication::primaryScreen()->grabWindow(0, 90, 90, 440, 260).save(shots + "/calculator-open.png");
        }
    }

    void opensAboveWhenThereIsNoRoomBelow()
    {
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        TWindow w(QPoint(300, work.bottom() - 100));
        QVERIFY(w.Ready());
        AltDown(w.edit);
        QVERIFY(w.edit->PopupVisible());
        const QPoint edit = w.edit->mapToGlobal(QPoint(0, 0));
        QCOMPARE(w.Calculator()->pos().y(), edit.y() - 127);
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("accepts");
        QTest::addColumn<bool>("focusStays");
        QTest::newRow("Enter finishes and accepts") << "enter" << true << true;
        QTest::newRow("Ctrl+Enter accepts the display") << "ctrl-enter" << true << true;
        QTest::newRow("Escape cancels") << "escape" << false << true;
        QTest::newRow("Alt+Down accepts") << "alt-down" << true << true;
        QTest::newRow("a click on the button accepts without reopening") << "button" << true << true;
        QTest::newRow("DoClick accepts") << "doclick" << true << true;
        QTest::newRow("a press in the text area cancels") << "text-press" << false << true;
        QTest::newRow("a press on another control cancels") << "other-press" << false << false;
        QTest::newRow("the focus moving on cancels, later") << "focus" << false << false;
        QTest::newRow("a release on the drop-down's border cancels") << "border-release" << false << true;
    }
    void closing()
    {
        QFETCH(QString, how);
        QFETCH(bool, accepts);
        QFETCH(bool, focusStays);
        TWindow w;
        QVERIFY(w.Ready());
        w.edit->SetValue(2.5L);
        AltDown(w.edit);
        QVERIFY(w.edit->PopupVisible());
        Type(w.edit, QStringLiteral("7"));
        QCOMPARE(w.edit->text(), QStringLiteral("7")); // the calculator's display, copied
        w.changes = 0;

        if (how == u"enter")
            QTest::keyClick(w.edit, Qt::Key_Return);
        else if (how == u"ctrl-enter")
            QTest::keyClick(w.edit, Qt::Key_Return, Qt::ControlModifier);
        else if (how == u"escape")
            QTest::keyClick(w.edit, Qt::Key_Escape);
        else if (how == u"alt-down")
            AltDown(w.edit);
        else if (how == u"button")
            QTest::mouseClick(w.edit->Button(), Qt::LeftButton, {}, QPoint(10, 8));
        else if (how == u"doclick")
            w.edit->DoClick();
        else if (how == u"text-press")
            QTest::mouseClick(w.edit, Qt::LeftButton, {}, QPoint(30, 10));
        else if (how == u"other-press")
            QTest::mouseClick(w.other, Qt::LeftButton, {}, QPoint(30, 10));
        else if (how == u"focus")
            w.other->setFocus();
        else if (how == u"border-release")
            QTest::mouseRelease(w.Calculator(), Qt::LeftButton, {}, QPoint(0, 60));

        QTRY_VERIFY_WITH_TIMEOUT(!w.edit->PopupVisible(), kSettleMs);
        QVERIFY(!w.Calculator()->isVisible());
        QCOMPARE(w.edit->Value(), accepts ? 7.0L : 2.5L);
        QCOMPARE(w.edit->text(), accepts ? QStringLiteral("7") : QStringLiteral("2,5"));
        QCOMPARE(w.changes, 0); // neither the accepted value nor the restored text is reported
        QVERIFY(!w.edit->isReadOnly());
        QTest::qWait(50);
        QVERIFY2(!w.edit->PopupVisible(), "the drop-down opened again");
        // Closing never takes the focus back from the control it moved to.
        QCOMPARE(w.edit->hasFocus(), focusStays);
        QCOMPARE(w.other->hasFocus(), !focusStays);
    }

    void altDownWorksWithTheButtonHidden()
    {
        TWindow w;
        QVERIFY(w.Ready());
        w.edit->SetShowButton(false);
        QVERIFY(!w.edit->ButtonHost()->isVisible());
        QCOMPARE(w.edit->ButtonWidth(), 21);
        AltDown(w.edit);
        QVERIFY(w.edit->PopupVisible());
        AltDown(w.edit);
        QVERIFY(!w.edit->PopupVisible());
    }

    void focusShowsTheEditingViewAndSelectsAll()
    {
        TWindow w;
        QVERIFY(w.Ready());
        w.other->setFocus();
        QTRY_VERIFY(w.other->hasFocus());
        QVERIFY(!w.edit->Editing());
        w.edit->SetValue(5000);
        QCOMPARE(w.edit->text(), QString::fromUtf16(u"5\u202F000"));
        QTest::keyClick(&w.window, Qt::Key_Backtab); // from `other` back to `edit`
        QTRY_VERIFY(w.edit->hasFocus());
        QVERIFY(w.edit->Editing());
        QCOMPARE(w.edit->selectedText(), w.edit->text());
    }

    void leavingWithUnreadableTextReportsAndKeepsTheFocus_data()
    {
        QTest::addColumn<bool>("checkOnExit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("report");
        QTest::newRow("a lone plus left by deleting its digit") << false << QString()
                                     << QString("'+' n'est pas une valeur en virgule flottante correcte.");
        QTest::newRow("outside the limits, checked on exit")
            << true << QString("12") << QString("Value must be between 0,00 and 10,00.");
    }
    void leavingWithUnreadableTextReportsAndKeepsTheFocus()
    {
        QFETCH(bool, checkOnExit);
        QFETCH(QString, typed);
        QFETCH(QString, report);
        TErrorRecorder errors;
        TWindow w;
        w.edit->SetCheckOnExit(checkOnExit);
        if (checkOnExit) {
            w.edit->SetMinValue(0);
            w.edit->SetMaxValue(10);
        }
        QVERIFY(w.Ready());
        if (typed.isEmpty()) {
            // A "+" alone cannot be typed: type "5", put "+" before it, delete the digit.
            Type(w.edit, QStringLiteral("5"));
            QTest::keyClick(w.edit, Qt::Key_Home);
            Type(w.edit, QStringLiteral("+"));
            QTest::keyClick(w.edit, Qt::Key_End);
            Type(w.edit, QStringLiteral("\b"));
            QCOMPARE(w.edit->text(), QStringLiteral("+"));
        } else {
            Type(w.edit, typed);
        }
        const QString left = w.edit->text();
        w.other->setFocus();
        QCOMPARE(errors.Reports, QStringList{report});
        QTRY_VERIFY_WITH_TIMEOUT(w.edit->hasFocus(), kSettleMs);
        QCOMPARE(w.edit->text(), left);
        QCOMPARE(w.edit->selectedText(), left);
        QVERIFY(w.edit->Editing());
    }

    void leavingReformatsWithoutReporting()
    {
        TWindow w;
        QVERIFY(w.Ready());
        Type(w.edit, QStringLiteral("1000"));
        QCOMPARE(w.changes, 4);
        w.other->setFocus();
        QTRY_VERIFY(!w.edit->Editing());
        QCOMPARE(w.edit->text(), QString::fromUtf16(u"1\u202F000"));
        QCOMPARE(w.changes, 4);
    }
};

QTEST_MAIN(TestDropDown)
#include "tst_dropdown.moc"
