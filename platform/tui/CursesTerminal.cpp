#include "platform/tui/CursesTerminal.h"

#include <curses.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace tui {

namespace {

// What signal handlers and the exit hook may touch.
std::atomic<bool> g_bActive{false};
int g_resizePipe[2] = {-1, -1};

constexpr std::array kFatalSignals{SIGINT, SIGTERM, SIGHUP, SIGABRT, SIGSEGV};
struct sigaction g_previous[kFatalSignals.size()];
struct sigaction g_previousResize;

// Ctrl-PgUp and Ctrl-PgDn as xterm sends them (tmux too), for terminal types whose description
// lacks them. ncurses numbers the keys it knows from just above KEY_MAX; these codes lie far
// above, out of its way.
struct ExtraKey {
    const char* sequence;
    const char* name;
};
constexpr ExtraKey kExtraKeys[] = {{"\033[5;5~", "kPRV5"}, {"\033[6;5~", "kNXT5"}};
constexpr int kFirstExtraCode = 0x6000;

void Restore() {
    if (g_bActive.exchange(false)) {
        endwin();
    }
}

void OnFatalSignal(int signal) {
    Restore();
    for (std::size_t i = 0; i < kFatalSignals.size(); ++i) {
        if (kFatalSignals[i] == signal) {
            sigaction(signal, &g_previous[i], nullptr);
        }
    }
    raise(signal);
}

void OnResize(int) {
    int saved = errno;
    char byte = 1;
    [[maybe_unused]] ssize_t written = write(g_resizePipe[1], &byte, 1);
    errno = saved;
}

void InstallHandlers() {
    static bool bAtExit = false;
    if (!bAtExit) {
        std::atexit(Restore);
        bAtExit = true;
    }
    struct sigaction action {};
    action.sa_handler = OnFatalSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kFatalSignals.size(); ++i) {
        sigaction(kFatalSignals[i], &action, &g_previous[i]);
    }
    // Our own SIGWINCH handler, installed before ncurses starts, so that ncurses keeps out of
    // it and a resize wakes the poll whichever thread takes the signal.
    struct sigaction resize {};
    resize.sa_handler = OnResize;
    resize.sa_flags = SA_RESTART;
    sigemptyset(&resize.sa_mask);
    sigaction(SIGWINCH, &resize, &g_previousResize);
}

void RemoveHandlers() {
    for (std::size_t i = 0; i < kFatalSignals.size(); ++i) {
        sigaction(kFatalSignals[i], &g_previous[i], nullptr);
    }
    sigaction(SIGWINCH, &g_previousResize, nullptr);
}

chtype Attributes(std::uint8_t a) {
    chtype result = 0;
    if (a & attr::kBold) {
        result |= A_BOLD;
    }
    if (a & attr::kReverse) {
        result |= A_REVERSE;
    }
    if (a & attr::kUnderline) {
        result |= A_UNDERLINE;
    }
    if (a & attr::kDim) {
        result |= A_DIM;
    }
    return result;
}

}  // namespace

