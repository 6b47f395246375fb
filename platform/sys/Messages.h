// Window endpoints and their messages: the base the dialog toolkit builds its windows on.
//
// A window endpoint belongs to the thread that created it; its procedure runs only on that
// thread, inside any message loop of that thread (nested modal loops included). A window handle
// names the endpoint in every process under the same root, so it can be stored in shared memory
// and sent to from another process.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/sys/Export.h"

namespace sys {

using WindowHandle = std::uint64_t;  // 0 is no window
using MessageResult = std::intptr_t;
using WindowProc = std::function<MessageResult(std::uint32_t message, std::uintptr_t wParam,
                                               std::intptr_t lParam)>;

inline constexpr std::uint32_t kUserMessage = 0x0400;  // first message number free for programs

// The same name gives the same number (0xC000 to 0xFFFF) in every process.
QUILAN_EXPORT std::uint32_t RegisterWindowMessage(std::string_view name);

QUILAN_EXPORT WindowHandle CreateWindowEndpoint(WindowProc procedure);
QUILAN_EXPORT void DestroyWindowEndpoint(WindowHandle window);

// True when the window exists in this process.
QUILAN_EXPORT bool IsWindowEndpoint(WindowHandle window);

// Queues the message for the window's thread; false when the window does not exist.
QUILAN_EXPORT bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam);

// Runs the window's procedure on its thread and returns its result; from another thread or
// process it blocks until the message has been handled. 0 when the window does not exist, its
// thread has ended or its process does not answer. While it waits, the calling thread handles
// the messages other threads send to it (not posted ones). Across processes (same root) only
// the numbers travel: lParam must not be a pointer.
QUILAN_EXPORT MessageResult SendMessage(WindowHandle window, std::uint32_t message,
                                        std::uintptr_t wParam, std::intptr_t lParam);

// Handles the calling thread's sent and posted messages, waiting at most `timeoutMs` (scaled;
// kInfinite waits without limit) for one to arrive; returns the number handled. Messages posted
// while it runs are left for the next call.
QUILAN_EXPORT int PumpMessages(std::uint32_t timeoutMs);

// A descriptor of the calling thread's queue that becomes readable when a message arrives for
// it, for a loop that also waits on other input (a terminal): poll it, then PumpMessages(0).
// Owned by the thread's queue and valid while the thread runs; never close or read it.
QUILAN_EXPORT int MessageWakeDescriptor();

}  // namespace sys
