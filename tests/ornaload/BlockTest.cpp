// XMODEM blocks, the loader prompt, the time estimate and the animation pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ornaload/AnimationPictures.h"
#include "ornaload/LoaderPrompt.h"
#include "ornaload/Resources.h"
#include "ornaload/TimeRemaining.h"
#include "ornaload/XmodemBlock.h"

namespace {

namespace xmodem = ornaload::xmodem;

TEST(XmodemBlockTest, CrcAndChecksumFollowTheStandardVariants) {
    const char* check = "123456789";
    auto* bytes = reinterpret_cast<const unsigned char*>(check);
    EXPECT_EQ(xmodem::Crc16(bytes, 9), 0x31C3);  // CRC-16/XMODEM check value
    EXPECT_EQ(xmodem::Checksum(bytes, 9),
              (0x31 + 0x32 + 0x33 + 0x34 + 0x35 + 0x36 + 0x37 + 0x38 + 0x39) & 0xFF);
    unsigned char zeros[128] = {};
    EXPECT_EQ(xmodem::Crc16(zeros, 128), 0);
}

TEST(XmodemBlockTest, SealedBlocksCarryNumberComplementAndCheckByMode) {
    xmodem::Block block{};
    for (std::size_t i = 0; i < xmodem::kDataSize; ++i) {
        block[xmodem::kDataOffset + i] = static_cast<unsigned char>(i * 7);
    }
    const unsigned char* data = block.data() + xmodem::kDataOffset;
    EXPECT_EQ(xmodem::SealBlock(block, 0, true), 133u);
    EXPECT_EQ(block[0], xmodem::SOH);
    EXPECT_EQ(block[1], 0);
    EXPECT_EQ(block[2], 0xFF);
    std::uint16_t crc = xmodem::Crc16(data, 128);
    EXPECT_EQ(block[131], crc >> 8);
    EXPECT_EQ(block[132], crc & 0xFF);

    EXPECT_EQ(xmodem::SealBlock(block, 200, false), 132u);
    EXPECT_EQ(block[1], 200);
    EXPECT_EQ(block[2], 55);
    EXPECT_EQ(block[131], xmodem::Checksum(data, 128));
}

TEST(XmodemBlockTest, AbortDataIsTheFixedText) {
    xmodem::Block block{};
    xmodem::FillAbortData(block);
    std::string group;
    for (int i = 0; i < 7; ++i) {
        group += "ABORTED";
    }
    group += "\t\t\t\t\t\t\t\t\t ";
    std::string expected = group + group + "ABORTEDABO";
    ASSERT_EQ(expected.size(), 128u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data()) + 3, 128), expected);
}

TEST(LoaderPromptTest, SeenWholeOrSplitOverTwoDeliveries) {
    struct Case {
        std::vector<const char*> deliveries;
        std::vector<bool> seen;
    };
    const std::vector<Case> cases = {
        {{"\r\nQuilan ISDN T/A loader\r\n>>"}, {true}},
        {{"\r\n>", ">"}, {false, true}},
        {{"\r\n>", "x>"}, {false, false}},              // the half must start the next delivery
        {{"\r\n>", "abc", ">"}, {false, false, true}},  // kept over a delivery without ">"
        {{"a>b", ">"}, {false, false}},
        {{">>", ">"}, {true, false}},  // seen clears the half
        {{""}, {false}},
    };
    for (const Case& c : cases) {
        bool bHalf = false;
        for (std::size_t i = 0; i < c.deliveries.size(); ++i) {
            EXPECT_EQ(ornaload::IsLoaderPromptSeen(c.deliveries[i], bHalf), c.seen[i])
                << c.deliveries[0] << " delivery " << i;
        }
    }
}

TEST(TimeRemainingTest, EstimatesFromTheLastInterval) {
    // 13300 bytes are 100 units; 6650 sent 10 s after the start leave 50 units: 10 s.
    EXPECT_EQ(ornaload::RemainingUnits(13300, 0), 100u);
    EXPECT_EQ(ornaload::RemainingUnits(13300, 6650), 50u);
    EXPECT_EQ(ornaload::EstimateRemainingMs(10000, 100, 50), 10000u);
    // Integer division before the multiplication.
    EXPECT_EQ(ornaload::EstimateRemainingMs(1000, 10, 3), 426u);  // not 3000 / 7 = 428
    // No unit completed: no estimate at all, rather than a division by zero.
    EXPECT_EQ(ornaload::EstimateRemainingMs(2500, 40, 40), std::nullopt);
}

TEST(TimeRemainingTest, TimeLineNamesMinutesOnlyAboveOneMinute) {
    const ui::Module& module = ornaload::ThisModule();
    EXPECT_EQ(ornaload::TimeLine(module, 10, 6650), "Est. time remaining: 10 secs (6.5 KB copied)");
    EXPECT_EQ(ornaload::TimeLine(module, 60, 1024), "Est. time remaining: 60 secs (1.0 KB copied)");
    EXPECT_EQ(ornaload::TimeLine(module, 61, 2048),
              "Est. time remaining: 1 min 1 secs (2.0 KB copied)");
    EXPECT_EQ(ornaload::TimeLine(module, 0, 0), "Est. time remaining: 0 secs (0.0 KB copied)");
}

// Where the sheet "[=]" is drawn in a picture: row and column.
std::pair<int, int> SheetAt(const ui::Image& image) {
    for (std::size_t row = 0; row < image.rows.size(); ++row) {
        if (std::size_t column = image.rows[row].find("[=]"); column != std::string::npos) {
            return {static_cast<int>(row), static_cast<int>(column)};
        }
    }
    return {-1, -1};
}

TEST(AnimationTest, EveryFrameIsRegisteredAndTheSheetFliesFromFolderToCard) {
    const ui::Module& module = ornaload::ThisModule();
    std::set<std::uint32_t> bitmaps(ornaload::kFrameBitmaps.begin(), ornaload::kFrameBitmaps.end());
    EXPECT_EQ(bitmaps.size(), 22u);
    for (std::uint32_t bitmap : bitmaps) {
        const ui::Image* picture = module.Picture(bitmap);
        ASSERT_NE(picture, nullptr) << bitmap;
        EXPECT_EQ(picture->width, 272);
        EXPECT_EQ(picture->height, 60);
    }
    // In the folder at the start, landed on the card at the end, higher in between, and always
    // moving right.
    auto [startRow, startColumn] = SheetAt(*module.Picture(158));
    auto [endRow, endColumn] = SheetAt(*module.Picture(151));
    EXPECT_LT(startColumn, 6);
    EXPECT_GT(endColumn, 35);
    EXPECT_EQ(startRow, endRow);
    int previous = -1;
    for (int index = 1; index <= 22; ++index) {
        auto [row, column] = SheetAt(*module.Picture(ornaload::FrameBitmap(index)));
        EXPECT_GT(column, previous) << index;
        previous = column;
    }
    EXPECT_LT(SheetAt(*module.Picture(ornaload::FrameBitmap(11))).first, startRow);
}

}  // namespace
