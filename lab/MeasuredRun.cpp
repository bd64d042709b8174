// SPDX-License-Identifier: GPL-3.0-or-later
// lab-measure OUT PROGRAM [ARGS...]: runs the program and writes to OUT what the lab reports of a
// run: its wall time, its peak resident memory, how it ended. The program's own output passes.
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: lab-measure OUT PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(argv[2], argv + 2);
        std::perror("lab-measure: exec");
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) {
        std::perror("lab-measure");
        return 1;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror("lab-measure: OUT");
        return 1;
    }
    std::fprintf(out, "time_ms %lld\npeak_kb %ld\nstatus %d\nsignal %d\n", static_cast<long long>(elapsed.count()),
                 usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1, WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    return std::fclose(out) == 0 ? 0 : 1;
}
