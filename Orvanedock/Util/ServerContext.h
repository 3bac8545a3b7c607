#pragma once
// Where the program lets COM look for a store's or an extension's class: in-process server or
// handler, local server, remote server.
#include <objbase.h>

namespace Orvane::Util {

inline constexpr DWORD kAnyServerContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

}
