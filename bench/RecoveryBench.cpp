// A 1024 MB recovery run through the engine (real memory layer, real event queue) against the
// least a run must do: map 1024 blocks of 1 MiB, fill each, unmap them. The kernel's own floor is
// measured beside them: the same blocks mapped with MAP_POPULATE, which has the kernel back them
// without a single user-mode fault, then unmapped. Medians over rounds taken in turn (the order
// rotating from round to round), so that all three see the same machine; the last lines are the
// floor and the ratio, both against the baseline.
#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <sys/mman.h>

#include "platform/linux/LinuxMemory.h"
#include "platform/linux/QtEventQueue.h"
#include "recovery/RamRecovery.h"

namespace {

constexpr int kRounds = 9;
constexpr int kBlocks = 1024;
constexpr std::size_t kBlockSize = 1 << 20;

double Milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
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
    std::array<std::vector<double>, kKinds> times;
    for (const auto& kind : work)  // warm-up of every path
        kind();
    for (int round = 0; round < kRounds; ++round) {
        for (int turn = 0; turn < kKinds; ++turn) {
            const int kind = (round + turn) % kKinds;
            steps = 0;
            times[kind].push_back(Milliseconds(work[kind]));
            if (kind == kEngine && steps != 2 * kBlocks) {
                std::fprintf(stderr, "the engine's run ended early (%d steps): not enough free memory here\n", steps);
                return 1;
            }
        }
    }
    const double baselineMs = Median(times[kBaseline]);
    const double engineMs = Median(times[kEngine]);
    const double floorMs = Median(times[kFloor]);
    std::printf("baseline (mmap, memset, munmap of 1024 MiB): median %.1f ms over %d rounds\n", baselineMs, kRounds);
    std::printf("engine (TRamRecovery::Defrag(1024)):          median %.1f ms over %d rounds\n", engineMs, kRounds);
    std::printf("kernel floor (mmap MAP_POPULATE, munmap):     median %.1f ms over %d rounds\n", floorMs, kRounds);
    std::printf("floor %.2f\n", floorMs / baselineMs);
    std::printf("ratio %.2f\n", engineMs / baselineMs);
    return 0;
}
