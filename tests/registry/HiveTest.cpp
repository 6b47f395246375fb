// The text form of the hive: what parses, what does not, and that writing it back is lossless.
#include "platform/registry/Hive.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using namespace std::string_view_literals;
using registry::Hive;

struct BadText {
    const char* what;
    std::string_view text;
};

TEST(HiveParse, RejectsWhatIsNotAnExport) {
    const BadText rows[] = {
        {"empty file", ""},
        {"no header", "[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"1\"\n"},
        {"other header", "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\A]\n"},
        {"header torn", "REGED"},
        {"value before any key", "REGEDIT4\n\"v\"=\"1\"\n"},
        {"key line torn", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Cor"},
        {"value torn in its data", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"Profile0\"=\"Off"},
        {"value torn after the name", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"Profile0\""},
        {"value torn inside an escape", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"C:\\"},
        {"another hive", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n"},
        {"the hive itself", "REGEDIT4\n[HKEY_LOCAL_MACHINE]\n"},
        {"empty key path", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\]\n"},
        {"empty path component", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\\\B]\n"},
        {"number value", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=dword:00000001\n"},
        {"default value", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n@=\"x\"\n"},
        {"unknown escape", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"a\\nb\"\n"},
        {"text after the data", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"1\"x\n"},
        // Found by fuzzing: such values parsed, and were dropped by the next write.
        {"zeros inside the data", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"Off\0\0ce\"\n"sv},
        {"zeros inside the name", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\0\"=\"Office\"\n"sv},
        {"carriage return inside the data", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"a\rb\"\n"},
        {"stray line", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\ngarbage\n"},
    };
    for (const BadText& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_FALSE(Hive::Parse(row.text).has_value());
    }
}

TEST(HiveParse, ReadsKeysAndValues) {
    std::optional<Hive> hive = Hive::Parse(
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory]\r\n"
        "\"ElmDirectory\"=\"C:\\\\elm\\\\\"\r\n"
        "\"Said\"=\"\\\"hi\\\"\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n"
        "\"Twice\"=\"first\"\n"
        "[hkey_local_machine\\software\\corvane\\quilan isdn t/a \\directory]\n"
        "\"Twice\"=\"again\"\n"
        "\"twice\"=\"last\"\n");
    ASSERT_TRUE(hive.has_value());
    const char* dir = "SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory";
    ASSERT_NE(hive->FindValue(dir, "ElmDirectory"), nullptr);
    EXPECT_EQ(*hive->FindValue(dir, "ElmDirectory"), "C:\\elm\\");
    EXPECT_EQ(*hive->FindValue(dir, "said"), "\"hi\"");
    // The repeated key merged into the first; the repeated value replaced the earlier one.
    ASSERT_NE(hive->FindValue(dir, "TWICE"), nullptr);
    EXPECT_EQ(*hive->FindValue(dir, "TWICE"), "last");
    EXPECT_NE(hive->FindValue("SOFTWARE\\Other", "Twice"), nullptr);
    // Parents exist without sections of their own; the blank is part of the name.
    EXPECT_TRUE(hive->HasKey("SOFTWARE\\Corvane"));
    EXPECT_TRUE(hive->HasKey("software"));
    EXPECT_FALSE(hive->HasKey("SOFTWARE\\Corvane\\Quilan ISDN T/A\\Directory"));
    EXPECT_FALSE(hive->HasKey("SOFTWARE\\Corv"));
    EXPECT_FALSE(hive->HasKey("SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory\\Sub"));
}

TEST(HiveFormat, WritesEscapedTextThatParsesBack) {
    const char* values[] = {
        "",   "plain", "C:\\dir\\", "\\\\server\\share",       "say \"hi\"", "\"",
        "\\", "\\\"",  "a=b",       "[HKEY_LOCAL_MACHINE\\X]", "  blanks  ", "tab\there"};
    Hive hive;
    ASSERT_EQ(hive.CreateKey("SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames"),
              registry::Status::Ok);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        ASSERT_EQ(hive.SetValue("SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames",
                                "v" + std::to_string(i), values[i]),
                  registry::Status::Ok);
    }
    std::string text = hive.Format();
    EXPECT_NE(text.find("\"v2\"=\"C:\\\\dir\\\\\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"v4\"=\"say \\\"hi\\\"\"\n"), std::string::npos) << text;
    std::optional<Hive> back = Hive::Parse(text);
    ASSERT_TRUE(back.has_value()) << text;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        SCOPED_TRACE(values[i]);
        const std::string* data = back->FindValue(
            "SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames", "v" + std::to_string(i));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(*data, values[i]);
    }
}

}  // namespace
