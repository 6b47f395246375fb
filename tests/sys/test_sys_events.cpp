// Events and thread handles of the platform core, with real threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

#include "platform/sys/Handle.h"
#include "platform/sys/Thread.h"

namespace {

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
    // 2000 ms of the system's time: long enough to be closed under the waiter.
    auto waiting = std::async(std::launch::async, [event] { return sys::Wait(event, 2000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
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
