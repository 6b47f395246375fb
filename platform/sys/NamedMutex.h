// A lock shared by every process of one system root, found by its name.
//
// Re-entrant: the thread that holds it may take it again and must release it as often as it took
// it. Taking it waits without time limit. When a holder ended (its thread or its whole process)
// while holding it, the next taker is told so and the lock is repaired and left free, so that
// nothing stays locked forever; a taker killed while it waited leaves no other waiting on a
// free lock (the kernel hands the lock from owner to waiter).
//
// Ownership: the object keeps the lock's shared memory attached for its life; several objects of
// the same name, in one process or many, are the same lock. All functions may be called from any
// thread; Unlock only by a thread that holds the lock.
#pragma once

#include <memory>
#include <string_view>

#include "platform/sys/Export.h"
#include "platform/sys/SharedMemory.h"

namespace sys {

class QUILAN_EXPORT NamedMutex {
  public:
    enum class LockResult {
        Acquired,   // held by the calling thread: release it with Unlock
        Abandoned,  // a holder ended while holding it: repaired, not held by the caller
        Failed,     // not held: the lock does not exist or cannot be taken
    };

    // Creates or opens the lock `name` of the current root; never initially owned.
    explicit NamedMutex(std::string_view name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // False when its shared memory could not be had; Lock then fails.
    bool Valid() const { return m_pArea != nullptr; }

    LockResult Lock();
    void Unlock();

  private:
    std::unique_ptr<SharedMemory> m_pArea;
};

}  // namespace sys
