// What the html5lib cases cannot see: where the tokenizer leaves its texts, how it cuts runs of
// characters into tokens, state switches by the tree builder, many attributes, interrupts.

#include "platform/html/parser/tokenizer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/html/parser/interrupt.h"
#include "platform/html/parser/known_names.h"
#include "token_recorder.h"

namespace veltrano::html::parser {
namespace {

using namespace std::string_literals;

constexpr std::size_t kAll = std::numeric_limits<std::size_t>::max();

// A document, the tokenizer over it and what it emitted.
struct Tokenized {
    explicit Tokenized(std::string input, TokenizerState state = TokenizerState::Data,
                       bool foreign = false)
        : recorder(text, names), tokenizer(text, names, recorder) {
        text.input() = std::move(input);
        recorder.foreign = foreign;
        tokenizer.switchTo(state);
    }
    void runToEnd() {
        while (tokenizer.run(kAll)) {
        }
    }

    TextStore text;
    NameTable names;
    TokenRecorder recorder;
    Tokenizer tokenizer;
};

struct PlacementRow {
    const char* name;
    std::string input;
    TokenizerState state;
    std::string text;  // the first text handed out: characters, attribute value or comment
    std::optional<std::uint32_t> inputOffset;  // where it is in the input; none: made text
};

TEST(TokenizerTest, DecodesInPlaceWhereTheResultFits) {
    const PlacementRow rows[] = {
        {"named references in text", "a&amp;b&lt;c", TokenizerState::Data, "a&b<c", 0},
        {"numeric references in text", "&#8212;&#x2014;!", TokenizerState::Data, "\u2014\u2014!",
         0},
        {"reference without semicolon", "x&notit", TokenizerState::Data, "x\u00ACit", 0},
        {"C1 control as windows-1252", "&#x80;&#150;", TokenizerState::Data, "\u20AC\u2013", 0},
        {"reference to nothing", "&#0;&#xD800;&#x110000;", TokenizerState::Data,
         "\uFFFD\uFFFD\uFFFD", 0},
        {"quoted attribute value", "<a title=\"x &amp; y\">", TokenizerState::Data, "x & y", 10},
        {"unquoted attribute value", "<a b=1&lt;2>", TokenizerState::Data, "1<2", 5},
        {"legacy reference kept in attribute", "<a href=\"?a&copy=1\">", TokenizerState::Data,
         "?a&copy=1", 9},
        {"RCDATA", "x&gt;y", TokenizerState::Rcdata, "x>y", 0},
        {"comment", "<!-- a -- b -->", TokenizerState::Data, " a -- b ", 4},
        {"CDATA section with text after", "<![CDATA[x]]]>y", TokenizerState::Data, "x]y", 9},
        {"text around a dropped end tag", "a</>b", TokenizerState::Data, "ab", 0},
        {"U+0000 in RCDATA", "a\0b"s, TokenizerState::Rcdata, "a\uFFFDb", std::nullopt},
        {"U+0000 in script data after a reference-free run", "abc\0"s, TokenizerState::ScriptData,
         "abc\uFFFD", std::nullopt},
        {"U+0000 in an attribute value", "<a b=\"\0\">"s, TokenizerState::Data, "\uFFFD",
         std::nullopt},
        {"U+0000 in a comment", "<!--\0-->"s, TokenizerState::Data, "\uFFFD", std::nullopt},
        {"&nGt; is longer than its source", "x&nGt;y", TokenizerState::Data, "x\u226B\u20D2y",
         std::nullopt},
    };
    for (const PlacementRow& row : rows) {
        SCOPED_TRACE(row.name);
        Tokenized t(row.input, row.state, true);
        t.runToEnd();
        const std::vector<TextRef> texts = t.recorder.texts();
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(t.text.view(texts[0]), row.text);
        const bool made = (texts[0].offset & TextRef::kMadeBit) != 0;
        EXPECT_EQ(made, !row.inputOffset.has_value());
        if (row.inputOffset) {
            EXPECT_EQ(texts[0].offset, *row.inputOffset);
        }
        EXPECT_TRUE(t.recorder.textsUnchanged());
    }
}

struct RunRow {
    const char* name;
    std::string input;
    TokenizerState state;
    bool foreign;
    const char* kinds;  // see TokenRecorder::kinds
};

TEST(TokenizerTest, EmitsOneTokenPerRunOfCharacters) {
    const RunRow rows[] = {
        {"text with references and stray '<' and '&'", "a &amp; b < c & d <3", TokenizerState::Data,
         false, "TF"},
        {"tags and comments end runs", "a<p>b</p>c<!--x-->d", TokenizerState::Data, false,
         "TSTETCTF"},
        {"a dropped end tag does not", "a</>b", TokenizerState::Data, false, "TF"},
        {"each U+0000 in data is a token of its own", "a\0\0b"s, TokenizerState::Data, false,
         "TNNTF"},
        {"U+0000 stays in an RCDATA run", "a\0b&amp;\0"s, TokenizerState::Rcdata, false, "TF"},
        {"U+0000 stays in a PLAINTEXT run", "\0<p>\0"s, TokenizerState::Plaintext, false, "TF"},
        {"U+0000 in a CDATA section", "<![CDATA[a\0b]]>"s, TokenizerState::Data, true, "TNTF"},
        {"CDATA section runs on into the text after it", "<![CDATA[a]]>b<p>", TokenizerState::Data,
         true, "TSF"},
        {"CDATA in HTML content is a comment", "<![CDATA[a]]>", TokenizerState::Data, false, "CF"},
        {"script text with an escaped script inside", "<!--<script>x</script>-->y</script>",
         TokenizerState::ScriptData, false, "TF"},
        {"nothing but the end of file", "", TokenizerState::Data, false, "F"},
    };
    for (const RunRow& row : rows) {
        SCOPED_TRACE(row.name);
        Tokenized t(row.input, row.state, row.foreign);
        t.runToEnd();
        EXPECT_EQ(t.recorder.kinds(), row.kinds);
        EXPECT_FALSE(t.tokenizer.run(kAll));
        EXPECT_EQ(t.recorder.endOfFileCount(), 1u);
    }
}

// Switches the tokenizer after start tags as the tree builder does.
class SwitchingSink final : public TokenSink {
public:
    explicit SwitchingSink(TokenRecorder& recorder) : mRecorder(recorder) {}
    void processToken(Token& token) override {
        mRecorder.processToken(token);
        if (token.kind != TokenKind::StartTag) {
            return;
        }
        switch (static_cast<KnownName>(token.name)) {
            case KnownName::Title:
            case KnownName::Textarea:
                tokenizer->switchTo(TokenizerState::Rcdata);
                break;
            case KnownName::Style:
                tokenizer->switchTo(TokenizerState::Rawtext);
                break;
            case KnownName::Script:
                tokenizer->switchTo(TokenizerState::ScriptData);
                break;
            case KnownName::Plaintext:
                tokenizer->switchTo(TokenizerState::Plaintext);
                break;
            default:
                break;
        }
    }
    bool adjustedCurrentNodeIsForeign() const override { return false; }

