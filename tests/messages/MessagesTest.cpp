#include "platform/sys/Messages.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/sys/Handle.h"
#include "platform/sys/Thread.h"
#include "platform/sys/Time.h"

namespace {

constexpr std::uint32_t kRunNested = sys::kUserMessage + 1;
constexpr std::uint32_t kEndNested = sys::kUserMessage + 2;
constexpr std::uint32_t kCompute = sys::kUserMessage + 3;
constexpr std::uint32_t kQuit = sys::kUserMessage + 4;

TEST(Messages, SendFromAnotherThreadIsHandledInsideANestedLoop) {
    std::atomic<bool> bInNested{false};
    bool bNestedEnded = false;
    std::atomic<std::uint32_t> handlerThread{0};
    const std::uint32_t self = sys::CurrentThreadId();
    sys::WindowHandle window = 0;
    window = sys::CreateWindowEndpoint([&](std::uint32_t message, std::uintptr_t wParam,
                                           std::intptr_t lParam) -> sys::MessageResult {
        switch (message) {
            case kRunNested:  // a modal loop inside a handler
                bInNested = true;
                while (!bNestedEnded) {
                    sys::PumpMessages(1000);
                }
                bInNested = false;
                return 0;
            case kEndNested:
                bNestedEnded = true;
                return 0;
            case kCompute:
                handlerThread = sys::CurrentThreadId();
                return static_cast<sys::MessageResult>(wParam) * 10 + lParam;
        }
        return -1;
    });
    ASSERT_NE(window, 0u);

    std::atomic<sys::MessageResult> answer{0};
    std::atomic<bool> bAnsweredInNested{false};
    std::thread relay([&] {
        while (!bInNested) {
            std::this_thread::yield();
        }
        answer = sys::SendMessage(window, kCompute, 4, 2);
        bAnsweredInNested = bInNested.load();
        sys::PostMessage(window, kEndNested, 0, 0);
    });
    ASSERT_TRUE(sys::PostMessage(window, kRunNested, 0, 0));
    while (!bNestedEnded) {
        sys::PumpMessages(1000);
    }
    relay.join();
    EXPECT_EQ(answer.load(), 42);
    EXPECT_TRUE(bAnsweredInNested.load());
    EXPECT_EQ(handlerThread.load(), self);
    sys::DestroyWindowEndpoint(window);
}

TEST(Messages, SendOnTheOwningThreadCallsTheProcedureDirectly) {
    sys::WindowHandle window = sys::CreateWindowEndpoint(
        [](std::uint32_t, std::uintptr_t wParam, std::intptr_t) -> sys::MessageResult {
            return static_cast<sys::MessageResult>(wParam) + 1;
        });
    EXPECT_EQ(sys::SendMessage(window, kCompute, 6, 0), 7);
    sys::DestroyWindowEndpoint(window);
    EXPECT_EQ(sys::SendMessage(window, kCompute, 6, 0), 0);
    EXPECT_FALSE(sys::PostMessage(window, kCompute, 6, 0));
    EXPECT_FALSE(sys::IsWindowEndpoint(window));
}

TEST(Messages, TwoThreadsSendingToEachOtherBothGetAnswers) {
    // B's handler sends back to A while A is blocked sending to B.
    std::atomic<sys::WindowHandle> windowA{0};
    std::atomic<sys::WindowHandle> windowB{0};
    std::atomic<bool> bDone{false};
    std::thread threadB([&] {
        windowB = sys::CreateWindowEndpoint(
            [&](std::uint32_t, std::uintptr_t wParam, std::intptr_t) -> sys::MessageResult {
                return sys::SendMessage(windowA, kCompute, wParam + 1, 0) + 100;
            });
        while (!bDone) {
            sys::PumpMessages(50);
        }
        sys::DestroyWindowEndpoint(windowB);
    });
    windowA = sys::CreateWindowEndpoint(
        [](std::uint32_t, std::uintptr_t wParam, std::intptr_t) -> sys::MessageResult {
            return static_cast<sys::MessageResult>(wParam) * 2;
        });
    while (windowB == 0) {
        std::this_thread::yield();
    }
    EXPECT_EQ(sys::SendMessage(windowB, kCompute, 1, 0), 104);
    bDone = true;
    threadB.join();
    sys::DestroyWindowEndpoint(windowA);
}

TEST(Messages, WindowOfAnEndedThreadAnswersZero) {
    std::atomic<sys::WindowHandle> window{0};
    std::thread owner([&] {
        window = sys::CreateWindowEndpoint(
            [](std::uint32_t, std::uintptr_t, std::intptr_t) -> sys::MessageResult { return 5; });
    });
    owner.join();
    EXPECT_EQ(sys::SendMessage(window, kCompute, 0, 0), 0);
    EXPECT_FALSE(sys::PostMessage(window, kCompute, 0, 0));
}

TEST(Messages, SendPendingWhenTheOwnerEndsIsAnsweredZero) {
    std::atomic<sys::WindowHandle> window{0};
    std::atomic<bool> bEnd{false};
    std::thread owner([&] {
        window = sys::CreateWindowEndpoint(
            [](std::uint32_t, std::uintptr_t, std::intptr_t) -> sys::MessageResult { return 5; });
        while (!bEnd) {
            std::this_thread::yield();  // never pumps
        }
    });
    while (window == 0) {
        std::this_thread::yield();
    }
    std::atomic<sys::MessageResult> answer{-1};
    std::thread sender([&] { answer = sys::SendMessage(window, kCompute, 0, 0); });
    sys::Sleep(20);
    bEnd = true;
    owner.join();
    sender.join();
    EXPECT_EQ(answer.load(), 0);
}

TEST(Messages, PostedMessagesArriveInOrderAndAReposterCannotHoldTheLoop) {
    std::vector<std::uintptr_t> seen;
    sys::WindowHandle window = 0;
    window = sys::CreateWindowEndpoint(
        [&](std::uint32_t message, std::uintptr_t wParam, std::intptr_t) -> sys::MessageResult {
            seen.push_back(wParam);
            if (message == kRunNested) {
                sys::PostMessage(window, kRunNested, wParam + 1, 0);  // posts itself again
            }
            return 0;
        });
    for (std::uintptr_t i = 0; i < 3; ++i) {
        sys::PostMessage(window, kCompute, i, 0);
    }
    sys::PostMessage(window, kRunNested, 10, 0);
    EXPECT_EQ(sys::PumpMessages(0), 4);
    EXPECT_EQ(seen, (std::vector<std::uintptr_t>{0, 1, 2, 10}));
    EXPECT_EQ(sys::PumpMessages(0), 1);
    EXPECT_EQ(seen.back(), 11u);
    sys::DestroyWindowEndpoint(window);
    EXPECT_EQ(sys::PumpMessages(0), 1);  // dropped: the window is gone
    EXPECT_EQ(seen.size(), 5u);
}

TEST(Messages, PumpWaitsForAMessageFromAnotherThread) {
    std::atomic<int> got{0};
    sys::WindowHandle window = sys::CreateWindowEndpoint(
        [&](std::uint32_t, std::uintptr_t wParam, std::intptr_t) -> sys::MessageResult {
            got = static_cast<int>(wParam);
            return 0;
        });
    EXPECT_EQ(sys::PumpMessages(20), 0);  // nothing arrives: returns after the time-out
    std::thread poster([&] {
        sys::Sleep(20);
        sys::PostMessage(window, kCompute, 9, 0);
    });
    EXPECT_EQ(sys::PumpMessages(sys::kInfinite), 1);
    EXPECT_EQ(got.load(), 9);
    poster.join();
    sys::DestroyWindowEndpoint(window);
}

TEST(Messages, RegisteredMessagesAreStableNumbersAboveTheProgramRange) {
    std::uint32_t card = sys::RegisterWindowMessage("Talmont_Card_Change");
    EXPECT_GE(card, 0xC000u);
    EXPECT_LE(card, 0xFFFFu);
    EXPECT_EQ(sys::RegisterWindowMessage("talmont_card_change"), card);
    EXPECT_NE(sys::RegisterWindowMessage("Talmont_Card_Changed"), card);
}

// A child process owning a window that answers kCompute with wParam * 10 + lParam and the
// number of a registered message; it ends on kQuit.
class ChildProcess {
  public:
    ChildProcess() {
        int fds[2];
        if (pipe(fds) != 0) {
            std::abort();
        }
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            bool bQuit = false;
            sys::WindowHandle window =
                sys::CreateWindowEndpoint([&](std::uint32_t message, std::uintptr_t wParam,
                                              std::intptr_t lParam) -> sys::MessageResult {
                    if (message == kQuit) {
                        bQuit = true;
                        return 1;
                    }
                    if (message == sys::RegisterWindowMessage("Talmont_Card_Change")) {
                        return getpid();
                    }
                    return static_cast<sys::MessageResult>(wParam) * 10 + lParam;
                });
            if (write(fds[1], &window, sizeof window) != sizeof window) {
                _exit(2);
            }
            close(fds[1]);
            while (!bQuit) {
                sys::PumpMessages(1000);
            }
            _exit(0);
        }
        close(fds[1]);
        if (read(fds[0], &m_window, sizeof m_window) != sizeof m_window) {
            m_window = 0;
        }
        close(fds[0]);
    }
    ~ChildProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    sys::WindowHandle Window() const { return m_window; }
    pid_t Pid() const { return m_pid; }
    int Wait() {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = 0;
        return status;
    }
    void Kill() {
        kill(m_pid, SIGKILL);
        Wait();
    }

