// Reference-counted kernel-object handles: manual-reset events and threads.
//
// A handle is a small integer naming an object in a process-wide table, so it can live in an
// atomic field. Closing a handle removes the name; a thread already waiting on the object keeps
// it alive until its wait returns, so closing an event while another thread waits on it is safe.
// All functions are thread-safe.
#pragma once

#include <cstdint>

#include "platform/sys/Export.h"

namespace sys {

using Handle = std::uint32_t;
inline constexpr Handle kNoHandle = 0;
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

enum class WaitResult { Signaled, Timeout, Failed };

// A manual-reset event, not signalled; kNoHandle when it cannot be created.
QUILAN_EXPORT Handle CreateEvent();
QUILAN_EXPORT bool SetEvent(Handle event);
QUILAN_EXPORT bool ResetEvent(Handle event);

// Waits for an event to be set or a thread to end. The time-out is in milliseconds and is
// multiplied by the time scale; kInfinite waits without limit. A handle that names nothing fails.
QUILAN_EXPORT WaitResult Wait(Handle object, std::uint32_t timeoutMs);

QUILAN_EXPORT bool CloseHandle(Handle object);

}  // namespace sys
