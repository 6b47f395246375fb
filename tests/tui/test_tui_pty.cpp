// The terminal front end in a real pseudo-terminal: tui_demo runs in a tmux pane of 80 x 24,
// keys go in with send-keys and the screen comes back with capture-pane. After the program
// ends, however it ends, the pane's terminal must be back in its normal modes.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#ifndef TUI_DEMO_PATH
#error "TUI_DEMO_PATH names the demo program"
#endif

namespace {

std::string Run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) {
            output.append(buffer, n);
        }
        pclose(pipe);
    }
    return output;
}

// The test's own time scale, which ctest sets, for the program it starts.
std::string TimeScale() {
    const char* scale = std::getenv("QUILAN_TIME_SCALE");
    return scale ? scale : "1";
}

class Pane {
  public:
    // Starts the demo with `arguments` in a new detached session of a tmux server of our own.
    explicit Pane(const std::string& arguments)
        : m_tmux("tmux -L quilan-tui-" + std::to_string(getpid()) + "-" +
                 std::to_string(++s_nPanes) + " ") {
        // The demo reads the front end and the time scale; the caller's settings stay out.
        std::string shell = "env -u QUILAN_FRONTEND QUILAN_TIME_SCALE=" + TimeScale() + " " +
                            std::string(TUI_DEMO_PATH) + " " + arguments +
                            "; echo DEMO-EXIT=$?; stty -a; sleep 600";
        Run(m_tmux + "-f /dev/null new-session -d -x 80 -y 24 '" + shell + "'");
    }
    ~Pane() { Run(m_tmux + "kill-server"); }

    std::string Screen() { return Run(m_tmux + "capture-pane -p"); }
    void Keys(const std::string& keys) { Run(m_tmux + "send-keys " + keys); }
    void Resize(int columns, int rows) {
        Run(m_tmux + "resize-window -x " + std::to_string(columns) + " -y " + std::to_string(rows));
    }

    // Waits until the screen shows all of `texts` (a capture may catch a painting half
    // done); the screen either way.
    std::string WaitFor(std::initializer_list<std::string> texts) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::string screen;
        do {
            screen = Screen();
            bool bAll = true;
            for (const std::string& text : texts) {
                bAll = bAll && screen.find(text) != std::string::npos;
            }
            if (bAll) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < deadline);
        return screen;
    }

    // Waits until the screen no longer shows `what`; the screen either way.
    std::string WaitUntilGone(const std::string& what) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::string screen;
        do {
            screen = Screen();
            if (screen.find(what) == std::string::npos) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < deadline);
        return screen;
    }

    // The demo's process: the child of the pane's shell.
    pid_t Demo() {
        std::string shell = Run(m_tmux + "display -p '#{pane_pid}'");
        std::ifstream children("/proc/" + std::to_string(std::stoi(shell)) + "/task/" +
                               std::to_string(std::stoi(shell)) + "/children");
        pid_t child = 0;
        children >> child;
        return child;
    }

  private:
    static inline int s_nPanes = 0;  // each pane its own server
    std::string m_tmux;
};

bool HasTmux() {
    return Run("command -v tmux").find("tmux") != std::string::npos;
}

// After the demo: its exit status and a terminal in its normal modes, showing the shell's
// screen again instead of the dialog.
void ExpectRestored(Pane& pane, const std::string& exit) {
    std::string screen = pane.WaitFor({"DEMO-EXIT=", "echoke"});  // the last line of stty -a
    EXPECT_NE(screen.find("DEMO-EXIT=" + exit), std::string::npos) << screen;
    std::string flat;
    for (char c : screen) {
        flat += c == '\n' ? ' ' : c;
    }
    flat += ' ';
    EXPECT_NE(flat.find(" icanon "), std::string::npos) << screen;
    EXPECT_NE(flat.find(" echo "), std::string::npos) << screen;
    EXPECT_NE(flat.find(" icrnl "), std::string::npos) << screen;
    EXPECT_EQ(flat.find("Quilan ISDN T/A Properties"), std::string::npos) << screen;
}

