// Outcome of every registry operation. Ok is 0; any other value is a failure.
#pragma once

#include <cstdint>

namespace registry {

enum class Status : std::int32_t {
    Ok = 0,
    NotFound,      // the key or the value does not exist (an absent hive file holds no keys)
    Unreadable,    // the hive file cannot be read or parsed; it is left as it is
    MoreData,      // the value and its terminating zero do not fit the caller's buffer
    AccessDenied,  // a write through a key opened for reading
    NotOpen,       // the key object is not open
    InvalidData,   // a name or value the file cannot hold (line break or NUL), or an empty key path
    WriteFailed,   // the hive file could not be replaced; the previous file stays intact
};

}  // namespace registry
