#pragma once
// The directive and section expressions of each container, in the order in which its parser tries
// them. Defined beside the parser that acts on them; declared here for the cross-checks of the tests.
#include <cstddef>

#include "LineExpression.h"

namespace Orvane { namespace Quillon { namespace Detail {

// The separator of physical lines in Htaccess::ParseText.
extern const boost::regex kLineSeparator;

// Htaccess::ParseLine (expressions 1 to 24).
extern const LineExpression kDirectoryExpressions[];
extern const std::size_t kDirectoryExpressionCount;

// VirtualHostHtaccess::ParseLine (expressions 25 to 34).
extern const LineExpression kVirtualHostExpressions[];
extern const std::size_t kVirtualHostExpressionCount;

// The rule flags with a value, in CfgRewriteRule::ParseFlag.
extern const LineExpression kRedirectFlag;
extern const LineExpression kSkipFlag;
extern const LineExpression kCookieFlag;
extern const LineExpression kTypeFlag;

// QuillonConfig::ParseLine.
extern const LineExpression kServerExpressions[];
extern const std::size_t kServerExpressionCount;

}}}
