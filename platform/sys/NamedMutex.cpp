#include "platform/sys/NamedMutex.h"

#include <pthread.h>

#include <cerrno>
#include <new>
#include <string>

namespace sys {

namespace {

constexpr std::uint32_t kVersion = 2;

// A recursive, robust, process-shared mutex: the kernel marks it when its owner dies. With
// priority inheritance the kernel keeps its waiters and hands it from owner to waiter itself;
// a plain futex mutex only wakes one waiter and leaves it to take the lock, and one killed right
// after its wake-up could leave the others asleep on a free lock for ever.
void InitialiseMutex(void* payload) {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT);
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
    switch (pthread_mutex_lock(mutex)) {
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