    Tokenizer* tokenizer = nullptr;

private:
    TokenRecorder& mRecorder;
};

struct SwitchRow {
    const char* name;
    std::string input;
    std::vector<std::string> lines;
};

TEST(TokenizerTest, FollowsTheStatesTheTreeBuilderSwitchesTo) {
    const SwitchRow rows[] = {
        {"title ends at its end tag only",
         "<title>a<b>&amp;</titles></TITLE>x",
         {"StartTag title", "Character a<b>&</titles>", "EndTag title", "Character x"}},
        {"end tag with white space and attributes",
         "<textarea>a</textarea\tid=1>",
         {"StartTag textarea", "Character a", "EndTag textarea"}},
        {"style has no references",
         "<style>&amp;</styl></style>",
         {"StartTag style", "Character &amp;</styl>", "EndTag style"}},
        {"script keeps an escaped end tag",
         "<script><!--<script></script>--></script>",
         {"StartTag script", "Character <!--<script></script>-->", "EndTag script"}},
        {"plaintext never ends",
         "<plaintext></plaintext>",
         {"StartTag plaintext", "Character </plaintext>"}},
        {"the end tag must match the last start tag",
         "<title><textarea></textarea></title>",
         {"StartTag title", "Character <textarea></textarea>", "EndTag title"}},
    };
    for (const SwitchRow& row : rows) {
        SCOPED_TRACE(row.name);
        TextStore text;
        text.input() = row.input;
        NameTable names;
        TokenRecorder recorder(text, names);
        SwitchingSink sink(recorder);
        Tokenizer tokenizer(text, names, sink);
        sink.tokenizer = &tokenizer;
        while (tokenizer.run(kAll)) {
        }
        EXPECT_EQ(recorder.lines(), row.lines);
    }
}

// Tokenizes with a sink that switches states like the tree builder, calling run() with the
// given steps between limits (0: in one call).
std::vector<std::string> tokenizeInSteps(const std::string& input, bool foreign, std::size_t step,
                                         bool* textsUnchanged) {
    TextStore text;
    text.input() = input;
    NameTable names;
    TokenRecorder recorder(text, names);
    recorder.foreign = foreign;
    SwitchingSink sink(recorder);
    Tokenizer tokenizer(text, names, sink);
    sink.tokenizer = &tokenizer;
    std::size_t until = step == 0 ? kAll : step;
    while (tokenizer.run(until)) {
        until += step;
    }
    *textsUnchanged = recorder.textsUnchanged() && recorder.endOfFileCount() == 1;
    return recorder.lines();
}

// Random documents from pieces that switch states, start and end references, hold U+0000 and
// so on: however run() is called, the tokens are the same and no text changes once handed out.
TEST(TokenizerTest, GivesTheSameTokensHoweverTheRunsAreCut) {
    const std::string pieces[] = {
        "<",
        ">",
        "</",
        "/>",
        "&",
        "&amp;",
        "&amp",
        "&#",
        "&#x41",
        "&#128;",
        "&nGt;",
        "&notin",
        "\0"s,
        "<!--",
        "-->",
        "--!>",
        "<!",
        "<![CDATA[",
        "]]>",
        "<?",
        "<!DOCTYPE html",
        "'",
        "\"",
        "=",
        " ",
        "\n",
        "a",
        "B",
        "\u00E9",
        "<p",
        "<P class=x",
        " id='1'",
        "</p>",
        "<title>",
        "</title>",
        "<script>",
        "</script>",
        "<style>",
        "</style>",
        "<textarea>",
        "</textarea>",
        "<plaintext>",
        "<!--<script>",
        "</script >",
        "x=\"&lt;&z\"",
    };
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int document = 0; document < 1000; ++document) {
        std::string input;
        const std::uint32_t length = 20 + next() % 100;
        for (std::uint32_t i = 0; i < length; ++i) {
            input += pieces[next() % std::size(pieces)];
        }
        const bool foreign = document % 3 == 0;
        SCOPED_TRACE(input);
        bool unchanged = false;
        const std::vector<std::string> whole = tokenizeInSteps(input, foreign, 0, &unchanged);
        EXPECT_TRUE(unchanged);
        for (const std::size_t step : {std::size_t{1}, std::size_t{7}}) {
            EXPECT_EQ(tokenizeInSteps(input, foreign, step, &unchanged), whole);
            EXPECT_TRUE(unchanged);
        }
    }
}

// One start tag with count attributes named a0, a1, ... cycling through distinctNames names,
// valued by their position.
std::string tagWithAttributes(int count, int distinctNames) {
    std::string input = "<p";
    for (int i = 0; i < count; ++i) {
        input += " a" + std::to_string(i % distinctNames) + "=" + std::to_string(i);
    }
    return input + ">";
}

// Counts start tag attributes and remembers the first few.
class AttributeCounter final : public TokenSink {
public:
    explicit AttributeCounter(const TextStore& text) : mText(text) {}
    void processToken(Token& token) override {
        if (token.kind == TokenKind::StartTag) {
            count = token.attributes.size();
            for (std::size_t i = 0; i < token.attributes.size() && i < 3; ++i) {
                firstValues.emplace_back(mText.view(token.attributes[i].value));
            }
        }
    }
    bool adjustedCurrentNodeIsForeign() const override { return false; }

