// The file dialog of a download: the checks of Download in their order, the comparison with the
// card's firmware and its four outcomes, Browse, and Cancel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XferFixture.h"
#include "platform/ui/WaitCursor.h"

namespace {

constexpr char kNoFile[] = "ERR0021 : Error occured since no file was specified to download.";
constexpr char kBadVersion[] =
    "ERR0022 : Error occurred reading the version information from the ELM file. Proceed?";
constexpr char kBadType[] =
    "ERR0023 : Error occurred reading the firmware type of the ELM file. Proceed?";

std::string Same(const std::string& region, const std::string& version) {
    return "WARN0004 : The firmware to  be downloaded is the same as the firmware on the card. "
           "\n  Firmware : " +
           region + " ( Version " + version + " ). \n  Proceed?";
}

std::string Other(const std::string& cardRegion, const std::string& cardVersion,
                  const std::string& fileRegion, const std::string& fileVersion) {
    return "WARN0005 : The firmware to be downloaded is different from the firmware on the "
           "card. \n  Card : " +
           cardRegion + " ( Version " + cardVersion + ") \n  ELM : " + fileRegion + " ( Version " +
           fileVersion + ") \n  Proceed?";
}

constexpr char kNA[] = "North America";
constexpr char kIntl[] = "International ( Excl. North America )";

struct CompareCase {
    const char* name;
    std::string version;
    std::string isdn;
    _ISDN_VERSIONTYPE cardType;
    std::vector<std::string> boxes;  // every box answered Yes
};

void PrintTo(const CompareCase& c, std::ostream* out) {
    *out << c.name;
}

class CompareTest : public XferTest, public ::testing::WithParamInterface<CompareCase> {};

// On No to the last question the dialog stays open; on Yes the download runs.
TEST_P(CompareTest, AsksWithTheTextThatFitsAndStaysOpenOnNo) {
    const CompareCase& c = GetParam();
    tasim::Adapter& card = Card();
    std::string file = Elm("NEW.ELM", Firmware(c.version, c.isdn));
    {
        ui::HeadlessUser user;
        user.Click(ui::kIdOk);
        for (std::size_t i = 0; i + 1 < c.boxes.size(); ++i) {
            user.Answer(ui::kIdYes);
        }
        user.Answer(ui::kIdNo)
            .Then([&user] {
                EXPECT_EQ(user.Title(), "Download");
                EXPECT_EQ(user.FocusId(), kIdFileName);
            })
            .Click(ui::kIdCancel);
        XferOutcome outcome = WithDialog(file, "3.10.05", c.cardType);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.result, kUntouched);
        EXPECT_EQ(Boxes(user), c.boxes);
        EXPECT_EQ(user.Problems(), std::vector<std::string>{});
    }
    EXPECT_EQ(card.Received(), "");
    ui::HeadlessUser user;
    user.Click(ui::kIdOk);
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
        user.Answer(ui::kIdYes);
    }
    XferOutcome outcome = WithDialog(file, "3.10.05", c.cardType);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.result, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, CompareTest,
    ::testing::Values(
        CompareCase{"Same", "3.10.05", "ISDN(NI-1,5ESS)", VERSIONTYPE_NI1, {Same(kNA, "3.10.05")}},
        CompareCase{"SameOnInternational",
                    "3.10.05",
                    "ISDN(EURO,ETSI)",
                    VERSIONTYPE_EURO,
                    {Same(kIntl, "3.10.05")}},
        CompareCase{"OtherVersion",
                    "3.11.02",
                    "ISDN(NI-1,5ESS)",
                    VERSIONTYPE_NI1,
                    {Other(kNA, "3.10.05", kNA, "3.11.02")}},
        CompareCase{"OtherRegion",
                    "3.10.05",
                    "ISDN(EURO,ETSI)",
                    VERSIONTYPE_NI1,
                    {Other(kNA, "3.10.05", kIntl, "3.10.05")}},
        CompareCase{"OtherLetterCase",
                    "3.10.05A",
                    "ISDN(NI-1,5ESS)",
                    VERSIONTYPE_NI1,
                    {Other(kNA, "3.10.05", kNA, "3.10.05A")}},
        // A text that cannot be read names itself; the region never read is said so.
        CompareCase{"TypeUnreadable",
                    "3.10.05",
                    "ISDN(NI-1)",
                    VERSIONTYPE_NI1,
                    {kBadType, Other(kNA, "3.10.05", "unknown", "3.10.05")}},
        // The version parser keeps the text it read before it found no full stop.
        CompareCase{"VersionUnreadable",
                    "X",
                    "ISDN(NI-1,5ESS)",
                    VERSIONTYPE_NI1,
                    {kBadVersion, Other(kNA, "3.10.05", kNA, "X")}}),
    [](const ::testing::TestParamInfo<CompareCase>& info) { return info.param.name; });

