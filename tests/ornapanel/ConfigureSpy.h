// Watches the applet's calls into the real configuration shell. The test program defines the
// three operations of CConfigureIF itself; each forwards to ornaprop's own and notes the call,
// so the test sees the order of the calls while ornaprop does the work. A test may have the
// sheet's allocation fail (the real InitializeCfg then fails as when memory is lacking) or
// change the answer the applet gets from StartCfg or TerminateCfg after the real call.
// Used on the test's one thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Window;
}

namespace spy {

struct Call {
    std::string name;              // "InitializeCfg", "StartCfg", "TerminateCfg"
    ui::Window* parent = nullptr;  // InitializeCfg's argument
    std::int32_t answer = 0;       // what the applet got
};

// Calls made by the applet (not those ornaprop makes to itself), in order.
std::vector<Call>& Calls();

inline bool failSheetAllocation = false;
inline std::optional<std::int32_t> startAnswer;
inline std::optional<std::int32_t> terminateAnswer;

}  // namespace spy
