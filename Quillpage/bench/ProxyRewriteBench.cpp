// The cost of the proxy settings dialog's rewrite of a file (with its own checks) against one parse
// of the same file as a directory level, on three files: about 5 MB of rules and conditions with one
// Orvane section in the middle, 10,000 sections and 160,000 sections.
//
// Run natively it prints the best of several wall-clock runs. Run under callgrind (scripts/bench.sh)
// it parses and rewrites the first file once uncounted, then counts one parse and one rewrite of
// each file and dumps the instruction counts of each by name.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include <valgrind/callgrind.h>

#include <RewriteConfig/Htaccess.h>

#include "ProxySection.h"

namespace {

using Orvane::Quillon::Htaccess;
using Orvane::Quillon::ProxySettings;

const char kSection[] = "<Orvane>\r\nProxySendTimeout 45\r\n</Orvane>\r\n";

// Ordinary lines, every pattern distinct: rules with flags, conditions, comments; the section after
// the first half.
std::string RulesFile(std::size_t bytes)
{
    std::string text;
    text.reserve(bytes + 256);
    bool sectionWritten = false;
    for (int i = 0; text.size() < bytes; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 5) {
        case 0: text += "RewriteCond %{HTTP_HOST} ^www" + n + "\\.example\\.com$ [NC]\r\n"; break;
        case 1: text += "RewriteRule ^/catalog/item" + n + "/([0-9]+)$ /shop/product.php?id=$1 [R=301,L]\r\n"; break;
        case 2: text += "RewriteCond %{QUERY_STRING} (^|&)id" + n + "=([0-9]+)(&|$)\r\n"; break;
        case 3: text += "RewriteRule ^/img" + n + "/(.*)\\.(gif|png)$ /static/$1.$2 [L]\r\n"; break;
        default: text += "# comment " + n + "\r\n"; break;
        }
        if (!sectionWritten && text.size() >= bytes / 2) {
            text += kSection;
            sectionWritten = true;
        }
    }
    return text;
}

std::string SectionsFile(int sections)
{
    std::string text;
    for (int i = 0; i < sections; ++i)
        text += "<Orvane>\r\nProxyConnectTimeout " + std::to_string(i) + "\r\n</Orvane>\r\n";
    return text;
}

struct Workload {
    const char* name;
    std::string text;
};

bool Parse(const std::string& text)
{
    Htaccess parsed;
    std::string errors;
    parsed.ParseText(text, errors);
    return errors.empty();
}

bool Rewrite(const std::string& text)
{
    ProxySettings settings;
    settings.connectTimeout = 90000;
    return ReplaceProxySection(text, settings).has_value();
}

double BestSeconds(bool (*work)(const std::string&), const std::string& text, int runs)
{
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work(text);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

}

int main()
{
    const Workload workloads[] = {
        {"rules-5MB", RulesFile(5u << 20)},
        {"sections-10000", SectionsFile(10000)},
        {"sections-160000", SectionsFile(160000)},
    };
    // A file with error lines or one the rewrite refuses is no fair measure. Under callgrind only the
    // first file is looked at: its uncounted parse and rewrite build the process's one-time set-up
    // (the shared expressions), which then counts in no workload.
    for (const Workload& w : workloads) {
        if (!Parse(w.text) || !Rewrite(w.text)) {
            std::fprintf(stderr, "%s: error lines, or the rewrite refused the file\n", w.name);
            return 1;
        }
        if (RUNNING_ON_VALGRIND)
            break;
    }

    if (RUNNING_ON_VALGRIND) {
        for (const Workload& w : workloads) {
            const std::string parse = std::string("parse ") + w.name;
            const std::string rewrite = std::string("rewrite ") + w.name;
            CALLGRIND_ZERO_STATS;
            CALLGRIND_TOGGLE_COLLECT;
            Parse(w.text);
            CALLGRIND_TOGGLE_COLLECT;
            CALLGRIND_DUMP_STATS_AT(parse.c_str());
            CALLGRIND_TOGGLE_COLLECT;
            Rewrite(w.text);
            CALLGRIND_TOGGLE_COLLECT;
            CALLGRIND_DUMP_STATS_AT(rewrite.c_str());
        }
        return 0;
    }

    std::printf("%-16s %10s %10s %12s %7s\n", "file", "MB", "parse ms", "rewrite ms", "ratio");
    for (const Workload& w : workloads) {
        const double parse = BestSeconds(Parse, w.text, 3);
        const double rewrite = BestSeconds(Rewrite, w.text, 3);
        std::printf("%-16s %10.2f %10.1f %12.1f %7.2f\n", w.name, w.text.size() / 1048576.0, parse * 1e3, rewrite * 1e3,
                    rewrite / parse);
    }
    return 0;
}
