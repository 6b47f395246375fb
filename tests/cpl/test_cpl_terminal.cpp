// The whole path in a real terminal: the host under tmux (a pseudo-terminal it reads back) with
// the applet and emulated adapters on the root's ports. Open the applet, see the cards listed
// after the detection and leave; pick cards with the keyboard and open their profiles; change
// a profile's number and see the card store it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/tasim/Adapter.h"

namespace fs = std::filesystem;

namespace {

std::string Output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            text.append(buffer, n);
        }
        pclose(pipe);
    }
    return text;
}

// Firmware 3.10.05: minor version above 3, so the North American card's profiles can be edited.
tasim::Config Card(tasim::Region region) {
    tasim::Config config;
    config.region = region;
    config.version = "3.10.05";
    return config;
}

bool Contains(const std::string& screen, const std::string& text) {
    return screen.find(text) != std::string::npos;
}

// How often `card` was asked for its stored profiles: once each time its profiles sheet opens.
long ProfileReads(const tasim::Adapter& card) {
    const std::vector<std::string> commands = card.Commands();
    return std::count(commands.begin(), commands.end(), "AT&V\r");
}

class CplTerminal : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/cpl_terminal_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        fs::create_directories(m_root / "ports");
        fs::create_directories(m_root / "applets");
        fs::create_symlink(ORNAPANEL_PATH, m_root / "applets" / "ornapanel.cpl");
        m_tmux = "tmux -S '" + (m_root / "tmux.sock").string() + "' ";
    }
    void TearDown() override {
        std::system((m_tmux + "kill-server 2>/dev/null").c_str());
        m_northAmerica.Stop();
        m_international.Stop();
        fs::remove_all(m_root);
    }

    std::string Screen() { return Output(m_tmux + "capture-pane -p -t host 2>/dev/null"); }
    bool HostRunning() {
        return std::system((m_tmux + "has-session -t host 2>/dev/null").c_str()) == 0;
    }
    void Keys(const std::string& keys) {
        std::system((m_tmux + "send-keys -t host " + keys).c_str());
    }
    // Waits for the screen to satisfy `shown`, reading it back every 50 ms; the limit is
    // generous because the detection probes every port.
    template <class Condition>
    bool WaitFor(Condition shown) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            if (shown(Screen())) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // Starts the host in an 80 x 24 terminal and opens the applet from its panel.
    void OpenApplet() {
        const char* scale = std::getenv("QUILAN_TIME_SCALE");  // ctest's, or none
        const std::string host = "env -u QUILAN_FRONTEND QUILAN_ROOT='" + m_root.string() +
                                 "' QUILAN_TIME_SCALE=" + (scale ? scale : "1") + " TERM=screen '" +
                                 HOST_PATH + "' --dir '" + (m_root / "applets").string() + "'";
        ASSERT_EQ(
            std::system((m_tmux + "new-session -d -s host -x 80 -y 24 \"" + host + "\"").c_str()),
            0);
        ASSERT_TRUE(WaitFor([](const std::string& s) {
            return Contains(s, "Quilan ISDN Terminal Adapter");
        })) << Screen();
        Keys("Enter");
    }
    // Leaves the main sheet, then the panel; the host ends and its terminal session with it.
    void CloseApplet() {
        Keys("Escape");
        ASSERT_TRUE(WaitFor([](const std::string& s) {
            return !Contains(s, "Corvane Quilan ISDN T/A (") &&
                   Contains(s, "Quilan ISDN Terminal Adapter");
        })) << Screen();
        Keys("Escape");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (HostRunning() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_FALSE(HostRunning());
    }

    fs::path m_root;
    std::string m_tmux;
    tasim::Adapter m_northAmerica{Card(tasim::Region::NorthAmerica)};
    tasim::Adapter m_international{Card(tasim::Region::International)};
};

}  // namespace

TEST_F(CplTerminal, OpensTheAppletAndListsBothEmulatedCards) {
    ASSERT_TRUE(m_northAmerica.Start(m_root, "COM2"));
    ASSERT_TRUE(m_international.Start(m_root, "COM5"));
    OpenApplet();
    // The list's column may cut the closing parenthesis off.
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return Contains(s, "Corvane Quilan ISDN T/A ( COM2") &&
               Contains(s, "Corvane Quilan ISDN T/A ( COM5") && !Contains(s, "Please wait");
    })) << Screen();

    CloseApplet();
}

