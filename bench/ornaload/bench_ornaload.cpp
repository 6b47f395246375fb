// A 64 kB firmware download against the adapter emulator moving bytes at the line rate, beside
// its floor (the port's settling pause, then per block the line time of 133 bytes at 115200
// bit/s and the pause before each delivery), with the processor time of the dialog's thread
// and of the threads the download starts; and the ELM structural check's throughput on a
// 16 MB file beside cat reading the same file.
#include <stdlib.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FileTransferIF.h"
#include "link/SerialPort.h"
#include "ornaload/ElmRecords.h"
#include "platform/ui/HeadlessUser.h"
#include "tools/mkelm/ElmFile.h"
#include "tools/tasim/Adapter.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kDownloadSize = 64 * 1024;
constexpr std::size_t kCheckSize = 16 * 1024 * 1024;
constexpr int kCheckRounds = 5;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Processor time of one thread of this process in milliseconds, or -1 once it has ended.
double ThreadCpuMs(const std::string& tid) {
    std::ifstream stat("/proc/self/task/" + tid + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return -1;
    }
    std::size_t close = line.rfind(')');
    std::vector<std::string> fields;
    std::string field;
    for (std::size_t i = close + 2; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == ' ') {
            fields.push_back(field);
            field.clear();
        } else {
            field += line[i];
        }
    }
    // utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    double ticks = std::stod(fields[11]) + std::stod(fields[12]);
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::vector<std::string> Threads() {
    std::vector<std::string> tids;
    for (const auto& entry : fs::directory_iterator("/proc/self/task")) {
        tids.push_back(entry.path().filename().string());
    }
    return tids;
}

// Samples the processor time of every thread that appears while it runs, in the order they
// appeared, until stopped.
class ThreadSampler {
  public:
    explicit ThreadSampler(std::vector<std::string> known) : m_known(std::move(known)) {
        m_thread = std::thread([this] { Run(); });
    }
    ~ThreadSampler() { Stop(); }
    void Stop() {
        if (m_thread.joinable()) {
            m_bStop = true;
            m_thread.join();
        }
    }
    const std::vector<std::pair<std::string, double>>& Appeared() const { return m_appeared; }

  private:
    void Run() {
        const std::string self = std::to_string(gettid());
        while (!m_bStop) {
            for (const std::string& tid : Threads()) {
                if (tid == self || std::find(m_known.begin(), m_known.end(), tid) != m_known.end()) {
                    continue;
                }
                double ms = ThreadCpuMs(tid);
                auto it = std::find_if(m_appeared.begin(), m_appeared.end(),
                                       [&](const auto& seen) { return seen.first == tid; });
                if (it == m_appeared.end()) {
                    m_appeared.emplace_back(tid, ms);
                } else if (ms >= 0) {
                    it->second = ms;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    std::vector<std::string> m_known;
    std::vector<std::pair<std::string, double>> m_appeared;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

void BenchDownload(const fs::path& root) {
    tasim::Config config;
    config.faults.pace = true;
    tasim::Adapter card(config);
    if (!card.Start(root, "COM2")) {
        return;
    }
    mkelm::ElmLayout layout = mkelm::StandardNorthAmerica();
    layout.size = kDownloadSize;
    fs::path file = root / "BENCH.ELM";
    std::ofstream(file, std::ios::binary) << mkelm::BuildElm(layout);

    ui::HeadlessUser user;
    const std::string self = std::to_string(gettid());
    const double dialogBefore = ThreadCpuMs(self);
    ThreadSampler sampler(Threads());
    CFileTransferIF xfer;
    std::int32_t result = 1;
    const auto start = std::chrono::steady_clock::now();
    xfer.InitializeXfer(nullptr);
    std::int32_t status = xfer.StartXferFromFile(file.c_str(), "COM2", result);
    xfer.TerminateXfer();
    const double took = Seconds(std::chrono::steady_clock::now() - start);
    sampler.Stop();
    const double dialogMs = ThreadCpuMs(self) - dialogBefore;

    const std::size_t blocks = (kDownloadSize + 127) / 128;
    const double lineSeconds = 133.0 * 10.0 / 115200.0;
    const double floor = CSerialPort::kSettleMs / 1000.0 +
                         blocks * (lineSeconds + CSerialPort::kDeliveryPauseMs / 1000.0);
    std::printf("64 kB download (%zu blocks, CRC, paced at 115200 bit/s): status %d, result %d\n",
                blocks, status, result);
    std::printf("  time %.2f s, floor %.2f s (%.1f%% above)\n", took, floor,
                (took / floor - 1.0) * 100.0);
    std::printf("  processor time: dialog thread %.0f ms", dialogMs);
    // The port's reader starts first (the port opens before the dialog), the relay thread next.
    const char* names[] = {"port reader", "relay"};
    for (std::size_t i = 0; i < sampler.Appeared().size() && i < 2; ++i) {
        std::printf(", %s thread %.0f ms", names[i], sampler.Appeared()[i].second);
    }
    std::printf("\n");
}

void BenchCheck(const fs::path& root) {
    mkelm::ElmLayout layout;
    layout.size = kCheckSize;
    layout.recordSize = 4096;
    fs::path file = root / "BIG.ELM";
    std::ofstream(file, std::ios::binary) << mkelm::BuildElm(layout);
    std::string cat = "cat '" + file.string() + "' > /dev/null";

    unsigned char buffer[ornaload::kElmChunkSize];
    double best = 1e9;
    double bestCat = 1e9;
    bool bValid = false;
    for (int round = 0; round < kCheckRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        std::FILE* stream = std::fopen(file.c_str(), "rb");
        bValid = stream && ornaload::AreElmRecordsValid(stream, buffer);
        if (stream) {
            std::fclose(stream);
        }
        best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
        start = std::chrono::steady_clock::now();
        if (std::system(cat.c_str()) != 0) {
            std::printf("  cat failed\n");
        }
        bestCat = std::min(bestCat, Seconds(std::chrono::steady_clock::now() - start));
    }
    const double megabytes = kCheckSize / (1024.0 * 1024.0);
    std::printf("structural check of a 16 MB ELM file (%s): %.0f MB/s (%.1f ms); cat: %.0f MB/s "
                "(%.1f ms), best of %d\n",
                bValid ? "valid" : "INVALID", megabytes / best, best * 1000, megabytes / bestCat,
                bestCat * 1000, kCheckRounds);
}

}  // namespace

int main() {
    char pattern[] = "/tmp/quilan-bench-load-XXXXXX";
    if (!mkdtemp(pattern)) {
        return 1;
    }
    fs::path root = pattern;
    fs::create_directories(root / "ports");
    setenv("QUILAN_ROOT", root.c_str(), 1);
    setenv("QUILAN_TIME_SCALE", "1", 1);
    setenv("QUILAN_FRONTEND", "headless", 1);
    BenchCheck(root);
    BenchDownload(root);
    fs::remove_all(root);
    return 0;
}
