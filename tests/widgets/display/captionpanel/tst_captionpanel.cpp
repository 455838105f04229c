#include "CaptionPanel.h"
#include "LED.h"
#include "LinkLabel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QtTest>
#include <climits>

Q_DECLARE_METATYPE(TRect)
Q_DECLARE_METATYPE(TCapBtnStyles)
Q_DECLARE_METATYPE(std::vector<TRect>)

namespace QTest {
template <>
char* toString(const TRect& r)
{
    return qstrdup(QString("(%1, %2, %3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom).toUtf8());
}
} // namespace QTest

namespace {

constexpr std::array<TCapBtnStyle, 5> kAllKinds{capClose, capMax, capMin, capRestore, capHelp};

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

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// An input panel of the main window: bar on top, slim look, flat close and help buttons.
void MakeInputPanel(TCaptionPanel& panel)
{
    panel.SetCaptionPosition(dpTop);
    panel.SetOutlookLook(true);
    panel.SetFlatButtons(true);
    panel.SetResizable(false);
    panel.SetButtons({capClose, capHelp});
    panel.SetCaptionColor(clBlue);
    panel.resize(236, 88);
}

QIcon SolidIcon(int size, const QColor& colour)
{
    QPixmap pixmap(size, size);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Client-area picture of a panel.
QImage ClientShot(TCaptionPanel& panel)
{
    const QImage shot = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const TRect client = panel.ClientRect();
    return shot.copy(QRect(panel.ClientOrigin(), QSize(client.Width(), client.Height())));
}

} // namespace

class TestCaptionPanel : public QObject
{
    Q_OBJECT

private slots:
    void newPanel();
    void geometry_data();
    void geometry();
    void frames_data();
    void frames();
    void paintsBarIconAndText_data();
    void paintsBarIconAndText();
    void sameCaptionColourDoesNotRepaint();
    void buttonReports_data();
    void buttonReports();
    void drawsEveryButtonKind();
    void dragByTheBar_data();
    void dragByTheBar();
    void childrenOnTheBarKeepTheirPresses_data();
    void childrenOnTheBarKeepTheirPresses();
    void oddCaptionHeights_data();
    void oddCaptionHeights();
};

void TestCaptionPanel::newPanel()
{
    TCaptionPanel panel;
    QCOMPARE(panel.CaptionPosition(), dpLeft);
    QVERIFY(panel.Buttons().Empty());
    QCOMPARE(panel.CaptionColor(), clActiveCaption);
    QVERIFY(panel.CaptionFont().bold());
    QCOMPARE(panel.CaptionFont().pointSize(), 10);
    QCOMPARE(panel.CaptionFontColor(), clWhite);
    QVERIFY(panel.Resizable());
    QCOMPARE(panel.BorderStyle(), bsSingle);
    QCOMPARE(panel.ClientOrigin(), QPoint(4, 4));
    QVERIFY(panel.AutoDrag());
    QVERIFY(!panel.FlatButtons());
    QVERIFY(!panel.OutlookLook());
    QCOMPARE(panel.CaptionHeight(), 0);
    QCOMPARE(panel.CaptionHeightPx(), 23);
    QCOMPARE(panel.size(), QSize(185, 41));
    QCOMPARE(panel.Color(), clBtnFace);
    QVERIFY(panel.CaptionRect() == TRect{});
    for (TCapBtnStyle kind : kAllKinds) {
        QVERIFY(panel.Button(kind)->isHidden());
        QCOMPARE(panel.Button(kind)->Style(), kind);
        QCOMPARE(panel.Button(kind)->size(), QSize(20, 18));
    }
    QCOMPARE(TCapBtnStyles({capClose, capHelp}).Bits(), 0x11);
}

void TestCaptionPanel::geometry_data()
{
    QTest::addColumn<TDrawPosition>("position");
    QTest::addColumn<bool>("outlook");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<TCapBtnStyles>("buttons");
    QTest::addColumn<int>("captionHeight");
    QTest::addColumn<QSize>("size");  // outer size; a 3-pixel dialog frame on every side
    QTest::addColumn<TRect>("bar");
    QTest::addColumn<TRect>("childArea");
    QTest::addColumn<std::vector<TRect>>("buttonRects");  // in the order close, max, min, restore, help; empty when hidden

    const TRect none{};
    QTest::newRow("input panel of the window")
        << dpTop << true << true << TCapBtnStyles{capClose, capHelp} << 0 << QSize(236, 88) << TRect{0, 0, 230, 19}
        << TRect{1, 24, 229, 81} << std::vector<TRect>{{209, 0, 229, 18}, none, none, none, {188, 0, 208, 18}};
    QTest::newRow("result panel of the window")
        << dpTop << true << false << TCapBtnStyles{} << 0 << QSize(267, 88) << TRect{0, 0, 261, 18}
        << TRect{1, 24, 260, 81} << std::vector<TRect>{none, none, none, none, none};
    QTest::newRow("last input panel, 83 high")
        << dpTop << true << true << TCapBtnStyles{capClose, capHelp} << 0 << QSize(236, 83) << TRect{0, 0, 230, 19}
        << TRect{1, 24, 229, 76} << std::vector<TRect>{{209, 0, 229, 18}, none, none, none, {188, 0, 208, 18}};
    QTest::newRow("plain bar: inset 2, help sw + 2 left of close")
        << dpTop << false << false << TCapBtnStyles{capClose, capHelp} << 0 << QSize(236, 88) << TRect{2, 2, 228, 25}
        << TRect{1, 26, 229, 81} << std::vector<TRect>{{206, 5, 226, 23}, none, none, none, {184, 5, 204, 23}};
    QTest::newRow("help alone takes the first place")
        << dpTop << true << true << TCapBtnStyles{capHelp} << 0 << QSize(236, 88) << TRect{0, 0, 230, 19}
        << TRect{1, 24, 229, 81} << std::vector<TRect>{none, none, none, none, {209, 0, 229, 18}};
    QTest::newRow("restore before minimise")
        << dpTop << true << true << TCapBtnStyles{capMin, capRestore} << 0 << QSize(236, 88) << TRect{0, 0, 230, 19}
        << TRect{1, 24, 229, 81} << std::vector<TRect>{none, none, {188, 0, 208, 18}, {209, 0, 229, 18}, none};
    QTest::newRow("all five, plain")
        << dpTop << false << false << TCapBtnStyles{capClose, capMax, capMin, capRestore, capHelp} << 0
        << QSize(236, 88) << TRect{2, 2, 228, 25} << TRect{1, 26, 229, 81}
        << std::vector<TRect>{{206, 5, 226, 23}, {184, 5, 204, 23}, {144, 5, 164, 23}, {164, 5, 184, 23},
                              {124, 5, 144, 23}};
    QTest::newRow("caption height 30: taller bar, same buttons")
        << dpTop << false << false << TCapBtnStyles{capClose} << 30 << QSize(236, 88) << TRect{2, 2, 228, 32}
        << TRect{1, 33, 229, 81} << std::vector<TRect>{{206, 5, 226, 23}, none, none, none, none};
    QTest::newRow("left bar, buttons downward")
        << dpLeft << false << false << TCapBtnStyles{capClose, capMin} << 0 << QSize(200, 100) << TRect{2, 2, 25, 92}
        << TRect{26, 1, 193, 93} << std::vector<TRect>{{4, 4, 24, 22}, none, {4, 24, 24, 42}, none, none};
    QTest::newRow("right bar, slim, buttons upward")
        << dpRight << true << false << TCapBtnStyles{capClose, capHelp} << 0 << QSize(200, 100)
        << TRect{175, 0, 194, 94} << TRect{1, 1, 170, 93}
        << std::vector<TRect>{{175, 76, 195, 94}, none, none, none, {175, 58, 195, 76}};
    QTest::newRow("bottom bar, slim and flat")
        << dpBottom << true << true << TCapBtnStyles{capClose} << 0 << QSize(200, 100) << TRect{0, 75, 194, 94}
        << TRect{1, 1, 193, 70} << std::vector<TRect>{{173, 75, 193, 93}, none, none, none, none};
}

void TestCaptionPanel::geometry()
{
    QFETCH(TDrawPosition, position);
    QFETCH(bool, outlook);
    QFETCH(bool, flat);
    QFETCH(TCapBtnStyles, buttons);
    QFETCH(int, captionHeight);
    QFETCH(QSize, size);
    QFETCH(TRect, bar);
    QFETCH(TRect, childArea);
    QFETCH(std::vector<TRect>, buttonRects);

    TCaptionPanel panel;
    panel.SetResizable(false);
    panel.resize(size);
    panel.SetCaptionPosition(position);
    panel.SetOutlookLook(outlook);
    panel.SetFlatButtons(flat);
    panel.SetButtons(buttons);
    panel.SetCaptionHeight(captionHeight);
    QWidget child(&panel);
    SetAlign(&child, alClient);

    QCOMPARE(panel.CaptionBarRect(), bar);
    QCOMPARE(panel.AlignRect(), childArea);
    QCOMPARE(TRect::FromQRect(child.geometry()).Translated(-3, -3), childArea);
    for (std::size_t i = 0; i < kAllKinds.size(); ++i) {
        const TCapBtnStyle kind = kAllKinds[i];
        QCOMPARE(panel.Button(kind)->isHidden(), buttonRects[i] == TRect{});
        if (!(buttonRects[i] == TRect{}))
            QCOMPARE(panel.ButtonRect(kind), buttonRects[i]);
    }
    ClientShot(panel);  // the paint records the bar
    QCOMPARE(panel.CaptionRect(), bar);
}

void TestCaptionPanel::frames_data()
{
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<TBorderStyle>("border");
    QTest::addColumn<int>("frame");
    QTest::newRow("sizing frame") << true << bsSingle << 4;
    QTest::newRow("fixed dialog frame") << false << bsSingle << 3;
    QTest::newRow("no frame") << false << bsNone << 0;
    QTest::newRow("no frame, resizable") << true << bsNone << 0;
}

void TestCaptionPanel::frames()
{
    QFETCH(bool, resizable);
    QFETCH(TBorderStyle, border);
    QFETCH(int, frame);
    TCaptionPanel panel;
    panel.resize(236, 88);
    panel.SetResizable(resizable);
    panel.SetBorderStyle(border);
    QCOMPARE(panel.ClientOrigin(), QPoint(frame, frame));
    QCOMPARE(panel.ClientRect(), (TRect{0, 0, 236 - 2 * frame, 88 - 2 * frame}));
    // The frame's outer ring is drawn; the client area starts with the bar.
    const QImage shot = panel.grab().toImage();
    panel.SetCaptionColor(clRed);
    const QImage red = panel.grab().toImage();
    QCOMPARE(red.pixelColor(frame + 2, frame + 2), QColor(255, 0, 0));
    if (frame > 0)
        QVERIFY(red.pixelColor(0, 0) != QColor(255, 0, 0));
    QVERIFY(!shot.isNull());

    // Pulling the bottom-right corner of a sizing frame resizes the panel.
    panel.show();
    const QPoint corner(panel.width() - 1, panel.height() - 1);
    SendMouse(&panel, QEvent::MouseButtonPress, Qt::LeftButton, corner, Qt::LeftButton);
    SendMouse(&panel, QEvent::MouseMove, Qt::NoButton, corner + QPoint(10, 5), Qt::LeftButton);
    SendMouse(&panel, QEvent::MouseButtonRelease, Qt::LeftButton, corner + QPoint(10, 5), Qt::NoButton);
    QCOMPARE(panel.size(), resizable && frame > 0 ? QSize(246, 93) : QSize(236, 88));
}

void TestCaptionPanel::paintsBarIconAndText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("icon");
    QTest::addColumn<int>("textFrom");  // no caption text left of this column
    QTest::newRow("caption") << "AFP" << false << 8;
    QTest::newRow("caption after an icon") << "AFP" << true << 8 + 16 + 2;
    QTest::newRow("empty caption, empty icon") << "" << false << 0;
    QTest::newRow("icon only") << "" << true << 0;
}

// The window's input panel: the bar in its colour, the panel's colour below, the icon at the
// bar's left and the text after it.
void TestCaptionPanel::paintsBarIconAndText()
{
    QFETCH(QString, caption);
    QFETCH(bool, icon);
    QFETCH(int, textFrom);
    TCaptionPanel panel;
    MakeInputPanel(panel);
    panel.SetButtons({});
    panel.SetCaption(caption);
    if (icon) {
        QIcon picture = SolidIcon(16, Qt::red);
        picture.addPixmap(QPixmap(32, 32));  // a larger size that does not fit the bar
        panel.SetIcon(picture);
    }
    const QImage shot = ClientShot(panel);
    const QColor blue(0, 0, 255), white(255, 255, 255), red(255, 0, 0);
    const QColor face = QApplication::palette().color(QPalette::Button);
    int whiteFound = 0;
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 230; ++x) {
            const QColor c = shot.pixelColor(x, y);
            const bool inIcon = icon && x >= 1 && x < 17 && y >= 1 && y < 17;  // (1, (19 - 16) div 2)
            if (inIcon) {
                QCOMPARE(c, red);
                continue;
            }
            if (c != blue) {
                QVERIFY2(!caption.isEmpty() && x >= textFrom, qPrintable(QString("(%1, %2)").arg(x).arg(y)));
                whiteFound += c == white;
            }
        }
    QCOMPARE(whiteFound > 0, !caption.isEmpty());
    for (int x = 0; x < 230; ++x)
        QCOMPARE(shot.pixelColor(x, 19), face);
}

void TestCaptionPanel::sameCaptionColourDoesNotRepaint()
{
    TCaptionPanel panel;
    MakeInputPanel(panel);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCoreApplication::processEvents();
    TPaintCounter counter;
    panel.installEventFilter(&counter);
    panel.SetCaptionColor(clBlue);
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 0);
    panel.SetCaptionColor(clRed);
    QTRY_VERIFY(counter.paints > 0);
}

