// Faults of the emulated adapter and of its line, seen from the computer's side of the pty.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "link/ReplyParser.h"
#include "platform/sys/Time.h"
#include "tests/tasim/PtyPeer.h"
#include "tools/tasim/Adapter.h"

namespace {

using namespace std::chrono_literals;

// The time a command step of the system waits for its reply, on the test's time scale.
std::chrono::milliseconds ReplyWait() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(sys::Scaled(5000));
}

struct Line {
    explicit Line(const tasim::Faults& faults) {
        adapter.SetFaults(faults);
        started = adapter.Start(root.path(), "COM3");
        peer = std::make_unique<PtyPeer>(root.Port("COM3"));
    }
    TempRoot root;
    tasim::Adapter adapter;
    bool started = false;
    std::unique_ptr<PtyPeer> peer;
};

TEST(Faults, MuteAnswersNothingButRecordsTheCommands) {
    tasim::Faults f;
    f.mute = true;
    Line line(f);
    ASSERT_TRUE(line.started);
    line.peer->Write("ATV1E1&K3\r\nATI8\r");
    EXPECT_EQ(line.peer->ReadSome(ReplyWait()), "");
    EXPECT_EQ(line.adapter.Commands(), (std::vector<std::string>{"ATV1E1&K3\r", "ATI8\r"}));
}

TEST(Faults, NoAnswerToTheKthCommandOnly) {
    tasim::Faults f;
    f.noAnswer.nth = 2;
    Line line(f);
    EXPECT_EQ(line.peer->Command("ATV1E1&K3\r\n"), "ATV1E1&K3\r\nOK\r\n");
    line.peer->Write("ATI3\r");
    EXPECT_EQ(line.peer->ReadSome(ReplyWait()), "");
    EXPECT_EQ(line.peer->Command("ATI3\r"), "ATI3\r\nV3.10.05\r\n\r\nOK\r\n");
}

TEST(Faults, ErrorToAGivenCommandTextOrPlace) {
    tasim::Faults f;
    f.error.text = "at&w0";
    f.error.nth = 2;
    Line line(f);
    line.peer->Command("ATV1E1&K3\r\n");
    EXPECT_EQ(line.peer->Command("ATI3\r"), "ATI3\r\nERROR\r\n");
    EXPECT_EQ(line.peer->Command("AT!C1=0\r"), "AT!C1=0\r\nOK\r\n");
    EXPECT_EQ(line.peer->Command("AT&W0\r"), "AT&W0\r\nERROR\r\n");
    EXPECT_EQ(line.adapter.Register(0, "!C1"), "9");  // the refused command had no effect
    EXPECT_EQ(line.peer->Command("AT&W1\r"), "AT&W1\r\nOK\r\n");
}

TEST(Faults, UnsolicitedLineBeforeTheEcho) {
    tasim::Faults f;
    f.unsolicitedBefore.text = "ATI3";
    Line line(f);
    line.peer->Command("ATV1E1&K3\r\n");
    std::string reply = line.peer->Command("ATI3\r");
    EXPECT_EQ(reply, "\r\nRING\r\nATI3\r\nV3.10.05\r\n\r\nOK\r\n");
    EXPECT_EQ(CReplyParser::GetFinalResultCode(reply.c_str() + reply.find('\n')), 0);
}

TEST(Faults, InjectedLineArrivesBetweenReplies) {
    Line line(tasim::Faults{});
    line.peer->Command("ATV1E1&K3\r\n");
    line.adapter.Inject("\r\nRING\r\n");
    EXPECT_EQ(line.peer->ReadUntil("RING\r\n"), "\r\nRING\r\n");
}

TEST(Faults, RepliesSplitAtTheChosenOffsets) {
    tasim::Faults f;
    f.splitReplies = {5, 9};
    f.splitGapMs = 200;  // long enough that each piece is read on its own
    Line line(f);
    line.peer->Command("ATV1E1&K3\r\n");
    line.peer->Write("ATI3\r");
    EXPECT_EQ(line.peer->ReadSome(2s), "ATI3\r");
    EXPECT_EQ(line.peer->ReadSome(2s), "\nV3.");
    EXPECT_EQ(line.peer->ReadUntil("OK\r\n"), "10.05\r\n\r\nOK\r\n");
}

