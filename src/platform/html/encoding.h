#pragma once

#include <optional>
#include <string_view>

namespace veltrano::html {

// The encodings of the Encoding Standard. Every label a document may declare resolves to one of
// these; the decoders are chosen by it.
enum class Encoding {
    Utf8,
    Ibm866,
    Iso8859_2,
    Iso8859_3,
    Iso8859_4,
    Iso8859_5,
    Iso8859_6,
    Iso8859_7,
    Iso8859_8,
    Iso8859_8I,
    Iso8859_10,
    Iso8859_13,
    Iso8859_14,
    Iso8859_15,
    Iso8859_16,
    Koi8R,
    Koi8U,
    Macintosh,
    Windows874,
    Windows1250,
    Windows1251,
    Windows1252,
    Windows1253,
    Windows1254,
    Windows1255,
    Windows1256,
    Windows1257,
    Windows1258,
    XMacCyrillic,
    Gbk,
    Gb18030,
    Big5,
    EucJp,
    Iso2022Jp,
    ShiftJis,
    EucKr,
    Replacement,
    Utf16Be,
    Utf16Le,
    XUserDefined,
};

// The encoding's name in the Encoding Standard ("windows-1252", "UTF-8", "Shift_JIS").
std::string_view encodingName(Encoding encoding);

// The encoding a label stands for, after trimming ASCII whitespace and ignoring ASCII case
// ("  Latin1 " is windows-1252); nothing for an unknown label.
std::optional<Encoding> encodingForLabel(std::string_view label);

}  // namespace veltrano::html
