// SPDX-License-Identifier: GPL-3.0-or-later
// lab-hold MB: an idle application as the memory lab sees one. Takes MB MiB of anonymous memory,
// writes every page once (with varied bytes, so that no page is a zero page or compresses to
// nothing), says "ready" on standard output, then sleeps until it is ended.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    char* end = nullptr;
    const long megabytes = argc == 2 ? std::strtol(argv[1], &end, 10) : -1;
    if (megabytes <= 0 || *end != '\0') {
        std::fputs("usage: lab-hold MB\n", stderr);
        return 2;
    }
    const std::size_t size = static_cast<std::size_t>(megabytes) << 20;
    void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        std::perror("lab-hold: mmap");
        return 1;
    }
    auto* words = static_cast<std::uint64_t*>(block);
    std::uint64_t state = 0x9E3779B97F4A7C15u ^ static_cast<std::uint64_t>(::getpid());
    for (std::size_t i = 0; i < size / sizeof(std::uint64_t); ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        words[i] = state;
    }
    std::puts("ready");
    std::fflush(stdout);
    for (;;)
        ::pause();
}
