#include "ornaload/LoaderPrompt.h"

#include <cstring>

namespace ornaload {

bool IsLoaderPromptSeen(const char* delivery, bool& bPromptHalf) {
    if (std::strstr(delivery, ">>") || (bPromptHalf && delivery[0] == '>')) {
        bPromptHalf = false;
        return true;
    }
    std::size_t length = std::strlen(delivery);
    if (length > 0 && delivery[length - 1] == '>') {
        bPromptHalf = true;
    }
    return false;
}

}  // namespace ornaload
