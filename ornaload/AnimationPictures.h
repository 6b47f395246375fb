// The pictures of the download animation, drawn with characters: a sheet leaves an open folder
// at the left, flies in an arc and lands on a PC card at the right.
#pragma once

#include "platform/ui/Module.h"

namespace ornaload {

// The picture shown at animation index `index` (1 to 23): the sheet at its place in the flight.
ui::Image AnimationPicture(int index);

// Registers every picture of the frame table under its bitmap number.
void AddAnimationPictures(ui::Module& module);

}  // namespace ornaload
