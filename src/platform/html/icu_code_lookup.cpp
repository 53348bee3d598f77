#include "platform/html/icu_code_lookup.h"

#include <string>

#include <unicode/ucnv.h>

#include "platform/failure.h"

namespace veltrano::html {

IcuCodeLookup::IcuCodeLookup(const char* converterName) {
    UErrorCode error = U_ZERO_ERROR;
    mConverter = ucnv_open(converterName, &error);
    if (U_SUCCESS(error)) {
        ucnv_setToUCallBack(mConverter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    }
    if (U_FAILURE(error)) {
        ucnv_close(mConverter);
        throw Failure("The character conversion data for " + std::string(converterName) +
                      " cannot be loaded (" + u_errorName(error) + ").");
    }
}

IcuCodeLookup::~IcuCodeLookup() {
    ucnv_close(mConverter);
}

std::optional<char32_t> IcuCodeLookup::decode(std::string_view bytes) {
    ucnv_resetToUnicode(mConverter);
    UErrorCode error = U_ZERO_ERROR;
    const char* source = bytes.data();
    const char* const end = source + bytes.size();
    const UChar32 codePoint = ucnv_getNextUChar(mConverter, &source, end, &error);
    if (U_FAILURE(error) || source != end) {
        return std::nullopt;
    }
    return static_cast<char32_t>(codePoint);
}

}  // namespace veltrano::html
