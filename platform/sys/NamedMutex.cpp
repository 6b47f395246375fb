#include "platform/sys/NamedMutex.h"

#include <pthread.h>
#include <time.h>

#include <cerrno>
#include <new>
#include <string>

namespace sys {

namespace {

constexpr std::uint32_t kVersion = 1;

// A waiter looks at the lock again this often, in real time. A release wakes one waiter and
// leaves the others to the mark that waiters exist, which that one sets again when it finds the
// lock taken anew; a waiter killed right after it was woken takes the mark with it, and without
// a second look the others would sleep on a free lock for ever.
constexpr long kRecheckNs = 100'000'000;

timespec RecheckDeadline() {
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_nsec += kRecheckNs;
    if (deadline.tv_nsec >= 1'000'000'000) {
        deadline.tv_nsec -= 1'000'000'000;
        ++deadline.tv_sec;
    }
    return deadline;
}

// A recursive, robust, process-shared mutex: the kernel marks it when its owner dies.
void InitialiseMutex(void* payload) {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(new (payload) pthread_mutex_t, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

}  // namespace

NamedMutex::NamedMutex(std::string_view name)
    : m_pArea(SharedMemory::Attach("mutex-" + std::string(name), kVersion, sizeof(pthread_mutex_t),
                                   InitialiseMutex)) {}

NamedMutex::~NamedMutex() {
    // A thread of this process may still hold the lock and end later: the kernel marks the lock
    // abandoned through this mapping then, so the mapping must outlive the object.
    if (m_pArea) {
        m_pArea->KeepMappedAfterDetach();
    }
}

NamedMutex::LockResult NamedMutex::Lock() {
    if (!m_pArea) {
        return LockResult::Failed;
    }
    auto* mutex = static_cast<pthread_mutex_t*>(m_pArea->Payload());
    int result;
    do {
        const timespec deadline = RecheckDeadline();
        result = pthread_mutex_timedlock(mutex, &deadline);
    } while (result == ETIMEDOUT);
    switch (result) {
        case 0:
            return LockResult::Acquired;
        case EOWNERDEAD:
            // The caller now owns a lock whose guarded data may be half-changed: mark it usable
            // again and let it go, reporting the abandonment instead of handing it over.
            pthread_mutex_consistent(mutex);
            pthread_mutex_unlock(mutex);
            return LockResult::Abandoned;
        default:
            return LockResult::Failed;
    }
}

void NamedMutex::Unlock() {
    if (m_pArea) {
        pthread_mutex_unlock(static_cast<pthread_mutex_t*>(m_pArea->Payload()));
    }
}

}  // namespace sys
