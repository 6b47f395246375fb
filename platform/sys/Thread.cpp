#include "platform/sys/Thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/sys/HandleTable.h"

namespace sys {

namespace {

std::atomic<std::uint32_t> g_nextThreadId{1};

// Signalled when the body has returned and its captures are destroyed, so a waiter may unload
// the code the body came from.
class Thread final : public detail::Waitable {
  public:
    void Started() {
        std::lock_guard lock(m_mutex);
        m_tid = static_cast<pid_t>(syscall(SYS_gettid));
        m_nId = CurrentThreadId();
        m_started.notify_all();
    }
    std::uint32_t AwaitStart() {
        std::unique_lock lock(m_mutex);
        m_started.wait(lock, [this] { return m_nId != 0; });
        return m_nId;
    }
    pid_t KernelId() {
        std::lock_guard lock(m_mutex);
        return m_tid;
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_started;
    pid_t m_tid = 0;  // the kernel's id, for priority changes
    std::uint32_t m_nId = 0;
};

}  // namespace

std::uint32_t CurrentThreadId() {
    thread_local const std::uint32_t id = g_nextThreadId.fetch_add(1);
    return id;
}

Handle CreateThread(std::function<void()> body, std::uint32_t* threadId) {
    auto thread = std::make_shared<Thread>();
    try {
        std::thread([thread, body = std::move(body)]() mutable {
            thread->Started();
            body();
            body = nullptr;
            thread->Signal();
        }).detach();
    } catch (const std::system_error&) {
        return kNoHandle;
    }
    std::uint32_t id = thread->AwaitStart();
    if (threadId) {
        *threadId = id;
    }
    return detail::Insert(thread);
}

bool RaiseThreadPriority(Handle handle) {
    auto thread = std::dynamic_pointer_cast<Thread>(detail::Find(handle));
    if (!thread) {
        return false;
    }
    errno = 0;
    auto tid = static_cast<id_t>(thread->KernelId());
    int nice = getpriority(PRIO_PROCESS, tid);
    if (errno == 0) {
        setpriority(PRIO_PROCESS, tid, nice - 1);  // refused without privileges: ignored
    }
    return true;
}

}  // namespace sys
