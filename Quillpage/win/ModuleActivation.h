#pragma once
// The activation context of the module's own manifest (common controls 6), around the windows the
// module creates inside its host.
#include <windows.h>

namespace Orvane { namespace Quillon {

// Made on first use and kept for the life of the module; INVALID_HANDLE_VALUE when it cannot be made
// (the windows then get the host's common controls).
HANDLE ModuleActivationContext() noexcept;

}}
