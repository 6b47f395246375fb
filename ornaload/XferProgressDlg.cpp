#include "ornaload/XferProgressDlg.h"

#include <cstring>
#include <filesystem>

#include "ornaload/LoaderPrompt.h"
#include "ornaload/Resources.h"
#include "ornaload/TimeRemaining.h"
#include "platform/sys/Messages.h"
#include "platform/sys/Thread.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Static.h"
#include "platform/ui/WaitCursor.h"

namespace {

namespace xmodem = ornaload::xmodem;

constexpr int kIdTime = 1001;
constexpr int kIdStatus = 1002;
constexpr int kIdProgress = 1000;
constexpr int kIdPicture = 1003;

constexpr std::uint32_t kFirstReplyMs = 30000;
constexpr std::uint32_t kReplyMs = 20000;
constexpr std::uint32_t kAnimationMs = 100;
constexpr std::uint32_t kEstimateMs = 2500;
constexpr int kReplyTicksAllowed = 3;
constexpr std::size_t kTextField = 260;  // the path and the port name, with their zero
constexpr std::uint32_t kJoinPollMs = 10;

constexpr char kLoaderCommand[] = "AT$Z\r";
constexpr char kLoadCommand[] = "$Load\r";

}  // namespace

CXferProgressDlg::CXferProgressDlg() : ui::Dialog(ornaload::ThisModule(), ornaload::kIddProgress) {
    m_Port.CreateIoEvents();
}

CXferProgressDlg::~CXferProgressDlg() {
    ResetXfer();
    m_Port.CloseIoEvents();
}

std::int32_t CXferProgressDlg::BeginXfer(const char* path, const char* port) {
    if (std::strlen(path) >= kTextField) {
        return kFileFailed;
    }
    if (std::strlen(port) >= kTextField) {
        return kPortFailed;
    }
    m_strPath = path;
    m_strPort = port;
    m_bAnimate = false;
    m_pFile = std::fopen(path, "rb");
    if (!m_pFile) {
        return kFileFailed;
    }
    std::error_code error;
    m_nFileLength = static_cast<std::uint32_t>(std::filesystem::file_size(path, error));
    m_nPreviousUnits = m_nFileLength / ornaload::kBytesPerUnit;
    m_hDataReady = sys::CreateEvent();
    m_hDataTaken = sys::CreateEvent();
    if (m_hDataReady == sys::kNoHandle || m_hDataTaken == sys::kNoHandle) {
        return kEventFailed;
    }
    if (m_Port.Open(port) != 0) {
        m_Port.Close();
        return kPortFailed;
    }
    m_bPortOpen = true;
    m_nDeliveryStatus = 0;
    m_Port.SetResponseSink(m_szReceive, sizeof m_szReceive, m_hDataReady, &m_nDeliveryStatus,
                           CSerialPort::DELIVER_EACH_CHUNK, m_hDataTaken);
    m_strStatus = GetModule().String(ornaload::kIdsPleaseWait);
    return 0;
}

bool CXferProgressDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    StartTimer(kReplyTimer, kFirstReplyMs);
    StartTimer(kAnimationTimer, kAnimationMs);
    StartTimer(kEstimateTimer, kEstimateMs);
    m_Port.Write(kLoaderCommand, sizeof kLoaderCommand - 1);
    m_bRun = 1;
    m_hThread =
        sys::CreateThread([this, ready = m_hDataReady, taken = m_hDataTaken, dialog = Handle()] {
            RelayThread(m_bRun, m_nDeliveryStatus, ready, taken, dialog);
        });
    if (m_hThread == sys::kNoHandle) {
        return true;  // no delivery will be handled: the download ends by timeout
    }
    auto* picture = ItemAs<ui::Static>(kIdPicture);
    if (picture) {
        picture->SetImage(GetModule().Picture(ornaload::FrameBitmap(1)), ornaload::FrameBitmap(1));
    }
    std::string name = std::filesystem::path(m_strPath).filename().string();
    char title[kTextField + 64];
    std::snprintf(title, sizeof title, GetModule().String(ornaload::kIdsTransferring).c_str(),
                  name.c_str());
    m_strStatus = title;
    m_bCancelled = false;
    return true;
}

