#include "ModuleActivation.h"


#include <Framework/Module.h>
#include <Framework/ActivationContext.h>

#include <mutex>

namespace Orvane { namespace Quillon {

HANDLE ModuleActivationContext() noexcept
{
    static Framework::ActivationContext context;
    static std::once_flag once;
    try {
        std::call_once(once, [] { context.Create(Framework::Module().GetModuleInstance()); });
    } catch (...) {
        return INVALID_HANDLE_VALUE;
    }
    return context.Get();
}

}}
