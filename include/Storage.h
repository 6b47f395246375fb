// The abstract profile store of a card.
//
// The user interface holds a CComStorage and reaches every operation except construction and
// destruction through this class's virtual table, so the order of the five virtual operations is
// part of the interface between separately built libraries: never reorder, insert or remove one.
// Every operation returns 0 on success or a status code; the defaults here change nothing.
// Used by one thread at a time; holds no data.
#pragma once

#include <cstdint>

#include "CardProfiles.h"
#include "platform/sys/Export.h"

// Callers never delete through this class and a virtual destructor would add slots to the table.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#pragma GCC diagnostic ignored "-Wdelete-non-virtual-dtor"
class QUILAN_EXPORT CStorage {
  public:
    enum : std::int32_t {
        kPortFailed = 2001,     // opening or setting up the port failed
        kEventFailed = 2002,    // creating the reply event failed
        kCommandFailed = 2003,  // a command not written, not answered in time, or not "OK"
        kReadFailed = 2006,     // reading the profiles failed at some step
    };

    // Slot 0: opens the store on the NUL-terminated port name ("COM3").
    virtual std::int32_t Open(const char* portName);
    // Slot 1: releases whatever Open acquired; safe in every state.
    virtual std::int32_t Close();
    // Slot 2: sends the whole record to the store; the caller's record is never changed.
    virtual std::int32_t WriteProfiles(_CARDPROFILES profiles);
    // Slot 3: fills the caller's record in place (it is not cleared first).
    virtual std::int32_t ReadProfiles(_CARDPROFILES& profiles);
    // Slot 4: asks whether the card accepts BACP; on 0 `accepted` is 1 or 0.
    virtual std::int32_t AttemptBACP(int& accepted);
};
#pragma GCC diagnostic pop
