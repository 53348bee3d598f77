#include "platform/html/document_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/html/text_decoder.h"

namespace veltrano::html {
namespace {

using namespace std::string_literals;

// A file that hands out its bytes a few at a time, so that pieces end anywhere.
class TrickleReader final : public platform::FileReader {
public:
    TrickleReader(std::string bytes, std::size_t step) : mBytes(std::move(bytes)), mStep(step) {}
    std::uint64_t size() const override { return mBytes.size(); }
    std::size_t read(std::span<char> buffer) override {
        const std::size_t count = std::min({buffer.size(), mStep, mBytes.size() - mPosition});
        std::memcpy(buffer.data(), mBytes.data() + mPosition, count);
        mPosition += count;
        return count;
    }
    void rewind() override { mPosition = 0; }

private:
    std::string mBytes;
    std::size_t mStep;
    std::size_t mPosition = 0;
};

class RecordedProgress final : public ReadingProgress {
public:
    void bytesRead(std::uint64_t done, std::uint64_t total) override {
        reports.push_back(done);
        EXPECT_LE(done, total);
    }
    std::vector<std::uint64_t> reports;
};

std::string normalized(std::string text) {
    bool afterCr = false;
    normalizeNewlines(text, 0, afterCr);
    return text;
}

std::string repeated(const std::string& pattern, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += pattern;
    }
    return text;
}

TEST(DocumentText, ReadsLikeTheWholeFileWhereverPiecesEnd) {
    struct Row {
        const char* name;
        std::string bytes;
        const char* encoding;
    };
    const std::string utf8Line = "<td>Gda\u0144sk \U0001F600 \u20AC</td>\r\n";
    const Row rows[] = {
        {"undeclared valid UTF-8, CR LF everywhere", repeated(utf8Line, 3000), "UTF-8"},
        {"one bad byte late in the file makes it windows-1252",
         repeated(utf8Line, 3000) + "caf\xE9\r", "windows-1252"},
        {"UTF-8 cut off at the very end", repeated(utf8Line, 3000) + "\xE2\x82", "windows-1252"},
        {"UTF-16LE with surrogate pairs",
         "\xFF\xFE"s + repeated("<\0p\0>\0=\xD8\x00\xDE\r\0\n\0"s, 3000), "UTF-16LE"},
        {"declared Shift_JIS",
         "<meta charset=shift_jis>" + repeated("\x95\x5C\x94\x5C\r\x81", 3000) + "<", "Shift_JIS"},
        {"lone CRs", repeated("a\rb\r\r", 3000), "UTF-8"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DecodedText whole = decodeHtmlBytes(row.bytes);
        for (const std::size_t step : {std::size_t{1}, std::size_t{7}, std::size_t{1000}}) {
            TrickleReader file(row.bytes, step);
            RecordedProgress progress;
            std::string text;
            const Encoding encoding = readDocumentText(file, text, progress);
            EXPECT_EQ(encodingName(encoding), row.encoding) << "step " << step;
            EXPECT_EQ(text, normalized(whole.utf8)) << "step " << step;
            ASSERT_FALSE(progress.reports.empty());
            EXPECT_EQ(progress.reports.back(), row.bytes.size());
        }
    }
}

TEST(DocumentText, ProgressCanStopTheReading) {
    struct Stop {};
    class StoppingProgress final : public ReadingProgress {
    public:
        void bytesRead(std::uint64_t, std::uint64_t) override { throw Stop(); }
    } progress;
    TrickleReader file(std::string(3 << 20, 'x'), 4096);
    std::string text;
    EXPECT_THROW(readDocumentText(file, text, progress), Stop);
}

TEST(DocumentText, NormalizesNewlinesAcrossPieces) {
    struct Row {
        const char* name;
        std::vector<std::string> pieces;
        std::string expected;
    };
    const Row rows[] = {
        {"CR LF split between pieces", {"a\r", "\nb"}, "a\nb"},
        {"CR at the end of a piece, CR next", {"a\r", "\rb"}, "a\n\nb"},
        {"empty piece between CR and LF", {"a\r", "", "\nb"}, "a\nb"},
        {"no CR at all", {"abc", "def"}, "abcdef"},
        {"CR LF CR LF", {"\r\n\r\n"}, "\n\n"},
    };
    for (const Row& row : rows) {
        std::string text;
        bool afterCr = false;
        for (const std::string& piece : row.pieces) {
            const std::size_t from = text.size();
            text += piece;
            normalizeNewlines(text, from, afterCr);
        }
        EXPECT_EQ(text, row.expected) << row.name;
    }
}

}  // namespace
}  // namespace veltrano::html
