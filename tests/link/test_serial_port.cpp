// The channel against a pseudo-terminal with a small adapter stand-in on its master side.
#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <future>
#include <random>
#include <thread>
#include <vector>

#include "link/SerialPort.h"
#include "platform/sys/Handle.h"
#include "tests/link/PtyPeer.h"

namespace {

using linktest::PtyPeer;
using linktest::TestRoot;

constexpr std::uint32_t kNoDeliveryMs = 5000;  // an owner's reply wait: nothing came
constexpr std::uint32_t kDeliveryMs = 20000;   // generous, for deliveries that must come

// The owner's side of a channel: buffer, done event and status word.
struct Sink {
    explicit Sink(int capacity = 5000) : buffer(static_cast<std::size_t>(capacity), '#') {}
    ~Sink() { sys::CloseHandle(done); }

    std::int32_t Register(CSerialPort& port,
                          std::int32_t mode = CSerialPort::DELIVER_ON_FINAL_RESULT,
                          sys::Handle ack = sys::kNoHandle) {
        return port.SetResponseSink(buffer.data(), static_cast<std::int32_t>(buffer.size()), done,
                                    &status, mode, ack);
    }
    // Waits for a delivery and resets the event for the next one.
    bool Delivered(std::uint32_t ms = kDeliveryMs) {
        bool signaled = sys::Wait(done, ms) == sys::WaitResult::Signaled;
        sys::ResetEvent(done);
        return signaled;
    }
    std::string Text() const { return buffer.data(); }

    std::vector<char> buffer;
    sys::Handle done = sys::CreateEvent();
    std::atomic<std::int32_t> status{0};  // owners clear it before they wait
};

// Runs Close on another thread; false when it has not returned within a generous real time.
bool ClosesPromptly(CSerialPort& port) {
    auto closing = std::async(std::launch::async, [&port] { return port.Close(); });
    return closing.wait_for(std::chrono::seconds(10)) == std::future_status::ready &&
           closing.get() == 0;
}

class SerialPortTest : public testing::Test {
  protected:
    explicit SerialPortTest(PtyPeer::Responder responder = PtyPeer::AnswerOk)
        : m_peer(std::move(responder)) {
        m_root.Link("COM3", m_peer.SlavePath());
        EXPECT_EQ(m_port.CreateIoEvents(), 0);
    }
    ~SerialPortTest() override { m_port.Close(); }

    TestRoot m_root;
    PtyPeer m_peer;
    CSerialPort m_port;
};

TEST_F(SerialPortTest, SettlingPauseDropsTheAnswerToTheSetUpCommand) {
    Sink sink;
    ASSERT_EQ(sink.Register(m_port), 0);
    ASSERT_EQ(m_port.Open("COM3"), 0);
    EXPECT_EQ(m_peer.Received(), "ATV1E1&K3\r\n");
    EXPECT_FALSE(sink.Delivered(0));

    ASSERT_EQ(m_port.Write("ATI3\r", 5), 0);
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.Text(), "ATI3\r\r\nOK\r\n");
    EXPECT_EQ(sink.status, 0);
}

struct FinalResultRow {
    const char* name;
    const char* text;
    bool delivered;
};

TEST_F(SerialPortTest, OnlyAFinalResultLineCompletesAReply) {
    const FinalResultRow rows[] = {
        {"OK", "\r\nOK\r\n", true},
        {"ok in lower case", "\r\nok\r\n", true},
        {"ERROR", "\r\nERROR\r\n", true},
        {"Error in mixed case", "\r\nError\r\n", true},
        {"unsolicited line", "\r\nRING\r\n", false},
        {"final line not yet ended", "\r\nOK\r", false},
        {"OK without the line before it", "OK\r\n", false},
        {"a line after the final result", "\r\nOK\r\n\r\nRING\r\n", false},
    };
    Sink sink;
    ASSERT_EQ(sink.Register(m_port), 0);
    ASSERT_EQ(m_port.Open("COM3"), 0);
    for (const FinalResultRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = std::string("X") + row.text;
        m_peer.Send(text);
        if (row.delivered) {
            ASSERT_TRUE(sink.Delivered());
            EXPECT_EQ(sink.Text(), text);
            continue;
        }
        EXPECT_FALSE(sink.Delivered(kNoDeliveryMs));
        // Still collected: the next final result delivers it with what follows.
        m_peer.Send("\r\nOK\r\n");
        ASSERT_TRUE(sink.Delivered());
        EXPECT_EQ(sink.Text(), text + "\r\nOK\r\n");
    }
}

TEST_F(SerialPortTest, AReplyMustLeaveRoomForItsTerminatingZero) {
    constexpr int kCapacity = 64;
    Sink sink(kCapacity);
    ASSERT_EQ(sink.Register(m_port), 0);
    ASSERT_EQ(m_port.Open("COM3"), 0);

    std::string fits = std::string(kCapacity - 1 - 6, 'a') + "\r\nOK\r\n";
    m_peer.Send(fits);
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.status, 0);
    EXPECT_EQ(sink.Text(), fits);

    std::string tooLong = std::string(kCapacity - 6, 'b') + "\r\nOK\r\n";
    m_peer.Send(tooLong);
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.status, CSerialPort::kReplyTooLong);
    EXPECT_EQ(sink.Text(), fits);  // nothing written past the capacity
}

