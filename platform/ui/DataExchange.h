// Data exchange between a dialog's controls and its members, in one direction per exchange.
//
// A dialog's DoDataExchange calls these in order. When saving, a value that fails a check shows
// the toolkit's message (titled with the dialog's library string 57344) and fails the exchange:
// the focus goes to the control exchanged last, an edit's whole text is selected, and every
// later call does nothing. The flag stays set, so the operation that asked for the exchange
// (leaving a page, OK) sees it and does not complete. Checks written by pages do the same: show
// their own message, then call Fail(). No exceptions. Used on the dialog's thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sys/Export.h"
#include "platform/ui/Dialog.h"

namespace ui {

class QUILAN_EXPORT DataExchange {
  public:
    DataExchange(Dialog& dialog, bool bSaveAndValidate)
        : m_dialog(dialog), m_bSave(bSaveAndValidate) {}

    bool IsSaving() const { return m_bSave; }
    bool Failed() const { return m_bFailed; }
    Dialog& GetDialog() const { return m_dialog; }
    Window* LastControl() const { return m_pLast; }

    void Text(int id, std::string& value);
    // An unsigned decimal number, blanks around it allowed; anything else when saving gives
    // "Please enter a positive integer.".
    void Text(int id, unsigned& value);
    void Check(int id, int& value);
    void Check(int id, bool& value);
    void ListIndex(int id, int& index);  // the selected entry of a drop-down list, -1 for none

    // Binds a member to the control (both directions); a missing control or one of another
    // kind fails the exchange.
    template <class T>
    void Control(int id, T*& control) {
        if (m_bFailed) {
            return;
        }
        control = dynamic_cast<T*>(Find(id));
        if (!control) {
            m_bFailed = true;
        }
    }

    // After Text(id, unsigned): when saving, a value outside [min, max] gives "Please enter an
    // integer between %1 and %2." with the two limits.
    void RangeCheck(unsigned value, unsigned min, unsigned max);

    // Fails the exchange as described above; the caller has shown its message.
    void Fail();

  private:
    Window* Find(int id);  // also records the control as the one exchanged last
    void FailWith(const std::string& message);

    Dialog& m_dialog;
    bool m_bSave;
    bool m_bFailed = false;
    Window* m_pLast = nullptr;
};

// Parses the unsigned decimal number of an edit as the exchange does; false when the text is
// not one (or does not fit 32 bits).
QUILAN_EXPORT bool ParseUnsigned(const std::string& text, unsigned* value);

}  // namespace ui
