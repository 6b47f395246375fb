#include "platform/sys/MessageQueue.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace sys::detail {

MessageQueue::MessageQueue() : m_wakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (m_wakeFd < 0) {
        std::abort();  // out of descriptors: no thread can take part in messaging
    }
}

MessageQueue::~MessageQueue() {
    close(m_wakeFd);
}

void MessageQueue::Wake() {
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(m_wakeFd, &one, sizeof one);
}

bool MessageQueue::Post(const PostedMessage& message) {
    {
        std::lock_guard lock(m_mutex);
        if (m_bClosed) {
            return false;
        }
        m_posted.push_back(message);
    }
    Wake();
    return true;
}

bool MessageQueue::Send(std::shared_ptr<SentMessage> message) {
    {
        std::lock_guard lock(m_mutex);
        if (m_bClosed) {
            return false;
        }
        m_sent.push_back(std::move(message));
    }
    Wake();
    return true;
}

std::shared_ptr<SentMessage> MessageQueue::TakeSent() {
    std::lock_guard lock(m_mutex);
    if (m_sent.empty()) {
        return nullptr;
    }
    auto message = std::move(m_sent.front());
    m_sent.pop_front();
    return message;
}

bool MessageQueue::TakePosted(PostedMessage* message) {
    std::lock_guard lock(m_mutex);
    if (m_posted.empty()) {
        return false;
    }
    *message = m_posted.front();
    m_posted.pop_front();
    return true;
}

void MessageQueue::Wait(std::chrono::nanoseconds timeout) {
    int ms = -1;
    if (timeout.count() >= 0) {
        auto rounded = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
        ms = static_cast<int>(std::min<std::int64_t>(rounded, 0x7FFFFFFF));
    }
    // Wakes that came before the caller looked at its queue are still counted in the eventfd,
    // so nothing that arrived after the look is missed.
    pollfd wake{m_wakeFd, POLLIN, 0};
    if (poll(&wake, 1, ms) > 0) {
        std::uint64_t count;
        [[maybe_unused]] ssize_t got = read(m_wakeFd, &count, sizeof count);
    }
}

void MessageQueue::Answer(SentMessage& message, MessageResult result) {
    MessageQueue& sender = *message.replyTo;
    {
        std::lock_guard lock(sender.m_mutex);
        message.result = result;
        message.bDone = true;
    }
    sender.Wake();
}

void MessageQueue::ClearWake() {
    std::uint64_t count;
    [[maybe_unused]] ssize_t got = read(m_wakeFd, &count, sizeof count);
}

std::size_t MessageQueue::PostedCount() {
    std::lock_guard lock(m_mutex);
    return m_posted.size();
}

bool MessageQueue::IsAnswered(const SentMessage& message, MessageResult* result) {
    std::lock_guard lock(m_mutex);
    *result = message.result;
    return message.bDone;
}

void MessageQueue::Close() {
    std::deque<std::shared_ptr<SentMessage>> pending;
    {
        std::lock_guard lock(m_mutex);
        m_bClosed = true;
        pending.swap(m_sent);
        m_posted.clear();
    }
    for (auto& message : pending) {
        Answer(*message, 0);
    }
}

}  // namespace sys::detail