TEST_F(SerialPortTest, CollectingReaches2499BytesOnlyAsAFailure) {
    Sink sink;
    ASSERT_EQ(sink.Register(m_port), 0);
    ASSERT_EQ(m_port.Open("COM3"), 0);

    std::string largest = std::string(2498 - 6, 'a') + "\r\nOK\r\n";
    m_peer.Send(largest);
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.status, 0);
    EXPECT_EQ(sink.Text(), largest);

    m_peer.Send(std::string(2499, 'b'));
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.status, CSerialPort::kReadFailed);

    // The collection was emptied: the next reply stands alone.
    sink.status = 0;
    m_peer.Send("\r\nOK\r\n");
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.status, 0);
    EXPECT_EQ(sink.Text(), "\r\nOK\r\n");
}

TEST_F(SerialPortTest, AcknowledgementEventHoldsTheNextDelivery) {
    Sink sink;
    sys::Handle ack = sys::CreateEvent();
    ASSERT_EQ(sink.Register(m_port, CSerialPort::DELIVER_EACH_CHUNK, ack), 0);
    ASSERT_EQ(m_port.Open("COM3"), 0);

    m_peer.Send("first");
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.Text(), "first");

    m_peer.Send("second");
    EXPECT_FALSE(sink.Delivered(kNoDeliveryMs));
    EXPECT_EQ(sink.Text(), "first");

    sys::SetEvent(ack);
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.Text(), "second");
    EXPECT_EQ(sys::Wait(ack, 0), sys::WaitResult::Timeout);  // the reader reset it
    sys::SetEvent(ack);
    sys::CloseHandle(ack);
}

TEST_F(SerialPortTest, CloseEndsAReaderBlockedInTheEventWait) {
    Sink sink;
    ASSERT_EQ(sink.Register(m_port), 0);
    ASSERT_EQ(m_port.Open("COM3"), 0);
    EXPECT_TRUE(ClosesPromptly(m_port));

    // The port is free again and the channel can be opened anew.
    ASSERT_EQ(m_port.Open("COM3"), 0);
    ASSERT_EQ(m_port.Write("AT\r", 3), 0);
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.Text(), "AT\r\r\nOK\r\n");
}

TEST_F(SerialPortTest, CloseEndsAReaderWaitingForAnAcknowledgementThatNeverComes) {
    Sink sink;
    sys::Handle ack = sys::CreateEvent();
    ASSERT_EQ(sink.Register(m_port, CSerialPort::DELIVER_EACH_CHUNK, ack), 0);
    ASSERT_EQ(m_port.Open("COM3"), 0);
    m_peer.Send("chunk");
    ASSERT_TRUE(sink.Delivered());
    m_port.ClearResponseSink();
    sys::CloseHandle(ack);  // as a download's teardown does
    EXPECT_TRUE(ClosesPromptly(m_port));
}

TEST_F(SerialPortTest, BadSinkIsRefusedAndThePreviousSinkKept) {
    Sink sink;
    ASSERT_EQ(sink.Register(m_port), 0);
    std::vector<char> other(100, '#');
    sys::Handle otherDone = sys::CreateEvent();
    std::atomic<std::int32_t> otherStatus{-1};
    struct Bad {
        const char* name;
        char* buffer;
        std::int32_t capacity;
        sys::Handle done;
        std::atomic<std::int32_t>* status;
    } rows[] = {
        {"capacity 0", other.data(), 0, otherDone, &otherStatus},
        {"negative capacity", other.data(), -1, otherDone, &otherStatus},
        {"no buffer", nullptr, 100, otherDone, &otherStatus},
        {"no done event", other.data(), 100, sys::kNoHandle, &otherStatus},
        {"no status word", other.data(), 100, otherDone, nullptr},
    };
    for (const Bad& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(m_port.SetResponseSink(row.buffer, row.capacity, row.done, row.status,
                                         CSerialPort::DELIVER_EACH_CHUNK, sys::kNoHandle),
                  CSerialPort::kBadSink);
    }
    ASSERT_EQ(m_port.Open("COM3"), 0);
    m_peer.Send("partial");  // would be delivered at once in the refused chunk mode
    m_peer.Send("\r\nOK\r\n");
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.Text(), "partial\r\nOK\r\n");
    EXPECT_EQ(sys::Wait(otherDone, 0), sys::WaitResult::Timeout);
    EXPECT_EQ(other[0], '#');
    sys::CloseHandle(otherDone);
}

