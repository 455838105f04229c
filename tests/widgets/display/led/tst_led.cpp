#include "ExPanel.h"
#include "LED.h"

#include <QApplication>
#include <QPainter>
#include <QtTest>
#include <array>

namespace {

// The lamp as it must look: '.' lets the background through, 'g' grey, 'L' the lamp's colour,
// 'W' white.
constexpr std::array<const char*, 17> kLamp{
    ".................", ".................", "......ggggg......", "....ggLLLLLgg....",
    "...gLLLLLLLLLg...", "...gLLWWWLLLLg...", "..gLLWWWLLLLLLg..", "..gLLWWLLLLLLLg..",
    "..gLLWLLLLLLLLg..", "..gLLLLLLLLLLLg..", "..gLLLLLLLLLLLg..", "...gLLLLLLLLLg...",
    "...gLLLLLLLLLg...", "....ggLLLLLgg....", "......gggggg.....", ".................",
    ".................",
};

const QColor kBackground(0x33, 0x66, 0x99);

// A parent that paints a plain background for the lamp to sit on.
class TStrip : public QWidget
{
public:
    explicit TStrip(QSize size)
    {
        resize(size);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), kBackground);
    }
};

class TPaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

QColor Expected(char c, const QColor& lamp)
{
    switch (c) {
    case 'g': return QColor(0x80, 0x80, 0x80);
    case 'L': return lamp;
    case 'W': return Qt::white;
    default: return kBackground;
    }
}

// Compares every pixel of the lamp's rectangle in `shot` (the parent's picture) with the map
// drawn at `lampAt` (lamp coordinates, may be negative) in `colour`; everything else of the
// rectangle must show the background.
void VerifyLamp(const QImage& shot, const QRect& control, QPoint lampAt, const QColor& colour)
{
    for (int y = control.top(); y <= control.bottom(); ++y)
        for (int x = control.left(); x <= control.right(); ++x) {
            const int mx = x - control.left() - lampAt.x();
            const int my = y - control.top() - lampAt.y();
            const bool inMap = mx >= 0 && mx < 17 && my >= 0 && my < 17;
            const QColor want = inMap ? Expected(kLamp[static_cast<std::size_t>(my)][mx], colour) : kBackground;
            const QColor got = shot.pixelColor(x, y);
            if (got.rgb() != want.rgb())
                QFAIL(qPrintable(QString("pixel (%1, %2): got %3, want %4").arg(x).arg(y).arg(got.name(), want.name())));
        }
}

QImage Shot(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

enum class TStep { StatusOn, StatusOff, ColorOn, ColorOff };
struct TOperation {
    TStep step;
    TColor color = 0;
};

} // namespace

Q_DECLARE_METATYPE(std::vector<TOperation>)

class TestLED : public QObject
{
    Q_OBJECT

private slots:
    void newLamp();
    void colours_data();
    void colours();
    void systemColourKeptUntilRebuilt();
    void centring_data();
    void centring();
    void autoSize_data();
    void autoSize();
    void statusRepaintsOnlyOnChange();
    void blinks();
    void intervalZeroNeverToggles();
    void minimisedWindowSkipsTicks();
};

void TestLED::newLamp()
{
    TStrip strip({17, 17});
    TLED led(&strip);
    QVERIFY(led.Status());
    QVERIFY(!led.Active());
    QCOMPARE(led.Interval(), 1000u);
    QCOMPARE(led.ColorOn(), clLime);
    QCOMPARE(led.ColorOff(), clRed);
    QCOMPARE(led.Color(), clLime);
    QCOMPARE(led.size(), QSize(17, 17));
    QVERIFY(!led.AutoSize());
    QCOMPARE(led.Picture().size(), QSize(17, 17));
    VerifyLamp(Shot(strip), led.geometry(), {0, 0}, QColor(0, 255, 0));
}

