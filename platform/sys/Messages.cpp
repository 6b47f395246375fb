#include "platform/sys/Messages.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/sys/Handle.h"
#include "platform/sys/MessageQueue.h"
#include "platform/sys/Time.h"

namespace sys {

namespace {

using detail::MessageQueue;

struct Endpoint {
    std::shared_ptr<MessageQueue> queue;  // of the owning thread
    std::shared_ptr<WindowProc> procedure;
};

// This process's windows. A forked child starts with a fresh state: the parent's windows and
// threads are not its own.
struct State {
    std::mutex mutex;
    std::unordered_map<std::uint32_t, Endpoint> windows;  // by local id
    std::uint32_t nextId = 1;
};

std::atomic<State*> g_state{new State};  // never destroyed: threads may outlive static destruction
std::atomic<unsigned> g_generation{0};   // counts forks, so inherited thread queues are replaced

State& TheState() {
    return *g_state.load();
}

void ForkedChild() {
    g_state.store(new State);  // the parent's state may be locked by a thread that is not here
    g_generation.fetch_add(1);
}

const bool g_atFork = (pthread_atfork(nullptr, nullptr, ForkedChild), true);

std::uint32_t ProcessOf(WindowHandle window) {
    return static_cast<std::uint32_t>(window >> 32);
}
std::uint32_t LocalId(WindowHandle window) {
    return static_cast<std::uint32_t>(window);
}
std::uint32_t ThisProcess() {
    return static_cast<std::uint32_t>(getpid());
}

// The calling thread's queue, closed (and its windows forgotten) when the thread ends.
struct QueueHolder {
    std::shared_ptr<MessageQueue> queue;
    unsigned generation = 0;

    ~QueueHolder() {
        if (!queue || generation != g_generation.load()) {
            return;
        }
        State& state = TheState();
        {
            std::lock_guard lock(state.mutex);
            std::erase_if(state.windows,
                          [this](const auto& entry) { return entry.second.queue == queue; });
        }
        queue->Close();
    }
};

bool FindEndpoint(WindowHandle window, Endpoint* endpoint) {
    if (ProcessOf(window) != ThisProcess()) {
        return false;
    }
    State& state = TheState();
    std::lock_guard lock(state.mutex);
    auto it = state.windows.find(LocalId(window));
    if (it == state.windows.end()) {
        return false;
    }
    *endpoint = it->second;
    return true;
}

MessageResult Dispatch(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
    Endpoint endpoint;
    if (!FindEndpoint(window, &endpoint)) {
        return 0;  // destroyed since the message was queued
    }
    return (*endpoint.procedure)(message, wParam, lParam);
}

int HandleSent(MessageQueue& queue) {
    int handled = 0;
    while (auto sent = queue.TakeSent()) {
        MessageQueue::Answer(*sent,
                             Dispatch(sent->window, sent->message, sent->wParam, sent->lParam));
        ++handled;
    }
    return handled;
}

// Handles what is queued now; messages posted meanwhile wait for the next call, so a window that
// posts to itself cannot hold the loop.
int HandleQueued(MessageQueue& queue) {
    int handled = HandleSent(queue);
    for (std::size_t n = queue.PostedCount(); n > 0; --n) {
        detail::PostedMessage posted;
        if (!queue.TakePosted(&posted)) {
            break;
        }
        Dispatch(posted.window, posted.message, posted.wParam, posted.lParam);
        handled += 1 + HandleSent(queue);
    }
    return handled;
}

}  // namespace

namespace detail {

std::shared_ptr<MessageQueue> CurrentQueue() {
    thread_local QueueHolder holder;
    unsigned generation = g_generation.load();
    if (!holder.queue || holder.generation != generation) {
        holder.queue = std::make_shared<MessageQueue>();
        holder.generation = generation;
    }
    return holder.queue;
}

}  // namespace detail

std::uint32_t RegisterWindowMessage(std::string_view name) {
    // FNV-1a over the name without letter case: stable across processes and builds.
    std::uint32_t hash = 2166136261u;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
        hash *= 16777619u;
    }
    return 0xC000u + hash % 0x4000u;
}

WindowHandle CreateWindowEndpoint(WindowProc procedure) {
    auto queue = detail::CurrentQueue();
    State& state = TheState();
    std::uint32_t id;
    {
        std::lock_guard lock(state.mutex);
        id = state.nextId;
        while (id == 0 || state.windows.contains(id)) {
            ++id;
        }
        state.nextId = id + 1;
        state.windows.emplace(
            id, Endpoint{std::move(queue), std::make_shared<WindowProc>(std::move(procedure))});
    }
    detail::StartMessageService();
    return static_cast<WindowHandle>(ThisProcess()) << 32 | id;
}

void DestroyWindowEndpoint(WindowHandle window) {
    if (ProcessOf(window) != ThisProcess()) {
        return;
    }
    std::shared_ptr<WindowProc> last;  // destroyed outside the lock
    State& state = TheState();
    std::lock_guard lock(state.mutex);
    auto it = state.windows.find(LocalId(window));
    if (it != state.windows.end()) {
        last = std::move(it->second.procedure);
        state.windows.erase(it);
    }
}

bool IsWindowEndpoint(WindowHandle window) {
    Endpoint endpoint;
    return FindEndpoint(window, &endpoint);
}

bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                 std::intptr_t lParam) {
    if (window != 0 && ProcessOf(window) != ThisProcess()) {
        return detail::PostToProcess(window, message, wParam, lParam);
    }
    Endpoint endpoint;
    if (!FindEndpoint(window, &endpoint)) {
        return false;
    }
    return endpoint.queue->Post({window, message, wParam, lParam});
}

MessageResult SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    if (window != 0 && ProcessOf(window) != ThisProcess()) {
        return detail::SendToProcess(window, message, wParam, lParam);
    }
    Endpoint endpoint;
    if (!FindEndpoint(window, &endpoint)) {
        return 0;
    }
    auto self = detail::CurrentQueue();
    if (endpoint.queue == self) {
        return (*endpoint.procedure)(message, wParam, lParam);
    }
    auto sent = std::make_shared<detail::SentMessage>();
    sent->window = window;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->replyTo = self;
    if (!endpoint.queue->Send(sent)) {
        return 0;
    }
    // While waiting, handle what others send to this thread, so two threads sending to each
    // other do not wait for ever.
    MessageResult result = 0;
    while (!self->IsAnswered(*sent, &result)) {
        HandleSent(*self);
        if (self->IsAnswered(*sent, &result)) {
            break;
        }
        self->Wait(std::chrono::nanoseconds(-1));
    }
    return result;
}

int PumpMessages(std::uint32_t timeoutMs) {
    auto queue = detail::CurrentQueue();
    queue->ClearWake();
    int handled = HandleQueued(*queue);
    if (handled > 0 || timeoutMs == 0) {
        return handled;
    }
    const bool bForever = timeoutMs == kInfinite;
    const auto deadline = std::chrono::steady_clock::now() + Scaled(bForever ? 0 : timeoutMs);
    while (handled == 0) {
        auto left = deadline - std::chrono::steady_clock::now();
        if (!bForever && left <= std::chrono::nanoseconds::zero()) {
            break;
        }
        queue->Wait(bForever ? std::chrono::nanoseconds(-1) : left);
        handled = HandleQueued(*queue);
    }
    return handled;
}

int MessageWakeDescriptor() {
    return detail::CurrentQueue()->WakeDescriptor();
}

}  // namespace sys
