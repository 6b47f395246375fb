// The structure of an ELM firmware file: a run of records up to its last byte. A record is a
// tag byte, a big-endian 24-bit length of the whole record (a multiple of 4; 0 is the header
// alone) and its body; all bytes of a record sum to 0 modulo 256. Pure; any thread.
#pragma once

#include <cstddef>
#include <cstdio>

namespace ornaload {

// Both scans of an ELM file read it in chunks of at most this many bytes through one buffer.
inline constexpr std::size_t kElmChunkSize = 1000;

// True when `file`, from its current position to its end, is made of whole, well-formed records.
// Reads at most kElmChunkSize bytes at a time into `buffer` (kElmChunkSize bytes). A file that
// ends inside a record, its header included, is not well formed; an empty file is.
bool AreElmRecordsValid(std::FILE* file, unsigned char* buffer);

}  // namespace ornaload
