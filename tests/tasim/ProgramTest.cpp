// The tasim program: it links its port, answers over the pty, keeps its state file and
// cleans up on SIGTERM and SIGINT.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/tasim/PtyPeer.h"

namespace {

using namespace std::chrono_literals;

// One running tasim with its standard output on a pipe.
class Program {
  public:
    explicit Program(std::vector<std::string> args) {
        int out[2];
        if (::pipe(out) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(TASIM_PROGRAM));
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(TASIM_PROGRAM, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        m_out = out[0];
    }
    ~Program() {
        if (m_pid > 0)
            Stop(SIGKILL);
        if (m_out >= 0)
            ::close(m_out);
    }
    // The line the program prints once its port is linked.
    std::string FirstLine() {
        std::string line;
        char c;
        while (::read(m_out, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    // Sends the signal and returns the exit status.
    int Stop(int signal) {
        ::kill(m_pid, signal);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return status;
    }

  private:
    pid_t m_pid = -1;
    int m_out = -1;
};

TEST(Program, LinksItsPortAnswersAndCleansUpOnSigterm) {
    TempRoot root;
    Program tasim({"--root", root.path().string(), "--port", "COM3", "--version", "3.10.07"});
    std::string line = tasim.FirstLine();
    EXPECT_NE(line.find("COM3"), std::string::npos) << line;
    ASSERT_TRUE(std::filesystem::is_symlink(root.Port("COM3")));
    EXPECT_EQ(std::filesystem::read_symlink(root.Port("COM3")).string().rfind("/dev/pts/", 0), 0u);
    {
        PtyPeer peer(root.Port("COM3"));
        EXPECT_EQ(peer.Command("ATI3\r"), "ATI3\r\nV3.10.07\r\n\r\nOK\r\n");
    }
    int status = tasim.Stop(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(root.Port("COM3"))));
}

TEST(Program, SeveralInstancesAtOnceWithOptionsAndFaults) {
    TempRoot root;
    Program na({"--root", root.path().string(), "--port", "COM3", "--error-to", "ATI8"});
    Program euro({"--root", root.path().string(), "--port", "COM4", "--region", "euro", "--ident",
                  "Corvane Quilan ISDN Terminal Adpater"});
    na.FirstLine();
    euro.FirstLine();
    PtyPeer a(root.Port("COM3")), b(root.Port("COM4"));
    EXPECT_EQ(a.Command("ATI8\r"), "ATI8\r\nERROR\r\n");
    EXPECT_EQ(b.Command("ATI8\r"), "ATI8\r\nCorvane Quilan ISDN Terminal Adpater\r\n\r\nOK\r\n");
    EXPECT_EQ(b.Command("ATI4\r"), "ATI4\r\nISDN(EURO,ETSI,S/T)\r\n\r\nOK\r\n");
    int status = euro.Stop(SIGINT);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(root.Port("COM4"))));
    EXPECT_TRUE(std::filesystem::is_symlink(root.Port("COM3")));
}

TEST(Program, StateFileKeepsProfilesAcrossRuns) {
    TempRoot root;
    std::string state = (root.path() / "com3.state").string();
    std::vector<std::string> args = {"--root", root.path().string(), "--port", "COM3", "--state",
                                     state};
    {
        Program tasim(args);
        tasim.FirstLine();
        PtyPeer peer(root.Port("COM3"));
        EXPECT_EQ(peer.Command("AT!N11=8005550100!N21=\r"), "AT!N11=8005550100!N21=\r\nOK\r\n");
        EXPECT_EQ(peer.Command("AT&W1\r"), "AT&W1\r\nOK\r\n");
        tasim.Stop(SIGTERM);
    }
    Program again(args);
    again.FirstLine();
    PtyPeer peer(root.Port("COM3"));
    std::string listing = peer.Command("AT&V\r");
    std::size_t one = listing.find("STORED PROFILE 1:");
    std::size_t two = listing.find("STORED PROFILE 2:");
    ASSERT_LT(one, two);
    EXPECT_NE(listing.substr(one, two - one).find("!N11=8005550100 "), std::string::npos);
}

TEST(Program, RefusesUnknownOptions) {
    TempRoot root;
    Program tasim({"--root", root.path().string(), "--port", "COM3", "--frobnicate", "1"});
    EXPECT_EQ(tasim.FirstLine(), "");
    int status = tasim.Stop(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
}

}  // namespace
