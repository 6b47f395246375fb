// Keys of a real hive file under a root of the test's own.
#include "platform/registry/Key.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "TempRoot.h"

namespace {

using registry::Access;
using registry::Key;
using registry::Status;

class KeyTest : public TempRoot {
  protected:
    void SetUp() override {
        TempRoot::SetUp();
        WriteHive(kInstalledHive);
    }

    std::string Query(const char* path, const char* name) {
        Key key;
        EXPECT_EQ(key.Open(path, Access::Read), Status::Ok);
        char buffer[260] = {};
        EXPECT_EQ(key.QueryString(name, buffer, sizeof buffer), Status::Ok) << name;
        return buffer;
    }
};

TEST_F(KeyTest, KeyNamesKeepTheirBlanks) {
    EXPECT_EQ(Query(kDirectoryKey, "HelpDirectory"), "/usr/share/quilan/help/");
    Key key;
    EXPECT_EQ(key.Open("SOFTWARE\\Corvane\\Quilan ISDN T/A\\Directory", Access::Read),
              Status::NotFound);
    EXPECT_EQ(key.Open("SOFTWARE\\Corvane\\Quilan ISDN T/A  \\Directory", Access::Read),
              Status::NotFound);
}

TEST_F(KeyTest, AbsentKeyIsNotCreated) {
    const std::string before = ReadHive();
    Key key;
    EXPECT_EQ(key.Open("SOFTWARE\\Corvane\\Quilan ISDN T/A \\Missing", Access::Write),
              Status::NotFound);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.SetString("Profile0", "x"), Status::NotOpen);
    EXPECT_EQ(ReadHive(), before);
}

TEST_F(KeyTest, AbsentHiveFileHoldsNoKeysAndIsNotCreated) {
    std::filesystem::remove(HiveFile());
    Key key;
    EXPECT_EQ(key.Open(kProfileNamesKey, Access::Write), Status::NotFound);
    EXPECT_FALSE(std::filesystem::exists(HiveFile()));
}

TEST_F(KeyTest, MissingValueIsNotFound) {
    Key key;
    ASSERT_EQ(key.Open(kProfileNamesKey, Access::Read), Status::Ok);
    char buffer[260];
    EXPECT_EQ(key.QueryString("Profile1", buffer, sizeof buffer), Status::NotFound);
}

TEST_F(KeyTest, ValueMustFitWithItsTerminatingZero) {
    struct Row {
        std::size_t valueLength;
        std::size_t capacity;
        Status expected;
    };
    const Row rows[] = {
        {259, 260, Status::Ok}, {260, 260, Status::MoreData}, {300, 260, Status::MoreData},
        {0, 1, Status::Ok},     {1, 1, Status::MoreData},     {0, 0, Status::MoreData},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("length " + std::to_string(row.valueLength) + ", capacity " +
                     std::to_string(row.capacity));
        const std::string value(row.valueLength, 'n');
        Key writer;
        ASSERT_EQ(writer.Open(kProfileNamesKey, Access::Write), Status::Ok);
        ASSERT_EQ(writer.SetString("Profile2", value), Status::Ok);

        char buffer[400];
        std::memset(buffer, '#', sizeof buffer);
        std::size_t length = 12345;
        Key reader;
        ASSERT_EQ(reader.Open(kProfileNamesKey, Access::Read), Status::Ok);
        EXPECT_EQ(reader.QueryString("Profile2", buffer, row.capacity, &length), row.expected);
        EXPECT_EQ(length, row.valueLength);
        if (row.expected == Status::Ok) {
            EXPECT_EQ(std::string(buffer), value);
        } else {
            EXPECT_EQ(buffer[0], '#') << "the buffer is left untouched";
        }
    }
}

TEST_F(KeyTest, WrittenValuesReadBackAndKeepTheRest) {
    const char* names[] = {"C:\\dir\\", "\\\\server\\share", "say \"hi\"", "\\\"", "", "a=b"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        Key key;
        ASSERT_EQ(key.Open(kProfileNamesKey, Access::Write), Status::Ok);
        ASSERT_EQ(key.SetString("Profile1", name), Status::Ok);
        key.Close();
        EXPECT_EQ(Query(kProfileNamesKey, "Profile1"), name);
    }
    // Replacing keeps one value under the name, whatever the letter case used.
    Key key;
    ASSERT_EQ(key.Open(kProfileNamesKey, Access::Write), Status::Ok);
    ASSERT_EQ(key.SetString("PROFILE0", "Home"), Status::Ok);
    EXPECT_EQ(Query(kProfileNamesKey, "Profile0"), "Home");
    const std::string text = ReadHive();
    EXPECT_EQ(text.find("PROFILE0"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Profile1\"=\"a=b\"\n"), std::string::npos) << text;
    EXPECT_EQ(Query(kDirectoryKey, "ElmDirectory"), "/usr/share/quilan/elm/");
    EXPECT_EQ(Query(kDirectoryKey, "HelpDirectory"), "/usr/share/quilan/help/");
}

