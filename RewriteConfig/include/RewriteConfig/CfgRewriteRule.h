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
    std::vector<CfgRewriteCond> conditions;  // in the order in which they were added
    unsigned char negate;                    // the pattern was written with a leading "!"
    std::string pattern;                     // without the "!" once compiled
    std::string substitution;                // of a RewriteHeader its third argument, of a RewriteProxy the target
    std::string flagsText;                   // without the brackets
    // The flag fields, each set by its flag: R (the status code, 0 for no redirect), F, G, P, L, N, C,
    // NC (which also makes Compile read the pattern case-insensitively), QSA and NE.
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
    std::int32_t skipCount;  // S
    // CO: name, value, then domain, lifetime (written in minutes) and path where given.
    std::string cookieName;
    std::string cookieValue;
    std::string cookieDomain;
    std::int32_t cookieLifetime;  // seconds
    std::string cookiePath;
    std::string mimeType;  // T
    boost::regex regex;    // the compiled pattern
    unsigned char loop;    // LP
    // The flags U, O, CL and CU, named as they are written; like every flag here they are only
    // recorded. For a RewriteRule line the directory level presets O: 1, or 0 while
    // RewriteCompatibility2 is On; an O flag then sets it.
    unsigned char U;
    unsigned char O;
    unsigned char CL;
    unsigned char CU;
    // What the substitution refers to: "${", a %{HTTP:name} reference, a %{name} reference (a
    // %{HTTP:name} reference sets both).
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
    // Appends the condition itself, for a caller that no longer needs it.
    void AddCondition(CfgRewriteCond&& condition);

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
    // The bits of proxyFlags, one per proxy flag, named as the flags are written ("d", "cr", "fr",
    // "h", "au"); 8 is not used.
    enum ProxyFlag : std::uint32_t { D = 1, CR = 2, FR = 4, H = 16, AU = 32 };

    std::uint32_t proxyFlags;

    CfgRewriteProxy();
    ~CfgRewriteProxy() override;

    // The proxy flags, else the rule flags except R and P.
    bool ParseFlag(const std::string& flag) override;
};

}}
