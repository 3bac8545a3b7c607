#include "RewriteConfig/CfgRewriteRule.h"

#include <optional>

#include "DirectiveTables.h"
#include "Messages.h"
#include "SafeRegex.h"
#include "SharedExpressions.h"

namespace Orvane { namespace Quillon {

namespace Detail {

// The flags with a value, matched against the whole piece; each keyword occurs in every match.
const LineExpression kRedirectFlag("\\s*(?:R|redirect)\\s*(?:=\\s*((?:3|4)\\d\\d))?\\s*", "r");
const LineExpression kSkipFlag("\\s*(?:S|skip)\\s*=\\s*(\\d+)\\s*", "s");
const LineExpression kCookieFlag(
    "\\s*(?:CO|cookie)\\s*=\\s*([^:]+)\\:([^:]+)\\:?([^:]+)?\\:?(\\d+)?\\:?([^:]+)?", "co");
const LineExpression kTypeFlag("\\s*(?:T|type)\\s*=(.+)\\s*", "t");

namespace {

// The redirect of an R flag without a code.
constexpr std::int32_t kDefaultRedirectCode = 302;
// The cookie lifetime is written in minutes and kept in seconds.
constexpr std::int32_t kSecondsPerMinute = 60;

typedef void (*FlagAction)(CfgRewriteRule& rule, const Captures& what);

// One rule flag: one or two words compared exactly, or an expression.
struct RuleFlag {
    const char* word;
    const char* longWord;
    const LineExpression* expression;
    FlagAction action;

    // For a flag without an expression.
    bool NamedBy(const std::string& piece) const
    {
        return Is(piece, word) || (longWord != nullptr && Is(piece, longWord));
    }

    static bool Is(const std::string& text, const char* word)
    {
        std::size_t i = 0;
        for (; i < text.size(); ++i)
            if (text[i] != word[i] || word[i] == '\0')
                return false;
        return word[i] == '\0';
    }
};

// Rule flags in the order in which a piece is compared; the first that applies decides.
const RuleFlag kRuleFlags[] = {
    {nullptr, nullptr, &kRedirectFlag,
     [](CfgRewriteRule& r, const Captures& m) {
         r.redirectCode = m[1].matched ? DecimalValue(m[1].str()) : kDefaultRedirectCode;
     }},
    {"f", "forbidden", nullptr, [](CfgRewriteRule& r, const Captures&) { r.forbidden = 1; }},
    {"g", "gone", nullptr, [](CfgRewriteRule& r, const Captures&) { r.gone = 1; }},
    {"p", "proxy", nullptr, [](CfgRewriteRule& r, const Captures&) { r.proxy = 1; }},
    {"l", "last", nullptr, [](CfgRewriteRule& r, const Captures&) { r.last = 1; }},
    {"n", "next", nullptr, [](CfgRewriteRule& r, const Captures&) { r.next = 1; }},
    {"c", "chain", nullptr, [](CfgRewriteRule& r, const Captures&) { r.chain = 1; }},
    {"nc", "nocase", nullptr, [](CfgRewriteRule& r, const Captures&) { r.nocase = 1; }},
    {"qsa", "qsappend", nullptr, [](CfgRewriteRule& r, const Captures&) { r.qsappend = 1; }},
    {"ne", "noescape", nullptr, [](CfgRewriteRule& r, const Captures&) { r.noescape = 1; }},
    {nullptr, nullptr, &kSkipFlag,
     [](CfgRewriteRule& r, const Captures& m) { r.skipCount = DecimalValue(m[1].str()); }},
    {nullptr, nullptr, &kCookieFlag,
     [](CfgRewriteRule& r, const Captures& m) {
         r.cookieName = m[1].str();
         r.cookieValue = m[2].str();
         if (m[3].matched)
             r.cookieDomain = m[3].str();
         if (m[4].matched)
             r.cookieLifetime = SaturatedProduct(DecimalValue(m[4].str()), kSecondsPerMinute);
         if (m[5].matched)
             r.cookiePath = m[5].str();
     }},
    {nullptr, nullptr, &kTypeFlag, [](CfgRewriteRule& r, const Captures& m) { r.mimeType = m[1].str(); }},
    {"lp", "loop", nullptr, [](CfgRewriteRule& r, const Captures&) { r.loop = 1; }},
    {"u", nullptr, nullptr, [](CfgRewriteRule& r, const Captures&) { r.U = 1; }},
    {"o", nullptr, nullptr, [](CfgRewriteRule& r, const Captures&) { r.O = 1; }},
    {"cl", nullptr, nullptr, [](CfgRewriteRule& r, const Captures&) { r.CL = 1; }},
    {"cu", nullptr, nullptr, [](CfgRewriteRule& r, const Captures&) { r.CU = 1; }},
};

const std::size_t kRuleFlagCount = sizeof(kRuleFlags) / sizeof(kRuleFlags[0]);
static_assert(kRuleFlagCount <= 32, "the rule flags are indexed by the bits of one word");

// For each byte, the rule flags that a piece can name when it begins with that byte: a word is
// compared whole, so only the words that begin with it; an expression whose keyword follows the
// leading white space, only when the piece's text after that white space begins with the keyword
// (ASCII letters in lower case, as LineText::head keeps them). One bit per flag, in table order.
struct RuleFlagIndex {
    std::uint32_t byWord[256] = {};
    std::uint32_t byHead[256] = {};

