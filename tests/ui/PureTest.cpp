#include <gtest/gtest.h>

#include "platform/ui/DataExchange.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Format.h"
#include "platform/ui/Geometry.h"

namespace {

TEST(DialogUnitsToCells, RoundsEdgesToTheNearestCell) {
    struct Row {
        ui::Rect rect;
        ui::CellRect cells;
    };
    const Row rows[] = {
        {{0, 0, 4, 8}, {0, 0, 1, 1}},        // exactly one cell
        {{4, 8, 40, 12}, {1, 1, 10, 2}},     // bottom edge 2.5 rows rounds up
        {{0, 0, 235, 191}, {0, 0, 59, 24}},  // a whole page
        {{2, 4, 2, 4}, {1, 1, 1, 1}},        // halves round up; never empty
        {{1, 3, 1, 1}, {0, 0, 1, 1}},        // below half rounds down; never empty
        {{10, 10, 1, 1}, {3, 1, 1, 1}},
        {{-6, -5, 12, 16}, {-1, -1, 3, 2}},  // negative places (off the parent's edge)
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "rect " << row.rect.x << "," << row.rect.y << " "
                                        << row.rect.cx << "x" << row.rect.cy);
        ui::CellRect cells = ui::DialogUnitsToCells(row.rect);
        EXPECT_EQ(cells.column, row.cells.column);
        EXPECT_EQ(cells.row, row.cells.row);
        EXPECT_EQ(cells.columns, row.cells.columns);
        EXPECT_EQ(cells.rows, row.cells.rows);
    }
}

TEST(FormatMessage, NumberedInserts) {
    struct Row {
        const char* pattern;
        std::vector<std::string> inserts;
        const char* expected;
    };
    const Row rows[] = {
        {"Firmware : %1!s! ( Version %2!s! ).", {"NA", "4.12"}, "Firmware : NA ( Version 4.12 )."},
        {"Card : %1!s! ( Version %2!s!) \n  ELM : %3!s! ( Version %4!s!)",
         {"A", "1", "B", "2"},
         "Card : A ( Version 1) \n  ELM : B ( Version 2)"},
        {"%2 before %1", {"a", "b"}, "b before a"},
        {"%1%1", {"x"}, "xx"},
        {"100%% sure%n", {}, "100% sure\n"},
        {"%3!s! has no insert", {"a"}, "%3!s! has no insert"},
        {"between %1 and %2.", {"0", "65535"}, "between 0 and 65535."},
        {"trailing %", {}, "trailing %"},
        {"%0 and %x stay", {"a"}, "%0 and %x stay"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(ui::FormatMessage(row.pattern, row.inserts), row.expected);
    }
}

TEST(ParseUnsigned, AcceptsOnlyAnUnsignedDecimalNumberWithBlanksAround) {
    struct Row {
        const char* text;
        bool bNumber;
        unsigned value;
    };
    const Row rows[] = {
        {"0", true, 0},
        {" 42 ", true, 42},
        {"65535", true, 65535},
        {"65536", true, 65536},
        {"4294967295", true, 4294967295u},
        {"4294967296", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"-1", false, 0},
        {"+5", false, 0},
        {"12a", false, 0},
        {"1 2", false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("\"") + row.text + "\"");
        unsigned value = 99;
        EXPECT_EQ(ui::ParseUnsigned(row.text, &value), row.bNumber);
        if (row.bNumber) {
            EXPECT_EQ(value, row.value);
        }
    }
}

TEST(ParseFileFilter, PairsOfDescriptionAndPattern) {
    auto filters = ui::ParseFileFilter("ELM Files (*.elm) | *.elm ||");
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].description, "ELM Files (*.elm)");
    EXPECT_EQ(filters[0].pattern, "*.elm");
    filters = ui::ParseFileFilter("A|*.a|B|*.b;*.c||");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[1].pattern, "*.b;*.c");
    EXPECT_TRUE(ui::ParseFileFilter("").empty());
}

}  // namespace
