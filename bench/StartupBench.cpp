// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the tray program against the smallest Qt window built in the same tree, on the
// same X display, interleaved: the time from exec to the first window mapped, and the processor
// time each takes in its first three seconds. Prints medians, then the ratios as its last line.
// Usage (on a display, see startup.sh): startup_bench MNEMORA_XP MINIMAL_WINDOW [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Start {
    double mapMs = -1;
    double cpuMs = -1;
};

// Processor time of every thread of the process so far, in ms.
double ProcessorMs(pid_t process)
{
    double total = 0;
    const std::string tasks = "/proc/" + std::to_string(process) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double ns = 0;
        if (schedstat >> ns)
            total += ns / 1e6;
    }
    return total;
}

Start Measure(xcb_connection_t* x, const char* program)
{
    char home[] = "/tmp/mnemora-startup-XXXXXX";
    if (::mkdtemp(home) == nullptr)
        return {};
    const auto began = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                                     "XDG_RUNTIME_DIR", "MNEMORA_MACHINE_HIVE_DIR"}) {
            const std::string folder = std::string(home) + "/" + variable;
            std::filesystem::create_directories(folder);
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
            ::setenv(variable, folder.c_str(), 1);
        }
        ::execl(program, program, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    Start start;
    pollfd watch{xcb_get_file_descriptor(x), POLLIN, 0};
    while (start.mapMs < 0 && Clock::now() - began < std::chrono::seconds(20)) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect == 0 && start.mapMs < 0)
                start.mapMs = std::chrono::duration<double, std::milli>(Clock::now() - began).count();
            std::free(event);
        }
        ::poll(&watch, 1, 100);
    }
    std::this_thread::sleep_until(began + std::chrono::seconds(3));
    start.cpuMs = ProcessorMs(child);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    std::filesystem::remove_all(home);
    return start;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s MNEMORA_XP MINIMAL_WINDOW [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 7;
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    std::vector<double> programMap, programCpu, anchorMap, anchorCpu;
    for (int round = 0; round < rounds; ++round) {
        // Interleaved, the order alternating: both see the same machine over the same seconds.
        for (int turn = 0; turn < 2; ++turn) {
            const bool program = (round + turn) % 2 == 0;
            const Start start = Measure(x, program ? argv[1] : argv[2]);
            (program ? programMap : anchorMap).push_back(start.mapMs);
            (program ? programCpu : anchorCpu).push_back(start.cpuMs);
        }
    }
    std::printf("exec to first map, median of %d: mnemora-xp %.1f ms, minimal Qt window %.1f ms\n", rounds,
                Median(programMap), Median(anchorMap));
    std::printf("processor time in the first 3 s: mnemora-xp %.1f ms, minimal Qt window %.1f ms\n", Median(programCpu),
                Median(anchorCpu));
    std::printf("startup ratios: first map %.2fx, processor %.2fx\n", Median(programMap) / Median(anchorMap),
                Median(programCpu) / Median(anchorCpu));
    xcb_disconnect(x);
    return 0;
}
