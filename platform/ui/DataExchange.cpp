#include "platform/ui/DataExchange.h"

#include <cctype>

#include "platform/ui/Button.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Format.h"
#include "platform/ui/MessageBox.h"

namespace ui {

bool ParseUnsigned(const std::string& text, unsigned* value) {
    std::size_t i = 0;
    auto blank = [&](std::size_t at) {
        return at < text.size() && (text[at] == ' ' || text[at] == '\t');
    };
    while (blank(i)) {
        ++i;
    }
    std::uint64_t number = 0;
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        number = number * 10 + static_cast<unsigned>(text[i] - '0');
        if (number > 0xFFFFFFFFull) {
            return false;
        }
        ++i;
        ++digits;
    }
    while (blank(i)) {
        ++i;
    }
    if (digits == 0 || i != text.size()) {
        return false;
    }
    *value = static_cast<unsigned>(number);
    return true;
}

Window* DataExchange::Find(int id) {
    Window* control = m_dialog.Item(id);
    if (!control) {
        m_bFailed = true;  // a page bound a control its template lacks
        return nullptr;
    }
    m_pLast = control;
    return control;
}

void DataExchange::Text(int id, std::string& value) {
    if (m_bFailed) {
        return;
    }
    if (Window* control = Find(id)) {
        if (m_bSave) {
            value = control->Text();
        } else {
            control->SetText(value);
        }
    }
}

void DataExchange::Text(int id, unsigned& value) {
    if (m_bFailed) {
        return;
    }
    Window* control = Find(id);
    if (!control) {
        return;
    }
    if (!m_bSave) {
        control->SetText(std::to_string(value));
        return;
    }
    unsigned parsed;
    if (!ParseUnsigned(control->Text(), &parsed)) {
        FailWith("Please enter a positive integer.");
        return;
    }
    value = parsed;
}

void DataExchange::Check(int id, int& value) {
    bool bChecked = value != 0;
    Check(id, bChecked);
    if (m_bSave && !m_bFailed) {
        value = bChecked ? 1 : 0;
    }
}

void DataExchange::Check(int id, bool& value) {
    if (m_bFailed) {
        return;
    }
    auto* box = dynamic_cast<Button*>(Find(id));
    if (!box) {
        m_bFailed = true;
        return;
    }
    if (m_bSave) {
        value = box->IsChecked();
    } else {
        box->SetCheck(value);
    }
}

void DataExchange::ListIndex(int id, int& index) {
    if (m_bFailed) {
        return;
    }
    auto* list = dynamic_cast<DropDownList*>(Find(id));
    if (!list) {
        m_bFailed = true;
        return;
    }
    if (m_bSave) {
        index = list->CurSel();
    } else {
        list->SetCurSel(index);
    }
}

void DataExchange::RangeCheck(unsigned value, unsigned min, unsigned max) {
    if (m_bFailed || !m_bSave || (value >= min && value <= max)) {
        return;
    }
    FailWith(FormatMessage("Please enter an integer between %1 and %2.",
                           {std::to_string(min), std::to_string(max)}));
}

void DataExchange::FailWith(const std::string& message) {
    MessageBoxText(m_dialog.GetModule(), message, kOk | kIconExclamation);
    Fail();
}

void DataExchange::Fail() {
    m_bFailed = true;
    if (!m_pLast) {
        return;
    }
    m_pLast->SetFocus();
    if (auto* edit = dynamic_cast<Edit*>(m_pLast)) {
        edit->SelectAll();
    }
}

}  // namespace ui
