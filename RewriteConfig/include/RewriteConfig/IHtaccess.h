#pragma once
// The base through which lines and section paths reach every configuration container.
#include <string>

#include <boost/regex.hpp>

namespace Orvane { namespace Quillon {

class IHtaccess {
public:
    std::string path;        // section path or pattern, lower-cased, trimmed and unquoted
    boost::regex pathRegex;  // path compiled case-insensitively; empty until a SetPath succeeds

    // Offers one logical line; true when this container accepted it.
    virtual bool ParseLine(const std::string& line) = 0;
    // Stores and compiles the section path; false (previous expression kept) when it does not compile.
    virtual bool SetPath(const std::string& path) = 0;

protected:
    IHtaccess() = default;
    IHtaccess(const IHtaccess&) = default;
    IHtaccess& operator=(const IHtaccess&) = default;
    // Containers are never destroyed through this base.
    ~IHtaccess() = default;
};

}}
