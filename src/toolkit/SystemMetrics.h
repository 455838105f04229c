#pragma once
// The desktop metrics the widgets are laid out with. The main window's stored layout was made
// for these values, so they are fixed here rather than read from the platform style.

namespace SystemMetrics {

// Height of a window caption (the caption panel's bar and the size of its buttons).
inline constexpr int kCaptionHeightPx = 23;
// Width of a fixed dialog frame and of a sizing frame, on each side.
inline constexpr int kDialogFrameWidthPx = 3;
inline constexpr int kSizingFrameWidthPx = 4;
// Width of a plain panel's sunken client edge.
inline constexpr int kClientEdgeWidthPx = 2;

} // namespace SystemMetrics
