// Figures of the device link over a pseudo-terminal, at real time (time scale 1):
// the cost of one command and reply beyond the fixed 50 ms delivery pause, and the CPU time
// of an open port's reader thread while nothing arrives for 10 s.
#include <dirent.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/TASession.h"
#include "tests/link/PtyPeer.h"

namespace {

std::set<long> Tasks() {
    std::set<long> tasks;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.') {
                tasks.insert(std::stol(entry->d_name));
            }
        }
        closedir(dir);
    }
    return tasks;
}

// User plus system time of one thread of this process, in milliseconds.
double ThreadCpuMs(long tid) {
    std::ifstream file("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    std::vector<std::string> values;
    while (fields >> field) {
        values.push_back(field);
    }
    // After the name: state is field 3, utime 14 and stime 15 of the whole line.
    if (values.size() < 13) {
        return -1;
    }
    double ticks = std::stod(values[11]) + std::stod(values[12]);
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

std::string Adapter(const std::string& command) {
    if (command == "ATI3") {
        return command + "\r\r\nV3.10.05\r\n\r\nOK\r\n";
    }
    return linktest::PtyPeer::AnswerOk(command);
}

}  // namespace

int main() {
    setenv("QUILAN_TIME_SCALE", "1", 1);  // read once, on first use: before anything waits
    linktest::TestRoot root;
    linktest::PtyPeer peer(Adapter);
    root.Link("COM3", peer.SlavePath());

    CTASession session;
    std::set<long> before = Tasks();
    if (session.Open("COM3") != 0) {
        std::fprintf(stderr, "bench_link: cannot open the port\n");
        return 1;
    }
    std::vector<long> started;
    for (long tid : Tasks()) {
        if (!before.count(tid)) {
            started.push_back(tid);
        }
    }

    constexpr int kRounds = 50;
    std::vector<double> overheadMs;
    for (int round = 0; round < kRounds + 3; ++round) {
        auto start = std::chrono::steady_clock::now();
        if (session.Send("ATI3\r") != 0 || session.WaitForReply() != 0) {
            std::fprintf(stderr, "bench_link: exchange %d failed\n", round);
            return 1;
        }
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (round >= 3) {  // the first rounds warm up
            overheadMs.push_back(took.count() - CSerialPort::kDeliveryPauseMs);
        }
    }
    std::sort(overheadMs.begin(), overheadMs.end());
    double sum = 0;
    for (double ms : overheadMs) {
        sum += ms;
    }
    std::printf(
        "command and reply beyond the %u ms delivery pause (%d rounds): "
        "mean %.3f ms, median %.3f ms, max %.3f ms\n",
        CSerialPort::kDeliveryPauseMs, kRounds, sum / kRounds, overheadMs[kRounds / 2],
        overheadMs.back());

    if (started.size() != 1) {
        std::fprintf(stderr, "bench_link: expected one reader thread, found %zu\n", started.size());
        return 1;
    }
    double readerBefore = ThreadCpuMs(started[0]);
    double processBefore = ProcessCpuMs();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    double readerMs = ThreadCpuMs(started[0]) - readerBefore;
    double processMs = ProcessCpuMs() - processBefore;
    std::printf(
        "reader thread CPU while open and idle for 10 s: %.1f ms "
        "(whole process %.3f ms)\n",
        readerMs, processMs);
    session.Close();
    return 0;
}
