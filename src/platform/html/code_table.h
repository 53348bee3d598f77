#pragma once

#include <cstddef>
#include <vector>

namespace veltrano::html {

// The character sets behind the multi-byte encodings. A character's pointer is its position
// in the set, computed from its bytes the same way browsers do.
enum class CharacterSet {
    Jis0208,          // Shift_JIS, EUC-JP and ISO-2022-JP
    Jis0212,          // EUC-JP after 0x8F
    EucKr,            // EUC-KR, with the Windows (Unified Hangul Code) extension
    Big5,             // Big5 with the Hong Kong extensions
    Gb18030,          // the two-byte characters of GBK and gb18030
    Gb18030FourByte,  // the four-byte characters of gb18030 up to U+FFFF
};

// The code points of a character set by pointer, taken from ICU's converter once and kept for
// the life of the process.
class CodeTable final {
public:
    // Thread-safe; throws veltrano::Failure when ICU's converter cannot be loaded.
    static const CodeTable& forSet(CharacterSet set);

    // The character at pointer; 0 where the set has none.
    char32_t at(std::size_t pointer) const {
        return pointer < mCodePoints.size() ? mCodePoints[pointer] : 0;
    }

private:
    friend class CodeTableBuilder;

    std::vector<char32_t> mCodePoints;
};

}  // namespace veltrano::html
