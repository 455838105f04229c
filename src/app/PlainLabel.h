#pragma once
// The plain label of the result panels: one line of text, left-aligned, as high as one line of its
// font, cut off at its right edge; an "&" marks an accelerator letter. It has no background of its
// own, so the panel behind it shows through. Pointer enter and leave and a click are reported to the
// owner, which decides what they mean.

#include "Colors.h"
#include "Events.h"
#include "ExGraphicControl.h"

#include <QHash>
#include <QStaticText>
#include <QString>

class TLabel : public TExGraphicControl
{
    Q_OBJECT

public:
    explicit TLabel(QWidget* owner = nullptr);

    QString Caption() const { return FCaption; }
    // The same caption again does nothing.
    void SetCaption(const QString& caption);
    // The colour of the text (a QFont has none).
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor color);
    // A text the label keeps for its owner; the label itself never shows it.
    QString Hint() const { return FHint; }
    void SetHint(const QString& hint) { FHint = hint; }

    // A left-button press and release both over the label.
    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FitHeightToFont();

    QString FCaption;
    // Captions laid out for drawing in the current font.
    QHash<QString, QStaticText> FLines;
    QString FHint;
    TColor FFontColor = clWindowText;
    bool FPressed = false;
};
