#include "SyntaxCheck.h"

#include "RewriteConfig/RewriteConfig.h"

namespace Orvane { namespace Quillpen {

bool CollectSyntaxErrors(const std::string& text, std::string& errors)
{
    try {
        Orvane::Quillon::QuillonConfig config{std::wstring()};
        config.ParseText(text, errors);
        return true;
    } catch (...) {
        // A check that did not run must not let the text pass.
        return false;
    }
}

}}
