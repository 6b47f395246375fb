// XMODEM blocks as the adapter's loader takes them: SOH, the block number, its ones'
// complement, 128 data bytes, then the 8-bit sum of the data (checksum mode) or its CRC-16
// high byte first (CRC mode). Pure; any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ornaload::xmodem {

inline constexpr unsigned char SOH = 0x01;
inline constexpr unsigned char EOT = 0x04;
inline constexpr unsigned char ACK = 0x06;
inline constexpr unsigned char NAK = 0x15;
inline constexpr unsigned char CAN = 0x18;
inline constexpr unsigned char CRC_REQUEST = 0x43;  // "C": the receiver asks for CRC mode
inline constexpr unsigned char PAD = 0x1A;          // ends the data of a short last block

inline constexpr std::size_t kDataSize = 128;
inline constexpr std::size_t kDataOffset = 3;
inline constexpr std::size_t kCrcBlockSize = 133;
inline constexpr std::size_t kChecksumBlockSize = 132;

using Block = std::array<unsigned char, kCrcBlockSize>;

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, no reflection, no final XOR.
std::uint16_t Crc16(const unsigned char* data, std::size_t count);
std::uint8_t Checksum(const unsigned char* data, std::size_t count);

// Fills in SOH, the number, its complement and the check bytes around the block's data; the
// number of bytes to send by mode.
std::size_t SealBlock(Block& block, std::uint8_t number, bool bCrcMode);

// The data of the block that tells the loader the user cancelled: "ABORTED" seven times, nine
// TABs and a blank, that group twice, then "ABORTEDABO".
void FillAbortData(Block& block);

}  // namespace ornaload::xmodem
