#include "ConfigureSpy.h"

#include <dlfcn.h>

#include <cstdlib>
#include <new>

#include "ConfigureIF.h"

namespace {

// Set while one of the watched operations runs, so that calls ornaprop makes to its own
// operations (InitializeCfg releasing an old sheet) are not taken for the applet's.
int depth = 0;

template <class Fn>
Fn Next(const char* symbol) {
    void* address = dlsym(RTLD_NEXT, symbol);
    if (!address) {
        std::abort();
    }
    return reinterpret_cast<Fn>(address);
}

struct Depth {
    Depth() { ++depth; }
    ~Depth() { --depth; }
};

bool inSheetAllocation = false;

}  // namespace

std::vector<spy::Call>& spy::Calls() {
    static std::vector<Call> calls;
    return calls;
}

// The only allocation ornaprop makes with std::nothrow is the sheet's.
void* operator new(std::size_t size, const std::nothrow_t& tag) noexcept {
    using Fn = void* (*)(std::size_t, const std::nothrow_t&);
    static const Fn next = Next<Fn>("_ZnwmRKSt9nothrow_t");
    if (inSheetAllocation && spy::failSheetAllocation) {
        return nullptr;
    }
    return next(size, tag);
}

std::int32_t CConfigureIF::InitializeCfg(ui::Window* parent) {
    using Fn = std::int32_t (*)(CConfigureIF*, ui::Window*);
    static const Fn next = Next<Fn>("_ZN12CConfigureIF13InitializeCfgEPN2ui6WindowE");
    const bool bOuter = depth == 0;
    Depth inside;
    inSheetAllocation = bOuter;
    std::int32_t answer = next(this, parent);
    inSheetAllocation = false;
    if (bOuter) {
        spy::Calls().push_back({"InitializeCfg", parent, answer});
    }
    return answer;
}

std::int32_t CConfigureIF::StartCfg() {
    using Fn = std::int32_t (*)(CConfigureIF*);
    static const Fn next = Next<Fn>("_ZN12CConfigureIF8StartCfgEv");
    const bool bOuter = depth == 0;
    Depth inside;
    std::int32_t answer = next(this);
    if (bOuter) {
        answer = spy::startAnswer.value_or(answer);
        spy::Calls().push_back({"StartCfg", nullptr, answer});
    }
    return answer;
}

std::int32_t CConfigureIF::TerminateCfg() {
    using Fn = std::int32_t (*)(CConfigureIF*);
    static const Fn next = Next<Fn>("_ZN12CConfigureIF12TerminateCfgEv");
    const bool bOuter = depth == 0;
    Depth inside;
    std::int32_t answer = next(this);
    if (bOuter) {
        answer = spy::terminateAnswer.value_or(answer);
        spy::Calls().push_back({"TerminateCfg", nullptr, answer});
    }
    return answer;
}
