#include "ornaload/ElmRecords.h"

#include <algorithm>
#include <cstdint>

namespace ornaload {

namespace {

constexpr std::size_t kHeaderSize = 4;

std::uint8_t Sum(const unsigned char* bytes, std::size_t count, std::uint8_t sum) {
    for (std::size_t i = 0; i < count; ++i) {
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    }
    return sum;
}

// The rest of a record after its header: false when the file ends first or the sum is not 0.
bool IsBodyValid(std::FILE* file, unsigned char* buffer, std::size_t remaining, std::uint8_t sum) {
    while (remaining > 0) {
        std::size_t got = std::fread(buffer, 1, std::min(remaining, kElmChunkSize), file);
        if (got == 0) {
            return false;
        }
        sum = Sum(buffer, got, sum);
        remaining -= got;
    }
    return sum == 0;
}

}  // namespace

bool AreElmRecordsValid(std::FILE* file, unsigned char* buffer) {
    for (;;) {
        std::size_t got = std::fread(buffer, 1, kHeaderSize, file);
        if (got == 0) {
            return true;  // the file ends where a record ends
        }
        if (got < kHeaderSize) {
            return false;
        }
        std::size_t length =
            (std::size_t{buffer[1]} << 16) | (std::size_t{buffer[2]} << 8) | std::size_t{buffer[3]};
        if (length % 4 != 0) {
            return false;
        }
        std::size_t body = length > kHeaderSize ? length - kHeaderSize : 0;
        if (!IsBodyValid(file, buffer, body, Sum(buffer, kHeaderSize, 0))) {
            return false;
        }
    }
}

}  // namespace ornaload
