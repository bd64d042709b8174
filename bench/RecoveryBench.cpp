// SPDX-License-Identifier: GPL-3.0-or-later
// A 1024 MB recovery run through the engine (real memory layer, real event queue) against the
// least a run must do: map 1024 blocks of 1 MiB, fill each, unmap them. The kernel's own floor is
// measured beside them: the same blocks mapped with MAP_POPULATE, which has the kernel back them
// without a single user-mode fault, then unmapped. The three take turns within each round (the
// order rotating from round to round), so that a round's figures saw the same machine; the last
// lines are the floor and the ratio: the medians of each round's share of its baseline, in
// elapsed time. The same shares in processor time come before them: on a machine others are busy
// on, they show what the elapsed ones would be on a quiet one.
#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <sys/mman.h>
#include <time.h>

#include "platform/linux/LinuxMemory.h"
#include "platform/linux/QtEventQueue.h"
#include "recovery/RamRecovery.h"

namespace {

constexpr int kRounds = 9;
constexpr int kBlocks = 1024;
constexpr std::size_t kBlockSize = 1 << 20;

// Elapsed time, and this thread's time on a processor, which a busy machine stretches far less.
struct Sample {
    double wallMs = 0;
    double processorMs = 0;
};

double ThreadProcessorMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

Sample Measure(const std::function<void()>& work)
{
    const double processorStart = ThreadProcessorMs();
    const auto start = std::chrono::steady_clock::now();
    work();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
            ThreadProcessorMs() - processorStart};
}

void MapFillUnmap(int extraFlags, bool fill)
{
    std::vector<void*> blocks(kBlocks);
    for (void*& block : blocks) {
        block = ::mmap(nullptr, kBlockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | extraFlags, -1, 0);
        if (fill)
            std::memset(block, 0, kBlockSize);
    }
    for (void* block : blocks)
        ::munmap(block, kBlockSize);
}

void Baseline()
{
    MapFillUnmap(0, true);
}

void KernelFloor()
{
    MapFillUnmap(MAP_POPULATE, false);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    platform::LinuxMemory memory;
    platform::QtEventQueue events;
    TRamRecovery engine(memory, events);
    int steps = 0;
    engine.OnProgress = [&](QObject*, int) { ++steps; };
    const auto engineRun = [&] { engine.Defrag(kBlocks); };

    enum { kBaseline, kEngine, kFloor, kKinds };
    const std::array<std::function<void()>, kKinds> work{Baseline, engineRun, KernelFloor};
    const std::array<const char*, kKinds> names{"baseline (mmap, memset, munmap of 1024 MiB)",
                                                "engine (TRamRecovery::Defrag(1024))        ",
                                                "kernel floor (mmap MAP_POPULATE, munmap)   "};
    std::array<std::vector<Sample>, kKinds> samples;
    for (const auto& kind : work)  // warm-up of every path
        kind();
    for (int round = 0; round < kRounds; ++round) {
        for (int turn = 0; turn < kKinds; ++turn) {
            const int kind = (round + turn) % kKinds;
            steps = 0;
            samples[kind].push_back(Measure(work[kind]));
            if (kind == kEngine && steps != 2 * kBlocks) {
                std::fprintf(stderr, "the engine's run ended early (%d steps): not enough free memory here\n", steps);
                return 1;
            }
        }
    }
    // Each round's figures as shares of that round's baseline; the medians of those shares.
    const auto medianShare = [&](int kind, double Sample::*field) {
        std::vector<double> shares;
        for (int round = 0; round < kRounds; ++round)
            shares.push_back(samples[kind][round].*field / samples[kBaseline][round].*field);
        return Median(shares);
    };
    const auto median = [&](int kind, double Sample::*field) {
        std::vector<double> values;
        for (const Sample& sample : samples[kind])
            values.push_back(sample.*field);
        return Median(values);
    };
    for (int kind = 0; kind < kKinds; ++kind)
        std::printf("%s: median %.1f ms, on a processor %.1f ms, over %d rounds\n", names[kind],
                    median(kind, &Sample::wallMs), median(kind, &Sample::processorMs), kRounds);
    std::printf("on a processor: floor %.2f ratio %.2f\n", medianShare(kFloor, &Sample::processorMs),
                medianShare(kEngine, &Sample::processorMs));
    std::printf("floor %.2f\n", medianShare(kFloor, &Sample::wallMs));
    std::printf("ratio %.2f\n", medianShare(kEngine, &Sample::wallMs));
    return 0;
}
