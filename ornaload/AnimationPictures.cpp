#include "ornaload/AnimationPictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "ornaload/Resources.h"

namespace ornaload {

namespace {

// 272 x 60 pixels: 44 x 4 cells of the picture control.
constexpr int kWidth = 272;
constexpr int kHeight = 60;
constexpr int kColumns = 44;

// The folder and the card stand on the two lower rows; the sheet flies above them.
constexpr const char* kScene[] = {
    "                                            ",
    "                                            ",
    " ____                               .======.",
    "|____\\                              |QUILAN|",
};
constexpr const char kSheet[] = "[=]";
constexpr int kSheetWidth = 3;
constexpr int kFlightSteps = 22;  // the distinct pictures: index 23 shows the one of index 22
constexpr int kStartColumn = 1;
constexpr int kEndColumn = 38;
constexpr int kGroundRow = 2;

}  // namespace

ui::Image AnimationPicture(int index) {
    int step = std::min(index, kFlightSteps) - 1;
    double along = static_cast<double>(step) / (kFlightSteps - 1);
    int column = kStartColumn + static_cast<int>(std::lround(along * (kEndColumn - kStartColumn)));
    int row =
        kGroundRow - static_cast<int>(std::lround(kGroundRow * std::sin(along * std::numbers::pi)));

    ui::Image image;
    image.width = kWidth;
    image.height = kHeight;
    for (const char* line : kScene) {
        image.rows.emplace_back(line, kColumns);
    }
    image.rows[static_cast<std::size_t>(row)].replace(static_cast<std::size_t>(column), kSheetWidth,
                                                      kSheet);
    return image;
}

void AddAnimationPictures(ui::Module& module) {
    for (int index = 1; index <= kFrameCount; ++index) {
        if (!module.Picture(FrameBitmap(index))) {
            module.AddPicture(FrameBitmap(index), AnimationPicture(index));
        }
    }
}

}  // namespace ornaload
