// The profile pages as a user reaches them: the applet in a root of its own, one emulated card,
// the cards page's detection, "Pr&ofile Properties", and a profile's configuration sheet.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "AppletRoot.h"
#include "CardProfiles.h"
#include "ConfigureIF.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/Window.h"
#include "tools/tasim/Adapter.h"

namespace profiles {

// The cards page.
inline constexpr int kCardList = 1009;
inline constexpr int kProfileProperties = 1002;
// The profile list page.
inline constexpr int kProfileList = 1070;
inline constexpr int kConfigure = 1003;
inline constexpr int kDefaultProfile = 1072;
// The location pages.
inline constexpr int kAltEnabled = 1082;
inline constexpr int kPrimaryText = 1084;
inline constexpr int kSwitchLabel = 1083;
inline constexpr int kSwitchType = 1045;
inline constexpr int kProtocolLabel = 1080;
inline constexpr int kProtocol = 1048;
inline constexpr int kFirstGroup = 1074;
inline constexpr int kNumber1Label = 1078;
inline constexpr int kNumber1 = 1056;
inline constexpr int kSpid1Box = 1101;
inline constexpr int kSpid1 = 1073;
inline constexpr int kSecondGroup = 1075;
inline constexpr int kSecondNumber = 1098;
inline constexpr int kNumber2Label = 1076;
inline constexpr int kNumber2 = 1061;
inline constexpr int kSpid2Box = 1102;
inline constexpr int kSpid2 = 1016;
// The advanced page.
inline constexpr int kBacp = 1104;
inline constexpr int kInitialInterval = 1001;
inline constexpr int kInitialSpin = 1107;
inline constexpr int kBillingInterval = 1109;
inline constexpr int kBillingSpin = 1108;
inline constexpr int kDovGroup = 1100;
inline constexpr int kDov = 1099;
inline constexpr int kAutoSpidGroup = 1105;
inline constexpr int kAutoSpidText = 1106;
inline constexpr int kAutoSpidLocation = 1103;

// Tabs of the configuration sheet.
inline constexpr int kPrimaryTab = 0;
inline constexpr int kAlternateTab = 1;
inline constexpr int kAdvancedTab = 2;

inline constexpr const char kMainTitle[] = "Quilan ISDN T/A Properties";
inline constexpr const char kNorthAmericaTitle[] = "Profiles - North America";
inline constexpr const char kInternationalTitle[] =
    "Profiles - International (Excl. North America)";
inline constexpr const char kProfileNamesKey[] =
    "SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames";

// The card's factory profiles, as the emulator keeps them.
inline const std::vector<std::string> kFactoryNames = {"Profile 0", "Profile 1", "Profile 2"};

// What WriteProfiles sends for the emulator's factory profiles (n = 0, 1, 2 carry "PPP",
// "Multilink PPP" and "V.120"), then "AT&Y" and "ATZ" with `defaultProfile`; the set-up
// command of the port comes first.
std::vector<std::string> FactoryWrite(tasim::Region region, int defaultProfile);

// The line of `commands` that starts with `start`, or "" when none does.
std::string CommandStarting(const std::vector<std::string>& commands, const std::string& start);

class ProfileSheetTest : public ::testing::Test {
  protected:
    // A card answering on COM2 with firmware that stores profiles.
    tasim::Adapter& StartCard(tasim::Region region, tasim::Config config = {});
    // The card's stored profiles, changed before the applet starts.
    _CARDPROFILES Stored() const { return m_pCard->CardProfiles(); }
    void Store(const _CARDPROFILES& record) { m_pCard->SetCardProfiles(record); }

    // Script steps: the profiles sheet of the card, once the detection has listed it.
    ui::HeadlessUser& OpenProfiles();
    // ... and the configuration sheet of profile `profile` through its row and the button.
    ui::HeadlessUser& OpenConfiguration(int profile);
    // Forgets what the card received so far: what follows is the page's own doing.
    ui::HeadlessUser& ForgetCommands();

    // Runs the applet with the script; the script must be done without problems.
    void RunApplet();

    // The registry file of the root, and its values under "ProfileNames".
    std::filesystem::path Hive() const { return m_root.Path() / "registry.reg"; }
    std::string ReadHive() const;
    void WriteHive(const std::string& text) const;
    void SetProfileName(const std::string& value, const std::string& name) const;
    std::string ProfileName(const std::string& value) const;  // "<absent>" when absent

    // The texts of the message boxes shown so far.
    std::vector<std::string> Messages() const;
    std::string LastMessage() const;

    CAppletRoot m_root;
    ui::HeadlessUser m_user;
    std::unique_ptr<tasim::Adapter> m_pCard;
};

}  // namespace profiles
