#include "CardList.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "CardInfo.h"
#include "ornaslot/CardListArea.h"

namespace {

bool ValidSlot(int slot) {
    return slot >= 0 && slot < kCardSlots;
}

// The slot whose port name equals `name`, letter case ignored; -1 for none.
int SlotOfPort(const CardListData& data, const char* name) {
    if (!name) {
        return -1;
    }
    for (int slot = 0; slot < kCardSlots; ++slot) {
        if (EqualsIgnoringCase(BoundedText(data.Slots[slot].szPort), name)) {
            return slot;
        }
    }
    return -1;
}

// Everything but szVersionText, which stays as the caller had it. Texts are cut to their arrays
// so that a name without its NUL in the shared memory never travels on.
void CopyRecord(const _CardInfo& from, _CardInfo& to) {
    std::string_view port = BoundedText(from.szPort);
    std::memset(to.szPort, 0, sizeof to.szPort);
    std::memcpy(to.szPort, port.data(), std::min(port.size(), sizeof to.szPort - 1));
    to.nConfigFlag = from.nConfigFlag;
    to.nInserted = from.nInserted;
    to.SoftwareVer.nMajor = from.SoftwareVer.nMajor;
    to.SoftwareVer.nMinor = from.SoftwareVer.nMinor;
    std::string_view build = BoundedText(from.SoftwareVer.szBuild);
    std::memset(to.SoftwareVer.szBuild, 0, sizeof to.SoftwareVer.szBuild);
    std::memcpy(to.SoftwareVer.szBuild, build.data(),
                std::min(build.size(), sizeof to.SoftwareVer.szBuild - 1));
    to.VersionType = from.VersionType;
}

// The decimal value after the first three characters of the port name ("COM10" gives 10): an
// optional sign and digits, 0 without digits.
long PortNumber(const _CardInfo& card) {
    std::string_view port = BoundedText(card.szPort);
    if (port.size() < 3) {
        return 0;
    }
    port.remove_prefix(3);
    bool negative = false;
    if (!port.empty() && (port.front() == '-' || port.front() == '+')) {
        negative = port.front() == '-';
        port.remove_prefix(1);
    }
    long value = 0;
    for (char c : port) {
        if (c < '0' || c > '9' || value > 100000000) {
            break;
        }
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace

CCardList::CCardList() = default;

CCardList::~CCardList() = default;

int CCardList::FindInsertedCard(int start) {
    CCardListLock lock;
    if (!lock.Held() || !ValidSlot(start)) {
        return -1;
    }
    CCardInfo card;
    for (int slot = start; slot < kCardSlots; ++slot) {
        _CardInfo& info = lock.Data().Slots[slot];
        if (info.nInserted != 0) {
            continue;
        }
        std::string port(BoundedText(info.szPort));
        if (card.OpenConnection(port.c_str()) == 0) {
            card.GetSoftwareVersion(info.SoftwareVer);
            card.GetVersionType(info.VersionType);
            card.CloseConnection();
            info.nInserted = 1;
            return slot;
        }
        card.CloseConnection();
    }
    return -1;
}

int CCardList::FindRemovedCard(int start) {
    CCardListLock lock;
    if (!lock.Held() || !ValidSlot(start)) {
        return -1;
    }
    CCardInfo card;
    for (int slot = start; slot < kCardSlots; ++slot) {
        _CardInfo& info = lock.Data().Slots[slot];
        if (info.nInserted != 1) {
            continue;
        }
        std::string port(BoundedText(info.szPort));
        if (card.OpenConnection(port.c_str()) != 0) {
            card.CloseConnection();
            info.nInserted = 0;
            info.nConfigFlag = 0;
            info.SoftwareVer.nMajor = 0;
            info.SoftwareVer.nMinor = 0;
            info.VersionType = VERSIONTYPE_NI1;
            return slot;
        }
        card.GetSoftwareVersion(info.SoftwareVer);
        card.GetVersionType(info.VersionType);
        card.CloseConnection();
    }
    return -1;
}

const char* CCardList::GetCardName(int slot) {
    CCardListLock lock;
    if (!lock.Held() || !ValidSlot(slot)) {
        return nullptr;
    }
    const char* name = lock.Data().Slots[slot].szPort;
    // Only a terminated name can be handed out as a C string.
    return BoundedText(lock.Data().Slots[slot].szPort).size() < sizeof(_CardInfo::szPort) ? name
                                                                                          : nullptr;
}

std::int32_t CCardList::GetPortInfo(int slot, _CardInfo& info) {
    CCardListLock lock;
    if (!lock.Held()) {
        return kLockFailed;
    }
    if (!ValidSlot(slot)) {
        return kNoSuchSlot;
    }
    CopyRecord(lock.Data().Slots[slot], info);
    return 0;
}

std::int32_t CCardList::GetPortInfo(char* portName, _CardInfo& info) {
    CCardListLock lock;
    if (!lock.Held()) {
        return kLockFailed;
    }
    int slot = SlotOfPort(lock.Data(), portName);
    if (slot < 0) {
        return kNoSuchSlot;
    }
    CopyRecord(lock.Data().Slots[slot], info);
    return 0;
}

std::int32_t CCardList::GetCardInfoList(_CardInfo* cards, int& count) {
    CCardListLock lock;
    if (!lock.Held()) {
        return kLockFailed;
    }
    int copied = 0;
    for (const _CardInfo& slot : lock.Data().Slots) {
        if (slot.nInserted == 0) {
            continue;
        }
        if (copied >= count || !cards) {
            return kNoSuchSlot;
        }
        CopyRecord(slot, cards[copied++]);
    }
    count = copied;
    return 0;
}

std::int32_t CCardList::RegisterCtrlApplet(sys::WindowHandle window) {
    CCardListLock lock;
    if (!lock.Held()) {
        return kLockFailed;
    }
    lock.Data().hCtrlApplet = window;
    return 0;
}

std::int32_t CCardList::DeregisterCtrlApplet() {
    return RegisterCtrlApplet(0);
}

std::int32_t CCardList::SetCardConfigFlag(int slot, int flag) {
    CCardListLock lock;
    if (!lock.Held()) {
        return kLockFailed;
    }
    if (!ValidSlot(slot)) {
        return kNoSuchSlot;
    }
    lock.Data().Slots[slot].nConfigFlag = flag;
    return 0;
}

std::int32_t CCardList::SetCardConfigFlag(char* portName, int flag) {
    CCardListLock lock;
    if (!lock.Held()) {
        return kLockFailed;
    }
    int slot = SlotOfPort(lock.Data(), portName);
    if (slot < 0) {
        return kNoSuchSlot;
    }
    lock.Data().Slots[slot].nConfigFlag = flag;
    return 0;
}

std::int32_t CCardList::UpdateCtrlPanelApplet(_CardInfo card) {
    CCardListLock lock;
    if (!lock.Held()) {
        return kLockFailed;
    }
    sys::WindowHandle window = lock.Data().hCtrlApplet;
    if (window != 0) {
        auto wParam = static_cast<std::uintptr_t>(PortNumber(card));
        auto low = static_cast<std::uint32_t>(card.nInserted) & 0xFFFFu;
        auto high = static_cast<std::uint32_t>(card.nConfigFlag) & 0xFFFFu;
        auto lParam = static_cast<std::intptr_t>((high << 16) | low);
        sys::SendMessage(window, CCardListArea::Instance().CardChangeMessage(), wParam, lParam);
    }
    return 0;
}