    std::size_t count = 0;
    std::vector<std::string> firstValues;

private:
    const TextStore& mText;
};

struct AttributeRow {
    const char* name;
    int count;
    int distinctNames;
    std::size_t kept;
};

TEST(TokenizerTest, KeepsTheFirstOfEachAttributeNameAmongVeryMany) {
    const AttributeRow rows[] = {
        {"a million attributes, a thousand names", 1000000, 1000, 1000},
        // Past the NameTable's 65,535 numbers names cannot be told apart, so all are kept.
        {"more distinct names than numbers", 70000, 70000, 70000},
    };
    for (const AttributeRow& row : rows) {
        SCOPED_TRACE(row.name);
        TextStore text;
        text.input() = tagWithAttributes(row.count, row.distinctNames);
        NameTable names;
        AttributeCounter counter(text);
        Tokenizer tokenizer(text, names, counter);
        const auto start = std::chrono::steady_clock::now();
        while (tokenizer.run(kAll)) {
        }
        // Far beyond what it takes (a tenth of a second); a quadratic duplicate check takes
        // hours.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(counter.count, row.kept);
        EXPECT_EQ(counter.firstValues, (std::vector<std::string>{"0", "1", "2"}));
    }
}

// Counts polls, and throws at a chosen one.
class CountingInterrupt final : public Interrupt {
public:
    struct Abandoned {};
    void poll() override {
        if (++polls == throwAt) {
            throw Abandoned{};
        }
    }
    int polls = 0;
    int throwAt = 0;
};

// Notes how many polls there had been when the first token came, and what it held: its text,
// or a tag's name and attributes, or a doctype's name.
class FirstTokenSink final : public TokenSink {
public:
    FirstTokenSink(const TextStore& text, const NameTable& names,
                   const CountingInterrupt& interrupt)
        : mText(text), mNames(names), mInterrupt(interrupt) {}
    void processToken(Token& token) override {
        if (pollsBeforeFirstToken) {
            return;
        }
        pollsBeforeFirstToken = mInterrupt.polls;
        if (token.kind == TokenKind::StartTag) {
            read = mNames.text(token.name);
            for (const Attribute& a : token.attributes) {
                read +=
                    " " + std::string(mNames.text(a.name)) + "=" + std::string(mText.view(a.value));
            }
        } else if (token.kind == TokenKind::Doctype) {
            read = token.doctype->name;
        } else {
            read = mText.view(token.text);
        }
    }
    bool adjustedCurrentNodeIsForeign() const override { return false; }

