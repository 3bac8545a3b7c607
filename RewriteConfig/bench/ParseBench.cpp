// Parse speed of generated server files of 1,000, 10,000 and 100,000 lines.
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "RewriteConfig/RewriteConfig.h"

namespace {

// About 40% rules with flags, 40% conditions, the rest comments, sections and a few virtual hosts.
std::string ServerFile(int lines)
{
    static const char* const conditions[] = {
        "RewriteCond %{HTTP_HOST} ^www\\.example\\.com$ [NC]",
        "RewriteCond %{REQUEST_FILENAME} !-f",
        "RewriteCond %{REQUEST_FILENAME} !-d",
        "RewriteCond %{QUERY_STRING} (^|&)id=([0-9]+)(&|$) [NC,OR]",
        "RewriteCond %{HTTP:Accept-Language} ^de [NC]",
        "RewriteCond %{REQUEST_URI} !=/favicon.ico",
    };
    static const char* const rules[] = {
        "RewriteRule ^/catalog/item/([0-9]+)$ /shop/product.php?id=$1 [R=301,L]",
        "RewriteRule ^/(.*)$ http://www.example.com/$1 [R=301,L,QSA]",
        "RewriteRule ^/blog/([0-9]{4})/([0-9]{2})/(.+)$ /blog.php?y=$1&m=$2&t=$3 [NC,L]",
        "RewriteRule ^/img/(.*)\\.(gif|png)$ /static/$1.$2 [T=image/png,L]",
        "RewriteRule ^/go/(.*)$ /track.php?to=$1 [CO=seen:1:.example.com:30:/,L]",
    };
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 56);
    int written = 0;
    int section = 0;
    for (int i = 0; written < lines; ++i) {
        const int slot = i % 20;
        std::string line;
        if (slot < 8)
            line = conditions[i % 6];
        else if (slot < 16)
            line = rules[i % 5];
        else if (slot == 16)
            line = "# generated section " + std::to_string(i);
        else if (slot == 17)
            line = (section % 50 == 49) ? "<VirtualHost host" + std::to_string(section) + ".example.com:80>"
                   : (section % 2) ? "<Directory C:\\inetpub\\wwwroot\\app" + std::to_string(section) + ">"
                                   : "<Location /area" + std::to_string(section) + ">";
        else if (slot == 18)
            line = "RewriteEngine On";
        else
            line = (section % 50 == 49) ? "</VirtualHost>" : (section % 2) ? "</Directory>" : "</Location>";
        if (slot == 19)
            ++section;
        text += line;
        text += "\r\n";
        ++written;
    }
    return text;
}

// Construction and parse of the server configuration; with destroyTree the release of the parsed
// tree is timed as well.
void Parse(benchmark::State& state, bool destroyTree)
{
    const int lines = static_cast<int>(state.range(0));
    const std::string text = ServerFile(lines);
    for (auto _ : state) {
        std::unique_ptr<Orvane::Quillon::QuillonConfig> config(new Orvane::Quillon::QuillonConfig(L""));
        std::string errors;
        config->ParseText(text, errors);
        benchmark::DoNotOptimize(errors.data());
        if (!errors.empty())
            state.SkipWithError("the generated file has error lines");
        if (!destroyTree)
            state.PauseTiming();
        config.reset();
        if (!destroyTree)
            state.ResumeTiming();
    }
    state.counters["lines_per_second"] = benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                                                            benchmark::Counter::kIsRate);
    state.counters["bytes"] = static_cast<double>(text.size());
}

void ParseServerFile(benchmark::State& state)
{
    Parse(state, false);
}

void ParseAndReleaseServerFile(benchmark::State& state)
{
    Parse(state, true);
}

}

BENCHMARK(ParseServerFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseAndReleaseServerFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
