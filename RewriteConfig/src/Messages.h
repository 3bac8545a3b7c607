#pragma once
// The texts of the error lines.

namespace Orvane { namespace Quillon { namespace Detail {

const char kUnknownExpression[] = "Unknown expression on line #";
const char kBadRegexp[] = "Bad regexp:\t";
const char kUnknownFlag[] = "Unknown flag ";
const char kUnknownCompileError[] = "Unknown error while complile RewriteRule";
const char kLineEnd[] = "\r\n";

}}}