    std::optional<int> pollsBeforeFirstToken;
    std::string read;

private:
    const TextStore& mText;
    const NameTable& mNames;
    const CountingInterrupt& mInterrupt;
};

struct LongTokenRow {
    const char* name;
    std::string input;
    TokenizerState state;
    std::string read;  // see FirstTokenSink
};

// Tokens far longer than one step of the tokenizer: read whole, and polled within.
TEST(TokenizerTest, ReadsLongTokensAcrossStepsAndPollsWithin) {
    const std::string many(8u << 20, 'a');
    std::string references;
    std::string referencesRead;
    std::string attributes = "<p";
    for (int i = 0; i < 1000000; ++i) {
        references += "&amp;x";
        referencesRead += "&x";
        attributes += " b";
    }
    const LongTokenRow rows[] = {
        {"run of text", many + "<p>", TokenizerState::Data, many},
        {"run of references", references + "<p>", TokenizerState::Data, referencesRead},
        {"U+0000 after a long run", many + "\0"s, TokenizerState::Rcdata, many + "\uFFFD"},
        {"script data", many + "<!--<script>", TokenizerState::ScriptData, many + "<!--<script>"},
        {"comment", "<!--" + many + "-->", TokenizerState::Data, many},
        {"bogus comment", "<?" + many + ">", TokenizerState::Data, "?" + many},
        {"tag name", "<p" + many + ">", TokenizerState::Data, "p" + many},
        {"attribute value", "<p a=\"" + many + "\">", TokenizerState::Data, "p a=" + many},
        {"attribute value with references", "<p a='" + references + "'>", TokenizerState::Data,
         "p a=" + referencesRead},
        {"many attributes", attributes + ">", TokenizerState::Data, "p b="},
        {"doctype name", "<!DOCTYPE " + many + ">", TokenizerState::Data, many},
    };
    for (const LongTokenRow& row : rows) {
        SCOPED_TRACE(row.name);
        TextStore text;
        text.input() = row.input;
        NameTable names;
        CountingInterrupt interrupt;
        FirstTokenSink sink(text, names, interrupt);
        Tokenizer tokenizer(text, names, sink);
        tokenizer.setInterrupt(&interrupt);
        tokenizer.switchTo(row.state);
        while (tokenizer.run(kAll)) {
        }
        ASSERT_TRUE(sink.pollsBeforeFirstToken);
        EXPECT_GE(*sink.pollsBeforeFirstToken, 4);
        EXPECT_TRUE(sink.read == row.read) << sink.read.size() << " bytes read";
    }
}

TEST(TokenizerTest, AThrowingPollAbandonsTheRun) {
    TextStore text;
    text.input() = "<p title=\"" + std::string(8u << 20, 'x') + "\">";
    NameTable names;
    CountingInterrupt interrupt;
    interrupt.throwAt = 3;
    TokenRecorder recorder(text, names);
    Tokenizer tokenizer(text, names, recorder);
    tokenizer.setInterrupt(&interrupt);
    EXPECT_THROW(tokenizer.run(kAll), CountingInterrupt::Abandoned);
    EXPECT_EQ(interrupt.polls, 3);
    EXPECT_EQ(recorder.kinds(), "");
    EXPECT_LT(tokenizer.position(), text.input().size());
}

TEST(TokenizerTest, StopsSoonAfterTheGivenPosition) {
    Tokenized t("<p>one</p><p>two</p>");
    EXPECT_TRUE(t.tokenizer.run(4));
    EXPECT_GE(t.tokenizer.position(), 4u);
    // A step may finish the token it is in and the tag after it, no more.
    EXPECT_LE(t.tokenizer.position(), 10u);
    EXPECT_TRUE(t.tokenizer.run(12));
    EXPECT_GE(t.tokenizer.position(), 12u);
    EXPECT_EQ(t.recorder.endOfFileCount(), 0u);
    EXPECT_FALSE(t.tokenizer.run(kAll));
    EXPECT_EQ(t.recorder.kinds(), "STESTEF");
}

}  // namespace
}  // namespace veltrano::html::parser
