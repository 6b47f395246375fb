// `cmake --install` of this build into a scratch folder: every file in its FHS place, the
// registry written once and then left to the administrator, and the installed programs
// working from there, on their own libraries, against an emulated card.
#include <chrono>
#include <thread>

#include "tests/package/Scratch.h"
#include "tools/tasim/Adapter.h"

namespace fs = std::filesystem;

namespace {

class InstallTest : public ScratchTest {
  protected:
    void Install() {
        ShellRun run = Shell("env DESTDIR=" + Quoted(m_scratch) + " cmake --install " +
                             Quoted(BUILD_DIR) + " >/dev/null");
        ASSERT_EQ(run.status, 0) << run.output;
    }
};

TEST_F(InstallTest, PlacesEveryFileInItsFhsPlace) {
    ASSERT_NO_FATAL_FAILURE(Install());
    for (const char* file :
         {"usr/bin/quilan-control", "usr/bin/quilanctl", "usr/bin/quilan-regedit", "usr/bin/tasim",
          "usr/bin/mkelm", "usr/share/quilan/help/QLN_CPL.HLP", "usr/share/quilan/elm/ROM0NA.ELM",
          "usr/share/quilan/elm/ROM0ROW.ELM", "usr/share/man/man1/quilan-control.1.gz",
          "usr/share/man/man1/quilanctl.1.gz", "usr/share/man/man1/quilan-regedit.1.gz",
          "usr/share/man/man1/tasim.1.gz", "usr/share/man/man1/mkelm.1.gz"}) {
        EXPECT_TRUE(fs::is_regular_file(m_scratch / file)) << file;
    }
    for (const char* library :
         {"libplatform_sys.so", "libplatform_serial.so", "libplatform_registry.so",
          "libplatform_help.so", "libplatform_ui.so", "libplatform_tui.so", "libplatform_cpl.so",
          "libornaslot.so", "libornakeep.so", "libornaload.so", "libornaprop.so", "ornapanel.cpl",
          "create-registry"}) {
        EXPECT_TRUE(fs::is_regular_file(m_scratch / kLibDir / library)) << library;
    }
    EXPECT_EQ(ReadFile(Root() / "registry.reg"), kInstalledRegistry);
    // The programs load the installed libraries, not the build's.
    ShellRun libraries = Shell("ldd " + Quoted(m_scratch / "usr/bin/quilanctl") + " " +
                               Quoted(m_scratch / kLibDir / "ornapanel.cpl"));
    ASSERT_EQ(libraries.status, 0) << libraries.output;
    EXPECT_EQ(libraries.output.find(BUILD_DIR), std::string::npos) << libraries.output;
    EXPECT_NE(libraries.output.find((m_scratch / kLibDir / "libornaprop.so").string()),
              std::string::npos)
        << libraries.output;
    EXPECT_EQ(libraries.output.find("not found"), std::string::npos) << libraries.output;
    ShellRun page = Shell("man -l " + Quoted(m_scratch / "usr/share/man/man1/quilanctl.1.gz") +
                          " | grep -c '^EXIT STATUS$'");
    EXPECT_EQ(page.output, "1\n") << page.output;
}

TEST_F(InstallTest, AnotherInstallationKeepsTheRegistryAndItsProfileNames) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ShellRun named = Installed("quilan-regedit", "'" + std::string(kProfileNamesKey) +
                                                     "' Profile0=Office 'Profile1=Home \"2\"'");
    ASSERT_EQ(named.status, 0) << named.output;
    std::string edited = ReadFile(Root() / "registry.reg");
    ASSERT_NE(edited, kInstalledRegistry);
    ASSERT_NO_FATAL_FAILURE(Install());
    EXPECT_EQ(ReadFile(Root() / "registry.reg"), edited);
    ShellRun query =
        Installed("quilan-regedit", "--query '" + std::string(kProfileNamesKey) + "' Profile1");
    EXPECT_EQ(query.output, "Home \"2\"\n");
}

// The host started from the installed paths finds the installed applet beside its libraries,
// and the applet lists the emulated card of the installation's system root.
TEST_F(InstallTest, InstalledProgramsWorkAgainstAnEmulatedCard) {
    ASSERT_NO_FATAL_FAILURE(Install());
    tasim::Adapter card;
    ASSERT_TRUE(card.Start(Root(), "COM3"));
    ShellRun list = Installed("quilanctl", "list");
    EXPECT_EQ(list.status, 0) << list.output;
    EXPECT_NE(list.output.find("COM3   Quilan ISDN T/A  3.10.05    North America"),
              std::string::npos)
        << list.output;

    std::string tmux = "tmux -S " + Quoted(m_scratch / "tmux.sock") + " ";
    const char* scale = std::getenv("QUILAN_TIME_SCALE");
    std::string host = "env -u QUILAN_FRONTEND QUILAN_ROOT=" + Quoted(Root()) +
                       " QUILAN_TIME_SCALE=" + (scale ? scale : "1") + " TERM=screen " +
                       Quoted(m_scratch / "usr/bin/quilan-control");
    ASSERT_EQ(Shell(tmux + "new-session -d -s host -x 80 -y 24 \"" + host + "\"").status, 0);
    auto waitFor = [&](const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        std::string screen;
        while (std::chrono::steady_clock::now() < deadline) {
            screen = Shell(tmux + "capture-pane -p -t host").output;
            if (screen.find(text) != std::string::npos &&
                screen.find("Please wait") == std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << "no \"" << text << "\" on the screen:\n" << screen;
        return false;
    };
    if (waitFor("Quilan ISDN Terminal Adapter")) {
        Shell(tmux + "send-keys -t host Enter");
        waitFor("Corvane Quilan ISDN T/A ( COM3");
    }
    Shell(tmux + "kill-server");
}

}  // namespace