void TestCaptionPanel::buttonReports_data()
{
    // A script of pointer steps on the close button: p/P press left/right, i/o move inside or
    // outside (while held), r/R release left/right where the pointer is.
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("clicks");
    QTest::newRow("click") << "pr" << 1;
    QTest::newRow("press, release outside") << "por" << 0;
    QTest::newRow("press, leave, re-enter, release") << "poir" << 1;
    QTest::newRow("right button: pressed look, no report") << "PR" << 0;
    QTest::newRow("right press held, left click") << "PprR" << 1;
}

void TestCaptionPanel::buttonReports()
{
    QFETCH(QString, script);
    QFETCH(int, clicks);
    TCaptionPanel panel;
    MakeInputPanel(panel);
    panel.show();
    TCapBtn* close = panel.Button(capClose);
    int reported = 0;
    panel.OnButtonClick = [&](TObject* sender, TCapBtnStyle kind) {
        QCOMPARE(sender, &panel);
        QCOMPARE(kind, capClose);
        QVERIFY(close->Down());  // reported before the raised look returns
        ++reported;
    };
    const QPoint inside(5, 5), outside(-10, 5);
    QPoint at = inside;
    Qt::MouseButtons held;
    for (QChar step : script) {
        switch (step.unicode()) {
        case 'p':
        case 'P': {
            const Qt::MouseButton b = step == u'p' ? Qt::LeftButton : Qt::RightButton;
            held |= b;
            SendMouse(close, QEvent::MouseButtonPress, b, at, held);
            QVERIFY(close->Down());
            break;
        }
        case 'i':
        case 'o':
            at = step == u'i' ? inside : outside;
            SendMouse(close, QEvent::MouseMove, Qt::NoButton, at, held);
            QCOMPARE(close->Down(), step == u'i');
            QCOMPARE(close->Over(), step == u'i');
            break;
        case 'r':
        case 'R': {
            const Qt::MouseButton b = step == u'r' ? Qt::LeftButton : Qt::RightButton;
            held &= ~b;
            SendMouse(close, QEvent::MouseButtonRelease, b, at, held);
            QVERIFY(!close->Down());
            break;
        }
        }
    }
    QCOMPARE(reported, clicks);
}

