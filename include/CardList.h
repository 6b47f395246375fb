// The list of Quilan ISDN T/A cards on "COM1" ... "COM10", shared by every process of the root.
//
// Objects hold nothing: every object works on the one shared list of ten slots (slot i is
// "COM<i+1>"). Any thread of any process may call any operation; each takes the system-wide
// card-list lock "TALMONT_CARDLIST_MUTEX" first, waiting without time limit, and gives up at once
// when it cannot be had (2007, -1 for the scans, null for GetCardName). The scans hold the lock
// while they probe ports, which takes seconds for every port where a device answers.
#pragma once

#include <cstdint>

#include "CardInfoRecord.h"
#include "platform/sys/Export.h"
#include "platform/sys/Messages.h"

class QUILAN_EXPORT CCardList {
  public:
    enum : std::int32_t {
        kLockFailed = 2007,  // the card-list lock cannot be taken
        kNoSuchSlot = 2008,  // slot outside 0 to 9, unknown port name, or too small an array
    };

    CCardList();
    ~CCardList();

    // The next slot from `start` on where a card was newly found (and is now inserted), or -1.
    int FindInsertedCard(int start);
    // The next slot from `start` on whose card no longer answers (and is now reset), or -1.
    int FindRemovedCard(int start);

    // The port name of slot 0 to 9 inside the shared list (it never changes), or null.
    const char* GetCardName(int slot);

    // Copies a slot's record; the destination's szVersionText is left as it was.
    std::int32_t GetPortInfo(int slot, _CardInfo& info);
    // The same for the slot of that port name, letter case ignored.
    std::int32_t GetPortInfo(char* portName, _CardInfo& info);
    // Copies the records of the inserted cards in slot order into `cards`, which has `count`
    // elements; on success `count` becomes the number copied. Too small an array: 2008, `count`
    // unchanged.
    std::int32_t GetCardInfoList(_CardInfo* cards, int& count);

    std::int32_t RegisterCtrlApplet(sys::WindowHandle window);
    std::int32_t DeregisterCtrlApplet();

    std::int32_t SetCardConfigFlag(int slot, int flag);
    std::int32_t SetCardConfigFlag(char* portName, int flag);

    // Sends "Talmont_Card_Change" to the registered window and waits until it is handled, with
    // the COM port number of the record and (nConfigFlag << 16 | nInserted). The handler must not
    // use the card list: the lock is held until it returns.
    std::int32_t UpdateCtrlPanelApplet(_CardInfo card);
};
