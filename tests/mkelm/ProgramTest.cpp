// The mkelm program: builds a file from its options and checks files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

int Mkelm(const std::string& arguments) {
    int status =
        std::system((std::string(MKELM_PROGRAM) + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MkelmProgram, BuildsChecksAndBreaksOnRequest) {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("mkelm-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string good = (dir / "good.elm").string();
    std::string bad = (dir / "bad.elm").string();
    ASSERT_EQ(Mkelm("--out " + good +
                    " --size 8192 --version 3.14.15 --version-at 996"
                    " --isdn 'ISDN(EURO,ETSI,S/T)' --isdn-at 1998"),
              0);
    std::ifstream in(good, std::ios::binary);
    std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(file.size(), 8192u);
    EXPECT_EQ(file.find("SYS_VER 3.14.15"), 996u);
    EXPECT_EQ(file.find("ISDN(EURO,ETSI,S/T)"), 1998u);
    EXPECT_EQ(Mkelm("--check " + good), 0);

    for (const char* how : {"checksum", "length", "truncated"}) {
        ASSERT_EQ(Mkelm("--out " + bad + " --break " + how), 0) << how;
        EXPECT_EQ(Mkelm("--check " + bad), 1) << how;
    }
    EXPECT_EQ(Mkelm("--out " + bad + " --size 1001"), 1);
    EXPECT_EQ(Mkelm("--out " + bad + " --break sideways"), 2);
    std::filesystem::remove_all(dir);
}

}  // namespace
