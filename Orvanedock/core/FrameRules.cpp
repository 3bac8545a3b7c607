#include "FrameRules.h"

namespace Orvane::Orvanedock {

SplitterState ResizeSplitter(SplitterState state, int width)
{
    if (state.lastWidth == -1)
        return SplitterState{state.position, width};
    const int change = width - state.lastWidth;
    if (state.position > kTreePaneWidth || change > 0) {
        int position = state.position + change;
        return SplitterState{position < 0 ? 0 : position, width};
    }
    return state;
}

std::wstring FrameTitle(const std::wstring& program, const std::wstring* nodeName)
{
    if (!nodeName)
        return program;
    return program + L" - " + *nodeName;
}

}
