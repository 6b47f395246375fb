// The profile store that keeps the profiles in the card itself, reached over its COM port.
//
// The owner (the cards page) keeps one object for its whole life and brackets every operation
// with Open and Close, calling Close also after a failed Open and before destruction. States:
// closed (constructed, or after Close), open (Open returned 0), half-open (Open returned 2001 or
// 2002; only Close leaves it). Reading, writing and the BACP probe work only when open; otherwise
// their commands fail.
//
// One caller thread at a time; the only other thread is the port's reader, which hands each
// complete reply over through the session's reply event. Every command waits up to 5 seconds.
#pragma once

#include <cstdint>

#include "CardProfiles.h"
#include "Storage.h"
#include "link/TASession.h"
#include "platform/sys/Export.h"

// Like its base, destroyed only by its owner through its own type; final, so never deleted as a
// base.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The class is exported for its table and type information (callers' run-time type checks need
// them); of its members only those the user interface calls by name are exported.
#define ORNAKEEP_LOCAL __attribute__((visibility("hidden")))
class QUILAN_EXPORT CComStorage final : public CStorage {
  public:
    CComStorage();
    ~CComStorage();
    CComStorage(const CComStorage&) = delete;
    CComStorage& operator=(const CComStorage&) = delete;

    // 0, 2001 (the port cannot be opened or set up) or 2002 (no reply event).
    std::int32_t Open(const char* portName) override;
    // Always 0.
    std::int32_t Close() override;
    // 0 when every command was answered "OK"; 2003 at the first one that was not, or before
    // sending anything when the record cannot be formatted.
    std::int32_t WriteProfiles(_CARDPROFILES profiles) override;
    // 0, or 2006 when any step failed (the record keeps what was filled before the failure).
    std::int32_t ReadProfiles(_CARDPROFILES& profiles) override;
    // 0 with `accepted` 1 ("OK") or 0 (any other answer); 2003, `accepted` untouched, when the
    // card did not answer in time. Reached only through the table.
    ORNAKEEP_LOCAL std::int32_t AttemptBACP(int& accepted) override;

  private:
    enum : std::int32_t {
        kNoReply = 2007,  // no complete reply within 5 seconds, or a reading error
    };

    // Sends one command and waits for its complete reply in the session's buffer:
    // 0, kCommandFailed when it was not written, kNoReply.
    ORNAKEEP_LOCAL std::int32_t CommandStep(const char* command);
    // A command step whose reply must end in "OK": 0 or kCommandFailed.
    ORNAKEEP_LOCAL std::int32_t WritingStep(const char* command);
    // The region flag from the version reply: 0, kCommandFailed or kNoReply.
    ORNAKEEP_LOCAL std::int32_t QueryRegion(int& northAmerica);

    CTASession m_Session;
    std::int32_t m_nBacpAnswer = 0;
};
#undef ORNAKEEP_LOCAL
#pragma GCC diagnostic pop