TEST_F(KeyTest, ReadOnlyKeyRefusesWrites) {
    const std::string before = ReadHive();
    Key key;
    ASSERT_EQ(key.Open(kProfileNamesKey, Access::Read), Status::Ok);
    EXPECT_EQ(key.SetString("Profile0", "Home"), Status::AccessDenied);
    EXPECT_EQ(ReadHive(), before);
}

TEST_F(KeyTest, TextThatWouldBreakTheFileIsRefused) {
    const std::string before = ReadHive();
    Key key;
    ASSERT_EQ(key.Open(kProfileNamesKey, Access::Write), Status::Ok);
    // A line break would let a profile name add a key of its own to the hive.
    EXPECT_EQ(key.SetString("Profile0", "x\"\n[HKEY_LOCAL_MACHINE\\Injected]"),
              Status::InvalidData);
    EXPECT_EQ(key.SetString("Profile0", "x\ry"), Status::InvalidData);
    EXPECT_EQ(key.SetString("Profile0", std::string_view("x\0y", 3)), Status::InvalidData);
    EXPECT_EQ(key.SetString("Pro\nfile0", "x"), Status::InvalidData);
    EXPECT_EQ(ReadHive(), before);
}

TEST_F(KeyTest, WriteKeepsTheFileModeAndLeavesNoTemporaryFile) {
    ASSERT_EQ(::chmod(HiveFile().c_str(), 0640), 0);
    Key key;
    ASSERT_EQ(key.Open(kProfileNamesKey, Access::Write), Status::Ok);
    ASSERT_EQ(key.SetString("Profile0", "Home"), Status::Ok);
    EXPECT_EQ(std::filesystem::status(HiveFile()).permissions(), std::filesystem::perms(0640));
    for (const auto& entry : std::filesystem::directory_iterator(m_root)) {
        std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "registry.reg" || name == "registry.reg.lock") << name;
    }
}

TEST_F(KeyTest, UnparsableFileIsUnreadableAndNeverRewritten) {
    const char* files[] = {
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames]\n"
        "\"Profile0\"=\"Off",
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\Prof",
        "",
        "\x7f"
        "ELF binary garbage\n",
    };
    for (const char* file : files) {
        SCOPED_TRACE(file);
        WriteHive(file);
        Key key;
        EXPECT_EQ(key.Open(kProfileNamesKey, Access::Read), Status::Unreadable);
        EXPECT_EQ(key.Open(kProfileNamesKey, Access::Write), Status::Unreadable);
        EXPECT_EQ(Key::Create(kProfileNamesKey), Status::Unreadable);
        EXPECT_EQ(ReadHive(), file);
    }
}

TEST_F(KeyTest, FileTornAfterOpenIsUnreadableAndNeverRewritten) {
    Key key;
    ASSERT_EQ(key.Open(kProfileNamesKey, Access::Write), Status::Ok);
    const std::string torn = std::string(kInstalledHive).substr(0, std::strlen(kInstalledHive) - 5);
    WriteHive(torn);
    char buffer[260];
    EXPECT_EQ(key.QueryString("Profile0", buffer, sizeof buffer), Status::Unreadable);
    EXPECT_EQ(key.SetString("Profile1", "Home"), Status::Unreadable);
    EXPECT_EQ(ReadHive(), torn);
}

TEST_F(KeyTest, InstallationCreatesKeys) {
    std::filesystem::remove(HiveFile());
    const char* sub = "SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory";
    ASSERT_EQ(Key::Create(sub), Status::Ok);
    Key key;
    ASSERT_EQ(key.Open(sub, Access::Write), Status::Ok);
    ASSERT_EQ(key.SetString("HelpDirectory", "/opt/help/"), Status::Ok);
    // Creating an existing key keeps its values; its parents exist with it.
    ASSERT_EQ(Key::Create(sub), Status::Ok);
    EXPECT_EQ(Query(sub, "HelpDirectory"), "/opt/help/");
    Key parent;
    EXPECT_EQ(parent.Open("SOFTWARE\\Corvane", Access::Read), Status::Ok);
    EXPECT_EQ(Key::Create(""), Status::InvalidData);
}

}  // namespace
