#include "shell/failure_report.h"

#include "shell/messages.h"

namespace veltrano {

std::string composeFailureMessage(std::string_view description, std::string_view location,
                                  int line) {
    std::string text;
    text.append(description)
        .append("\r\n")
        .append(location)
        .append("at line ")
        .append(std::to_string(line))
        .append("\r\r")
        .append("Please email screenshot of this message to ")
        .append(kSupportAddress);
    return text;
}

std::string locationText(std::string_view window, std::string_view handler) {
    std::string text = "in Veltrano2021/08/31.";
    text.append(window).append(".").append(handler).append(" ");
    return text;
}

void ReportFailure(Messages& messages, std::string_view description, std::string_view location,
                   int line) {
    try {
        messages.showFailure(composeFailureMessage(description, location, line));
    } catch (...) {
        // The report is the last line of defence: a failure to show it has nowhere to go.
    }
}

}  // namespace veltrano