void TestLED::colours_data()
{
    QTest::addColumn<std::vector<TOperation>>("operations");
    QTest::addColumn<QColor>("shown");
    using S = TStep;
    QTest::newRow("unlit in red") << std::vector<TOperation>{{S::StatusOff}} << QColor(255, 0, 0);
    QTest::newRow("lit in purple at once")
        << std::vector<TOperation>{{S::ColorOn, clPurple}} << QColor(0x80, 0, 0x80);
    QTest::newRow("lime again after red")
        << std::vector<TOperation>{{S::StatusOff}, {S::StatusOn}} << QColor(0, 255, 0);
    QTest::newRow("lime again after purple, from the pristine picture")
        << std::vector<TOperation>{{S::ColorOn, clPurple}, {S::ColorOn, clLime}} << QColor(0, 255, 0);
    QTest::newRow("unlit colour of a lit lamp shows only once unlit")
        << std::vector<TOperation>{{S::ColorOff, clNavy}} << QColor(0, 255, 0);
    QTest::newRow("unlit colour once unlit")
        << std::vector<TOperation>{{S::ColorOff, clNavy}, {S::StatusOff}} << QColor(0, 0, 0x80);
    QTest::newRow("a system colour resolved through the palette")
        << std::vector<TOperation>{{S::ColorOn, clInfoBk}} << QApplication::palette().color(QPalette::ToolTipBase);
    QTest::newRow("black body") << std::vector<TOperation>{{S::ColorOn, clBlack}} << QColor(0, 0, 0);
}

void TestLED::colours()
{
    QFETCH(std::vector<TOperation>, operations);
    QFETCH(QColor, shown);
    TStrip strip({17, 17});
    TLED led(&strip);
    for (const auto& op : operations) {
        switch (op.step) {
        case TStep::StatusOn: led.SetStatus(true); break;
        case TStep::StatusOff: led.SetStatus(false); break;
        case TStep::ColorOn: led.SetColorOn(op.color); break;
        case TStep::ColorOff: led.SetColorOff(op.color); break;
        }
    }
    VerifyLamp(Shot(strip), led.geometry(), {0, 0}, shown);
}

// The picture keeps the value a system colour had when it was coloured.
void TestLED::systemColourKeptUntilRebuilt()
{
    const QPalette saved = QApplication::palette();
    TStrip strip({17, 17});
    TLED led(&strip);
    led.SetColorOn(clInfoBk);
    const QColor before = saved.color(QPalette::ToolTipBase);
    QPalette changed = saved;
    changed.setColor(QPalette::ToolTipBase, QColor(10, 20, 30));
    QApplication::setPalette(changed);
    VerifyLamp(Shot(strip), led.geometry(), {0, 0}, before);
    led.SetStatus(false);
    led.SetStatus(true);
    VerifyLamp(Shot(strip), led.geometry(), {0, 0}, QColor(10, 20, 30));
    QApplication::setPalette(saved);
}

void TestLED::centring_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("lampAt");
    QTest::newRow("23-pixel strip: 3 below the top") << QSize(17, 23) << QPoint(0, 3);
    QTest::newRow("18-pixel strip: at the top") << QSize(17, 18) << QPoint(0, 0);
    QTest::newRow("wider by 3: 1 to the right") << QSize(20, 17) << QPoint(1, 0);
    QTest::newRow("3 too small: -3 div 2 is -1, clipped") << QSize(14, 14) << QPoint(-1, -1);
    QTest::newRow("1 too small: 0, clipped at the right and bottom") << QSize(16, 16) << QPoint(0, 0);
}

void TestLED::centring()
{
    QFETCH(QSize, size);
    QFETCH(QPoint, lampAt);
    TStrip strip({40, 40});
    TLED led(&strip);
    led.setGeometry(QRect(QPoint(5, 6), size));
    VerifyLamp(Shot(strip), led.geometry(), lampAt, QColor(0, 255, 0));
}

void TestLED::autoSize_data()
{
    QTest::addColumn<TAlign>("align");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<QRect>("geometry");
    // Asked for (5, 6) 40 x 30; aligned lamps sit in a 228 x 29 strip with a raised bevel and
    // 2-pixel margins, as in the input panels.
    QTest::newRow("free, auto-sized: the picture's size") << alNone << true << QRect(5, 6, 17, 17);
    QTest::newRow("custom, auto-sized: the picture's size") << alCustom << true << QRect(5, 6, 17, 17);
    QTest::newRow("free, not auto-sized: as asked") << alNone << false << QRect(5, 6, 40, 30);
    QTest::newRow("left in a strip: width kept, strip's height") << alLeft << true << QRect(3, 3, 17, 23);
    QTest::newRow("right in a strip: width kept, strip's height") << alRight << true << QRect(208, 3, 17, 23);
}

