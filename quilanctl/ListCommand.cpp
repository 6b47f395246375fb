#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "CardList.h"
#include "quilanctl/CardAccess.h"
#include "quilanctl/Commands.h"
#include "quilanctl/Failure.h"

namespace quilanctl {

namespace {

constexpr int kSlots = 10;
constexpr char kCardName[] = "Quilan ISDN T/A";

// The card list keeps the version's numbers and build, not its text.
std::string VersionText(const _SoftwareVer& version) {
    std::string text = std::to_string(version.nMajor) + "." + std::to_string(version.nMinor);
    if (version.szBuild[0] != '\0') {
        text += std::string(".") + version.szBuild;
    }
    return text;
}

// The detection pass of the cards page: removed cards first, then new ones.
void Detect(CCardList& list) {
    for (int slot = list.FindRemovedCard(0); slot != -1; slot = list.FindRemovedCard(slot + 1)) {
    }
    for (int slot = list.FindInsertedCard(0); slot != -1; slot = list.FindInsertedCard(slot + 1)) {
    }
}

void PrintTable(const _CardInfo* cards, int count) {
    std::printf("%-6s %-16s %-10s %s\n", "PORT", "CARD", "FIRMWARE", "REGION");
    for (int i = 0; i < count; ++i) {
        std::printf("%-6s %-16s %-10s %s\n", cards[i].szPort, kCardName,
                    VersionText(cards[i].SoftwareVer).c_str(), RegionName(cards[i].VersionType));
    }
}

void PrintJson(const _CardInfo* cards, int count) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (int i = 0; i < count; ++i) {
        const _SoftwareVer& version = cards[i].SoftwareVer;
        list.push_back({{"Port", cards[i].szPort},
                        {"Card", kCardName},
                        {"Firmware", VersionText(version)},
                        {"Major", version.nMajor},
                        {"Minor", version.nMinor},
                        {"Build", version.szBuild},
                        {"Region", RegionName(cards[i].VersionType)}});
    }
    std::cout << list.dump(4) << std::endl;
}

}  // namespace

int RunList(const Arguments& arguments) {
    bool bJson = arguments.size() == 1 && arguments[0] == "--json";
    if (!arguments.empty() && !bJson) {
        return UsageError("list: the only option is --json");
    }
    CCardList list;
    Detect(list);
    _CardInfo cards[kSlots] = {};
    int count = kSlots;
    if (list.GetCardInfoList(cards, count) != 0) {
        return Report({kCardError, "the card list cannot be read"});
    }
    if (bJson) {
        PrintJson(cards, count);
    } else {
        PrintTable(cards, count);
    }
    return kSuccess;
}

}  // namespace quilanctl
