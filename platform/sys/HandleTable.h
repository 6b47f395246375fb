// The process-wide table behind sys::Handle (internal to platform/sys).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/sys/Handle.h"

namespace sys::detail {

// A waitable object: signalled or not, with waiters woken when it becomes signalled.
class Waitable {
  public:
    virtual ~Waitable() = default;
    void Signal();
    void Unsignal();
    WaitResult WaitFor(std::uint32_t timeoutMs);

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bSignaled = false;
};

Handle Insert(std::shared_ptr<Waitable> object);
std::shared_ptr<Waitable> Find(Handle handle);
bool Remove(Handle handle);

}  // namespace sys::detail
