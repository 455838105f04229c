#pragma once
// The desktop's horizontal slider: a range, a position limited to it, a change event raised only
// when the stored position really changes, tick marks, a highlighted band (SelStart to SelEnd)
// that only marks a range, and line and page steps for the keyboard.

#include "Events.h"

#include <QSlider>
#include <cstdint>

enum TTickStyle : std::uint8_t { tsNone, tsAuto, tsManual };

class TTrackBar : public QSlider
{
    Q_OBJECT

public:
    explicit TTrackBar(QWidget* parent = nullptr);

    int Min() const { return minimum(); }
    void SetMin(int min);
    int Max() const { return maximum(); }
    void SetMax(int max);
    int Position() const { return value(); }
    // Stores the position limited to [Min, Max]; OnChange runs only when it differs from the
    // stored one, synchronously, with the new position already stored.
    void SetPosition(int position);

    int SelStart() const { return FSelStart; }
    void SetSelStart(int position);
    int SelEnd() const { return FSelEnd; }
    void SetSelEnd(int position);
    // tsAuto: a tick every Frequency positions from Min, and at Max; tsManual: at the two ends.
    int Frequency() const { return FFrequency; }
    void SetFrequency(int frequency);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle style);
    int LineSize() const { return singleStep(); }
    void SetLineSize(int size) { setSingleStep(size); }
    int PageSize() const { return pageStep(); }
    void SetPageSize(int size) { setPageStep(size); }

    // The positions that carry a tick mark, from left to right.
    QList<int> TickPositions() const;
    // Horizontal centre of the thumb when it stands at `position`, in widget coordinates.
    int PositionToX(int position) const;
    // The channel the thumb runs in, and the band inside it (empty when SelEnd <= SelStart).
    QRect ChannelRect() const;
    QRect BandRect() const;

    TNotifyEvent OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int FSelStart = 0;
    int FSelEnd = 0;
    int FFrequency = 1;
    TTickStyle FTickStyle = tsAuto;
};
