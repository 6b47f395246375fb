// Whether a delivery of received bytes shows the loader's prompt ">>", which may come split
// over two deliveries (">" ending one and ">" starting the next). Pure.
#pragma once

namespace ornaload {

// `delivery` is zero-terminated; `bPromptHalf` carries the previous delivery's trailing ">":
// cleared when the prompt is seen, set when a delivery without it ends with ">".
bool IsLoaderPromptSeen(const char* delivery, bool& bPromptHalf);

}  // namespace ornaload
