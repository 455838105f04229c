#include "LinkLabelTextHandler.h"

namespace {

constexpr QChar kSpace = u' ';

bool StartsWithSpace(const QString& text)
{
    return !text.isEmpty() && text.front() == kSpace;
}

bool EndsWithSpace(const QString& text)
{
    return !text.isEmpty() && text.back() == kSpace;
}

QString WithoutTrailingBlanks(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == kSpace)
        --end;
    text.truncate(end);
    return text;
}

} // namespace

qsizetype TWordEnumerator::WordEnd() const
{
    const qsizetype space = FText.indexOf(kSpace, FPos);
    return space < 0 ? FText.size() : space + 1;
}

QString TWordEnumerator::PeekNext() const
{
    if (!HasNext())
        throw ETextHandlerError("TWordEnumerator.GetNext: No more words to return");
    return FText.mid(FPos, WordEnd() - FPos);
}

QString TWordEnumerator::PopNext()
{
    QString word = PeekNext();
    FPos += word.size();
    ++FCount;
    return word;
}

TTextHandler::TTextHandler(TLinkLabelCanvas& canvas, const TRect& rect, QPoint origin, QPoint pen)
    : FCanvas(canvas)
    , FRect(rect)
    , FOrigin(origin)
    , FPenX(pen.x())
    , FPenY(pen.y())
    , FLineHeight(canvas.LineHeight())
{
}

QPoint TTextHandler::PenPos() const
{
    return {ClampCoord(FPenX), ClampCoord(FPenY)};
}

int TTextHandler::GetTextHeight() const
{
    return ClampCoord(FPenY + FLineHeight);
}

void TTextHandler::AddStartingPosObserver(IStartingPosObserver& observer, TAreaNode& node)
{
    FPendingObservers.emplace_back(&observer, &node);
}

void TTextHandler::TextOut(TStringNode& node, TFontStyles styles, TColor color)
{
    // A space ends the word that runs through the buffer: what waits there can be laid out.
    if (StartsWithSpace(node.Text()))
        EmptyBuffer();
    auto element = std::make_unique<TStringTextElement>(node, styles, color);
    element->Observers.swap(FPendingObservers);
    FBuffer.push_back(std::move(element));
    if (EndsWithSpace(node.Text()))
        EmptyBuffer();
}

void TTextHandler::DoLineBreak()
{
    FBuffer.push_back(std::make_unique<TBreakTextElement>(atLineBreak));
    EmptyBuffer();
}

void TTextHandler::DoParagraphBreak()
{
    FBuffer.push_back(std::make_unique<TBreakTextElement>(atParagraphBreak));
    EmptyBuffer();
}

TStringTextElement* TTextHandler::StringAt(std::size_t index) const
{
    return index < FBuffer.size() ? dynamic_cast<TStringTextElement*>(FBuffer[index].get()) : nullptr;
}

void TTextHandler::EmptyBuffer()
{
    try {
        for (std::size_t i = 0; i < FBuffer.size(); ++i)
            if (TStringTextElement* s = StringAt(i))
                s->Node.SetFirstWordWidthRetrieved(false);
        for (std::size_t i = 0; i < FBuffer.size(); ++i) {
            if (StringAt(i))
                LayOutString(i);
            else if (auto* br = dynamic_cast<TBreakTextElement*>(FBuffer[i].get()))
                NewLine(br->Action == atParagraphBreak ? 2 : 1);
            else
                throw ETextHandlerError("TTextHandler.EmptyBuffer: Unsupported TParentTextElement descendant encountered");
        }
    } catch (...) {
        FBuffer.clear();
        throw;
    }
    FBuffer.clear();
}

void TTextHandler::NewLine(int lines)
{
    FPenX = 0;
    FPenY += static_cast<long long>(lines) * FLineHeight;
}

