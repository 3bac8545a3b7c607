#pragma once
// Parses an old-syntax text into entries and writes them as the new language.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "OldRewriteRule.h"

class OldSyntaxConverter {
public:
    std::string text;  // consumed by the parse
    bool rfStyleNew = false;
    std::int32_t repeatLimit = 200;
    std::string uriMatchPrefix;
    std::string uriMatchSufix;
    std::vector<boost::shared_ptr<OldRewriteRule>> entries;

    // Parses text at once.
    explicit OldSyntaxConverter(std::string text);

    // Appends the whole converted file: the header lines, then every entry.
    void Write(std::string& out);

private:
    // A condition waiting for its rule, with what is needed to show it should no rule take it.
    struct PendingTrace {
        std::size_t entryPosition;  // where it stood among the entries when it was read
        std::size_t lineNumber;
        std::string line;
    };

    void Parse();
    void ParseLine(const std::string& line, std::size_t lineNumber);
    void AddComment(const std::string& commentText);
    void AddUnknownExpression(const std::string& line, std::size_t lineNumber);
    // Shows the pending conditions as comments where they were read, and forgets them.
    void ShowLostConditions();

    // The conditions read since the last rule that took them, waiting for the next rule.
    std::vector<OldRewriteCond> pendingConditions_;
    std::vector<PendingTrace> pendingTraces_;  // one per pending condition
};

// Converts a whole old-syntax text into the new language.
std::string ConvertText(std::string text);