TEST_F(XferTest, NoToAnUnreadableTypeEndsTheCheckAtOnce) {
    Card();
    std::string file = Elm("NEW.ELM", Firmware("X", "ISDN(NI-1)"));
    ui::HeadlessUser user;
    user.Click(ui::kIdOk).Answer(ui::kIdNo).Click(ui::kIdCancel);
    EXPECT_EQ(WithDialog(file).result, kUntouched);
    EXPECT_EQ(Boxes(user), std::vector<std::string>{kBadType});
}

TEST_F(XferTest, DownloadChecksInOrderAndKeepsTheDialogOpen) {
    tasim::Adapter& card = Card();
    std::string broken = Elm("BAD.ELM", {.breakWith = mkelm::Break::Truncated});
    std::string textless = Write("EMPTY.ELM", "");
    ui::HeadlessUser user;
    user.Type(kIdFileName, "")
        .Click(ui::kIdOk)
        .Type(kIdFileName, (ElmFolder() / "MISSING.ELM").string())
        .Click(ui::kIdOk)
        .Type(kIdFileName, broken)
        .Click(ui::kIdOk)
        .Type(kIdFileName, textless)
        .Click(ui::kIdOk)
        .Then([&user] {
            EXPECT_EQ(user.Title(), "Download");
            EXPECT_EQ(user.FocusId(), kIdFileName);
        })
        .Click(ui::kIdCancel);
    XferOutcome outcome = WithDialog("*.elm");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.result, kUntouched);
    // An empty file has no records to refuse and no texts: refused without a word.
    EXPECT_EQ(Boxes(user), (std::vector<std::string>{kNoFile, kOpenFailed, kInvalidFile}));
    EXPECT_EQ(card.Received(), "");
}

TEST_F(XferTest, TheInitialNameStandsInTheEdit) {
    Card();
    ui::HeadlessUser user;
    user.Then([&user] { EXPECT_EQ(user.Text(kIdFileName), "/x/ROM0NA.ELM"); }).Click(ui::kIdCancel);
    EXPECT_EQ(WithDialog("/x/ROM0NA.ELM").status, 0);
}

TEST_F(XferTest, BrowseStartsInTheElmDirectoryAndFillsTheEdit) {
    tasim::Adapter& card = Card();
    std::string file = Elm("NEW.ELM", Firmware("3.11.02", "ISDN(NI-1,5ESS)"));
    ui::HeadlessUser user;
    user.Click(kIdBrowse)
        .ChooseFile(file)
        .Then([&user, &file] {
            EXPECT_EQ(user.Text(kIdFileName), file);
            EXPECT_EQ(user.FocusId(), ui::kIdOk);
        })
        .Click(ui::kIdOk)
        .Answer(ui::kIdYes);
    XferOutcome outcome = WithDialog("");
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(card.Version(), "3.11.02");
    ASSERT_EQ(user.FileDialogs().size(), 1u);
    const ui::OpenFileRequest& request = user.FileDialogs()[0];
    EXPECT_EQ(request.initialDirectory, ElmFolder().string() + "/");
    EXPECT_EQ(request.defaultExtension, "ELM");
    EXPECT_EQ(request.initialName, "*.elm");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].description, "ELM Files (*.elm)");
    EXPECT_EQ(request.filters[0].pattern, "*.elm");
    EXPECT_TRUE(request.bFileMustExist && request.bPathMustExist && request.bHideReadOnly);
}

TEST(XferBrowseTest, WithoutElmDirectoryBrowseStartsInTheCurrentDirectory) {
    CAppletRoot root({"\"HelpDirectory\"=\"/nowhere/\""});
    ui::HeadlessUser user;
    user.Click(kIdBrowse).CancelFileDialog().Click(ui::kIdCancel);
    _SoftwareVer version{};
    CFileTransferIF xfer;
    std::int32_t result = kUntouched;
    ASSERT_EQ(xfer.InitializeXfer(nullptr), 0);
    EXPECT_EQ(xfer.StartXfer("COM2", version, VERSIONTYPE_NI1, "", result), 0);
    xfer.TerminateXfer();
    EXPECT_EQ(result, kUntouched);
    ASSERT_EQ(user.FileDialogs().size(), 1u);
    EXPECT_EQ(user.FileDialogs()[0].initialDirectory, "");
}

TEST_F(XferTest, PreparationFailureAfterTheChecksIsReportedAsNotStarted) {
    std::string file = Elm("NEW.ELM", Firmware("3.11.02", "ISDN(NI-1,5ESS)"));
    ui::HeadlessUser user;  // no card on COM2
    user.Click(ui::kIdOk).Answer(ui::kIdYes);
    XferOutcome outcome = WithDialog(file);
    EXPECT_EQ(outcome.status, CFileTransferIF::kNotStarted);
    EXPECT_EQ(outcome.result, kUntouched);
    EXPECT_FALSE(ui::IsWaitCursorShown());
}

}  // namespace
