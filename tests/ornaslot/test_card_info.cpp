// Identifying an adapter on a port and reading its version and region, against emulated
// adapters on real pseudo-terminals.
#include <gtest/gtest.h>

#include <cstring>

#include "Adapters.h"
#include "CardInfo.h"
#include "CardList.h"

namespace {

struct IdentRow {
    const char* line;
    std::int32_t expected;
};

TEST(CardInfoTest, IdentificationByCompanyAndProductName) {
    const IdentRow rows[] = {
        {"Corvane Quilan ISDN Terminal Adapter", 0},
        {"CORVANE Quilan ISDN Terminal Adapter", 0},
        {"corvane GmbH Quilan ISDN Terminal Adpater", 0},  // the shipped spelling
        {"Corvane quilan isdn terminal adapter", 2003},    // the product name counts its case
        {"Corvane Quilan ISDN Terminal Adapter 2", 2003},  // not at the end
        {"Quilan ISDN Terminal Adapter", 2003},            // no company
        {"Corvane", 2003},                                 // shorter than the product name
        {"Hayes Smartmodem Optima 288", 2003},             // another make
    };
    for (const IdentRow& row : rows) {
        SCOPED_TRACE(row.line);
        CTestRoot root;
        tasim::Config config;
        config.ident = row.line;
        auto adapter = StartAdapter(root, "COM3", config);
        CCardInfo card;
        EXPECT_EQ(card.OpenConnection("COM3"), row.expected);
        EXPECT_EQ(card.CloseConnection(), 0);
        EXPECT_TRUE(Received(*adapter, "ATI8\r"));
    }
}

TEST(CardInfoTest, PortsThatGiveNoAdapter) {
    struct Row {
        const char* name;
        bool error;  // "ERROR" to ATI8
        bool mute;   // no answer at all
        std::int32_t expected;
    };
    for (const Row& row : {Row{"ERROR to the identification", true, false, 2003},
                           Row{"nothing answers", false, true, 2003}}) {
        SCOPED_TRACE(row.name);
        CTestRoot root;
        tasim::Config config;
        config.faults.mute = row.mute;
        if (row.error) {
            config.faults.error.text = "ATI8";
        }
        auto adapter = StartAdapter(root, "COM3", config);
        CCardInfo card;
        EXPECT_EQ(card.OpenConnection("COM3"), row.expected);
        card.CloseConnection();
    }
    CTestRoot root;
    CCardInfo card;
    EXPECT_EQ(card.OpenConnection("COM4"), 2002) << "absent port";
    card.CloseConnection();
    EXPECT_EQ(card.OpenConnection("LPT1"), 2002) << "not a COM port";
    card.CloseConnection();
}

TEST(CardInfoTest, APortInUseIsNotOpenedTwiceAndTheObjectServesTheNextPort) {
    CTestRoot root;
    auto com3 = StartAdapter(root, "COM3");
    auto com4 = StartAdapter(root, "COM4");
    CCardInfo holder;
    ASSERT_EQ(holder.OpenConnection("COM3"), 0);
    CCardInfo card;
    EXPECT_EQ(card.OpenConnection("COM3"), 2002);
    card.CloseConnection();
    EXPECT_EQ(card.OpenConnection("COM4"), 0) << "one object, reopened on the next port";
    _SoftwareVer version{};
    EXPECT_EQ(card.GetSoftwareVersion(version), 0);
    card.CloseConnection();
    holder.CloseConnection();
}

TEST(CardInfoTest, VersionAndRegionAreReadAndWrittenIntoThePortsSlot) {
    CTestRoot root;
    tasim::Config euro;
    euro.region = tasim::Region::International;
    euro.version = "3.10.05";
    auto adapter = StartAdapter(root, "COM3", euro);
    CCardList list;
    ASSERT_EQ(list.FindInsertedCard(0), 2);
    CSharedView view;
    ASSERT_EQ(view->Slots[2].VersionType, VERSIONTYPE_EURO);
    ASSERT_STREQ(view->Slots[2].SoftwareVer.szVersionText, "3.10.05");

    // The card now carries North American firmware of another version; the port is named in
    // lower case, the slot is found all the same.
    adapter.reset();
    tasim::Config na;
    na.version = "4.2.77";
    adapter = StartAdapter(root, "COM3", na);
    CCardInfo card;
    ASSERT_EQ(card.OpenConnection("com3"), 0);
    _SoftwareVer version{};
    EXPECT_EQ(card.GetSoftwareVersion(version), 0);
    EXPECT_EQ(version.nMajor, 4);
    EXPECT_EQ(version.nMinor, 2);
    EXPECT_STREQ(version.szBuild, "77");
    EXPECT_STREQ(version.szVersionText, "4.2.77");
    _ISDN_VERSIONTYPE type = VERSIONTYPE_EURO;
    EXPECT_EQ(card.GetVersionType(type), 0);
    EXPECT_EQ(type, VERSIONTYPE_NI1);
    card.CloseConnection();

    const _CardInfo& slot = view->Slots[2];
    EXPECT_EQ(slot.VersionType, VERSIONTYPE_NI1);
    EXPECT_EQ(slot.SoftwareVer.nMajor, 4);
    EXPECT_EQ(slot.SoftwareVer.nMinor, 2);
    EXPECT_STREQ(slot.SoftwareVer.szBuild, "77");
    EXPECT_STREQ(slot.SoftwareVer.szVersionText, "3.10.05") << "the version text is not copied";
    EXPECT_EQ(view->Slots[3].VersionType, VERSIONTYPE_NI1);
    EXPECT_EQ(view->Slots[3].SoftwareVer.nMajor, 0) << "other slots untouched";
}

TEST(CardInfoTest, FailedQueriesKeepTheConnectionUsable) {
    CTestRoot root;
    tasim::Config config;
    config.faults.error.text = "ATI3";
    config.faults.noAnswer.text = "ATI4";
    auto adapter = StartAdapter(root, "COM3", config);
    CCardInfo card;
    ASSERT_EQ(card.OpenConnection("COM3"), 0);

    _SoftwareVer version{};
    version.nMajor = 9;
    version.nMinor = 9;
    EXPECT_EQ(card.GetSoftwareVersion(version), 2006) << "ERROR to ATI3";
    EXPECT_EQ(version.nMajor, 0);
    EXPECT_EQ(version.nMinor, 0);

    _ISDN_VERSIONTYPE type = VERSIONTYPE_EURO;
    EXPECT_EQ(card.GetVersionType(type), 2005) << "no answer to ATI4";

    adapter->SetFaults({});
    EXPECT_EQ(card.GetVersionType(type), 0);
    EXPECT_EQ(type, VERSIONTYPE_NI1);
    card.CloseConnection();
}

}  // namespace