void TTextHandler::Measure(TStringNode& node, TFontStyles styles)
{
    if (node.WordInfoRetrieved())
        return;
    node.ClearWordInfo();
    const int spaceWidth = FCanvas.TextWidth(QString(kSpace), styles);
    TWordEnumerator words(node.Text());
    while (words.HasNext()) {
        const QString word = words.PopNext();
        TWordInfo info;
        info.Width = FCanvas.TextWidth(word, styles);
        info.LastWordEndsWithSpace = EndsWithSpace(word);
        info.SpaceWidth = spaceWidth;
        node.AddWordInfo(info);
    }
    node.SetWordInfoRetrieved(true);
}

void TTextHandler::DrawPiece(const TStringTextElement& element, const QString& piece, long long width, bool trimmed)
{
    if (piece.isEmpty())
        return;
    const QString text = trimmed ? WithoutTrailingBlanks(piece) : piece;
    if (!text.isEmpty())
        FCanvas.DrawText(ClampCoord(FOrigin.x() + FPenX), ClampCoord(FOrigin.y() + FPenY), text, element.Styles,
                         element.Color);
    element.Node.AddRect(MakeRect(FPenX, FPenY, FPenX + width, FPenY + FLineHeight));
}

void TTextHandler::LayOutString(std::size_t index)
{
    TStringTextElement& element = *StringAt(index);
    TStringNode& node = element.Node;
    node.ClearRects();
    Measure(node, element.Styles);
    for (auto [observer, area] : element.Observers)
        observer->StartingPosition(PenPos().x(), PenPos().y(), *area);
    element.Observers.clear();

    // The very first word of the text never wraps: it would leave the first line empty.
    const bool atTopLeft = FOrigin.x() + FPenX == FRect.Left && FOrigin.y() + FPenY == FRect.Top;
    // This string's first word was measured with the end of the string before it.
    const bool firstCounted = node.FirstWordWidthRetrieved();

    TWordEnumerator words(node.Text());
    QString piece;
    long long pieceWidth = 0; // what the wrap test weighs, glued words included
    long long drawnWidth = 0; // what the piece itself covers
    for (int k = 0; words.HasNext(); ++k) {
        const QString word = words.PopNext();
        const TWordInfo& info = node.GetWordInfo(k);
        const bool first = k == 0;
        const bool last = !words.HasNext();
        const bool countedBefore = first && firstCounted;

        long long width = info.Width;
        TSpaceInfo end = info;
        if (last && !countedBefore) {
            // The word runs on into the following strings: weigh it as a whole, up to the
            // first of them that has a word boundary of its own.
            const QString* before = &node.Text();
            for (std::size_t j = index + 1; j < FBuffer.size(); ++j) {
                TStringTextElement* next = StringAt(j);
                if (!next)
                    break;
                const QString& text = next->Node.Text();
                if (EndsWithSpace(*before) || StartsWithSpace(text) || before->isEmpty() || text.isEmpty())
                    break;
                Measure(next->Node, next->Styles);
                const TWordInfo& glued = next->Node.GetWordInfo(0);
                width += glued.Width;
                end = glued;
                next->Node.SetFirstWordWidthRetrieved(true);
                if (next->Node.WordInfoCount() > 1)
                    break;
                before = &text;
            }
        }
        if (!countedBefore)
            pieceWidth += width;

        const long long tested = pieceWidth - (end.LastWordEndsWithSpace ? end.SpaceWidth : 0);
        const bool wrap = tested + FPenX + FOrigin.x() >= FRect.Right && word != QString(kSpace)
                          && !(first && atTopLeft) && !countedBefore;
        if (wrap) {
            DrawPiece(element, piece, drawnWidth, true);
            NewLine(1);
            piece.clear();
            drawnWidth = 0;
            pieceWidth = width;
        } else if (countedBefore && !last) {
            pieceWidth += info.Width;
        }
        piece += word;
        drawnWidth += info.Width;
    }
    DrawPiece(element, piece, drawnWidth, false);
    FPenX += drawnWidth;
}
