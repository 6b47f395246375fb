// A scratch folder that stands for a machine's file system: the installation goes there
// (DESTDIR, or dpkg's --root), never into the real system. Commands run through the shell.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct ShellRun {
    int status = -1;
    std::string output;  // standard output and error
};

inline ShellRun Shell(const std::string& command) {
    ShellRun run;
    if (FILE* pipe = popen(("(" + command + ") 2>&1").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            run.output.append(buffer, n);
        }
        int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

inline std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The registry file as the installation writes it on a Debian system.
inline constexpr char kInstalledRegistry[] =
    "REGEDIT4\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory]\n"
    "\"ElmDirectory\"=\"/usr/share/quilan/elm/\"\n"
    "\"HelpDirectory\"=\"/usr/share/quilan/help/\"\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames]\n";

inline constexpr char kProfileNamesKey[] = "SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames";

// The private folder of the libraries and the applet file.
inline const std::filesystem::path kLibDir =
    std::filesystem::path("usr/lib") / LIB_TRIPLET / "quilan";

class ScratchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quilan-scratch-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_scratch = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_scratch); }

    std::filesystem::path Root() const { return m_scratch / "etc/quilan"; }
    // A program of the installation, run with the scratch root as its system root.
    ShellRun Installed(const std::string& program, const std::string& arguments) const {
        return Shell("env QUILAN_ROOT=" + Quoted(Root()) + " QUILAN_FRONTEND=headless " +
                     Quoted(m_scratch / "usr/bin" / program) + " " + arguments);
    }

    std::filesystem::path m_scratch;
};
