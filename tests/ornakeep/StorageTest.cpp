// The profile store against the adapter emulator over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ComStorage.h"
#include "Storage.h"
#include "platform/sys/Time.h"
#include "tests/ornakeep/CardListing.h"
#include "tools/tasim/Adapter.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr char kPort[] = "COM3";
constexpr char kSetUp[] = "ATV1E1&K3\r\n";

bool SameBytes(const void* a, const void* b, std::size_t size) {
    return std::memcmp(a, b, size) == 0;
}

// A record filled with a pattern, to show what a call left untouched.
_CARDPROFILES Patterned() {
    _CARDPROFILES card;
    std::memset(&card, 0xA5, sizeof card);
    return card;
}

// The sample card, North-America-only fields filled even for an International card.
_CARDPROFILES SampleCard(bool northAmerica, int defaultProfile = 1) {
    _CARDPROFILES card{};
    for (int n = 0; n < 3; ++n) {
        card.Profiles[n] = cardlisting::SampleProfile(n, true);
    }
    card.DefaultProfile = defaultProfile;
    card.NorthAmerica = northAmerica ? 1 : 0;
    return card;
}

// What the sample card puts on the wire for a North American card, in order.
const std::vector<std::string> kNorthAmericanWrite = {
    "AT!C1=9!C11=255%A2=95\r",
    "AT!N1=5550100!N2=5550200\r",
    "AT!N11=6660100!N21=6660200\r",
    "AT!N3=*70!N4=#80\r",
    "AT!N31=*90!N41=#60\r",
    "AT!C6=01555000101!C7=01555000202\r",
    "AT!C61=01666000101!C71=01666000202\r",
    "AT!C4=0!C5=1\r",
    "AT!C41=1!C51=0\r",
    "AT!C2=0\r",
    "AT!O3\r",
    "AT%P5=1%P6=30%P7=6\r",
    "AT&W0\r",
    "AT!C1=1!C11=0%A2=2\r",
    "AT!N1=5550101!N2=5550201\r",
    "AT!N11=6660101!N21=6660201\r",
    "AT!N3=*71!N4=#81\r",
    "AT!N31=*91!N41=#61\r",
    "AT!C6=01555010101!C7=01555010202\r",
    "AT!C61=01666010101!C71=01666010202\r",
    "AT!C4=1!C5=0\r",
    "AT!C41=1!C51=0\r",
    "AT!C2=1\r",
    "AT!O0\r",
    "AT%P5=0%P6=31%P7=7\r",
    "AT&W1\r",
    "AT!C1=0!C11=1%A2=96\r",
    "AT!N1=5550102!N2=5550202\r",
    "AT!N11=6660102!N21=6660202\r",
    "AT!N3=*72!N4=#82\r",
    "AT!N31=*92!N41=#62\r",
    "AT!C6=01555020101!C7=01555020202\r",
    "AT!C61=01666020101!C71=01666020202\r",
    "AT!C4=0!C5=1\r",
    "AT!C41=1!C51=0\r",
    "AT!C2=0\r",
    "AT!O3\r",
    "AT%P5=1%P6=32%P7=8\r",
    "AT&W2\r",
    "AT&Y1\r",
    "ATZ1\r",
};

// An International card gets the same minus every North-America-only register.
std::vector<std::string> InternationalWrite() {
    std::vector<std::string> commands;
    for (const std::string& c : kNorthAmericanWrite) {
        if (!c.starts_with("AT!C6=") && !c.starts_with("AT!C61=") && !c.starts_with("AT!C4=") &&
            !c.starts_with("AT!C41=") && !c.starts_with("AT!C2=")) {
            commands.push_back(c);
        }
    }
    return commands;
}

std::string Joined(const std::vector<std::string>& commands) {
    std::string bytes;
    for (const std::string& c : commands) {
        bytes += c;
    }
    return bytes;
}

class StorageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/ornakeep-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_Root = pattern;
        setenv("QUILAN_ROOT", pattern, 1);
    }

    void TearDown() override {
        m_Storage.Close();
        m_Card.reset();
        fs::remove_all(m_Root);
    }

    void StartCard(tasim::Config config) {
        m_Card = std::make_unique<tasim::Adapter>(config);
        ASSERT_TRUE(m_Card->Start(m_Root, kPort));
    }

    void StartCard(bool northAmerica) {
        tasim::Config config;
        config.region = northAmerica ? tasim::Region::NorthAmerica : tasim::Region::International;
        StartCard(config);
    }

    // The commands the card received after the set-up line.
    std::vector<std::string> CommandsAfterSetUp() const {
        std::vector<std::string> commands = m_Card->Commands();
        if (!commands.empty() && commands.front().starts_with("ATV1E1&K3")) {
            commands.erase(commands.begin());
        }
        return commands;
    }

    // Outside the open state every operation fails and leaves the caller's values alone.
    void ExpectEveryOperationRefused() {
        _CARDPROFILES got = Patterned();
        const _CARDPROFILES before = got;
        EXPECT_EQ(m_Storage.ReadProfiles(got), 2006);
        EXPECT_TRUE(SameBytes(&got, &before, sizeof got));
        EXPECT_EQ(m_Storage.WriteProfiles(SampleCard(true)), 2003);
        int accepted = 7;
        EXPECT_EQ(static_cast<CStorage&>(m_Storage).AttemptBACP(accepted), 2003);
        EXPECT_EQ(accepted, 7);
    }

    fs::path m_Root;
    std::unique_ptr<tasim::Adapter> m_Card;
    CComStorage m_Storage;
};

}  // namespace

TEST_F(StorageTest, ReadsWhatTheCardStores) {
    for (const bool northAmerica : {true, false}) {
        SCOPED_TRACE(northAmerica ? "North America" : "International");
        StartCard(northAmerica);
        _CARDPROFILES stored = SampleCard(northAmerica, 2);
        m_Card->SetCardProfiles(stored);

        _CARDPROFILES got{};
        ASSERT_EQ(m_Storage.Open(kPort), 0);
        ASSERT_EQ(m_Storage.ReadProfiles(got), 0);
        EXPECT_EQ(m_Storage.Close(), 0);

        _CARDPROFILES want{};
        for (int n = 0; n < 3; ++n) {
            want.Profiles[n] = cardlisting::SampleProfile(n, northAmerica);
        }
        want.DefaultProfile = 2;
        want.NorthAmerica = northAmerica ? 1 : 0;
        EXPECT_TRUE(SameBytes(&got, &want, sizeof got));
        EXPECT_EQ(got.NorthAmerica, want.NorthAmerica);
        EXPECT_EQ(got.DefaultProfile, 2);
        EXPECT_EQ(CommandsAfterSetUp(), (std::vector<std::string>{"ATI4\r", "AT&V\r", "AT>VC\r"}));
        m_Card.reset();
    }
}

// The listing is read as it stands, values the pages never produce included.
TEST_F(StorageTest, ReadsUnusualRegisterValues) {
    StartCard(true);
    m_Card->SetCardProfiles(SampleCard(true, 0));
    m_Card->SetRegister(1, "%P6", "65536");
    m_Card->SetRegister(1, "!O", "1");
    m_Card->SetRegister(2, "!N1", "");
    m_Card->SetRegister(2, "!C11", "255");
    _CARDPROFILES got{};
    ASSERT_EQ(m_Storage.Open(kPort), 0);
    ASSERT_EQ(m_Storage.ReadProfiles(got), 0);
    EXPECT_EQ(got.Profiles[1].InitialBillingInterval, 0);
    EXPECT_EQ(got.Profiles[1].DataOverVoice, 0);
    EXPECT_STREQ(got.Profiles[2].Primary.Number1, "");
    EXPECT_EQ(got.Profiles[2].Alternate.SwitchType, 255);
}

// The listing may hold "&Y" with another number; only the configuration report counts.
TEST_F(StorageTest, DefaultProfileComesFromTheReportNeverTheListing) {
    StartCard(true);
    m_Card->SetCardProfiles(SampleCard(true, 2));
    m_Card->SetRegister(0, "!N41", "&Y1");
    _CARDPROFILES got{};
    ASSERT_EQ(m_Storage.Open(kPort), 0);
    ASSERT_EQ(m_Storage.ReadProfiles(got), 0);
    EXPECT_EQ(got.DefaultProfile, 2);
    EXPECT_STREQ(got.Profiles[0].Alternate.Number4, "");  // the value ends at the "&"
}

