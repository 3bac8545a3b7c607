#pragma once
// An image list owned for the life of the object (ImageList_Destroy).
#include "Framework/Handles.h"

#include <commctrl.h>

namespace Framework {

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::ImageList_Destroy(h); }
};
using ScopedImageList = ScopedResource<ImageListTraits>;

}
