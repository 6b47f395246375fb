// The ELM builder: record structure, the two texts at their offsets (also across the 1000-byte
// chunk boundary of the file checks), the break options, the end of an image received by
// XMODEM, and the two standard files of the build.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "link/ReplyParser.h"
#include "tools/mkelm/ElmFile.h"

namespace {

using mkelm::Break;
using mkelm::ElmLayout;

// Walks the records as the file check does, reading the body in chunks of at most 1000 bytes.
bool RecordsSumToZero(const std::string& file, int* records) {
    std::size_t at = 0;
    *records = 0;
    while (at < file.size()) {
        if (file.size() - at < 4)
            return false;
        std::size_t length = (static_cast<std::uint8_t>(file[at + 1]) << 16) |
                             (static_cast<std::uint8_t>(file[at + 2]) << 8) |
                             static_cast<std::uint8_t>(file[at + 3]);
        if (length % 4 != 0)
            return false;
        std::size_t body = length >= 4 ? length - 4 : 0;
        if (file.size() - at - 4 < body)
            return false;
        std::uint8_t sum = 0;
        for (std::size_t i = 0; i < 4 + body; ++i)
            sum = static_cast<std::uint8_t>(sum + file[at + i]);
        if (sum != 0)
            return false;
        at += 4 + body;
        ++*records;
    }
    return true;
}

struct LayoutRow {
    const char* name;
    std::size_t size;
    std::size_t versionAt;
    std::size_t isdnAt;
    std::size_t recordSize;
};

class Layout : public testing::TestWithParam<LayoutRow> {};

TEST_P(Layout, TextsStandWhereAskedInWellFormedRecords) {
    const LayoutRow& row = GetParam();
    ElmLayout layout;
    layout.size = row.size;
    layout.version = "3.11.02";
    layout.versionAt = row.versionAt;
    layout.isdn = "ISDN(NI-1,5ESS,S/T)";
    layout.isdnAt = row.isdnAt;
    layout.recordSize = row.recordSize;
    std::string file = mkelm::BuildElm(layout);

    EXPECT_EQ(file.size(), row.size);
    int records = 0;
    EXPECT_TRUE(RecordsSumToZero(file, &records));
    EXPECT_GE(records, static_cast<int>(row.size / (row.recordSize + 16)));
    EXPECT_TRUE(mkelm::IsWellFormed(file));
    EXPECT_EQ(file.find("SYS_VER "), row.versionAt);
    EXPECT_EQ(file.substr(row.versionAt, 16), std::string("SYS_VER 3.11.02") + '\0');
    EXPECT_EQ(file.find("ISDN("), row.isdnAt);
    mkelm::ElmTexts texts = mkelm::FindTexts(file);
    EXPECT_EQ(texts.version.value_or("?"), "3.11.02");
    EXPECT_EQ(texts.isdn.value_or("?"), "ISDN(NI-1,5ESS,S/T)");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Layout,
    testing::Values(LayoutRow{"Small", 512, 8, 100, 64},
                    LayoutRow{"VersionMarkerAcrossChunks", 4096, 996, 2000, 256},
                    LayoutRow{"VersionTextAcrossChunks", 4096, 990, 3000, 256},
                    LayoutRow{"TypeMarkerAcrossChunks", 4096, 100, 997, 256},
                    LayoutRow{"TypeTextAcrossSecondChunk", 4096, 100, 1995, 256},
                    LayoutRow{"TextOverRecordBounds", 2048, 60, 126, 64},
                    LayoutRow{"Large", 300000, 150000, 299000, 4096},
                    LayoutRow{"TextsAtTheEnd", 1024, 980, 1004, 128}),
    [](const testing::TestParamInfo<LayoutRow>& info) { return info.param.name; });

TEST(Build, RefusesWhatCannotBeBuilt) {
    ElmLayout layout;
    layout.size = 1002;
    EXPECT_THROW(mkelm::BuildElm(layout), std::invalid_argument);  // not a multiple of 4
    layout = ElmLayout{};
    layout.isdnAt = layout.size - 3;
    EXPECT_THROW(mkelm::BuildElm(layout), std::invalid_argument);  // beyond the end
    layout = ElmLayout{};
    layout.isdnAt = layout.versionAt + 4;
    EXPECT_THROW(mkelm::BuildElm(layout), std::invalid_argument);  // overlapping
    layout = ElmLayout{};
    layout.versionAt = 2;
    EXPECT_THROW(mkelm::BuildElm(layout), std::invalid_argument);  // in the first header
}

struct BreakRow {
    const char* name;
    Break how;
};

class Broken : public testing::TestWithParam<BreakRow> {};

TEST_P(Broken, FailsTheStructuralCheckAndOnlyThat) {
    ElmLayout layout;
    layout.breakWith = GetParam().how;
    std::string file = mkelm::BuildElm(layout);
    int records = 0;
    EXPECT_FALSE(RecordsSumToZero(file, &records));
    EXPECT_FALSE(mkelm::IsWellFormed(file));
    EXPECT_FALSE(mkelm::ImageEnd(file).has_value());
    mkelm::ElmTexts texts = mkelm::FindTexts(file);
    EXPECT_EQ(texts.version.value_or("?"), layout.version);  // the texts are still there
    if (GetParam().how == Break::Length) {
        // The first record's bytes still sum to 0: only its length is wrong.
        std::size_t length = (static_cast<std::uint8_t>(file[1]) << 16) |
                             (static_cast<std::uint8_t>(file[2]) << 8) |
                             static_cast<std::uint8_t>(file[3]);
        EXPECT_EQ(length % 4, 2u);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Broken,
                         testing::Values(BreakRow{"Checksum", Break::Checksum},
                                         BreakRow{"Length", Break::Length},
                                         BreakRow{"Truncated", Break::Truncated}),
                         [](const testing::TestParamInfo<BreakRow>& info) {
                             return info.param.name;
                         });

TEST(Check, SingleByteChangesAndEdgeFiles) {
    std::string file = mkelm::BuildElm(ElmLayout{});
    for (std::size_t at : {0u, 5u, 300u, 4095u}) {
        std::string changed = file;
        changed[at] = static_cast<char>(changed[at] + 1);
        EXPECT_FALSE(mkelm::IsWellFormed(changed)) << at;
    }
    EXPECT_TRUE(mkelm::IsWellFormed(""));
    EXPECT_TRUE(mkelm::IsWellFormed(std::string(4, '\0')));  // length 0: the header alone
    EXPECT_FALSE(mkelm::IsWellFormed(std::string("\x00\x00\x00\x06\xFA\x00", 6)));
    EXPECT_FALSE(mkelm::IsWellFormed(file + std::string(2, '\0')));  // a header cut short
}

TEST(ImageEnd, RecordsEndBeforeThePadAndStaleBytesOfTheLastBlock) {
    ElmLayout layout;
    layout.size = 1000;
    layout.recordSize = 64;
    std::string file = mkelm::BuildElm(layout);
    // 8 blocks: the last carries 104 file bytes, the pad and 23 stale bytes of block 7.
    std::string received = file + '\x1A' + file.substr(6 * 128 + 105, 23);
    ASSERT_EQ(received.size(), 1024u);
    EXPECT_EQ(mkelm::ImageEnd(received), 1000u);
    EXPECT_EQ(mkelm::ImageEnd(file), 1000u);  // a file of whole blocks has no pad
    // Without the pad byte the tail is not part of an image.
    std::string noPad = file + 'x' + file.substr(6 * 128 + 105, 23);
    EXPECT_FALSE(mkelm::ImageEnd(noPad).has_value());
    // More than a block after the records is not a pad.
    EXPECT_FALSE(mkelm::ImageEnd(file + '\x1A' + std::string(200, 'x')).has_value());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct StandardRow {
    const char* file;
    _ISDN_VERSIONTYPE type;
};

class Standard : public testing::TestWithParam<StandardRow> {};

// The build's files, read the way the download check reads an ELM file's texts.
TEST_P(Standard, BuildMadeAWellFormedFileOfItsRegion) {
    std::string file = ReadFile(std::string(ELM_DIR) + "/" + GetParam().file);
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(mkelm::IsWellFormed(file));
    mkelm::ElmTexts texts = mkelm::FindTexts(file);
    ASSERT_TRUE(texts.isdn && texts.version);
    std::string typeReply = "\n" + *texts.isdn + "\r\n\r\nOK\r\n";
    _ISDN_VERSIONTYPE type = static_cast<_ISDN_VERSIONTYPE>(7);
    ASSERT_EQ(CReplyParser::ParseVersionType(typeReply.c_str(), type), 0);
    EXPECT_EQ(type, GetParam().type);
    std::string versionReply = "\nV" + *texts.version + "\r\n\r\nOK\r\n";
    _SoftwareVer version{};
    ASSERT_EQ(CReplyParser::ParseSoftwareVersion(versionReply.c_str(), version), 0);
    EXPECT_GT(version.nMinor, 3);  // profile editing needs a minor version above 3
}

INSTANTIATE_TEST_SUITE_P(Files, Standard,
                         testing::Values(StandardRow{"ROM0NA.ELM", VERSIONTYPE_NI1},
                                         StandardRow{"ROM0ROW.ELM", VERSIONTYPE_EURO}),
                         [](const testing::TestParamInfo<StandardRow>& info) {
                             return info.param.type == VERSIONTYPE_NI1 ? "NorthAmerica"
                                                                       : "International";
                         });

}  // namespace
