#include "ornaslot/CardListArea.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Slot i is "COM<i+1>", not inserted, version zero, region NI-1; no window registered.
void InitialiseList(void* payload) {
    auto* data = new (payload) CardListData{};
    for (int slot = 0; slot < kCardSlots; ++slot) {
        std::snprintf(data->Slots[slot].szPort, sizeof data->Slots[slot].szPort, "COM%d", slot + 1);
        data->Slots[slot].VersionType = VERSIONTYPE_NI1;
    }
}

}  // namespace

CCardListArea& CCardListArea::Instance() {
    static CCardListArea area;
    return area;
}

CCardListArea::CCardListArea()
    : m_pArea(sys::SharedMemory::Attach(kCardListAreaName, kCardListAreaVersion,
                                        sizeof(CardListData), InitialiseList)),
      m_Mutex("TALMONT_CARDLIST_MUTEX"),
      m_nCardChangeMessage(sys::RegisterWindowMessage("Talmont_Card_Change")) {}

CardListData* CCardListArea::Data() const {
    return m_pArea ? static_cast<CardListData*>(m_pArea->Payload()) : nullptr;
}

CCardListLock::CCardListLock() {
    CCardListArea& area = CCardListArea::Instance();
    if (area.Mutex().Lock() != sys::NamedMutex::LockResult::Acquired) {
        return;
    }
    m_pData = area.Data();
    if (!m_pData) {
        area.Mutex().Unlock();
    }
}

CCardListLock::~CCardListLock() {
    if (m_pData) {
        CCardListArea::Instance().Mutex().Unlock();
    }
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}