void CXferProgressDlg::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Text(kIdStatus, m_strStatus);
    exchange.Text(kIdTime, m_strTime);
}

void CXferProgressDlg::OnOK() {}

ui::MessageResult CXferProgressDlg::WindowProc(std::uint32_t message, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
    if (message == kDataArrived) {
        OnDataArrived();
        return 0;
    }
    return ui::Dialog::WindowProc(message, wParam, lParam);
}

// The relay thread: one delivery at a time from the port's reader to the dialog.
void CXferProgressDlg::RelayThread(std::atomic<std::int32_t>& run,
                                   std::atomic<std::int32_t>& status, sys::Handle dataReady,
                                   sys::Handle dataTaken, sys::WindowHandle dialog) {
    while (run == 1) {
        if (sys::Wait(dataReady, sys::kInfinite) != sys::WaitResult::Signaled || status != 0) {
            status = kPortFailed;
        }
        if (run == 0) {
            break;
        }
        sys::SendMessage(dialog, kDataArrived, 0, 0);
        if (run == 0) {
            break;  // the download ended while the dialog handled the delivery
        }
        sys::ResetEvent(dataReady);
        // Cleared while the reader still waits, so that a failure it reports next is never lost.
        status = 0;
        sys::SetEvent(dataTaken);
    }
}

void CXferProgressDlg::OnDataArrived() {
    // A failed delivery holds no new bytes (the buffer keeps the previous one); the reply
    // timer's repeat recovers the block. After the end, nothing is handled any more.
    if (m_bRun == 0 || m_nDeliveryStatus != 0) {
        return;
    }
    for (const char* at = m_szReceive; *at != '\0'; ++at) {
        if (!OnByte(static_cast<unsigned char>(*at), m_szReceive)) {
            return;
        }
    }
}

bool CXferProgressDlg::OnByte(unsigned char byte, const char* delivery) {
    if (byte == xmodem::CAN) {
        OnAdapterCancelled();
        return false;
    }
    switch (m_nState) {
        case WAIT_PROMPT:
            if (ornaload::IsLoaderPromptSeen(delivery, m_bPromptHalf)) {
                m_Port.Write(kLoadCommand, sizeof kLoadCommand - 1);
                m_nState = WAIT_START;
            }
            return false;
        case WAIT_START:
            if (byte == xmodem::NAK || byte == xmodem::CRC_REQUEST) {
                m_bCrcMode = byte == xmodem::CRC_REQUEST;
                m_start = ui::CurrentTime();
                m_nState = SENDING;
                SendNextBlock();
                RestartReplyTimer();
            }
            return true;
        case SENDING:
            if (byte == xmodem::ACK) {
                ++m_nBlockNumber;  // 8 bits: after 255 comes 0
                SendNextBlock();
                RestartReplyTimer();
            } else if (byte == xmodem::NAK) {
                WriteBlock();
                RestartReplyTimer();
            }
            return true;
        case ENDING:
            HoldWaitCursor(true);
            ui::SetCapture(this);
            ShowTransferComplete();
            if (byte == xmodem::ACK) {
                m_nState = WAIT_FINAL_PROMPT;
            } else if (byte == xmodem::NAK) {
                WriteByte(xmodem::EOT);
                RestartReplyTimer();
            }
            return true;
        case ABORTING:
            if (byte == xmodem::ACK) {
                WriteByte(xmodem::EOT);
                m_nState = WAIT_FINAL_PROMPT;
                RestartReplyTimer();
            } else if (byte == xmodem::NAK) {
                SendAbortBlock();
                RestartReplyTimer();
            }
            return true;
        case WAIT_FINAL_PROMPT:
            if (ornaload::IsLoaderPromptSeen(delivery, m_bPromptHalf)) {
                OnFinalPrompt();
            }
            return false;
    }
    return false;
}

void CXferProgressDlg::OnAdapterCancelled() {
    WriteByte(xmodem::EOT);
    if (FinishXfer(true) != 0) {
        ui::MessageBox(GetModule(), ornaload::kIdsFinishFailed);
    }
    ui::MessageBox(GetModule(), ornaload::kIdsAdapterError);
    EndDialog(kAdapterCancelled);
}

