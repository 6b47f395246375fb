// The progress dialog and the download engine: it restarts the adapter into its loader, sends
// the ELM file as XMODEM blocks (checksum or CRC-16, as the loader asks), ends with EOT, waits
// for the loader's prompt again and checks that the adapter answers "AT". The dialog ends by
// itself with its exit code; the user can only cancel.
//
// Threads: every member runs on the dialog's (user-interface) thread, except RelayThread. The
// port's reader puts each burst of received bytes into the receive buffer and waits; the relay
// thread hands it to the dialog with a synchronous message and then lets the reader go on, so
// exactly one delivery is handled at a time and the buffer needs no lock.
//
// Lifetime: built by CFileTransferIF::InitializeXfer; BeginXfer opens the file and the port,
// the dialog runs modally, FinishXfer (when the download ends) or ResetXfer (teardown) releases
// the file, the port, the events and the relay thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "link/SerialPort.h"
#include "ornaload/XmodemBlock.h"
#include "platform/sys/Handle.h"
#include "platform/ui/Clock.h"
#include "platform/ui/Dialog.h"

class CXferProgressDlg : public ui::Dialog {
  public:
    // BeginXfer's failures.
    enum : std::int32_t {
        kPortFailed = 2000,
        kThreadFailed = 2001,  // the relay thread: not reported, the download times out
        kFileFailed = 2002,
        kEventFailed = 2003,
    };
    // FinishXfer: the adapter did not answer "AT" at the end.
    static constexpr std::int32_t kCheckFailed = 2000;
    // Exit codes of the dialog.
    enum : int { kDone = 0, kAdapterCancelled = -2, kTimedOut = -3, kCancelled = -7 };
    enum State : int {
        WAIT_PROMPT = 0,  // the loader prompt after "AT$Z\r"
        WAIT_START = 1,   // NAK or "C" after "$Load\r"
        SENDING = 2,      // ACK or NAK for the block just sent
        ENDING = 3,       // ACK for EOT
        ABORTING = 4,     // ACK or NAK for the abort block
        WAIT_FINAL_PROMPT = 5,
    };
    static constexpr std::uint32_t kDataArrived = ui::kUserMessage + 1;

    CXferProgressDlg();
    ~CXferProgressDlg() override;

    // Prepares a download of the file at `path` to the card on `port`: 0 or one of the codes.
    std::int32_t BeginXfer(const char* path, const char* port);
    // Releases whatever is still held; always 0.
    std::int32_t ResetXfer();

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& exchange) override;
    void OnOK() override;  // Enter: the engine alone ends the dialog
    void OnCancel() override;
    void OnTimer(std::uint32_t id) override;
    ui::MessageResult WindowProc(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) override;

  private:
    enum Timer : std::uint32_t { kReplyTimer = 1, kAnimationTimer = 2, kEstimateTimer = 3 };

    void OnDataArrived();
    // Acts on one received byte; false when the rest of the delivery is to be ignored.
    bool OnByte(unsigned char byte, const char* delivery);
    void OnAdapterCancelled();
    void OnFinalPrompt();
    void OnReplyTimeout();
    void SendNextBlock();
    void SendAbortBlock();
    void RestartReplyTimer();
    void WriteBlock();
    void WriteByte(unsigned char byte);
    void StartTimer(Timer timer, std::uint32_t ms);
    void StopTimer(Timer timer);
    std::int32_t FinishXfer(bool bProbe);
    void ShowTransferComplete();
    void UpdateProgressBar();
    void UpdateEstimate();
    void StepAnimation();
    void JoinRelayThread();
    void CloseEvents();
    void CloseFile();
    void HoldWaitCursor(bool bHold);
    static void RelayThread(std::atomic<std::int32_t>& run, std::atomic<std::int32_t>& status,
                            sys::Handle dataReady, sys::Handle dataTaken, sys::WindowHandle dialog);

    // Engine.
    State m_nState = WAIT_PROMPT;
    bool m_bCrcMode = false;
    std::uint8_t m_nBlockNumber = 1;
    std::uint32_t m_nBytesSent = 0;
    std::uint32_t m_nBlocksSent = 0;
    std::uint32_t m_nFileLength = 0;
    int m_nReplyTicks = 0;
    bool m_bPromptHalf = false;
    bool m_bCancelled = false;
    ornaload::xmodem::Block m_block{};
    char m_szReceive[ornaload::xmodem::kCrcBlockSize] = {};
    std::FILE* m_pFile = nullptr;
    std::string m_strPath;
    std::string m_strPort;
    CSerialPort m_Port;
    bool m_bPortOpen = false;
    sys::Handle m_hDataReady = sys::kNoHandle;
    sys::Handle m_hDataTaken = sys::kNoHandle;
    sys::Handle m_hThread = sys::kNoHandle;
    std::atomic<std::int32_t> m_bRun{0};
    std::atomic<std::int32_t> m_nDeliveryStatus{0};
    bool m_bTimers[4] = {};

    // Display.
    std::string m_strStatus;
    std::string m_strTime;
    bool m_bAnimate = false;
    int m_nAnimationIndex = 2;
    ui::TimeOfDay m_start;  // seconds 0 until the receiver's first request
    std::uint32_t m_nPreviousUnits = 0;
    bool m_bWaitCursor = false;
};
