#include "ornaload/ElmTextScan.h"

#include <algorithm>
#include <cstring>

namespace ornaload {

namespace {

constexpr std::string_view kVersionMarker = "SYS_VER ";
constexpr std::string_view kTypeMarker = "ISDN(";

}  // namespace

ElmTextScan::ElmTextScan(Kind kind)
    : m_kind(kind), m_marker(kind == Kind::Version ? kVersionMarker : kTypeMarker) {}

void ElmTextScan::Reset() {
    m_strText.clear();
    m_bFound = false;
    m_nPartial = -1;
    m_bComplete = false;
}

bool ElmTextScan::Step(const char* chunk, std::size_t count) {
    if (m_bFound) {
        // The text ran to the end of the previous chunk: its rest ends here, whatever it holds.
        m_strText.append(chunk, std::strlen(chunk));
        if (m_kind == Kind::Type && !CutAfterParenthesis()) {
            m_strText.clear();
        }
        m_bComplete = true;
        return true;
    }
    std::size_t from = FindMarker(chunk, count);
    if (from == std::string_view::npos) {
        return false;
    }
    m_bComplete = TakeText(chunk, count, from);
    return m_bComplete;
}

std::size_t ElmTextScan::FindMarker(const char* chunk, std::size_t count) {
    const std::size_t length = m_marker.size();
    if (m_nPartial > 0) {
        std::size_t rest = length - static_cast<std::size_t>(m_nPartial);
        if (count >= rest && std::memcmp(chunk, m_marker.data() + m_nPartial, rest) == 0) {
            // The type text keeps the marker's leading characters from the previous chunk.
            if (m_kind == Kind::Type) {
                m_strText.assign(m_marker.substr(0, static_cast<std::size_t>(m_nPartial)));
                return 0;
            }
            return rest;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t compared = std::min(length, count - i);
        if (std::memcmp(chunk + i, m_marker.data(), compared) != 0) {
            continue;
        }
        if (compared < length) {
            m_nPartial = static_cast<int>(compared);
            return std::string_view::npos;
        }
        m_strText.clear();
        return m_kind == Kind::Type ? i : i + length;
    }
    m_nPartial = -1;
    return std::string_view::npos;
}

bool ElmTextScan::TakeText(const char* chunk, std::size_t count, std::size_t from) {
    std::size_t taken = std::strlen(chunk + from);
    m_strText.append(chunk + from, taken);
    m_bFound = true;
    if (m_kind == Kind::Type) {
        return CutAfterParenthesis();
    }
    return from + taken < count;  // a zero byte ended the text inside the chunk
}

bool ElmTextScan::CutAfterParenthesis() {
    std::size_t close = m_strText.find(')');
    if (close == std::string::npos) {
        return false;
    }
    m_strText.resize(close + 1);
    return true;
}

}  // namespace ornaload
