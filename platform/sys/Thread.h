// Threads with a waitable handle.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/sys/Handle.h"

namespace sys {

// Starts `body` on a new thread. The handle is signalled when `body` returns; closing it never
// stops the thread. kNoHandle when the thread cannot be started; *threadId gets a nonzero id.
QUILAN_EXPORT Handle CreateThread(std::function<void()> body, std::uint32_t* threadId = nullptr);

// Nonzero identifier of the calling thread, unique while the thread runs.
QUILAN_EXPORT std::uint32_t CurrentThreadId();

// One step above normal priority. Best effort: an unprivileged process is refused, which is
// ignored, so this always reports success for a running thread.
QUILAN_EXPORT bool RaiseThreadPriority(Handle thread);

}  // namespace sys
