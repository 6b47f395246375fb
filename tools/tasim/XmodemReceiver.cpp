#include "tools/tasim/XmodemReceiver.h"

#include "platform/sys/Time.h"

namespace tasim {
namespace {

constexpr char SOH = 0x01;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char CAN = 0x18;
constexpr std::size_t kData = 128;
constexpr std::uint32_t kRequestMs = 3000;
constexpr std::uint32_t kBlockMs = 10000;
constexpr int kMaxRetries = 10;

std::uint8_t Byte(char c) {
    return static_cast<std::uint8_t>(c);
}

}  // namespace

std::uint16_t XmodemReceiver::Crc16(std::string_view data) {
    std::uint16_t crc = 0;
    for (char c : data) {
        crc = static_cast<std::uint16_t>(crc ^ (Byte(c) << 8));
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
        }
    }
    return crc;
}

XmodemReceiver::XmodemReceiver(XmodemMode mode, const Faults& faults, Clock::time_point now)
    : m_mode(mode), m_faults(faults), m_deadline(now + sys::Scaled(kRequestMs)) {}

std::string XmodemReceiver::Begin() {
    return std::string(1, m_mode == XmodemMode::Crc ? 'C' : NAK);
}

std::string XmodemReceiver::Feed(std::string_view bytes, Clock::time_point now, std::size_t& used) {
    std::string out;
    used = 0;
    const std::size_t blockSize = 3 + kData + (m_mode == XmodemMode::Crc ? 2 : 1);
    while (used < bytes.size() && m_outcome == Outcome::Running) {
        char c = bytes[used++];
        if (!m_block.empty()) {
            m_block += c;
            if (m_block.size() == blockSize) {
                out += OnBlock();
                m_block.clear();
            }
            continue;
        }
        if (m_silent)
            continue;
        if (c == SOH) {
            m_deadline = now + sys::Scaled(kBlockMs);
            m_block = c;
            m_started = true;
            m_retries = 0;
        } else if (c == EOT && m_naksOfEot < m_faults.nakEotTimes) {
            ++m_naksOfEot;
            out += NAK;
        } else if (c == EOT) {
            out += ACK;
            m_outcome = Outcome::Complete;
        } else if (c == CAN) {
            m_outcome = Outcome::Cancelled;
        }
        // Anything else between blocks is line noise.
    }
    return m_silent ? std::string() : out;
}

std::string XmodemReceiver::OnBlock() {
    const std::uint8_t number = Byte(m_block[1]);
    const std::uint8_t expected = static_cast<std::uint8_t>(m_taken + 1);
    const bool repeat = m_taken > 0 && number == static_cast<std::uint8_t>(m_taken);
    const int place = repeat ? m_taken : m_taken + 1;

    if (m_faults.hangUpAtBlock == place) {
        m_outcome = Outcome::HangUp;
        return {};
    }
    if (m_faults.silentFromBlock > 0 && place >= m_faults.silentFromBlock)
        m_silent = true;
    if (m_faults.cancelAtBlock == place) {
        m_outcome = Outcome::Cancelled;
        return {CAN, CAN};
    }

    std::string_view data = std::string_view(m_block).substr(3, kData);
    bool good = Byte(m_block[2]) == static_cast<std::uint8_t>(~number);
    if (m_mode == XmodemMode::Crc) {
        std::uint16_t crc = Crc16(data);
        good = good && Byte(m_block[131]) == (crc >> 8) && Byte(m_block[132]) == (crc & 0xFF);
    } else {
        std::uint8_t sum = 0;
        for (char c : data)
            sum = static_cast<std::uint8_t>(sum + Byte(c));
        good = good && Byte(m_block[131]) == sum;
    }
    if (!good)
        return std::string(1, NAK);
    if (repeat)
        return std::string(1, ACK);  // our ACK was lost: the block is not stored twice
    if (number != expected) {
        m_outcome = Outcome::Cancelled;  // out of step with the sender
        return {CAN, CAN};
    }
    if (m_faults.nakBlock == place && m_naksOfFaultBlock < m_faults.nakTimes) {
        ++m_naksOfFaultBlock;
        return std::string(1, NAK);
    }
    m_data += data;
    ++m_taken;
    return std::string(1, ACK);
}

std::string XmodemReceiver::Tick(Clock::time_point now) {
    if (m_outcome != Outcome::Running || now < m_deadline)
        return {};
    m_block.clear();
    if (++m_retries >= kMaxRetries) {
        m_outcome = Outcome::Cancelled;
        return m_silent ? std::string() : std::string{CAN, CAN};
    }
    m_deadline = now + sys::Scaled(m_started ? kBlockMs : kRequestMs);
    if (m_silent)
        return {};
    return m_started ? std::string(1, NAK) : Begin();
}

}  // namespace tasim