// Five distinct faces, and each look (greyed, pushed, flat) differs from the plain one.
void TestCaptionPanel::drawsEveryButtonKind()
{
    auto face = [](TCapBtnStyle kind, bool enabled, bool pushed, bool flat) {
        QImage image(20, 18, QImage::Format_RGB32);
        QPainter painter(&image);
        TCapBtn::DrawFace(painter, image.rect(), kind, enabled, pushed, flat);
        return image;
    };
    std::vector<QImage> plain;
    for (TCapBtnStyle kind : kAllKinds) {
        const QImage normal = face(kind, true, false, false);
        for (const QImage& other : plain)
            QVERIFY(normal != other);
        QVERIFY(face(kind, false, false, false) != normal);
        QVERIFY(face(kind, true, true, false) != normal);
        QVERIFY(face(kind, true, false, true) != normal);
        plain.push_back(normal);
    }
}

void TestCaptionPanel::dragByTheBar_data()
{
    QTest::addColumn<TAlign>("align");
    QTest::addColumn<bool>("autoDrag");
    QTest::addColumn<bool>("allowAligned");
    QTest::addColumn<QPoint>("pressAt");  // client coordinates
    QTest::addColumn<bool>("drags");
    QTest::newRow("free panel") << alNone << true << false << QPoint(50, 5) << true;
    QTest::newRow("press below the bar") << alNone << true << false << QPoint(50, 40) << false;
    QTest::newRow("dragging switched off") << alNone << false << false << QPoint(50, 5) << false;
    QTest::newRow("top-aligned panel") << alTop << true << false << QPoint(50, 5) << false;
    QTest::newRow("top-aligned panel, allowed by the owner") << alTop << true << true << QPoint(50, 5) << true;
}

