// The per-thread message queue behind window endpoints (internal to platform/sys).
//
// Every thread that owns a window, sends a message or pumps gets one queue, created on first use
// and closed when the thread ends. A queue holds posted messages and messages sent to it from
// other threads; an eventfd wakes the owning thread when either arrives or when a send it made
// has been answered.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/sys/Messages.h"

namespace sys::detail {

class MessageQueue;

// A message sent from one thread to a window of another, answered by the window's thread.
struct SentMessage {
    WindowHandle window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::shared_ptr<MessageQueue> replyTo;  // woken when answered
    // Guarded by replyTo's mutex.
    MessageResult result = 0;
    bool bDone = false;
};

struct PostedMessage {
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class MessageQueue {
  public:
    MessageQueue();
    ~MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    // Both false when the owning thread has ended; a refused send is answered 0 at once.
    bool Post(const PostedMessage& message);
    bool Send(std::shared_ptr<SentMessage> message);

    // Called by the owning thread only.
    std::shared_ptr<SentMessage> TakeSent();
    bool TakePosted(PostedMessage* message);
    void Wait(std::chrono::nanoseconds timeout);  // until woken or the real time-out; <0: none
    void ClearWake();                             // forget wakes for what was looked at already
    std::size_t PostedCount();
    int WakeDescriptor() const { return m_wakeFd; }

    // Answers a sent message and wakes its sender.
    static void Answer(SentMessage& message, MessageResult result);
    bool IsAnswered(const SentMessage& message, MessageResult* result);

    // The owning thread has ended: refuse new messages, answer pending sends with 0.
    void Close();

  private:
    void Wake();

    std::mutex m_mutex;
    std::deque<PostedMessage> m_posted;
    std::deque<std::shared_ptr<SentMessage>> m_sent;
    bool m_bClosed = false;
    int m_wakeFd;
};

// The calling thread's queue.
std::shared_ptr<MessageQueue> CurrentQueue();

// Serves sends from other processes to this process's windows; started with the first window.
void StartMessageService();

// Sends or posts to a window of another process through that process's message service; 0 or
// false when the process or the window does not answer.
MessageResult SendToProcess(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam);
bool PostToProcess(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                   std::intptr_t lParam);

}  // namespace sys::detail
