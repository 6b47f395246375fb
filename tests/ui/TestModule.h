// Resources of two small libraries for the toolkit's tests.
#pragma once

#include "platform/ui/Module.h"

namespace test {

// Dialog ids.
inline constexpr std::uint32_t kFormDialog = 100;   // edits, check box, lists, OK/Cancel
inline constexpr std::uint32_t kPageA = 200;        // property page "First"
inline constexpr std::uint32_t kPageB = 201;        // property page "Second"
inline constexpr std::uint32_t kPageC = 202;        // property page "Third"
inline constexpr std::uint32_t kEmptyDialog = 300;  // no controls at all

// Control ids of kFormDialog.
inline constexpr int kNumber = 1001;    // edit, digits only, limit 5
inline constexpr int kName = 1002;      // edit
inline constexpr int kLater = 1003;     // edit exchanged after the number
inline constexpr int kOption = 1004;    // check box "&Option"
inline constexpr int kRegion = 1005;    // sorted drop-down list
inline constexpr int kRows = 1006;      // list view with label editing
inline constexpr int kSpin = 1007;      // up-down on kNumber's neighbour kSpinEdit
inline constexpr int kSpinEdit = 1008;  // edit
inline constexpr int kOpen = 1009;      // push button "Ne&sted"
inline constexpr int kLabel = 1010;     // static "&Label:" just before kName

// Control ids of the pages.
inline constexpr int kPageEdit = 2001;
inline constexpr int kPageCheck = 2002;

const ui::Module& Library();       // strings, with 57344 "Test Library"
const ui::Module& OtherLibrary();  // 57344 "Other Library"

}  // namespace test
