#include "Framework/ActivationContext.h"

#include "Framework/Paths.h"

#include <string>

namespace Framework {

DWORD ActivationContext::Create(HMODULE module, UINT manifestId)
{
    context_.Reset();
    const std::wstring path = ModuleFileName(module);
    if (path.empty())
        return ::GetLastError() ? ::GetLastError() : ERROR_INVALID_HANDLE;
    ACTCTXW description{};
    description.cbSize = sizeof(description);
    description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.lpSource = path.c_str();
    description.hModule = module;
    description.lpResourceName = MAKEINTRESOURCEW(manifestId);
    HANDLE context = ::CreateActCtxW(&description);
    if (context == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    context_.Reset(context);
    return 0;
}

ActivationScope::ActivationScope(HANDLE context) noexcept
{
    if (context != INVALID_HANDLE_VALUE && context != nullptr)
        active_ = ::ActivateActCtx(context, &cookie_) != FALSE;
}

ActivationScope::~ActivationScope()
{
    if (active_)
        ::DeactivateActCtx(0, cookie_);
}

}