void CXferProgressDlg::OnFinalPrompt() {
    if (FinishXfer(true) != 0) {
        ui::MessageBox(GetModule(), ornaload::kIdsFinishFailed);
        EndDialog(kCancelled);
    } else if (m_bCancelled) {
        m_bCancelled = false;
        EndDialog(kCancelled);
    } else {
        EndDialog(kDone);
    }
}

void CXferProgressDlg::OnReplyTimeout() {
    WriteByte(xmodem::EOT);
    FinishXfer(false);
    ui::MessageBox(GetModule(), ornaload::kIdsTimeout);
    EndDialog(kTimedOut);
}

void CXferProgressDlg::OnCancel() {
    if (m_nState == WAIT_PROMPT) {
        if (FinishXfer(true) != 0) {
            ui::MessageBox(GetModule(), ornaload::kIdsFinishFailed);
        }
        EndDialog(kCancelled);
        return;
    }
    // Esc and the close box count only while the Cancel button does: once the file is sent or
    // the abort block is out, the engine alone ends the download.
    Window* cancel = Item(ui::kIdCancel);
    if (cancel && !cancel->IsEnabled()) {
        return;
    }
    m_bCancelled = true;
    SendAbortBlock();
    if (cancel) {
        cancel->Enable(false);
    }
}

void CXferProgressDlg::OnTimer(std::uint32_t id) {
    switch (id) {
        case kReplyTimer:
            ++m_nReplyTicks;
            if (m_nState == WAIT_START || m_nReplyTicks >= kReplyTicksAllowed) {
                OnReplyTimeout();
            } else {
                WriteBlock();
            }
            return;
        case kAnimationTimer:
            if (m_bAnimate) {
                StepAnimation();
            }
            return;
        case kEstimateTimer:
            UpdateEstimate();
            return;
        default:
            ui::Dialog::OnTimer(id);
    }
}

void CXferProgressDlg::SendNextBlock() {
    unsigned char* data = m_block.data() + xmodem::kDataOffset;
    std::size_t got = m_pFile ? std::fread(data, 1, xmodem::kDataSize, m_pFile) : 0;
    if (got == 0) {
        if (Window* cancel = Item(ui::kIdCancel)) {
            cancel->Enable(false);
        }
        WriteByte(xmodem::EOT);
        m_nState = ENDING;
        StopTimer(kEstimateTimer);
        RestartReplyTimer();
        return;
    }
    if (got < xmodem::kDataSize) {
        data[got] = xmodem::PAD;  // the rest keeps what the buffer held
    }
    m_nBytesSent += static_cast<std::uint32_t>(got);
    ++m_nBlocksSent;
    xmodem::SealBlock(m_block, m_nBlockNumber, m_bCrcMode);
    WriteBlock();
    UpdateProgressBar();
}

void CXferProgressDlg::SendAbortBlock() {
    xmodem::FillAbortData(m_block);
    xmodem::SealBlock(m_block, m_nBlockNumber, m_bCrcMode);
    WriteBlock();
    m_nState = ABORTING;
}

void CXferProgressDlg::RestartReplyTimer() {
    StopTimer(kReplyTimer);
    m_nReplyTicks = 0;
    StartTimer(kReplyTimer, kReplyMs);
}

// The block buffer as it stands. Before the first block it holds none: the adapter is then
// restarting into its loader and gets nothing.
void CXferProgressDlg::WriteBlock() {
    if (m_block[0] != xmodem::SOH) {
        return;
    }
    m_Port.Write(m_block.data(), m_bCrcMode ? xmodem::kCrcBlockSize : xmodem::kChecksumBlockSize);
}

void CXferProgressDlg::WriteByte(unsigned char byte) {
    m_Port.Write(&byte, 1);
}

void CXferProgressDlg::StartTimer(Timer timer, std::uint32_t ms) {
    m_bTimers[timer] = SetTimer(timer, ms);
}

void CXferProgressDlg::StopTimer(Timer timer) {
    if (m_bTimers[timer]) {
        KillTimer(timer);
        m_bTimers[timer] = false;
    }
}

