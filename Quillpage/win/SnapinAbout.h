#pragma once
// The snap-in About object: what MMC shows of the extension (description, provider, version,
// icon and folder images).
#include <windows.h>

#include <Common/SnapinInterfaces.h>
#include <Framework/ComObject.h>
#include <Framework/Handles.h>

namespace Orvane::Quillon {

class CSnapinAbout final : public Framework::ComObject<CSnapinAbout, ISnapinAbout> {
public:
    // Loads the images from the module's resources; any of them may be missing (null).
    explicit CSnapinAbout(HINSTANCE resources) noexcept;

    static const Framework::InterfaceEntry* InterfaceTable() noexcept;

    // Each hands out a new task-memory text that the caller frees with CoTaskMemFree.
    HRESULT STDMETHODCALLTYPE GetSnapinDescription(LPOLESTR* description) override;
    HRESULT STDMETHODCALLTYPE GetProvider(LPOLESTR* name) override;
    HRESULT STDMETHODCALLTYPE GetSnapinVersion(LPOLESTR* version) override;
    // The icon stays the object's own; E_FAIL when it could not be loaded.
    HRESULT STDMETHODCALLTYPE GetSnapinImage(HICON* icon) override;
    // The bitmaps stay the object's own; the out values are set even when one is missing (E_FAIL).
    HRESULT STDMETHODCALLTYPE GetStaticFolderImage(HBITMAP* smallImage, HBITMAP* smallOpenImage, HBITMAP* largeImage,
                                                   COLORREF* mask) override;

private:
    HRESULT LoadText(UINT id, LPOLESTR* out) const noexcept;

    HINSTANCE resources_;
    Framework::ScopedBitmap smallImage_;
    Framework::ScopedBitmap largeImage_;
    Framework::ScopedBitmap smallOpenImage_;
    Framework::ScopedIcon icon_;
};

// Creates an About object (reference count 0) and hands it out as iid through its QueryInterface.
HRESULT CreateSnapinAbout(REFIID iid, void** out) noexcept;

}
