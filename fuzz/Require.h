// What a fuzz target asserts. A broken property aborts with its description, which libFuzzer
// (or the replay) reports as a crash together with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}
