#include "platform/html/encoding_sniffer.h"

#include <algorithm>
#include <string>
#include <vector>

namespace veltrano::html {
namespace {

bool isSpace(char c) {
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char toLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The encoding named after "charset=" in a content value such as "text/html; charset=koi8-r".
std::optional<Encoding> encodingFromMetaContent(std::string_view content) {
    constexpr std::string_view kCharset = "charset";
    std::size_t position = 0;
    for (;;) {
        auto found = std::search(content.begin() + static_cast<std::ptrdiff_t>(position),
                                 content.end(), kCharset.begin(), kCharset.end(),
                                 [](char a, char b) { return toLower(a) == b; });
        if (found == content.end()) {
            return std::nullopt;
        }
        position = static_cast<std::size_t>(found - content.begin()) + kCharset.size();
        while (position < content.size() && isSpace(content[position])) {
            ++position;
        }
        if (position < content.size() && content[position] == '=') {
            break;
        }
    }
    ++position;
    while (position < content.size() && isSpace(content[position])) {
        ++position;
    }
    if (position == content.size()) {
        return std::nullopt;
    }
    const char first = content[position];
    if (first == '"' || first == '\'') {
        const std::size_t close = content.find(first, position + 1);
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        return encodingForLabel(content.substr(position + 1, close - position - 1));
    }
    const std::size_t end = std::min(content.find_first_of("\t\n\f\r ;", position), content.size());
    return encodingForLabel(content.substr(position, end - position));
}

struct Attribute {
    std::string name;   // lower case
    std::string value;  // lower case
};

// One pass of the prescan over its bytes. Running out of bytes anywhere ends the scan without
// an answer: a declaration counts only once its element has been read to the end.
class Prescanner final {
public:
    explicit Prescanner(std::string_view bytes) : mBytes(bytes.substr(0, kPrescanLength)) {}

    std::optional<Encoding> run() {
        while (!atEnd()) {
            if (startsWith("<!--")) {
                if (!skipTo("-->", 2)) {
                    return std::nullopt;
                }
                mPosition += 2;
            } else if (atMetaStart()) {
                mPosition += 6;
                if (std::optional<Encoding> encoding = readMetaAttributes()) {
                    return encoding;
                }
            } else if (atTagStart()) {
                mPosition = std::min(mBytes.find_first_of("\t\n\f\r >", mPosition), mBytes.size());
                while (nextAttribute()) {
                }
            } else if (startsWith("<!") || startsWith("</") || startsWith("<?")) {
                if (!skipTo(">", 0)) {
                    return std::nullopt;
                }
            }
            ++mPosition;
        }
        return std::nullopt;
    }

private:
    bool atEnd() const { return mPosition >= mBytes.size(); }
    char current() const { return mBytes[mPosition]; }

    bool startsWith(std::string_view prefix) const {
        return mBytes.substr(mPosition).starts_with(prefix);
    }

    // "<meta" in any case followed by white space or a slash.
    bool atMetaStart() const {
        if (mBytes.size() - mPosition < 6 || current() != '<') {
            return false;
        }
        for (std::size_t i = 0; i < 4; ++i) {
            if (toLower(mBytes[mPosition + 1 + i]) != "meta"[i]) {
                return false;
            }
        }
        const char after = mBytes[mPosition + 5];
        return isSpace(after) || after == '/';
    }

    // "<" or "</" followed by a letter: a start or end tag whose attributes are skipped.
    bool atTagStart() const {
        if (current() != '<') {
            return false;
        }
        const std::size_t letter = mPosition + (startsWith("</") ? 2 : 1);
        return letter < mBytes.size() && isAsciiLetter(mBytes[letter]);
    }

    // Moves to the first match of needle at or after offset bytes from here; false when none.
    bool skipTo(std::string_view needle, std::size_t offset) {
        mPosition = mBytes.find(needle, mPosition + offset);
        return mPosition != std::string_view::npos;
    }

    void skipSpaces() {
        while (!atEnd() && isSpace(current())) {
            ++mPosition;
        }
    }

    // The attributes of a <meta> from here to its ">"; the encoding it declares if it counts.
    std::optional<Encoding> readMetaAttributes() {
        std::vector<std::string> seenNames;
        bool gotPragma = false;
        // Unset until a charset is found (even an unknown one): a content attribute counts only
        // while it is unset, and then needs an http-equiv of content-type.
        std::optional<bool> needPragma;
        std::optional<Encoding> charset;
        while (std::optional<Attribute> attribute = nextAttribute()) {
            if (std::find(seenNames.begin(), seenNames.end(), attribute->name) != seenNames.end()) {
                continue;
            }
            seenNames.push_back(attribute->name);
            if (attribute->name == "http-equiv") {
                gotPragma = gotPragma || attribute->value == "content-type";
            } else if (attribute->name == "content") {
                std::optional<Encoding> declared = encodingFromMetaContent(attribute->value);
                if (declared && !needPragma) {
                    charset = declared;
                    needPragma = true;
                }
            } else if (attribute->name == "charset") {
                charset = encodingForLabel(attribute->value);
                needPragma = false;
            }
        }
        if (atEnd() || !needPragma || (*needPragma && !gotPragma) || !charset) {
            return std::nullopt;
        }
        if (*charset == Encoding::Utf16Be || *charset == Encoding::Utf16Le) {
            return Encoding::Utf8;
        }
        if (*charset == Encoding::XUserDefined) {
            return Encoding::Windows1252;
        }
        return charset;
    }

    // The next attribute of the tag being read; nothing at its ">" or at the end of the bytes.
    std::optional<Attribute> nextAttribute() {
        while (!atEnd() && (isSpace(current()) || current() == '/')) {
            ++mPosition;
        }
        if (atEnd() || current() == '>') {
            return std::nullopt;
        }
        Attribute attribute;
        for (;; ++mPosition) {
            if (atEnd()) {
                return std::nullopt;
            }
            const char c = current();
            if (c == '=' && !attribute.name.empty()) {
                break;
            }
            if (isSpace(c)) {
                skipSpaces();
                if (atEnd()) {
                    return std::nullopt;
                }
                if (current() != '=') {
                    return attribute;
                }
                break;
            }
            if (c == '/' || c == '>') {
                return attribute;
            }
            attribute.name += toLower(c);
        }
        ++mPosition;
        skipSpaces();
        if (atEnd()) {
            return std::nullopt;
        }
        const char first = current();
        if (first == '"' || first == '\'') {
            for (++mPosition; !atEnd(); ++mPosition) {
                if (current() == first) {
                    ++mPosition;
                    return attribute;
                }
                attribute.value += toLower(current());
            }
            return std::nullopt;
        }
        for (; !atEnd(); ++mPosition) {
            if (isSpace(current()) || current() == '>') {
                return attribute;
            }
            attribute.value += toLower(current());
        }
        return std::nullopt;
    }

    std::string_view mBytes;
    std::size_t mPosition = 0;
};

}  // namespace

std::optional<ByteOrderMark> sniffByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return ByteOrderMark{Encoding::Utf8, 3};
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return ByteOrderMark{Encoding::Utf16Be, 2};
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return ByteOrderMark{Encoding::Utf16Le, 2};
    }
    return std::nullopt;
}

std::optional<Encoding> prescanForEncoding(std::string_view bytes) {
    return Prescanner(bytes).run();
}

}  // namespace veltrano::html
