#pragma once
// The entries of a converted file: rules, headers, proxies, comments and empty lines.
#include <cstdint>
#include <string>
#include <vector>

#include "RewriteConfig/CfgRewriteRule.h"
#include "OldRewriteCond.h"

class OldRewriteRule : public Orvane::Quillon::CfgRewriteRule {
public:
    std::vector<OldRewriteCond> oldConditions;
    std::string comment;  // written at the end of the entry's line

    OldRewriteRule();
    ~OldRewriteRule() override;

    // Reads the old flags, anchors and compiles the pattern; true when the entry may be kept.
    virtual bool Convert();
    // Appends the entry's conditions and its own line, each ended with CR LF.
    virtual void Write(std::string& out);
    // The directive text that starts the entry's line.
    virtual std::string Name() const;
    // Appends the bracketed new flag list, nothing when no flag is set.
    virtual void WriteFlags(std::string& out) const;

    // Inserts the URI-match prefix into the pattern and the suffix into the format of a plain rule.
    void ApplyUriMatch(const std::string& prefix, const std::string& suffix);
    // Turns the old joint group numbering into "%" references to the conditions' groups and "$"
    // references to the rule's own groups.
    void RenumberBackReferences();

    static void AnchorPattern(std::string& pattern);

protected:
    // Compiles the anchored pattern into regex; false when the expression is rejected.
    bool CompilePattern();
};

class OldRewriteHeader : public OldRewriteRule {
public:
    std::string headerName;

    ~OldRewriteHeader() override;
    std::string Name() const override;
};

class OldRewriteProxy : public OldRewriteRule {
public:
    std::int32_t proxyFlags = 0;  // bits of Orvane::Quillon::CfgRewriteProxy::ProxyFlag

    ~OldRewriteProxy() override;
    bool Convert() override;
    std::string Name() const override;
    void WriteFlags(std::string& out) const override;
};

class OldComment : public OldRewriteRule {
public:
    ~OldComment() override;
    std::string Name() const override;
};

class OldEmptyLine : public OldRewriteRule {
public:
    ~OldEmptyLine() override;
    std::string Name() const override;
};
