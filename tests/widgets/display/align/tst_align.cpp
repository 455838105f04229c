#include "Align.h"
#include "ExPanel.h"

#include <QApplication>
#include <QtTest>

Q_DECLARE_METATYPE(TRect)
Q_DECLARE_METATYPE(std::vector<TAlignItem>)
Q_DECLARE_METATYPE(std::vector<TRect>)

namespace {

TAlignItem Item(TAlign align, TRect bounds, int margin = -1)
{
    TAlignItem item;
    item.Align = align;
    item.Bounds = bounds;
    if (margin >= 0) {
        item.WithMargins = true;
        item.Margins = {margin, margin, margin, margin};
    }
    return item;
}

} // namespace

namespace QTest {
template <>
char* toString(const TRect& r)
{
    return qstrdup(QString("(%1, %2, %3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom).toUtf8());
}
} // namespace QTest

class TestAlign : public QObject
{
    Q_OBJECT

private slots:
    void computeAlignment_data();
    void computeAlignment();
    void panelPlacesChildrenAndFollowsThem();
};

void TestAlign::computeAlignment_data()
{
    QTest::addColumn<TRect>("area");
    QTest::addColumn<std::vector<TAlignItem>>("items");
    QTest::addColumn<std::vector<TRect>>("expected");

    // The main window's client area: the gradient fills it less 3 pixels, the custom panel stays.
    QTest::newRow("gradient with margins, custom panel untouched")
        << TRect{0, 0, 627, 486}
        << std::vector{Item(alClient, {0, 0, 100, 100}, 3), Item(alCustom, {40, 47, 591, 447})}
        << std::vector<TRect>{{3, 3, 624, 483}, {40, 47, 591, 447}};
    // Panel_haut (551 x 400, inner border 12): a left column 248 wide and the rest.
    QTest::newRow("left column and client column")
        << TRect{12, 12, 539, 388}
        << std::vector{Item(alClient, {0, 0, 5, 5}), Item(alLeft, {0, 0, 248, 10})}
        << std::vector<TRect>{{260, 12, 539, 388}, {12, 12, 260, 388}};
    // Panel_left (inner border 6): four panels stacked in the order of their top edges.
    QTest::newRow("top panels stack in the order of their tops")
        << TRect{6, 6, 242, 370}
        << std::vector{Item(alTop, {0, 100, 10, 188}), Item(alTop, {0, 50, 10, 138}), Item(alTop, {0, 0, 10, 88}),
                       Item(alTop, {0, 300, 10, 383})}
        << std::vector<TRect>{{6, 182, 242, 270}, {6, 94, 242, 182}, {6, 6, 242, 94}, {6, 270, 242, 353}};
    QTest::newRow("equal tops keep the order of the items")
        << TRect{0, 0, 50, 100}
        << std::vector{Item(alTop, {0, 0, 50, 10}), Item(alTop, {0, 0, 50, 20})}
        << std::vector<TRect>{{0, 0, 50, 10}, {0, 10, 50, 30}};
    // An input panel's child area (dpTop, 230 x 82 client): slider on top, the strip below.
    QTest::newRow("slider on top, strip fills the rest")
        << TRect{1, 24, 229, 81}
        << std::vector{Item(alTop, {0, 0, 100, 28}), Item(alClient, {0, 0, 1, 1})}
        << std::vector<TRect>{{1, 24, 229, 52}, {1, 52, 229, 81}};
    // The strip (228 x 29, raised 1-pixel bevel): lamps at both sides with 2-pixel margins.
    QTest::newRow("lamps with margins and the edit between")
        << TRect{1, 1, 227, 28}
        << std::vector{Item(alLeft, {0, 0, 17, 17}, 2), Item(alClient, {0, 0, 1, 1}), Item(alRight, {0, 0, 17, 17}, 2)}
        << std::vector<TRect>{{3, 3, 20, 26}, {22, 1, 206, 28}, {208, 3, 225, 26}};
    QTest::newRow("lamp in the shorter estriol strip")
        << TRect{1, 1, 227, 23} << std::vector{Item(alLeft, {0, 0, 17, 17}, 2)}
        << std::vector<TRect>{{3, 3, 20, 21}};
    QTest::newRow("bottoms stack upward, sides take the height between")
        << TRect{0, 0, 100, 100}
        << std::vector{Item(alBottom, {0, 80, 10, 90}), Item(alBottom, {0, 0, 10, 5}), Item(alTop, {0, 0, 10, 20}),
                       Item(alLeft, {0, 0, 30, 1}), Item(alRight, {0, 0, 25, 1})}
        << std::vector<TRect>{{0, 90, 100, 100}, {0, 85, 100, 90}, {0, 0, 100, 20}, {0, 20, 30, 85}, {75, 20, 100, 85}};
    TAlignItem hidden = Item(alTop, {0, 0, 10, 40});
    hidden.Visible = false;
    QTest::newRow("a hidden child takes no room and keeps its bounds")
        << TRect{0, 0, 100, 100} << std::vector{hidden, Item(alTop, {0, 50, 10, 60})}
        << std::vector<TRect>{{0, 0, 10, 40}, {0, 0, 100, 10}};
    QTest::newRow("too little room gives an inverted client rectangle")
        << TRect{0, 0, 10, 10} << std::vector{Item(alTop, {0, 0, 10, 30}), Item(alClient, {0, 0, 1, 1}, 3)}
        << std::vector<TRect>{{0, 0, 10, 30}, {3, 33, 7, 7}};
    QTest::newRow("huge sizes are clamped, not overflowed")
        << TRect{0, 0, 10, 10}
        << std::vector{Item(alTop, {0, -kCoordLimit, 10, kCoordLimit}, kCoordLimit), Item(alClient, {0, 0, 1, 1})}
        << std::vector<TRect>{{kCoordLimit, kCoordLimit, 10 - kCoordLimit, kCoordLimit}, {0, kCoordLimit, 10, 10}};
}

void TestAlign::computeAlignment()
{
    QFETCH(TRect, area);
    QFETCH(std::vector<TAlignItem>, items);
    QFETCH(std::vector<TRect>, expected);
    const std::vector<TRect> result = ComputeAlignment(area, items);
    QCOMPARE(result.size(), expected.size());
    for (std::size_t i = 0; i < result.size(); ++i)
        QCOMPARE(result[i], expected[i]);
}

// A real panel: the inner border and bevel narrow the area, a sunken client edge moves the
// client origin, and a child that grows pushes its client-aligned sibling.
void TestAlign::panelPlacesChildrenAndFollowsThem()
{
    TExPanel panel;
    panel.resize(551, 400);
    panel.SetBevelOuter(bvNone);
    panel.SetBorderWidth(12);
    QWidget top(&panel);
    QWidget rest(&panel);
    QWidget free(&panel);
    free.setGeometry(5, 6, 7, 8);
    top.resize(10, 30);
    SetAlign(&top, alTop);
    SetAlign(&rest, alClient);
    QCOMPARE(top.geometry(), QRect(12, 12, 527, 30));
    QCOMPARE(rest.geometry(), QRect(12, 42, 527, 346));
    QCOMPARE(free.geometry(), QRect(5, 6, 7, 8));

    panel.show();
    top.resize(top.width(), 50);
    QCOMPARE(rest.geometry(), QRect(12, 62, 527, 326));
    top.hide();
    QCOMPARE(rest.geometry(), QRect(12, 12, 527, 376));

    panel.SetBorderStyle(bsSingle);
    QCOMPARE(panel.ClientOrigin(), QPoint(2, 2));
    QCOMPARE(panel.ClientRect(), (TRect{0, 0, 547, 396}));
    QCOMPARE(rest.geometry(), QRect(14, 14, 523, 372));
    panel.SetBevelOuter(bvRaised);
    QCOMPARE(rest.geometry(), QRect(15, 15, 521, 370));
}

QTEST_MAIN(TestAlign)
#include "tst_align.moc"
