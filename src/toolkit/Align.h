#pragma once
// Alignment of child controls: a child aligned to a side of its parent sticks to that side and
// takes the parent's full extent along it; a client-aligned child takes what is left. Margins
// keep a child away from its neighbours and from the parent's edges.

#include <QRect>
#include <cstdint>
#include <span>
#include <vector>

class QWidget;

enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

// A rectangle given by its edges; Right and Bottom lie just outside it.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    constexpr TRect Translated(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    // The Qt rectangle with the same pixels; an inverted rectangle gives an empty one.
    QRect ToQRect() const;
    static TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

// Coordinates are kept within this range so that odd input (a huge height, a negative width)
// yields odd geometry, never an integer overflow.
inline constexpr int kCoordLimit = 1 << 24;
int ClampCoord(long long value);
TRect MakeRect(long long left, long long top, long long right, long long bottom);

struct TMargins {
    int Left = 3;
    int Top = 3;
    int Right = 3;
    int Bottom = 3;
    friend constexpr bool operator==(const TMargins&, const TMargins&) = default;
};

struct TAlignItem {
    TAlign Align = alNone;
    TRect Bounds;            // current bounds in the parent's coordinates
    bool WithMargins = false;
    TMargins Margins;
    bool Visible = true;     // a hidden child takes no room and is not moved
};

// The new bounds of every item when aligned within `area`: top-aligned items stack downward in
// the order of their top edges, bottom-aligned ones upward from the bottom, then left- and
// right-aligned ones take the remaining height at the two sides, and client-aligned ones what is
// left. Ties keep the order of the items. Unaligned, custom-aligned and hidden items keep their
// bounds. A side-aligned item keeps its own height (top, bottom) or width (left, right).
std::vector<TRect> ComputeAlignment(const TRect& area, std::span<const TAlignItem> items);

// The alignment settings of any widget, kept with the widget itself.
TAlign GetAlign(const QWidget* widget);
// Stores the alignment and asks the parent to realign its children.
void SetAlign(QWidget* widget, TAlign align);
bool GetAlignWithMargins(const QWidget* widget);
TMargins GetMargins(const QWidget* widget);
// Switches margins on or off and sets them; the parent realigns.
void SetAlignWithMargins(QWidget* widget, bool on, TMargins margins = {});

// Places the direct, non-window children of `parent` within `area` (parent coordinates).
void AlignChildren(QWidget* parent, const TRect& area);
// Asks a parent to realign its children now: containers of the toolkit realign within their
// child area; any other widget is left alone (its owner calls AlignChildren itself).
void RequestRealign(QWidget* parent);
