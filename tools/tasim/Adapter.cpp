#include "tools/tasim/Adapter.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <iostream>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "tools/mkelm/ElmFile.h"
#include "tools/tasim/AtDialect.h"
#include "tools/tasim/CardState.h"
#include "tools/tasim/XmodemReceiver.h"

namespace tasim {
namespace {

using Clock = std::chrono::steady_clock;

// 115200 bit/s with a start and a stop bit: 10 bits a byte.
constexpr std::chrono::nanoseconds kByteTime(1'000'000'000LL * 10 / 115200);
constexpr std::size_t kPaceChunk = 16;
constexpr std::size_t kMaxLine = 4096;
constexpr std::size_t kMaxFirmwareText = 64;

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::string Compact(std::string_view line) {
    std::string out;
    for (char c : line) {
        if (c != ' ')
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

bool Printable(const std::optional<std::string>& text) {
    return text && !text->empty() && text->size() <= kMaxFirmwareText &&
           std::all_of(text->begin(), text->end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

void CloseFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

}  // namespace

bool CommandMatch::Matches(int n, std::string_view command) const {
    return (nth > 0 && n == nth) || (from > 0 && n >= from) ||
           (!text.empty() && EqualNoCase(command, text));
}

class Adapter::Impl {
  public:
    explicit Impl(Config config) : m_config(std::move(config)) {
        m_state.version = m_config.version;
        m_state.isdn = m_config.isdn.empty() ? DefaultIsdnText(m_config.region) : m_config.isdn;
        m_state.ResetToFactory();
    }

    bool Start(const std::filesystem::path& root, const std::string& com);
    void Stop();

    // Everything below is guarded by m_mutex.
    mutable std::mutex m_mutex;
    Config m_config;
    CardState m_state;
    std::string m_received;
    std::vector<std::string> m_commands;
    std::string m_lastTransfer;
    bool m_running = false;
    std::filesystem::path m_slavePath;
    enum class Mode { At, Loader, Receiving } m_mode = Mode::At;

    void Wake();
    void Save();
    void Send(std::string bytes, std::chrono::milliseconds gap = {});

  private:
    struct Piece {
        std::string bytes;
        std::chrono::milliseconds gap;  // pause after the piece before it
    };

    void Serve();
    void ReadMaster(Clock::time_point now);
    void ProcessInput(Clock::time_point now);
    void OnLine(const std::string& line, Clock::time_point now);
    void OnLoaderLine(const std::string& line, const std::string& prefix, bool error,
                      Clock::time_point now);
    void AfterTransferStep();
    void TakeImage(const std::string& data);
    void SendReply(const std::string& text);
    void SendPrompt();
    void WriteOut(Clock::time_point now);
    void OnNotify();
    void HangUp();

    AtDialect m_at;
    std::optional<XmodemReceiver> m_rx;
    std::string m_line;
    int m_count = 0;
    std::string m_in;  // received, waiting for its line time when paced
    Clock::time_point m_inDue;
    std::deque<Piece> m_out;
    Clock::time_point m_outDue;
    int m_opens = 0;
    bool m_stop = false;
    std::filesystem::path m_link;
    int m_master = -1;
    int m_slave = -1;  // held open so that the master never sees a hang-up between clients
    int m_notify = -1;
    int m_wake = -1;
    std::thread m_thread;
};

bool Adapter::Impl::Start(const std::filesystem::path& root, const std::string& com) {
    if (m_thread.joinable())
        m_thread.join();  // after a hang-up fault
    std::lock_guard lock(m_mutex);
    if (m_running) {
        std::cerr << "tasim: " << com << " already started\n";
        return false;
    }
    auto fail = [&](const char* what) {
        std::cerr << "tasim: " << what << ": " << std::strerror(errno) << "\n";
        CloseFd(m_master);
        CloseFd(m_slave);
        CloseFd(m_notify);
        CloseFd(m_wake);
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        return fail("cannot create a pseudo-terminal");
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        return fail("cannot open the pseudo-terminal's slave");
    termios line{};
    ::tcgetattr(m_slave, &line);
    ::cfmakeraw(&line);
    ::cfsetspeed(&line, B115200);
    ::tcsetattr(m_slave, TCSANOW, &line);
    m_notify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_notify < 0 || ::inotify_add_watch(m_notify, name, IN_OPEN | IN_CLOSE) < 0) {
        return fail("cannot watch the slave");
    }
    m_wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wake < 0)
        return fail("cannot create an event descriptor");

    std::error_code error;
    m_slavePath = name;
    m_link = root / "ports" / com;
    std::filesystem::create_directories(m_link.parent_path(), error);
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(m_link))) {
        std::filesystem::remove(m_link, error);
    }
    std::filesystem::create_symlink(m_slavePath, m_link, error);
    if (error) {
        errno = error.value();
        return fail(("cannot link " + m_link.string()).c_str());
    }

    if (!m_config.stateFile.empty())
        LoadState(m_config.stateFile, m_state);
    m_mode = Mode::At;
    m_at.Reset();
    m_state.active = m_state.stored[m_state.defaultProfile];
    m_line.clear();
    m_count = 0;
    m_received.clear();
    m_commands.clear();
    m_in.clear();
    m_out.clear();
    m_opens = 0;
    m_stop = false;
    m_running = true;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void Adapter::Impl::Stop() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_thread.joinable())
            return;
        m_stop = true;
        Wake();
    }
    m_thread.join();
    std::lock_guard lock(m_mutex);
    if (m_running)
        HangUp();
}

void Adapter::Impl::Wake() {
    if (!m_running)
        return;
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(m_wake, &one, sizeof one);
}

// Closes the master (the card is removed) and takes the link away.
void Adapter::Impl::HangUp() {
    std::error_code error;
    if (std::filesystem::read_symlink(m_link, error) == m_slavePath) {
        std::filesystem::remove(m_link, error);
    }
    CloseFd(m_notify);
    CloseFd(m_slave);
    CloseFd(m_master);
    CloseFd(m_wake);
    m_out.clear();
    m_in.clear();
    m_running = false;
}

void Adapter::Impl::Save() {
    if (!m_config.stateFile.empty())
        SaveState(m_config.stateFile, m_state);
}

void Adapter::Impl::Serve() {
    std::unique_lock lock(m_mutex);
    while (m_running && !m_stop) {
        Clock::time_point now = Clock::now();
        std::optional<Clock::time_point> due;
        auto consider = [&due](Clock::time_point t) {
            if (!due || t < *due)
                due = t;
        };
        short masterEvents = POLLIN;
        if (!m_out.empty()) {
            if (now >= m_outDue) {
                masterEvents |= POLLOUT;
            } else {
                consider(m_outDue);
            }
        }
        if (!m_in.empty())
            consider(m_inDue);
        if (m_mode == Mode::Receiving)
            consider(m_rx->Deadline());

        pollfd fds[3] = {{m_master, masterEvents, 0}, {m_wake, POLLIN, 0}, {m_notify, POLLIN, 0}};
        timespec wait{};
        if (due) {
            auto left = std::max(std::chrono::nanoseconds(0), *due - now);
            wait.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
            wait.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
        }
        lock.unlock();
        int ready = ::ppoll(fds, 3, due ? &wait : nullptr, nullptr);
        lock.lock();
        if (ready < 0 && errno != EINTR)
            break;
        now = Clock::now();
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] ssize_t n = ::read(m_wake, &count, sizeof count);
        }
        if (m_stop || !m_running)
            break;
        if (fds[2].revents & POLLIN)
            OnNotify();
        if (fds[0].revents & POLLIN)
            ReadMaster(now);
        if (m_running && !m_in.empty() && now >= m_inDue)
            ProcessInput(now);
        if (m_running && m_mode == Mode::Receiving && now >= m_rx->Deadline()) {
            Send(m_rx->Tick(now));
            AfterTransferStep();
        }
        if (m_running && (fds[0].revents & POLLOUT))
            WriteOut(now);
    }
}

