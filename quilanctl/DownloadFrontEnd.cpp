#include "quilanctl/DownloadFrontEnd.h"

#include <poll.h>
#include <unistd.h>

#include <cctype>
#include <iostream>

#include "platform/ui/Dialog.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Window.h"

namespace quilanctl {

namespace {

// ornaload's dialogs and the progress dialog's controls.
constexpr std::uint32_t kFileDialog = 160;
constexpr std::uint32_t kProgressDialog = 129;
constexpr int kIdProgressBar = 1000;
constexpr int kIdTimeLine = 1001;
constexpr int kIdStatusLine = 1002;

const ui::Dialog* AsDialog(const ui::Window* window, std::uint32_t templateId) {
    auto* dialog = dynamic_cast<const ui::Dialog*>(window);
    return dialog && dialog->TemplateId() == templateId ? dialog : nullptr;
}

const ui::Dialog* DialogOf(const ui::Window& window, std::uint32_t templateId) {
    for (const ui::Window* at = &window; at; at = at->Parent()) {
        if (const ui::Dialog* dialog = AsDialog(at, templateId)) {
            return dialog;
        }
    }
    return nullptr;
}

ui::InputEvent KeyPress(ui::Key key) {
    ui::InputEvent event;
    event.type = ui::InputEvent::Type::Key;
    event.key.key = key;
    return event;
}

std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c != '\r') {
            line += c == '\n' ? ' ' : c;
        }
    }
    return line;
}

}  // namespace

CDownloadFrontEnd::CDownloadFrontEnd(bool bAssumeYes, bool bTerminal, int interruptDescriptor)
    : m_bAssumeYes(bAssumeYes), m_nInterrupt(interruptDescriptor), m_progress(stderr, bTerminal) {}

void CDownloadFrontEnd::ModalStarted(ui::Window& top) {
    m_modal.push_back(&top);
}

void CDownloadFrontEnd::ModalEnded(ui::Window& top) {
    if (AsDialog(&top, kProgressDialog)) {
        m_progress.Break();
    }
    if (!m_modal.empty() && m_modal.back() == &top) {
        m_modal.pop_back();
    }
}

void CDownloadFrontEnd::Changed(ui::Window& window) {
    if (const ui::Dialog* progress = DialogOf(window, kProgressDialog)) {
        Report(*progress);
    }
}

void CDownloadFrontEnd::Report(const ui::Dialog& progress) {
    auto* bar = progress.ItemAs<ui::ProgressBar>(kIdProgressBar);
    ui::Window* status = progress.Item(kIdStatusLine);
    ui::Window* time = progress.Item(kIdTimeLine);
    if (bar && status && time) {
        m_progress.Show(status->Text(), bar->Percent(), time->Text());
    }
}

bool CDownloadFrontEnd::WaitInterrupted(int wakeDescriptor, std::chrono::nanoseconds timeout) {
    int ms = -1;
    if (timeout.count() >= 0) {
        ms = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(timeout).count());
    }
    pollfd waits[2] = {{wakeDescriptor, POLLIN, 0}, {m_nInterrupt, POLLIN, 0}};
    int count = m_nInterrupt >= 0 ? 2 : 1;
    if (poll(waits, count, ms) <= 0 || count == 1 || (waits[1].revents & POLLIN) == 0) {
        return false;
    }
    char drained[16];
    while (read(m_nInterrupt, drained, sizeof drained) > 0) {
    }
    return true;
}

ui::InputEvent CDownloadFrontEnd::WaitForInput(int wakeDescriptor,
                                               std::chrono::nanoseconds timeout) {
    ui::Window* top = m_modal.empty() ? nullptr : m_modal.back();
    if (AsDialog(top, kFileDialog)) {
        if (!m_bDownloadPressed) {
            m_bDownloadPressed = true;
            return KeyPress(ui::Key::Enter);
        }
        m_bFileRefused = true;
        return KeyPress(ui::Key::Escape);
    }
    bool bInterrupted = WaitInterrupted(wakeDescriptor, timeout);
    if (bInterrupted && !m_bCancelPressed && AsDialog(top, kProgressDialog)) {
        m_bCancelPressed = true;
        return KeyPress(ui::Key::Escape);
    }
    return {};
}

int CDownloadFrontEnd::MessageBox(const ui::MessageBoxRequest& request) {
    m_progress.Break();
    m_messages.push_back(request.text);
    if (request.buttons != ui::Buttons::YesNo) {
        std::cerr << "quilanctl: " << OneLine(request.text) << std::endl;
        return request.buttons == ui::Buttons::Ok ? ui::kIdOk : ui::kIdCancel;
    }
    bool bYes = Ask(request.text);
    m_bDeclined = m_bDeclined || !bYes;
    return bYes ? ui::kIdYes : ui::kIdNo;
}

bool CDownloadFrontEnd::Ask(const std::string& question) {
    if (m_bAssumeYes) {
        std::cerr << "quilanctl: " << OneLine(question) << " yes (--yes)" << std::endl;
        return true;
    }
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        std::cerr << "\nquilanctl: no answer; give --yes to download without asking" << std::endl;
        return false;
    }
    for (char& c : answer) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return answer == "y" || answer == "yes";
}

}  // namespace quilanctl
