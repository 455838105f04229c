#include "Align.h"
#include "ExPanel.h"
#include "LinkLabel.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QtTest>

namespace {

const QColor kBackdropColor(0x33, 0x66, 0x99);
constexpr int kLabelWidthPx = 259;
const QString kLongestFinding = QStringLiteral("Echographie, Biométrie, Dopplers Art.U, Biologie");
const QString kTwoLinks = QStringLiteral("Voir <link=p1>page un</link> ou <link=P2>deux</link>");

QFont LabelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    return font;
}

int LineHeight()
{
    return QFontMetrics(LabelFont()).height();
}

// A parent with a plain colour of its own, so that what shows through the label is known.
class TBackdrop : public QWidget
{
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), kBackdropColor); }
};

// Records the regions of the paints a widget receives.
class TPaintRecorder : public QObject
{
public:
    QList<QRegion> Regions;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Regions << static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

struct TLabelOnBackdrop {
    mutable TBackdrop Backdrop;
    TLinkLabel* Label;

    explicit TLabelOnBackdrop(const QString& caption = {})
        : Label(new TLinkLabel(&Backdrop))
    {
        Backdrop.resize(300, 120);
        Label->setGeometry(10, 10, kLabelWidthPx, TCustomLinkLabel::kDefaultHeightPx);
        Label->setFont(LabelFont());
        Label->SetTransparent(true);
        Label->SetHotLinks(true);
        Label->SetCaption(caption);
        Backdrop.show();
    }
    bool Settle()
    {
        if (!QTest::qWaitForWindowExposed(&Backdrop))
            return false;
        // Painting may resize the label once (its height follows the text); let that settle.
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        return true;
    }
    TLinkNode* Link(int index) const
    {
        TTopLevelNodeEnumerator links(Label->NodeTree().Root(), ntLinkNode);
        TNode* node = nullptr;
        for (int i = 0; i <= index; ++i)
            node = links.GetNext();
        return static_cast<TLinkNode*>(node);
    }
    // The link's text rectangles in label coordinates.
    QRect LinkBox(int index) const
    {
        QRegion region;
        for (const TRect& r : Link(index)->TextRects())
            region += r.ToQRect().translated(Label->Origin());
        return region.boundingRect();
    }
    // What the window shows now, as the backing store holds it.
    QImage Screen() const
    {
        return Backdrop.screen()->grabWindow(Backdrop.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QRect OnBackdrop(const QRect& labelRect) const { return labelRect.translated(Label->pos()); }
    // The label's area as drawn over the backdrop.
    QImage Shown() const { return Backdrop.grab(Label->geometry()).toImage(); }
};

bool HasColor(const QImage& image, const QRect& area, const QColor& color)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}

// The first column of `image` that holds anything but `background`, or -1.
int FirstInkColumn(const QImage& image, const QColor& background)
{
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) != background)
                return x;
    return -1;
}

} // namespace

class TestLinkLabelWidget : public QObject
{
    Q_OBJECT

private slots:
    void leadingSpaceIsDrawn()
    {
        TLabelOnBackdrop plain(QStringLiteral("Caryotype"));
        TLabelOnBackdrop spaced(QStringLiteral(" Caryotype"));
        QVERIFY(plain.Settle() && spaced.Settle());
        const QImage a = plain.Shown();
        const QImage b = spaced.Shown();
        const int inkA = FirstInkColumn(a, kBackdropColor);
        QVERIFY(inkA >= 0);
        QCOMPARE(FirstInkColumn(b, kBackdropColor) - inkA, QFontMetrics(LabelFont()).horizontalAdvance(u' '));
        QCOMPARE(spaced.Label->height(), LineHeight());
    }

