#include "SiteSearchStrategies.h"

#include "AppHostStrategy.h"
#include "MetabaseStrategy.h"

namespace Orvane::Util {

void SiteSearchStrategies::Create()
{
    strategies_.clear();
    strategies_.push_back(std::make_unique<IISSiteSearchStrategyAdminBase>(folders_));
    strategies_.push_back(std::make_unique<IISSiteSearchStrategyAHAdmin>(folders_));
}

std::vector<IISSiteSearchStrategy*> SiteSearchStrategies::List() const
{
    std::vector<IISSiteSearchStrategy*> list;
    for (const auto& strategy : strategies_)
        list.push_back(strategy.get());
    return list;
}

}
