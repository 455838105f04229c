#include "FixedWidthCanvas.h"
#include "LinkLabelParser.h"
#include "LinkLabelRenderer.h"
#include "LinkLabelTextHandler.h"
#include "LinkLabelTree.h"

#include <QtTest>
#include <functional>

namespace {

QString DumpElements(const QString& text)
{
    TElementEnumerator elements(text);
    QStringList parts;
    while (!elements.IsEndReached()) {
        const TElement e = elements.PopNextElement();
        const char* kind = e.Kind == ekBeginTag ? "B" : e.Kind == ekEndTag ? "E" : "S";
        parts << QStringLiteral("%1:%2").arg(QLatin1String(kind), e.Text);
    }
    return parts.join(u'|');
}

QString Dump(const TNode& node);

QString DumpChildren(const TParentNode& node)
{
    QStringList parts;
    for (const TNode* child : node.Children())
        parts << Dump(*child);
    return parts.join(u' ');
}

// A compact picture of a tree: "text", b{...}, c(ff){...}, link<number,param>{...},
// dyn<number>{...}, br, p, ?(unknown tag).
QString Dump(const TNode& node)
{
    if (auto* s = dynamic_cast<const TStringNode*>(&node))
        return u'"' + s->Text() + u'"';
    if (auto* a = dynamic_cast<const TActionNode*>(&node))
        return a->Action() == atLineBreak ? QStringLiteral("br") : QStringLiteral("p");
    if (auto* u = dynamic_cast<const TUnknownNode*>(&node))
        return QStringLiteral("?(%1)").arg(u->Text());
    QString head;
    if (auto* st = dynamic_cast<const TStyleNode*>(&node))
        head = st->Style() == fsBold ? "b" : st->Style() == fsItalic ? "i" : "u";
    else if (auto* c = dynamic_cast<const TColorNode*>(&node))
        head = QStringLiteral("c(%1)").arg(c->TextColor(), 0, 16);
    else if (auto* l = dynamic_cast<const TLinkNode*>(&node))
        head = QStringLiteral("link<%1,%2>").arg(l->Number()).arg(l->GetParam());
    else if (auto* d = dynamic_cast<const TDynamicNode*>(&node))
        head = QStringLiteral("dyn<%1>").arg(d->Number());
    return head + u'{' + DumpChildren(static_cast<const TParentNode&>(node)) + u'}';
}

std::unique_ptr<TNodeTree> ParseFresh(const QString& text, IDynamicNodeHandler* handler = nullptr)
{
    TLinkNode::ResetNumbering();
    TDynamicNode::ResetNumbering();
    TDefaultParser parser;
    parser.SetDynamicNodeHandler(handler);
    return parser.Parse(text);
}

class TScriptedHandler final : public IDynamicNodeHandler
{
public:
    std::function<QString(int)> Source;
    QList<int> Asked;
    QString GetDynamicNodeSource(TDynamicNode& node) override
    {
        Asked << node.Number();
        return Source(node.Number());
    }
};

// Lays out `text` with the fixed-width canvas in a rectangle `width` pixels wide.
struct TLayout {
    std::unique_ptr<TNodeTree> Tree;
    TFixedWidthCanvas Canvas;
    TDefaultRenderer Renderer;
    TRect Rect;

    TLayout(const QString& text, int width, QPoint at = {0, 0})
        : Tree(ParseFresh(text))
        , Rect{at.x(), at.y(), at.x() + width, at.y() + 1000}
    {
        Tree->Root().SetColor(clBlack);
        Renderer.RenderTree(Canvas, Rect, *Tree);
    }
};

template <typename Error, typename Call>
void ExpectError(Call call, const char* message)
{
    try {
        call();
        QFAIL(qPrintable(QStringLiteral("no error, expected \"%1\"").arg(QLatin1String(message))));
    } catch (const Error& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QString::fromUtf8(message));
    }
}

// A string node of a class the tree does not know.
class TOwnStringNode final : public TStringNode
{
public:
    using TStringNode::TStringNode;
};

class TForeignElement final : public TParentTextElement
{
};

class TOpenTextHandler final : public TTextHandler
{
public:
    using TTextHandler::AddToBuffer;
    using TTextHandler::TTextHandler;
};

} // namespace

