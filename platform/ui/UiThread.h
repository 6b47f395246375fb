// The state of one user-interface thread (internal to platform/ui): focus, mouse capture, wait
// cursor, timers, the stack of modal windows, the front end and the clock. Every member is used
// by the owning thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace ui {

class FrontEnd;
class Window;

// The process's front end, chosen on first use (FrontEnd.cpp).
FrontEnd& ProcessFrontEnd();

class UiThread {
  public:
    static UiThread& Current();

    // The system's milliseconds since the thread's clock started: real time divided by the time
    // scale, or a manual clock that only the headless driver moves.
    double Now() const;
    void SetManualClock(bool bManual);
    bool IsManualClock() const { return m_bManualClock; }
    void AdvanceClock(double ms);  // manual clock only

    bool SetTimer(Window& window, std::uint32_t id, std::uint32_t ms);
    bool KillTimer(Window& window, std::uint32_t id);
    void ForgetWindow(Window& window);  // its timers, focus and capture
    // Milliseconds of the clock until the next timer is due; negative when there is none.
    double NextTimerIn() const;
    int FireDueTimers();

    // Runs a modal loop for `top` until `ended()` holds: sent and posted messages, timers, and
    // the front end's input. Loops nest.
    void RunModal(Window& top, const std::function<bool()>& ended);
    Window* ActiveModal() const { return m_modal.empty() ? nullptr : m_modal.back(); }
    const std::vector<Window*>& ModalStack() const { return m_modal; }

    FrontEnd& Front();
    void SetFrontEnd(FrontEnd* frontEnd) { m_pFrontEnd = frontEnd; }
    FrontEnd* OwnFrontEnd() const { return m_pFrontEnd; }

    Window* focus = nullptr;
    Window* capture = nullptr;
    int waitCursor = 0;

  private:
    struct Timer {
        Window* window;
        std::uint32_t id;
        std::uint32_t period;
        double due;
    };

    std::vector<Timer> m_timers;
    std::vector<Window*> m_modal;
    FrontEnd* m_pFrontEnd = nullptr;  // null: the process's front end
    bool m_bManualClock = false;
    double m_manualNow = 0;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

}  // namespace ui