    void wrapsAndGrows_data()
    {
        QTest::addColumn<int>("align");
        QTest::newRow("aligned to the bottom grows upward") << int(alBottom);
        QTest::newRow("aligned to the top grows downward") << int(alTop);
    }
    void wrapsAndGrows()
    {
        QFETCH(int, align);
        TExPanel panel;
        panel.SetBevelOuter(bvNone);
        panel.resize(kLabelWidthPx, 88);
        auto* label = new TLinkLabel(&panel);
        label->setFont(LabelFont());
        label->SetTransparent(true);
        SetAlign(label, static_cast<TAlign>(align));
        label->SetCaption(QStringLiteral("CAT"));
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QTRY_COMPARE(label->height(), LineHeight());
        QCOMPARE(label->width(), kLabelWidthPx);
        const QRect before = label->geometry();

        label->SetCaption(kLongestFinding);
        QTRY_COMPARE(label->height(), 2 * LineHeight());
        if (align == alBottom)
            QCOMPARE(label->geometry().bottom(), before.bottom());
        else
            QCOMPARE(label->geometry().top(), before.top());

        // The whole caption measures exactly the label's width, so its last word must wrap.
        const QFontMetrics metrics(LabelFont());
        QCOMPARE(metrics.horizontalAdvance(kLongestFinding), kLabelWidthPx);
        const auto* text = dynamic_cast<const TStringNode*>(label->NodeTree().Root().Children().at(0));
        QVERIFY(text);
        const QString firstLine = QStringLiteral("Echographie, Biométrie, Dopplers Art.U, ");
        QCOMPARE(text->Rects(),
                 (std::vector<TRect>{{0, 0, metrics.horizontalAdvance(firstLine), LineHeight()},
                                     {0, LineHeight(), metrics.horizontalAdvance(QStringLiteral("Biologie")), 2 * LineHeight()}}));

        // A short caption brings the label back to one line.
        label->SetCaption(QStringLiteral("Caryotype"));
        QTRY_COMPARE(label->height(), LineHeight());
        if (align == alBottom)
            QCOMPARE(label->geometry().bottom(), before.bottom());
    }

    void emptyCaptionIsOneLineHigh()
    {
        TLabelOnBackdrop fixture(kLongestFinding);
        fixture.Label->setFixedWidth(120);
        QVERIFY(fixture.Settle());
        QTRY_VERIFY(fixture.Label->height() > LineHeight());
        fixture.Label->SetCaption(QString());
        QTRY_COMPARE(fixture.Label->height(), LineHeight());
        const QImage shown = fixture.Shown();
        QCOMPARE(FirstInkColumn(shown, kBackdropColor), -1);
    }

    void captionAndText()
    {
        TCustomLinkLabel label;
        QVERIFY(label.Text().isEmpty());
        int changes = 0;
        QString seen;
        label.OnCaptionChanged = [&](TObject* sender) {
            QCOMPARE(sender, &label);
            ++changes;
            seen = label.NodeTree().Root().GetText();
        };
        label.SetText({"Echo", "graphie"});
        QCOMPARE(label.Caption(), QStringLiteral("Echo\r\ngraphie\r\n"));
        QCOMPARE(label.Text(), QStringList{label.Caption()});
        QCOMPARE(changes, 1);
        // The lines run together, without a space.
        QCOMPARE(seen, QStringLiteral("Echographie"));
        QCOMPARE(label.NodeTree().Root().Children().size(), std::size_t(1));

        // Link numbers start again with every caption.
        label.SetCaption("<link=a>a</link><link=b>b</link>");
        label.SetCaption("x<link=c>c</link>");
        TTopLevelNodeEnumerator links(label.NodeTree().Root(), ntLinkNode);
        QCOMPARE(static_cast<TLinkNode*>(links.GetNext())->Number(), 0);
        QCOMPARE(changes, 3);
    }

    void sameCaptionDoesNothing()
    {
        TLabelOnBackdrop fixture(QStringLiteral("Caryotype"));
        QVERIFY(fixture.Settle());
        int changes = 0;
        fixture.Label->OnCaptionChanged = [&](TObject*) { ++changes; };
        TPaintRecorder paints;
        fixture.Label->installEventFilter(&paints);
        const TNodeTree* tree = &fixture.Label->NodeTree();
        fixture.Label->SetCaption(QStringLiteral("Caryotype"));
        QCoreApplication::processEvents();
        QCOMPARE(&fixture.Label->NodeTree(), tree);
        QCOMPARE(changes, 0);
        QVERIFY(paints.Regions.isEmpty());
        // A different caption does repaint, which shows the recorder works.
        fixture.Label->SetCaption(QStringLiteral("Echographie"));
        QTRY_VERIFY(!paints.Regions.isEmpty());
        QCOMPARE(changes, 1);
    }