TEST(Faults, OversizedReplyStillEndsWithItsFinalResult) {
    tasim::Faults f;
    f.oversize.text = "AT&V";
    f.oversizeBytes = 5200;
    Line line(f);
    line.peer->Command("ATV1E1&K3\r\n");
    std::string reply = line.peer->Command("AT&V\r");
    EXPECT_GE(reply.size(), 5200u);
    EXPECT_EQ(CReplyParser::GetFinalResultCode(reply.c_str() + reply.find('\n')), 0);
    EXPECT_NE(reply.find("STORED PROFILE 2:"), std::string::npos);
}

TEST(Faults, HangUpAtACommandRemovesTheCard) {
    tasim::Faults f;
    f.hangUpAt.text = "ATI3";
    Line line(f);
    EXPECT_EQ(line.peer->Command("ATI8\r").find("Corvane"), 6u);
    line.peer->Write("ATI3\r");
    EXPECT_TRUE(line.peer->HungUp(5s));
    EXPECT_FALSE(line.adapter.Running());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(line.root.Port("COM3"))));
    // The card can be put back.
    ASSERT_TRUE(line.adapter.Start(line.root.path(), "COM3"));
    line.adapter.SetFaults({});
    PtyPeer again(line.root.Port("COM3"));
    EXPECT_EQ(again.Command("ATI3\r"), "ATI3\r\nV3.10.05\r\n\r\nOK\r\n");
}

TEST(Faults, PacedReplyTakesItsLineTime) {
    tasim::Faults f;
    f.pace = true;
    f.oversize.text = "AT&V";
    f.oversizeBytes = 2304;  // 200 ms at 11520 bytes a second
    Line line(f);
    auto start = std::chrono::steady_clock::now();
    std::string reply = line.peer->Command("AT&V\r");
    EXPECT_GE(reply.size(), 2304u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
}

TEST(Line, StopRemovesTheLinkAndClosesTheLine) {
    TempRoot root;
    tasim::Adapter adapter;
    ASSERT_TRUE(adapter.Start(root.path(), "COM3"));
    auto slave = adapter.SlavePath();
    EXPECT_EQ(std::filesystem::read_symlink(root.Port("COM3")), slave);
    PtyPeer peer(root.Port("COM3"));
    adapter.Stop();
    EXPECT_TRUE(peer.HungUp(5s));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(root.Port("COM3"))));
    adapter.Stop();  // a second stop is harmless
}

TEST(Line, SeveralAdaptersServeTheirOwnPorts) {
    TempRoot root;
    tasim::Config na;
    na.version = "3.10.05";
    tasim::Config euro;
    euro.region = tasim::Region::International;
    euro.version = "2.08.11";
    tasim::Adapter a(na), b(euro);
    ASSERT_TRUE(a.Start(root.path(), "COM3"));
    ASSERT_TRUE(b.Start(root.path(), "COM10"));
    PtyPeer pa(root.Port("COM3")), pb(root.Port("COM10"));
    pa.Write("ATI3\r");
    pb.Write("ATI4\r");
    EXPECT_EQ(pb.ReadUntil("OK\r\n"), "ATI4\r\nISDN(EURO,ETSI,S/T)\r\n\r\nOK\r\n");
    EXPECT_EQ(pa.ReadUntil("OK\r\n"), "ATI3\r\nV3.10.05\r\n\r\nOK\r\n");
}

TEST(Line, OutputNotReadBeforeCloseIsGoneAtTheNextOpen) {
    TempRoot root;
    tasim::Adapter adapter;
    ASSERT_TRUE(adapter.Start(root.path(), "COM3"));
    {
        PtyPeer first(root.Port("COM3"));
        first.Write("ATI8\r");
        for (int i = 0; i < 200 && adapter.Commands().empty(); ++i)
            sys::Sleep(0);
        std::this_thread::sleep_for(50ms);  // the reply is written, unread
    }
    PtyPeer second(root.Port("COM3"));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(second.Command("ATI3\r"), "ATI3\r\nV3.10.05\r\n\r\nOK\r\n");
}

}  // namespace
