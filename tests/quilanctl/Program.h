// Runs a program as a process of its own, with the environment it reads set here: its system
// root, the time scale, no terminal front end, and its temporary folder. Standard input comes
// from a given text; standard output and error are collected.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

struct ProgramRun {
    int status = -1;  // the exit status; 128 + the signal when a signal ended it
    std::string out;
    std::string err;
};

class CProgram {
  public:
    CProgram(std::filesystem::path program, std::filesystem::path root, std::string timeScale)
        : m_program(std::move(program)),
          m_root(std::move(root)),
          m_timeScale(std::move(timeScale)) {
        std::filesystem::create_directories(Temporary());
    }

    std::filesystem::path Temporary() const { return m_root / "tmp"; }

    // Runs to the end; `during` is called once the process has started, with its id.
    ProgramRun Run(const std::vector<std::string>& arguments, const std::string& input = "",
                   const std::function<void(pid_t)>& during = {}) const {
        std::filesystem::path in = Temporary() / ".stdin", out = Temporary() / ".stdout",
                              err = Temporary() / ".stderr";
        std::ofstream(in, std::ios::binary) << input;
        // Everything the child needs is made before the fork: it only redirects and executes.
        std::vector<std::string> strings = {m_program.string()};
        strings.insert(strings.end(), arguments.begin(), arguments.end());
        std::vector<std::string> environment = {
            "QUILAN_ROOT=" + m_root.string(), "QUILAN_TIME_SCALE=" + m_timeScale,
            "QUILAN_FRONTEND=headless", "TMPDIR=" + Temporary().string()};
        for (char** variable = environ; *variable; ++variable) {
            std::string text = *variable;
            if (!text.starts_with("QUILAN_") && !text.starts_with("TMPDIR=")) {
                environment.push_back(text);
            }
        }
        std::vector<char*> argv = Pointers(strings);
        std::vector<char*> envp = Pointers(environment);
        int inFd = open(in.c_str(), O_RDONLY | O_CLOEXEC);
        int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        pid_t pid = fork();
        if (pid == 0) {
            dup2(inFd, 0);
            dup2(outFd, 1);
            dup2(errFd, 2);
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        close(inFd);
        close(outFd);
        close(errFd);
        if (during) {
            during(pid);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ProgramRun run;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.out = Read(out);
        run.err = Read(err);
        return run;
    }

    static std::string Read(const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

  private:
    static std::vector<char*> Pointers(std::vector<std::string>& strings) {
        std::vector<char*> pointers;
        for (std::string& text : strings) {
            pointers.push_back(text.data());
        }
        pointers.push_back(nullptr);
        return pointers;
    }

    std::filesystem::path m_program;
    std::filesystem::path m_root;
    std::string m_timeScale;
};
