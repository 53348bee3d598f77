#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace veltrano::platform {

// The logic keeps text as UTF-8; the windows as QString.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toUtf8(const QString& text) {
    return text.toStdString();
}

}  // namespace veltrano::platform
