// Help files: the text format as a table, and topic lookup in real files.
#include "platform/help/HelpFile.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace help {
inline void PrintTo(Status status, std::ostream* out) {
    *out << "Status " << static_cast<int>(status);
}
}  // namespace help

namespace {

using help::Status;
using help::Topic;

struct Expected {
    std::uint32_t number;
    const char* title;
    const char* text;
};

struct Row {
    const char* what;
    const char* text;
    Status status;
    std::vector<Expected> topics;
};

TEST(ParseHelpText, Table) {
    const Row rows[] = {
        {"topics with a note before them",
         "Quilan help, written for the configuration tool\n"
         "@topic 0x5000 Cards\n"
         "\n"
         "The cards page lists the adapters.\n"
         "\n"
         "Select one and press Properties.\n"
         "\n"
         "@topic 0x5100 Profiles\n"
         "Three profiles.\n",
         Status::Ok,
         {{0x5000, "Cards",
           "The cards page lists the adapters.\n\nSelect one and press Properties."},
          {0x5100, "Profiles", "Three profiles."}}},
        {"carriage returns, decimal number, empty title and text",
         "@topic 20480   Cards page\r\nline one\r\nline two\r\n@topic 0X5400\r\n",
         Status::Ok,
         {{0x5000, "Cards page", "line one\nline two"}, {0x5400, "", ""}}},
        {"only the topic tag itself starts a topic",
         "@topic 1 One\n@topics are not topics\n  @topic 2 indented is text\n",
         Status::Ok,
         {{1, "One", "@topics are not topics\n  @topic 2 indented is text"}}},
        {"no topics", "just a note\n", Status::Ok, {}},
        {"empty file", "", Status::Ok, {}},
        {"topic without number", "@topic\ntext\n", Status::Malformed, {}},
        {"bare hex prefix", "@topic 0x Title\n", Status::Malformed, {}},
        {"trailing letters", "@topic 0x5000x Title\n", Status::Malformed, {}},
        {"negative number", "@topic -1 Title\n", Status::Malformed, {}},
        {"number too large", "@topic 4294967296 Title\n", Status::Malformed, {}},
        {"two blanks before the number", "@topic  0x5000 Title\n", Status::Malformed, {}},
        {"number used twice", "@topic 0x5000 A\n@topic 20480 B\n", Status::Malformed, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<Topic> topics = {Topic{7, "stale", "stale"}};
        ASSERT_EQ(help::ParseHelpText(row.text, topics), row.status);
        if (row.status != Status::Ok) {
            continue;
        }
        ASSERT_EQ(topics.size(), row.topics.size());
        for (std::size_t i = 0; i < topics.size(); ++i) {
            EXPECT_EQ(topics[i].number, row.topics[i].number);
            EXPECT_EQ(topics[i].title, row.topics[i].title);
            EXPECT_EQ(topics[i].text, row.topics[i].text);
        }
    }
}

class FindHelpTopic : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quilan-help-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        Write("QLN_CPL.HLP",
              "@topic 0x5000 Cards\nThe cards page.\n"
              "@topic 0x5400 Advanced\nBACP and billing.\n");
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path Write(const char* name, const std::string& text) {
        std::ofstream(m_dir / name, std::ios::binary) << text;
        return m_dir / name;
    }

    std::filesystem::path m_dir;
};

TEST_F(FindHelpTopic, FindsTheTopicByNumber) {
    Topic topic;
    ASSERT_EQ(help::FindHelpTopic(m_dir / "QLN_CPL.HLP", 0x5400, topic), Status::Ok);
    EXPECT_EQ(topic.number, 0x5400u);
    EXPECT_EQ(topic.title, "Advanced");
    EXPECT_EQ(topic.text, "BACP and billing.");
}

TEST_F(FindHelpTopic, MissingTopicIsReported) {
    Topic topic;
    EXPECT_EQ(help::FindHelpTopic(m_dir / "QLN_CPL.HLP", 0x5300, topic), Status::NoSuchTopic);
    EXPECT_EQ(help::FindHelpTopic(Write("empty.hlp", ""), 0x5000, topic), Status::NoSuchTopic);
}

TEST_F(FindHelpTopic, FileThatCannotBeReadIsReported) {
    std::filesystem::create_directory(m_dir / "dir.hlp");
    struct Case {
        const char* what;
        std::filesystem::path file;
    };
    const Case cases[] = {
        {"absent", m_dir / "absent.hlp"},
        {"a directory", m_dir / "dir.hlp"},
        {"far too large for a help file",
         Write("big.hlp", "@topic 0x5000 Cards\n" + std::string(2 << 20, 'x'))},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        Topic topic;
        EXPECT_EQ(help::FindHelpTopic(row.file, 0x5000, topic), Status::Unreadable);
    }
}

TEST_F(FindHelpTopic, MalformedFileIsReported) {
    Topic topic;
    EXPECT_EQ(
        help::FindHelpTopic(Write("bad.hlp", "@topic 0x5000 A\n@topic five B\n"), 0x5000, topic),
        Status::Malformed);
}

}  // namespace
