// Sends between processes: every process with windows listens on a unix socket named after the
// root and its process id (in the abstract namespace, so it vanishes with the process). A request
// is answered by a thread of the service that sends the message on to the window's thread.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "platform/sys/MessageQueue.h"
#include "platform/sys/Root.h"

namespace sys::detail {

namespace {

struct Request {
    std::uint64_t window;
    std::uint64_t wParam;
    std::int64_t lParam;
    std::uint32_t message;
    std::uint32_t bPost;
};

struct Reply {
    std::int64_t result;
    std::uint32_t bDelivered;
    std::uint32_t reserved;
};

std::atomic<pid_t> g_servingProcess{0};

// The socket address of a process's service under the current root.
sockaddr_un ServiceAddress(std::uint32_t pid, socklen_t* length) {
    std::error_code error;
    std::string root = std::filesystem::weakly_canonical(Root(), error).string();
    if (error) {
        root = Root().string();
    }
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (char c : root) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // sun_path[0] stays NUL: an abstract name.
    int written = std::snprintf(address.sun_path + 1, sizeof address.sun_path - 1,
                                "quilan-%016llx-%u", static_cast<unsigned long long>(hash), pid);
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + written);
    return address;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    auto bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = send(fd, bytes, size, MSG_NOSIGNAL);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, void* data, std::size_t size) {
    auto bytes = static_cast<char*>(data);
    while (size > 0) {
        ssize_t n = recv(fd, bytes, size, 0);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) {
                continue;
            }
            return false;  // the other side ended
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void Serve(int connection) {
    Request request;
    if (!ReadAll(connection, &request, sizeof request)) {
        close(connection);
        return;
    }
    Reply reply{};
    reply.bDelivered = IsWindowEndpoint(request.window);
    if (request.bPost) {
        // Answered before the message is queued: the window's thread may end this process as
        // soon as it has handled it.
        WriteAll(connection, &reply, sizeof reply);
        close(connection);
        PostMessage(request.window, request.message, request.wParam, request.lParam);
        return;
    }
    reply.result = SendMessage(request.window, request.message, request.wParam, request.lParam);
    WriteAll(connection, &reply, sizeof reply);
    close(connection);
}

void Listen(int listener) {
    for (;;) {
        int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED || errno == EMFILE || errno == ENFILE) {
                continue;
            }
            return;
        }
        try {
            std::thread(Serve, connection).detach();  // a send may block: one thread each
        } catch (const std::system_error&) {
            close(connection);
        }
    }
}

// Connects to the service of the window's process and exchanges one request.
bool Exchange(WindowHandle window, const Request& request, Reply* reply) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    socklen_t length;
    sockaddr_un address = ServiceAddress(static_cast<std::uint32_t>(window >> 32), &length);
    bool bDone = connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                 WriteAll(fd, &request, sizeof request) && ReadAll(fd, reply, sizeof *reply);
    close(fd);
    return bDone;
}

}  // namespace

void StartMessageService() {
    pid_t self = getpid();
    if (g_servingProcess.exchange(self) == self) {
        return;
    }
    int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        return;
    }
    socklen_t length;
    sockaddr_un address = ServiceAddress(static_cast<std::uint32_t>(self), &length);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener, 16) != 0) {
        close(listener);
        return;  // other processes' sends to this one then answer 0
    }
    try {
        std::thread(Listen, listener).detach();
    } catch (const std::system_error&) {
        close(listener);
    }
}

MessageResult SendToProcess(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
    Request request{window, wParam, lParam, message, 0};
    Reply reply{};
    return Exchange(window, request, &reply) ? static_cast<MessageResult>(reply.result) : 0;
}

bool PostToProcess(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                   std::intptr_t lParam) {
    Request request{window, wParam, static_cast<std::int64_t>(lParam), message, 1};
    Reply reply{};
    return Exchange(window, request, &reply) && reply.bDelivered;
}

}  // namespace sys::detail
