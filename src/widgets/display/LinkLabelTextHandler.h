#pragma once
// Lays text out in a rectangle: strings arrive one at a time with their styles and colour,
// wrap at word boundaries and are drawn on a canvas; line and paragraph breaks move the pen.
// Strings that follow one another without a space between them are measured as one word, so
// that "<b>bold</b>plain" never breaks between the two styles.

#include "Align.h"
#include "Colors.h"
#include "LinkLabelTools.h"
#include "LinkLabelTree.h"

#include <QPoint>
#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

class ETextHandlerError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Cuts a text into words: each word ends just after a space, or at the end of the text. "a  b"
// has three words: "a ", " " and "b".
class IWordEnumerator
{
public:
    virtual ~IWordEnumerator() = default;
    virtual QString PopNext() = 0;
    virtual QString PeekNext() const = 0;
    virtual bool HasNext() const = 0;
    virtual void Reset() = 0;
    // Words taken so far.
    virtual int Count() const = 0;
};

class TWordEnumerator final : public IWordEnumerator
{
public:
    explicit TWordEnumerator(QString text) : FText(std::move(text)) {}

    QString PopNext() override;
    QString PeekNext() const override;
    bool HasNext() const override { return FPos < FText.size(); }
    void Reset() override
    {
        FPos = 0;
        FCount = 0;
    }
    int Count() const override { return FCount; }

private:
    qsizetype WordEnd() const;

    QString FText;
    qsizetype FPos = 0;
    int FCount = 0;
};

// Told where an area's first string starts once that string has been laid out.
class IStartingPosObserver
{
public:
    virtual ~IStartingPosObserver() = default;
    virtual void StartingPosition(int x, int y, TAreaNode& node) = 0;
};

class ITextHandler
{
public:
    virtual ~ITextHandler() = default;
    virtual void TextOut(TStringNode& node, TFontStyles styles, TColor color) = 0;
    virtual void DoLineBreak() = 0;
    virtual void DoParagraphBreak() = 0;
    virtual void EmptyBuffer() = 0;
    // The pen's vertical position plus one line height.
    virtual int GetTextHeight() const = 0;
    // Whether the pen stands where the next text will start (nothing waits in the buffer).
    virtual bool IsPosCurrent() const = 0;
    // The pen, relative to the origin.
    virtual QPoint PenPos() const = 0;
    // Reports to `observer` where the next string handed in starts, once it is laid out.
    virtual void AddStartingPosObserver(IStartingPosObserver& observer, TAreaNode& node) = 0;
};

// The elements waiting in the buffer.
class TParentTextElement
{
public:
    virtual ~TParentTextElement() = default;
};

class TStringTextElement final : public TParentTextElement
{
public:
    TStringTextElement(TStringNode& node, TFontStyles styles, TColor color)
        : Node(node), Styles(styles), Color(color)
    {
    }
    TStringNode& Node;
    TFontStyles Styles;
    TColor Color;
    std::vector<std::pair<IStartingPosObserver*, TAreaNode*>> Observers;
};

class TBreakTextElement final : public TParentTextElement
{
public:
    explicit TBreakTextElement(TActionType action) : Action(action) {}
    TActionType Action;
};

class TTextHandler : public ITextHandler
{
public:
    // Lays out within `rect`. The pen starts at `pen`, relative to `origin`; text is drawn at
    // origin + pen, and a new line starts at origin.x.
    TTextHandler(TLinkLabelCanvas& canvas, const TRect& rect, QPoint origin, QPoint pen);

    void TextOut(TStringNode& node, TFontStyles styles, TColor color) override;
    void DoLineBreak() override;
    void DoParagraphBreak() override;
    void EmptyBuffer() override;
    int GetTextHeight() const override;
    bool IsPosCurrent() const override { return FBuffer.empty(); }
    QPoint PenPos() const override;
    void AddStartingPosObserver(IStartingPosObserver& observer, TAreaNode& node) override;

    int LineHeight() const { return FLineHeight; }

protected:
    void AddToBuffer(std::unique_ptr<TParentTextElement> element) { FBuffer.push_back(std::move(element)); }

private:
    void LayOutString(std::size_t index);
    // Measures the words of a string node once; later drawings reuse the widths.
    void Measure(TStringNode& node, TFontStyles styles);
    TStringTextElement* StringAt(std::size_t index) const;
    void DrawPiece(const TStringTextElement& element, const QString& piece, long long width, bool trimmed);
    void NewLine(int lines);

    TLinkLabelCanvas& FCanvas;
    TRect FRect;
    QPoint FOrigin;
    long long FPenX = 0;
    long long FPenY = 0;
    int FLineHeight = 0;
    std::vector<std::unique_ptr<TParentTextElement>> FBuffer;
    std::vector<std::pair<IStartingPosObserver*, TAreaNode*>> FPendingObservers;
};