// Every failure row of the reader, with the record in the state the row leaves it.
TEST_F(StorageTest, ReadFailures) {
    enum class Left { Untouched, RegionSet, AllButDefault };
    const struct {
        const char* name;
        void (*fault)(tasim::Config&);
        Left left;
    } rows[] = {
        {"version query unanswered", [](tasim::Config& c) { c.faults.noAnswer.text = "ATI4"; },
         Left::Untouched},
        {"version query answered ERROR", [](tasim::Config& c) { c.faults.error.text = "ATI4"; },
         Left::Untouched},
        {"version without ISDN(", [](tasim::Config& c) { c.isdn = "Quilan ISDN T/A"; },
         Left::Untouched},
        {"unknown variant", [](tasim::Config& c) { c.isdn = "ISDN(5ESS,V3.10)"; }, Left::Untouched},
        {"EURO in lower case", [](tasim::Config& c) { c.isdn = "ISDN(euro,V3.10)"; },
         Left::Untouched},
        {"listing unanswered", [](tasim::Config& c) { c.faults.noAnswer.text = "AT&V"; },
         Left::RegionSet},
        {"listing answered ERROR", [](tasim::Config& c) { c.faults.error.text = "AT&V"; },
         Left::RegionSet},
        {"listing too long", [](tasim::Config& c) { c.faults.oversize.text = "AT&V"; },
         Left::RegionSet},
        {"report unanswered", [](tasim::Config& c) { c.faults.noAnswer.text = "AT>VC"; },
         Left::AllButDefault},
        {"report answered ERROR", [](tasim::Config& c) { c.faults.error.text = "AT>VC"; },
         Left::AllButDefault},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        tasim::Config config;
        row.fault(config);
        StartCard(config);
        m_Card->SetCardProfiles(SampleCard(true, 2));

        _CARDPROFILES got = Patterned();
        const _CARDPROFILES before = got;
        ASSERT_EQ(m_Storage.Open(kPort), 0);
        EXPECT_EQ(m_Storage.ReadProfiles(got), 2006);
        EXPECT_EQ(m_Storage.Close(), 0);

        EXPECT_EQ(got.NorthAmerica, row.left == Left::Untouched ? before.NorthAmerica : 1);
        EXPECT_EQ(got.DefaultProfile, before.DefaultProfile);
        for (int n = 0; n < 3; ++n) {
            SCOPED_TRACE("profile " + std::to_string(n));
            if (row.left == Left::AllButDefault) {
                EXPECT_TRUE(
                    cardlisting::SameProfile(got.Profiles[n], cardlisting::SampleProfile(n, true)));
            } else {
                EXPECT_TRUE(
                    SameBytes(&got.Profiles[n], &before.Profiles[n], sizeof got.Profiles[n]));
            }
        }
        m_Card.reset();
    }
}

// A profile whose protocol register the reader does not know: the profiles before it are
// filled, the failing one up to the token, the one after untouched.
TEST_F(StorageTest, UnknownProtocolStopsTheReadAtItsProfile) {
    StartCard(true);
    m_Card->SetCardProfiles(SampleCard(true, 2));
    m_Card->SetRegister(1, "%A2", "3");
    _CARDPROFILES got{};
    ASSERT_EQ(m_Storage.Open(kPort), 0);
    EXPECT_EQ(m_Storage.ReadProfiles(got), 2006);
    const _STOREDPROFILE zero{};
    _STOREDPROFILE partial = cardlisting::SampleProfile(1, true);
    partial.Protocol = 0;
    const _STOREDPROFILE first = cardlisting::SampleProfile(0, true);
    EXPECT_TRUE(SameBytes(&got.Profiles[0], &first, sizeof zero));
    EXPECT_TRUE(SameBytes(&got.Profiles[1], &partial, sizeof zero));
    EXPECT_TRUE(SameBytes(&got.Profiles[2], &zero, sizeof zero));
    EXPECT_EQ(got.DefaultProfile, 0);
    EXPECT_EQ(CommandsAfterSetUp(), (std::vector<std::string>{"ATI4\r", "AT&V\r"}));
}

TEST_F(StorageTest, WritesTheExactBytesForEachRegion) {
    for (const bool northAmerica : {true, false}) {
        SCOPED_TRACE(northAmerica ? "North America" : "International");
        StartCard(northAmerica);
        const _CARDPROFILES card = SampleCard(northAmerica);
        const _CARDPROFILES copy = card;
        ASSERT_EQ(m_Storage.Open(kPort), 0);
        EXPECT_EQ(m_Storage.WriteProfiles(card), 0);
        EXPECT_EQ(m_Storage.Close(), 0);

        const std::vector<std::string> want =
            northAmerica ? kNorthAmericanWrite : InternationalWrite();
        EXPECT_EQ(want.size(), northAmerica ? 41u : 26u);
        EXPECT_EQ(m_Card->Received(), kSetUp + Joined(want));
        EXPECT_TRUE(SameBytes(&card, &copy, sizeof card));

        // The card now stores what was written.
        const _CARDPROFILES stored = m_Card->CardProfiles();
        for (int n = 0; n < 3; ++n) {
            SCOPED_TRACE(n);
            EXPECT_EQ(m_Card->Register(n, "!N21"), std::string(card.Profiles[n].Alternate.Number2));
            EXPECT_EQ(stored.Profiles[n].Protocol, card.Profiles[n].Protocol);
            EXPECT_EQ(stored.Profiles[n].BillingInterval, card.Profiles[n].BillingInterval);
        }
        EXPECT_EQ(m_Card->DefaultProfile(), 1);
        m_Card.reset();
    }
}