    void pointerStates()
    {
        TLabelOnBackdrop fixture(kTwoLinks);
        QVERIFY(fixture.Settle());
        TLinkLabel& label = *fixture.Label;
        QList<QStringList> clicks;
        label.OnLinkClick = [&](TObject* sender, int number, const QString& text, const QString& param) {
            QCOMPARE(sender, &label);
            clicks << QStringList{QString::number(number), text, param};
        };
        const QRect first = fixture.LinkBox(0);
        const QRect second = fixture.LinkBox(1);
        QVERIFY(!first.isEmpty() && !second.isEmpty() && !first.intersects(second));

        QTest::mouseMove(&label, QPoint(1, 1));
        QCOMPARE(label.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!label.ActiveLinkNode());

        QTest::mouseMove(&label, first.center());
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(label.ActiveLinkNode(), fixture.Link(0));
        QCOMPARE(fixture.Link(0)->State(), lsHot);
        QImage shown = fixture.Shown();
        QVERIFY(HasColor(shown, first, ToQColor(clPurple)));
        QVERIFY(!HasColor(shown, first, ToQColor(clBlue)));
        QVERIFY(HasColor(shown, second, ToQColor(clBlue)));

        QTest::mousePress(&label, Qt::LeftButton, {}, first.center());
        QCOMPARE(fixture.Link(0)->State(), lsClicked);
        QVERIFY(HasColor(fixture.Shown(), first, ToQColor(clRed)));

        QTest::mouseRelease(&label, Qt::LeftButton, {}, first.center());
        QCOMPARE(clicks, (QList<QStringList>{{"0", "page un", "p1"}}));
        QCOMPARE(fixture.Link(0)->State(), lsNormal);
        QVERIFY(!label.ActiveLinkNode());
        QVERIFY(HasColor(fixture.Shown(), first, ToQColor(clBlue)));

        // Pressed on one link and released over the other: the other is reported, and moving
        // while a link is clicked changes no state.
        QTest::mousePress(&label, Qt::RightButton, {}, first.center());
        QTest::mouseMove(&label, second.center());
        QCOMPARE(fixture.Link(0)->State(), lsClicked);
        QCOMPARE(fixture.Link(1)->State(), lsNormal);
        QTest::mouseRelease(&label, Qt::RightButton, {}, second.center());
        QCOMPARE(clicks.last(), (QStringList{"1", "deux", "P2"}));
        QCOMPARE(fixture.Link(0)->State(), lsNormal);

        // Released off the links: no report.
        QTest::mousePress(&label, Qt::LeftButton, {}, first.center());
        QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(clicks.size(), 2);
        QVERIFY(!label.ActiveLinkNode());

        // Leaving the label cools a hot link.
        QTest::mouseMove(&label, second.center());
        QCOMPARE(fixture.Link(1)->State(), lsHot);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&label, &leave);
        QCOMPARE(fixture.Link(1)->State(), lsNormal);