// A client's last close: like a real port, the exclusive flag and unread output go away.
void Adapter::Impl::OnNotify() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        ssize_t n = ::read(m_notify, buffer, sizeof buffer);
        if (n <= 0)
            return;
        for (ssize_t at = 0; at < n;) {
            auto* event = reinterpret_cast<inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN)
                ++m_opens;
            if ((event->mask & IN_CLOSE) && --m_opens <= 0) {
                m_opens = 0;
                ::ioctl(m_slave, TIOCNXCL);
                ::tcflush(m_slave, TCIFLUSH);
                m_out.clear();
                m_line.clear();
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

void Adapter::Impl::ReadMaster(Clock::time_point now) {
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            return;
        m_received.append(buffer, static_cast<std::size_t>(n));
        m_in.append(buffer, static_cast<std::size_t>(n));
        m_inDue = m_config.faults.pace ? std::max(now, m_inDue) + n * kByteTime : now;
    }
}

void Adapter::Impl::ProcessInput(Clock::time_point now) {
    std::size_t i = 0;
    while (i < m_in.size() && m_running) {
        if (m_mode == Mode::Receiving) {
            std::size_t used = 0;
            Send(m_rx->Feed(std::string_view(m_in).substr(i), now, used));
            i += used;
            AfterTransferStep();
            continue;
        }
        char c = m_in[i++];
        if (c == '\r') {
            std::string line;
            line.swap(m_line);
            OnLine(line, now);
        } else if (m_line.empty() && static_cast<unsigned char>(c) < 0x20) {
            // The line feed of "\r\n" and other control bytes between lines.
        } else if (m_line.size() < kMaxLine) {
            m_line += c;
        }
    }
    if (m_running)
        m_in.erase(0, i);
}

