#include "setup/CPage2.h"

#include "setup/OptionPictures.h"

namespace tavi::setup {

CPage2::CPage2(CTaviSheet& sheet)
    : TwoWayChoicePage(sheet, {.caption = "Pressure",
                               .width = 237,
                               .height = 174,
                               .pictureArea = {7, 7, 155, 160},
                               .whenFalse = {"IN", {167, 15, 23, 10}},
                               .whenTrue = {"HPA", {167, 31, 29, 10}},
                               .picture = pressurePicture,
                               .key = "pressUseHpa"}) {}

} // namespace tavi::setup
