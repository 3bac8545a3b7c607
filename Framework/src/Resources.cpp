#include "Framework/Resources.h"

#include "Framework/Module.h"

namespace Framework {

namespace {

HINSTANCE ResourceInstance(HINSTANCE instance)
{
    return instance ? instance : Module().GetResourceInstance();
}

}

std::wstring LoadResourceString(UINT id, HINSTANCE instance)
{
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself.
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(ResourceInstance(instance), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::wstring();
    return std::wstring(text, static_cast<size_t>(length));
}

HICON LoadIconOfSize(UINT id, int widthMetric, int heightMetric, HINSTANCE instance)
{
    return static_cast<HICON>(::LoadImageW(ResourceInstance(instance), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric), 0));
}

}