class TestLinkLabelEngine : public QObject
{
    Q_OBJECT

private slots:
    void elements_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("elements");
        QTest::newRow("plain text") << "Caryotype" << "S:Caryotype";
        QTest::newRow("begin and end tags") << "a<b>c</b>d" << "S:a|B:b|S:c|E:b|S:d";
        QTest::newRow("CR LF pairs go, lone CR and LF stay") << "a\r\nb\rc\nd\r\n" << "S:ab\rc\nd";
        QTest::newRow("unclosed tag lacks the last character") << "x<link=abc" << "S:x|B:link=ab";
        QTest::newRow("unclosed end tag") << "x</bold" << "S:x|E:bol";
        QTest::newRow("lone < at the end") << "a<" << "S:a|B:";
        QTest::newRow("empty tags") << "<></>" << "B:|E:";
        QTest::newRow("> outside a tag is text") << "a>b<i>" << "S:a>b|B:i";
    }
    void elements()
    {
        QFETCH(QString, text);
        QFETCH(QString, elements);
        QCOMPARE(DumpElements(text), elements);
    }

    void elementsPastTheEnd()
    {
        TElementEnumerator elements("<b>");
        QCOMPARE(elements.PeekNextElement(), (TElement{ekBeginTag, "b"}));
        elements.PopNextElement();
        QVERIFY(elements.IsEndReached());
        const char* message = "TElementEnumerator.GetNextElement: No more elements to return";
        ExpectError<EParserError>([&] { elements.PeekNextElement(); }, message);
        ExpectError<EParserError>([&] { elements.PopNextElement(); }, message);
    }

    void tree_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tree");
        QTest::newRow("plain caption") << "Vérifiez l'âge gestationnel+++" << "\"Vérifiez l'âge gestationnel+++\"";
        QTest::newRow("tag names ignore case") << "<B>a</b><i>b</I><U>c</u>" << "b{\"a\"} i{\"b\"} u{\"c\"}";
        QTest::newRow("colour and link match by prefix, parameters keep case")
            << "<COLORx=clRed>a</x><LinkTo=Page1>b</>" << "c(ff){\"a\"} link<0,Page1>{\"b\"}";
        QTest::newRow("link without parameter") << "<link>a</link>" << "link<0,>{\"a\"}";
        QTest::newRow("any end tag closes the innermost span")
            << "<b>a<i>b</b>c</i>d" << "b{\"a\" i{\"b\"} \"c\"} \"d\"";
        QTest::newRow("surplus end tag ends the caption") << "a</b>b<b>c" << "\"a\"";
        QTest::newRow("unknown tag is invisible, its end tag closes the span around it")
            << "<b>a<foo>b</foo>c</b>d" << "b{\"a\" ?(foo) \"b\"} \"c\"";
        QTest::newRow("tag with more than a name is unknown") << "<b x>a</b>b" << "?(b x) \"a\"";
        QTest::newRow("breaks enclose nothing") << "<b>a<br>b</b>c<P>d<bR>" << "b{\"a\" br \"b\"} \"c\" p \"d\" br";
        QTest::newRow("missing end tags run to the end") << "<b>a<i>b" << "b{\"a\" i{\"b\"}}";
        QTest::newRow("entities show a tag literally") << "&lt;b&gt;x&lt;/b&gt;" << "\"<b>x</b>\"";
        QTest::newRow("colour by name") << "<color=clBtnFace>a" << "c(ff00000f){\"a\"}";
        QTest::newRow("colour decimal") << "<color=255>a" << "c(ff){\"a\"}";
        QTest::newRow("colour hexadecimal") << "<color=$FF0000>a" << "c(ff0000){\"a\"}";
        QTest::newRow("colour that is none gives black") << "<color=bleu>a" << "c(0){\"a\"}";
        QTest::newRow("colour without parameter gives black") << "<color>a" << "c(0){\"a\"}";
        QTest::newRow("dynamic part without handler stays empty") << "a<dynamic>b</dynamic>c" << "\"a\" dyn<0>{} \"b\"";
    }
    void tree()
    {
        QFETCH(QString, text);
        QFETCH(QString, tree);
        QCOMPARE(DumpChildren(ParseFresh(text)->Root()), tree);
    }

    void dynamicPartsAndNumbering()
    {
        TScriptedHandler handler;
        handler.Source = [](int n) {
            return n == 0 ? QStringLiteral("<link=d>x</link><dynamic>") : QString();
        };
        const auto tree = ParseFresh("<link=a>A</link><dynamic><link=b>B</link><dynamic>", &handler);
        // Links and parts count on through the part's contents; the part's own parts are not
        // asked for, and an empty answer leaves a part empty.
        QCOMPARE(DumpChildren(tree->Root()),
                 QStringLiteral("link<0,a>{\"A\"} dyn<0>{link<1,d>{\"x\"} dyn<1>{}} link<2,b>{\"B\"} dyn<2>{}"));
        QCOMPARE(handler.Asked, (QList<int>{0, 2}));
        // The moved nodes belong to the tree they were moved into.
        TTopLevelNodeEnumerator links(tree->Root(), ntLinkNode);
        while (links.HasNext())
            QCOMPARE(links.GetNext()->RootNode(), &tree->Root());
    }

    void topLevelNodes()
    {
        const auto tree = ParseFresh("<link=a>x<link=b>y</link></link><b><link=c>z</link></b>");
        auto links = tree->Root().GetTopLevelNodeEnumerator(ntLinkNode);
        QStringList found;
        while (links->HasNext()) {
            auto* link = static_cast<TLinkNode*>(links->GetNext());
            found << link->GetParam() + u'=' + link->GetText();
        }
        QCOMPARE(found, (QStringList{"a=xy", "c=z"}));
        links->Reset();
        QVERIFY(links->HasNext());
    }

    void deepNestingIsFlattened()
    {
        const int depth = 20000;
        const QString text = QString("<b>").repeated(depth) + "x" + QString("</i>").repeated(depth) + "y<u>z";
        const auto tree = ParseFresh(text);
        int deepest = 0;
        TTopLevelNodeEnumerator strings(tree->Root(), ntStringNode);
        while (strings.HasNext())
            deepest = std::max(deepest, strings.GetNext()->Depth());
        QVERIFY(deepest <= TDefaultParser::kMaxSpanDepth + 1);
        // Every end tag still closes one span: "y" is back at the top level.
        QCOMPARE(tree->Root().GetText(), QStringLiteral("xyz"));
        QCOMPARE(Dump(*tree->Root().Children().at(1)), QStringLiteral("\"y\""));
        TFixedWidthCanvas canvas;
        TDefaultRenderer renderer;
        renderer.RenderTree(canvas, TRect{0, 0, 100, 100}, *tree);
        QCOMPARE(canvas.Pieces(), (QStringList{"0,0:x*", "12,0:y", "22,0:z"}));
    }

    void layout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<int>("height");
        QTest::newRow("wraps at a space") << "aaa bbb ccc" << 75 << QStringList{"0,0:aaa bbb", "0,10:ccc"} << 20;
        QTest::newRow("text ending exactly at the width wraps") << "aaa bbb" << 70 << QStringList{"0,0:aaa", "0,10:bbb"} << 20;
        QTest::newRow("text ending short of the width stays") << "aaa bbb" << 71 << QStringList{"0,0:aaa bbb"} << 10;
        QTest::newRow("trailing space does not count") << "aaa bbb ccc" << 71 << QStringList{"0,0:aaa bbb", "0,10:ccc"} << 20;
        QTest::newRow("two spaces never wrap by themselves") << "aaa  bbb" << 40 << QStringList{"0,0:aaa", "0,10:bbb"} << 20;
        QTest::newRow("bold span glued to a plain word is one word")
            << "aa <b>bb</b>cc dd" << 70 << QStringList{"0,0:aa ", "0,10:bb*", "24,10:cc", "0,20:dd"} << 30;
        QTest::newRow("break inside a bold span")
            << "<b>aa<br>bb</b>cc" << 200 << QStringList{"0,0:aa*", "0,10:bb*", "24,10:cc"} << 20;
        QTest::newRow("too-wide first word opens the first line")
            << "aaaaaaaaaa bb" << 50 << QStringList{"0,0:aaaaaaaaaa", "0,10:bb"} << 20;
        QTest::newRow("too-wide word after a break comes after an empty line")
            << "x<br>aaaaaaaaaa bb" << 50 << QStringList{"0,0:x", "0,20:aaaaaaaaaa", "0,30:bb"} << 40;
        QTest::newRow("too-wide word in a line gets a line of its own")
            << "x aaaaaaaaaa bb" << 50 << QStringList{"0,0:x", "0,10:aaaaaaaaaa", "0,20:bb"} << 30;
        QTest::newRow("leading space is kept") << " Caryotype" << 200 << QStringList{"0,0: Caryotype"} << 10;
        QTest::newRow("paragraph break skips a line") << "a<p>b" << 200 << QStringList{"0,0:a", "0,20:b"} << 30;
        QTest::newRow("empty caption is one line high") << "" << 200 << QStringList{} << 10;
    }
    void layout()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QStringList, pieces);
        QFETCH(int, height);
        TLayout layout(text, width);
        QCOMPARE(layout.Canvas.Pieces(), pieces);
        QCOMPARE(layout.Renderer.GetTextHeight(), height);
    }

    void wordWidthsAreMeasuredOnce()
    {
        TLayout layout("Echographie, <b>Biométrie</b>, Dopplers", 120);
        QVERIFY(layout.Canvas.Measurements > 0);
        const QStringList first = layout.Canvas.Pieces();
        layout.Canvas = TFixedWidthCanvas();
        layout.Renderer.RenderTree(layout.Canvas, layout.Rect, *layout.Tree);
        QCOMPARE(layout.Canvas.Measurements, 0);
        QCOMPARE(layout.Canvas.Pieces(), first);
        layout.Tree->ClearWordInfo();
        layout.Renderer.RenderTree(layout.Canvas, layout.Rect, *layout.Tree);
        QVERIFY(layout.Canvas.Measurements > 0);
    }

    void linkRectanglesAndSingleLinkRedraw()
    {
        // Drawn with the rectangle's corner at (5, 7): "go " | "here " "now" (the link) | " end".
        TLayout layout("go <link=p>here now</link> end", 100, {5, 7});
        TRootNode& root = layout.Tree->Root();
        QCOMPARE(layout.Canvas.Pieces(), (QStringList{"5,7:go ", "35,7:here", "5,17:now", "35,17: end"}));
        QCOMPARE(root.StartingPoint, QPoint(5, 7));
        auto* link = static_cast<TLinkNode*>(root.GetNodeAtPointOfClass({31, 1}, ntLinkNode));
        QVERIFY(link);
        QCOMPARE(link->GetText(), QStringLiteral("here now"));
        QCOMPARE(link->StartingPoint, QPoint(30, 0));
        // Positions relative to the origin; the trailing space of "here " counts.
        QCOMPARE(root.LinkRects(), (std::vector<TRect>{{30, 0, 80, 10}, {0, 10, 30, 20}}));
        QVERIFY(root.IsPointInNodeClass({79, 9}, ntLinkNode));
        QVERIFY(!root.IsPointInNodeClass({80, 5}, ntLinkNode));
        QVERIFY(!root.IsPointInNodeClass({35, 15}, ntLinkNode));
        QVERIFY(!root.GetNodeAtPointOfClass({35, 15}, ntLinkNode));

        // A full drawing shows the link in the link colour whatever its state...
        layout.Renderer.SetLinkColorHot(clLime);
        link->SetState(lsHot);
        layout.Canvas = TFixedWidthCanvas();
        layout.Renderer.RenderTree(layout.Canvas, layout.Rect, *layout.Tree);
        QCOMPARE(layout.Canvas.Drawn.at(1).Color, clBlue);
        QVERIFY(layout.Canvas.Drawn.at(1).Styles.Contains(fsUnderline));
        // ...and drawing the link by itself puts it at the same place in its state's colour.
        layout.Canvas = TFixedWidthCanvas();
        layout.Renderer.RenderNode(layout.Canvas, layout.Rect, *link);
        QCOMPARE(layout.Canvas.Pieces(), (QStringList{"35,7:here", "5,17:now"}));
        for (const auto& drawn : layout.Canvas.Drawn)
            QCOMPARE(drawn.Color, clLime);
    }

    void errors()
    {
        TWordEnumerator words("a ");
        QCOMPARE(words.PopNext(), QStringLiteral("a "));
        QCOMPARE(words.Count(), 1);
        ExpectError<ETextHandlerError>([&] { words.PopNext(); }, "TWordEnumerator.GetNext: No more words to return");

        TRootNode root;
        ExpectError<ENodeError>([&] { root.GetTopLevelNodeEnumerator(ntLinkNode)->GetNext(); }, "No more nodes to return");
        ExpectError<ENodeError>([&] { root.GetRectEnumerator()->GetNext(); }, "No more records to return");

        TStringNode unmeasured("ab");
        ExpectError<ENodeError>([&] { unmeasured.GetWordInfo(0); }, "TStringNode.GetWordInfo: Index out of bounds");

        QCOMPARE(TLinkNode("x").GetNodeType(), ntLinkNode);
        QCOMPARE(root.GetNodeType(), ntRootNode);
        ExpectError<ENodeError>([&] { TOwnStringNode("x").GetNodeType(); }, "TNode.GetNodeType: Unknown class");

        TFixedWidthCanvas canvas;
        TOpenTextHandler handler(canvas, TRect{0, 0, 100, 100}, {0, 0}, {0, 0});
        handler.AddToBuffer(std::make_unique<TForeignElement>());
        ExpectError<ETextHandlerError>([&] { handler.EmptyBuffer(); },
                                       "TTextHandler.EmptyBuffer: Unsupported TParentTextElement descendant encountered");
        QVERIFY(handler.IsPosCurrent());
    }
};

QTEST_MAIN(TestLinkLabelEngine)
#include "tst_linklabelengine.moc"