// Writing and reading back gives the same record, on the same open object.
TEST_F(StorageTest, WriteThenReadRoundTrips) {
    StartCard(true);
    _CARDPROFILES card = SampleCard(true, 0);
    std::strcpy(card.Profiles[2].Primary.Number1, "*70#5551234");
    card.Profiles[0].InitialBillingInterval = 65535;
    ASSERT_EQ(m_Storage.Open(kPort), 0);
    ASSERT_EQ(m_Storage.WriteProfiles(card), 0);
    _CARDPROFILES got{};
    ASSERT_EQ(m_Storage.ReadProfiles(got), 0);
    EXPECT_TRUE(SameBytes(&got, &card, sizeof got));
}

// "ERROR" to the third command of profile 1: profile 0 stays stored, nothing more is sent.
TEST_F(StorageTest, WriteStopsAtTheFirstRefusedCommand) {
    for (const bool northAmerica : {true, false}) {
        SCOPED_TRACE(northAmerica ? "North America" : "International");
        tasim::Config config;
        config.region = northAmerica ? tasim::Region::NorthAmerica : tasim::Region::International;
        config.faults.error.text = "AT!N11=6660101!N21=6660201";
        StartCard(config);
        const _CARDPROFILES before = m_Card->CardProfiles();
        const int defaultBefore = m_Card->DefaultProfile();

        const _CARDPROFILES card = SampleCard(northAmerica, 2);
        ASSERT_EQ(m_Storage.Open(kPort), 0);
        EXPECT_EQ(m_Storage.WriteProfiles(card), 2003);

        const std::vector<std::string> all =
            northAmerica ? kNorthAmericanWrite : InternationalWrite();
        const std::size_t perProfile = northAmerica ? 13 : 8;
        const std::vector<std::string> sent(all.begin(), all.begin() + perProfile + 3);
        EXPECT_EQ(CommandsAfterSetUp(), sent);

        const _CARDPROFILES stored = m_Card->CardProfiles();
        EXPECT_EQ(m_Card->Register(0, "!N1"), "5550100");
        EXPECT_EQ(stored.Profiles[0].Protocol, 10);
        EXPECT_TRUE(SameBytes(&stored.Profiles[1], &before.Profiles[1], sizeof stored.Profiles[1]));
        EXPECT_EQ(m_Card->DefaultProfile(), defaultBefore);

        // The object stays open after the failure.
        _CARDPROFILES got{};
        EXPECT_EQ(m_Storage.ReadProfiles(got), 0);
        EXPECT_EQ(m_Storage.Close(), 0);
        m_Card.reset();
    }
}

// A record that could split a command on the wire, or cannot be formatted, sends nothing.
TEST_F(StorageTest, UnsendableRecordSendsNothing) {
    StartCard(true);
    ASSERT_EQ(m_Storage.Open(kPort), 0);
    _CARDPROFILES card = SampleCard(true);
    std::strcpy(card.Profiles[2].Alternate.Spid1, "0155\rAT&F");
    EXPECT_EQ(m_Storage.WriteProfiles(card), 2003);
    card = SampleCard(true, 4);
    EXPECT_EQ(m_Storage.WriteProfiles(card), 2003);
    EXPECT_EQ(m_Card->Received(), kSetUp);
}

TEST_F(StorageTest, CardThatNeverAnswers) {
    tasim::Config config;
    config.faults.mute = true;
    StartCard(config);
    ASSERT_EQ(m_Storage.Open(kPort), 0);
    const auto limit = sys::Scaled(5000);

    _CARDPROFILES got = Patterned();
    const _CARDPROFILES before = got;
    auto start = Clock::now();
    EXPECT_EQ(m_Storage.ReadProfiles(got), 2006);
    auto took = Clock::now() - start;
    EXPECT_GE(took, limit);
    EXPECT_LT(took, 2 * limit);
    EXPECT_TRUE(SameBytes(&got, &before, sizeof got));
    EXPECT_EQ(CommandsAfterSetUp(), std::vector<std::string>{"ATI4\r"});

    m_Card->ClearRecording();
    start = Clock::now();
    EXPECT_EQ(m_Storage.WriteProfiles(SampleCard(true)), 2003);
    took = Clock::now() - start;
    EXPECT_GE(took, limit);
    EXPECT_LT(took, 2 * limit);
    EXPECT_EQ(m_Card->Commands(), std::vector<std::string>{kNorthAmericanWrite.front()});

    int accepted = 7;
    EXPECT_EQ(static_cast<CStorage&>(m_Storage).AttemptBACP(accepted), 2003);
    EXPECT_EQ(accepted, 7);
}