TEST_F(SerialPortTest, OpenFailsAtOnceForAPortThatCannotBeUsed) {
    CSerialPort first;
    ASSERT_EQ(first.Open("COM3"), 0);
    std::ofstream(m_root.Path() / "plain-file") << "not a terminal";
    m_root.Link("COM5", m_root.Path() / "plain-file");
    m_root.Link("COM6", m_root.Path() / "no-such-device");
    const struct {
        const char* name;
        const char* port;
    } rows[] = {
        {"in use", "COM3"},         {"not in the port map", "COM4"}, {"not a terminal", "COM5"},
        {"dangling entry", "COM6"}, {"not a COM name", "LPT1"},      {"no name", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(m_port.Open(row.port), CSerialPort::kOpenFailed);
        EXPECT_EQ(m_port.Close(), 0);
    }
    // The refused opens wrote nothing to the port in use.
    EXPECT_EQ(m_peer.Received(), "ATV1E1&K3\r\n");
    first.Close();
    EXPECT_EQ(m_port.Open("COM3"), 0);
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST_F(SerialPortTest, HungUpDeviceFailsTheReplyAndTheWriteWithoutSpinning) {
    Sink sink;
    ASSERT_EQ(sink.Register(m_port), 0);
    ASSERT_EQ(m_port.Open("COM3"), 0);
    m_peer.HangUp();
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.status, CSerialPort::kReadFailed);
    EXPECT_NE(m_port.Write("AT\r", 3), 0);

    // A reader that kept waking up on the dead device would burn a core here.
    double before = ProcessCpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LT(ProcessCpuSeconds() - before, 0.1);
    EXPECT_FALSE(sink.Delivered(0));
    EXPECT_TRUE(ClosesPromptly(m_port));
}

TEST_F(SerialPortTest, ArbitraryBytesNeverOverflowOrHang) {
    Sink sink;
    ASSERT_EQ(sink.Register(m_port), 0);
    ASSERT_EQ(m_port.Open("COM3"), 0);

    // Bytes of every value survive, NUL and above 127 included.
    const char binary[] = "\0\x80\xff\x7f\r\nOK\r\n";
    m_peer.Send(std::string_view(binary, sizeof binary - 1));
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.status, 0);
    EXPECT_EQ(std::memcmp(sink.buffer.data(), binary, sizeof binary), 0);

    // 10 kB of noise without line ends, then XON in case the noise held our output, then a
    // final result. The events on the way are overflow failures and perhaps a delivery of the
    // noise's tail; the buffer is looked at only once the reader has ended.
    std::mt19937 random(7);
    std::string noise(10000, '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(random() & 0xFF);
        byte = (byte == '\r' || byte == '\n') ? 'n' : byte;
    }
    std::fill(sink.buffer.begin(), sink.buffer.end(), '#');
    m_peer.Send(noise);
    m_peer.Send("\x11\r\nOK\r\n");
    int events = 0;
    while (sink.Delivered(kNoDeliveryMs)) {
        ASSERT_LT(++events, 10);
    }
    EXPECT_GE(events, 1);
    ASSERT_TRUE(ClosesPromptly(m_port));

    // A fresh collection: the next exchange is clean.
    ASSERT_EQ(m_port.Open("COM3"), 0);
    ASSERT_EQ(m_port.Write("ATI3\r", 5), 0);
    ASSERT_TRUE(sink.Delivered());
    EXPECT_EQ(sink.Text(), "ATI3\r\r\nOK\r\n");
}

TEST_F(SerialPortTest, WriteHeldByXoffFailsAfterItsTimeOut) {
    ASSERT_EQ(m_port.Open("COM3"), 0);
    m_peer.Send("\x13");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the line take the XOFF
    EXPECT_EQ(m_port.Write("AT\r", 3), CSerialPort::kPendingFailed);
    m_peer.Send("\x11");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(m_port.Write("ATZ\r", 4), 0);
    EXPECT_TRUE(m_peer.WaitForReceived("\nATZ\r", 5000));
}

struct PingRow {
    const char* name;
    const char* answer;  // to "AT", or null for none
    std::int32_t result;
};

class PingTest : public SerialPortTest, public testing::WithParamInterface<PingRow> {
  protected:
    PingTest()
        : SerialPortTest([](const std::string& command) -> std::string {
              if (command != "AT") {
                  return PtyPeer::AnswerOk(command);
              }
              return GetParam().answer ? GetParam().answer : "";
          }) {}
};

TEST_P(PingTest, AnyFinalResultIsAnAnswer) {
    ASSERT_EQ(m_port.Open("COM3"), 0);
    EXPECT_EQ(m_port.Ping(), GetParam().result);
    EXPECT_TRUE(m_peer.WaitForReceived("\nAT\r", 5000));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PingTest,
    testing::Values(PingRow{"ok", "AT\r\r\nOK\r\n", 0}, PingRow{"error", "AT\r\r\nERROR\r\n", 0},
                    PingRow{"silent", nullptr, CSerialPort::kNoAnswer},
                    PingRow{"unfinished", "AT\r\r\nO", CSerialPort::kNoAnswer}),
    [](const testing::TestParamInfo<PingRow>& info) { return std::string(info.param.name); });

}  // namespace
