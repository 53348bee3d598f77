#pragma once

#include <stdexcept>
#include <string>

namespace veltrano {

// A failure the user is shown: its text is the description the platform, the file system
// or the failing component gives, exactly as it reaches the failure report.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The platform's description of an errno value ("No such file or directory").
std::string describeErrno(int errorNumber);

}  // namespace veltrano