        // Without HotLinks the pointer shows the hand but nothing turns hot.
        label.SetHotLinks(false);
        QTest::mouseMove(&label, first.center());
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!label.ActiveLinkNode());
    }

    void hotLinkRedrawsOnlyItself_data()
    {
        QTest::addColumn<bool>("transparent");
        QTest::newRow("transparent: the parent shows again behind the link") << true;
        QTest::newRow("opaque: the label's colour behind the link") << false;
    }
    void hotLinkRedrawsOnlyItself()
    {
        QFETCH(bool, transparent);
        TLabelOnBackdrop fixture(kTwoLinks);
        fixture.Label->SetTransparent(transparent);
        fixture.Label->SetColor(clWhite);
        const QColor behind = transparent ? kBackdropColor : QColor(Qt::white);
        QVERIFY(fixture.Settle());
        const QRect first = fixture.LinkBox(0);
        const QImage before = fixture.Screen();
        QVERIFY(HasColor(before, fixture.OnBackdrop(first), ToQColor(clBlue)));

        TPaintRecorder paints;
        fixture.Label->installEventFilter(&paints);
        // Qt drops a move to where the pointer already is: come from elsewhere.
        QTest::mouseMove(fixture.Label, QPoint(2, 2));
        QTest::mouseMove(fixture.Label, first.center());
        QTRY_VERIFY(!paints.Regions.isEmpty());
        QCOMPARE(paints.Regions.size(), 1);
        QCOMPARE(paints.Regions.first().boundingRect(), first);

        const QImage after = fixture.Screen();
        const QRect onScreen = fixture.OnBackdrop(first);
        QVERIFY(HasColor(after, onScreen, ToQColor(clPurple)));
        QVERIFY(!HasColor(after, onScreen, ToQColor(clBlue)));
        // Between the glyphs the link's background is what lay behind it before.
        QVERIFY(HasColor(after, onScreen, behind));
        // Everything outside the link is untouched.
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (!onScreen.contains(x, y) && before.pixel(x, y) != after.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 changed").arg(x).arg(y)));

        // Back to normal when the pointer leaves the link.
        QTest::mouseMove(fixture.Label, QPoint(1, 1));
        QTRY_VERIFY(!HasColor(fixture.Screen(), onScreen, ToQColor(clPurple)));
        QVERIFY(HasColor(fixture.Screen(), onScreen, ToQColor(clBlue)));
    }

    void placement_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("top");
        const int lh = LineHeight();
        // A 60-pixel label with margins of 4 (left, right) and 3 (top, bottom).
        QTest::newRow("top") << int(tlTop) << "CAT" << 3;
        QTest::newRow("centre") << int(tlCenter) << "CAT" << 3 + (54 - lh) / 2;
        QTest::newRow("bottom") << int(tlBottom) << "CAT" << 57 - lh;
        QTest::newRow("bottom, text taller than the label, stays below the margin")
            << int(tlBottom) << "a<p>b<p>c<p>d" << 3;
    }
    void placement()
    {
        QFETCH(int, layout);
        QFETCH(QString, caption);
        QFETCH(int, top);
        TLabelOnBackdrop fixture(caption);
        TLinkLabel& label = *fixture.Label;
        label.SetAutoHeight(false);
        label.resize(200, 60);
        label.SetMarginWidth(4);
        label.SetMarginHeight(3);
        label.SetLayout(static_cast<TTextLayout>(layout));
        QVERIFY(fixture.Settle());
        QTRY_COMPARE(label.Origin(), QPoint(4, top));
        QCOMPARE(label.height(), 60);
    }

    void background()
    {
        TLabelOnBackdrop fixture(QStringLiteral("CAT"));
        QVERIFY(fixture.Settle());
        const QPoint blank(200, 5);
        QCOMPARE(fixture.Backdrop.grab().toImage().pixelColor(fixture.Label->pos() + blank), kBackdropColor);
        fixture.Label->SetTransparent(false);
        fixture.Label->SetColor(clInfoBk);
        QCOMPARE(fixture.Backdrop.grab().toImage().pixelColor(fixture.Label->pos() + blank), ToQColor(clInfoBk));
        // The text itself is drawn in the font colour.
        fixture.Label->SetFontColor(clRed);
        fixture.Label->SetLinkStyle(TFontStyles{});
        QVERIFY(HasColor(fixture.Shown(), QRect(0, 0, 40, LineHeight()), ToQColor(clRed)));
    }

    void dynamicParts()
    {
        TLabelOnBackdrop fixture;
        TLinkLabel& label = *fixture.Label;
        QList<int> asked;
        label.OnDynamicTagInit = [&](TObject*, QString& source, int number) {
            QVERIFY(source.isEmpty());
            asked << number;
            source = number == 0 ? QStringLiteral("<b>n=0</b>") : QStringLiteral("<link=q>n=%1</link>").arg(number);
        };
        label.SetCaption("a<dynamic>b<dynamic>");
        QCOMPARE(asked, (QList<int>{0, 1}));
        QCOMPARE(label.GetDynamicTagContents(0), QStringLiteral("n=0"));
        QCOMPARE(label.GetDynamicTagContents(1), QStringLiteral("n=1"));
        QVERIFY(fixture.Settle());

        // Replacing a part while the pointer holds a link inside it.
        QTest::mouseMove(&label, QPoint(2, 2));
        QTest::mouseMove(&label, fixture.LinkBox(0).center());
        QCOMPARE(fixture.Link(0)->State(), lsHot);
        label.UpdateDynamicTag(1, QStringLiteral("<i>neuf</i>"));
        QVERIFY(!label.ActiveLinkNode());
        QCOMPARE(label.GetDynamicTagContents(1), QStringLiteral("neuf"));
        QCOMPARE(asked.size(), 2);
        QTest::mouseMove(&label, QPoint(1, 1));

        auto expectError = [](auto call, const char* message) {
            try {
                call();
                QFAIL("no error");
            } catch (const ELinkLabelError& e) {
                QCOMPARE(QString::fromUtf8(e.what()), QString::fromUtf8(message));
            }
        };
        expectError([&] { label.UpdateDynamicTag(7, "x"); }, "TCustomLinkLabel.UpdateDynamicTag: Tag not found");
        expectError([&] { label.GetDynamicTagContents(2); }, "Unable to locate specified node");
        expectError([&] { label.GetDynamicTagContents(-1); }, "Unable to locate specified node");

        // Without a handler a part stays empty.
        label.OnDynamicTagInit = nullptr;
        label.SetCaption("x<dynamic>y");
        QCOMPARE(label.GetDynamicTagContents(0), QString());

        // A handler that fails lets its error through and leaves an empty label that still paints.
        label.OnDynamicTagInit = [](TObject*, QString&, int) { throw std::runtime_error("handler failed"); };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, label.SetCaption("a<dynamic>b"));
        QVERIFY(label.NodeTree().Root().Children().empty());
        QTRY_COMPARE(label.height(), LineHeight());
        QCOMPARE(FirstInkColumn(fixture.Shown(), kBackdropColor), -1);
    }

    // A handler of the dynamic parts may let events run while the caption is parsed (a message
    // box does): the label paints, takes the pointer and answers questions meanwhile.
    void handlerLettingEventsRun()
    {
        TLabelOnBackdrop fixture(QStringLiteral("<link=a>avant</link>"));
        QVERIFY(fixture.Settle());
        TLinkLabel& label = *fixture.Label;
        TPaintRecorder paints;
        label.installEventFilter(&paints);
        int children = -1;
        label.OnDynamicTagInit = [&](TObject*, QString& source, int) {
            label.update();
            QTest::mouseMove(&label, QPoint(3, 3));
            QCoreApplication::processEvents();
            children = static_cast<int>(label.NodeTree().Root().Children().size());
            source = QStringLiteral("<b>milieu</b>");
        };
        label.SetCaption(QStringLiteral("a<dynamic>b"));
        QVERIFY(!paints.Regions.isEmpty());
        QCOMPARE(children, 0);  // the old tree is gone, the new one not there yet
        QCOMPARE(label.NodeTree().Root().GetText(), QStringLiteral("amilieub"));
        QCOMPARE(label.GetDynamicTagContents(0), QStringLiteral("milieu"));
    }

    void widthsFollowTheFontAndLinkStyle()
    {
        TLabelOnBackdrop fixture(QStringLiteral("Caryotype <link=x>Echographie</link>"));
        QVERIFY(fixture.Settle());
        TLinkLabel& label = *fixture.Label;
        const TRootNode& root = label.NodeTree().Root();
        auto wordWidth = [&](int child) {
            const TNode* node = root.Children().at(child);
            if (auto* link = dynamic_cast<const TLinkNode*>(node))
                node = link->Children().at(0);
            const auto* text = static_cast<const TStringNode*>(node);
            // Nothing is measured between a change and the next paint.
            return text->WordInfoCount() > 0 ? text->GetWordInfo(0).Width : -1;
        };
        QFont bold = LabelFont();
        bold.setBold(true);
        QFont underlinedBold = bold;
        underlinedBold.setUnderline(true);
        QCOMPARE(wordWidth(0), QFontMetrics(LabelFont()).horizontalAdvance("Caryotype "));

        label.setFont(bold);
        QVERIFY(root.Styles().Contains(fsBold));
        QTRY_COMPARE(wordWidth(0), QFontMetrics(bold).horizontalAdvance("Caryotype "));
        QCOMPARE(wordWidth(1), QFontMetrics(underlinedBold).horizontalAdvance("Echographie"));

        label.SetLinkStyle(TFontStyles{fsItalic});
        QFont italicBold = bold;
        italicBold.setItalic(true);
        QTRY_COMPARE(wordWidth(1), QFontMetrics(italicBold).horizontalAdvance("Echographie"));
    }
};

QTEST_MAIN(TestLinkLabelWidget)
#include "tst_linklabelwidget.moc"