void TestCaptionPanel::dragByTheBar()
{
    QFETCH(TAlign, align);
    QFETCH(bool, autoDrag);
    QFETCH(bool, allowAligned);
    QFETCH(QPoint, pressAt);
    QFETCH(bool, drags);
    TExPanel parent;
    parent.resize(400, 300);
    TCaptionPanel panel(&parent);
    MakeInputPanel(panel);
    panel.move(20, 30);
    SetAlign(&panel, align);
    panel.SetAutoDrag(autoDrag);
    int asked = 0, ended = 0;
    if (allowAligned)
        panel.OnStartAutoDrag = [&](TObject*, bool& allow) {
            QVERIFY(!allow);
            allow = true;
            ++asked;
        };
    panel.OnEndAutoDrag = [&](TObject* sender) {
        QCOMPARE(sender, &panel);
        ++ended;
    };
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    const QPoint start = panel.pos();
    const QPoint press = pressAt + panel.ClientOrigin();
    SendMouse(&panel, QEvent::MouseButtonPress, Qt::LeftButton, press, Qt::LeftButton);
    QCOMPARE(panel.Dragging(), drags);
    SendMouse(&panel, QEvent::MouseMove, Qt::NoButton, press + QPoint(10, 7), Qt::LeftButton);
    if (align == alNone)
        QCOMPARE(panel.pos(), drags ? start + QPoint(10, 7) : start);
    else
        QCOMPARE(panel.pos(), start);  // the alignment keeps it in its place
    SendMouse(&panel, QEvent::MouseButtonRelease, Qt::LeftButton, press, Qt::NoButton);
    QVERIFY(!panel.Dragging());
    QCOMPARE(ended, drags ? 1 : 0);
    QCOMPARE(asked, allowAligned ? 1 : 0);
}

