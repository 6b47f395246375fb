// Two writer processes on one key while a third process keeps reading the file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "TempRoot.h"
#include "platform/registry/Hive.h"
#include "platform/registry/Key.h"

namespace {

using registry::Access;
using registry::Key;
using registry::Status;

constexpr int kWritesPerWriter = 50;

std::string ValueName(int writer, int i) {
    return "W" + std::to_string(writer) + "-" + std::to_string(i);
}

// Long enough that a file written in place would be caught half-written.
std::string ValueData(int writer, int i) {
    return "value " + std::to_string(writer) + " " + std::to_string(i) + " " +
           std::string(200, static_cast<char>('a' + writer));
}

void AwaitClose(int fd) {
    char byte;
    while (::read(fd, &byte, 1) != 0) {
    }
}

bool Closed(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1;
}

// Child process bodies: the exit status tells the parent what went wrong.
[[noreturn]] void Writer(int writer, int start) {
    AwaitClose(start);
    for (int i = 0; i < kWritesPerWriter; ++i) {
        Key key;
        if (key.Open(kProfileNamesKey, Access::Write) != Status::Ok) {
            ::_exit(10);
        }
        if (key.SetString(ValueName(writer, i), ValueData(writer, i)) != Status::Ok ||
            key.SetString("Profile0", "writer " + std::to_string(writer)) != Status::Ok) {
            ::_exit(11);
        }
    }
    ::_exit(0);
}

[[noreturn]] void Reader(const std::filesystem::path& file, int start, int stop) {
    AwaitClose(start);
    int reads = 0;
    while (!Closed(stop)) {
        std::ifstream in(file, std::ios::binary);
        std::string text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
        if (!registry::Hive::Parse(text)) {
            ::_exit(20);
        }
        Key key;
        char buffer[260];
        if (key.Open(kProfileNamesKey, Access::Read) != Status::Ok ||
            key.QueryString("Profile0", buffer, sizeof buffer) != Status::Ok) {
            ::_exit(21);
        }
        ++reads;
    }
    ::_exit(reads > 0 ? 0 : 22);
}

int ExitCode(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

class ConcurrentWrite : public TempRoot {};

TEST_F(ConcurrentWrite, WritersLoseNothingAndReadersNeverSeeATornFile) {
    WriteHive(kInstalledHive);
    int start[2];
    int stop[2];
    ASSERT_EQ(::pipe(start), 0);
    ASSERT_EQ(::pipe(stop), 0);

    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            ::close(start[1]);
            Writer(w, start[0]);
        }
    }
    pid_t reader = ::fork();
    ASSERT_GE(reader, 0);
    if (reader == 0) {
        ::close(start[1]);
        ::close(stop[1]);
        Reader(HiveFile(), start[0], stop[0]);
    }
    ::close(start[0]);
    ::close(stop[0]);
    ::close(start[1]);  // all three begin together

    EXPECT_EQ(ExitCode(writers[0]), 0);
    EXPECT_EQ(ExitCode(writers[1]), 0);
    ::close(stop[1]);
    EXPECT_EQ(ExitCode(reader), 0) << "20: torn file, 21: key or value unreadable meanwhile";

    Key key;
    ASSERT_EQ(key.Open(kProfileNamesKey, Access::Read), Status::Ok);
    char buffer[260];
    for (int w = 0; w < 2; ++w) {
        for (int i = 0; i < kWritesPerWriter; ++i) {
            SCOPED_TRACE(ValueName(w, i));
            ASSERT_EQ(key.QueryString(ValueName(w, i), buffer, sizeof buffer), Status::Ok);
            EXPECT_EQ(std::string(buffer), ValueData(w, i));
        }
    }
    Key other;
    ASSERT_EQ(other.Open(kDirectoryKey, Access::Read), Status::Ok);
    EXPECT_EQ(other.QueryString("ElmDirectory", buffer, sizeof buffer), Status::Ok);
    EXPECT_EQ(std::string(buffer), "/usr/share/quilan/elm/");
}

}  // namespace
