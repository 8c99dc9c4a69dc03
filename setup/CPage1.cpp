#include "setup/CPage1.h"

#include "setup/OptionPictures.h"

namespace tavi::setup {

CPage1::CPage1(CTaviSheet& sheet)
    : TwoWayChoicePage(sheet, {.caption = "Flight Director",
                               .width = 247,
                               .height = 174,
                               .pictureArea = {7, 7, 153, 160},
                               .whenFalse = {"Bars", {167, 31, 30, 10}},
                               .whenTrue = {"V Shape", {167, 15, 42, 10}},
                               .picture = flightDirectorPicture,
                               .key = "vBarOn"}) {}

} // namespace tavi::setup
