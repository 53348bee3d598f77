// Speed of the HTML tokenizer on generated documents: prints MB/s for each kind of input, the
// best of five rounds (the input is copied afresh before each, since the tokenizer rewrites
// it in place; the copy is not timed).

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "bench_support.h"
#include "platform/html/parser/names.h"
#include "platform/html/parser/text_store.h"
#include "platform/html/parser/token.h"
#include "platform/html/parser/tokenizer.h"

namespace {

using namespace veltrano::html::parser;

// Counts what a tree builder would have to look at, so that nothing is optimized away.
class CountingSink final : public TokenSink {
public:
    void processToken(Token& token) override {
        ++tokens;
        attributes += token.attributes.size();
        bytes += token.text.length;
    }
    bool adjustedCurrentNodeIsForeign() const override { return false; }

    std::size_t tokens = 0;
    std::size_t attributes = 0;
    std::size_t bytes = 0;
};

std::string repeat(std::string_view header, std::string_view pattern, std::size_t bytes) {
    std::string input(header);
    input.reserve(bytes + pattern.size());
    while (input.size() + pattern.size() <= bytes) {
        input += pattern;
    }
    return input;
}

// 100,000 rows of 10 short cells, about 18 MB.
std::string oneTable() {
    std::string row = "<tr>";
    for (int cell = 0; cell < 10; ++cell) {
        row += "<td>alpha 12</td>";
    }
    row += "</tr>\n";
    std::string input = "<table>\n";
    for (int i = 0; i < 100000; ++i) {
        input += row;
    }
    return input + "</table>\n";
}

std::string textHeavy() {
    return repeat("<body>",
                  "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod "
                  "tempor incididunt ut labore et dolore magna aliqua &amp; ut enim ad minim "
                  "veniam, <b>quis</b> nostrud exercitation ullamco laboris nisi ut aliquip ex "
                  "ea commodo consequat.&nbsp;Duis aute irure dolor in reprehenderit.</p>\n",
                  50u << 20);
}

std::string attributeHeavy() {
    return repeat("<body>",
                  "<a href=\"https://example.com/list?page=12&amp;sort=name\" class=\"link "
                  "external\" id=item12 title='A title here' data-row=\"12\">Item</a>\n",
                  50u << 20);
}

constexpr int kRounds = 5;

// One tag with a million attributes; names repeat every distinctNames (the rest are
// duplicates the tokenizer drops).
std::string manyAttributes(int distinctNames) {
    std::string input = "<div";
    for (int i = 0; i < 1000000; ++i) {
        input += " a" + std::to_string(i % distinctNames) + "=\"v\"";
    }
    return input + ">";
}

void measure(const char* name, const std::string& input) {
    double best = std::numeric_limits<double>::max();
    CountingSink counts;
    for (int round = 0; round < kRounds; ++round) {
        TextStore text;
        text.input() = input;
        NameTable names;
        counts = {};
        Tokenizer tokenizer(text, names, counts);
        const veltrano::bench::Stopwatch watch;
        while (tokenizer.run(std::numeric_limits<std::size_t>::max())) {
        }
        best = std::min(best, watch.seconds());
    }
    const double megabytes = static_cast<double>(input.size()) / (1 << 20);
    std::printf("%-30s %7.1f MB in %7.4f s %8.1f MB/s %10zu tokens %8zu attributes\n", name,
                megabytes, best, megabytes / best, counts.tokens, counts.attributes);
}

}  // namespace

// With an argument, runs only the inputs whose name contains it (for profiling one of them).
int main(int argc, char** argv) {
    const std::string_view only = argc > 1 ? argv[1] : "";
    auto run = [&](const char* name, std::string (*make)()) {
        if (std::string_view(name).find(only) != std::string_view::npos) {
            measure(name, make());
        }
    };
    run("one table, 100,000 x 10 cells", oneTable);
    run("text-heavy", textHeavy);
    run("attribute-heavy", attributeHeavy);
    run("1,000,000 attributes, 1,000 names", [] { return manyAttributes(1000); });
    run("1,000,000 attributes, all distinct", [] { return manyAttributes(1000000); });
    std::printf("peak memory %.0f MB\n", veltrano::bench::peakMegabytes());
    return 0;
}