void TestCaptionPanel::childrenOnTheBarKeepTheirPresses_data()
{
    QTest::addColumn<QString>("child");
    QTest::newRow("caption button") << "button";
    QTest::newRow("lamp lying on the bar") << "lamp";
    QTest::newRow("link label lying on the bar") << "label";
}

// A press on a windowless child that lies over the bar belongs to the child: a free panel does
// not start moving under it.
void TestCaptionPanel::childrenOnTheBarKeepTheirPresses()
{
    QFETCH(QString, child);
    TExPanel parent;
    parent.resize(400, 300);
    TCaptionPanel panel(&parent);
    MakeInputPanel(panel);
    panel.move(20, 30);
    int clicks = 0;
    panel.OnButtonClick = [&](TObject*, TCapBtnStyle) { ++clicks; };
    QWidget* target = panel.Button(capClose);
    if (child == "lamp") {
        target = new TLED(&panel);
        target->move(panel.ClientOrigin() + QPoint(100, 1));
    } else if (child == "label") {
        auto* label = new TLinkLabel(&panel);
        QFont font = label->font();
        font.setPixelSize(10);
        label->setFont(font);
        label->setGeometry(QRect(panel.ClientOrigin() + QPoint(60, 2), QSize(80, 14)));
        label->SetCaption(QStringLiteral("<link=x>lien</link>"));
        target = label;
    }
    target->raise();
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QCoreApplication::processEvents();
    const QPoint at = target->rect().center();
    const QPoint onClient = target->mapTo(&panel, at) - panel.ClientOrigin();
    QVERIFY(panel.CaptionRect().Contains(onClient.x(), onClient.y()));

    const QPoint start = panel.pos();
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QVERIFY(!panel.Dragging());
    QTest::mouseMove(target, at + QPoint(6, 4));
    QCOMPARE(panel.pos(), start);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    QVERIFY(!panel.Dragging());
    QCOMPARE(clicks, child == "button" ? 1 : 0);
}