std::unique_ptr<CursesTerminal> CursesTerminal::Open() {
    if (g_bActive || !isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
        return nullptr;
    }
    if (g_resizePipe[0] < 0 && pipe2(g_resizePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return nullptr;
    }
    InstallHandlers();
    if (newterm(nullptr, stdout, stdin) == nullptr) {
        RemoveHandlers();
        return nullptr;
    }
    g_bActive = true;
    cbreak();  // Ctrl-C still interrupts, and its handler restores the terminal
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    set_escdelay(25);
    curs_set(0);
    for (std::size_t i = 0; i < std::size(kExtraKeys); ++i) {
        if (key_defined(kExtraKeys[i].sequence) == 0) {
            define_key(kExtraKeys[i].sequence, kFirstExtraCode + static_cast<int>(i));
        }
    }
    mousemask(BUTTON1_CLICKED | BUTTON1_DOUBLE_CLICKED | BUTTON3_CLICKED | BUTTON3_DOUBLE_CLICKED,
              nullptr);
    return std::unique_ptr<CursesTerminal>(new CursesTerminal);
}

CursesTerminal::~CursesTerminal() {
    Restore();
    RemoveHandlers();
}

int CursesTerminal::Columns() const {
    return COLS;
}
int CursesTerminal::Rows() const {
    return LINES;
}

void CursesTerminal::Write(int column, int row, const Cell* cells, int count) {
    move(row, column);
    for (int i = 0; i < count; ++i) {
        const Cell& cell = cells[i];
        chtype ch =
            (cell.attr & attr::kLine) ? NCURSES_ACS(cell.ch) : static_cast<unsigned char>(cell.ch);
        // The last cell of the screen scrolls when written with addch; insert it instead.
        if (row == LINES - 1 && column + i == COLS - 1) {
            mvinsch(row, column + i, ch | Attributes(cell.attr));
        } else {
            addch(ch | Attributes(cell.attr));
        }
    }
}

void CursesTerminal::SetCursor(int column, int row, bool bVisible) {
    m_nCursorColumn = column;
    m_nCursorRow = row;
    m_bCursorVisible = bVisible;
}

void CursesTerminal::Suspend() {
    if (!m_bSuspended) {
        Restore();
        m_bSuspended = true;
    }
}

void CursesTerminal::Flush() {
    if (m_bSuspended) {
        // ncurses takes the terminal back on the next refresh after endwin.
        g_bActive = true;
        m_bSuspended = false;
        clearok(curscr, TRUE);
    }
    curs_set(m_bCursorVisible ? 1 : 0);
    if (m_bCursorVisible) {
        move(m_nCursorRow, m_nCursorColumn);
    }
    refresh();
}

TerminalEvent CursesTerminal::Translate(int code) {
    TerminalEvent event;
    if (code == KEY_RESIZE) {
        event.type = TerminalEvent::Type::Resize;
        return event;
    }
    if (code == KEY_MOUSE) {
        MEVENT mouse;
        if (getmouse(&mouse) != OK) {
            return event;
        }
        if (mouse.bstate & (BUTTON1_CLICKED | BUTTON1_DOUBLE_CLICKED)) {
            event.button = ui::MouseButton::Left;
        } else if (mouse.bstate & (BUTTON3_CLICKED | BUTTON3_DOUBLE_CLICKED)) {
            event.button = ui::MouseButton::Right;
        } else {
            return event;
        }
        event.type = TerminalEvent::Type::Mouse;
        event.column = mouse.x;
        event.row = mouse.y;
        event.bDouble = (mouse.bstate & (BUTTON1_DOUBLE_CLICKED | BUTTON3_DOUBLE_CLICKED)) != 0;
        return event;
    }
    event.type = TerminalEvent::Type::Key;
    if (code >= kFirstExtraCode &&
        code < kFirstExtraCode + static_cast<int>(std::size(kExtraKeys))) {
        event.key.name = kExtraKeys[code - kFirstExtraCode].name;
        return event;
    }
    if (code == 27) {
        // Esc followed at once by a key is that key with Alt; a control sequence that the
        // terminal description does not know is dropped whole rather than typed.
        int next = getch();
        int after = (next == '[' || next == 'O') ? getch() : ERR;
        if (after != ERR) {
            for (int byte = after; byte != ERR && !(byte >= 0x40 && byte <= 0x7E); byte = getch()) {
            }
            return {};
        }
        if (next == 27) {
            ungetch(next);  // Esc pressed twice: two Escapes
        } else if (next != ERR) {
            event = Translate(next);
            event.key.bAlt = true;
            return event;
        }
    }
    if (code >= KEY_MIN) {
        const char* name = keyname(code);
        event.key.name = name ? name : "";
    } else {
        event.key.byte = code & 0xFF;
    }
    return event;
}

TerminalEvent CursesTerminal::Wait(int wakeDescriptor, std::chrono::nanoseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const bool bForever = timeout.count() < 0;
    const Clock::time_point deadline = bForever ? Clock::time_point::max() : Clock::now() + timeout;
    for (;;) {
        // ncurses may hold bytes it has already read; take those before polling.
        int code = getch();
        if (code != ERR) {
            TerminalEvent event = Translate(code);
            if (event.type != TerminalEvent::Type::None) {
                return event;
            }
            continue;
        }
        int ms = -1;
        if (!bForever) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return {};
            }
            ms = static_cast<int>(std::min<long long>(left.count(), 1 << 30));
        }
        pollfd fds[3] = {{m_bInputGone ? -1 : STDIN_FILENO, POLLIN, 0},
                         {wakeDescriptor, POLLIN, 0},
                         {g_resizePipe[0], POLLIN, 0}};
        int ready = poll(fds, 3, ms);
        if (ready < 0 && errno != EINTR) {
            return {};
        }
        if (fds[2].revents & POLLIN) {
            char drain[64];
            while (read(g_resizePipe[0], drain, sizeof drain) > 0) {
            }
            winsize size{};
            if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
                resizeterm(size.ws_row, size.ws_col);
            }
            // A KEY_RESIZE that resizeterm may queue only repaints once more.
            TerminalEvent event;
            event.type = TerminalEvent::Type::Resize;
            return event;
        }
        if (fds[1].revents & POLLIN) {
            return {};
        }
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            m_bInputGone = true;  // the terminal went away; wait for the rest only
        }
    }
}

}  // namespace tui
