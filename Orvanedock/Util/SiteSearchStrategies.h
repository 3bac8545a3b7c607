#pragma once
// The strategies the tree asks, in order: the metabase first, then the IIS 7 store.
#include "SiteSearchStrategy.h"
#include "Win32Folders.h"

#include <memory>
#include <vector>

namespace Orvane::Util {

class SiteSearchStrategies {
public:
    void Create();
    void Destroy() noexcept { strategies_.clear(); }
    std::vector<IISSiteSearchStrategy*> List() const;

private:
    Win32Folders folders_;
    std::vector<std::unique_ptr<IISSiteSearchStrategy>> strategies_;
};

}
