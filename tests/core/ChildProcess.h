// Runs part of a test in a forked child process, for what the test process
// itself must not do: die mid-save, live under a file-size limit, or act as
// an ordinary user (tests run as root, which ignores permissions). The child
// reports through its exit status only; the parent makes the assertions.
#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

/// The unprivileged user and group the "ordinary user" scenarios run as.
constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

/// Could not drop privileges in the child.
constexpr int kChildSetupFailed = 125;

/// Runs body in a forked child and returns its exit status, or minus the
/// number of the signal that ended it. With asNobody the child first drops
/// to kNobody and kNoGroup, with no supplementary groups.
inline int RunInChild(const std::function<int()>& body, bool asNobody = false) {
    const pid_t pid = ::fork();
    if (pid < 0) return -1000;
    if (pid == 0) {
        if (asNobody &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNoGroup, kNoGroup, kNoGroup) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0)) {
            ::_exit(kChildSetupFailed);
        }
        ::_exit(body());
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1000;
    }
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}