std::int32_t CXferProgressDlg::FinishXfer(bool bProbe) {
    m_Port.ClearResponseSink();
    for (Timer timer : {kEstimateTimer, kReplyTimer, kAnimationTimer}) {
        StopTimer(timer);
    }
    m_bRun = 0;
    CloseEvents();
    CloseFile();
    std::int32_t check = 0;
    if (bProbe && m_Port.Ping() != 0) {
        check = kCheckFailed;
    }
    m_Port.Close();
    m_bPortOpen = false;
    HoldWaitCursor(false);
    ui::ReleaseCapture();
    return check;
}

void CXferProgressDlg::ShowTransferComplete() {
    m_strTime = ornaload::TimeLine(GetModule(), 0, m_nBytesSent);
    m_strStatus = GetModule().String(ornaload::kIdsComplete);
    UpdateData(false);
    m_bAnimate = false;
}

void CXferProgressDlg::UpdateProgressBar() {
    if (auto* bar = ItemAs<ui::ProgressBar>(kIdProgress)) {
        bar->SetRange(0, 100);
        bar->SetPos(static_cast<int>(m_nBytesSent * 100u / m_nFileLength));
    }
}

void CXferProgressDlg::UpdateEstimate() {
    ui::TimeOfDay now = ui::CurrentTime();
    if (m_nBytesSent == 0 || m_start.seconds == 0 ||
        (now.seconds == m_start.seconds && now.milliseconds == m_start.milliseconds)) {
        return;
    }
    std::uint32_t remaining = ornaload::RemainingUnits(m_nFileLength, m_nBytesSent);
    auto elapsed = static_cast<std::uint32_t>((now.seconds - m_start.seconds) * 1000 +
                                              now.milliseconds - m_start.milliseconds);
    std::optional<std::uint32_t> estimate =
        ornaload::EstimateRemainingMs(elapsed, m_nPreviousUnits, remaining);
    if (estimate) {
        m_strTime = ornaload::TimeLine(GetModule(), *estimate / 1000, m_nBytesSent);
    }
    UpdateData(false);
    m_bAnimate = true;
    // Without a unit completed the time line stays, and the next estimate measures the rate
    // over the longer interval.
    if (estimate) {
        m_start = now;
        m_nPreviousUnits = remaining;
    }
}

void CXferProgressDlg::StepAnimation() {
    std::uint32_t bitmap = ornaload::FrameBitmap(m_nAnimationIndex);
    if (auto* picture = ItemAs<ui::Static>(kIdPicture)) {
        picture->SetImage(GetModule().Picture(bitmap), bitmap);
    }
    m_nAnimationIndex = m_nAnimationIndex == ornaload::kFrameCount ? 1 : m_nAnimationIndex + 1;
}

std::int32_t CXferProgressDlg::ResetXfer() {
    m_Port.ClearResponseSink();
    m_bRun = 0;
    CloseEvents();
    JoinRelayThread();
    if (m_bPortOpen) {
        m_Port.Close();
        m_bPortOpen = false;
    }
    CloseFile();
    HoldWaitCursor(false);
    return 0;
}

// The relay thread may be waiting for the dialog's thread to take a last delivery, which now
// finds no dialog: sent messages are handled while it ends.
void CXferProgressDlg::JoinRelayThread() {
    if (m_hThread == sys::kNoHandle) {
        return;
    }
    while (sys::Wait(m_hThread, kJoinPollMs) == sys::WaitResult::Timeout) {
        sys::PumpMessages(0);
    }
    sys::CloseHandle(m_hThread);
    m_hThread = sys::kNoHandle;
}

// Setting both events first lets a relay thread that waits leave and the port's reader go on.
void CXferProgressDlg::CloseEvents() {
    for (sys::Handle* event : {&m_hDataReady, &m_hDataTaken}) {
        if (*event != sys::kNoHandle) {
            sys::SetEvent(*event);
            sys::CloseHandle(*event);
            *event = sys::kNoHandle;
        }
    }
}

void CXferProgressDlg::CloseFile() {
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
}

void CXferProgressDlg::HoldWaitCursor(bool bHold) {
    if (bHold == m_bWaitCursor) {
        return;
    }
    m_bWaitCursor = bHold;
    if (bHold) {
        ui::BeginWaitCursor();
    } else {
        ui::EndWaitCursor();
    }
}
