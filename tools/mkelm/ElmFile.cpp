#include "tools/mkelm/ElmFile.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

namespace mkelm {
namespace {

constexpr std::size_t kHeader = 4;
constexpr std::size_t kMaxRecord = 0xFFFFFC;
constexpr std::size_t kBlock = 128;
constexpr char kPad = 0x1A;
constexpr std::string_view kVersionMarker = "SYS_VER ";
constexpr std::string_view kIsdnMarker = "ISDN(";

struct Span {
    std::size_t begin;
    std::size_t end;
    bool Overlaps(std::size_t b, std::size_t e) const { return b < end && begin < e; }
};

std::size_t RoundUp4(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

std::uint8_t Sum(std::string_view bytes) {
    std::uint8_t sum = 0;
    for (char c : bytes)
        sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(c));
    return sum;
}

void SetLength(std::string& file, std::size_t at, std::size_t length) {
    file[at + 1] = static_cast<char>((length >> 16) & 0xFF);
    file[at + 2] = static_cast<char>((length >> 8) & 0xFF);
    file[at + 3] = static_cast<char>(length & 0xFF);
}

// The tag makes the record's bytes sum to 0.
void FixTag(std::string& file, std::size_t at, std::size_t length) {
    file[at] = 0;
    file[at] = static_cast<char>(-Sum(std::string_view(file).substr(at, length)));
}

// The record boundaries: every header keeps clear of the texts.
std::vector<std::size_t> Layout(const ElmLayout& layout, const std::vector<Span>& texts) {
    std::vector<std::size_t> starts;
    std::size_t p = 0;
    while (p < layout.size) {
        for (const Span& t : texts) {
            if (t.Overlaps(p, p + kHeader)) {
                throw std::invalid_argument("a text covers the first record header");
            }
        }
        starts.push_back(p);
        std::size_t q = std::min(p + layout.recordSize, layout.size);
        for (bool moved = true; moved && q < layout.size;) {
            moved = false;
            for (const Span& t : texts) {
                if (t.Overlaps(q, q + kHeader)) {
                    q = std::min(p + RoundUp4(t.end - p), layout.size);
                    moved = true;
                }
            }
        }
        if (layout.size - q < 2 * kHeader)
            q = layout.size;  // no header-only record at the end
        if (q - p > kMaxRecord)
            throw std::invalid_argument("record too long");
        p = q;
    }
    return starts;
}

std::optional<std::size_t> RecordLength(std::string_view data, std::size_t at) {
    if (data.size() - at < kHeader)
        return std::nullopt;
    std::size_t length = (static_cast<std::size_t>(static_cast<std::uint8_t>(data[at + 1])) << 16) |
                         (static_cast<std::size_t>(static_cast<std::uint8_t>(data[at + 2])) << 8) |
                         static_cast<std::uint8_t>(data[at + 3]);
    if (length % 4 != 0)
        return std::nullopt;
    if (length == 0)
        length = kHeader;
    if (length > data.size() - at)
        return std::nullopt;
    if (Sum(data.substr(at, length)) != 0)
        return std::nullopt;
    return length;
}

}  // namespace

std::string BuildElm(const ElmLayout& layout) {
    if (layout.size % 4 != 0)
        throw std::invalid_argument("the size must be a multiple of 4");
    if (layout.recordSize < 2 * kHeader || layout.recordSize % 4 != 0 ||
        layout.recordSize > kMaxRecord) {
        throw std::invalid_argument("the record size must be a multiple of 4 from 8 on");
    }
    std::string version = std::string(kVersionMarker) + layout.version + '\0';
    std::vector<Span> texts = {{layout.versionAt, layout.versionAt + version.size()},
                               {layout.isdnAt, layout.isdnAt + layout.isdn.size()}};
    for (const Span& t : texts) {
        if (t.end > layout.size)
            throw std::invalid_argument("a text lies outside the file");
    }
    if (texts[0].Overlaps(texts[1].begin, texts[1].end)) {
        throw std::invalid_argument("the texts overlap");
    }

    // Filler without zero bytes or marker letters, so that no stray marker can form.
    std::string file(layout.size, '\0');
    std::mt19937 random(layout.seed);
    std::uniform_int_distribution<int> byte(0x80, 0xFF);
    for (char& c : file)
        c = static_cast<char>(byte(random));
    file.replace(layout.versionAt, version.size(), version);
    file.replace(layout.isdnAt, layout.isdn.size(), layout.isdn);

    std::vector<std::size_t> starts = Layout(layout, texts);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        std::size_t end = i + 1 < starts.size() ? starts[i + 1] : layout.size;
        SetLength(file, starts[i], end - starts[i]);
        FixTag(file, starts[i], end - starts[i]);
    }

    if (!starts.empty()) {
        std::size_t first = starts.size() > 1 ? starts[1] : layout.size;
        switch (layout.breakWith) {
            case Break::None:
                break;
            case Break::Checksum:
                file[0] = static_cast<char>(file[0] ^ 0x01);
                break;
            case Break::Length:
                SetLength(file, 0, first - 2);
                FixTag(file, 0, first);
                break;
            case Break::Truncated:
                file.resize(layout.size - 2);
                break;
        }
    }
    return file;
}

ElmLayout StandardNorthAmerica() {
    ElmLayout layout;
    layout.size = 65536;
    layout.version = "3.11.02";
    layout.versionAt = 0x180;
    layout.isdn = "ISDN(NI-1,5ESS,S/T)";
    layout.isdnAt = 0x1C0;
    layout.seed = 1;
    return layout;
}

ElmLayout StandardInternational() {
    ElmLayout layout = StandardNorthAmerica();
    layout.isdn = "ISDN(EURO,ETSI,S/T)";
    layout.seed = 2;
    return layout;
}

bool IsWellFormed(std::string_view file) {
    std::size_t p = 0;
    while (p < file.size()) {
        std::optional<std::size_t> length = RecordLength(file, p);
        if (!length)
            return false;
        p += *length;
    }
    return true;
}

std::optional<std::size_t> ImageEnd(std::string_view received) {
    auto ends = [&](std::size_t p) {
        return p == received.size() || (received.size() - p < kBlock && received[p] == kPad);
    };
    std::optional<std::size_t> end;
    std::size_t p = 0;
    for (;;) {
        if (ends(p))
            end = p;
        std::optional<std::size_t> length = RecordLength(received, p);
        if (!length)
            break;
        p += *length;
    }
    return end;
}

ElmTexts FindTexts(std::string_view image) {
    ElmTexts texts;
    std::size_t v = image.find(kVersionMarker);
    if (v != std::string_view::npos) {
        std::size_t from = v + kVersionMarker.size();
        std::size_t zero = image.find('\0', from);
        if (zero != std::string_view::npos)
            texts.version = std::string(image.substr(from, zero - from));
    }
    std::size_t i = image.find(kIsdnMarker);
    if (i != std::string_view::npos) {
        std::size_t close = image.find(')', i);
        if (close != std::string_view::npos)
            texts.isdn = std::string(image.substr(i, close + 1 - i));
    }
    return texts;
}

}  // namespace mkelm
