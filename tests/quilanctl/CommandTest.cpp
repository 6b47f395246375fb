// quilanctl as a script runs it: its own process, against emulated cards on real
// pseudo-terminals in a system root of its own.
#include <gtest/gtest.h>
#include <sys/file.h>

#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>

#include "quilanctl/ProfileJson.h"
#include "tests/quilanctl/Program.h"
#include "tests/quilanctl/SampleProfiles.h"
#include "tools/mkelm/ElmFile.h"
#include "tools/tasim/Adapter.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

constexpr char kOldVersion[] = "3.10.05";
constexpr char kNewVersion[] = "3.11.02";

std::string TimeScale() {
    const char* scale = std::getenv("QUILAN_TIME_SCALE");
    return scale ? scale : "1";
}

tasim::Config CardConfig(tasim::Region region = tasim::Region::NorthAmerica,
                         std::string version = kOldVersion) {
    tasim::Config config;
    config.region = region;
    config.version = std::move(version);
    return config;
}

bool SameBytes(const _CARDPROFILES& a, const _CARDPROFILES& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Whether the card received a command that changes its profiles.
bool Written(const tasim::Adapter& card) {
    for (const std::string& command : card.Commands()) {
        if (command.starts_with("AT!") || command.starts_with("AT&W") ||
            command.starts_with("AT%P")) {
            return true;
        }
    }
    return false;
}

// Each error is one line on standard error.
void ExpectOneLine(const ProgramRun& run) {
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

// Public, so that the rows of a table can set their cards up.
class QuilanctlTest : public ::testing::Test {
  public:
    void SetUp() override {
        char pattern[] = "/tmp/quilanctl-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        fs::create_directories(m_root / "ports");
        m_program = std::make_unique<CProgram>(QUILANCTL_PROGRAM, m_root, TimeScale());
    }
    void TearDown() override {
        m_cards.clear();
        fs::remove_all(m_root);
    }

    tasim::Adapter& Card(const std::string& com, tasim::Config config = CardConfig()) {
        m_cards.push_back(std::make_unique<tasim::Adapter>(std::move(config)));
        EXPECT_TRUE(m_cards.back()->Start(m_root, com));
        return *m_cards.back();
    }
    ProgramRun Run(const std::vector<std::string>& arguments, const std::string& input = "",
                   const std::function<void(pid_t)>& during = {}) {
        return m_program->Run(arguments, input, during);
    }
    std::string File(const std::string& name, const std::string& bytes) {
        fs::path path = m_root / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::string Elm(const std::string& version, const std::string& isdn,
                    mkelm::Break spoil = mkelm::Break::None, std::size_t size = 4096) {
        mkelm::ElmLayout layout;
        layout.version = version;
        layout.isdn = isdn;
        layout.size = size;
        layout.breakWith = spoil;
        return File("NEW.ELM", mkelm::BuildElm(layout));
    }
    // The files left in the program's temporary folder, apart from its own redirections.
    std::vector<fs::path> Kept() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(m_program->Temporary())) {
            if (!entry.path().filename().string().starts_with(".")) {
                files.push_back(entry.path());
            }
        }
        return files;
    }

    fs::path m_root;
    std::unique_ptr<CProgram> m_program;
    std::vector<std::unique_ptr<tasim::Adapter>> m_cards;
};

TEST_F(QuilanctlTest, ListShowsEachCardWithItsFirmwareAndRegion) {
    Card("COM2");
    Card("COM5", CardConfig(tasim::Region::International, kNewVersion));
    ProgramRun run = Run({"list"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "PORT   CARD             FIRMWARE   REGION\n"
              "COM2   Quilan ISDN T/A  3.10.05    North America\n"
              "COM5   Quilan ISDN T/A  3.11.02    International\n");
    run = Run({"list", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    Json list = Json::parse(run.out);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1], Json({{"Port", "COM5"},
                             {"Card", "Quilan ISDN T/A"},
                             {"Firmware", "3.11.02"},
                             {"Major", 3},
                             {"Minor", 11},
                             {"Build", "02"},
                             {"Region", "International"}}));
}

TEST_F(QuilanctlTest, ListWithoutCardsIsEmptyAndSucceeds) {
    Card("COM4", CardConfig()).Stop();  // a port whose card went away
    ProgramRun run = Run({"list", "--json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Json::parse(run.out), Json::array());
}

class ProfilesRoundTrip : public QuilanctlTest, public ::testing::WithParamInterface<bool> {};

// get, set, get again: the same file, and the card holds the same bytes as before.
TEST_P(ProfilesRoundTrip, GivesTheSameFileAndTheSameStoredProfiles) {
    bool bNorthAmerica = GetParam();
    tasim::Adapter& card = Card("COM3", CardConfig(bNorthAmerica ? tasim::Region::NorthAmerica
                                                                 : tasim::Region::International));
    card.SetCardProfiles(SampleProfiles(bNorthAmerica));
    const _CARDPROFILES before = card.CardProfiles();
    std::string file = (m_root / "profiles.json").string();
    ProgramRun got = Run({"profiles", "get", "COM3", "-o", file});
    ASSERT_EQ(got.status, 0) << got.err;
    std::string first = CProgram::Read(file);
    EXPECT_EQ(Json::parse(first)["Region"], bNorthAmerica ? "North America" : "International");

    // Other profiles in between, so that the write shows.
    _CARDPROFILES other = SampleProfiles(bNorthAmerica);
    other.DefaultProfile = 0;
    other.Profiles[1].Primary.Number1[0] = '9';
    card.SetCardProfiles(other);
    ProgramRun set = Run({"profiles", "set", "COM3", file});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.err, "");
    EXPECT_TRUE(SameBytes(card.CardProfiles(), before));

    ProgramRun again = Run({"profiles", "get", "com3"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, first);
}

INSTANTIATE_TEST_SUITE_P(Regions, ProfilesRoundTrip, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "NorthAmerica" : "International");
});

struct BadFile {
    const char* name;
    std::function<std::string(Json)> make;  // from the card's own good file
    const char* fault;                      // what the line says after the file's name
};

void PrintTo(const BadFile& bad, std::ostream* out) {
    *out << bad.name;
}

class BadProfileFile : public QuilanctlTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadProfileFile, IsRefusedInOneLineAndTheCardIsNotTouched) {
    tasim::Adapter& card = Card("COM3");
    card.SetCardProfiles(SampleProfiles(true));
    const _CARDPROFILES before = card.CardProfiles();
    Json good = quilanctl::ProfilesToJson(SampleProfiles(true));
    std::string file = File("bad.json", GetParam().make(good));
    card.ClearRecording();
    ProgramRun run = Run({"profiles", "set", "COM3", file});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.err.rfind("quilanctl: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(GetParam().fault), std::string::npos) << run.err;
    ExpectOneLine(run);
    EXPECT_FALSE(Written(card));
    EXPECT_TRUE(SameBytes(card.CardProfiles(), before));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadProfileFile,
    ::testing::Values(
        BadFile{"not_json", [](Json) { return std::string("Region: North America"); },
                "bad.json: not JSON: parse error at line 1, column 1"},
        BadFile{"missing_field",
                [](Json j) {
                    j["Profiles"][2]["Alternate"].erase("Spid2");
                    return j.dump();
                },
                "bad.json: Profiles[2].Alternate: the field \"Spid2\" is missing"},
        BadFile{"wrong_type",
                [](Json j) {
                    j["Profiles"][0]["DataOverVoice"] = "on";
                    return j.dump();
                },
                "bad.json: Profiles[0].DataOverVoice: must be true or false, not a string"},
        BadFile{"unknown_switch_type",
                [](Json j) {
                    j["Profiles"][1]["Primary"]["SwitchType"] = {{"Name", "5ESS"}};
                    return j.dump();
                },
                "bad.json: Profiles[1].Primary.SwitchType.Name: unknown switch type \"5ESS\""},
        BadFile{"unknown_protocol",
                [](Json j) {
                    j["Profiles"][1]["Protocol"]["Code"] = 95;
                    return j.dump();
                },
                "bad.json: Profiles[1].Protocol.Code: unknown protocol 95"},
        BadFile{"out_of_range",
                [](Json j) {
                    j["Profiles"][2]["InitialBillingInterval"] = 70000;
                    return j.dump();
                },
                "bad.json: Profiles[2].InitialBillingInterval: must be from 0 to 65535"},
        BadFile{"number_breaks_the_pages_rule",
                [](Json j) {
                    j["Profiles"][1]["Primary"]["Number1"] = "555-0101";
                    return j.dump();
                },
                "bad.json: Profiles[1].Primary.Number1: ERR0007 : Invalid ISDN Number "
                "configured. Please enter digits in the range 0 - 9, '#' or '*'."},
        BadFile{"switch_type_the_pages_do_not_offer",
                [](Json j) {
                    j["Profiles"][0]["Primary"]["SwitchType"] = {{"Code", 3}};
                    return j.dump();
                },
                "bad.json: Profiles[0].Primary.SwitchType: is not one the pages offer"},
        BadFile{"other_region",
                [](Json) { return quilanctl::ProfilesToJson(SampleProfiles(false)).dump(); },
                "bad.json holds profiles for International firmware; the card on COM3 runs North "
                "America firmware"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ExitCase {
    const char* name;
    std::vector<std::string> arguments;
    std::function<void(QuilanctlTest&)> arrange;
    int status;
    const char* says;
};

void PrintTo(const ExitCase& c, std::ostream* out) {
    *out << c.name;
}

class ExitCodes : public QuilanctlTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitCodes, TellWhatWentWrongInOneLine) {
    GetParam().arrange(*this);
    ProgramRun run = Run(GetParam().arguments);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
    ExpectOneLine(run);
}

tasim::Config WithIdent(const char* ident) {
    tasim::Config config = CardConfig();
    config.ident = ident;
    return config;
}

tasim::Config WithFault(const std::function<void(tasim::Faults&)>& set) {
    tasim::Config config = CardConfig();
    set(config.faults);
    return config;
}

void NoCard(QuilanctlTest&) {}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitCodes,
    ::testing::Values(
        ExitCase{"no_command", {}, NoCard, 2, "no command given"},
        ExitCase{"unknown_command", {"status"}, NoCard, 2, "unknown command \"status\""},
        ExitCase{"profiles_without_port", {"profiles", "get"}, NoCard, 2, "expected COMn"},
        ExitCase{"port_eleven", {"profiles", "get", "COM11"}, NoCard, 2, "COM11: not a port name"},
        ExitCase{"firmware_without_file", {"firmware", "COM3"}, NoCard, 2, "expected COMn FILE"},
        ExitCase{"unknown_option",
                 {"firmware", "COM3", "x.elm", "--force"},
                 NoCard,
                 2,
                 "expected COMn FILE"},
        ExitCase{"absent_port", {"profiles", "get", "COM4"}, NoCard, 3, "COM4: no such port"},
        ExitCase{"another_make",
                 {"profiles", "get", "COM3"},
                 [](QuilanctlTest& t) { t.Card("COM3", WithIdent("Hayes Optima 288 V.34")); },
                 3,
                 "COM3: no Quilan ISDN T/A answers on the port"},
        ExitCase{"card_refuses_the_listing",
                 {"profiles", "get", "COM3"},
                 [](QuilanctlTest& t) {
                     t.Card("COM3", WithFault([](tasim::Faults& f) { f.error.text = "AT&V"; }));
                 },
                 4,
                 "COM3: reading the profiles from the card failed"},
        ExitCase{"firmware_without_profiles",
                 {"profiles", "get", "COM3"},
                 [](QuilanctlTest& t) {
                     t.Card("COM3", CardConfig(tasim::Region::NorthAmerica, "3.03.07"));
                 },
                 5,
                 "COM3: firmware 3.03.07 has no profile settings"},
        ExitCase{"firmware_not_replaceable",
                 {"firmware", "COM3", "x.elm", "--yes"},
                 [](QuilanctlTest& t) {
                     t.Card("COM3", CardConfig(tasim::Region::NorthAmerica, "2.01.00"));
                 },
                 5,
                 "COM3: firmware 2.01.00 cannot be replaced"},
        ExitCase{"unreadable_profile_file",
                 {"profiles", "set", "COM3", "/nonexistent.json"},
                 NoCard,
                 1,
                 "/nonexistent.json: No such file or directory"},
        ExitCase{"unwritable_output",
                 {"profiles", "get", "COM3", "-o", "/nonexistent/p.json"},
                 [](QuilanctlTest& t) { t.Card("COM3"); },
                 1,
                 "/nonexistent/p.json: "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(QuilanctlTest, BusyPortIsNoCard) {
    tasim::Adapter& card = Card("COM3");
    int holder = open(card.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    ProgramRun run = Run({"profiles", "get", "COM3"});
    close(holder);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("COM3: the port cannot be opened"), std::string::npos) << run.err;
}

// The card goes away in the middle of the write: the tool says so and ends, having released
// the port.
TEST_F(QuilanctlTest, CardThatStopsAnsweringMidWriteIsACardError) {
    tasim::Adapter& card = Card("COM3");
    std::string file = File("p.json", quilanctl::ProfilesToJson(SampleProfiles(true)).dump());
    card.SetFaults(WithFault([](tasim::Faults& f) { f.hangUpAt.text = "AT&W1"; }).faults);
    ProgramRun run = Run({"profiles", "set", "COM3", file});
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.err.find("COM3: writing the profiles to the card failed"), std::string::npos)
        << run.err;
    ExpectOneLine(run);
}

// The profile file is exactly what `profiles get` writes: kept profiles can be put back by hand.
_CARDPROFILES ParsedFile(const fs::path& file) {
    _CARDPROFILES profiles;
    EXPECT_EQ(quilanctl::ProfilesFromJson(CProgram::Read(file), profiles), std::nullopt);
    return profiles;
}

// The name of the kept file as the last line says it.
fs::path KeptFileNamed(const ProgramRun& run) {
    std::smatch match;
    EXPECT_TRUE(std::regex_search(run.err, match, std::regex("are kept in (\\S+)\n$"))) << run.err;
    return match.size() > 1 ? fs::path(match[1].str()) : fs::path();
}

TEST_F(QuilanctlTest, FirmwareWithKeepProfilesLeavesTheProfilesAsTheyWere) {
    tasim::Adapter& card = Card("COM3");
    card.SetCardProfiles(SampleProfiles(true));
    const _CARDPROFILES before = card.CardProfiles();
    std::string elm = Elm(kNewVersion, "ISDN(NI-1,5ESS,S/T)");
    ProgramRun run = Run({"firmware", "COM3", elm, "--keep-profiles", "--yes"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "COM3: firmware 3.11.02 (North America) downloaded\n");
    EXPECT_EQ(card.Version(), kNewVersion);
    EXPECT_TRUE(SameBytes(card.CardProfiles(), before));
    EXPECT_EQ(Kept(), std::vector<fs::path>{});
    // The progress as plain lines, standard error not being a terminal (so short a download
    // ends before the first estimate).
    EXPECT_NE(run.err.find("\nPlease Wait .....\nTransfer Complete. Please Wait .....\n100%  Est. "
                           "time remaining: 0 secs (4.0 KB copied)\n"),
              std::string::npos)
        << run.err;
}

TEST_F(QuilanctlTest, FirmwareWithoutKeepProfilesLeavesTheNewFirmwaresOwn) {
    tasim::Adapter& card = Card("COM3");
    card.SetCardProfiles(SampleProfiles(true));
    const _CARDPROFILES before = card.CardProfiles();
    ProgramRun run = Run({"firmware", "COM3", Elm(kNewVersion, "ISDN(NI-1,5ESS,S/T)"), "--yes"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(card.Version(), kNewVersion);
    EXPECT_FALSE(SameBytes(card.CardProfiles(), before));
}

TEST_F(QuilanctlTest, KeepProfilesNeverWritesThemToFirmwareOfTheOtherRegion) {
    tasim::Adapter& card = Card("COM3");
    card.SetCardProfiles(SampleProfiles(true));
    const _CARDPROFILES before = card.CardProfiles();
    card.ClearRecording();
    ProgramRun run =
        Run({"firmware", "COM3", Elm(kNewVersion, "ISDN(EURO,ETSI)"), "--keep-profiles", "--yes"});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(card.GetRegion(), tasim::Region::International);
    EXPECT_NE(run.err.find("the saved file holds profiles for North America firmware; the card "
                           "on COM3 runs International firmware"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(Written(card));
    fs::path kept = KeptFileNamed(run);
    EXPECT_EQ(Kept(), std::vector<fs::path>{kept});
    EXPECT_TRUE(SameBytes(ParsedFile(kept), before));
}

TEST_F(QuilanctlTest, FailedDownloadLeavesTheSavedProfiles) {
    tasim::Adapter& card = Card("COM3", WithFault([](tasim::Faults& f) { f.cancelAtBlock = 3; }));
    card.SetCardProfiles(SampleProfiles(true));
    const _CARDPROFILES before = card.CardProfiles();
    ProgramRun run = Run(
        {"firmware", "COM3", Elm(kNewVersion, "ISDN(NI-1,5ESS,S/T)"), "--keep-profiles", "--yes"});
    EXPECT_EQ(run.status, 6);
    EXPECT_NE(run.err.find("quilanctl: ERR0016 : Error occured on the Quilan ISDN T/A during "
                           "download. Download aborted.\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("quilanctl: COM3: the download failed: the card cancelled it\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(card.Version(), kOldVersion);
    fs::path kept = KeptFileNamed(run);
    EXPECT_EQ(Kept(), std::vector<fs::path>{kept});
    EXPECT_TRUE(SameBytes(ParsedFile(kept), before));
}

struct Answer {
    const char* name;
    std::string input;
    int status;
};

void PrintTo(const Answer& answer, std::ostream* out) {
    *out << answer.name;
}

class Confirmation : public QuilanctlTest, public ::testing::WithParamInterface<Answer> {};

TEST_P(Confirmation, DownloadsOnlyWhenAnsweredYes) {
    tasim::Adapter& card = Card("COM3");
    ProgramRun run =
        Run({"firmware", "COM3", Elm(kNewVersion, "ISDN(NI-1,5ESS,S/T)")}, GetParam().input);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    EXPECT_EQ(run.err.rfind("WARN0005 : The firmware to be downloaded is different from the "
                            "firmware on the card. \n  Card : North America ( Version 3.10.05) "
                            "\n  ELM : North America ( Version 3.11.02) \n  Proceed? [y/N] ",
                            0),
              0u)
        << run.err;
    EXPECT_EQ(card.Version(), GetParam().status == 0 ? kNewVersion : kOldVersion);
}

INSTANTIATE_TEST_SUITE_P(Answers, Confirmation,
                         ::testing::Values(Answer{"yes", "yes\n", 0}, Answer{"y", "Y\n", 0},
                                           Answer{"no", "n\n", 5}, Answer{"no_input", "", 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(QuilanctlTest, BrokenElmFileIsRefusedBeforeTheCardIsTouched) {
    tasim::Adapter& card = Card("COM3");
    std::string elm = Elm(kNewVersion, "ISDN(NI-1,5ESS,S/T)", mkelm::Break::Checksum);
    card.ClearRecording();
    ProgramRun run = Run({"firmware", "COM3", elm, "--keep-profiles", "--yes"});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.err,
              "quilanctl: ERR0014 : Error - invalid ELM file format.\n"
              "quilanctl: " +
                  elm + ": the ELM file was refused\n");
    EXPECT_FALSE(Written(card));
    EXPECT_EQ(card.Version(), kOldVersion);
    EXPECT_EQ(Kept(), std::vector<fs::path>{});
}

// Ctrl-C in the middle presses the progress dialog's Cancel: the card is told and keeps its
// firmware, instead of being left in its loader.
TEST_F(QuilanctlTest, InterruptCancelsTheDownloadCleanly) {
    tasim::Config config = CardConfig();
    config.faults.pace = true;
    tasim::Adapter& card = Card("COM3", config);
    std::string elm = Elm(kNewVersion, "ISDN(NI-1,5ESS,S/T)", mkelm::Break::None, 40000);
    ProgramRun run = Run({"firmware", "COM3", elm, "--yes"}, "", [&card](pid_t pid) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (card.Received().size() < 4096 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        kill(pid, SIGINT);
    });
    EXPECT_EQ(run.status, 6) << run.err;
    EXPECT_NE(run.err.find("COM3: the download failed: it was cancelled"), std::string::npos)
        << run.err;
    EXPECT_EQ(card.Version(), kOldVersion);
    EXPECT_FALSE(card.InLoader());
}

// The port command maps an emulated card's pseudo-terminal to COM3, where the tool finds it.
TEST_F(QuilanctlTest, PortsMapsACardThatListThenFinds) {
    tasim::Adapter& card = Card("COM1");
    std::string pty = card.SlavePath().string();
    ProgramRun run = Run({"ports", "COM3=" + pty, "COM1="});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("COM1   -\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("COM3   " + pty + "\n"), std::string::npos) << run.out;
    run = Run({"list"});
    EXPECT_NE(run.out.find("\nCOM3   Quilan ISDN T/A  3.10.05    North America\n"),
              std::string::npos)
        << run.out;
    run = Run({"ports", "COM3=/dev/null"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "quilanctl: /dev/null: not a terminal\n");
    EXPECT_EQ(Run({"ports", "COM3"}).status, 2);
}

}  // namespace
