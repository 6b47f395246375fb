// Figures of the card library:
// - the time of a full detection pass (removed cards, then inserted cards, over all ten slots)
//   with one emulated adapter on COM3 and nine absent ports, beside its floor: the 1500 ms
//   settling pause of the port plus three command round trips with their 50 ms delivery pause;
// - GetCardInfoList operations per second from 4 processes at once, each its own process
//   (this program run again as a worker) on the one shared list and its lock.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CardList.h"
#include "link/SerialPort.h"
#include "platform/sys/Time.h"
#include "tools/tasim/Adapter.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One pass as the cards page runs it; returns the slots it reported.
std::string DetectionPass(CCardList& list) {
    std::string found;
    for (int slot = list.FindRemovedCard(0); slot >= 0; slot = list.FindRemovedCard(slot + 1)) {
        found += " removed " + std::to_string(slot);
    }
    for (int slot = list.FindInsertedCard(0); slot >= 0; slot = list.FindInsertedCard(slot + 1)) {
        found += " inserted " + std::to_string(slot);
    }
    _CardInfo cards[10];
    int count = 10;
    list.GetCardInfoList(cards, count);
    return found + ", " + std::to_string(count) + " listed";
}

// Worker: after the start line on standard input, GetCardInfoList for `seconds`; prints the
// number of calls that succeeded.
int Worker(double seconds) {
    CCardList list;
    _CardInfo cards[10];
    int count = 10;
    list.GetCardInfoList(cards, count);  // attached before the clock starts
    std::getchar();
    long calls = 0;
    Clock::time_point start = Clock::now();
    auto limit = std::chrono::duration<double>(seconds);
    while (Clock::now() - start < limit) {
        count = 10;
        if (list.GetCardInfoList(cards, count) == 0) {
            ++calls;
        }
    }
    std::printf("%ld\n", calls);
    return 0;
}

struct WorkerProcess {
    pid_t pid;
    int input;
    FILE* output;
};

double CpuSecondsOfChildren() {
    rusage usage = {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Throughput {
    double perSecond;     // calls per second of wall-clock time, all processes together
    double perCpuSecond;  // calls per second of processor time the workers got
};

// The machine may be shared: the processor time the workers really got is reported as well.
Throughput OpsPerSecondFromProcesses(int processes, double seconds) {
    const double cpuBefore = CpuSecondsOfChildren();
    std::vector<WorkerProcess> workers;
    std::string duration = std::to_string(seconds);
    for (int i = 0; i < processes; ++i) {
        int toWorker[2];
        int fromWorker[2];
        if (pipe(toWorker) != 0 || pipe(fromWorker) != 0) {
            return {};
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toWorker[0], 0);
        posix_spawn_file_actions_adddup2(&actions, fromWorker[1], 1);
        posix_spawn_file_actions_addclose(&actions, toWorker[1]);
        posix_spawn_file_actions_addclose(&actions, fromWorker[0]);
        char self[] = "/proc/self/exe";
        char role[] = "--worker";
        char* argv[] = {self, role, duration.data(), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv, environ) != 0) {
            return {};
        }
        posix_spawn_file_actions_destroy(&actions);
        close(toWorker[0]);
        close(fromWorker[1]);
        workers.push_back({pid, toWorker[1], fdopen(fromWorker[0], "r")});
    }
    usleep(300000);  // let every worker start and attach
    for (WorkerProcess& worker : workers) {
        [[maybe_unused]] ssize_t written = write(worker.input, "\n", 1);
    }
    long total = 0;
    for (WorkerProcess& worker : workers) {
        long calls = 0;
        if (std::fscanf(worker.output, "%ld", &calls) == 1) {
            total += calls;
        }
        fclose(worker.output);
        close(worker.input);
        waitpid(worker.pid, nullptr, 0);
    }
    const double cpu = CpuSecondsOfChildren() - cpuBefore;
    return {total / seconds, cpu > 0 ? total / cpu : 0};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--worker") {
        return Worker(std::atof(argv[2]));
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "quilan-bench-XXXXXX");
    std::filesystem::path root = mkdtemp(pattern.data());
    std::filesystem::create_directory(root / "ports");
    setenv("QUILAN_ROOT", root.c_str(), 1);
    int result = 0;
    {
        tasim::Adapter adapter;
        if (!adapter.Start(root, "COM3")) {
            result = 1;
        } else {
            CCardList list;
            const double floor = CSerialPort::kSettleMs + 3.0 * CSerialPort::kDeliveryPauseMs;
            std::printf("time scale %.3g; one adapter on COM3, nine absent ports\n",
                        sys::TimeScale());
            std::printf(
                "detection pass floor: %.0f ms (settle %u ms + 3 x %u ms delivery pause)"
                " x time scale = %.1f ms\n",
                floor, CSerialPort::kSettleMs, CSerialPort::kDeliveryPauseMs,
                floor * sys::TimeScale());
            for (const char* kind : {"first pass (card found)", "second pass (card refreshed)",
                                     "third pass (card refreshed)"}) {
                Clock::time_point start = Clock::now();
                std::string found = DetectionPass(list);
                double ms = MsSince(start);
                std::printf("%-30s %8.1f ms  (%.1f ms over the floor)%s\n", kind, ms,
                            ms - floor * sys::TimeScale(), found.c_str());
            }
            for (int processes : {1, 4}) {
                Throughput figure = OpsPerSecondFromProcesses(processes, 1.0);
                std::printf(
                    "GetCardInfoList from %d process%s at once: %.0f ops/s"
                    " (%.0f ops per processor second)\n",
                    processes, processes == 1 ? "" : "es", figure.perSecond, figure.perCpuSecond);
            }
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return result;
}
