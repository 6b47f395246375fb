// The help procedure of every page: the topic of the page in the installed help file.
#pragma once

#include <cstdint>

namespace ui {
class Window;
}

namespace ornaprop {

// Topic numbers of the pages.
inline constexpr std::uint32_t kHelpCards = 0x5000;
inline constexpr std::uint32_t kHelpProfileList = 0x5100;
inline constexpr std::uint32_t kHelpLocation = 0x5200;
inline constexpr std::uint32_t kHelpCard = 0x5300;
inline constexpr std::uint32_t kHelpAdvanced = 0x5400;

// Finds the help directory in the registry ("HelpDirectory" under the installation's
// "Directory" key), makes it the process's current directory and shows `topic` of
// "QLN_CPL.HLP" there, owned by `page`. Shows message 59191 when the directory is not in the
// registry or the viewer cannot show the topic. User-interface thread only.
void ShowHelpTopic(ui::Window& page, std::uint32_t topic);

}  // namespace ornaprop
