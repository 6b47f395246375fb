// A small dialog of the test library with members for every kind of exchange.
#pragma once

#include <functional>
#include <string>

#include "TestModule.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dialog.h"

namespace test {

class FormDialog : public ui::Dialog {
  public:
    explicit FormDialog(ui::Window* parent = nullptr) : Dialog(Library(), kFormDialog, parent) {}

    unsigned m_nNumber = 7;
    std::string m_strName = "first";
    std::string m_strLater = "later";
    bool m_bOption = false;
    int m_nRegion = 1;

    std::function<void()> onOpen;                             // kOpen clicked
    std::function<ui::MessageResult(std::uintptr_t)> onUser;  // kUserMessage + 1
    std::function<void(int id, int code)> onCommand;          // every other command
    std::function<ui::MessageResult(const ui::Notification&)> onNotify;

    ui::MessageResult WindowProc(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) override {
        if (message == ui::kUserMessage + 1 && onUser) {
            return onUser(wParam);
        }
        return Dialog::WindowProc(message, wParam, lParam);
    }

  protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        dx.Text(kNumber, m_nNumber);
        dx.RangeCheck(m_nNumber, 0, 65535);
        dx.Text(kName, m_strName);
        dx.Text(kLater, m_strLater);
        dx.Check(kOption, m_bOption);
        dx.ListIndex(kRegion, m_nRegion);
    }
    bool OnCommand(int id, int code) override {
        if (id == kOpen && onOpen) {
            onOpen();
            return true;
        }
        if (id != ui::kIdOk && id != ui::kIdCancel && onCommand) {
            onCommand(id, code);
        }
        return Dialog::OnCommand(id, code);
    }
    ui::MessageResult OnNotify(const ui::Notification& notification) override {
        return onNotify ? onNotify(notification) : 0;
    }
};

}  // namespace test
