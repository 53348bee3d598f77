#include "shell/application_title.h"

namespace veltrano {

namespace {

constexpr std::size_t kMaximumTitleLength = 40;

std::string& titleStorage() {
    static std::string title(kProductName);
    return title;
}

}  // namespace

std::string deriveApplicationTitle(std::string_view productName) {
    std::string_view title = productName;
    do {
        const std::size_t lastBlank = title.rfind(' ');
        if (lastBlank == std::string_view::npos) {
            break;
        }
        title = title.substr(0, lastBlank);
    } while (title.size() > kMaximumTitleLength);
    return std::string(title);
}

void SetApplicationTitle() {
    titleStorage() = deriveApplicationTitle(kProductName);
}

const std::string& applicationTitle() {
    return titleStorage();
}

}  // namespace veltrano