// A keyboard-only user: the arrows move the selection, Alt+O opens the profiles sheet of the
// selected card exactly when its firmware (minor version above 3) has profiles.
TEST_F(CplTerminal, ArrowsSelectTheCardWhoseProfilesAltOOpens) {
    tasim::Config old = Card(tasim::Region::NorthAmerica);
    old.version = "3.03.05";
    tasim::Adapter noProfiles(old);
    ASSERT_TRUE(noProfiles.Start(m_root, "COM1"));
    ASSERT_TRUE(m_international.Start(m_root, "COM3"));
    ASSERT_TRUE(m_northAmerica.Start(m_root, "COM10"));
    OpenApplet();
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return Contains(s, "( COM1") && Contains(s, "( COM3") && Contains(s, "( COM10") &&
               !Contains(s, "Please wait");
    })) << Screen();

    const std::string international = "Profiles - International (Excl. North America)";
    const std::string northAmerica = "Profiles - North America";
    auto sheetClosed = [](const std::string& s) { return !Contains(s, "Profiles - "); };
    // COM1 is selected first and has no profiles: the first Alt+O does nothing, or the keys
    // after it would act on COM1's profiles sheet.
    Keys("M-o Down M-o");
    ASSERT_TRUE(WaitFor([&](const std::string& s) { return Contains(s, international); }))
        << Screen();
    EXPECT_EQ(ProfileReads(m_international), 1);
    Keys("Escape");
    ASSERT_TRUE(WaitFor(sheetClosed)) << Screen();
    Keys("Down M-o");
    ASSERT_TRUE(WaitFor([&](const std::string& s) { return Contains(s, northAmerica); }))
        << Screen();
    EXPECT_EQ(ProfileReads(m_northAmerica), 1);
    Keys("Escape");
    ASSERT_TRUE(WaitFor(sheetClosed)) << Screen();
    // Back up to COM1: the profile controls are disabled again.
    Keys("Up Up M-o Down M-o");
    ASSERT_TRUE(WaitFor([&](const std::string& s) { return Contains(s, international); }))
        << Screen();
    EXPECT_EQ(ProfileReads(m_international), 2);
    Keys("Escape");
    ASSERT_TRUE(WaitFor(sheetClosed)) << Screen();
    EXPECT_EQ(ProfileReads(noProfiles), 0) << "COM1's profiles were never opened";
    CloseApplet();
}

// Firmware from the card page: Properties, Download with the offered standard file, the
// comparison confirmed, the progress dialog, and the new version on the page.
TEST_F(CplTerminal, DownloadsFirmwareFromTheCardPage) {
    ASSERT_TRUE(m_northAmerica.Start(m_root, "COM2"));
    std::ofstream(m_root / "registry.reg")
        << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory]\n"
        << "\"ElmDirectory\"=\"" << ELM_DIR << "\"\n";
    const std::string host = "env -u QUILAN_FRONTEND QUILAN_ROOT='" + m_root.string() +
                             "' QUILAN_TIME_SCALE=" + std::getenv("QUILAN_TIME_SCALE") +
                             " TERM=screen '" + HOST_PATH + "' --dir '" +
                             (m_root / "applets").string() + "'";
    ASSERT_EQ(std::system((m_tmux + "new-session -d -s host -x 80 -y 24 \"" + host + "\"").c_str()),
              0);
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return Contains(s, "Quilan ISDN Terminal Adapter");
    })) << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return Contains(s, "Corvane Quilan ISDN T/A ( COM2") && !Contains(s, "Please wait");
    })) << Screen();
    Keys("M-p");  // Properties
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return Contains(s, "Card Properties") && Contains(s, "3.10.05");
    })) << Screen();
    Keys("M-d");  // Download
    ASSERT_TRUE(WaitFor([](const std::string& s) { return Contains(s, "ROM0NA.ELM"); }))
        << Screen();
    Keys("Enter");  // the dialog's Download, with the offered file
    ASSERT_TRUE(WaitFor([](const std::string& s) { return Contains(s, "WARN0005"); })) << Screen();
    Keys("Enter");  // Yes
    ASSERT_TRUE(WaitFor([](const std::string& s) { return Contains(s, "WARN006"); })) << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return Contains(s, "Card Properties") && Contains(s, "3.11.02") && !Contains(s, "WARN006");
    })) << Screen();
    EXPECT_EQ(m_northAmerica.Version(), "3.11.02");
    Keys("Escape");
    Keys("Escape");
    Keys("Escape");
}

// A user changes the 1st number of a North American card's profile 0 with the keyboard: the
// profiles sheet, the profile's configuration sheet, the number, OK twice; the card stores it.
TEST_F(CplTerminal, ChangesAProfileNumberAndTheCardStoresIt) {
    ASSERT_TRUE(m_northAmerica.Start(m_root, "COM2"));
    std::ofstream(m_root / "registry.reg")
        << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory]\n\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames]\n";
    OpenApplet();
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return Contains(s, "Corvane Quilan ISDN T/A ( COM2") && !Contains(s, "Please wait");
    })) << Screen();

    Keys("M-o");  // "Pr&ofile Properties"
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return Contains(s, "Profiles - North America") && Contains(s, "Profile 2");
    })) << Screen();
    Keys("M-c");  // "&Configure Profile " for the default profile's row
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return Contains(s, "Profile 0 Configuration") && Contains(s, "Telephone Number:");
    })) << Screen();
    Keys("M-t");  // "&Telephone Number:" leads to its edit
    Keys("555");
    Keys("Space");
    Keys("1234");
    ASSERT_TRUE(WaitFor([](const std::string& s) { return Contains(s, "555 1234"); })) << Screen();
    Keys("Enter");  // the configuration sheet's OK
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return !Contains(s, "Profile 0 Configuration") && Contains(s, "Profiles - North America");
    })) << Screen();
    Keys("Enter");  // the profiles sheet's OK writes the card
    ASSERT_TRUE(WaitFor([](const std::string& s) {
        return !Contains(s, "Profiles - North America") && Contains(s, "( COM2");
    })) << Screen();
    EXPECT_EQ(m_northAmerica.Register(0, "!N1"), "5551234");
    EXPECT_EQ(m_northAmerica.Register(0, "!N2"), "5551234");
    EXPECT_EQ(m_northAmerica.Register(1, "!N1"), "") << "only profile 0 changed";

    CloseApplet();
}