void TestCaptionPanel::oddCaptionHeights_data()
{
    QTest::addColumn<int>("captionHeight");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("childTop");  // client coordinates, slim look on top
    QTest::newRow("negative") << -50 << QSize(236, 88) << -49;
    QTest::newRow("huge") << INT_MAX << QSize(236, 88) << kCoordLimit;
    QTest::newRow("most negative") << INT_MIN << QSize(236, 88) << -kCoordLimit + 1;
    QTest::newRow("panel of size 0") << 0 << QSize(0, 0) << 24;
    QTest::newRow("panel smaller than its frame") << 0 << QSize(4, 5) << 24;
}

// Odd values give odd geometry, never a crash or an overflow.
void TestCaptionPanel::oddCaptionHeights()
{
    QFETCH(int, captionHeight);
    QFETCH(QSize, size);
    QFETCH(int, childTop);
    for (TDrawPosition position : {dpLeft, dpTop, dpRight, dpBottom}) {
        TCaptionPanel panel;
        MakeInputPanel(panel);
        panel.SetCaption("AFP");
        panel.SetIcon(SolidIcon(16, Qt::red));
        panel.SetButtons({capClose, capMax, capMin, capRestore, capHelp});
        panel.SetCaptionPosition(position);
        panel.SetCaptionHeight(captionHeight);
        panel.resize(size);
        QWidget child(&panel);
        SetAlign(&child, alClient);
        panel.grab();
        panel.SetOutlookLook(false);
        panel.grab();
        panel.SetOutlookLook(true);
        if (position == dpTop)
            QCOMPARE(panel.AlignRect().Top, childTop);
    }
}

QTEST_MAIN(TestCaptionPanel)
#include "tst_captionpanel.moc"
