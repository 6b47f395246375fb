// Events and thread handles of the platform core, with real threads.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "platform/sys/Handle.h"
#include "platform/sys/Thread.h"

namespace {

// True once the thread `tid` of this process sleeps in the kernel (state S), for up to 10 s.
bool SleepsSoon(const std::atomic<pid_t>& tid) {
    for (int tries = 0; tries < 10000; ++tries) {
        if (pid_t id = tid.load()) {
            std::ifstream stat("/proc/self/task/" + std::to_string(id) + "/stat");
            std::string line;
            std::getline(stat, line);
            std::size_t close = line.rfind(')');
            if (close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'S') {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(Events, ManualResetEventStaysSetUntilReset) {
    sys::Handle event = sys::CreateEvent();
    ASSERT_NE(event, sys::kNoHandle);
    EXPECT_EQ(sys::Wait(event, 0), sys::WaitResult::Timeout);
    EXPECT_TRUE(sys::SetEvent(event));
    EXPECT_EQ(sys::Wait(event, 0), sys::WaitResult::Signaled);
    EXPECT_EQ(sys::Wait(event, sys::kInfinite), sys::WaitResult::Signaled);
    EXPECT_TRUE(sys::ResetEvent(event));
    EXPECT_EQ(sys::Wait(event, 100), sys::WaitResult::Timeout);
    EXPECT_TRUE(sys::CloseHandle(event));
}

TEST(Events, SetFromAnotherThreadEndsAWait) {
    sys::Handle event = sys::CreateEvent();
    auto waiting =
        std::async(std::launch::async, [event] { return sys::Wait(event, sys::kInfinite); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    sys::SetEvent(event);
    ASSERT_EQ(waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(waiting.get(), sys::WaitResult::Signaled);
    sys::CloseHandle(event);
}

TEST(Events, ClosingAnEventWhileAnotherThreadWaitsIsSafe) {
    sys::Handle event = sys::CreateEvent();
    std::atomic<pid_t> waiter{0};
    // 2000 ms of the system's time: long enough to be closed under the waiter.
    auto waiting = std::async(std::launch::async, [event, &waiter] {
        waiter = gettid();
        return sys::Wait(event, 2000);
    });
    // Closed only once the waiter sleeps in its wait: before, its wait would find no event.
    ASSERT_TRUE(SleepsSoon(waiter));
    EXPECT_TRUE(sys::CloseHandle(event));
    EXPECT_EQ(waiting.get(), sys::WaitResult::Timeout);
    // The name is gone: every later use fails instead of touching a freed object.
    EXPECT_FALSE(sys::SetEvent(event));
    EXPECT_FALSE(sys::ResetEvent(event));
    EXPECT_EQ(sys::Wait(event, 0), sys::WaitResult::Failed);
    EXPECT_FALSE(sys::CloseHandle(event));
}

TEST(Threads, HandleIsSignalledWhenTheBodyHasReturned) {
    sys::Handle release = sys::CreateEvent();
    std::atomic<bool> finished{false};
    std::uint32_t id = 0;
    sys::Handle thread = sys::CreateThread(
        [&] {
            sys::Wait(release, sys::kInfinite);
            finished = true;
        },
        &id);
    ASSERT_NE(thread, sys::kNoHandle);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, sys::CurrentThreadId());
    EXPECT_TRUE(sys::RaiseThreadPriority(thread));  // refused without privileges: still true
    EXPECT_EQ(sys::Wait(thread, 100), sys::WaitResult::Timeout);
    sys::SetEvent(release);
    EXPECT_EQ(sys::Wait(thread, sys::kInfinite), sys::WaitResult::Signaled);
    EXPECT_TRUE(finished);
    sys::CloseHandle(thread);
    sys::CloseHandle(release);
}

}  // namespace
