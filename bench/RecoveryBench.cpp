// A 1024 MB recovery run through the engine (real memory layer, real event queue) against the
// least a run must do: map 1024 blocks of 1 MiB, fill each, unmap them. Medians over rounds taken
// in turn, so that both see the same machine; the last line is the ratio engine / baseline.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include <sys/mman.h>

#include "platform/linux/LinuxMemory.h"
#include "platform/linux/QtEventQueue.h"
#include "recovery/RamRecovery.h"

namespace {

constexpr int kRounds = 9;
constexpr int kBlocks = 1024;
constexpr std::size_t kBlockSize = 1 << 20;

double Milliseconds(const auto& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Baseline()
{
    std::vector<void*> blocks(kBlocks);
    for (void*& block : blocks) {
        block = ::mmap(nullptr, kBlockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        std::memset(block, 0, kBlockSize);
    }
    for (void* block : blocks)
        ::munmap(block, kBlockSize);
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
    int blocksFilled = 0;
    engine.OnProgress = [&](QObject*, int) { ++blocksFilled; };

    std::vector<double> engineTimes;
    std::vector<double> baselineTimes;
    Baseline();  // warm-up of both paths
    engine.Defrag(kBlocks);
    for (int round = 0; round < kRounds; ++round) {
        baselineTimes.push_back(Milliseconds(Baseline));
        blocksFilled = 0;
        engineTimes.push_back(Milliseconds([&] { engine.Defrag(kBlocks); }));
        if (blocksFilled != 2 * kBlocks) {
            std::fprintf(stderr, "the engine's run ended early (%d steps): not enough free memory here\n", blocksFilled);
            return 1;
        }
    }
    const double engineMs = Median(engineTimes);
    const double baselineMs = Median(baselineTimes);
    std::printf("baseline (mmap, memset, munmap of 1024 MiB): median %.1f ms over %d rounds\n", baselineMs, kRounds);
    std::printf("engine (TRamRecovery::Defrag(1024)):          median %.1f ms over %d rounds\n", engineMs, kRounds);
    std::printf("ratio %.2f\n", engineMs / baselineMs);
    return 0;
}
