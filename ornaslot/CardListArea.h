// The card list shared by every process of the root, its lock and its change message.
//
// One instance per process, attached on first use and kept until ornaslot is unloaded (the
// process chooses its root at run time, so nothing is attached before it is needed). The slots
// are read and written only while the card-list lock is held (CCardListLock); the shared memory
// is writable by any process of the root, so its texts are read with bounds.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "CardInfoRecord.h"
#include "platform/sys/Messages.h"
#include "platform/sys/NamedMutex.h"
#include "platform/sys/SharedMemory.h"

inline constexpr int kCardSlots = 10;
// The shared area's name under the root and the version of its layout.
inline constexpr const char kCardListAreaName[] = "CARDLIS";
inline constexpr std::uint32_t kCardListAreaVersion = 1;

// The contents of the shared area, in their fixed order.
struct CardListData {
    _CardInfo Slots[kCardSlots];
    sys::WindowHandle hCtrlApplet;  // the Control Panel window told about card changes; 0 none
};

class CCardListArea {
  public:
    static CCardListArea& Instance();

    // Null when the shared area cannot be had.
    CardListData* Data() const;
    sys::NamedMutex& Mutex() { return m_Mutex; }
    std::uint32_t CardChangeMessage() const { return m_nCardChangeMessage; }

  private:
    CCardListArea();

    std::unique_ptr<sys::SharedMemory> m_pArea;
    sys::NamedMutex m_Mutex;
    std::uint32_t m_nCardChangeMessage;
};

// Holds the card-list lock for one scope. Held() is false when the lock could not be taken
// (including a previous holder that ended while holding it) or the area is missing; the list
// must then not be touched.
class CCardListLock {
  public:
    CCardListLock();
    ~CCardListLock();
    CCardListLock(const CCardListLock&) = delete;
    CCardListLock& operator=(const CCardListLock&) = delete;

    bool Held() const { return m_pData != nullptr; }
    CardListData& Data() const { return *m_pData; }

  private:
    CardListData* m_pData = nullptr;
};

// A text of the shared area or of a caller's record, up to its NUL or the end of its array.
template <std::size_t N>
std::string_view BoundedText(const char (&text)[N]) {
    std::size_t length = 0;
    while (length < N && text[length] != '\0') {
        ++length;
    }
    return std::string_view(text, length);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
