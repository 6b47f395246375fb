// The fault matrix: every fault the emulator injects, crossed with every operation on a card,
// against an emulated adapter on a real pseudo-terminal.
//
// Each cell states the code its operation ends with and whether the card's stored memory is
// then the record written or unchanged. Every cell also checks that the operation returned
// within its time limit (the waits it may make for the commands it sent, on the time scale),
// that the port is released (the next operation on it works, and no descriptor on it is left
// once the card is gone) and that no thread is left.
//
// A column is an Operation below and one Expect member of Row; the loader's faults are rows
// already, so the firmware download joins as one more column.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>

#include "CardInfo.h"
#include "ComStorage.h"
#include "link/SerialPort.h"
#include "link/TASession.h"
#include "platform/sys/Time.h"
#include "tests/ornakeep/CardListing.h"
#include "tests/ornaslot/TestRoot.h"
#include "tools/tasim/Adapter.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kPort[] = "COM3";

// What the card holds afterwards: what it held before, or the record the cell wrote.
enum class Stored { Unchanged, Written };

constexpr std::int32_t kUnstated = INT32_MIN;

struct Expect {
    std::int32_t code = kUnstated;
    Stored stored = Stored::Unchanged;
};

// One fault: `inject` sets it up, given the place of the operation's last command (the set-up
// command of the port is the first).
struct Row {
    const char* name;
    void (*inject)(tasim::Faults& faults, int last);
    Expect detection;
    Expect read;
    Expect write;
    Expect probe;
};

// The profiles written by the write column, unlike the card's factory profiles.
_CARDPROFILES Written() {
    _CARDPROFILES card{};
    for (int n = 0; n < 3; ++n) {
        card.Profiles[n] = cardlisting::SampleProfile(n, true);
    }
    card.DefaultProfile = 1;
    card.NorthAmerica = 1;
    return card;
}

// What a detection scan does on the port: identify, then version and region whatever they answer;
// the first failure is the code.
std::int32_t Detect(const tasim::Adapter&) {
    CCardInfo card;
    std::int32_t code = card.OpenConnection(kPort);
    if (code == 0) {
        _SoftwareVer version{};
        _ISDN_VERSIONTYPE type = VERSIONTYPE_EURO;
        const std::int32_t versionCode = card.GetSoftwareVersion(version);
        const std::int32_t typeCode = card.GetVersionType(type);
        code = versionCode != 0 ? versionCode : typeCode;
        if (code == 0) {
            EXPECT_STREQ(version.szVersionText, "3.10.05");
            EXPECT_EQ(type, VERSIONTYPE_NI1);
        }
    }
    card.CloseConnection();
    return code;
}

std::int32_t ReadProfiles(const tasim::Adapter& adapter) {
    CComStorage storage;
    _CARDPROFILES got{};
    std::int32_t code = storage.Open(kPort);
    if (code == 0) {
        code = storage.ReadProfiles(got);
    }
    storage.Close();
    if (code == 0) {
        const _CARDPROFILES held = adapter.CardProfiles();
        for (int n = 0; n < 3; ++n) {
            EXPECT_TRUE(cardlisting::SameProfile(got.Profiles[n], held.Profiles[n])) << n;
        }
        EXPECT_EQ(got.DefaultProfile, held.DefaultProfile);
    }
    return code;
}

std::int32_t WriteProfiles(const tasim::Adapter&) {
    CComStorage storage;
    std::int32_t code = storage.Open(kPort);
    if (code == 0) {
        code = storage.WriteProfiles(Written());
    }
    storage.Close();
    return code;
}

// The probe that follows a firmware download.
std::int32_t Probe(const tasim::Adapter&) {
    CSerialPort port;
    port.CreateIoEvents();
    std::int32_t code = port.Open(kPort);
    if (code == 0) {
        code = port.Ping();
    }
    port.Close();
    port.CloseIoEvents();
    return code;
}