TEST_F(StorageTest, AttemptBacpReachedThroughItsSlot) {
    for (const bool bacp : {true, false}) {
        SCOPED_TRACE(bacp ? "accepts BACP" : "refuses BACP");
        tasim::Config config;
        config.bacp = bacp;
        StartCard(config);
        CStorage& storage = m_Storage;
        ASSERT_EQ(storage.Open(kPort), 0);
        int accepted = 7;
        EXPECT_EQ(storage.AttemptBACP(accepted), 0);
        EXPECT_EQ(accepted, bacp ? 1 : 0);
        EXPECT_EQ(storage.Close(), 0);
        EXPECT_EQ(m_Card->Received(), std::string(kSetUp) + "AT%P5=1\r");
        m_Card.reset();
    }
}

TEST_F(StorageTest, OpenCloseSequences) {
    StartCard(true);
    m_Card->SetCardProfiles(SampleCard(true, 1));
    EXPECT_EQ(m_Storage.Close(), 0);  // right after construction
    EXPECT_EQ(m_Storage.Close(), 0);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(m_Storage.Open(kPort), 0);
        _CARDPROFILES got{};
        EXPECT_EQ(m_Storage.ReadProfiles(got), 0);
        EXPECT_EQ(got.DefaultProfile, 1);
        EXPECT_EQ(m_Storage.Close(), 0);
    }
}

// Open failing leaves the object half-open: every operation fails until Close, after which it
// opens like a new one.
TEST_F(StorageTest, HalfOpenAfterAFailedOpen) {
    StartCard(true);
    m_Card->SetCardProfiles(SampleCard(true, 1));
    for (const char* port : {"COM9", "COM11", "LPT1"}) {
        SCOPED_TRACE(port);
        EXPECT_EQ(m_Storage.Open(port), 2001);
        ExpectEveryOperationRefused();
        EXPECT_EQ(m_Storage.Close(), 0);
    }
    EXPECT_EQ(m_Card->Received(), "");

    ASSERT_EQ(m_Storage.Open(kPort), 0);
    _CARDPROFILES got{};
    EXPECT_EQ(m_Storage.ReadProfiles(got), 0);
    EXPECT_EQ(got.DefaultProfile, 1);
}

TEST_F(StorageTest, ClosedObjectSendsNothing) {
    StartCard(true);
    ASSERT_EQ(m_Storage.Open(kPort), 0);
    EXPECT_EQ(m_Storage.Close(), 0);
    m_Card->ClearRecording();
    ExpectEveryOperationRefused();
    EXPECT_EQ(m_Card->Received(), "");
}

// The five operations sit in the table in this order; the user interface, built separately,
// calls them by slot.
TEST(Storage, SlotOrderOfTheTable) {
    const auto slot = [](auto member) {
        std::uintptr_t words[2];
        static_assert(sizeof member == sizeof words);
        std::memcpy(words, &member, sizeof words);
        return (words[0] - 1) / sizeof(void*);  // a virtual member points at 1 + its offset
    };
    EXPECT_EQ(slot(&CStorage::Open), 0u);
    EXPECT_EQ(slot(&CStorage::Close), 1u);
    EXPECT_EQ(slot(&CStorage::WriteProfiles), 2u);
    EXPECT_EQ(slot(&CStorage::ReadProfiles), 3u);
    EXPECT_EQ(slot(&CStorage::AttemptBACP), 4u);
    EXPECT_EQ(sizeof(CStorage), sizeof(void*));  // the table pointer and nothing else
}

TEST(Storage, PlainStorageChangesNothing) {
    CStorage plain;
    CStorage& storage = plain;
    _CARDPROFILES card = Patterned();
    const _CARDPROFILES before = card;
    int accepted = 7;
    EXPECT_EQ(storage.Open("COM3"), 0);
    EXPECT_EQ(storage.ReadProfiles(card), 0);
    EXPECT_EQ(storage.WriteProfiles(card), 0);
    EXPECT_EQ(storage.AttemptBACP(accepted), 0);
    EXPECT_EQ(storage.Close(), 0);
    EXPECT_TRUE(SameBytes(&card, &before, sizeof card));
    EXPECT_EQ(accepted, 7);
}
