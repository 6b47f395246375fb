#include "platform/ui/UiThread.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/Messages.h"
#include "platform/sys/Time.h"
#include "platform/ui/FrontEnd.h"
#include "platform/ui/Window.h"

namespace ui {

UiThread& UiThread::Current() {
    thread_local UiThread thread;
    return thread;
}

double UiThread::Now() const {
    if (m_bManualClock) {
        return m_manualNow;
    }
    std::chrono::duration<double, std::milli> real = std::chrono::steady_clock::now() - m_start;
    return real.count() / sys::TimeScale();
}

void UiThread::SetManualClock(bool bManual) {
    if (bManual == m_bManualClock) {
        return;
    }
    double now = Now();
    m_bManualClock = bManual;
    if (bManual) {
        // A whole millisecond, so that due times built from whole periods compare exactly.
        m_manualNow = std::ceil(now);
    } else {  // the real clock goes on from the manual clock's time
        m_start = std::chrono::steady_clock::now() -
                  std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                      std::chrono::duration<double, std::milli>(now * sys::TimeScale()));
    }
}

void UiThread::AdvanceClock(double ms) {
    if (m_bManualClock && ms > 0) {
        m_manualNow += ms;
    }
}

bool UiThread::SetTimer(Window& window, std::uint32_t id, std::uint32_t ms) {
    KillTimer(window, id);
    m_timers.push_back({&window, id, ms, Now() + ms});
    return true;
}

bool UiThread::KillTimer(Window& window, std::uint32_t id) {
    return std::erase_if(m_timers, [&](const Timer& timer) {
               return timer.window == &window && timer.id == id;
           }) > 0;
}

void UiThread::ForgetWindow(Window& window) {
    std::erase_if(m_timers, [&](const Timer& timer) { return timer.window == &window; });
    if (focus == &window) {
        focus = nullptr;
    }
    if (capture == &window) {
        capture = nullptr;
    }
}

double UiThread::NextTimerIn() const {
    if (m_timers.empty()) {
        return -1;
    }
    double due = std::min_element(m_timers.begin(), m_timers.end(), [](auto& a, auto& b) {
                     return a.due < b.due;
                 })->due;
    return std::max(0.0, due - Now());
}

int UiThread::FireDueTimers() {
    // One tick of the earliest due timer per call: its handler may kill or set timers, run a
    // nested loop or destroy the window, so the list is looked at afresh each time.
    double now = Now();
    auto due = std::min_element(m_timers.begin(), m_timers.end(),
                                [](auto& a, auto& b) { return a.due < b.due; });
    if (due == m_timers.end() || due->due > now) {
        return 0;
    }
    Window* window = due->window;
    std::uint32_t id = due->id;
    due->due = now + due->period;
    window->Send(kTimerMessage, id, 0);
    return 1;
}

void UiThread::RunModal(Window& top, const std::function<bool()>& ended) {
    m_modal.push_back(&top);
    Front().ModalStarted(top);
    while (!ended()) {
        int handled = sys::PumpMessages(0);
        if (ended()) {
            break;
        }
        handled += FireDueTimers();
        if (handled > 0 || ended()) {
            continue;
        }
        double next = NextTimerIn();
        std::chrono::nanoseconds timeout(-1);
        if (next >= 0) {
            timeout = m_bManualClock ? std::chrono::nanoseconds(-1)
                                     : sys::Scaled(static_cast<std::uint32_t>(std::ceil(next)));
        }
        InputEvent event = Front().WaitForInput(sys::MessageWakeDescriptor(), timeout);
        if (event.type != InputEvent::Type::None) {
            HandleInput(top, event);
        }
    }
    std::erase(m_modal, &top);
    Front().ModalEnded(top);
}

FrontEnd& UiThread::Front() {
    return m_pFrontEnd ? *m_pFrontEnd : ProcessFrontEnd();
}

}  // namespace ui