struct Operation {
    const char* name;
    Expect Row::*cell;
    std::int32_t (*run)(const tasim::Adapter& adapter);
    int commands;          // commands sent after the set-up command when nothing goes wrong
    std::uint32_t waitMs;  // the longest wait for the answer to each
};

const Operation kOperations[] = {
    {"Detection", &Row::detection, Detect, 3, CTASession::kReplyWaitMs},
    {"ProfileRead", &Row::read, ReadProfiles, 3, CTASession::kReplyWaitMs},
    {"ProfileWrite", &Row::write, WriteProfiles, 41, CTASession::kReplyWaitMs},
    {"FinalProbe", &Row::probe, Probe, 1, CSerialPort::kPingWaitMs},
};

constexpr Stored U = Stored::Unchanged;
constexpr Stored W = Stored::Written;

// clang-format off
const Row kRows[] = {
    {"NoFault", [](tasim::Faults&, int) {},
     {0}, {0}, {0, W}, {0}},
    {"Silence", [](tasim::Faults& f, int) { f.mute = true; },
     {2003}, {2006}, {2003, U}, {3011}},
    {"ErrorToTheFirstCommand", [](tasim::Faults& f, int) { f.error.nth = 2; },
     {2003}, {2006}, {2003, U}, {0}},
    {"ErrorToTheLastCommand", [](tasim::Faults& f, int last) { f.error.nth = last; },
     {2006}, {2006}, {2003, W}, {0}},
    {"NoAnswerToTheLastCommand", [](tasim::Faults& f, int last) { f.noAnswer.nth = last; },
     {2005}, {2006}, {2003, W}, {3011}},
    {"RepliesSplitByteByByte",
     [](tasim::Faults& f, int) {
         for (std::size_t cut = 1; cut < 3000; ++cut) {
             f.splitReplies.push_back(cut);
         }
         f.splitGapMs = 0;
     },
     {0}, {0}, {0, W}, {0}},
    // The identification line is the first line of its reply, so a line before it hides the
    // adapter; the other replies are searched, or checked only for their final result.
    {"UnsolicitedLineBeforeEveryReply",
     [](tasim::Faults& f, int) { f.unsolicitedBefore.from = 2; },
     {2003}, {0}, {0, W}, {0}},
    {"NoiseBeforeEveryReply",
     [](tasim::Faults& f, int) {
         f.unsolicited = "\x7f\x80\xfe#~ \x01\x1b[0m\xff garbage";
         f.unsolicitedBefore.from = 2;
     },
     {2003}, {0}, {0, W}, {0}},
    {"OversizedReplies", [](tasim::Faults& f, int) { f.oversize.from = 2; },
     {2003}, {2006}, {2003, U}, {3011}},
    {"HangUpAtTheFirstCommand", [](tasim::Faults& f, int) { f.hangUpAt.nth = 2; },
     {2003}, {2006}, {2003, U}, {3011}},
    {"HangUpAtTheLastCommand", [](tasim::Faults& f, int last) { f.hangUpAt.nth = last; },
     {2005}, {2006}, {2003, W}, {3011}},
    // The loader's faults: no operation but the download talks to the loader.
    {"CancelAtTheFirstBlock", [](tasim::Faults& f, int) { f.cancelAtBlock = 1; },
     {0}, {0}, {0, W}, {0}},
    {"NakStormAtTheFirstBlock",
     [](tasim::Faults& f, int) {
         f.nakBlock = 1;
         f.nakTimes = 12;
     },
     {0}, {0}, {0, W}, {0}},
    {"SilenceFromTheSecondBlock", [](tasim::Faults& f, int) { f.silentFromBlock = 2; },
     {0}, {0}, {0, W}, {0}},
};
// clang-format on

struct Snapshot {
    _CARDPROFILES profiles;
    std::string version;
    std::string isdn;

    static Snapshot Of(const tasim::Adapter& adapter) {
        return {adapter.CardProfiles(), adapter.Version(), adapter.IsdnText()};
    }
    bool operator==(const Snapshot& other) const {
        return std::memcmp(&profiles, &other.profiles, sizeof profiles) == 0 &&
               version == other.version && isdn == other.isdn;
    }
};

