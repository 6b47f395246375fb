// The termios port against a pseudo-terminal: exclusivity, raw bytes, the releasable wait and
// a device that hangs up.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "platform/serial/Port.h"
#include "tests/link/PtyPeer.h"

namespace {

using linktest::PtyPeer;
using linktest::TestRoot;

std::string Silent(const std::string&) {
    return "";
}

class PortTest : public testing::Test {
  protected:
    PortTest() {
        m_root.Link("COM1", m_peer.SlavePath());
        EXPECT_TRUE(m_port.Open("COM1"));
        serial::LineSettings settings;
        settings.xonXoff = true;
        EXPECT_TRUE(m_port.Configure(settings));
    }

    // Reads until `count` bytes have come or the device has nothing more within a while.
    std::string ReadBytes(std::size_t count) {
        std::string bytes;
        m_port.SetEventMask(true);
        while (bytes.size() < count) {
            auto waiting = std::async(std::launch::async, [this] { return m_port.WaitForEvent(); });
            if (waiting.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
                m_port.SetEventMask(false);
                break;
            }
            if (waiting.get() != serial::Event::Received) {
                break;
            }
            char buffer[64];
            int got = m_port.Read(buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return bytes;
    }

    TestRoot m_root;
    PtyPeer m_peer{Silent};
    serial::Port m_port;
};

TEST_F(PortTest, SecondOpenFailsUntilTheFirstIsClosed) {
    serial::Port second;
    EXPECT_FALSE(second.Open("COM1"));
    EXPECT_FALSE(m_port.Open("COM1"));  // nor can the same object open twice
    m_port.Close();
    EXPECT_TRUE(second.Open("COM1"));
}

TEST_F(PortTest, BytesPassUnchangedInBothDirections) {
    const std::string sent("a\rb\nc\0\x7f\x80\xff\x03\x1a", 12);
    m_peer.Send(sent);
    EXPECT_EQ(ReadBytes(sent.size()), sent);

    ASSERT_EQ(m_port.Write("x\ny\r", 4, 1000), serial::WriteResult::Done);
    EXPECT_TRUE(m_peer.WaitForReceived("x\ny\r", 5000));
    EXPECT_EQ(m_peer.Received(), "x\ny\r");
}

TEST_F(PortTest, StatusCountsWaitingBytesAndPurgeDiscardsThem) {
    m_peer.Send("12345");
    m_port.SetEventMask(true);
    ASSERT_EQ(m_port.WaitForEvent(), serial::Event::Received);
    serial::Status status;
    for (int i = 0; i < 1000 && (status = m_port.QueryStatus()).bytesWaiting < 5; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(status.ok);
    EXPECT_EQ(status.errors, 0u);
    EXPECT_EQ(status.bytesWaiting, 5u);
    char two[2];
    EXPECT_EQ(m_port.Read(two, sizeof two), 2);
    EXPECT_EQ(m_port.QueryStatus().bytesWaiting, 3u);
    m_port.Purge();
    EXPECT_EQ(m_port.QueryStatus().bytesWaiting, 0u);
    EXPECT_EQ(m_port.Read(two, sizeof two), 0);  // nothing waiting: no wait either
}

TEST_F(PortTest, ClearingTheEventMaskReleasesAWaitFromAnotherThread) {
    m_port.SetEventMask(true);
    auto waiting = std::async(std::launch::async, [this] { return m_port.WaitForEvent(); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    m_port.SetEventMask(false);
    ASSERT_EQ(waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(waiting.get(), serial::Event::Released);
}

TEST_F(PortTest, HangUpIsReportedOnceAndThenTheWaitBlocksUntilReleased) {
    m_port.SetEventMask(true);
    m_peer.HangUp();
    EXPECT_EQ(m_port.WaitForEvent(), serial::Event::Failed);
    EXPECT_TRUE(m_port.QueryStatus().errors & serial::kErrorHangUp);
    EXPECT_NE(m_port.Write("AT\r", 3, 1000), serial::WriteResult::Done);

    auto waiting = std::async(std::launch::async, [this] { return m_port.WaitForEvent(); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    m_port.SetEventMask(false);
    ASSERT_EQ(waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(waiting.get(), serial::Event::Released);
}

TEST_F(PortTest, PseudoTerminalHasNoModemLinesButTakesLineSettings) {
    EXPECT_FALSE(m_port.SetDtr(true));
    serial::LineSettings settings;
    settings.rtsCts = true;
    settings.parity = serial::Parity::Even;
    settings.stopBits = serial::StopBits::Two;
    EXPECT_TRUE(m_port.Configure(settings));
    settings.baudRate = 12345;
    EXPECT_FALSE(m_port.Configure(settings));
}

}  // namespace
