#pragma once
// Failures of the IIS metabase.
#include <Exceptions/Exceptions.h>

namespace Orvane::Metabase {

class MetabaseError : public Exceptions::ExternalError {
public:
    MetabaseError() = default;
    MetabaseError(const MetabaseError&) = default;
    MetabaseError& operator=(const MetabaseError&) = default;
    ~MetabaseError() override = default;
};

// A metabase key could not be opened (missing, not readable, or not in time).
class MBOpenKeyError : public MetabaseError {
public:
    MBOpenKeyError() = default;
    MBOpenKeyError(const MBOpenKeyError&) = default;
    MBOpenKeyError& operator=(const MBOpenKeyError&) = default;
    ~MBOpenKeyError() override = default;
};

}