int Entries(const char* directory) {
    int count = 0;
    if (DIR* dir = opendir(directory)) {
        while (readdir(dir)) {
            ++count;
        }
        closedir(dir);
    }
    return count;
}

int Threads() {
    return Entries("/proc/self/task");
}

// The process's descriptors on a device.
int DescriptorsOn(const std::filesystem::path& device) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == device) {
            ++count;
        }
    }
    return count;
}

// Threads end a moment after they signalled their end: wait for it, boundedly.
template <class Condition>
bool Eventually(Condition holds) {
    for (int i = 0; i < 400; ++i) {
        if (holds()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return holds();
}

class FaultMatrix : public ::testing::TestWithParam<std::tuple<int, int>> {
  protected:
    const Row& TheRow() const { return kRows[std::get<0>(GetParam())]; }
    const Operation& TheOperation() const { return kOperations[std::get<1>(GetParam())]; }
};

TEST_P(FaultMatrix, Cell) {
    const Row& row = TheRow();
    const Operation& operation = TheOperation();
    const Expect expect = row.*operation.cell;
    ASSERT_NE(expect.code, kUnstated) << "the cell states no expected code";

    CTestRoot root;
    // A sanitizer may start a thread of its own with the first thread: that one stays.
    std::thread([] {}).join();
    const int threadsBefore = Threads();
    tasim::Config config;
    row.inject(config.faults, operation.commands + 1);
    tasim::Adapter adapter(config);
    ASSERT_TRUE(adapter.Start(root.Path(), kPort));
    const std::filesystem::path device = adapter.SlavePath();
    const Snapshot before = Snapshot::Of(adapter);

    const Clock::time_point start = Clock::now();
    EXPECT_EQ(operation.run(adapter), expect.code);
    const Clock::duration took = Clock::now() - start;

    // Scheduling on a loaded machine is the only time not on the scale.
    const int sent = static_cast<int>(adapter.Commands().size()) - 1;
    const auto limit = sys::Scaled(CSerialPort::kSettleMs + sent * operation.waitMs) +
                       std::chrono::milliseconds(500);
    EXPECT_LE(took, limit) << "after " << sent << " commands";

    const Snapshot after = Snapshot::Of(adapter);
    if (expect.stored == Stored::Unchanged) {
        EXPECT_TRUE(after == before) << "the card's stored memory changed";
    } else {
        const _CARDPROFILES written = Written();
        for (int n = 0; n < 3; ++n) {
            EXPECT_TRUE(cardlisting::SameProfile(after.profiles.Profiles[n], written.Profiles[n]))
                << "profile " << n;
        }
        EXPECT_EQ(after.profiles.DefaultProfile, written.DefaultProfile);
        EXPECT_EQ(after.version, before.version);
    }

    // The next operation on the port works; a card that hung up is put back first.
    const bool hungUp = !adapter.Running();
    adapter.SetFaults({});
    if (hungUp) {
        ASSERT_TRUE(adapter.Start(root.Path(), kPort));
    }
    const std::filesystem::path next = adapter.SlavePath();
    EXPECT_EQ(Detect(adapter), 0) << "the port was not released";
    adapter.Stop();
    EXPECT_EQ(DescriptorsOn(device), 0) << "a descriptor on the port is left";
    EXPECT_EQ(DescriptorsOn(next), 0) << "a descriptor on the port is left";
    EXPECT_TRUE(Eventually([&] { return Threads() == threadsBefore; }))
        << Threads() - threadsBefore << " threads are left";
}

std::string CellName(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
    return std::string(kRows[std::get<0>(info.param)].name) + "_" +
           kOperations[std::get<1>(info.param)].name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FaultMatrix,
    ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(kRows))),
                       ::testing::Range(0, static_cast<int>(std::size(kOperations)))),
    CellName);

}  // namespace
