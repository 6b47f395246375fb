// The platform's shared memory per root and its named lock.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/futex.h>
#include <poll.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "TestRoot.h"
#include "platform/sys/NamedMutex.h"
#include "platform/sys/SharedMemory.h"

namespace {

struct Payload {
    char text[16];
    int value;
};

void Initialise(void* memory) {
    auto* payload = static_cast<Payload*>(memory);
    std::strcpy(payload->text, "initial");
    payload->value = 42;
}

std::unique_ptr<sys::SharedMemory> AttachPayload(std::uint32_t version = 1,
                                                 std::size_t size = sizeof(Payload)) {
    return sys::SharedMemory::Attach("test-area", version, size, Initialise);
}

Payload& Of(const std::unique_ptr<sys::SharedMemory>& area) {
    return *static_cast<Payload*>(area->Payload());
}

TEST(SharedMemoryTest, AttachmentsShareOneCopyUntilTheLastLeaves) {
    CTestRoot root;
    auto first = AttachPayload();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->Initialised());
    EXPECT_STREQ(Of(first).text, "initial");
    Of(first).value = 7;

    auto second = AttachPayload();
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->Initialised());
    EXPECT_EQ(Of(second).value, 7);

    first.reset();
    EXPECT_EQ(Of(second).value, 7) << "one leaving must not reset the others' copy";
    second.reset();
    EXPECT_FALSE(std::filesystem::exists(sys::SharedMemory::PathFor("test-area")));

    auto again = AttachPayload();
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->Initialised());
    EXPECT_EQ(Of(again).value, 42);
}

TEST(SharedMemoryTest, AMappingKeptAfterDetachingNoLongerCountsAsAttached) {
    CTestRoot root;
    auto kept = AttachPayload();
    ASSERT_TRUE(kept);
    kept->KeepMappedAfterDetach();
    Of(kept).value = 7;
    kept.reset();
    auto next = AttachPayload();
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->Initialised());
    EXPECT_EQ(Of(next).value, 42);
}

TEST(SharedMemoryTest, TwoRootsNeverShare) {
    CTestRoot one;
    auto a = AttachPayload();
    Of(a).value = 1;
    CTestRoot two;
    auto b = AttachPayload();
    ASSERT_TRUE(b);
    EXPECT_TRUE(b->Initialised());
    EXPECT_EQ(Of(b).value, 42);
}

TEST(SharedMemoryTest, AStaleSegmentNobodyHoldsStartsAfresh) {
    CTestRoot root;
    const std::string path = sys::SharedMemory::PathFor("test-area");
    {
        std::ofstream stale(path, std::ios::binary);
        stale << std::string(200, 'Z');
    }
    auto area = AttachPayload();
    ASSERT_TRUE(area);
    EXPECT_TRUE(area->Initialised());
    EXPECT_STREQ(Of(area).text, "initial");
}

TEST(SharedMemoryTest, ASegmentInUseWithAnotherLayoutIsRefused) {
    CTestRoot root;
    auto inUse = AttachPayload(1);
    ASSERT_TRUE(inUse);
    struct Row {
        const char* name;
        std::uint32_t version;
        std::size_t size;
    };
    for (const Row& row :
         {Row{"other version", 2, sizeof(Payload)}, Row{"other size", 1, sizeof(Payload) + 8},
          Row{"larger than the file", 1, 1 << 20}}) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(AttachPayload(row.version, row.size));
    }
    EXPECT_EQ(Of(inUse).value, 42) << "a refused attachment must not touch the segment";
}

