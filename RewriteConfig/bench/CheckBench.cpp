// The cost of the syntax check of a server file against its floor: compiling (and freeing) the same
// rule and condition patterns with Boost.Regex alone. Sets of 1,000, 10,000 and 100,000 lines: 40% rules
// with flags, 40% conditions with regular expressions, 20% comments; every pattern is distinct.
//
// Run natively it prints the best of several wall-clock runs and the heap that the parsed tree holds.
// Run under callgrind (scripts/bench.sh) it runs each workload once, after a warm-up, and dumps the
// instruction counts of each workload by name; the script prints them side by side.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <boost/regex.hpp>
#include <valgrind/callgrind.h>

#include "RewriteConfig/RewriteConfig.h"

namespace {

// One pattern the check compiles, with the syntax it compiles it in.
struct Pattern {
    std::string text;
    bool nocase;
};

struct BenchSet {
    std::string text;
    std::vector<Pattern> patterns;
};

BenchSet MakeSet(int lines)
{
    // A line with a number in the middle, and the pattern that the check compiles from it.
    struct Template {
        const char* lineHead;
        const char* lineTail;
        const char* patternHead;
        const char* patternTail;
        bool nocase;
    };
    static const Template rules[] = {
        {"RewriteRule ^/catalog/item", "/([0-9]+)$ /shop/product.php?id=$1 [R=301,L]", "^/catalog/item",
         "/([0-9]+)$", false},
        {"RewriteRule ^/(.*)/v", "$ http://www.example.com/$1 [R=301,L,QSA]", "^/(.*)/v", "$", false},
        {"RewriteRule ^/blog", "/([0-9]{4})/([0-9]{2})/(.+)$ /blog.php?y=$1&m=$2&t=$3 [NC,L]", "^/blog",
         "/([0-9]{4})/([0-9]{2})/(.+)$", true},
        {"RewriteRule ^/img", "/(.*)\\.(gif|png)$ /static/$1.$2 [T=image/png,L]", "^/img", "/(.*)\\.(gif|png)$",
         false},
        {"RewriteRule !^/go", "/(.*)$ /track.php?to=$1 [CO=seen:1:.example.com:30:/,L]", "^/go", "/(.*)$", false},
    };
    static const Template conditions[] = {
        {"RewriteCond %{HTTP_HOST} ^www", "\\.example\\.com$ [NC]", "^www", "\\.example\\.com$", true},
        {"RewriteCond %{QUERY_STRING} (^|&)id", "=([0-9]+)(&|$) [NC,OR]", "(^|&)id", "=([0-9]+)(&|$)", true},
        {"RewriteCond %{HTTP:Accept-Language} ^de", "(-[a-z]+)?", "^de", "(-[a-z]+)?", false},
        {"RewriteCond %{REQUEST_URI} !^/static", "/.+\\.(css|js)$", "^/static", "/.+\\.(css|js)$", false},
        {"RewriteCond %{HTTP_USER_AGENT} (bot|crawler", "|spider) [NC]", "(bot|crawler", "|spider)", true},
    };
    BenchSet set;
    set.text.reserve(static_cast<std::size_t>(lines) * 64);
    set.patterns.reserve(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) {
        const int slot = i % 10;
        const std::string number = std::to_string(i);
        if (slot < 8) {
            const Template& t = slot < 4 ? rules[i % 5] : conditions[i % 5];
            set.text.append(t.lineHead).append(number).append(t.lineTail);
            set.patterns.push_back(Pattern{std::string(t.patternHead) + number + t.patternTail, t.nocase});
        } else {
            set.text.append("# comment ").append(number);
        }
        set.text.append("\r\n");
    }
    return set;
}

// The check as the editor runs it: a server configuration, the whole text, then the tree released.
// A set that has error lines is no fair measure.
bool Check(const BenchSet& set)
{
    std::unique_ptr<Orvane::Quillon::QuillonConfig> config(new Orvane::Quillon::QuillonConfig(L""));
    std::string errors;
    config->ParseText(set.text, errors);
    if (!errors.empty()) {
        std::fprintf(stderr, "the benchmark set has error lines:\n%s", errors.substr(0, 400).c_str());
        return false;
    }
    return true;
}

// The floor: every pattern compiled as the check compiles it, all kept, then all freed.
bool CompileOnly(const BenchSet& set)
{
    std::vector<boost::regex> compiled;
    compiled.reserve(set.patterns.size());
    for (const Pattern& p : set.patterns)
        compiled.emplace_back(p.text, p.nocase ? boost::regex::perl | boost::regex::icase : boost::regex::perl);
    return compiled.size() == set.patterns.size();
}

double BestSeconds(bool (*workload)(const BenchSet&), const BenchSet& set, int runs)
{
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        workload(set);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// Heap bytes the parsed tree of the set holds, per line.
double HeapPerLine(const BenchSet& set, int lines)
{
    const std::size_t before = mallinfo2().uordblks;
    std::unique_ptr<Orvane::Quillon::QuillonConfig> config(new Orvane::Quillon::QuillonConfig(L""));
    std::string errors;
    config->ParseText(set.text, errors);
    const std::size_t after = mallinfo2().uordblks;
    return static_cast<double>(after - before) / lines;
}

}

int main()
{
    const int sizes[] = {1000, 10000, 100000};
    // One small run of each first, so that once-per-process set-up counts in neither.
    const BenchSet warmUp = MakeSet(100);
    if (!Check(warmUp) || !CompileOnly(warmUp))
        return 1;

    if (RUNNING_ON_VALGRIND) {
        for (int lines : sizes) {
            const BenchSet set = MakeSet(lines);
            const std::string size = std::to_string(lines);
            CALLGRIND_ZERO_STATS;
            CALLGRIND_TOGGLE_COLLECT;
            const bool checked = Check(set);
            CALLGRIND_TOGGLE_COLLECT;
            CALLGRIND_DUMP_STATS_AT(("check " + size).c_str());
            CALLGRIND_TOGGLE_COLLECT;
            const bool compiled = CompileOnly(set);
            CALLGRIND_TOGGLE_COLLECT;
            CALLGRIND_DUMP_STATS_AT(("boost " + size).c_str());
            if (!checked || !compiled)
                return 1;
        }
        return 0;
    }

    std::printf("%8s %12s %12s %7s %14s\n", "lines", "check ms", "boost ms", "ratio", "heap B/line");
    for (int lines : sizes) {
        const BenchSet set = MakeSet(lines);
        const int runs = lines >= 100000 ? 3 : 10;
        if (!Check(set))
            return 1;
        const double check = BestSeconds(Check, set, runs);
        const double boost = BestSeconds(CompileOnly, set, runs);
        std::printf("%8d %12.2f %12.2f %7.2f %14.0f\n", lines, check * 1e3, boost * 1e3, check / boost,
                    HeapPerLine(set, lines));
    }
    return 0;
}