    RuleFlagIndex()
    {
        for (std::size_t i = 0; i < kRuleFlagCount; ++i) {
            const RuleFlag& flag = kRuleFlags[i];
            const std::uint32_t bit = std::uint32_t(1) << i;
            if (flag.expression == nullptr) {
                byWord[static_cast<unsigned char>(flag.word[0])] |= bit;
                if (flag.longWord != nullptr)
                    byWord[static_cast<unsigned char>(flag.longWord[0])] |= bit;
            } else if (flag.expression->place == LineExpression::AfterSpaces) {
                byHead[static_cast<unsigned char>(LowerAscii(flag.expression->keyword[0]))] |= bit;
            } else {
                for (std::uint32_t& flags : byHead)
                    flags |= bit;
            }
        }
    }

    std::uint32_t Words(const std::string& piece) const
    {
        return byWord[piece.empty() ? 0 : static_cast<unsigned char>(piece[0])];
    }

    // The first character after the leading white space, as LineText::head has it.
    std::uint32_t Expressions(const std::string& piece) const
    {
        const std::bitset<256>& spaces = RegexSpaces();
        std::size_t at = 0;
        while (at < piece.size() && spaces[static_cast<unsigned char>(piece[at])])
            ++at;
        const char first = at < piece.size() ? piece[at] : '\0';
        return byHead[static_cast<unsigned char>(LowerAscii(first))];
    }
};

const RuleFlagIndex kRuleFlagIndex;

// Proxy flags, tried before the rule flags.
const struct {
    const char* word;
    std::uint32_t bit;
} kProxyFlags[] = {
    {"d", CfgRewriteProxy::D}, {"cr", CfgRewriteProxy::CR}, {"fr", CfgRewriteProxy::FR},
    {"h", CfgRewriteProxy::H}, {"au", CfgRewriteProxy::AU},
};

}

const std::size_t kRuleFlagTableSize = kRuleFlagCount;
const std::size_t kProxyFlagTableSize = sizeof(kProxyFlags) / sizeof(kProxyFlags[0]);

}

using namespace Detail;

CfgRewriteRule::CfgRewriteRule()
    : negate(0), redirectCode(0), forbidden(0), gone(0), proxy(0), last(0), next(0), chain(0), nocase(0),
      qsappend(0), noescape(0), skipCount(0), cookieLifetime(0), loop(0), U(0), O(0), CL(0), CU(0),
      hasDollarBraceReference(0), hasHttpHeaderReference(0), hasPercentBraceReference(0)
{
}

CfgRewriteRule::~CfgRewriteRule() = default;

bool CfgRewriteRule::Compile(std::string& errors)
{
    Detail::LowerCase(flagsText);
    Detail::TrimSpace(flagsText);
    // An unknown flag is reported and has no effect; it never stops the rule from compiling.
    Detail::ForEachFlagPiece(flagsText, [this, &errors](std::string piece) {
        Detail::TrimSpace(piece);
        if (!ParseFlag(piece))
            errors.append(Detail::kUnknownFlag).append(piece).append(Detail::kLineEnd);
        return true;
    });

    Detail::ScanReferences(substitution, hasDollarBraceReference, hasHttpHeaderReference, hasPercentBraceReference);

    if (!pattern.empty() && pattern.front() == '!') {
        negate = 1;
        pattern.erase(0, 1);
    }

    try {
        boost::regex compiled(pattern, Detail::PatternSyntax(nocase != 0));
        regex.swap(compiled);
        return true;
    } catch (const boost::regex_error& error) {
        errors.append(Detail::kBadRegexp).append(error.what()).append(Detail::kLineEnd);
    } catch (...) {
        errors.append(Detail::kUnknownCompileError).append(pattern).append(Detail::kLineEnd);
    }
    return false;
}

bool CfgRewriteRule::ParseFlag(const std::string& flag)
{
    // The flags that the index leaves out cannot apply to the piece; only those with an expression
    // need the piece read as a line.
    const std::uint32_t expressions = kRuleFlagIndex.Expressions(flag);
    std::uint32_t candidates = kRuleFlagIndex.Words(flag) | expressions;
    if (candidates == 0)
        return false;
    std::optional<LineText> piece;
    if (expressions != 0)
        piece.emplace(flag);
    Captures what;
    for (; candidates != 0; candidates &= candidates - 1) {
        const RuleFlag& entry = kRuleFlags[__builtin_ctz(candidates)];
        if (entry.expression != nullptr ? entry.expression->Match(*piece, what) : entry.NamedBy(flag)) {
            entry.action(*this, what);
            return true;
        }
    }
    return false;
}

void CfgRewriteRule::AddCondition(const CfgRewriteCond& condition)
{
    conditions.push_back(condition);
}

void CfgRewriteRule::AddCondition(CfgRewriteCond&& condition)
{
    conditions.push_back(std::move(condition));
}

void CfgRewriteRule::ResetFlags()
{
    // The whole rule goes back to its initial state but for what is kept, so a flag field added later
    // is reset as well.
    std::string keptPattern = std::move(pattern);
    std::string keptSubstitution = std::move(substitution);
    std::string keptFlagsText = std::move(flagsText);
    std::vector<CfgRewriteCond> keptConditions = std::move(conditions);
    boost::regex keptRegex;
    keptRegex.swap(regex);
    CfgRewriteRule::operator=(CfgRewriteRule());
    pattern = std::move(keptPattern);
    substitution = std::move(keptSubstitution);
    flagsText = std::move(keptFlagsText);
    conditions = std::move(keptConditions);
    regex.swap(keptRegex);
}

CfgRewriteHeader::CfgRewriteHeader() = default;

CfgRewriteHeader::~CfgRewriteHeader() = default;

CfgRewriteProxy::CfgRewriteProxy() : proxyFlags(0) {}

CfgRewriteProxy::~CfgRewriteProxy() = default;

bool CfgRewriteProxy::ParseFlag(const std::string& flag)
{
    for (const auto& entry : kProxyFlags) {
        if (flag == entry.word) {
            proxyFlags |= entry.bit;
            return true;
        }
    }
    // A proxy neither redirects nor proxies by flag.
    Captures what;
    if (kRedirectFlag.Match(LineText(flag), what) || flag == "p" || flag == "proxy")
        return false;
    return CfgRewriteRule::ParseFlag(flag);
}

}}
