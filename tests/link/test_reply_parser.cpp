// The reply parser's operations as one table of replies and their expected results.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/ReplyParser.h"

namespace {

using namespace CReplyParser;

enum class Op { FinalResult, Match, Token, Version, Region, InfoLine };

constexpr auto kUnchanged = static_cast<_ISDN_VERSIONTYPE>(7);

struct Row {
    const char* name;
    Op op;
    const char* text;
    std::int32_t code;
    // MatchTemplate: the template, the array size, and the result-code text and fields
    // ("|"-joined) expected; ExtractToken: start, delimiters and the token (starts "prev").
    const char* pattern = nullptr;
    int fieldCount = 0;
    const char* resultCode = "";
    const char* fields = "";
    int start = 0;
    const char* delimiters = SETTING_DELIMITERS;
    const char* token = "prev";
    // ParseSoftwareVersion
    int major = 0;
    int minor = 0;
    const char* build = "";
    const char* versionText = "";
    // ParseVersionType
    _ISDN_VERSIONTYPE type = kUnchanged;
    // ParseInfoLine
    std::size_t lineSize = 100;
    const char* line = "";
};

const std::string kLongBuild = "\nV1.2." + std::string(150, 'b') + "\r\n\r\nOK\r\n";
const std::string kBuildThatFits(99, 'b');  // szBuild keeps 99 characters
const std::string kLongVersionText = "1.2." + std::string(150, 'b');

const Row kRows[] = {
    // GetFinalResultCode
    {.name = "final_ok_only", .op = Op::FinalResult, .text = "\nOK\r\n", .code = 0},
    {.name = "final_info_then_ok",
     .op = Op::FinalResult,
     .text = "\nV3.10.05\r\n\r\nOK\r\n",
     .code = 0},
    {.name = "final_ok_lower_case",
     .op = Op::FinalResult,
     .text = "\nfoo\r\n\r\nok\r\n",
     .code = 0},
    {.name = "final_error", .op = Op::FinalResult, .text = "\nERROR\r\n", .code = kResultError},
    {.name = "final_error_mixed_case",
     .op = Op::FinalResult,
     .text = "\nx\r\n\r\nErRoR\r\n",
     .code = kResultError},
    {.name = "final_single_line_feed",
     .op = Op::FinalResult,
     .text = "\nOK\r",
     .code = kResultError},
    {.name = "final_no_line_feed", .op = Op::FinalResult, .text = "OK", .code = kResultError},
    {.name = "final_null", .op = Op::FinalResult, .text = nullptr, .code = kResultError},
    {.name = "final_busy", .op = Op::FinalResult, .text = "\r\nBUSY\r\n", .code = kUnknownResult},
    {.name = "final_last_line_unterminated",
     .op = Op::FinalResult,
     .text = "\nfoo\nOK",
     .code = kUnknownResult},
    {.name = "final_extra_carriage_return",
     .op = Op::FinalResult,
     .text = "\nOK\r\r\n",
     .code = kMismatch},
    // MatchTemplate
    {.name = "match_final_line",
     .op = Op::Match,
     .text = "\nOK\r\n",
     .code = 0,
     .pattern = "\nRC\r\n",
     .fieldCount = 1,
     .resultCode = "OK"},
    {.name = "match_two_fields",
     .op = Op::Match,
     .text = "S0=12,3\r",
     .code = 0,
     .pattern = "s0=%0,%1\r",
     .fieldCount = 2,
     .fields = "12|3"},
    {.name = "match_text_shorter_than_template",
     .op = Op::Match,
     .text = "AT",
     .code = 0,
     .pattern = "ATI3\r"},
    {.name = "match_text_longer_than_template",
     .op = Op::Match,
     .text = "ATI3",
     .code = kMismatch,
     .pattern = "ATI"},
    {.name = "match_character_differs",
     .op = Op::Match,
     .text = "ATX",
     .code = kMismatch,
     .pattern = "ATI"},
    {.name = "match_field_index_too_large",
     .op = Op::Match,
     .text = "S0=1\r",
     .code = kFieldIndex,
     .pattern = "S0=%2\r",
     .fieldCount = 2,
     .fields = "|"},
    {.name = "match_null_text",
     .op = Op::Match,
     .text = nullptr,
     .code = kMissingOrInvalid,
     .pattern = "\nRC\r\n"},
    {.name = "match_null_template", .op = Op::Match, .text = "\nOK\r\n", .code = kMissingOrInvalid},
    {.name = "match_null_fields",
     .op = Op::Match,
     .text = "\nOK\r\n",
     .code = kMissingOrInvalid,
     .pattern = "\nRC\r\n",
     .fieldCount = -1},
    // ExtractToken
    {.name = "token_up_to_delimiter",
     .op = Op::Token,
     .text = "NI-1,5ESS\r",
     .code = 0,
     .token = "NI-1,5ESS"},
    {.name = "token_from_start",
     .op = Op::Token,
     .text = "V3.10\r",
     .code = 0,
     .start = 1,
     .delimiters = VERSION_DELIMITERS,
     .token = "3"},
    {.name = "token_empty_at_delimiter",
     .op = Op::Token,
     .text = ".x",
     .code = 0,
     .delimiters = VERSION_DELIMITERS,
     .token = ""},
    {.name = "token_no_delimiter_follows", .op = Op::Token, .text = "abc", .code = 0},
    {.name = "token_start_past_end", .op = Op::Token, .text = "abc", .code = 0, .start = 10},
    {.name = "token_negative_start",
     .op = Op::Token,
     .text = "abc\r",
     .code = kResultError,
     .start = -1},
    // ParseSoftwareVersion
    {.name = "version_full",
     .op = Op::Version,
     .text = "\nV3.10.05\r\n\r\nOK\r\n",
     .code = 0,
     .major = 3,
     .minor = 10,
     .build = "05",
     .versionText = "3.10.05"},
    {.name = "version_no_build",
     .op = Op::Version,
     .text = "\nV3.10\r\n\r\nOK\r\n",
     .code = 0,
     .major = 3,
     .minor = 10,
     .versionText = "3.10"},
    {.name = "version_no_full_stop",
     .op = Op::Version,
     .text = "\nV3\r\n\r\nOK\r\n",
     .code = kMissingOrInvalid,
     .major = 3,
     .versionText = "3"},
    {.name = "version_lower_case_v",
     .op = Op::Version,
     .text = "\nv3.10\r\n\r\nOK\r\n",
     .code = kMissingOrInvalid},
    {.name = "version_sign_and_no_digits",
     .op = Op::Version,
     .text = "\nV-2.x.1\r\n\r\nOK\r\n",
     .code = 0,
     .major = -2,
     .build = "1",
     .versionText = "-2.x.1"},
    {.name = "version_error_reply", .op = Op::Version, .text = "\nERROR\r\n", .code = kResultError},
    {.name = "version_no_final_result",
     .op = Op::Version,
     .text = "\nV3.10.05\r\n",
     .code = kUnknownResult},
    {.name = "version_long_build_truncated",
     .op = Op::Version,
     .text = kLongBuild.c_str(),
     .code = 0,
     .major = 1,
     .minor = 2,
     .build = kBuildThatFits.c_str(),
     .versionText = kLongVersionText.c_str()},
    // ParseVersionType
    {.name = "region_ni1",
     .op = Op::Region,
     .text = "\nISDN(NI-1, 5ESS)\r\n\r\nOK\r\n",
     .code = 0,
     .type = VERSIONTYPE_NI1},
    {.name = "region_ni1_lower_case",
     .op = Op::Region,
     .text = "\nISDN(ni-1, x)\r\n\r\nOK\r\n",
     .code = 0,
     .type = VERSIONTYPE_NI1},
    {.name = "region_ni1_at_line_end",
     .op = Op::Region,
     .text = "\nISDN(NI-1\r\n\r\nOK\r\n",
     .code = 0,
     .type = VERSIONTYPE_NI1},
    {.name = "region_euro",
     .op = Op::Region,
     .text = "\nISDN(EURO, DSS1)\r\n\r\nOK\r\n",
     .code = 0,
     .type = VERSIONTYPE_EURO},
    {.name = "region_euro_lower_case",
     .op = Op::Region,
     .text = "\nISDN(euro, DSS1)\r\n\r\nOK\r\n",
     .code = kMissingOrInvalid},
    {.name = "region_euro_parenthesis",
     .op = Op::Region,
     .text = "\nISDN(EURO)\r\n\r\nOK\r\n",
     .code = kMissingOrInvalid},
    {.name = "region_marker_lower_case",
     .op = Op::Region,
     .text = "\nisdn(NI-1,\r\n\r\nOK\r\n",
     .code = kMissingOrInvalid},
    {.name = "region_no_marker",
     .op = Op::Region,
     .text = "\nPOTS\r\n\r\nOK\r\n",
     .code = kMissingOrInvalid},
    {.name = "region_error_reply",
     .op = Op::Region,
     .text = "\nISDN(NI-1,\r\n\r\nERROR\r\n",
     .code = kMissingOrInvalid},
    // ParseInfoLine
    {.name = "info_product_line",
     .op = Op::InfoLine,
     .text = "\nCorvane Quilan ISDN Terminal Adapter\r\n\r\nOK\r\n",
     .code = 0,
     .line = "Corvane Quilan ISDN Terminal Adapter"},
    {.name = "info_cut_to_buffer",
     .op = Op::InfoLine,
     .text = "\nCorvane Quilan\r\n\r\nOK\r\n",
     .code = 0,
     .lineSize = 8,
     .line = "Corvane"},
    {.name = "info_bare_ok", .op = Op::InfoLine, .text = "\nOK\r\n", .code = 0, .line = "OK"},
    {.name = "info_error_reply", .op = Op::InfoLine, .text = "\nERROR\r\n", .code = kResultError},
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

class ReplyParserTable : public testing::TestWithParam<Row> {};

TEST_P(ReplyParserTable, Row) {
    const Row& row = GetParam();
    switch (row.op) {
        case Op::FinalResult:
            EXPECT_EQ(GetFinalResultCode(row.text), row.code);
            break;
        case Op::Match: {
            int count = row.fieldCount < 0 ? 1 : row.fieldCount;
            std::vector<std::string> fields(static_cast<std::size_t>(count));
            std::string resultCode;
            EXPECT_EQ(
                MatchTemplate(row.text, row.pattern, row.fieldCount < 0 ? nullptr : fields.data(),
                              count, resultCode),
                row.code);
            EXPECT_EQ(resultCode, row.resultCode);
            std::string joined;
            for (std::size_t i = 0; i < fields.size() && row.fieldCount > 0; ++i) {
                joined += (i ? "|" : "") + fields[i];
            }
            EXPECT_EQ(joined, row.fields);
            break;
        }
        case Op::Token: {
            std::string token = "prev";
            EXPECT_EQ(ExtractToken(row.text, row.start, row.delimiters, token), row.code);
            EXPECT_EQ(token, row.token);
            break;
        }
        case Op::Version: {
            _SoftwareVer version;
            std::memset(&version, 'x', sizeof version);  // every field must be set
            EXPECT_EQ(ParseSoftwareVersion(row.text, version), row.code);
            EXPECT_EQ(version.nMajor, row.major);
            EXPECT_EQ(version.nMinor, row.minor);
            EXPECT_EQ(std::string(version.szBuild), row.build);
            EXPECT_EQ(std::string(version.szVersionText), row.versionText);
            break;
        }
        case Op::Region: {
            _ISDN_VERSIONTYPE type = kUnchanged;
            EXPECT_EQ(ParseVersionType(row.text, type), row.code);
            EXPECT_EQ(type, row.type);
            break;
        }
        case Op::InfoLine: {
            std::vector<char> line(row.lineSize, 'x');
            line[0] = '\0';
            EXPECT_EQ(ParseInfoLine(row.text, line.data(), line.size()), row.code);
            EXPECT_EQ(std::string(line.data()), row.line);
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Replies, ReplyParserTable, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
