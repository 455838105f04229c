// Arbitrary bytes as a caption: parsed, laid out at a few widths, drawn with the real font, the
// link under a few points drawn by itself, a dynamic part replaced, and the same text through
// the label widget with pointer events. Malformed mark-up is never an error, so any exception
// that escapes is a finding, and so is a broken invariant of the layout.

#include "LinkLabel.h"
#include "LinkLabelParser.h"
#include "LinkLabelRenderer.h"
#include "LinkLabelTextHandler.h"
#include "LinkLabelTree.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace {

// Fixed widths: every character 7 pixels, 9 in bold; lines 10 pixels high.
class TFixedCanvas final : public TLinkLabelCanvas
{
public:
    int TextWidth(const QString& text, TFontStyles styles) override
    {
        return static_cast<int>(text.size()) * (styles.Contains(fsBold) ? 9 : 7);
    }
    int LineHeight() override { return 10; }
    void DrawText(int, int, const QString&, TFontStyles, TColor) override { ++Pieces; }
    long long Pieces = 0;
};

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "link label fuzz: %s\n", what);
    std::abort();
}

void Check(bool condition, const char* what)
{
    if (!condition)
        Fail(what);
}

// Hands out the input's own text (from its middle) for the first few dynamic parts.
class TEchoHandler final : public IDynamicNodeHandler
{
public:
    explicit TEchoHandler(const QString& text) : FText(text.mid(text.size() / 2)) {}
    QString GetDynamicNodeSource(TDynamicNode&) override { return FAsked++ < 3 ? FText : QString(); }

private:
    QString FText;
    int FAsked = 0;
};

long long CountWords(const TRootNode& root)
{
    long long words = 0;
    TTopLevelNodeEnumerator strings(root, ntStringNode);
    while (strings.HasNext()) {
        TWordEnumerator w(static_cast<TStringNode*>(strings.GetNext())->Text());
        while (w.HasNext()) {
            w.PopNext();
            ++words;
        }
    }
    return words;
}

void LayOut(TNodeTree& tree, int width)
{
    TFixedCanvas canvas;
    TDefaultRenderer renderer;
    renderer.RenderTree(canvas, TRect{0, 0, width, 100000}, tree);
    // Every piece holds at least one word, and the text is at least one line high.
    Check(canvas.Pieces <= CountWords(tree.Root()), "more pieces than words");
    Check(renderer.GetTextHeight() >= canvas.LineHeight(), "text lower than one line");
    // Each link drawn by itself, hot.
    TTopLevelNodeEnumerator links(tree.Root(), ntLinkNode);
    for (int i = 0; links.HasNext() && i < 8; ++i) {
        auto* link = static_cast<TLinkNode*>(links.GetNext());
        link->SetState(lsHot);
        renderer.RenderNode(canvas, TRect{0, 0, width, 100000}, *link);
        link->SetState(lsNormal);
        (void)link->GetText();
    }
    for (QPoint p : {QPoint(0, 0), QPoint(width / 2, 5), QPoint(3, 15), QPoint(width - 1, 25)})
        if (tree.Root().IsPointInNodeClass(p, ntLinkNode))
            (void)tree.Root().GetNodeAtPointOfClass(p, ntLinkNode);
}

void DrawWithFont(TNodeTree& tree)
{
    static const QFont font = [] {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(12);
        return f;
    }();
    QImage image(260, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    TPainterCanvas canvas(painter, font);
    TDefaultRenderer renderer;
    renderer.RenderTree(canvas, TRect{0, 0, 259, 59}, tree);
}

void ThroughTheLabel(const QString& text)
{
    TLinkLabel label;
    label.resize(259, 17);
    label.SetHotLinks(true);
    label.SetTransparent(text.size() % 2 == 0);
    label.OnDynamicTagInit = [&](TObject*, QString& source, int number) {
        if (number < 2)
            source = text.left(40);
    };
    label.SetCaption(text);
    QImage image(259, 200, QImage::Format_ARGB32_Premultiplied);
    label.render(&image);
    label.render(&image); // the height may have followed the text on the first paint
    const QPoint points[] = {{1, 1}, {30, 5}, {120, 20}, {5, 35}};
    for (QPoint p : points) {
        QMouseEvent move(QEvent::MouseMove, p, label.mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&label, &move);
        QMouseEvent press(QEvent::MouseButtonPress, p, label.mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&label, &press);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(30, 5), label.mapToGlobal(QPointF(30, 5)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&label, &release);
    try {
        label.UpdateDynamicTag(0, text.right(40));
    } catch (const ELinkLabelError&) {
        // No such part in this caption: the documented answer.
    }
    label.render(&image);
}

} // namespace

// The application lives until the process ends, and with it the font configuration it loaded:
// what fontconfig holds at exit is Qt's cache, not a leak of the code under test.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_linklabel";
    static char* argv[] = {name, nullptr};
    // Made once and never destroyed: tearing Qt down among the exit handlers crashes inside Qt.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 8192)
        return 0;
    // The first byte chooses how the rest reads: UTF-16 when odd, else UTF-8.
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<qsizetype>(size - 1);
    const QString text = (data[0] & 1) != 0
                             ? QString::fromUtf16(reinterpret_cast<const char16_t*>(QByteArray(bytes, length).constData()),
                                                  length / 2)
                             : QString::fromUtf8(bytes, length);
    try {
        TLinkNode::ResetNumbering();
        TDynamicNode::ResetNumbering();
        TEchoHandler handler(text);
        TDefaultParser parser;
        parser.SetDynamicNodeHandler(&handler);
        std::unique_ptr<TNodeTree> tree = parser.Parse(text);

        // A text without "<" is one string with the pairs CR LF removed and the entities replaced.
        if (!text.contains(u'<') && !text.isEmpty()) {
            QString expected = text;
            expected.remove(QLatin1String("\r\n"));
            expected = ReplaceEntities(expected);
            const auto& children = tree->Root().Children();
            Check(expected.isEmpty() ? children.empty() : children.size() == 1, "plain text is not one node");
            Check(tree->Root().GetText() == expected, "plain text changed");
        }

        for (int width : {1, 37, 259})
            LayOut(*tree, width);
        DrawWithFont(*tree);

        TTopLevelNodeEnumerator parts(tree->Root(), ntDynamicNode);
        if (parts.HasNext()) {
            auto* part = static_cast<TDynamicNode*>(parts.GetNext());
            part->DestroyChildren();
            TDefaultParser().AddSourceTreeToDynamicNode(*part, text.left(64));
            LayOut(*tree, 259);
        }

        ThroughTheLabel(text);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "escaped: %s\n", e.what());
        Fail("an exception escaped");
    } catch (...) {
        Fail("an unknown exception escaped");
    }
    return 0;
}
