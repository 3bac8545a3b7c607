#pragma once
// The frame's plain rules: how the tree pane follows a change of the frame's width, and the title.
#include <string>

namespace Orvane::Orvanedock {

// The tree pane's width at start; shrinking the frame stops moving the bar at or below it.
inline constexpr int kTreePaneWidth = 230;

struct SplitterState {
    int position;
    // The client width the last move was measured from; -1 before the first size.
    int lastWidth;
};

// The bar after the frame's client area became width wide: the tree pane takes the whole change,
// so the right pane keeps its width. The position never goes below 0.
SplitterState ResizeSplitter(SplitterState state, int width);

// "Orvanedock", or "Orvanedock - name" for a node; of any length.
std::wstring FrameTitle(const std::wstring& program, const std::wstring* nodeName);

}
