// SPDX-License-Identifier: GPL-3.0-or-later
// A process that holds memory it has written, to stand beside a recovery run in the same memory
// group. Usage: MemoryVictim MB. Prints "ready" once the memory is written, then waits until its
// input closes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::size_t bytes = std::strtoull(argv[1], nullptr, 10) << 20;
    auto* memory = static_cast<char*>(std::malloc(bytes));
    if (memory == nullptr)
        return 3;
    std::memset(memory, 0x5a, bytes);
    std::puts("ready");
    std::fflush(stdout);
    char byte = 0;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    return memory[bytes / 2] == 0x5a ? 0 : 4;
}