void Adapter::Impl::OnLine(const std::string& line, Clock::time_point now) {
    ++m_count;
    m_commands.push_back(line + "\r");
    const Faults& f = m_config.faults;
    if (f.hangUpAt.Matches(m_count, line)) {
        HangUp();
        return;
    }
    if (f.mute || f.noAnswer.Matches(m_count, line))
        return;
    std::string prefix;
    if (f.unsolicitedBefore.Matches(m_count, line))
        prefix = "\r\n" + f.unsolicited + "\r\n";
    const bool error = f.error.Matches(m_count, line);
    if (m_mode == Mode::Loader) {
        OnLoaderLine(line, prefix, error, now);
        return;
    }
    if (Compact(line).rfind("AT", 0) != 0)
        return;  // a modem waits for "AT"

    const bool echo = m_at.Echo();
    AtDialect::Answer answer;
    if (error) {
        answer.ok = false;
    } else {
        answer = m_at.Execute(line, m_state, m_config);
    }
    if (f.oversize.Matches(m_count, line)) {
        for (int n = 1;
             m_at.Frame(echo, line + "\r", answer.lines, answer.ok).size() < f.oversizeBytes; ++n) {
            answer.lines.push_back("DIAGNOSTIC " + std::to_string(n) +
                                   " ...................................................");
        }
    }
    SendReply(prefix + m_at.Frame(echo, line + "\r", answer.lines, answer.ok));
    if (answer.storedChanged)
        Save();
    if (answer.toLoader) {
        m_mode = Mode::Loader;
        Send("\r\nQuilan ISDN T/A loader");
        SendPrompt();
    }
}

void Adapter::Impl::OnLoaderLine(const std::string& line, const std::string& prefix, bool error,
                                 Clock::time_point now) {
    const std::string command = Compact(line);
    const std::string echo = prefix + line + "\r\n";
    if (command.empty()) {
        SendPrompt();
    } else if (!error && command == "AT") {
        // The firmware starts again with its power-on settings.
        SendReply(echo + "OK\r\n");
        m_mode = Mode::At;
        m_at.Reset();
        m_state.active = m_state.stored[m_state.defaultProfile];
    } else if (!error && command == "$LOAD") {
        SendReply(echo);
        m_rx.emplace(m_config.xmodem, m_config.faults, now);
        m_mode = Mode::Receiving;
        Send(m_rx->Begin());
    } else {
        SendReply(echo + "ERROR\r\n");
        SendPrompt();
    }
}

void Adapter::Impl::AfterTransferStep() {
    switch (m_rx->GetOutcome()) {
        case XmodemReceiver::Outcome::Running:
            return;
        case XmodemReceiver::Outcome::HangUp:
            HangUp();
            return;
        case XmodemReceiver::Outcome::Complete:
            m_lastTransfer = m_rx->Data();
            TakeImage(m_lastTransfer);
            m_mode = Mode::Loader;
            SendPrompt();
            return;
        case XmodemReceiver::Outcome::Cancelled:
            m_lastTransfer = m_rx->Data();
            m_mode = Mode::Loader;
            if (!m_rx->Silent())
                SendPrompt();
            return;
    }
}

// New firmware takes over only when the image is whole; it loses the stored profiles.
void Adapter::Impl::TakeImage(const std::string& data) {
    std::optional<std::size_t> end = mkelm::ImageEnd(data);
    if (!end)
        return;
    mkelm::ElmTexts texts = mkelm::FindTexts(std::string_view(data).substr(0, *end));
    if (!Printable(texts.version) || !Printable(texts.isdn))
        return;
    m_state.version = *texts.version;
    m_state.isdn = *texts.isdn;
    m_state.ResetToFactory();
    Save();
}

void Adapter::Impl::SendReply(const std::string& text) {
    std::vector<std::size_t> cuts = m_config.faults.splitReplies;
    std::sort(cuts.begin(), cuts.end());
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        if (cut <= from || cut >= text.size())
            continue;
        Send(text.substr(from, cut - from),
             std::chrono::milliseconds(from == 0 ? 0 : m_config.faults.splitGapMs));
        from = cut;
    }
    Send(text.substr(from), std::chrono::milliseconds(from == 0 ? 0 : m_config.faults.splitGapMs));
}

void Adapter::Impl::SendPrompt() {
    if (m_config.faults.splitPrompt) {
        Send("\r\n>");
        Send(">", std::chrono::milliseconds(m_config.faults.splitGapMs));
    } else {
        Send("\r\n>>");
    }
}

