// Another real process using the card list: bin/ornaslot_peer run with one command, its
// standard input and output connected to the test by pipes. It inherits the test's QUILAN_ROOT.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

class CPeer {
  public:
    explicit CPeer(std::vector<std::string> arguments) {
        int toPeer[2];
        int fromPeer[2];
        if (pipe2(toPeer, O_CLOEXEC) != 0 || pipe2(fromPeer, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toPeer[0], 0);
        posix_spawn_file_actions_adddup2(&actions, fromPeer[1], 1);
        arguments.insert(arguments.begin(), ORNASLOT_PEER);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, ORNASLOT_PEER, &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(toPeer[0]);
        close(fromPeer[1]);
        m_input = toPeer[1];
        m_output = fdopen(fromPeer[0], "r");
    }
    // Lets the peer end on its own (its input closed), so that it leaves the list as a normal
    // exit does; one that does not end within two seconds is killed.
    ~CPeer() {
        if (m_input >= 0) {
            close(m_input);
        }
        for (int i = 0; i < 200 && m_pid > 0; ++i) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = 0;
            } else {
                usleep(10000);
            }
        }
        Kill();
        if (m_output) {
            fclose(m_output);
        }
    }
    CPeer(const CPeer&) = delete;
    CPeer& operator=(const CPeer&) = delete;

    // The next line the peer printed, without its line feed; empty when it ended.
    std::string ReadLine() {
        char line[512];
        if (!m_output || !fgets(line, sizeof line, m_output)) {
            return {};
        }
        std::string text(line);
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        return text;
    }
    // True when a line is waiting to be read (checked without waiting).
    bool HasOutput() {
        if (!m_output) {
            return false;
        }
        pollfd ready = {fileno(m_output), POLLIN, 0};
        return poll(&ready, 1, 0) == 1;
    }
    void WriteLine(const std::string& line) {
        std::string text = line + "\n";
        [[maybe_unused]] ssize_t written = write(m_input, text.data(), text.size());
    }
    // Ends the peer at once, as a crash would, and reaps it.
    void Kill() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            Wait();
        }
    }
    // The exit status once the peer has ended on its own; -1 when it was killed.
    int Wait() {
        int status = 0;
        if (m_pid <= 0 || waitpid(m_pid, &status, 0) != m_pid) {
            return -1;
        }
        m_pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t m_pid = 0;
    int m_input = -1;
    FILE* m_output = nullptr;
};
