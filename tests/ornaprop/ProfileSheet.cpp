#include "ProfileSheet.h"

#include <fstream>
#include <iterator>

#include "platform/registry/Key.h"

namespace profiles {

namespace {

constexpr const char kPort[] = "COM2";

const char* const kFactoryProtocols[3] = {"%A2=95", "%A2=96", "%A2=2"};

}  // namespace

std::vector<std::string> FactoryWrite(tasim::Region region, int defaultProfile) {
    const bool bNorthAmerica = region == tasim::Region::NorthAmerica;
    std::vector<std::string> lines = {"ATV1E1&K3\r"};
    for (int n = 0; n < 3; ++n) {
        std::string number = std::to_string(n);
        lines.push_back(std::string("AT!C1=") + (bNorthAmerica ? "9" : "2") + "!C11=255" +
                        kFactoryProtocols[n] + "\r");
        for (const char* numbers :
             {"AT!N1=!N2=\r", "AT!N11=!N21=\r", "AT!N3=!N4=\r", "AT!N31=!N41=\r"}) {
            lines.push_back(numbers);
        }
        if (bNorthAmerica) {
            for (const char* northAmerican : {"AT!C6=!C7=\r", "AT!C61=!C71=\r", "AT!C4=0!C5=0\r",
                                              "AT!C41=0!C51=0\r", "AT!C2=0\r"}) {
                lines.push_back(northAmerican);
            }
        }
        lines.push_back("AT!O0\r");
        lines.push_back("AT%P5=0%P6=60%P7=60\r");
        lines.push_back("AT&W" + number + "\r");
    }
    lines.push_back("AT&Y" + std::to_string(defaultProfile) + "\r");
    lines.push_back("ATZ" + std::to_string(defaultProfile) + "\r");
    return lines;
}

std::string CommandStarting(const std::vector<std::string>& commands, const std::string& start) {
    for (const std::string& command : commands) {
        if (command.starts_with(start)) {
            return command;
        }
    }
    return "";
}

tasim::Adapter& ProfileSheetTest::StartCard(tasim::Region region, tasim::Config config) {
    config.region = region;
    config.version = "3.10.05";
    m_pCard = m_root.Card(kPort, std::move(config));
    return *m_pCard;
}

ui::HeadlessUser& ProfileSheetTest::OpenProfiles() {
    return m_user
        .WaitUntil(
            [this] { return m_user.Title() == kMainTitle && m_user.Items(kCardList).size() == 1; })
        .Click(kProfileProperties);
}

ui::HeadlessUser& ProfileSheetTest::OpenConfiguration(int profile) {
    return OpenProfiles().ClickItem(kProfileList, profile).Click(kConfigure);
}

ui::HeadlessUser& ProfileSheetTest::ForgetCommands() {
    return m_user.Then([this] { m_pCard->ClearRecording(); });
}

void ProfileSheetTest::RunApplet() {
    CConfigureIF configure;
    ASSERT_EQ(configure.InitializeCfg(nullptr), 0);
    EXPECT_EQ(configure.StartCfg(), 0);
    EXPECT_EQ(configure.TerminateCfg(), 0);
    EXPECT_TRUE(m_user.ScriptDone());
    EXPECT_EQ(m_user.Problems(), std::vector<std::string>{});
}

std::string ProfileSheetTest::ReadHive() const {
    std::ifstream in(Hive(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ProfileSheetTest::WriteHive(const std::string& text) const {
    std::ofstream(Hive(), std::ios::binary | std::ios::trunc) << text;
}

void ProfileSheetTest::SetProfileName(const std::string& value, const std::string& name) const {
    registry::Key key;
    ASSERT_EQ(key.Open(kProfileNamesKey, registry::Access::Write), registry::Status::Ok);
    ASSERT_EQ(key.SetString(value, name), registry::Status::Ok);
}

std::string ProfileSheetTest::ProfileName(const std::string& value) const {
    registry::Key key;
    char name[400];
    if (key.Open(kProfileNamesKey, registry::Access::Read) != registry::Status::Ok ||
        key.QueryString(value, name, sizeof name) != registry::Status::Ok) {
        return "<absent>";
    }
    return name;
}

std::vector<std::string> ProfileSheetTest::Messages() const {
    std::vector<std::string> texts;
    for (const ui::HeadlessUser::ShownBox& box : m_user.MessageBoxes()) {
        texts.push_back(box.request.text);
    }
    return texts;
}

std::string ProfileSheetTest::LastMessage() const {
    return m_user.MessageBoxes().empty() ? std::string()
                                         : m_user.MessageBoxes().back().request.text;
}

}  // namespace profiles