TEST(Pty, SheetIsShownWorkedWithKeysAndLeftWithEscape) {
    if (!HasTmux()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    Pane pane("");
    std::string screen = pane.WaitFor({"Quilan ISDN T/A Properties", "[General]",
                                       "Corvane Quilan ISDN T/A ( COM2", "< OK >", "[ Help ]"});
    EXPECT_NE(screen.find("[ Help ]"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("Apply"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("too small"), std::string::npos) << screen;

    // Ctrl-PgDn changes tabs; the page's timer moves the bar, which shows its percentage.
    pane.Keys("C-PageDown");
    screen = pane.WaitFor({"[Download]", "Transferring ROM0NA.ELM", "%", "[=CARD=]"});
    EXPECT_NE(screen.find("[=CARD=]"), std::string::npos) << screen;
    pane.Keys("C-PageUp");
    pane.WaitFor({"[General]", "Profile Properties"});

    // Alt+M presses "&Message": a message box over the sheet, closed with Esc.
    pane.Keys("M-m");
    screen = pane.WaitFor({"WARN0002", "Quilan ISDN T/A Configuration Tool", "/ ! \\"});
    EXPECT_NE(screen.find("Quilan ISDN T/A Configuration Tool"), std::string::npos) << screen;
    pane.Keys("Escape");
    screen = pane.WaitUntilGone("WARN0002");
    EXPECT_EQ(screen.find("WARN0002"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Profile Properties"), std::string::npos) << screen;

    // F1 opens the help viewer, Esc closes it.
    pane.Keys("F1");
    screen = pane.WaitFor({"Help line 1:", "Terminal demo", "< Close >"});
    EXPECT_NE(screen.find("Terminal demo"), std::string::npos) << screen;
    pane.Keys("PageDown");
    screen = pane.WaitUntilGone("Help line 1:");
    EXPECT_NE(screen.find("Help line 9:"), std::string::npos) << screen;

    // Two quick Escapes: the first closes the help viewer, the second cancels the sheet.
    pane.Keys("Escape Escape");
    ExpectRestored(pane, "3");
}

TEST(Pty, SmallTerminalGetsANoticeUntilItGrows) {
    if (!HasTmux()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    Pane pane("");
    pane.WaitFor({"Quilan ISDN T/A Properties", "[ Help ]"});
    pane.Resize(60, 20);
    std::string screen = pane.WaitFor({"too small", "60 x 20"});
    EXPECT_NE(screen.find("80 x 24"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("Corvane"), std::string::npos) << screen;
    pane.Resize(80, 24);
    screen = pane.WaitFor({"Corvane", "[ Help ]"});
    EXPECT_EQ(screen.find("too small"), std::string::npos) << screen;
    pane.Keys("Enter");  // OK is the sheet's default button
    ExpectRestored(pane, "0");
}

TEST(Pty, TerminalIsRestoredWhenASignalEndsTheProgram) {
    if (!HasTmux()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    struct Row {
        int signal;
        const char* exit;
    };
    for (Row row : {Row{SIGTERM, "143"}, Row{SIGINT, "130"}, Row{SIGHUP, "129"},
                    Row{SIGABRT, "134"}, Row{SIGSEGV, ""}}) {
        SCOPED_TRACE(strsignal(row.signal));
        Pane pane("--message");
        std::string screen = pane.WaitFor({"Do you want to continue?", "< Yes >"});
        ASSERT_NE(screen.find("< Yes >"), std::string::npos) << screen;
        pid_t demo = pane.Demo();
        ASSERT_GT(demo, 0);
        kill(demo, row.signal);
        ExpectRestored(pane, row.exit);
    }
}

TEST(Pty, MessageBoxAnswersWithTheKeyboard) {
    if (!HasTmux()) {
        GTEST_SKIP() << "tmux is not installed";
    }
    Pane pane("--message");
    pane.WaitFor({"Do you want to continue?", "[ No ]"});
    pane.Keys("Tab");
    pane.Keys("Space");  // the second button: No
    ExpectRestored(pane, "7");
}

}  // namespace
