#include "OldSyntaxConverter.h"

#include <exception>
#include <iterator>
#include <limits>
#include <utility>

#include <boost/algorithm/string/predicate.hpp>
#include <boost/algorithm/string/trim.hpp>
#include <boost/make_shared.hpp>
#include <boost/regex.hpp>

#include "OldDirectives.h"
#include "OldText.h"

namespace {

const char* const kUnsupportedDirective = "unsupported directive: ";
const char* const kUnknownExpression = ": (Unknown expression)\t";
const char* const kConditionWithoutRule = ": (Condition without rule)\t";

std::string Group(const OldGroups& groups, int index)
{
    return groups.Text(static_cast<std::size_t>(index));
}

// The decimal value of a run of digits; false when it does not fit.
bool ParseDecimal(const std::string& digits, std::int32_t& value)
{
    std::int64_t result = 0;
    for (const char digit : digits) {
        result = result * 10 + (digit - '0');
        if (result > std::numeric_limits<std::int32_t>::max())
            return false;
    }
    value = static_cast<std::int32_t>(result);
    return true;
}

std::string LineComment(std::size_t lineNumber, const char* reason, const std::string& line)
{
    return "# Line " + std::to_string(lineNumber) + reason + line;
}

}

OldSyntaxConverter::OldSyntaxConverter(std::string oldText) : text(std::move(oldText))
{
    Parse();
}

void OldSyntaxConverter::Parse()
{
    Orvane::Quillshift::ForEachLine(text, [this](const std::string& line, std::size_t lineNumber) {
        ParseLine(line, lineNumber);
    });
    ShowLostConditions();
    std::string().swap(text);
}

void OldSyntaxConverter::AddComment(const std::string& commentText)
{
    boost::shared_ptr<OldRewriteRule> entry = boost::make_shared<OldComment>();
    entry->comment = commentText;
    entries.push_back(entry);
}

void OldSyntaxConverter::AddUnknownExpression(const std::string& line, std::size_t lineNumber)
{
    AddComment(LineComment(lineNumber, kUnknownExpression, line));
}

void OldSyntaxConverter::ShowLostConditions()
{
    if (pendingTraces_.empty())
        return;
    // Rebuild only the tail behind the first lost condition, so that many lost conditions cost no more
    // than one pass over that tail.
    const std::size_t first = pendingTraces_.front().entryPosition;
    std::vector<boost::shared_ptr<OldRewriteRule>> tail(std::make_move_iterator(entries.begin() + first),
                                                        std::make_move_iterator(entries.end()));
    entries.erase(entries.begin() + first, entries.end());
    std::size_t taken = 0;
    for (const PendingTrace& trace : pendingTraces_) {
        while (first + taken < trace.entryPosition)
            entries.push_back(std::move(tail[taken++]));
        AddComment(LineComment(trace.lineNumber, kConditionWithoutRule, trace.line));
    }
    while (taken < tail.size())
        entries.push_back(std::move(tail[taken++]));
    pendingTraces_.clear();
    pendingConditions_.clear();
}

void OldSyntaxConverter::ParseLine(const std::string& line, std::size_t lineNumber)
{
    OldGroups groups;
    switch (ClassifyOldLine(line, groups)) {
    case OldDirective::EmptyLine:
        entries.push_back(boost::make_shared<OldEmptyLine>());
        return;
    case OldDirective::Comment:
        AddComment(Group(groups, 1));
        return;
    case OldDirective::Unsupported:
        AddComment(kUnsupportedDirective + line);
        return;
    case OldDirective::RepeatLimit:
        if (!ParseDecimal(Group(groups, 1), repeatLimit))
            break;
        return;
    case OldDirective::RFStyle:
        if (boost::algorithm::iequals(Group(groups, 1), "new"))
            rfStyleNew = true;
        return;
    case OldDirective::UriMatchPrefix:
        uriMatchPrefix = Group(groups, 1);
        return;
    case OldDirective::UriMatchSufix:
        uriMatchSufix = Group(groups, 1);
        return;
    case OldDirective::RewriteCond: {
        OldRewriteCond condition;
        condition.testString = Group(groups, 1);
        condition.pattern = boost::algorithm::trim_copy(Group(groups, 2));
        condition.flagsText = Group(groups, 3);
        condition.comment = Group(groups, 4);
        if (!condition.Convert())
            break;
        pendingConditions_.push_back(condition);
        pendingTraces_.push_back(PendingTrace{entries.size(), lineNumber, line});
        return;
    }
    case OldDirective::RewriteRule: {
        boost::shared_ptr<OldRewriteRule> rule = boost::make_shared<OldRewriteRule>();
        rule->pattern = Group(groups, 1);
        rule->substitution = Group(groups, 2);
        rule->flagsText = Group(groups, 3);
        rule->comment = Group(groups, 4);
        // A rule that fails leaves the pending conditions for the next rule line.
        if (!rule->Convert())
            break;
        rule->oldConditions.swap(pendingConditions_);
        pendingTraces_.clear();
        entries.push_back(rule);
        return;
    }
    case OldDirective::RewriteHeader: {
        boost::shared_ptr<OldRewriteHeader> header = boost::make_shared<OldRewriteHeader>();
        header->headerName = Group(groups, 1);
        header->pattern = Group(groups, 2);
        header->substitution = Group(groups, 3);
        header->flagsText = Group(groups, 4);
        header->comment = Group(groups, 5);
        if (!header->Convert()) {
            ShowLostConditions();
            break;
        }
        header->oldConditions.swap(pendingConditions_);
        pendingTraces_.clear();
        entries.push_back(header);
        return;
    }
    case OldDirective::RewriteProxy: {
        boost::shared_ptr<OldRewriteProxy> proxy = boost::make_shared<OldRewriteProxy>();
        proxy->pattern = Group(groups, 1);
        proxy->substitution = Group(groups, 2);
        proxy->flagsText = Group(groups, 3);
        proxy->comment = Group(groups, 4);
        if (!proxy->Convert()) {
            ShowLostConditions();
            break;
        }
        proxy->oldConditions.swap(pendingConditions_);
        pendingTraces_.clear();
        entries.push_back(proxy);
        return;
    }
    case OldDirective::Unknown:
        break;
    }
    AddUnknownExpression(line, lineNumber);
}

void OldSyntaxConverter::Write(std::string& out)
{
    const char* const lineEnd = Orvane::Quillshift::kLineEnd;
    out += "RewriteEngine On";
    out += lineEnd;
    out += "RewriteCompatibility2 On";
    out += lineEnd;
    out += "RepeatLimit " + std::to_string(repeatLimit);
    out += lineEnd;
    out += "RewriteBase ";
    out += lineEnd;
    if (rfStyleNew) {
        out += "RedirectHanler External";
        out += lineEnd;
    }
    if (uriMatchPrefix == uriMatchSufix) {
        if (!uriMatchPrefix.empty()) {
            out += "RewriteBase " + uriMatchPrefix;
            out += lineEnd;
        }
    } else {
        for (const boost::shared_ptr<OldRewriteRule>& entry : entries)
            entry->ApplyUriMatch(uriMatchPrefix, uriMatchSufix);
    }
    for (const boost::shared_ptr<OldRewriteRule>& entry : entries)
        entry->Write(out);
}

std::string ConvertText(std::string text)
{
    OldSyntaxConverter converter(std::move(text));
    std::string out;
    converter.Write(out);
    return out;
}
