#include "setup/CPage3.h"

#include "setup/OptionPictures.h"

namespace tavi::setup {

CPage3::CPage3(CTaviSheet& sheet)
    : TwoWayChoicePage(sheet, {.caption = "Weight",
                               .width = 235,
                               .height = 174,
                               .pictureArea = {7, 7, 155, 160},
                               .whenFalse = {"Pound", {167, 15, 36, 10}},
                               .whenTrue = {"Kilogram", {167, 31, 43, 10}},
                               .picture = weightPicture,
                               .key = "fuelUseKg"}) {}

} // namespace tavi::setup
