// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kpxtest {

// Runs work in a child process whose files may grow to at most limit bytes; the child's exit
// status is work's result. Writes past the limit fail with EFBIG instead of killing the child.
inline int runWithFileSizeLimit(rlim_t limit, const std::function<int()> &work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl { limit, limit };
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
            ::_exit(99);
        ::_exit(work());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

} // namespace kpxtest
