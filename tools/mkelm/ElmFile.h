// Building and checking ELM firmware files.
//
// An ELM file is a run of records: a tag byte, a big-endian 24-bit length (header included,
// a multiple of 4; 0 means the header alone) and a body, all bytes of a record summing to 0
// modulo 256. Somewhere in it stand the version text behind "SYS_VER " (zero-terminated) and
// the type text "ISDN(...)". Our images are synthetic: filler bytes around the two texts.
// Pure functions, usable from any thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mkelm {

enum class Break {
    None,
    Checksum,   // the first record's bytes no longer sum to 0
    Length,     // the first record's length is not a multiple of 4 (its sum still 0)
    Truncated,  // the file ends inside its last record
};

struct ElmLayout {
    std::size_t size = 4096;          // bytes in the file, a multiple of 4
    std::string version = "3.11.02";  // text after "SYS_VER "
    std::size_t versionAt = 256;      // offset of the "S" of "SYS_VER "
    std::string isdn = "ISDN(NI-1,5ESS,S/T)";
    std::size_t isdnAt = 512;      // offset of the "I" of "ISDN("
    std::size_t recordSize = 256;  // usual record length; records grow around the texts
    unsigned seed = 1;             // filler bytes
    Break breakWith = Break::None;
};

// The file the layout describes; std::invalid_argument when it cannot be built (size not a
// multiple of 4, texts outside the file, overlapping or in the first record header).
std::string BuildElm(const ElmLayout& layout);

// The two standard files of the installation.
ElmLayout StandardNorthAmerica();   // "ROM0NA.ELM"
ElmLayout StandardInternational();  // "ROM0ROW.ELM"

// True when `file` is made of well-formed records up to its last byte.
bool IsWellFormed(std::string_view file);

// Where the image ends in data received by XMODEM: whole well-formed records from the start,
// followed by nothing or, within the last 128-byte block, by the pad byte 0x1A and stale bytes.
// Nothing when the data is not such an image.
std::optional<std::size_t> ImageEnd(std::string_view received);

struct ElmTexts {
    std::optional<std::string> version;  // after the first "SYS_VER " up to its zero byte
    std::optional<std::string> isdn;     // the first "ISDN(" up to and including its ")"
};
ElmTexts FindTexts(std::string_view image);

}  // namespace mkelm
