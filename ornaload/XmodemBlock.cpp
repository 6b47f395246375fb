#include "ornaload/XmodemBlock.h"

#include <algorithm>
#include <string>

namespace ornaload::xmodem {

namespace {

constexpr std::array<std::uint16_t, 256> MakeCrcTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte << 8;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        }
        table[byte] = static_cast<std::uint16_t>(crc);
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kCrcTable = MakeCrcTable();

std::string AbortData() {
    std::string group;
    for (int i = 0; i < 7; ++i) {
        group += "ABORTED";
    }
    group += std::string(9, '\t') + " ";
    return group + group + "ABORTEDABO";
}

}  // namespace

std::uint16_t Crc16(const unsigned char* data, std::size_t count) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < count; ++i) {
        crc = static_cast<std::uint16_t>((crc << 8) ^ kCrcTable[((crc >> 8) ^ data[i]) & 0xFF]);
    }
    return crc;
}

std::uint8_t Checksum(const unsigned char* data, std::size_t count) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum = static_cast<std::uint8_t>(sum + data[i]);
    }
    return sum;
}

std::size_t SealBlock(Block& block, std::uint8_t number, bool bCrcMode) {
    block[0] = SOH;
    block[1] = number;
    block[2] = static_cast<unsigned char>(~number);
    const unsigned char* data = block.data() + kDataOffset;
    const std::size_t check = kDataOffset + kDataSize;
    if (bCrcMode) {
        std::uint16_t crc = Crc16(data, kDataSize);
        block[check] = static_cast<unsigned char>(crc >> 8);
        block[check + 1] = static_cast<unsigned char>(crc & 0xFF);
        return kCrcBlockSize;
    }
    block[check] = Checksum(data, kDataSize);
    return kChecksumBlockSize;
}

void FillAbortData(Block& block) {
    static const std::string kAbortData = AbortData();
    std::copy(kAbortData.begin(), kAbortData.end(), block.begin() + kDataOffset);
}

}  // namespace ornaload::xmodem
