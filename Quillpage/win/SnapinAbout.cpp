#include "SnapinAbout.h"

#include "resource.h"

#include <Framework/Module.h>

namespace Orvane::Quillon {

namespace {

// The colour MMC treats as transparent in the folder images: red 0, green 128, blue 128.
constexpr COLORREF kFolderImageMask = RGB(0, 128, 128);
// The task-memory block of each text and the characters it may hold with its terminator.
constexpr SIZE_T kTextBytes = 2048;
constexpr int kTextCharacters = 1024;

HBITMAP LoadBitmapOfSize(HINSTANCE instance, UINT id, int size) noexcept
{
    // Transparent loading turns the colour of the image's first pixel into the window colour.
    return static_cast<HBITMAP>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, size, size, LR_LOADTRANSPARENT));
}

}

CSnapinAbout::CSnapinAbout(HINSTANCE resources) noexcept
    : resources_(resources),
      smallImage_(LoadBitmapOfSize(resources, IDB_SNAPIN_SMALL, 16)),
      largeImage_(LoadBitmapOfSize(resources, IDB_SNAPIN_LARGE, 32)),
      smallOpenImage_(LoadBitmapOfSize(resources, IDB_SNAPIN_SMALL_OPEN, 16)),
      icon_(static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(IDI_SNAPIN), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)))
{
}

const Framework::InterfaceEntry* CSnapinAbout::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<CSnapinAbout, ISnapinAbout>(IID_ISnapinAbout),
        {nullptr, nullptr},
    };
    return table;
}

HRESULT CSnapinAbout::LoadText(UINT id, LPOLESTR* out) const noexcept
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    auto* text = static_cast<wchar_t*>(::CoTaskMemAlloc(kTextBytes));
    if (!text)
        return E_OUTOFMEMORY;
    text[0] = L'\0';
    // A missing string leaves the text empty.
    if (::LoadStringW(resources_, id, text, kTextCharacters) <= 0)
        text[0] = L'\0';
    *out = text;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSnapinAbout::GetSnapinDescription(LPOLESTR* description)
{
    return LoadText(IDS_SNAPIN_DESCRIPTION, description);
}

HRESULT STDMETHODCALLTYPE CSnapinAbout::GetProvider(LPOLESTR* name)
{
    return LoadText(IDS_PROVIDER, name);
}

HRESULT STDMETHODCALLTYPE CSnapinAbout::GetSnapinVersion(LPOLESTR* version)
{
    return LoadText(IDS_SNAPIN_VERSION, version);
}

HRESULT STDMETHODCALLTYPE CSnapinAbout::GetSnapinImage(HICON* icon)
{
    if (!icon)
        return E_POINTER;
    *icon = icon_.Get();
    return *icon ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE CSnapinAbout::GetStaticFolderImage(HBITMAP* smallImage, HBITMAP* smallOpenImage,
                                                             HBITMAP* largeImage, COLORREF* mask)
{
    if (!smallImage || !smallOpenImage || !largeImage || !mask)
        return E_POINTER;
    *smallImage = smallImage_.Get();
    *smallOpenImage = smallOpenImage_.Get();
    *largeImage = largeImage_.Get();
    *mask = kFolderImageMask;
    return smallImage_ && smallOpenImage_ && largeImage_ ? S_OK : E_FAIL;
}

HRESULT CreateSnapinAbout(REFIID iid, void** out) noexcept
{
    return Framework::CreateComObject<CSnapinAbout>(iid, out, Framework::Module().GetModuleInstance());
}

}
