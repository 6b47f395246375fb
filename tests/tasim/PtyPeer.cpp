#include "tests/tasim/PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

PtyPeer::PtyPeer(const std::filesystem::path& device) {
    m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return;
    termios line{};
    ::tcgetattr(m_fd, &line);
    ::cfmakeraw(&line);
    ::tcsetattr(m_fd, TCSANOW, &line);
}

PtyPeer::~PtyPeer() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void PtyPeer::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EAGAIN) {
            pollfd p{m_fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
            continue;
        }
        if (n <= 0)
            return;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

std::string PtyPeer::ReadSome(std::chrono::milliseconds wait) {
    if (!m_pending.empty())
        return std::exchange(m_pending, std::string());
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0 || !(p.revents & POLLIN))
        return {};
    char buffer[8192];
    ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

template <typename End>
std::string PtyPeer::ReadTo(End end, std::chrono::milliseconds wait) {
    std::string text;
    auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        std::size_t cut = end(text);
        if (cut != std::string::npos) {
            m_pending = text.substr(cut) + m_pending;
            text.resize(cut);
            return text;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return text;
        text += ReadSome(left);
    }
}

std::string PtyPeer::ReadUntil(std::string_view suffix, std::chrono::milliseconds wait) {
    return ReadTo(
        [suffix](const std::string& text) {
            std::size_t at = text.find(suffix);
            return at == std::string::npos ? at : at + suffix.size();
        },
        wait);
}

std::string PtyPeer::ReadCount(std::size_t count, std::chrono::milliseconds wait) {
    return ReadTo(
        [count](const std::string& text) {
            return text.size() >= count ? count : std::string::npos;
        },
        wait);
}

std::string PtyPeer::Command(std::string_view command) {
    Write(command);
    return ReadTo(
        [](const std::string& text) {
            std::size_t end = std::string::npos;
            for (std::string_view tail : {"\r\nOK\r\n", "\r\nERROR\r\n"}) {
                std::size_t at = text.find(tail);
                if (at != std::string::npos)
                    end = std::min(end, at + tail.size());
            }
            return end;
        },
        std::chrono::seconds(5));
}

bool PtyPeer::HungUp(std::chrono::milliseconds wait) {
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0)
        return false;
    if (p.revents & (POLLHUP | POLLERR))
        return true;
    char buffer[256];
    return ::read(m_fd, buffer, sizeof buffer) < 0 && errno == EIO;
}

TempRoot::TempRoot() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/tasim-test-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr)
        m_path = pattern;
}

TempRoot::~TempRoot() {
    std::error_code error;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, error);
}