void Adapter::Impl::Send(std::string bytes, std::chrono::milliseconds gap) {
    if (bytes.empty() || m_config.faults.mute || !m_running)
        return;
    if (m_out.empty())
        m_outDue = std::max(m_outDue, Clock::now()) + gap;
    m_out.push_back({std::move(bytes), gap});
}

void Adapter::Impl::WriteOut(Clock::time_point now) {
    Piece& head = m_out.front();
    std::size_t n =
        m_config.faults.pace ? std::min(kPaceChunk, head.bytes.size()) : head.bytes.size();
    ssize_t written = ::write(m_master, head.bytes.data(), n);
    if (written < 0) {
        if (errno != EAGAIN && errno != EINTR)
            m_out.clear();
        return;
    }
    head.bytes.erase(0, static_cast<std::size_t>(written));
    m_outDue = m_config.faults.pace ? now + written * kByteTime : now;
    if (head.bytes.empty()) {
        m_out.pop_front();
        if (!m_out.empty())
            m_outDue += m_out.front().gap;
    }
}

Adapter::Adapter(Config config) : m_impl(std::make_unique<Impl>(std::move(config))) {}

Adapter::~Adapter() {
    Stop();
}

bool Adapter::Start(const std::filesystem::path& root, const std::string& com) {
    return m_impl->Start(root, com);
}

void Adapter::Stop() {
    m_impl->Stop();
}

bool Adapter::Running() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_running;
}

std::filesystem::path Adapter::SlavePath() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_running ? m_impl->m_slavePath : std::filesystem::path();
}

void Adapter::SetFaults(const Faults& faults) {
    std::lock_guard lock(m_impl->m_mutex);
    m_impl->m_config.faults = faults;
}

void Adapter::Inject(std::string_view bytes) {
    std::lock_guard lock(m_impl->m_mutex);
    m_impl->Send(std::string(bytes));
    m_impl->Wake();
}

std::string Adapter::Received() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_received;
}

std::vector<std::string> Adapter::Commands() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_commands;
}

void Adapter::ClearRecording() {
    std::lock_guard lock(m_impl->m_mutex);
    m_impl->m_received.clear();
    m_impl->m_commands.clear();
}

std::string Adapter::LastTransfer() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_lastTransfer;
}

std::string Adapter::Version() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_state.version;
}

std::string Adapter::IsdnText() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_state.isdn;
}

Region Adapter::GetRegion() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_state.GetRegion();
}

bool Adapter::InLoader() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_mode != Impl::Mode::At;
}

_CARDPROFILES Adapter::CardProfiles() const {
    std::lock_guard lock(m_impl->m_mutex);
    const CardState& s = m_impl->m_state;
    _CARDPROFILES record{};
    for (int n = 0; n < 3; ++n)
        record.Profiles[n] = ToRecord(s.stored[n], s.GetRegion());
    record.DefaultProfile = s.defaultProfile;
    record.NorthAmerica = s.GetRegion() == Region::NorthAmerica ? 1 : 0;
    return record;
}

_STOREDPROFILE Adapter::ActiveProfile() const {
    std::lock_guard lock(m_impl->m_mutex);
    return ToRecord(m_impl->m_state.active, m_impl->m_state.GetRegion());
}

int Adapter::DefaultProfile() const {
    std::lock_guard lock(m_impl->m_mutex);
    return m_impl->m_state.defaultProfile;
}

std::string Adapter::Register(int profile, const std::string& name) const {
    std::lock_guard lock(m_impl->m_mutex);
    if (profile < -1 || profile > 2)
        return {};
    const Registers& r = profile < 0 ? m_impl->m_state.active : m_impl->m_state.stored[profile];
    auto it = r.find(name);
    return it == r.end() ? std::string() : it->second;
}

void Adapter::SetCardProfiles(const _CARDPROFILES& profiles) {
    std::lock_guard lock(m_impl->m_mutex);
    CardState& s = m_impl->m_state;
    for (int n = 0; n < 3; ++n)
        ApplyRecord(profiles.Profiles[n], s.GetRegion(), s.stored[n]);
    if (profiles.DefaultProfile >= 0 && profiles.DefaultProfile <= 2) {
        s.defaultProfile = profiles.DefaultProfile;
    }
    m_impl->Save();
}

void Adapter::SetRegister(int profile, const std::string& name, const std::string& value) {
    std::lock_guard lock(m_impl->m_mutex);
    if (profile < -1 || profile > 2)
        return;
    CardState& s = m_impl->m_state;
    (profile < 0 ? s.active : s.stored[profile])[name] = value;
    m_impl->Save();
}

}  // namespace tasim
