#pragma once

#include <string>
#include <string_view>

namespace veltrano {

class Messages;

inline constexpr std::string_view kSupportAddress = "support@kestrava.com";
inline constexpr std::string_view kFailureTitle = "Application Error";

// A guarded handler's location text: "in Veltrano2021/08/31." + window + "." + handler + " ".
std::string locationText(std::string_view window, std::string_view handler);

// The text of the failure report, byte for byte: description, CR LF, location text,
// "at line ", the number, CR, CR, then the request to mail a screenshot.
std::string composeFailureMessage(std::string_view description, std::string_view location,
                                  int line);

// Shows the composed report and returns once the user has dismissed it. Never fails.
void ReportFailure(Messages& messages, std::string_view description, std::string_view location,
                   int line);

}  // namespace veltrano
