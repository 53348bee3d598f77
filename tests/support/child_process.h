#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace veltrano {

// Runs body in a forked child and returns its exit status, or 128 + the signal that ended it.
// For what a test must not do to its own process: lowering a limit, setting the umask. The
// child leaves with _exit, so nothing of the test's own state is torn down twice.
inline int statusOfChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace veltrano
