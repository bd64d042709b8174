// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a child process and kills it (SIGKILL) the given microseconds after the child said
// it was ready by writing a byte to the pipe end it is handed; work never returns. False when the
// child could not be started or never said it was ready.
inline bool KillWhileWorking(const std::function<void(int readyPipe)>& work, useconds_t after)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        ::close(ready[0]);
        work(ready[1]);
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    ::usleep(after);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return started;
}
