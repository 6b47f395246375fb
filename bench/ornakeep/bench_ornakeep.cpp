// Time of a whole profile read and a whole North American profile write against the adapter
// emulator, at the system's real time scale, each beside its floor: the port's settling pause
// after opening plus the delivery pause of every reply.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ComStorage.h"
#include "link/SerialPort.h"
#include "tools/tasim/Adapter.h"

namespace {

constexpr int kRounds = 5;

_CARDPROFILES SampleCard() {
    _CARDPROFILES card{};
    for (int n = 0; n < 3; ++n) {
        _STOREDPROFILE& p = card.Profiles[n];
        p.Primary.SwitchType = 9;
        p.Alternate.SwitchType = 255;
        std::snprintf(p.Primary.Number1, sizeof p.Primary.Number1, "555010%d", n);
        std::snprintf(p.Primary.Number2, sizeof p.Primary.Number2, "555020%d", n);
        std::snprintf(p.Primary.Spid1, sizeof p.Primary.Spid1, "0155501%d0101", n);
        std::snprintf(p.Primary.Spid2, sizeof p.Primary.Spid2, "0155502%d0101", n);
        std::strcpy(p.Alternate.Number1, p.Primary.Number1);
        std::strcpy(p.Alternate.Number2, p.Primary.Number2);
        p.Protocol = 10 + n;
        p.Bacp = 1;
        p.InitialBillingInterval = 30;
        p.BillingInterval = 6;
    }
    card.DefaultProfile = 1;
    card.NorthAmerica = 1;
    return card;
}

// Milliseconds of each round of `operation`; stops at the first failing round.
std::vector<double> Time(const std::function<std::int32_t()>& operation) {
    std::vector<double> rounds;
    for (int i = 0; i < kRounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::int32_t result = operation();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        if (result != 0) {
            std::printf("  round %d failed with %d\n", i + 1, result);
            break;
        }
        rounds.push_back(took.count());
    }
    return rounds;
}

void Report(const char* name, std::vector<double> rounds, int commands) {
    const double floor = CSerialPort::kSettleMs + commands * double(CSerialPort::kDeliveryPauseMs);
    if (rounds.empty()) {
        std::printf("%-44s  no figure (failed)   floor %7.1f ms\n", name, floor);
        return;
    }
    std::sort(rounds.begin(), rounds.end());
    const double median = rounds[rounds.size() / 2];
    std::printf("%-44s  median %7.1f ms  best %7.1f ms  floor %7.1f ms  over floor %+6.1f ms\n",
                name, median, rounds.front(), floor, median - floor);
}

}  // namespace

int main() {
    // The figures are meant at the system's own times, whatever the caller's environment says.
    setenv("QUILAN_TIME_SCALE", "1", 1);
    char pattern[] = "/tmp/bench-ornakeep-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("QUILAN_ROOT", pattern, 1);
    int status = 0;
    {
        tasim::Adapter card;
        if (!card.Start(pattern, "COM3")) {
            std::filesystem::remove_all(pattern);
            return 1;
        }
        card.SetCardProfiles(SampleCard());
        CComStorage storage;
        CStorage& store = storage;  // the way the user interface calls it

        std::printf("ornakeep against the emulator, time scale 1, %d rounds each\n", kRounds);
        const auto read = Time([&] {
            _CARDPROFILES profiles{};
            std::int32_t result = store.Open("COM3");
            if (result == 0) {
                result = store.ReadProfiles(profiles);
            }
            store.Close();
            return result;
        });
        Report("Open + ReadProfiles + Close (3 commands)", read, 3);

        const _CARDPROFILES record = SampleCard();
        const auto write = Time([&] {
            std::int32_t result = store.Open("COM3");
            if (result == 0) {
                result = store.WriteProfiles(record);
            }
            store.Close();
            return result;
        });
        Report("Open + WriteProfiles NA + Close (41 commands)", write, 41);
        status = read.size() == kRounds && write.size() == kRounds ? 0 : 1;
    }
    std::filesystem::remove_all(pattern);
    return status;
}
