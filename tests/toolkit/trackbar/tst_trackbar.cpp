// The slider: its tick marks, its keyboard steps and the band it paints over a plain channel.

#include "Colors.h"
#include "TrackBar.h"

#include <QImage>
#include <QtTest>

class TestTrackBar : public QObject
{
    Q_OBJECT

private slots:
    void ticks_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<int>>("ticks");
        QTest::newRow("denominator: manual ticks at the two ends") << 1 << 5000 << 100 << int(tsManual)
                                                                   << QList<int>{1, 5000};
        QTest::newRow("MoM: a tick every 0.5") << 0 << 35 << 5 << int(tsAuto)
                                               << QList<int>{0, 5, 10, 15, 20, 25, 30, 35};
        QTest::newRow("a range the frequency does not divide ends with Max") << 0 << 12 << 5 << int(tsAuto)
                                                                             << QList<int>{0, 5, 10, 12};
        QTest::newRow("no ticks") << 0 << 35 << 5 << int(tsNone) << QList<int>{};
    }
    void ticks()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, frequency);
        QFETCH(int, style);
        QFETCH(QList<int>, ticks);
        TTrackBar slider;
        slider.SetMin(min);
        slider.SetMax(max);
        slider.SetFrequency(frequency);
        slider.SetTickStyle(static_cast<TTickStyle>(style));
        QCOMPARE(slider.TickPositions(), ticks);
    }

    void keysStepByLineAndPage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("right: one line") << int(Qt::Key_Right) << 11;
        QTest::newRow("left: one line") << int(Qt::Key_Left) << 9;
        QTest::newRow("page up: one page") << int(Qt::Key_PageUp) << 12;
        QTest::newRow("page down: one page") << int(Qt::Key_PageDown) << 8;
        QTest::newRow("end: Max") << int(Qt::Key_End) << 35;
    }
    void keysStepByLineAndPage()
    {
        QFETCH(int, key);
        QFETCH(int, expected);
        TTrackBar slider;
        slider.SetMax(35);
        slider.SetPosition(10);
        slider.SetLineSize(1);
        slider.SetPageSize(2);
        int changes = 0;
        int seen = -1;
        slider.OnChange = [&](TObject*) {
            ++changes;
            seen = slider.Position();
        };
        QTest::keyClick(&slider, static_cast<Qt::Key>(key));
        QCOMPARE(slider.Position(), expected);
        QCOMPARE(changes, 1);
        QCOMPARE(seen, expected);
    }

    // The band shows in the channel on both sides of the thumb; outside it the channel is plain
    // (a style groove filled up to the thumb would colour 0..Position instead).
    void paintsTheBandOverAPlainChannel()
    {
        QWidget parent;
        parent.resize(236, 28);
        TTrackBar slider(&parent);
        slider.setGeometry(0, 0, 236, 28);
        slider.SetMax(35);
        slider.SetPosition(10);
        slider.SetSelStart(5);
        slider.SetSelEnd(25);
        slider.SetFrequency(5);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        const QImage shot = slider.grab().toImage();
        const int y = slider.BandRect().center().y();
        const QRgb highlight = ToQColor(clHighlight).rgb(), window = ToQColor(clWindow).rgb();
        QCOMPARE(shot.pixel(slider.PositionToX(7), y), highlight);
        QCOMPARE(shot.pixel(slider.PositionToX(20), y), highlight);
        QCOMPARE(shot.pixel(slider.PositionToX(2), y), window);
        QCOMPARE(shot.pixel(slider.PositionToX(30), y), window);
        // A tick below the thumb's track at every 0.5 MoM.
        const QRect channel = slider.ChannelRect();
        bool tickAt35 = false;
        for (int ty = channel.bottom() + 1; ty < shot.height(); ++ty)
            tickAt35 |= qGray(shot.pixel(slider.PositionToX(35), ty)) < 80;
        QVERIFY(tickAt35);
    }
};

QTEST_MAIN(TestTrackBar)
#include "tst_trackbar.moc"
