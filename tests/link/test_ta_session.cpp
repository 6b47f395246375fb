// Command-and-reply exchanges of a session against a pseudo-terminal stand-in adapter.
#include <gtest/gtest.h>

#include <string>

#include "link/ReplyParser.h"
#include "link/TASession.h"
#include "tests/link/PtyPeer.h"

namespace {

using linktest::PtyPeer;
using linktest::TestRoot;

// Answers like an adapter with echo on; "ATS" stays silent, "ATL" answers 3000 bytes.
std::string Adapter(const std::string& command) {
    if (command == "ATI3") {
        return command + "\r\r\nV3.10.05\r\n\r\nOK\r\n";
    }
    if (command == "ATX") {
        return command + "\r\r\nERROR\r\n";
    }
    if (command == "ATS") {
        return "";
    }
    if (command == "ATL") {
        return command + "\r\r\n" + std::string(3000, 'L') + "\r\n\r\nOK\r\n";
    }
    return PtyPeer::AnswerOk(command);
}

class TASessionTest : public testing::Test {
  protected:
    TASessionTest() { m_root.Link("COM3", m_peer.SlavePath()); }
    ~TASessionTest() override { m_session.Close(); }

    TestRoot m_root;
    PtyPeer m_peer{Adapter};
    CTASession m_session;
};

TEST_F(TASessionTest, ExchangeDeliversTheEchoAndTheReply) {
    ASSERT_EQ(m_session.Open("COM3"), 0);
    EXPECT_EQ(m_session.m_strPort, "COM3");
    ASSERT_EQ(m_session.Send("ATI3\r"), 0);
    ASSERT_EQ(m_session.WaitForReply(), 0);
    EXPECT_STREQ(m_session.m_szReply, "ATI3\r\r\nV3.10.05\r\n\r\nOK\r\n");
    _SoftwareVer version{};
    EXPECT_EQ(CReplyParser::ParseSoftwareVersion(m_session.ReplyFromFirstLineFeed(), version), 0);
    EXPECT_EQ(version.nMajor, 3);
    EXPECT_EQ(version.nMinor, 10);
}

TEST_F(TASessionTest, ErrorResultIsADeliveredReply) {
    ASSERT_EQ(m_session.Open("COM3"), 0);
    ASSERT_EQ(m_session.Send("ATX\r"), 0);
    ASSERT_EQ(m_session.WaitForReply(), 0);
    EXPECT_EQ(CReplyParser::GetFinalResultCode(m_session.ReplyFromFirstLineFeed()),
              CReplyParser::kResultError);
}

TEST_F(TASessionTest, UnansweredCommandTimesOutAndTheLateReplyArrivesAtTheNextWait) {
    ASSERT_EQ(m_session.Open("COM3"), 0);
    ASSERT_EQ(m_session.Send("ATS\r"), 0);
    EXPECT_EQ(m_session.WaitForReply(), CTASession::kNoReply);
    EXPECT_EQ(sys::Wait(m_session.m_hReplyEvent, 0), sys::WaitResult::Timeout);

    m_peer.Send("\r\nLATE\r\n\r\nOK\r\n");
    ASSERT_EQ(sys::Wait(m_session.m_hReplyEvent, 20000), sys::WaitResult::Signaled);
    EXPECT_EQ(m_session.WaitForReply(), 0);
    EXPECT_STREQ(m_session.m_szReply, "\r\nLATE\r\n\r\nOK\r\n");
    EXPECT_EQ(sys::Wait(m_session.m_hReplyEvent, 0), sys::WaitResult::Timeout);
}

TEST_F(TASessionTest, ReplyBeyondTheCollectionFailsWithoutWaitingOut) {
    ASSERT_EQ(m_session.Open("COM3"), 0);
    ASSERT_EQ(m_session.Send("ATL\r"), 0);
    EXPECT_EQ(m_session.WaitForReply(), CSerialPort::kReadFailed);
    // The rest of the reply still completes and is handed over like a late reply (unless it
    // came before the wait above reset the event); the next exchange then gets through.
    sys::Wait(m_session.m_hReplyEvent, 20000);
    sys::ResetEvent(m_session.m_hReplyEvent);
    ASSERT_EQ(m_session.Send("AT\r"), 0);
    ASSERT_EQ(m_session.WaitForReply(), 0);
    EXPECT_STREQ(m_session.m_szReply, "AT\r\r\nOK\r\n");
}

TEST_F(TASessionTest, FailedOpenCanBeClosedAndTheSessionUsedAgain) {
    EXPECT_EQ(m_session.Open("COM4"), CSerialPort::kOpenFailed);
    EXPECT_EQ(m_session.Close(), 0);
    EXPECT_EQ(m_session.Close(), 0);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(m_session.Open("COM3"), 0);
        ASSERT_EQ(m_session.Send("ATI3\r"), 0);
        ASSERT_EQ(m_session.WaitForReply(), 0);
        EXPECT_STREQ(m_session.ReplyFromFirstLineFeed(), "\nV3.10.05\r\n\r\nOK\r\n");
        EXPECT_EQ(m_session.Close(), 0);
    }
}

}  // namespace
