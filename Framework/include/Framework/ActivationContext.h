#pragma once
// The activation context of a module's own manifest (a DLL's resource 2), so that the windows a DLL
// creates for its host get the common controls its manifest asks for, whatever the host's manifest.
#include <windows.h>

#include "Framework/Handles.h"

namespace Framework {

class ActivationContext {
public:
    // The resource of a library's own manifest (ISOLATIONAWARE_MANIFEST_RESOURCE_ID).
    static constexpr UINT kLibraryManifestId = 2;

    ActivationContext() noexcept = default;
    ActivationContext(const ActivationContext&) = delete;
    ActivationContext& operator=(const ActivationContext&) = delete;

    // Creates the context from the module's manifest resource; 0 or a system error code.
    DWORD Create(HMODULE module, UINT manifestId = kLibraryManifestId);
    HANDLE Get() const noexcept { return context_.Get(); }
    explicit operator bool() const noexcept { return context_.IsValid(); }

private:
    ScopedActivationContext context_;
};

// Activates a context on the calling thread for the life of the object. An invalid context leaves
// the thread's current one active.
class ActivationScope {
public:
    explicit ActivationScope(HANDLE context) noexcept;
    ~ActivationScope();
    ActivationScope(const ActivationScope&) = delete;
    ActivationScope& operator=(const ActivationScope&) = delete;
    bool Active() const noexcept { return active_; }

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

}
