#pragma once
// The rule directives: RewriteRule, RewriteHeader, RewriteProxy.
#include <cstdint>
#include <string>
#include <vector>

#include <boost/regex.hpp>

#include "RewriteConfig/CfgRewriteCond.h"

namespace Orvane { namespace Quillon {

class CfgRewriteRule {
public:
    std::vector<CfgRewriteCond> conditions;
    unsigned char negate;
    std::string pattern;
    std::string substitution;
    std::string flagsText;  // without the brackets
    std::int32_t redirectCode;
    unsigned char forbidden;
    unsigned char gone;
    unsigned char proxy;
    unsigned char last;
    unsigned char next;
    unsigned char chain;
    unsigned char nocase;
    unsigned char qsappend;
    unsigned char noescape;
    std::int32_t skipCount;
    std::string cookieName;
    std::string cookieValue;
    std::string cookieDomain;
    std::int32_t cookieLifetime;  // seconds
    std::string cookiePath;
    std::string mimeType;
    boost::regex regex;
    unsigned char loop;
    unsigned char U;
    unsigned char O;
    unsigned char CL;
    unsigned char CU;
    unsigned char hasDollarBraceReference;
    unsigned char hasHttpHeaderReference;
    unsigned char hasPercentBraceReference;

    CfgRewriteRule();
    virtual ~CfgRewriteRule();

    // Parses flagsText into the flag fields, scans the substitution, handles "!" and compiles pattern.
    // Appends one line to errors per unknown flag and one when the pattern does not compile.
    // True when the pattern compiled, whatever the flags held. Never clears a field.
    virtual bool Compile(std::string& errors);
    // Applies one flag, given lower-case and trimmed; false when it is not a flag of this directive.
    virtual bool ParseFlag(const std::string& flag);

    // Appends a copy (sharing the test function).
    void AddCondition(const CfgRewriteCond& condition);

    // Gives every flag field (negate and the reference marks included) its initial value again;
    // pattern, substitution, flagsText, conditions and the compiled expression stay.
    void ResetFlags();
};

class CfgRewriteHeader : public CfgRewriteRule {
public:
    std::string headerName;

    CfgRewriteHeader();
    ~CfgRewriteHeader() override;
};

class CfgRewriteProxy : public CfgRewriteRule {
public:
    enum ProxyFlag : std::uint32_t { D = 1, CR = 2, FR = 4, H = 16, AU = 32 };

    std::uint32_t proxyFlags;

    CfgRewriteProxy();
    ~CfgRewriteProxy() override;

    // The proxy flags, else the rule flags except R and P.
    bool ParseFlag(const std::string& flag) override;
};

}}
