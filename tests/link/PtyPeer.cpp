#include "tests/link/PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace linktest {

TestRoot::TestRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quilan-link-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
    std::filesystem::create_directory(m_path / "ports");
    setenv("QUILAN_ROOT", m_path.c_str(), 1);
}

TestRoot::~TestRoot() {
    unsetenv("QUILAN_ROOT");
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TestRoot::Link(const std::string& comName, const std::filesystem::path& target) const {
    std::filesystem::path entry = m_path / "ports" / comName;
    std::error_code ignored;
    std::filesystem::remove(entry, ignored);
    std::filesystem::create_symlink(target, entry);
}

std::string PtyPeer::AnswerOk(const std::string& command) {
    return command + "\r\r\nOK\r\n";
}

PtyPeer::PtyPeer(Responder responder) : m_responder(std::move(responder)) {
    // Opening the multiplexer is what posix_openpt does; through open() the thread sanitizer
    // also sees what the peer writes reach the channel's reads, as the kernel orders them.
    m_master = open("/dev/ptmx", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        pipe2(m_stop, O_CLOEXEC) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    m_slavePath = ptsname(m_master);
    m_slave = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        throw std::runtime_error("cannot open the pseudo-terminal's slave");
    }
    m_thread = std::thread([this] { Run(); });
}

PtyPeer::~PtyPeer() {
    Stop();
    for (int fd : {m_master, m_slave, m_stop[0], m_stop[1]}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void PtyPeer::Stop() {
    if (m_thread.joinable()) {
        char stop = 's';
        [[maybe_unused]] ssize_t written = write(m_stop[1], &stop, 1);
        m_thread.join();
    }
}

void PtyPeer::Send(std::string_view bytes) {
    std::lock_guard lock(m_mutex);
    while (!bytes.empty() && m_master >= 0) {
        ssize_t count = write(m_master, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
}

std::string PtyPeer::Received() {
    std::lock_guard lock(m_mutex);
    return m_received;
}

bool PtyPeer::WaitForReceived(std::string_view text, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_received.find(text) != std::string::npos; });
}

void PtyPeer::HangUp() {
    Stop();
    std::lock_guard lock(m_mutex);
    close(m_slave);
    close(m_master);
    m_slave = -1;
    m_master = -1;
}

void PtyPeer::Run() {
    for (;;) {
        pollfd fds[2] = {{m_stop[0], POLLIN, 0}, {m_master, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[0].revents) {
            return;
        }
        char bytes[512];
        ssize_t count = read(m_master, bytes, sizeof bytes);
        if (count <= 0) {
            continue;  // the slave is kept open, so this is only an interrupted read
        }
        {
            std::lock_guard lock(m_mutex);
            m_received.append(bytes, static_cast<std::size_t>(count));
        }
        m_changed.notify_all();
        for (ssize_t i = 0; i < count; ++i) {
            if (bytes[i] != '\r') {
                if (bytes[i] != '\n' || !m_pending.empty()) {
                    m_pending += bytes[i];
                }
                continue;
            }
            std::string answer = m_responder(m_pending);
            m_pending.clear();
            Send(answer);
        }
    }
}

}  // namespace linktest