  private:
    pid_t m_pid = 0;
    sys::WindowHandle m_window = 0;
};

class CrossProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        m_root = std::filesystem::temp_directory_path() /
                 ("quilan-messages-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_root);
        setenv("QUILAN_ROOT", m_root.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }
    std::filesystem::path m_root;
};

TEST_F(CrossProcess, SendReachesAWindowOfAnotherProcess) {
    ChildProcess child;
    ASSERT_NE(child.Window(), 0u);
    EXPECT_EQ(child.Window() >> 32, static_cast<std::uint64_t>(child.Pid()));
    EXPECT_FALSE(sys::IsWindowEndpoint(child.Window()));  // not ours
    EXPECT_EQ(sys::SendMessage(child.Window(), kCompute, 7, 3), 73);
    EXPECT_EQ(sys::SendMessage(child.Window(), sys::RegisterWindowMessage("Talmont_Card_Change"),
                               10, 0x00020001),
              child.Pid());
    // A send from another thread of this process goes the same way.
    std::atomic<sys::MessageResult> fromThread{0};
    std::thread([&] { fromThread = sys::SendMessage(child.Window(), kCompute, 1, 1); }).join();
    EXPECT_EQ(fromThread.load(), 11);
    EXPECT_TRUE(sys::PostMessage(child.Window(), kQuit, 0, 0));
    EXPECT_EQ(child.Wait(), 0);
}

TEST_F(CrossProcess, WindowOfAnEndedProcessAnswersZeroAtOnce) {
    ChildProcess child;
    sys::WindowHandle window = child.Window();
    ASSERT_NE(window, 0u);
    child.Kill();
    EXPECT_EQ(sys::SendMessage(window, kCompute, 7, 3), 0);
    EXPECT_FALSE(sys::PostMessage(window, kCompute, 7, 3));
    // An unknown window of a live process also answers 0.
    ChildProcess other;
    EXPECT_EQ(sys::SendMessage(other.Window() + 1, kCompute, 7, 3), 0);
}

TEST_F(CrossProcess, AnotherRootDoesNotReachTheWindow) {
    ChildProcess child;
    ASSERT_NE(child.Window(), 0u);
    setenv("QUILAN_ROOT", (m_root / "other").c_str(), 1);
    EXPECT_EQ(sys::SendMessage(child.Window(), kCompute, 7, 3), 0);
}

}  // namespace
