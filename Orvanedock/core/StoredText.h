#pragma once
// Text that a store hands back as UTF-16 bytes with a length: it ends at its terminator or at the
// end of the data, whichever comes first, so a value stored without a terminator is never read
// past its end.
#include <cstddef>
#include <string>

namespace Orvane::Orvanedock {

std::wstring TextFromUtf16Data(const void* data, size_t bytes);

}
