// A process writing the registry file, killed at every point of its write: before, during and
// after the rename. The writer runs traced and is stopped at each of its system calls in turn,
// entry and exit, and killed at the k-th stop, for every k until it finishes. Each time the file
// must parse with the old or the new contents, and the next write must leave no temporary file
// of a killed writer behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "TempRoot.h"
#include "platform/registry/Hive.h"
#include "platform/registry/Key.h"

namespace {

using registry::Access;
using registry::Key;
using registry::Status;

Status Write(const std::string& value) {
    Key key;
    Status status = key.Open(kProfileNamesKey, Access::Write);
    return status == Status::Ok ? key.SetString("Profile0", value) : status;
}

// The child's body: stopped until its tracer lets it go, then one write.
[[noreturn]] void TracedWriter(const std::string& value) {
    if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) {
        ::_exit(3);
    }
    ::raise(SIGSTOP);
    ::_exit(Write(value) == Status::Ok ? 0 : 4);
}

enum class Outcome { Killed, Finished, Failed };

// Lets a traced writer of `value` run to its `stops`-th system-call stop and kills it there.
Outcome WriteKilledAt(int stops, const std::string& value) {
    const pid_t child = ::fork();
    if (child == 0) {
        TracedWriter(value);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) {
        return Outcome::Failed;
    }
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_EXITKILL);
    for (int stop = 0; stop < stops; ++stop) {
        if (::ptrace(PTRACE_SYSCALL, child, nullptr, nullptr) != 0 ||
            ::waitpid(child, &status, 0) != child) {
            return Outcome::Failed;
        }
        if (WIFEXITED(status)) {
            return WEXITSTATUS(status) == 0 ? Outcome::Finished : Outcome::Failed;
        }
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return Outcome::Killed;
}

class KilledWriter : public TempRoot {
  protected:
    // Files beside the hive other than the hive and its lock file.
    int Temporaries() const {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(m_root)) {
            const std::string name = entry.path().filename().string();
            count += name != "registry.reg" && name != "registry.reg.lock";
        }
        return count;
    }

    std::optional<std::string> Profile0() const {
        std::optional<registry::Hive> hive = registry::Hive::Parse(ReadHive());
        if (!hive) {
            return std::nullopt;
        }
        const std::string* value = hive->FindValue(kProfileNamesKey, "Profile0");
        const std::string* elm = hive->FindValue(kDirectoryKey, "ElmDirectory");
        if (!value || !elm || *elm != "/usr/share/quilan/elm/") {
            return std::nullopt;
        }
        return *value;
    }
};

TEST_F(KilledWriter, FileAlwaysHoldsOldOrNewAndNoTemporaryOutlivesTheNextWrite) {
    WriteHive(kInstalledHive);
    int points = 0;
    int oldKept = 0;
    int newKept = 0;
    int leftTemporaries = 0;
    for (int stops = 1;; ++stops) {
        SCOPED_TRACE("killed at system-call stop " + std::to_string(stops));
        const std::string before = "old " + std::to_string(stops);
        const std::string after = "new " + std::to_string(stops);
        ASSERT_EQ(Write(before), Status::Ok);
        ASSERT_EQ(Temporaries(), 0) << "a killed writer's temporary file outlived a write";

        const Outcome outcome = WriteKilledAt(stops, after);
        ASSERT_NE(outcome, Outcome::Failed);
        const std::optional<std::string> value = Profile0();
        ASSERT_TRUE(value.has_value()) << "the file does not parse, or lost a value";
        ASSERT_TRUE(*value == before || *value == after) << *value;
        if (outcome == Outcome::Finished) {
            EXPECT_EQ(*value, after);
            break;
        }
        ++points;
        (*value == before ? oldKept : newKept) += 1;
        leftTemporaries += Temporaries() > 0;
    }
    ASSERT_EQ(Write("last"), Status::Ok);
    EXPECT_EQ(Temporaries(), 0);
    // The points span the rename: some kills left the old contents, some the new.
    EXPECT_GT(oldKept, 0);
    EXPECT_GT(newKept, 0);
    std::cout << "kill points tried: " << points << " (old contents kept at " << oldKept
              << ", new at " << newKept << "; " << leftTemporaries
              << " kills left a temporary file)\n";
}

}  // namespace
