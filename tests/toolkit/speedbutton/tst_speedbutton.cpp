// Speed buttons: when a press becomes a click, the pressed look, and the picture of an image
// button.

#include "SpeedButton.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

class TestSpeedButton : public QObject
{
    Q_OBJECT

private slots:
    void clicks_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("clicks");
        QTest::newRow("press and release inside") << "inside" << 1;
        QTest::newRow("released outside") << "outside" << 0;
        QTest::newRow("out and back in before the release") << "back" << 1;
        QTest::newRow("right button") << "right" << 0;
        QTest::newRow("cancel mode during the press") << "cancel" << 0;
    }
    void clicks()
    {
        QFETCH(QString, gesture);
        QFETCH(int, clicks);
        QWidget parent;
        parent.resize(100, 60);
        TSpeedButton button(&parent);
        button.setGeometry(10, 10, 21, 21);
        parent.show();
        int clicked = 0;
        button.OnClick = [&](TObject*) { ++clicked; };
        const QPoint inside(10, 10), outside(40, 10);
        const Qt::MouseButton which = gesture == u"right" ? Qt::RightButton : Qt::LeftButton;
        QTest::mousePress(&button, which, {}, inside);
        QCOMPARE(button.Pressed(), which == Qt::LeftButton);
        QPoint release = inside;
        if (gesture == u"outside" || gesture == u"back") {
            QMouseEvent move(QEvent::MouseMove, QPointF(outside), button.mapToGlobal(QPointF(outside)), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(&button, &move);
            QVERIFY(!button.Pressed());
            if (gesture == u"outside")
                release = outside;
        }
        if (gesture == u"back") {
            QMouseEvent move(QEvent::MouseMove, QPointF(inside), button.mapToGlobal(QPointF(inside)), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(&button, &move);
            QVERIFY(button.Pressed());
        }
        if (gesture == u"cancel")
            button.CancelMode();
        QTest::mouseRelease(&button, which, {}, release);
        QCOMPARE(clicked, clicks);
        QVERIFY(!button.Pressed());
    }

    void pressedLookSinksTheEdge_data()
    {
        QTest::addColumn<int>("style");
        QTest::newRow("bsNew") << int(bsNew);
        QTest::newRow("bsWin31") << int(bsWin31);
    }
    void pressedLookSinksTheEdge()
    {
        QFETCH(int, style);
        TSpeedButton button;
        button.resize(21, 21);
        button.SetStyle(static_cast<TButtonStyle>(style));
        const QImage up = button.grab().toImage();
        button.SetPressed(true);
        const QImage down = button.grab().toImage();
        // The light edge at the top left turns dark when pressed.
        QVERIFY(qGray(up.pixel(1, 1)) > qGray(down.pixel(1, 1)));
        QCOMPARE(up.pixel(10, 10), down.pixel(10, 10)); // the face itself stays
    }

    void imageButtonDrawsItsPicture()
    {
        TImageList images(QSize(14, 12));
        QPixmap red(14, 12), blue(14, 12);
        red.fill(Qt::red);
        blue.fill(Qt::blue);
        QCOMPARE(images.Add(red), 0);
        QCOMPARE(images.Add(blue), 1);
        QVERIFY(images.Image(2).isNull());
        TImageSpeedButton button;
        button.resize(21, 17);
        button.SetImages(&images);
        button.SetImageIndex(0);
        button.SetDisabledImageIndex(1);
        QCOMPARE(button.grab().toImage().pixel(10, 8), qRgb(255, 0, 0));
        button.setEnabled(false);
        QCOMPARE(button.grab().toImage().pixel(10, 8), qRgb(0, 0, 255));
    }
};

QTEST_MAIN(TestSpeedButton)
#include "tst_speedbutton.moc"
