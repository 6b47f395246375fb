#include "platform/ui/MessageBox.h"

#include "platform/ui/FrontEnd.h"
#include "platform/ui/UiThread.h"
#include "platform/ui/Window.h"

namespace ui {

int MessageBox(const Module& module, std::uint32_t textId, unsigned type) {
    return MessageBoxText(module, module.String(textId), type);
}

int MessageBoxText(const Module& module, std::string_view text, unsigned type) {
    MessageBoxRequest request;
    UiThread& thread = UiThread::Current();
    request.owner = thread.ActiveModal();
    request.title = module.String(kTitleString);
    request.text = std::string(text);
    switch (type & 0x0F) {
        case kOkCancel:
            request.buttons = Buttons::OkCancel;
            break;
        case kYesNo:
            request.buttons = Buttons::YesNo;
            break;
        default:
            request.buttons = Buttons::Ok;
    }
    switch (type & 0xF0) {
        case kIconStop:
            request.icon = Icon::Stop;
            break;
        case kIconQuestion:
            request.icon = Icon::Question;
            break;
        case kIconExclamation:
            request.icon = Icon::Exclamation;
            break;
        case kIconInformation:
            request.icon = Icon::Information;
            break;
        default:
            request.icon = request.buttons == Buttons::YesNo ? Icon::Question : Icon::Exclamation;
    }
    bool bSecond = (type & kDefaultButton2) != 0 && request.buttons != Buttons::Ok;
    if (request.buttons == Buttons::YesNo) {
        request.defaultButton = bSecond ? kIdNo : kIdYes;
    } else {
        request.defaultButton = bSecond ? kIdCancel : kIdOk;
    }
    return thread.Front().MessageBox(request);
}

}  // namespace ui