void TestLED::autoSize()
{
    QFETCH(TAlign, align);
    QFETCH(bool, autoSize);
    QFETCH(QRect, geometry);
    TExPanel strip;
    strip.resize(228, 29);
    TLED led(&strip);
    SetAlignWithMargins(&led, true, {2, 2, 2, 2});
    SetAlign(&led, align);
    if (align == alNone || align == alCustom) {
        led.SetBounds(5, 6, 40, 30);
        led.SetAutoSize(autoSize);  // switching it on fixes the size at once
        led.SetBounds(5, 6, 40, 30);
    } else {
        led.SetAutoSize(autoSize);
    }
    QCOMPARE(led.geometry(), geometry);
}

void TestLED::statusRepaintsOnlyOnChange()
{
    TStrip strip({17, 17});
    TLED led(&strip);
    int changes = 0;
    led.OnChange = [&](TObject* sender) {
        QCOMPARE(sender, &led);
        ++changes;
    };
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QCoreApplication::processEvents();
    TPaintCounter counter;
    led.installEventFilter(&counter);

    led.SetStatus(true);
    QCoreApplication::processEvents();
    QCOMPARE(changes, 1);
    QCOMPARE(counter.paints, 0);

    led.SetStatus(false);  // a new colour repaints before the call returns
    QVERIFY(counter.paints >= 1);
    QCOMPARE(changes, 2);
}

void TestLED::blinks()
{
    constexpr std::uint32_t kIntervalMs = 40;
    constexpr int kLimitMs = 20 * kIntervalMs;
    TLED led;
    int changes = 0;
    led.OnChange = [&](TObject*) { ++changes; };
    led.SetInterval(kIntervalMs);
    led.SetActive(true);
    QTRY_COMPARE_WITH_TIMEOUT(led.Status(), false, kLimitMs);
    QCOMPARE(led.Color(), clRed);
    QTRY_COMPARE_WITH_TIMEOUT(led.Status(), true, kLimitMs);
    QTRY_COMPARE_WITH_TIMEOUT(led.Status(), false, kLimitMs);
    QVERIFY(changes >= 3);
    led.SetActive(false);  // stops in the colour it shows
    const int stoppedAt = changes;
    TLED reference;
    int referenceChanges = 0;
    reference.OnChange = [&](TObject*) { ++referenceChanges; };
    reference.SetInterval(kIntervalMs);
    reference.SetActive(true);
    QTRY_VERIFY_WITH_TIMEOUT(referenceChanges >= 2, kLimitMs);
    QCOMPARE(changes, stoppedAt);
    QCOMPARE(led.Status(), false);
    QCOMPARE(led.Color(), clRed);
}

void TestLED::intervalZeroNeverToggles()
{
    constexpr std::uint32_t kIntervalMs = 20;
    constexpr int kLimitMs = 20 * kIntervalMs;
    TLED led, reference;
    int changes = 0, referenceChanges = 0;
    led.OnChange = [&](TObject*) { ++changes; };
    reference.OnChange = [&](TObject*) { ++referenceChanges; };
    led.SetInterval(0);
    led.SetActive(true);
    reference.SetInterval(kIntervalMs);
    reference.SetActive(true);
    QTRY_VERIFY_WITH_TIMEOUT(referenceChanges >= 3, kLimitMs);
    QCOMPARE(changes, 0);
    QCOMPARE(led.Interval(), 0u);
    led.SetInterval(kIntervalMs);  // a period again: the lamp blinks
    QTRY_VERIFY_WITH_TIMEOUT(changes >= 1, kLimitMs);
}

void TestLED::minimisedWindowSkipsTicks()
{
    constexpr std::uint32_t kIntervalMs = 20;
    constexpr int kLimitMs = 20 * kIntervalMs;
    QWidget window;
    TLED led(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TLED reference;
    int changes = 0, referenceChanges = 0;
    led.OnChange = [&](TObject*) { ++changes; };
    reference.OnChange = [&](TObject*) { ++referenceChanges; };
    led.SetInterval(kIntervalMs);
    reference.SetInterval(kIntervalMs);

    window.showMinimized();
    QVERIFY(window.isMinimized());
    led.SetActive(true);
    reference.SetActive(true);
    QTRY_VERIFY_WITH_TIMEOUT(referenceChanges >= 3, kLimitMs);
    QCOMPARE(changes, 0);
    QVERIFY(led.Status());

    window.showNormal();
    QTRY_VERIFY_WITH_TIMEOUT(changes >= 1, kLimitMs);
    QCOMPARE(led.Status(), changes % 2 == 0);
}

QTEST_MAIN(TestLED)
#include "tst_led.moc"