TEST(SharedMemoryTest, AForeignHeaderInUseIsRefused) {
    CTestRoot root;
    auto inUse = AttachPayload();
    ASSERT_TRUE(inUse);
    // Any process of the root may write the file: spoil the header behind the holder's back.
    int fd = open(sys::SharedMemory::PathFor("test-area").c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(pwrite(fd, "NOTQUILAN", 9, 0), 9);
    close(fd);
    EXPECT_FALSE(AttachPayload());
}

TEST(NamedMutexTest, HeldReentrantlyUntilReleasedAsOftenAsTaken) {
    CTestRoot root;
    sys::NamedMutex mutex("TEST_MUTEX");
    ASSERT_TRUE(mutex.Valid());
    ASSERT_EQ(mutex.Lock(), sys::NamedMutex::LockResult::Acquired);
    ASSERT_EQ(mutex.Lock(), sys::NamedMutex::LockResult::Acquired);

    std::atomic<bool> otherHolds{false};
    std::thread other([&] {
        sys::NamedMutex same("TEST_MUTEX");  // another object of the name is the same lock
        ASSERT_EQ(same.Lock(), sys::NamedMutex::LockResult::Acquired);
        otherHolds = true;
        same.Unlock();
    });
    mutex.Unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(otherHolds) << "released once after taking twice: still held";
    mutex.Unlock();
    other.join();
    EXPECT_TRUE(otherHolds);
}

TEST(NamedMutexTest, AHolderThreadThatEndedIsReportedOnceAndTheLockRepaired) {
    CTestRoot root;
    sys::NamedMutex mutex("TEST_MUTEX");
    std::thread([&] { ASSERT_EQ(mutex.Lock(), sys::NamedMutex::LockResult::Acquired); }).join();

    EXPECT_EQ(mutex.Lock(), sys::NamedMutex::LockResult::Abandoned);
    // Repaired and free: this thread and another both get it plainly.
    ASSERT_EQ(mutex.Lock(), sys::NamedMutex::LockResult::Acquired);
    mutex.Unlock();
    std::thread([&] {
        EXPECT_EQ(mutex.Lock(), sys::NamedMutex::LockResult::Acquired);
        mutex.Unlock();
    }).join();
}

// A process that takes `mutex`, says so on `taken` and ends; it waits to be traced first.
pid_t StartWaiter(sys::NamedMutex& mutex, int taken) {
    const pid_t child = fork();
    if (child == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        sys::NamedMutex::LockResult result;
        while ((result = mutex.Lock()) == sys::NamedMutex::LockResult::Abandoned) {
        }
        if (result == sys::NamedMutex::LockResult::Acquired) {
            [[maybe_unused]] ssize_t written = write(taken, "L", 1);
            mutex.Unlock();
        }
        _exit(0);
    }
    return child;
}

bool AsleepInAFutexWait(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::ifstream call("/proc/" + std::to_string(pid) + "/syscall");
    std::string fields, state, number;
    stat >> fields >> fields >> state;  // pid, (name), state
    call >> number;
    return state == "S" && number == std::to_string(SYS_futex);
}

// Lets the traced waiter run until it sleeps in the lock's futex wait. Kept traced, it stops
// again when it wakes; released, it goes its own way.
bool RunIntoTheLockWait(pid_t child, bool keepTraced) {
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) {
        return false;
    }
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_EXITKILL | PTRACE_O_TRACESYSGOOD);
    for (;;) {
        if (ptrace(PTRACE_SYSCALL, child, nullptr, nullptr) != 0 ||
            waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) {
            return false;
        }
        __ptrace_syscall_info info{};
        if (ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info) > 0 &&
            info.op == PTRACE_SYSCALL_INFO_ENTRY && info.entry.nr == SYS_futex) {
            const auto command = info.entry.args[1] & FUTEX_CMD_MASK;
            if (command == FUTEX_WAIT || command == FUTEX_WAIT_BITSET || command == FUTEX_LOCK_PI ||
                command == FUTEX_LOCK_PI2) {
                break;
            }
        }
    }
    if (ptrace(keepTraced ? PTRACE_SYSCALL : PTRACE_DETACH, child, nullptr, nullptr) != 0) {
        return false;
    }
    for (int i = 0; i < 400 && !AsleepInAFutexWait(child); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return AsleepInAFutexWait(child);
}

// A release wakes the first waiter. Where waking only lets it try, the lock can be taken by
// someone else before the woken one sets the mark that others wait; killed before that, it takes
// the mark with it and the next release wakes nobody. Wherever the lock goes, the other waiter
// must get it.
TEST(NamedMutexTest, AWaiterKilledAsItWakesLeavesNoOtherWaitingForAFreeLock) {
    CTestRoot root;
    sys::NamedMutex mutex("TEST_MUTEX");
    ASSERT_EQ(mutex.Lock(), sys::NamedMutex::LockResult::Acquired);
    int taken[2];
    ASSERT_EQ(pipe(taken), 0);
    const pid_t woken = StartWaiter(mutex, taken[1]);
    ASSERT_TRUE(RunIntoTheLockWait(woken, true));
    const pid_t other = StartWaiter(mutex, taken[1]);
    ASSERT_TRUE(RunIntoTheLockWait(other, false));
    close(taken[1]);

    mutex.Unlock();
    int status = 0;
    ASSERT_EQ(waitpid(woken, &status, 0), woken);  // on its way out of the wait
    // A thread of this process takes the lock meanwhile if it can, and holds it while the woken
    // waiter is killed.
    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    std::thread meanwhile([&] {
        while (mutex.Lock() == sys::NamedMutex::LockResult::Abandoned) {
        }
        held = true;
        while (!release) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        mutex.Unlock();
    });
    for (int i = 0; i < 40 && !held; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(woken, SIGKILL);
    waitpid(woken, &status, 0);
    release = true;

    pollfd ready = {taken[0], POLLIN, 0};
    EXPECT_EQ(poll(&ready, 1, 2000), 1) << "the other waiter was left waiting for a free lock";
    kill(other, SIGKILL);
    waitpid(other, &status, 0);
    meanwhile.join();
    close(taken[0]);
}

}  // namespace
